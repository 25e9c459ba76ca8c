#include "curp/sex.h"

#include "curp/states.h"
#include "curp/utf8.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <string>

namespace curp {
namespace {

struct SexWord {
    std::string_view word; // folded: upper case, no accents
    char letter;
};

// In the order a search while typing tries them.
constexpr std::array<SexWord, 5> kWords{{
    {"MASCULINO", 'H'},
    {"FEMENINO", 'M'},
    {"HOMBRE", 'H'},
    {"MUJER", 'M'},
    {"X", 'X'},
}};

// The letters read exactly besides the words.
constexpr std::array<SexWord, 4> kLetters{{{"H", 'H'}, {"M", 'M'}, {"F", 'M'}, {"X", 'X'}}};

// Words read only when written in full, as people shorten them; a final dot
// is taken off first.
constexpr std::array<SexWord, 3> kShortened{{{"MASC", 'H'}, {"FEM", 'M'}, {"VARON", 'H'}}};

constexpr std::string_view kAccepted = "se acepta H, M, X, hombre, mujer, masculino o femenino";

constexpr std::size_t kQuotedLongest = 40;

// Upper case without accents and without blanks around.
std::string Folded(std::string_view text)
{
    const std::string folded = FoldForSearch(text);
    return std::string(detail::Trimmed<char>(folded, " \t"));
}

} // namespace

char ReadSex(std::string_view text) noexcept
{
    // One ASCII letter, the form of most files, is read without folding.
    if (text.size() == 1) {
        const char upper =
            text[0] >= 'a' && text[0] <= 'z' ? static_cast<char>(text[0] - 'a' + 'A') : text[0];
        for (const SexWord& known : kLetters) {
            if (known.word[0] == upper) {
                return known.letter;
            }
        }
        return '\0';
    }
    try {
        const std::string folded = Folded(text);
        const auto exactIn = [&folded](const auto& table) {
            for (const SexWord& known : table) {
                if (folded == known.word) {
                    return known.letter;
                }
            }
            return '\0';
        };
        std::string_view word = folded;
        if (word.ends_with('.')) {
            word.remove_suffix(1);
        }
        const char letter = exactIn(kLetters);
        if (letter != '\0') {
            return letter;
        }
        if (const char named = exactIn(kWords); named != '\0') {
            return named;
        }
        for (const SexWord& known : kShortened) {
            if (word == known.word) {
                return known.letter;
            }
        }
        return '\0';
    } catch (...) { // out of memory
        return '\0';
    }
}

SexReading ReadSex(std::string_view text, SexLetters letters) noexcept
{
    // One letter, the form of most files, needs no trimming.
    const std::string_view trimmed = text.size() == 1 && text[0] != ' ' && text[0] != '\t'
                                         ? text
                                         : detail::Trimmed<char>(text, " \t");
    if (trimmed.size() == 1 && (trimmed[0] == 'M' || trimmed[0] == 'm') &&
        letters != SexLetters::HM) {
        if (letters == SexLetters::Mixed) {
            return {'\0', SexFault::Ambiguous};
        }
        return {'H', SexFault::None};
    }
    if (trimmed.size() == 1 && (trimmed[0] == 'F' || trimmed[0] == 'f')) {
        return {'M', SexFault::None};
    }
    if (const char letter = ReadSex(text); letter != '\0') {
        return {letter, SexFault::None};
    }
    if (trimmed.empty()) {
        return {'\0', SexFault::Missing};
    }
    const bool number =
        std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; });
    return {'\0', number ? SexFault::Number : SexFault::Unknown};
}

std::string SexSentence(SexFault fault, std::string_view text)
{
    const std::string quoted = "«" + Printable(text, kQuotedLongest) + "»";
    switch (fault) {
    case SexFault::None:
        return {};
    case SexFault::Missing:
        return "falta el sexo";
    case SexFault::Number:
        return "el sexo " + quoted +
               " es un número, que no dice si es hombre o mujer: " + std::string(kAccepted);
    case SexFault::Ambiguous:
        return "el sexo " + quoted + " puede ser mujer o masculino: la columna tiene H, M y F";
    case SexFault::Unknown:
        break;
    }
    return "el sexo " + quoted + " no se reconoce: " + std::string(kAccepted);
}

bool SexLetterInDoubt(std::string_view typed) noexcept
{
    try {
        return Folded(typed) == "M";
    } catch (...) { // out of memory
        return false;
    }
}

char SearchSex(std::string_view typed) noexcept
{
    try {
        const std::string folded = Folded(typed);
        // A lone "m" starts masculino, but in the key M is mujer: a guess
        // either way could give a woman an H key, or a man an M one.
        if (!folded.empty() && !SexLetterInDoubt(typed)) {
            for (const SexWord& known : kWords) {
                if (known.word.starts_with(folded)) {
                    return known.letter;
                }
            }
        }
    } catch (...) { // out of memory
    }
    return '\0';
}

} // namespace curp
