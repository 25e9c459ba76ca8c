#include "characters.h"

#include "key_rules.h"

#include <array>
#include <cstdio>

namespace curp::detail {

bool IsAccentedLetter(char32_t c) noexcept
{
    return LatinBase(c) != 0;
}

bool IsShownAsIs(char32_t c) noexcept
{
    return (c > U' ' && c < 0x7F) || (c >= 0xA1 && c <= 0x17F && c != 0xAD);
}

std::string CodePointName(char32_t c)
{
    std::array<char, 16> code{};
    std::snprintf(code.data(), code.size(), "U+%04X", static_cast<unsigned>(c));
    return code.data();
}

} // namespace curp::detail
