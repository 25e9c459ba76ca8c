// Computation of the CURP, the 18-character Mexican population registry key.
#ifndef CURP_CALC_CLAVE_H
#define CURP_CALC_CLAVE_H

#include <chrono>
#include <string>
#include <string_view>

namespace curp {

// Computes the key from the person's data.
//
//   Ap       paternal surname (may be empty if Am is not)
//   Am       maternal surname (may be empty)
//   Nm       given name or names
//   FB       date of birth; any year is accepted, the key holds it modulo 100
//   CveSexo  sex letter, "H" or "M"; copied into the key as given
//   CveEnt   two-letter state code, or empty; copied into the key as given
//
// The names are taken exactly as given: nothing is upper-cased, and accents
// and other marks stay. The rules look for upper-case text only (the vowels
// A, E, I, O and U, the particles "DE ", "Y ", ..., the given names "JOSE "
// and "MARIA ", the letters the check digit weighs), so the caller upper-cases
// the names first: "gomez" gives a different key from "GOMEZ", not an error.
// Only the space U+0020 counts as blank: a name of spaces alone is missing,
// while a tab or a no-break space is a character like any other.
//
// Returns the 18-character key; a shorter text, without check digit, when a
// piece is missing (no state code, a one-letter given name after a short
// surname, ...); a longer one when CveSexo or CveEnt is longer than usual (the
// check digit, last, still covers the first 17 characters). Returns the empty
// text when there is no given name or no surname, when a text is not valid
// Unicode (a value outside U+0000..U+10FFFF or a surrogate), when FB is not a
// real calendar date, or when memory runs out. Characters are Unicode code
// points; the arguments are never changed.
std::u32string Calc_Clave(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt) noexcept;

// The same computation on UTF-8 texts; the result is UTF-8. Text that is not
// well-formed UTF-8 (overlong forms, surrogates, values beyond U+10FFFF,
// truncated or stray sequences) gives the empty result.
std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt) noexcept;

} // namespace curp

#endif // CURP_CALC_CLAVE_H
