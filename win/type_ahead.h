// A drop-down list that picks its entry from the words typed into it, not
// only from their first letter: each character typed within the system's
// double-click interval of the one before adds to the words, a longer pause
// starts new ones.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TypeAhead
{
public:
    // The entry the words typed so far (UTF-8) point to, or -1 for none.
    using Search = std::function<int(const std::string& typed)>;

    // Takes over the typing into the drop-down list `list`.
    TypeAhead(HWND list, Search search);
    TypeAhead(const TypeAhead&) = delete;
    TypeAhead& operator=(const TypeAhead&) = delete;

private:
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    void Typed(wchar_t character);
    // Selects entry `index` as a pick with the mouse would, telling the form.
    void Select(int index);

    HWND list;
    Search search;
    std::wstring typed;
    LONG lastKeyTime = 0;
};
