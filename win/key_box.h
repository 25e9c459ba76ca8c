// The result box txtCURP: the key in its mask, read-only, its explanation in
// a tooltip. A doubtful key is drawn red with its reasons in view; a key of
// data that have changed since is drawn grey and is not copied. Its context
// menu copies the key without its dashes too, as official forms want it.
#pragma once

#include "popped_tip.h"

#include <windows.h>

#include <string>

class KeyBox
{
public:
    // Takes over the read-only edit `box`; `popped` shows its reasons.
    KeyBox(HWND box, PoppedTip& popped);
    KeyBox(const KeyBox&) = delete;
    KeyBox& operator=(const KeyBox&) = delete;

    // Shows `key` in the mask with `explanation` in its tooltip. A doubtful
    // key, or no key, is drawn red and `reasons` open at once below it.
    void Show(const std::string& key, const std::wstring& explanation, const std::wstring& reasons,
              bool doubtful);

    // The data changed after a computation: the key shown belongs to other
    // data until the next Show.
    void MarkStale();

    // The colour the box's text is drawn in, or CLR_INVALID for the usual one.
    COLORREF TextColour() const noexcept;

    // The widest a tooltip line may be, in pixels.
    void SetMaxTipWidth(int pixels);

private:
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
    // True, the clipboard emptied and the reason shown, when the key is stale.
    bool RefusedStaleCopy();
    // The box's own context menu, at `where` (screen pixels; -1, -1 from the
    // keyboard): "Copiar", "Copiar clave sin guiones", "Seleccionar todo",
    // "¿Qué es esto?".
    void ContextMenu(LPARAM where);
    // The explanation in view under the box, until the next change or Escape
    // (Shift+F1, or "¿Qué es esto?").
    void Explain();
    // The key's 18 characters, without the dashes, to the clipboard.
    void CopyBareKey();

    HWND box;
    HoverTip hover; // the explanation, or why the key is stale
    PoppedTip& popped;
    std::string shownKey; // the key shown, without its dashes
    bool computed = false;
    bool stale = false;
    bool doubtful = false;
};
