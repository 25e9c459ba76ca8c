#include "key_box.h"

#include "text.h"

#include "curp/check.h"
#include "curp/window_texts.h"

#include <commctrl.h>

KeyBox::KeyBox(HWND box, PoppedTip& popped)
    : box(box)
    , popped(popped)
{
    const HWND form = GetParent(box);
    tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                              0, 0, 0, form, nullptr, nullptr, nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(box, &KeyBox::BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void KeyBox::Show(const std::string& key, const std::wstring& explanation,
                  const std::wstring& reasons, bool isDoubtful)
{
    computed = true;
    stale = false;
    doubtful = isDoubtful || key.empty();
    SetWindowTextW(box, Wide(curp::WithDashes(key)).c_str());
    SetTipText(explanation);
    InvalidateRect(box, nullptr, TRUE);
    if (doubtful && !reasons.empty()) {
        popped.Show(box, reasons);
    } else {
        popped.Hide();
    }
}

void KeyBox::MarkStale()
{
    popped.Hide();
    if (!computed || stale) {
        return;
    }
    stale = true;
    SetTipText(Wide(curp::kStaleKeyText));
    InvalidateRect(box, nullptr, TRUE);
}

COLORREF KeyBox::TextColour() const noexcept
{
    if (stale) {
        return GetSysColor(COLOR_GRAYTEXT);
    }
    return doubtful ? RGB(192, 0, 0) : CLR_INVALID;
}

void KeyBox::SetMaxTipWidth(int pixels)
{
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, pixels);
    popped.SetMaxWidth(pixels);
}

void KeyBox::SetTipText(const std::wstring& text)
{
    tipText = text;
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(box);
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = tipText.data();
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool KeyBox::RefusedStaleCopy()
{
    if (!stale) {
        return false;
    }
    // The clipboard may still hold the key of the person before; pasted now,
    // it would be taken for this person's.
    if (OpenClipboard(box) != FALSE) {
        EmptyClipboard();
        CloseClipboard();
    }
    popped.Show(box, Wide(curp::kStaleCopyRefused));
    return true;
}

LRESULT CALLBACK KeyBox::BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR /*id*/, DWORD_PTR self)
{
    // Ctrl+C and the context menu's "Copy" both copy through WM_COPY.
    if (message == WM_COPY && reinterpret_cast<KeyBox*>(self)->RefusedStaleCopy()) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &KeyBox::BoxProc, 0);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
