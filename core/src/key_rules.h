// The stages of the key computation, in the order Calc_Clave runs them.
// All texts are UTF-32 holding Unicode scalar values only.
#ifndef CURP_KEY_RULES_H
#define CURP_KEY_RULES_H

#include "curp/explain.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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

// --- Name preparation (name_preparation.cpp) ---

// A key is computed only for a given name and at least one surname. Blank is
// empty or U+0020 spaces only.
inline bool IsBlank(std::u32string_view text) noexcept
{
    return text.find_first_not_of(U' ') == std::u32string_view::npos;
}

inline bool HasGivenName(std::u32string_view Nm) noexcept
{
    return !IsBlank(Nm);
}

inline bool HasSurname(std::u32string_view Ap, std::u32string_view Am) noexcept
{
    return !IsBlank(Ap) || !IsBlank(Am);
}

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

// Positions 1-4, chosen by the length of the paternal surname, with the
// place each letter comes from.
BlockLetters InitialLetters(const Names& names);

// Positions 1-4 as text.
std::u32string InitialBlock(const Names& names);

// True when `block` is exactly one of the 45 inconvenient words.
bool IsInconvenientWord(std::u32string_view block) noexcept;

// A block that spells one of the inconvenient words gets "X" as its second letter.
void FilterInconvenientWord(std::u32string& block);

// "Ñ" in the block becomes "X".
void ReplaceEnyeInBlock(std::u32string& block);

// Appends the date of birth as "yymmdd"; the year is taken modulo 100.
void AppendBirthDate(std::u32string& body, std::chrono::year_month_day FB);

// The first non-vowel from the second character on, or "X" (also for a
// space or a "Ñ" found there, and for a text of fewer than 3 characters).
Letter InnerConsonant(std::u32string_view text) noexcept;

// Just the character of InnerConsonant.
char32_t InternalConsonant(std::u32string_view text) noexcept;

// --- Check digit (check_digit.cpp) ---

// The check digit (0..9) over the first 17 characters of a body of 17 or more.
int CheckDigit(std::u32string_view body) noexcept;

// Appends the check digit when the body has more than 16 characters.
void AppendCheckDigit(std::u32string& body);

// --- The computation, step by step ---
//
// The stages below show their working texts to a trace after each step, so
// that an explanation follows the very steps that computed the key. The plain
// computation passes NoTrace, whose calls compile to nothing.

// What a trace is shown: a name text after a preparation step, or the body
// (the first four letters, during their steps) after a piece is in place.
enum class Step : std::uint8_t {
    EnyeRepaired,
    ParticlesRemoved,
    CommonNameDropped,
    ApostrophesRemoved,
    SurnamesFilled,
    BlockPicked,
    BlockFiltered,
    BlockEnyeReplaced,
    BirthDate,
    Sex,
    State,
    ConsonantAp,
    ConsonantAm,
    ConsonantNm,
    Differentiator,
    CheckDigit,
};
inline constexpr std::size_t kStepCount = 16;

struct NoTrace {
    template <class... Seen>
    void operator()(const Seen&... /*seen*/) const noexcept
    {}
};

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

// The 17-character body: block, date, sex, state, consonants, differentiator.
template <class Trace = NoTrace>
std::u32string ComposeBody(const Names& names, std::chrono::year_month_day FB,
                           std::u32string_view CveSexo, std::u32string_view CveEnt,
                           Trace&& trace = Trace{})
{
    std::u32string body = InitialBlock(names);
    trace(Step::BlockPicked, body);
    FilterInconvenientWord(body);
    trace(Step::BlockFiltered, body);
    ReplaceEnyeInBlock(body);
    trace(Step::BlockEnyeReplaced, body);
    body.reserve(body.size() + 6 + CveSexo.size() + CveEnt.size() + 4 + 1);
    AppendBirthDate(body, FB);
    trace(Step::BirthDate, body);
    body += CveSexo;
    trace(Step::Sex, body);
    body += CveEnt;
    trace(Step::State, body);
    body += InternalConsonant(names.Ap);
    trace(Step::ConsonantAp, body);
    body += InternalConsonant(names.Am);
    trace(Step::ConsonantAm, body);
    body += InternalConsonant(names.Nm);
    trace(Step::ConsonantNm, body);
    body += U'0'; // the differentiator
    trace(Step::Differentiator, body);
    return body;
}

// The whole computation on working copies that hold scalar values only; the
// empty text when there is no valid date, no given name or no surname.
template <class Trace = NoTrace>
std::u32string ComputeKey(Names names, std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt, Trace&& trace = Trace{})
{
    if (!FB.ok() || !HasGivenName(names.Nm) || !HasSurname(names.Ap, names.Am)) {
        return {};
    }
    PrepareNames(names, trace);
    std::u32string key = ComposeBody(names, FB, CveSexo, CveEnt, trace);
    AppendCheckDigit(key);
    trace(Step::CheckDigit, key);
    return key;
}

} // namespace curp::detail

#endif // CURP_KEY_RULES_H
