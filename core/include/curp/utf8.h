// UTF-8 text as people hand it over: checked, and made safe to show.
#ifndef CURP_UTF8_H
#define CURP_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

namespace curp {

// One character of UTF-8 text: its code point and the bytes it takes.
struct Utf8Char {
    char32_t value = 0;
    std::size_t length = 0; // 0 when no well-formed sequence starts there
};

// Decodes the character that starts at byte `i` of `text` (i < text.size()).
// A byte that starts no well-formed sequence (an overlong form, a surrogate,
// a value past U+10FFFF, a stray or missing continuation byte) gives
// length 0.
Utf8Char DecodeUtf8At(std::string_view text, std::size_t i) noexcept;

// True when `text` is well-formed UTF-8: no overlong forms, surrogates,
// values past U+10FFFF, stray or missing continuation bytes.
bool IsUtf8(std::string_view text) noexcept;

// `text` made safe to show in a message or on a terminal: every byte that
// starts no well-formed sequence and every control character (U+0000 to
// U+001F, U+007F to U+009F) becomes U+FFFD, and a text longer than `longest`
// characters is cut after them with "…".
std::string Printable(std::string_view text, std::size_t longest);

} // namespace curp

#endif // CURP_UTF8_H
