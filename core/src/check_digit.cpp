#include "key_rules.h"

#include <array>
#include <cstdint>

namespace curp::detail {
namespace {

// "0123456789ABCDEFGHIJKLMNÑOPQRSTUVWXYZ": a character's value is its place.
constexpr std::u32string_view kDictionary = U"0123456789ABCDEFGHIJKLMN\u00D1OPQRSTUVWXYZ";
constexpr std::size_t kCheckedLength = 17;

// Place of `c` in the dictionary, or -1 for any other character; worked out
// from the dictionary's runs of digits and letters rather than by a search.
constexpr std::int32_t CharValue(char32_t c) noexcept
{
    if (c >= U'0' && c <= U'9') {
        return static_cast<std::int32_t>(c - U'0');
    }
    if (c >= U'A' && c <= U'N') {
        return static_cast<std::int32_t>(c - U'A') + 10;
    }
    if (c == U'\u00D1') {
        return 24;
    }
    if (c >= U'O' && c <= U'Z') {
        return static_cast<std::int32_t>(c - U'O') + 25;
    }
    return -1;
}

constexpr bool MatchesDictionary()
{
    for (std::size_t place = 0; place < kDictionary.size(); ++place) {
        if (CharValue(kDictionary[place]) != static_cast<std::int32_t>(place)) {
            return false;
        }
    }
    return CharValue(U'a') == -1 && CharValue(U'\u00C9') == -1 && CharValue(U' ') == -1;
}
static_assert(MatchesDictionary());

// CharValue of every ASCII character, looked up once per character of the body.
constexpr std::array<std::int8_t, 0x80> AsciiValues()
{
    std::array<std::int8_t, 0x80> values{};
    for (char32_t c = 0; c < values.size(); ++c) {
        values.at(c) = static_cast<std::int8_t>(CharValue(c));
    }
    return values;
}
constexpr std::array<std::int8_t, 0x80> kAsciiValues = AsciiValues();

std::int32_t FastCharValue(char32_t c) noexcept
{
    return c < kAsciiValues.size() ? kAsciiValues[c] : CharValue(c);
}

} // namespace

int CheckDigit(std::u32string_view body) noexcept
{
    std::int32_t sum = 0;
    for (std::size_t pos = 1; pos <= kCheckedLength && pos <= body.size(); ++pos) {
        sum += FastCharValue(body[pos - 1]) * static_cast<std::int32_t>(19 - pos);
    }
    // Floor modulo: the sum is negative when characters outside the
    // dictionary outweigh the rest, and the digit must still be 0..9.
    const std::int32_t r = ((sum % 10) + 10) % 10;
    return r == 0 ? 0 : 10 - r;
}

void AppendCheckDigit(std::u32string& body)
{
    if (body.size() > kCheckedLength - 1) {
        body += static_cast<char32_t>(U'0' + CheckDigit(body));
    }
}

} // namespace curp::detail
