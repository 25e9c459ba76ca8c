// The sex of a person as people write it, for position 11 of a key.
#ifndef CURP_SEX_H
#define CURP_SEX_H

#include <string_view>

namespace curp {

// The sex letter that `text` (UTF-8) names exactly, in any case, with or
// without accents and blanks around: 'H' for "H", "hombre" and "masculino";
// 'M' for "M", "F", "mujer" and "femenino"; 'X' for "X". '\0' for any other
// text.
char ReadSex(std::string_view text) noexcept;

// The sex letter the first letters typed so far point to, for a list
// searched while typing: the first of "masculino", "femenino", "hombre",
// "mujer" and "x" that starts with `typed`, compared as ReadSex does. So "ma"
// gives 'H' (masculino), "mu" 'M' (mujer), "f" 'M' and "h" 'H'. '\0' when none
// starts so, when `typed` is empty, and for a lone "m", which could be
// masculino or mujer (the key's letter for a woman is M).
char SearchSex(std::string_view typed) noexcept;

} // namespace curp

#endif // CURP_SEX_H
