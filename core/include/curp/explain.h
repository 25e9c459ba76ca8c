// Where each character of a computed key comes from, and what a person needs
// to know about the result: the pieces of the key in order, how the name texts
// were read and prepared, and notes such as a missing piece or an abbreviated
// name. Every fact is a value a program can test; Describe gives the Spanish
// sentences a person reads.
#ifndef CURP_EXPLAIN_H
#define CURP_EXPLAIN_H

#include "curp/calc_clave.h"
#include "curp/pieces.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace curp {

// One of Calc_Clave's six inputs.
enum class KeyInput { None, Ap, Am, Nm, FB, CveSexo, CveEnt };

// One piece of the key.
struct KeyPiece {
    PieceKind kind;
    PieceRule rule;
    std::string characters{}; // UTF-8, exactly as they stand in the key
    KeyInput input =
        KeyInput::None;   // the input the piece comes from (None for the constant and the digit)
    std::string source{}; // name pieces: the prepared text the rule looked at ("GOMEZ")
    std::size_t position = 0; // name pieces: 1-based position in `source` of the character
                              // taken or replaced; 0 when the rule found none
    std::string word{};       // InconvenientWord: the word the first four letters would spell

    friend bool operator==(const KeyPiece&, const KeyPiece&) = default;
};

// How a character of a name was read differently from how it was written.
enum class ReadAs {
    BaseLetter, // `written`, a letter with diacritics, counts as `read`, its letter A-Z ("Ó", "O")
    Space, // `written`, white space other than U+0020 (a tab, a no-break space), counts as a space
    Removed,    // `written`, an invisible character or a lone combining mark, was left out
    Apostrophe, // `written` ("’", "ʼ", "´" or "`") counts as the apostrophe "'", which goes
};

// One way a name was read differently; each is listed once per name.
struct ReadChange {
    ReadAs how;
    std::string written{}; // as given, in upper case ("Ó", or "O" and U+0301 when decomposed)
    std::string read{};    // what it counts as ("O", " "); empty when left out

    friend bool operator==(const ReadChange&, const ReadChange&) = default;
};

// A first word of the given name written short and counted as the name the
// key passes over: "MA." or "MA" as MARIA, "J." or "J" as JOSE.
struct ShortForm {
    std::string written{}; // "MA."
    std::string counted{}; // "MARIA"

    friend bool operator==(const ShortForm&, const ShortForm&) = default;
};

// What reading and preparation did to one name text before letters were
// taken from it.
struct PreparedName {
    KeyInput input = KeyInput::Nm; // Ap, Am or Nm
    std::string typed{};           // as given
    std::string written{}; // in upper case, one kind of space, nothing invisible, accents kept
    std::string read{}; // as the rules read it: `written` with accents folded ("LÓPEZ" -> "LOPEZ")
    std::vector<ReadChange> changes{}; // what makes `read` differ from `typed` beyond upper case
    std::string prepared{};            // the working text (before a missing surname is filled in)
    bool enyeRepaired = false;         // "¥" read as "Ñ"
    bool particlesRemoved = false;     // "DE LOS ", "DEL ", "Y ", "MC ", "VON ", ... taken out
    std::string dropped{}; // given name: "JOSE", "MARIA", "JOSE MARIA", "MA.", "J MA." dropped
                           // from its front
    bool apostrophesRemoved = false;      // apostrophes deleted
    std::vector<std::string> particles{}; // those taken out, each once, in the order of removal,
                                          // without their space: "DE LA", "Y"
    std::vector<ShortForm> shortForms{};  // the words of `dropped` written short, in order

    friend bool operator==(const PreparedName&, const PreparedName&) = default;
};

