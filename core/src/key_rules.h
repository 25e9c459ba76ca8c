// The stages of the key computation, in the order Calc_Clave runs them.
// All texts are UTF-32 holding Unicode scalar values only. The names are read
// first (upper case, no accents but "Ñ", one kind of space, nothing invisible);
// after that every comparison is exact and case-sensitive.
#ifndef CURP_KEY_RULES_H
#define CURP_KEY_RULES_H

#include "curp/pieces.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace curp::detail {

// The three name texts in their working form. Calc_Clave prepares copies;
// the caller's texts are never touched.
struct Names {
    std::u32string Ap; // paternal surname
    std::u32string Am; // maternal surname
    std::u32string Nm; // given name(s)
};

// Which of the three name texts.
enum class NameText : std::uint8_t { Ap, Am, Nm };

// --- Reading the names as the person means them (name_reading.cpp) ---
//
// A name reaches the rules as people have it: in any case, with accents, and
// pasted with decomposed accents, no-break spaces or invisible characters.
// Reading turns it into the registry's way of writing names, before the guard
// and before preparation, so that all of these give the key the registry does.

// The simple upper-case mapping of Unicode: "é" -> "É"; a letter whose upper
// case is more than one letter ("ß") stays as it is.
char32_t SimpleUpperCase(char32_t c) noexcept;

// A to Z for a letter whose canonical decomposition is that letter (in either
// case) followed only by combining marks ("Á", "ü", "Ç", "ǰ"); 0 for any other
// character, "Ñ" and "ñ" included.
char32_t LatinBase(char32_t c) noexcept;

// The White_Space property: space, tab, line breaks, no-break space, U+2000 to
// U+200A, U+3000, ...
bool IsWhiteSpace(char32_t c) noexcept;

// General category Cf: zero-width spaces and joiners, U+FEFF, the soft
// hyphen, direction marks and controls, ...
bool IsFormatCharacter(char32_t c) noexcept;

// General categories Mn, Mc and Me: the accents of decomposed text, ...
bool IsCombiningMark(char32_t c) noexcept;

// What reading does with a character.
enum class Reading : std::uint8_t {
    AsIs,        // kept, upper-cased where it has a simple upper case
    Composed,    // "N" or "n" and a combining tilde, read as "Ñ"
    Space,       // white space other than U+0020, read as U+0020
    Folded,      // a letter with diacritics, read as its base letter A-Z
    Removed,     // a format character, dropped
    MarkRemoved, // a combining mark not taken into an "Ñ", dropped
    Apostrophe,  // one of the apostrophes people type ("’", "ʼ", "´", "`"), read as "'"
};

constexpr bool IsRemoved(Reading how) noexcept
{
    return how == Reading::Removed || how == Reading::MarkRemoved;
}

// One character read: what it becomes and how many characters it took.
struct CharacterRead {
    char32_t read;
    std::uint8_t length;
    Reading how;
};

// Reads the character at 0-based index `i` of `text` (i < text.size()).
CharacterRead ReadCharacter(std::u32string_view text, std::size_t i) noexcept;

// Reads a whole name: each character as ReadCharacter says, the removed ones
// left out. "José" and "JOSE\u0301" both give "JOSE", "jose\u00A0luis" gives
// "JOSE LUIS", "\u202EPEÑA\u200B" gives "PEÑA", "O’FARRILL" "O'FARRILL".
void ReadName(std::u32string& text);

// --- Name preparation (name_preparation.cpp) ---

// A key is computed only for a given name and at least one surname. Blank is
// empty or U+0020 spaces only: a tab or a no-break space is a character.
inline bool IsOnlySpaces(std::u32string_view text) noexcept
{
    return text.find_first_not_of(U' ') == std::u32string_view::npos;
}

inline bool HasGivenName(std::u32string_view Nm) noexcept
{
    return !IsOnlySpaces(Nm);
}

inline bool HasSurname(std::u32string_view Ap, std::u32string_view Am) noexcept
{
    return !IsOnlySpaces(Ap) || !IsOnlySpaces(Am);
}

