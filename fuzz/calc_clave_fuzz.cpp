// libFuzzer target for Calc_Clave. Besides crashes, leaks and undefined
// behaviour (the build adds AddressSanitizer and UndefinedBehaviorSanitizer),
// it checks what must hold for every input and aborts when it does not:
//   - the result is empty or well-formed UTF-8;
//   - the result is empty exactly when a text is not UTF-8, the date is not a
//     calendar date, the given name is blank or both surnames are blank;
//   - a second call gives the same result;
//   - the UTF-8 and UTF-32 entries give the same key;
//   - a result of 17 characters or more ends with the check digit of its
//     first 17 characters (so a result never has exactly 17).
//
// Layout of an input:
//   bytes 0-1  year, little-endian signed 16 bits (-32768 is no valid year)
//   byte 2     month, taken modulo 16 (0 and 13 to 15 are invalid)
//   byte 3     day, taken modulo 32 (0 and days past the month's end are invalid)
//   the rest   Ap, Am, Nm, CveSexo and CveEnt, separated by 0xFF, a byte that
//              never occurs in UTF-8. The last text takes everything left,
//              further 0xFF bytes included; texts that are missing are empty.
// fuzz/make-seeds.sh writes inputs in this layout.
#include "curp/calc_clave.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr char kSeparator = '\xFF';

enum Text : std::size_t { kAp, kAm, kNm, kCveSexo, kCveEnt, kTextCount };

struct Input {
    std::chrono::year_month_day FB;
    std::array<std::string_view, kTextCount> texts;
};

Input Split(const std::uint8_t* data, std::size_t size)
{
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::size_t headerSize = std::min(size, kHeaderSize);
    std::copy_n(data, headerSize, header.begin());
    const auto year = static_cast<std::int16_t>(header[0] | (header[1] << 8));
    Input input{std::chrono::year{year} / std::chrono::month{header[2] % 16u} /
                    std::chrono::day{header[3] % 32u},
                {}};

    std::string_view rest(reinterpret_cast<const char*>(data) + headerSize, size - headerSize);
    for (std::size_t i = 0; i + 1 < kTextCount; ++i) {
        const std::size_t end = rest.find(kSeparator);
        if (end == std::string_view::npos) {
            input.texts[i] = rest;
            return input;
        }
        input.texts[i] = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    input.texts[kCveEnt] = rest;
    return input;
}

// A text for the UTF-32 entry, decoded here rather than by the library so that
// the two entries are compared against an independent decoder. Well-formed
// UTF-8 gives its scalar values and `valid`. Anything else clears `valid` and
// gives values the UTF-32 entry must refuse: a byte that starts no complete,
// shortest-form sequence becomes the lone surrogate U+DC00 + byte, and an
// encoded surrogate or a value past U+10FFFF keeps its value.
struct Decoded {
    std::u32string text;
    bool valid = true;
};

Decoded Decode(std::string_view bytes)
{
    Decoded out;
    out.text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 0;
        char32_t value = 0;
        char32_t shortest = 0; // smallest value this length may encode
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if ((lead & 0xE0u) == 0xC0) {
            length = 2;
            value = lead & 0x1Fu;
            shortest = 0x80;
        } else if ((lead & 0xF0u) == 0xE0) {
            length = 3;
            value = lead & 0x0Fu;
            shortest = 0x800;
        } else if ((lead & 0xF8u) == 0xF0) {
            length = 4;
            value = lead & 0x07u;
            shortest = 0x10000;
        }
        bool complete = length > 0 && length <= bytes.size() - i;
        for (std::size_t k = 1; complete && k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            complete = (next & 0xC0u) == 0x80;
            value = (value << 6) | (next & 0x3Fu);
        }
        if (!complete || value < shortest) {
            out.text.push_back(0xDC00 + lead);
            out.valid = false;
            ++i;
            continue;
        }
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            out.valid = false;
        }
        out.text.push_back(value);
        i += length;
    }
    return out;
}

// Weighted sum of the first 17 characters, each worth its place in the
// dictionary (-1 when absent), with weights 18 down to 2; the digit brings the
// sum up to the next multiple of ten.
char32_t CheckDigitOf(std::u32string_view key)
{
    constexpr std::u32string_view dictionary = U"0123456789ABCDEFGHIJKLMNÑOPQRSTUVWXYZ";
    int sum = 0;
    for (std::size_t i = 0; i < 17; ++i) {
        const auto place = dictionary.find(key[i]);
        const int value = place == std::u32string_view::npos ? -1 : static_cast<int>(place);
        sum += value * static_cast<int>(18 - i);
    }
    const int remainder = ((sum % 10) + 10) % 10;
    return static_cast<char32_t>(U'0' + (10 - remainder) % 10);
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "calc_clave_fuzz: violated: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Input in = Split(data, size);
    const auto& t = in.texts;

    const std::string key =
        curp::Calc_Clave(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt]);
    Require(key == curp::Calc_Clave(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt]),
            "a second call gives the same result");

    std::array<Decoded, kTextCount> decoded;
    bool allValid = true;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        decoded[i] = Decode(t[i]);
        allValid = allValid && decoded[i].valid;
    }
    const bool keyExpected =
        allValid && in.FB.ok() && !IsBlank(t[kNm]) && !(IsBlank(t[kAp]) && IsBlank(t[kAm]));
    Require(key.empty() != keyExpected, "the result is empty exactly when the input is refused");

    const Decoded key32 = Decode(key);
    Require(key32.valid, "the result is well-formed UTF-8");

    const std::u32string fromUtf32 =
        curp::Calc_Clave(decoded[kAp].text, decoded[kAm].text, decoded[kNm].text, in.FB,
                         decoded[kCveSexo].text, decoded[kCveEnt].text);
    Require(fromUtf32 == key32.text, "the UTF-8 and UTF-32 entries agree");

    if (fromUtf32.size() >= 17) {
        Require(fromUtf32.size() > 17 && fromUtf32.back() == CheckDigitOf(fromUtf32),
                "the last character is the check digit of the first 17");
    }
    return 0;
}
