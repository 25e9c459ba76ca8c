// Strict conversion between UTF-8 and UTF-32.
#ifndef CURP_UTF_H
#define CURP_UTF_H

#include <optional>
#include <string>
#include <string_view>

namespace curp::detail {

// True for a Unicode scalar value: U+0000..U+10FFFF without the surrogates.
bool IsScalarValue(char32_t c) noexcept;

// True when every value of `text` is a Unicode scalar value.
bool IsValidUtf32(std::u32string_view text) noexcept;

// Decodes well-formed UTF-8. Overlong forms, surrogates, values beyond
// U+10FFFF, stray continuation bytes and truncated sequences give nullopt.
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// Encodes scalar values as UTF-8.
std::string EncodeUtf8(std::u32string_view text);

} // namespace curp::detail

#endif // CURP_UTF_H