// "¥" (U+00A5) is how "Ñ" arrives through some code pages; every one is turned
// back into "Ñ" (U+00D1).
void RepairEnye(std::u32string& text);

// Removes the particles the registry omits: "DE LOS ", "DE LAS ", "DE LA ",
// "DE EL ", "DEL ", "DE ", "Y ", "MC ", "VAN ", "DA ", "DAS ", "DER ", "DI ",
// "DIE ", "DD ", "EL ", "LA ", "LOS ", "LAS ", "LE ", "LES ", "MAC " and "VON ",
// one pass each in that order, so that "DE LOS " goes whole before "DE " can
// take its first word. A particle is a whole word: it matches where the text
// begins or after a space, and ends with its own space, so "ANDRADE LOPEZ",
// "GUY MARTIN" and "IVAN ALBERTO" keep their letters. A pass replaces every
// such occurrence by one space and then trims the text, whether or not
// anything matched. So only the first pass can match a space typed at the end
// ("DE LOS " goes, "DE LAS " becomes "LAS"), and a particle between two words
// leaves two spaces ("FERNANDEZ  CASTILLO"). A text without a space holds no
// particle and is left as it is.
void RemoveParticles(std::u32string& text);

// The particles RemoveParticles takes out of `text`, each once, in the order
// of their passes, without their space ("DE LA", "Y").
std::vector<std::u32string_view> ParticlesIn(std::u32string text);

// The first word of the given name is passed over when more follows it, and
// the rest trimmed: first JOSE, written "JOSE ", "J. " or "J ", then, on the
// result, MARIA, written "MARIA ", "MA. " or "MA ", the short forms the
// registry counts as the whole name. "JOSE MARIA ANTONIO" becomes "ANTONIO",
// "MA. DEL ROSARIO" (without its particle) "ROSARIO", "MARIA JOSE ANA" "JOSE
// ANA"; "JOSE", "MA." and "JOSE MARIA" keep their last word.
void DropCommonFirstName(std::u32string& Nm);

// "JOSE" or "MARIA" for a word DropCommonFirstName passes over as that name
// ("J.", "MA", "JOSE"), without its space; empty for any other word.
std::u32string_view CommonFirstName(std::u32string_view word) noexcept;

// Apostrophes (U+0027, which reading makes of the others) are deleted, not
// replaced ("O'BRIEN" -> "OBRIEN"), and the text trimmed; a text of
// apostrophes becomes empty.
void RemoveApostrophes(std::u32string& text);

// The first word of a given name that looks written short: one to four
// letters and a dot ("FCO.", "GPE."); empty when there is none. Asked of the
// given name after the words counted as JOSE or MARIA are dropped.
std::u32string_view AbbreviatedWord(std::u32string_view Nm) noexcept;

// An empty paternal surname takes the maternal one's place, and an empty
// maternal surname becomes "X". Afterwards Am is never empty, and Ap is empty
// only when both surnames were.
void FillMissingSurnames(Names& names);

// --- Code composition (code_composition.cpp) ---

// A character a rule picks from a prepared name text, and how.
struct Letter {
    char32_t letter = 0;               // what goes into the key
    std::size_t at = 0;                // 1-based position of the character looked at; 0 for none
    PieceRule rule = PieceRule::Taken; // Taken, or why "X" stands instead
};

// One letter of positions 1-4 and the text it comes from.
struct BlockLetter {
    PieceKind kind;
    NameText from;
    Letter letter;
};

// The letters of positions 1-4, in order; fewer than four when a text is too
// short, none when the paternal surname is empty.
struct BlockLetters {
    std::array<BlockLetter, 4> letters{};
    std::size_t size = 0;
};

// Positions 1-4, chosen by the length of the prepared paternal surname, with
// the place each letter comes from:
//   1 or 2 characters  Ap's first, Am's first, Nm's first and second
//   3 or more          Ap's first, Ap's first vowel (A, E, I, O, U) from the
//                      second character on, Am's first, Nm's first; "X" for
//                      the vowel when there is none, or when a character
//                      that is no letter A-Z or "Ñ" comes before it (a space,
//                      a sign: "D/AMICO" and "O RELLING" give "DX", "OX")
//   empty              nothing: preparation emptied both surnames
// A character past the end of its text is left out, not replaced, so there are
// fewer letters when Nm has fewer characters than it should give.
BlockLetters InitialLetters(const Names& names);

