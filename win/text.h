// Windows' UTF-16 texts and the library's UTF-8 ones.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

// The text a control holds, in UTF-8.
std::string TextOf(HWND control);
