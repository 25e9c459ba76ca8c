// Character-level helpers shared by the key rules. A character is one Unicode
// code point; positions count from 1, as the rules are stated.
#ifndef CURP_TEXT_H
#define CURP_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace curp::detail {

// `text` without the characters of `blanks` around it.
template <class Char>
constexpr std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text,
                                               std::basic_string_view<Char> blanks) noexcept
{
    if (!text.empty() && blanks.find(text.front()) == blanks.npos &&
        blanks.find(text.back()) == blanks.npos) {
        return text; // the common case: nothing around it
    }
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::basic_string_view<Char>::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

// Removes leading and trailing U+0020 spaces. Tabs and other blanks stay.
void Trim(std::u32string& text);

// Replaces every non-overlapping occurrence of `find` by `with`, scanning from
// the left; replaced text is not scanned again. The text only shrinks, so this
// works in place: `with` must not be longer than `find`, and `find` not empty.
void Replace(std::u32string& text, std::u32string_view find, std::u32string_view with);

// Replace, for the occurrences of `find` that begin the text or follow a
// space in it, whole words when `find` ends with a space. Returns how many
// were replaced.
std::size_t ReplaceWords(std::u32string& text, std::u32string_view find, std::u32string_view with);

// The character at 1-based position `pos`; empty when the text is shorter.
std::u32string_view CharAt(std::u32string_view text, std::size_t pos) noexcept;

// The text from 1-based position `pos` to its end; empty when the text is shorter.
std::u32string_view From(std::u32string_view text, std::size_t pos) noexcept;

// True for exactly the five upper-case vowels A, E, I, O and U. Inline: the
// searches for vowels call it once per character.
inline bool IsVowel(char32_t c) noexcept
{
    return c == U'A' || c == U'E' || c == U'I' || c == U'O' || c == U'U';
}

} // namespace curp::detail

#endif // CURP_TEXT_H
