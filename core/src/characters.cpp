#include "characters.h"

#include "curp/states.h"
#include "utf.h"

#include <array>
#include <cstdio>

namespace curp::detail {

bool IsAccentedLetter(char32_t c)
{
    if (c < 0x80 || c == U'\u00D1' || c == U'\u00F1' || !IsScalarValue(c)) {
        return false;
    }
    const std::string folded = FoldForSearch(EncodeUtf8(std::u32string_view(&c, 1)));
    return folded.size() == 1 && folded[0] >= 'A' && folded[0] <= 'Z';
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
