// The sex of a person as people write it, for position 11 of a key.
#ifndef CURP_SEX_H
#define CURP_SEX_H

#include <cstdint>
#include <string>
#include <string_view>

namespace curp {

// The sex letter that `text` (UTF-8) names exactly, in any case, with or
// without accents, a final dot and blanks around: 'H' for "H", "hombre",
// "masculino", "masc." and "varón"; 'M' for "M", "F", "mujer", "femenino" and
// "fem."; 'X' for "X". '\0' for any other text.
char ReadSex(std::string_view text) noexcept;

// How the letters of a column of sexes are meant.
enum class SexLetters : std::uint8_t {
    HM,    // H hombre, M mujer, the key's own letters (and F femenino)
    FM,    // F femenino, M masculino: a column that holds F and M and never H
    Mixed, // H, M and F together: M may be mujer or masculino, and is refused
};

// Why a text gives no sex letter.
enum class SexFault : std::uint8_t {
    None,
    Missing,   // blank
    Number,    // "1", "2", "0": numbered lists disagree on what each means
    Ambiguous, // "M" in a column read as SexLetters::Mixed
    Unknown,   // any other text
};

struct SexReading {
    char letter = '\0'; // 'H', 'M' or 'X'; '\0' with a fault
    SexFault fault = SexFault::None;
};

// Reads `text` as ReadSex does, its letters as `letters` says.
SexReading ReadSex(std::string_view text, SexLetters letters) noexcept;

// Why `text` gives no sex, in Spanish, naming the forms accepted: "el sexo
// «1» es un número, que no dice si es hombre o mujer: se acepta H, M, X,
// hombre, mujer, masculino o femenino". Empty for SexFault::None.
std::string SexSentence(SexFault fault, std::string_view text);

// The sex letter the first letters typed so far point to, for a list
// searched while typing: the first of "masculino", "femenino", "hombre",
// "mujer" and "x" that starts with `typed`, compared as ReadSex does. So "ma"
// gives 'H' (masculino), "mu" 'M' (mujer), "f" 'M' and "h" 'H'. '\0' when none
// starts so, when `typed` is empty, and for a lone "m", which could be
// masculino or mujer (the key's letter for a woman is M).
char SearchSex(std::string_view typed) noexcept;

// Whether `typed` is the lone "m" SearchSex refuses: a window says why.
bool SexLetterInDoubt(std::string_view typed) noexcept;

} // namespace curp

#endif // CURP_SEX_H
