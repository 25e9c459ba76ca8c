// A second reading of the key rules, written apart from the library for the
// tests and the fuzz target to compare it with: its own UTF-8 decoder, check
// digit, calendar, state codes and word list. It favours being plainly right
// over being fast.
#ifndef CURP_KEY_ORACLE_H
#define CURP_KEY_ORACLE_H

#include "curp/check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace curp::oracle {

// A text decoded from UTF-8. Well-formed UTF-8 gives its scalar values and
// `valid`. Anything else clears `valid` and gives values the UTF-32 entry of
// Calc_Clave must refuse: a byte that starts no complete, shortest-form
// sequence becomes the lone surrogate U+DC00 + byte, and an encoded surrogate
// or a value past U+10FFFF keeps its value.
struct Decoded {
    std::u32string text;
    bool valid = true;
};

inline Decoded Decode(std::string_view bytes)
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

// UTF-8 of scalar values.
inline std::string Encode(std::u32string_view text)
{
    std::string out;
    for (const char32_t c : text) {
        const int continuation = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        constexpr unsigned lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        out.push_back(static_cast<char>(lead[continuation] | (c >> (6 * continuation))));
        for (int k = continuation - 1; k >= 0; --k) {
            out.push_back(static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F)));
        }
    }
    return out;
}

// Weighted sum of the first 17 characters, each worth its place in the
// dictionary (-1 when absent), with weights 18 down to 2; the digit brings the
// sum up to the next multiple of ten.
inline char32_t CheckDigitOf(std::u32string_view key)
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

// Everything a pasted key may carry besides its characters: ASCII ones, then
// the rest.
inline constexpr std::u32string_view kAsciiSeparators = U"-\t\n\v\f\r ";
inline constexpr std::u32string_view kOtherSeparators =
    U"\u00A0\u00AD\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008\u2009\u200A"
    U"\u200B\u2010\u2011\u2012\u2013\u2014\u2015\u2028\u2029\u202F\u205F\u2060\u2212\u3000"
    U"\uFEFF";

inline bool IsLetter(char32_t c)
{
    return c >= U'A' && c <= U'Z';
}

inline bool IsDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// A given text as the rules see it: whether it is UTF-8 at all, and its
// characters without separators and with a-z in upper case.
struct Key {
    bool valid = true;
    std::u32string chars;
};

inline Key Prepare(std::string_view text)
{
    const Decoded decoded = Decode(text);
    Key key{decoded.valid, {}};
    for (const char32_t c : decoded.text) {
        const std::u32string_view separators = c < 0x80 ? kAsciiSeparators : kOtherSeparators;
        if (separators.find(c) == std::u32string_view::npos) {
            key.chars.push_back(c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c);
        }
    }
    return key;
}

// The number written by the two digits at `at` and `at + 1` (0-based).
inline int TwoDigits(std::u32string_view key, std::size_t at)
{
    return static_cast<int>((key[at] - U'0') * 10 + (key[at + 1] - U'0'));
}

