// UTF-8 text as people hand it over: checked, and made safe to show.
#ifndef CURP_UTF8_H
#define CURP_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

namespace curp {

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
