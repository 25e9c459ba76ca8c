// The stages of the key computation, in the order Calc_Clave runs them.
// All texts are UTF-32 holding Unicode scalar values only.
#ifndef CURP_KEY_RULES_H
#define CURP_KEY_RULES_H

#include <chrono>
#include <string>
#include <string_view>

namespace curp::detail {

// The three name texts in their working form. Calc_Clave prepares copies;
// the caller's texts are never touched.
struct Names {
    std::u32string Ap; // paternal surname
    std::u32string Am; // maternal surname
    std::u32string Nm; // given name(s)
};

// --- Name preparation (name_preparation.cpp) ---

// A key is computed only for a given name and at least one surname.
bool HasNameAndSurname(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm);

// "¥" is how "Ñ" arrives through some code pages; it is turned back into "Ñ".
void RepairEnye(std::u32string& text);

// Removes the particles ("DE LOS ", "DEL ", "Y ", "VAN ", ...) wherever they occur.
void RemoveParticles(std::u32string& text);

// "JOSE " and then "MARIA " are dropped from the front of a compound given name.
void DropCommonFirstName(std::u32string& Nm);

// Apostrophes are deleted ("O'BRIEN" -> "OBRIEN").
void RemoveApostrophes(std::u32string& text);

// A missing paternal surname is replaced by the maternal one, and a missing
// maternal surname by "X".
void FillMissingSurnames(Names& names);

// Runs the preparation steps above, in order, on the working copies.
void PrepareNames(Names& names);

// --- Code composition (code_composition.cpp) ---

// Positions 1-4, chosen by the length of the paternal surname.
std::u32string InitialBlock(const Names& names);

// True when `block` is exactly one of the 45 inconvenient words.
bool IsInconvenientWord(std::u32string_view block) noexcept;

// A block that spells one of the inconvenient words gets "X" as its second letter.
void FilterInconvenientWord(std::u32string& block);

// "Ñ" in the block becomes "X".
void ReplaceEnyeInBlock(std::u32string& block);

// Appends the date of birth as "yymmdd"; the year is taken modulo 100.
void AppendBirthDate(std::u32string& body, std::chrono::year_month_day FB);

// The first non-vowel from the second character on, or "X".
char32_t InternalConsonant(std::u32string_view text) noexcept;

// The 17-character body: block, date, sex, state, consonants, differentiator.
std::u32string ComposeBody(const Names& names, std::chrono::year_month_day FB,
                           std::u32string_view CveSexo, std::u32string_view CveEnt);

// --- Check digit (check_digit.cpp) ---

// The check digit (0..9) over the first 17 characters of a body of 17 or more.
int CheckDigit(std::u32string_view body) noexcept;

// Appends the check digit when the body has more than 16 characters.
void AppendCheckDigit(std::u32string& body);

} // namespace curp::detail

#endif // CURP_KEY_RULES_H
