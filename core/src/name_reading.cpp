#include "key_rules.h"
#include "unicode_tables.h"

#include <algorithm>
#include <cstdint>

namespace curp::detail {
namespace {

constexpr char32_t kEnye = U'\u00D1';           // "Ñ"
constexpr char32_t kCombiningTilde = U'\u0303'; // what makes "N" an "Ñ" in decomposed text

// The apostrophes people type besides "'": the right single quotation mark
// that word processors and spreadsheets put, the modifier letter apostrophe,
// the acute accent and the grave accent.
bool IsOtherApostrophe(char32_t c) noexcept
{
    return c == U'\u2019' || c == U'\u02BC' || c == U'\u00B4' || c == U'`';
}

// A printable ASCII character as read: a-z in upper case, "`" as "'".
constexpr char32_t ReadAscii(char32_t c) noexcept
{
    return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c == U'`' ? U'\'' : c;
}

bool InRanges(std::span<const CodeRange> ranges, char32_t c) noexcept
{
    const auto it =
        std::upper_bound(ranges.begin(), ranges.end(), c,
                         [](char32_t value, const CodeRange& r) { return value < r.first; });
    return it != ranges.begin() && c <= std::prev(it)->last;
}

// The mapping of `c` in `table`, or 0 when it has none.
char32_t Mapped(std::span<const CodeMapping> table, char32_t c) noexcept
{
    const auto it =
        std::lower_bound(table.begin(), table.end(), c,
                         [](const CodeMapping& m, char32_t value) { return m.from < value; });
    return it != table.end() && it->from == c ? it->to : 0;
}

} // namespace

char32_t SimpleUpperCase(char32_t c) noexcept
{
    if (c < 0x80) {
        return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
    }
    const char32_t upper = Mapped(kSimpleUpperCase, c);
    return upper != 0 ? upper : c;
}

char32_t LatinBase(char32_t c) noexcept
{
    return c < 0xC0 ? 0 : Mapped(kLatinBase, c);
}

bool IsWhiteSpace(char32_t c) noexcept
{
    return c == U' ' || (c >= U'\t' && c <= U'\r') || (c >= 0x80 && InRanges(kWhiteSpace, c));
}

bool IsFormatCharacter(char32_t c) noexcept
{
    return c >= 0xAD && InRanges(kFormat, c);
}

bool IsCombiningMark(char32_t c) noexcept
{
    return c >= 0x300 && InRanges(kCombiningMark, c);
}

CharacterRead ReadCharacter(std::u32string_view text, std::size_t i) noexcept
{
    const char32_t c = text[i];
    if ((c == U'N' || c == U'n') && i + 1 < text.size() && text[i + 1] == kCombiningTilde) {
        return {kEnye, 2, Reading::Composed};
    }
    if (IsOtherApostrophe(c)) {
        return {U'\'', 1, Reading::Apostrophe};
    }
    if (IsWhiteSpace(c)) {
        return {U' ', 1, c == U' ' ? Reading::AsIs : Reading::Space};
    }
    if (IsFormatCharacter(c)) {
        return {c, 1, Reading::Removed};
    }
    if (IsCombiningMark(c)) {
        return {c, 1, Reading::MarkRemoved};
    }
    const char32_t upper = SimpleUpperCase(c);
    const char32_t base = LatinBase(upper);
    return base != 0 ? CharacterRead{base, 1, Reading::Folded}
                     : CharacterRead{upper, 1, Reading::AsIs};
}

void ReadName(std::u32string& text)
{
    // Printable ASCII but "`" alone, the common case, needs only a-z in
    // upper case: two loops without branches that the compiler runs on many
    // characters at once.
    std::uint32_t other = 0;
    for (const char32_t c : text) {
        other |= static_cast<std::uint32_t>(c - U' ' >= 0x7F - U' ') |
                 static_cast<std::uint32_t>(c == U'`');
    }
    if (other == 0) {
        for (char32_t& c : text) {
            c -= (c >= U'a' && c <= U'z') ? U'a' - U'A' : 0;
        }
        return;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        // ASCII letters, digits and signs, the common case, without a look-up.
        if (c < 0x80 && c >= U' ' && c != U'N' && c != U'n') {
            text[out++] = ReadAscii(c);
            ++i;
            continue;
        }
        const CharacterRead read = ReadCharacter(text, i);
        if (!IsRemoved(read.how)) {
            text[out++] = read.read; // never ahead of i: reading only shortens the text
        }
        i += read.length;
    }
    text.resize(out);
}

} // namespace curp::detail