// Positions 1-4 as text.
std::u32string InitialBlock(const Names& names);

// True when `block` is exactly one of the 45 inconvenient words ("BUEI" to
// "RUIN", all upper case); false for any other text, a shorter one included.
bool IsInconvenientWord(std::u32string_view block) noexcept;

// A block that is an inconvenient word gets "X" as its second letter; any
// other block stays. The block is compared with any "Ñ" still in it.
void FilterInconvenientWord(std::u32string& block);

// Every character of the block that is not a letter A-Z becomes "X", after
// the word filter: the "Ñ", and a digit, a sign or a letter of another script
// that the rules took.
void KeepLettersInBlock(std::u32string& block);

// Appends the date of birth as "yymmdd", each part with two digits. The year
// is taken modulo 100, rounded down, so years before 1 give 00..99 as well
// (-1 gives "99"). FB is a valid date: Calc_Clave refuses any other first.
void AppendBirthDate(std::u32string& body, std::chrono::year_month_day FB);

// The internal consonant of one prepared name text: "X" when the text has
// fewer than 3 characters; otherwise the first character from the second on
// that is not one of the vowels A, E, I, O and U. Any other character counts:
// a consonant, but also a digit or a hyphen. "X" when that character is a
// space, "Ñ" or anything else that is not a letter A-Z, or when every
// character from the second on is a vowel.
Letter InnerConsonant(std::u32string_view text) noexcept;

// Just the character of InnerConsonant.
char32_t InternalConsonant(std::u32string_view text) noexcept;

// --- Check digit (check_digit.cpp) ---

// The check digit (0..9) of a body. Characters 1 to 17 (as many as the body
// has, when fewer) are weighted 18 down to 2 and valued by their place in
// "0123456789ABCDEFGHIJKLMNÑOPQRSTUVWXYZ"; any other character (lower case,
// accents, spaces, hyphens, ...) counts -1. r is the sum modulo 10 rounded
// down, 0..9 also when the sum is negative; the digit is 0 for r = 0, else
// 10 - r. Characters after the 17th do not count.
int CheckDigit(std::u32string_view body) noexcept;

// Appends the check digit ("0".."9") to a body of 17 or more characters, after
// its last one; a body of 16 or fewer is left as it is.
void AppendCheckDigit(std::u32string& body);

// --- The computation, step by step ---
//
// The stages below show their working texts to a trace after each step, so
// that an explanation follows the very steps that computed the key. The plain
// computation passes NoTrace, whose calls compile to nothing.

// What a trace is shown: a name text after a preparation step, or the body
// (the first four letters, during their steps) after a piece is in place.
enum class Step : std::uint8_t {
    NameRead,
    EnyeRepaired,
    ParticlesRemoved,
    CommonNameDropped,
    ApostrophesRemoved,
    SurnamesFilled,
    BlockPicked,
    BlockFiltered,
    BlockLettersOnly,
    BirthDate,
    Sex,
    State,
    ConsonantAp,
    ConsonantAm,
    ConsonantNm,
    Differentiator,
    CheckDigit,
};
inline constexpr std::size_t kStepCount = 17;

struct NoTrace {
    template <class... Seen>
    void operator()(const Seen&... /*seen*/) const noexcept
    {}
};

// Reads the three names as the person means them.
template <class Trace = NoTrace>
void ReadNames(Names& names, Trace&& trace = Trace{})
{
    for (const auto& [which, text] : std::array<std::pair<NameText, std::u32string*>, 3>{{
             {NameText::Ap, &names.Ap},
             {NameText::Am, &names.Am},
             {NameText::Nm, &names.Nm},
         }}) {
        ReadName(*text);
        trace(Step::NameRead, which, *text);
    }
}

// The differentiator at position 17: the first one the registry gives in the
// century of the birth, "0" before 2000 and "A" from 1 January 2000 on.
inline char32_t Differentiator(std::chrono::year_month_day FB) noexcept
{
    return FB.year() < std::chrono::year{2000} ? U'0' : U'A';
}

