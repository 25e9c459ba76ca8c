#include "encoding.h"

#include "curp/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace curp::cli {
namespace {

// The characters of Windows-1252's bytes 80 to 9F (A0 to FF are U+00A0 to U+00FF).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::size_t kContext = 40; // bytes shown on either side of a byte that is not UTF-8

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0U | (c >> 6U)));
        out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
    } else {
        out.push_back(static_cast<char>(0xE0U | (c >> 12U)));
        out.push_back(static_cast<char>(0x80U | ((c >> 6U) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
    }
}

} // namespace

std::string_view NameOf(Encoding encoding) noexcept
{
    return encoding == Encoding::Utf8 ? "UTF-8" : "Windows-1252";
}

void AppendWindows1252AsUtf8(std::string_view bytes, std::string& out)
{
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80) {
            out.push_back(b);
        } else {
            AppendUtf8(byte < 0xA0 ? kHigh.at(byte - 0x80U) : char32_t{byte}, out);
        }
    }
}

void AppendUtf8AsWindows1252(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out.push_back(text[i++]);
            continue;
        }
        const Utf8Char decoded = DecodeUtf8At(text, i);
        i += std::max<std::size_t>(decoded.length, 1);
        const char32_t c = decoded.length == 0 ? U'\uFFFD' : decoded.value;
        if (c >= 0xA0 && c <= 0xFF) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const auto* high = std::find(kHigh.begin(), kHigh.end(), c);
        out.push_back(high == kHigh.end() ? '?' : static_cast<char>(0x80 + (high - kHigh.begin())));
    }
}

void EncodingDetector::Feed(std::string_view piece)
{
    // The verdict is known once a byte that is not UTF-8 comes, or a valid
    // multi-byte sequence before any such byte: the rest need not be read.
    if (invalidAt_ != kNone || (multiByteSeen_ && pending_ == 0)) {
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t size = piece.size();
    std::size_t i = 0;
    while (i < size) {
        if (pending_ == 0) {
            // Plain ASCII, the bulk of any file, eight bytes at a time.
            constexpr std::uint64_t kHighBits = 0x8080808080808080U;
            std::uint64_t word = 0;
            while (i + sizeof word <= size &&
                   (std::memcpy(&word, bytes + i, sizeof word), (word & kHighBits) == 0)) {
                i += sizeof word;
            }
            if (i == size) {
                break;
            }
            const unsigned char lead = bytes[i];
            if (lead < 0x80) {
                ++i;
                continue;
            }
            low_ = 0x80;
            high_ = 0xBF;
            if (lead >= 0xC2 && lead <= 0xDF) {
                pending_ = 1;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                pending_ = 2;
                low_ = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
                high_ = lead == 0xED ? 0x9F : 0xBF; // no surrogates
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                pending_ = 3;
                low_ = lead == 0xF0 ? 0x90 : 0x80;
                high_ = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
            } else {
                Invalid(piece, i);
                return;
            }
            ++i;
            continue;
        }
        if (bytes[i] < low_ || bytes[i] > high_) {
            Invalid(piece, i);
            return;
        }
        low_ = 0x80;
        high_ = 0xBF;
        if (--pending_ == 0) {
            multiByteSeen_ = true; // UTF-8, whatever follows
            return;
        }
        ++i;
    }
    lineFeeds_ += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
    if (lineFeeds_ == 0) { // CR is counted only in a file whose lines end with CR alone
        returns_ += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\r'));
    }
    offset_ += size;
}

void EncodingDetector::Finish()
{
    if (invalidAt_ == kNone && pending_ > 0) {
        Invalid({}, 0); // the file ends inside a sequence
    }
}

void EncodingDetector::Invalid(std::string_view piece, std::size_t at)
{
    const std::string_view before = piece.substr(0, at);
    invalidAt_ = offset_ + at;
    lineFeeds_ += static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    returns_ += static_cast<std::size_t>(std::count(before.begin(), before.end(), '\r'));
    invalidLine_ = 1 + (lineFeeds_ > 0 ? lineFeeds_ : returns_);
    // The field around the byte: from the separator or line end before it to
    // the one after it, within kContext bytes either way.
    const auto boundary = [](char c) {
        return std::string_view(",;\t\r\n").find(c) != std::string_view::npos;
    };
    const std::string_view window = before.substr(at - std::min(at, kContext));
    const auto start = static_cast<std::size_t>(
        std::find_if(window.rbegin(), window.rend(), boundary).base() - window.begin());
    const std::string_view after = piece.substr(at, kContext);
    context_ = std::string(window.substr(start)) +
               std::string(after.substr(
                   0, static_cast<std::size_t>(std::find_if(after.begin(), after.end(), boundary) -
                                               after.begin())));
}

} // namespace curp::cli
