// A key that someone gives, as checking and reading see it: normalised and
// taken apart into its characters, with the rules that read its date, sex
// and state positions.
#ifndef CURP_GIVEN_KEY_H
#define CURP_GIVEN_KEY_H

#include "curp/calc_clave.h"
#include "curp/states.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string_view>

namespace curp::detail {

using curp::kKeyLength;

// The separators of IsKeySeparator beyond ASCII.
bool IsWideKeySeparator(char32_t c) noexcept;

// The dashes and blanks that the window's mask and copied text put into a
// key and NormalizeKey drops: spaces of every width, tabs, line breaks,
// no-break spaces, byte order marks, hyphens, dashes and the minus sign.
constexpr bool IsKeySeparator(char32_t c) noexcept
{
    if (c < 0x80) { // most characters: told without a look at the rest
        return c == U'-' || c == U' ' || (c >= U'\t' && c <= U'\r');
    }
    return IsWideKeySeparator(c);
}

// ASCII "a"-"z" in upper case; every other character as it is.
constexpr char32_t UpperAscii(char32_t c) noexcept
{
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

constexpr bool IsKeyLetter(char32_t c) noexcept
{
    return c >= U'A' && c <= U'Z';
}

constexpr bool IsKeyDigit(char32_t c) noexcept
{
    return c >= U'0' && c <= U'9';
}

// The characters of a normalised key: the first 18 and how many there are in
// all. Decoding stops at the first byte that is not well-formed UTF-8.
struct GivenKey {
    std::array<char32_t, kKeyLength> chars{};
    std::size_t length = 0;
    bool utf8 = true;

    // The character at position `pos`, 1-18.
    char32_t At(std::size_t pos) const noexcept
    {
        return chars[pos - 1];
    }
};

// Normalises `text` as NormalizeKey does without building a new text.
GivenKey TakeApart(std::string_view text) noexcept;

// The first year of the century that position 17 gives: 1900 for a digit
// (births up to 1999), 2000 for a letter A-Z (births from 2000 on), 0 for
// any other character.
int CenturyOf(char32_t position17) noexcept;

// Positions 5-10 ("yymmdd") as a date of `century`; not ok() when they are not
// six digits or name no calendar date.
std::chrono::year_month_day DateOf(const GivenKey& key, int century) noexcept;

// The catalogue entry of positions 12-13, or nullptr.
const State* StateOf(const GivenKey& key) noexcept;

// "H", "M" or "X" (the last issued since 2022 for non-binary persons).
constexpr bool IsSexLetter(char32_t c) noexcept
{
    return c == U'H' || c == U'M' || c == U'X';
}

} // namespace curp::detail

#endif // CURP_GIVEN_KEY_H
