#include "given_key.h"

#include "utf.h"

namespace curp::detail {

bool IsWideKeySeparator(char32_t c) noexcept
{
    switch (c) {
    case U'\u00A0': // no-break space
    case U'\u00AD': // soft hyphen
    case U'\u1680':
    case U'\u2028': // line and paragraph separators
    case U'\u2029':
    case U'\u202F': // narrow no-break space
    case U'\u205F':
    case U'\u2060': // word joiner
    case U'\u2212': // minus sign
    case U'\u3000':
    case U'\uFEFF': // byte order mark, at the start of some exported files
        return true;
    default:
        // En quad to zero-width space, then hyphen to horizontal bar.
        return (c >= U'\u2000' && c <= U'\u200B') || (c >= U'\u2010' && c <= U'\u2015');
    }
}

GivenKey TakeApart(std::string_view text) noexcept
{
    GivenKey key;
    for (std::size_t i = 0; i < text.size();) {
        DecodedScalar c{static_cast<unsigned char>(text[i]), 1};
        if (c.value >= 0x80) {
            c = DecodeScalar(text, i);
            if (c.length == 0) {
                key.utf8 = false;
                return key;
            }
        }
        i += c.length;
        if (IsKeySeparator(c.value)) {
            continue;
        }
        if (key.length < kKeyLength) {
            key.chars[key.length] = UpperAscii(c.value);
        }
        ++key.length;
    }
    return key;
}

int CenturyOf(char32_t position17) noexcept
{
    if (IsKeyDigit(position17)) {
        return 1900;
    }
    return IsKeyLetter(position17) ? 2000 : 0;
}

std::chrono::year_month_day DateOf(const GivenKey& key, int century) noexcept
{
    std::array<unsigned, 6> digits{};
    for (std::size_t i = 0; i < 6; ++i) {
        const char32_t c = key.At(5 + i);
        if (!IsKeyDigit(c)) {
            return {};
        }
        digits[i] = c - U'0';
    }
    const int year = century + static_cast<int>(digits[0] * 10 + digits[1]);
    return std::chrono::year{year} / std::chrono::month{digits[2] * 10 + digits[3]} /
           std::chrono::day{digits[4] * 10 + digits[5]};
}

const State* StateOf(const GivenKey& key) noexcept
{
    const char32_t first = key.At(12);
    const char32_t second = key.At(13);
    if (!IsKeyLetter(first) || !IsKeyLetter(second)) {
        return nullptr;
    }
    const std::array<char, 2> code{static_cast<char>(first), static_cast<char>(second)};
    return FindStateByCode(std::string_view(code.data(), code.size()));
}

} // namespace curp::detail
