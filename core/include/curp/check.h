// Checking a key that someone gives: every problem found in it, each as a
// value a program can test and a sentence a person can read.
#ifndef CURP_CHECK_H
#define CURP_CHECK_H

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace curp {

// What can be wrong with a key.
enum class KeyProblem {
    NotUtf8,          // the text is not valid UTF-8; nothing else is checked
    Length,           // not 18 characters (after NormalizeKey)
    Character,        // a character that cannot stand at its position: letters A-Z
                      // at 1-4, consonants B-Z (no vowel A, E, I, O, U) at 14-16,
                      // digits at 5-10 and 18, H, M or X at 11, letters at 12-13,
                      // a digit or a letter A-Z at 17
    UnknownState,     // positions 12-13 are two letters but no code of the catalogue
    Date,             // positions 5-10 are digits but no calendar date in the
                      // century that position 17 gives (19yy for a digit, 20yy for a
                      // letter); when position 17 gives no century, a date in neither
    CheckDigit,       // position 18 is a digit, but not the one due
    InconvenientWord, // positions 1-4 spell one of the 45 inconvenient words,
                      // which the registry never issues
    FutureBirth,      // positions 5-10 and 17 give a date of birth after the day
                      // given as today (only CheckKey with a day finds it)
};

// One problem found in a key.
struct KeyFinding {
    KeyProblem problem;
    std::size_t position = 0; // first position (1-18) concerned; 0 for NotUtf8 and Length
    char32_t found = 0;       // Character: the character at `position`
    std::size_t length = 0;   // Length: the number of characters found
    int due = -1;             // CheckDigit: the digit due at position 18

    friend bool operator==(const KeyFinding&, const KeyFinding&) = default;
};

// The key as it is checked: ASCII letters in upper case, and the dashes and
// blanks that the window's mask and copied text carry removed (spaces, tabs,
// line breaks, no-break and other Unicode spaces, a byte order mark, hyphens,
// dashes and the minus sign): " godj-750423-h-df-mzn-0-0\n" gives
// "GODJ750423HDFMZN00". Every other character is kept as it is; text that is
// not valid UTF-8 is kept unchanged.
std::string NormalizeKey(std::string_view text);

// The key as the window shows it, in the mask "@@@@-@@@@@@-@-@@-@@@-@-@": its
// characters fill the 18 places from the right, places left over show a
// space, and the six dashes always show; a key longer than 18 characters
// keeps the extra ones in front. "GODJ750423HDFMZN00" gives
// "GODJ-750423-H-DF-MZN-0-0", "GODJ750423HMZN0" "   G-ODJ750-4-23-HMZ-N-0",
// "" "    -      - -  -   - - ". In UTF-8 each character is a lead byte and
// the continuation bytes after it, so text that is not UTF-8 is never cut
// inside a sequence.
std::string WithDashes(std::string_view key);
std::u32string WithDashes(std::u32string_view key);

// Every problem of `text` taken as a key (UTF-8, normalised first by
// NormalizeKey), in order of position; several problems may be found at
// once. A key of the wrong length is checked no further. The check digit is
// compared only when positions 1-17 hold no character out of place. An empty
// list means the key is well-formed: it could have been issued by the registry.
// Throws std::bad_alloc when memory runs out (an empty list would say "well-formed").
std::vector<KeyFinding> CheckKey(std::string_view text);

// The same, for a key someone holds on `today`: also finds FutureBirth when
// its date of birth (century from position 17) comes after `today`. A key
// computed for a date to come is well-formed; it cannot have been issued yet.
std::vector<KeyFinding> CheckKey(std::string_view text, std::chrono::year_month_day today);

// A sentence in Spanish that describes the finding for a person, naming the
// position, the character found or the digit due where they apply:
// "el dígito verificador (posición 18) debería ser 0". Without `withData`
// the character found is left out ("... y tiene «…»"), so that every key
// with the same kind of problem says it alike.
std::string Describe(const KeyFinding& finding, bool withData = true);

} // namespace curp

#endif // CURP_CHECK_H