// Runs the preparation steps, in order, on the working copies.
template <class Trace = NoTrace>
void PrepareNames(Names& names, Trace&& trace = Trace{})
{
    const std::array<std::pair<NameText, std::u32string*>, 3> texts{{
        {NameText::Ap, &names.Ap},
        {NameText::Am, &names.Am},
        {NameText::Nm, &names.Nm},
    }};
    for (const auto& [which, text] : texts) {
        RepairEnye(*text);
        trace(Step::EnyeRepaired, which, *text);
        RemoveParticles(*text);
        trace(Step::ParticlesRemoved, which, *text);
    }
    DropCommonFirstName(names.Nm);
    trace(Step::CommonNameDropped, NameText::Nm, names.Nm);
    for (const auto& [which, text] : texts) {
        RemoveApostrophes(*text);
        trace(Step::ApostrophesRemoved, which, *text);
    }
    FillMissingSurnames(names);
    for (const auto& [which, text] : texts) {
        trace(Step::SurnamesFilled, which, *text);
    }
}

// The body: block (filtered, letters A-Z only), date, CveSexo and CveEnt as
// given, the internal consonants of Ap, Am and Nm, and the differentiator. It has
// 17 characters when every piece has its usual width; a missing piece (no
// state, a short block) makes it shorter and longer sex or state texts make it
// longer. Nothing is padded or cut.
template <class Trace = NoTrace>
std::u32string ComposeBody(const Names& names, std::chrono::year_month_day FB,
                           std::u32string_view CveSexo, std::u32string_view CveEnt,
                           Trace&& trace = Trace{})
{
    // A trace is also shown the rule behind each letter taken from a name.
    constexpr bool kRules = !std::is_same_v<std::remove_cvref_t<Trace>, NoTrace>;
    std::u32string body = InitialBlock(names);
    if constexpr (kRules) {
        trace(InitialLetters(names));
    }
    trace(Step::BlockPicked, body);
    FilterInconvenientWord(body);
    trace(Step::BlockFiltered, body);
    KeepLettersInBlock(body);
    trace(Step::BlockLettersOnly, body);
    body.reserve(body.size() + 6 + CveSexo.size() + CveEnt.size() + 4 + 1);
    AppendBirthDate(body, FB);
    trace(Step::BirthDate, body);
    body += CveSexo;
    trace(Step::Sex, body);
    body += CveEnt;
    trace(Step::State, body);
    for (const auto& [step, which, text] :
         {std::tuple{Step::ConsonantAp, NameText::Ap, &names.Ap},
          std::tuple{Step::ConsonantAm, NameText::Am, &names.Am},
          std::tuple{Step::ConsonantNm, NameText::Nm, &names.Nm}}) {
        if constexpr (kRules) {
            const Letter consonant = InnerConsonant(*text);
            trace(which, consonant);
            body += consonant.letter;
        } else {
            body += InternalConsonant(*text);
        }
        trace(step, body);
    }
    body += Differentiator(FB);
    trace(Step::Differentiator, body);
    return body;
}

// The whole computation on working copies that hold scalar values only,
// which it rewrites; the empty text when there is no valid date, or no given
// name or no surname as the names are read.
template <class Trace = NoTrace>
std::u32string ComputeKeyOn(Names& names, std::chrono::year_month_day FB,
                            std::u32string_view CveSexo, std::u32string_view CveEnt,
                            Trace&& trace = Trace{})
{
    ReadNames(names, trace);
    if (!FB.ok() || !HasGivenName(names.Nm) || !HasSurname(names.Ap, names.Am)) {
        return {};
    }
    PrepareNames(names, trace);
    std::u32string key = ComposeBody(names, FB, CveSexo, CveEnt, trace);
    AppendCheckDigit(key);
    trace(Step::CheckDigit, key);
    return key;
}

template <class Trace = NoTrace>
std::u32string ComputeKey(Names names, std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt, Trace&& trace = Trace{})
{
    return ComputeKeyOn(names, FB, CveSexo, CveEnt, trace);
}

} // namespace curp::detail

#endif // CURP_KEY_RULES_H
