#include "key_box.h"

#include "text.h"

#include "curp/check.h"
#include "curp/window_texts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

KeyBox::KeyBox(HWND box, PoppedTip& popped)
    : box(box)
    , hover(box)
    , popped(popped)
{
    SetWindowSubclass(box, &KeyBox::BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void KeyBox::Show(const std::string& key, const std::wstring& explanation,
                  const std::wstring& reasons, bool isDoubtful)
{
    computed = true;
    stale = false;
    doubtful = isDoubtful || key.empty();
    shownKey = key;
    SetWindowTextW(box, Wide(curp::WithDashes(key)).c_str());
    hover.SetText(explanation);
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
    hover.SetText(Wide(curp::kStaleKeyText));
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
    hover.SetMaxWidth(pixels);
    popped.SetMaxWidth(pixels);
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

void KeyBox::CopyBareKey()
{
    if (RefusedStaleCopy() || OpenClipboard(box) == FALSE) {
        return;
    }
    EmptyClipboard();
    const std::wstring key = Wide(shownKey);
    const size_t bytes = (key.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes); memory != nullptr) {
        std::memcpy(GlobalLock(memory), key.c_str(), bytes);
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void KeyBox::Explain()
{
    if (!hover.Text().empty()) {
        popped.Show(box, hover.Text());
    }
}

void KeyBox::ContextMenu(LPARAM where)
{
    enum : UINT { kCopy = 1, kCopyBare, kSelectAll, kExplain };
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (start != end ? 0U : MF_GRAYED), kCopy, L"Copiar\tCtrl+C");
    AppendMenuW(menu, MF_STRING | (shownKey.empty() ? MF_GRAYED : 0U), kCopyBare,
                L"Copiar clave sin guiones");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSelectAll, L"Seleccionar todo\tCtrl+A");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | (hover.Text().empty() ? MF_GRAYED : 0U), kExplain,
                L"¿Qué es esto?\tMayús+F1");
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the box's left end.
        RECT place{};
        GetWindowRect(box, &place);
        at = {place.left, place.bottom};
    }
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                       at.y, 0, box, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case kCopy:
        SendMessageW(box, WM_COPY, 0, 0);
        break;
    case kCopyBare:
        CopyBareKey();
        break;
    case kSelectAll:
        SendMessageW(box, EM_SETSEL, 0, -1);
        break;
    case kExplain:
        Explain();
        break;
    default:
        break;
    }
}

LRESULT CALLBACK KeyBox::BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR /*id*/, DWORD_PTR self)
{
    // Ctrl+C and the context menu's "Copiar" both copy through WM_COPY.
    if (message == WM_COPY && reinterpret_cast<KeyBox*>(self)->RefusedStaleCopy()) {
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_F1 && GetKeyState(VK_SHIFT) < 0) {
        reinterpret_cast<KeyBox*>(self)->Explain();
        return 0;
    }
    if (message == WM_CONTEXTMENU) {
        reinterpret_cast<KeyBox*>(self)->ContextMenu(lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &KeyBox::BoxProc, 0);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