// "yymmdd" of `key` (positions 5-10, all digits) is a day of the calendar in
// the year `century + yy`.
inline bool IsCalendarDate(std::u32string_view key, int century)
{
    const int year = century + TwoDigits(key, 4);
    const int month = TwoDigits(key, 6);
    const int day = TwoDigits(key, 8);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

inline bool IsStateCode(char32_t first, char32_t second)
{
    constexpr std::u32string_view codes = U"AS BC BS CC CS CH CL CM DF DG GT GR HG JC MC MN MS "
                                          U"NT NL OC PL QT QR SP SL SR TC TS TL VZ YN ZS NE";
    for (std::size_t i = 0; i < codes.size(); i += 3) {
        if (codes[i] == first && codes[i + 1] == second) {
            return true;
        }
    }
    return false;
}

inline bool IsBadWord(std::u32string_view block)
{
    constexpr std::u32string_view words =
        U"BUEI BUEY CACA CACO CAGA CAGO CAKA CAKO COGE COJA COJE COJI COJO CULO FETO GUEY "
        U"JOTO KACA KACO KAGA KAGO KOGE KOJO KAKA KULO LOCA LOCO LOKA LOKO MAME MAMO MEAR "
        U"MEAS MEON MION MOCO MULA PEDA PEDO PENE PUTA PUTO QULO RATA RUIN";
    for (std::size_t i = 0; i < words.size(); i += 5) {
        if (words.substr(i, 4) == block) {
            return true;
        }
    }
    return false;
}

// What may stand at each position: L a letter, V a letter that is no vowel,
// D a digit, S a sex letter, C a digit or a letter (the century).
inline constexpr std::string_view kPattern = "LLLLDDDDDDSLLVVVCD";

inline bool Allowed(char kind, char32_t c)
{
    switch (kind) {
    case 'L':
        return IsLetter(c);
    case 'V':
        return IsLetter(c) && std::u32string_view(U"AEIOU").find(c) == std::u32string_view::npos;
    case 'D':
        return IsDigit(c);
    case 'S':
        return c == U'H' || c == U'M' || c == U'X';
    default:
        return IsLetter(c) || IsDigit(c);
    }
}

// The findings CheckKey must give.
inline std::vector<KeyFinding> Findings(const Key& given)
{
    if (!given.valid) {
        return {{.problem = KeyProblem::NotUtf8}};
    }
    const std::u32string& key = given.chars;
    if (key.size() != 18) {
        return {{.problem = KeyProblem::Length, .length = key.size()}};
    }
    std::vector<KeyFinding> found;
    for (std::size_t i = 0; i < 18; ++i) {
        if (!Allowed(kPattern[i], key[i])) {
            found.push_back({.problem = KeyProblem::Character, .position = i + 1, .found = key[i]});
        }
    }
    const bool bodyClean = found.empty() || found.front().position == 18;
    if (IsBadWord(std::u32string_view(key).substr(0, 4))) {
        found.push_back({.problem = KeyProblem::InconvenientWord, .position = 1});
    }
    if (std::all_of(key.begin() + 4, key.begin() + 10, IsDigit)) {
        const char32_t c17 = key[16];
        const bool date = IsDigit(c17)    ? IsCalendarDate(key, 1900)
                          : IsLetter(c17) ? IsCalendarDate(key, 2000)
                                          : IsCalendarDate(key, 1900) || IsCalendarDate(key, 2000);
        if (!date) {
            found.push_back({.problem = KeyProblem::Date, .position = 5});
        }
    }
    if (IsLetter(key[11]) && IsLetter(key[12]) && !IsStateCode(key[11], key[12])) {
        found.push_back({.problem = KeyProblem::UnknownState, .position = 12});
    }
    if (bodyClean && IsDigit(key[17]) && key[17] != CheckDigitOf(key)) {
        found.push_back({.problem = KeyProblem::CheckDigit,
                         .position = 18,
                         .due = static_cast<int>(CheckDigitOf(key) - U'0')});
    }
    std::stable_sort(found.begin(), found.end(), [](const KeyFinding& a, const KeyFinding& b) {
        return a.position < b.position;
    });
    return found;
}

inline std::vector<KeyFinding> Findings(std::string_view text)
{
    return Findings(Prepare(text));
}

// What ReadKey must give.
struct Reading {
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    char sex = 0;
    std::string state;

    friend bool operator==(const Reading&, const Reading&) = default;
};

inline std::optional<Reading> Read(const Key& given)
{
    const std::u32string& key = given.chars;
    if (!given.valid || key.size() != 18) {
        return std::nullopt;
    }
    const bool digits = std::all_of(key.begin() + 4, key.begin() + 10, IsDigit);
    const int century = IsDigit(key[16]) ? 1900 : IsLetter(key[16]) ? 2000 : 0;
    if (!digits || century == 0 || !IsCalendarDate(key, century) || !Allowed('S', key[10]) ||
        !IsStateCode(key[11], key[12])) {
        return std::nullopt;
    }
    return Reading{century + TwoDigits(key, 4), static_cast<unsigned>(TwoDigits(key, 6)),
                   static_cast<unsigned>(TwoDigits(key, 8)), static_cast<char>(key[10]),
                   std::string{static_cast<char>(key[11]), static_cast<char>(key[12])}};
}

inline std::optional<Reading> Read(std::string_view text)
{
    return Read(Prepare(text));
}

} // namespace curp::oracle

#endif // CURP_KEY_ORACLE_H
