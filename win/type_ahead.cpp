#include "type_ahead.h"

#include "text.h"

#include <commctrl.h>

#include <utility>

TypeAhead::TypeAhead(HWND list, Search search)
    : list(list)
    , search(std::move(search))
{
    SetWindowSubclass(list, &TypeAhead::ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void TypeAhead::Typed(wchar_t character)
{
    // The time the key was pressed, not when it is read: on a busy machine
    // the letters of one word may be read long after each other.
    const LONG now = GetMessageTime();
    if (now - lastKeyTime > static_cast<LONG>(GetDoubleClickTime())) {
        typed.clear();
    }
    lastKeyTime = now;
    typed += character;
    const int index = search(Utf8(typed));
    if (index >= 0) {
        Select(index);
    }
}

void TypeAhead::Select(int index)
{
    if (index == SendMessageW(list, CB_GETCURSEL, 0, 0)) {
        return;
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    const int id = GetDlgCtrlID(list);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

LRESULT CALLBACK TypeAhead::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* typeAhead = reinterpret_cast<TypeAhead*>(self);
    switch (message) {
    case WM_CHAR:
        // Printable characters are the words; Enter, Tab, Escape and the
        // other control characters do what the list does with them.
        if (wParam >= L' ') {
            typeAhead->Typed(static_cast<wchar_t>(wParam));
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        // Coming back to the list starts new words.
        typeAhead->typed.clear();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &TypeAhead::ListProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
