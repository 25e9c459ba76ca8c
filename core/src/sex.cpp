#include "curp/sex.h"

#include "curp/states.h"
#include "text.h"

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
        const char letter = exactIn(kLetters);
        return letter != '\0' ? letter : exactIn(kWords);
    } catch (...) { // out of memory
        return '\0';
    }
}

char SearchSex(std::string_view typed) noexcept
{
    try {
        const std::string folded = Folded(typed);
        // A lone "m" starts masculino, but in the key M is mujer: a guess
        // either way could give a woman an H key, or a man an M one.
        if (!folded.empty() && folded != "M") {
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
