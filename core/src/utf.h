// Strict conversion between UTF-8 and UTF-32.
#ifndef CURP_UTF_H
#define CURP_UTF_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace curp::detail {

// True for a Unicode scalar value: U+0000..U+10FFFF without the surrogates.
bool IsScalarValue(char32_t c) noexcept;

// True when every value of `text` is a Unicode scalar value.
bool IsValidUtf32(std::u32string_view text) noexcept;

// One character decoded from UTF-8: its value and the number of bytes it
// took, 0 when no well-formed sequence starts there.
struct DecodedScalar {
    char32_t value = 0;
    std::size_t length = 0;
};

// Decodes the sequence that starts at byte `i` of `text` (i < text.size()).
DecodedScalar DecodeScalar(std::string_view text, std::size_t i) noexcept;

// Decodes well-formed UTF-8. Overlong forms, surrogates, values beyond
// U+10FFFF, stray continuation bytes and truncated sequences give nullopt.
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// The same into `out`, whose storage is reused; false, with `out` empty,
// for text that is not well-formed UTF-8.
bool DecodeUtf8Into(std::string_view text, std::u32string& out);

// Encodes scalar values as UTF-8.
std::string EncodeUtf8(std::u32string_view text);

} // namespace curp::detail

#endif // CURP_UTF_H