// A fact about the result.
enum class NoteKind {
    // Why there is no key (the key is empty).
    InvalidText, // `input` is not valid Unicode (not well-formed UTF-8 for the UTF-8 entry)
    InvalidDate, // the date of birth is not a calendar date
    NoGivenName, // the given name is empty or spaces only
    NoSurname,   // both surnames are empty or spaces only
    // Why the key cannot be the registry's.
    OtherCharacters, // `text`: the key's characters that are not A-Z or 0-9 (from sex or state)
    UnknownSex,      // `text`: the sex given is not H, M or X
    UnknownState,    // `text`: the state given is not a code of the catalogue
    // A piece is missing.
    NoSex,
    NoState,           // positions 12-13, and with them the check digit
    SurnamesEmptied,   // preparation left both surnames empty: positions 1-4 are missing
    GivenNameEmptied,  // preparation left the given name empty: its initial is missing
    GivenNameTooShort, // a one-letter given name after a short surname: the 4th letter is missing
    Incomplete,        // the key is shorter than 18 characters and has no check digit
    // Why the key may not be the registry's.
    AbbreviatedName, // `text`: a word of the given name written short ("FCO.", "GPE.": up to
                     // four letters and a dot), which the registry has in full; not MA./J.
                     // counted as MARIA/JOSE
    // For information.
    SurnameMoved,    // `text`: the maternal surname, which takes the missing paternal one's place
    RegistryAssigns, // always last: positions 17-18 are the registry's to assign
};

// One fact about the result.
struct KeyNote {
    NoteKind kind;
    KeyInput input = KeyInput::None; // InvalidText: the input concerned
    std::string text{};              // characters, or the text the kind names

    friend bool operator==(const KeyNote&, const KeyNote&) = default;
};

// A computed key with its explanation.
struct KeyExplanation {
    std::string key;                 // Calc_Clave's result, UTF-8
    std::vector<KeyPiece> pieces;    // in key order; their characters concatenate to `key`
    std::vector<PreparedName> names; // Ap, Am, Nm; empty when there is no key
    std::vector<KeyNote> notes;      // in the order Describe shows them

    // True when some note is of `kind`.
    bool Has(NoteKind kind) const noexcept;

    friend bool operator==(const KeyExplanation&, const KeyExplanation&) = default;
};

// Computes the key exactly as Calc_Clave does, from the same arguments, and
// says where each character came from. `key` is always Calc_Clave's result
// (for the UTF-32 entry, its UTF-8 form). The notes always end with
// RegistryAssigns; when the key is empty, they start with every reason found.
// When memory runs out the explanation is empty: no key, pieces or notes.
KeyExplanation ExplainKey(std::string_view Ap, std::string_view Am, std::string_view Nm,
                          std::chrono::year_month_day FB, std::string_view CveSexo,
                          std::string_view CveEnt) noexcept;
KeyExplanation ExplainKey(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt) noexcept;

// The explanation of the computation `trace` recorded (see Calc_Clave): the
// same as ExplainKey of that computation's arguments, without computing the
// key again. Empty for a trace that no computation filled.
KeyExplanation ExplainKey(const KeyTrace& trace) noexcept;

// False when the registry's key differs, or may well differ, from
// `explanation.key`: it is not 18 characters long, holds something other than
// A-Z and 0-9, a sex or state the registry does not use, an X for a digit or
// a sign of a name, or comes from an abbreviated given name ("FCO.", not the
// "MA." or "J." counted as MARIA or JOSE). True does not mean the registry
// issued it: positions 17-18 may differ.
bool CouldBeRegistryKey(const KeyExplanation& explanation) noexcept;

// The explanation as Spanish sentences, one per line, to be shown as they
// are: the pieces ("GO: G y O de GOMEZ (inicial y primera vocal interna).",
// letters of one text or the three inner consonants together on one line),
// then what reading and preparation changed in each name text ("Ó de LÓPEZ
// cuenta como O, como en el registro."), then the notes.
std::vector<std::string> Describe(const KeyExplanation& explanation);

// One note as a Spanish sentence: "Elija la entidad de nacimiento."
std::string Describe(const KeyNote& note);

} // namespace curp

#endif // CURP_EXPLAIN_H
