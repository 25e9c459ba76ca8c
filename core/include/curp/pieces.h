// The pieces a key is made of and the rules that give their characters,
// shared by the computation, which names the rule it applies, and by the
// explanation of a key (curp/explain.h).
#ifndef CURP_PIECES_H
#define CURP_PIECES_H

namespace curp {

// What a piece of the key is.
enum class PieceKind {
    PaternalInitial,   // first letter of the paternal surname
    PaternalVowel,     // first vowel of the paternal surname after its first letter
    MaternalInitial,   // first letter of the maternal surname
    GivenInitial,      // first letter of the given name
    GivenSecondLetter, // second letter of the given name (after a paternal surname of 1 or 2 letters)
    BirthDate,         // "yymmdd"
    Sex,
    State,
    PaternalConsonant, // first inner consonant of the paternal surname
    MaternalConsonant, // ... of the maternal surname
    GivenConsonant,    // ... of the given name
    Differentiator,    // "0" before 2000, "A" from 2000; the registry's may differ
    CheckDigit,
};

// How the characters of a piece were obtained.
enum class PieceRule {
    Taken,            // the character at `position` of `source`
    FromInput,        // date, sex or state, written from the input
    FirstAssigned,    // the differentiator the registry gives first in the century of birth
    Computed,         // the check digit, from the first 17 characters
    NoInnerVowel,     // "X": no vowel after the first letter of `source`
    TooShort,         // "X": `source` has fewer than 3 characters
    NoInnerConsonant, // "X": nothing but vowels after the first letter of `source`
    SpaceIsX,         // "X": the first non-vowel after the first letter is a space (for
                      // the vowel: a space at `position` comes before any vowel)
    EnyeIsX,          // "X" for the "Ñ" at `position` of `source`
    NonLetterIsX,     // "X" for the character at `position` of `source`, no letter A-Z
                      // (for the vowel: it comes before any vowel and is no "Ñ" either)
    InconvenientWord, // "X" for the letter at `position`: the first four letters would spell `word`
    MissingSurname,   // "X" standing for a maternal surname that is missing
};

} // namespace curp

#endif // CURP_PIECES_H
