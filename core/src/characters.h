// How sentences name the characters they talk about, shared by the check of
// a key and the explanation of one.
#ifndef CURP_CHARACTERS_H
#define CURP_CHARACTERS_H

#include <string>

namespace curp::detail {

// A letter A-Z with an accent or diaeresis ("Ó", "ü"): it folds to a single
// letter A-Z. "Ñ" is a letter of its own and not one of them.
bool IsAccentedLetter(char32_t c) noexcept;

// A character a sentence may show as it is: visible ASCII and the Latin
// letters up to U+017F. Any other is named by its code point, so that
// invisible and control characters, and look-alikes of other scripts (a
// Cyrillic "А"), are seen for what they are and never reach a terminal raw.
bool IsShownAsIs(char32_t c) noexcept;

// The code point as "U+200B".
std::string CodePointName(char32_t c);

} // namespace curp::detail

#endif // CURP_CHARACTERS_H
