#include "utf.h"

#include "curp/utf8.h"

#include <algorithm>
#include <cstdint>

namespace curp::detail {

bool IsScalarValue(char32_t c) noexcept
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

bool IsValidUtf32(std::u32string_view text) noexcept
{
    // Every character is tested, without stopping at the first bad one: the
    // loop then has no branch and the compiler runs it on several at once.
    std::uint32_t invalid = 0;
    for (const char32_t c : text) {
        invalid |= static_cast<std::uint32_t>(c > 0x10FFFF) |
                   static_cast<std::uint32_t>(c - 0xD800 < 0x800); // a surrogate
    }
    return invalid == 0;
}

DecodedScalar DecodeScalar(std::string_view text, std::size_t i) noexcept
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // Length of the sequence, its payload bits in the lead byte, and the
    // range the second byte must fall in. The narrowed ranges after E0, ED,
    // F0 and F4 exclude overlong forms, surrogates and values past U+10FFFF.
    std::size_t length = 0;
    char32_t value = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {}; // stray continuation byte, C0, C1 or F5..FF
    }
    if (text.size() - i < length) {
        return {}; // truncated
    }
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t next = byte(i + k);
        if (next < low || next > high) {
            return {};
        }
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (next & 0x3Fu);
    }
    return {value, length};
}

std::optional<std::u32string> DecodeUtf8(std::string_view text)
{
    std::u32string out;
    if (!DecodeUtf8Into(text, out)) {
        return std::nullopt;
    }
    return out;
}

bool DecodeUtf8Into(std::string_view text, std::u32string& out)
{
    // Never more characters than bytes: decode into a buffer of that size.
    out.resize(text.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) { // ASCII, most of the characters of names, read at once
            out[count++] = byte;
            ++i;
            continue;
        }
        const DecodedScalar c = DecodeScalar(text, i);
        if (c.length == 0) {
            out.clear();
            return false;
        }
        out[count++] = c.value;
        i += c.length;
    }
    out.resize(count);
    return true;
}

std::string EncodeUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

} // namespace curp::detail

namespace curp {

bool IsUtf8(std::string_view text) noexcept
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = detail::DecodeScalar(text, i).length;
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

Utf8Char DecodeUtf8At(std::string_view text, std::size_t i) noexcept
{
    const detail::DecodedScalar c = detail::DecodeScalar(text, i);
    return {c.value, c.length};
}

std::string Printable(std::string_view text, std::size_t longest)
{
    // Printable ASCII, most keys and names, shows as it is.
    if (text.size() <= longest &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; })) {
        return std::string(text);
    }
    std::u32string shown;
    for (std::size_t i = 0; i < text.size();) {
        if (shown.size() == longest) {
            shown += U'…';
            break;
        }
        const detail::DecodedScalar c = detail::DecodeScalar(text, i);
        const bool control = c.value < 0x20 || (c.value >= 0x7F && c.value <= 0x9F);
        shown += c.length == 0 || control ? U'\uFFFD' : c.value;
        i += c.length == 0 ? 1 : c.length;
    }
    return detail::EncodeUtf8(shown);
}

} // namespace curp
