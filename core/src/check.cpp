#include "curp/check.h"

#include "characters.h"
#include "given_key.h"
#include "key_rules.h"
#include "text.h"
#include "utf.h"

#include <algorithm>
#include <array>

namespace curp {
namespace {

using detail::GivenKey;
using detail::IsKeyDigit;
using detail::IsKeyLetter;
using detail::kKeyLength;

// What each position of a key may hold.
enum class Slot { Letter, Consonant, Digit, Sex, LetterOrDigit };

// clang-format off
constexpr std::array<Slot, kKeyLength> kSlots{
    Slot::Letter, Slot::Letter, Slot::Letter, Slot::Letter,       // initials
    Slot::Digit, Slot::Digit, Slot::Digit, Slot::Digit, Slot::Digit, Slot::Digit, // yymmdd
    Slot::Sex,
    Slot::Letter, Slot::Letter,                                   // state
    Slot::Consonant, Slot::Consonant, Slot::Consonant,            // inner consonants
    Slot::LetterOrDigit,                                          // century and namesakes
    Slot::Digit,                                                  // check digit
};
// clang-format on

constexpr std::size_t kCheckDigitPosition = 18;

bool Fits(Slot slot, char32_t c) noexcept
{
    switch (slot) {
    case Slot::Letter:
        return IsKeyLetter(c);
    case Slot::Consonant:
        return IsKeyLetter(c) && !detail::IsVowel(c);
    case Slot::Digit:
        return IsKeyDigit(c);
    case Slot::Sex:
        return detail::IsSexLetter(c);
    case Slot::LetterOrDigit:
        return IsKeyLetter(c) || IsKeyDigit(c);
    }
    return false;
}

bool SpellsInconvenientWord(const GivenKey& key) noexcept
{
    return detail::IsInconvenientWord(std::u32string_view(key.chars.data(), 4));
}

// Positions 5-10 are six digits but no date. When position 17 gives no
// century, only what is a date in neither century is reported: 29 February
// of "00" exists in 2000, though not in 1900.
bool HasImpossibleDate(const GivenKey& key) noexcept
{
    for (std::size_t pos = 5; pos <= 10; ++pos) {
        if (!IsKeyDigit(key.At(pos))) {
            return false;
        }
    }
    const int century = detail::CenturyOf(key.At(17));
    if (century != 0) {
        return !detail::DateOf(key, century).ok();
    }
    return !detail::DateOf(key, 1900).ok() && !detail::DateOf(key, 2000).ok();
}

// Positions 12-13 are two letters but no code of the catalogue.
bool HasUnknownState(const GivenKey& key) noexcept
{
    return IsKeyLetter(key.At(12)) && IsKeyLetter(key.At(13)) && detail::StateOf(key) == nullptr;
}

// What a position must hold, as a sentence says it.
std::string_view Expected(Slot slot)
{
    switch (slot) {
    case Slot::Letter:
        return "una letra de la A a la Z";
    case Slot::Consonant:
        return "una consonante de la B a la Z";
    case Slot::Digit:
        return "un dígito";
    case Slot::Sex:
        return "H, M o X";
    case Slot::LetterOrDigit:
        return "un dígito (nacidos hasta 1999) o una letra de la A a la Z (desde 2000)";
    }
    return {};
}

// The piece a position belongs to, where its number alone says little.
std::string_view PieceAt(std::size_t pos)
{
    switch (pos) {
    case 11:
        return " (sexo)";
    case 12:
    case 13:
        return " (entidad de nacimiento)";
    case kCheckDigitPosition:
        return " (dígito verificador)";
    default:
        return {};
    }
}

// A character as a sentence shows it: itself between « » when it may be
// shown as it is, else its code point ("el carácter U+200B").
std::string QuotedCharacter(char32_t c)
{
    if (detail::IsShownAsIs(c)) {
        return "«" + detail::EncodeUtf8(std::u32string_view(&c, 1)) + "»";
    }
    return "el carácter " + detail::CodePointName(c);
}

// The likely slip behind a character out of place, when there is one.
std::string_view Hint(std::size_t pos, Slot slot, char32_t c)
{
    if (slot == Slot::Digit) {
        if (c == U'O' || c == U'o') {
            return " (¿la letra O en lugar del dígito 0?)";
        }
        if (c == U'I' || c == U'i' || c == U'l') {
            return " (¿una letra en lugar del dígito 1?)";
        }
        return {};
    }
    if (slot == Slot::Consonant && detail::IsVowel(c)) {
        return " (el registro nunca pone vocales en las posiciones 14 a 16)";
    }
    if (slot != Slot::Letter && slot != Slot::Consonant) {
        return {};
    }
    if (c == U'0') {
        return " (¿el dígito 0 en lugar de la letra O?)";
    }
    if (c == U'\u00D1' || c == U'\u00F1') {
        // Names give positions 1-4 and 14-16; a state code never has Ñ.
        const bool fromNames = pos <= 4 || pos >= 14;
        return fromNames ? ": ninguna clave lleva Ñ, en su lugar va X" : "";
    }
    if (detail::IsAccentedLetter(c)) {
        return ": las claves se escriben sin acentos";
    }
    return {};
}

std::string DescribeCharacter(std::size_t pos, char32_t found, bool withData)
{
    const std::string shown = withData ? QuotedCharacter(found) : "«…»";
    if (pos == 0 || pos > kKeyLength) {
        return "la clave no admite " + shown + " en la posición " + std::to_string(pos);
    }
    const Slot slot = kSlots[pos - 1];
    std::string sentence = "la posición " + std::to_string(pos);
    sentence.append(PieceAt(pos)).append(" debe ser ").append(Expected(slot));
    sentence.append(" y tiene ").append(shown).append(Hint(pos, slot, found));
    return sentence;
}

} // namespace

std::string NormalizeKey(std::string_view text)
{
    const auto decoded = detail::DecodeUtf8(text);
    if (!decoded) {
        return std::string(text);
    }
    std::u32string kept;
    kept.reserve(decoded->size());
    for (const char32_t c : *decoded) {
        if (!detail::IsKeySeparator(c)) {
            kept.push_back(detail::UpperAscii(c));
        }
    }
    return detail::EncodeUtf8(kept);
}

namespace {

constexpr std::u32string_view kKeyMask = U"@@@@-@@@@@@-@-@@-@@@-@-@";

// Fills the mask with `count` characters, the i-th of which `append(out, i)`
// adds to `out`, as WithDashes says.
template <class Text, class Append>
Text Masked(std::size_t count, Append append)
{
    constexpr std::size_t kPlaces = detail::kKeyLength;
    Text out;
    std::size_t next = 0;
    for (; next + kPlaces < count; ++next) {
        append(out, next);
    }
    std::size_t blank = count < kPlaces ? kPlaces - count : 0;
    for (const char32_t place : kKeyMask) {
        if (place != U'@') {
            out.push_back('-');
        } else if (blank > 0) {
            out.push_back(' ');
            --blank;
        } else {
            append(out, next++);
        }
    }
    return out;
}

} // namespace

std::u32string WithDashes(std::u32string_view key)
{
    return Masked<std::u32string>(key.size(),
                                  [key](std::u32string& out, std::size_t i) { out += key[i]; });
}

std::string WithDashes(std::string_view key)
{
    // Where each character starts: at every byte that is no continuation byte.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if ((static_cast<unsigned char>(key[i]) & 0xC0U) != 0x80U || starts.empty()) {
            starts.push_back(i);
        }
    }
    starts.push_back(key.size());
    return Masked<std::string>(starts.size() - 1, [&](std::string& out, std::size_t i) {
        out += key.substr(starts[i], starts[i + 1] - starts[i]);
    });
}

namespace {

// Every problem of a key taken apart.
std::vector<KeyFinding> Check(const GivenKey& key)
{
    if (!key.utf8) {
        return {KeyFinding{KeyProblem::NotUtf8}};
    }
    if (key.length != kKeyLength) {
        return {KeyFinding{.problem = KeyProblem::Length, .length = key.length}};
    }
    std::vector<KeyFinding> findings;
    bool bodyFits = true; // positions 1-17 hold nothing out of place
    for (std::size_t pos = 1; pos <= kKeyLength; ++pos) {
        if (pos == 1 && SpellsInconvenientWord(key)) {
            findings.push_back({.problem = KeyProblem::InconvenientWord, .position = 1});
        } else if (pos == 5 && HasImpossibleDate(key)) {
            findings.push_back({.problem = KeyProblem::Date, .position = 5});
        } else if (pos == 12 && HasUnknownState(key)) {
            findings.push_back({.problem = KeyProblem::UnknownState, .position = 12});
        }
        const char32_t c = key.At(pos);
        if (!Fits(kSlots[pos - 1], c)) {
            findings.push_back({.problem = KeyProblem::Character, .position = pos, .found = c});
            if (pos < kCheckDigitPosition) {
                bodyFits = false;
            }
        } else if (pos == kCheckDigitPosition && bodyFits) {
            const int due = detail::CheckDigit(std::u32string_view(key.chars.data(), 17));
            if (static_cast<int>(c - U'0') != due) {
                findings.push_back(
                    {.problem = KeyProblem::CheckDigit, .position = pos, .due = due});
            }
        }
    }
    return findings;
}

} // namespace

std::vector<KeyFinding> CheckKey(std::string_view text)
{
    return Check(detail::TakeApart(text));
}

std::vector<KeyFinding> CheckKey(std::string_view text, std::chrono::year_month_day today)
{
    const GivenKey key = detail::TakeApart(text);
    std::vector<KeyFinding> findings = Check(key);
    if (!key.utf8 || key.length != kKeyLength) {
        return findings;
    }
    const int century = detail::CenturyOf(key.At(17));
    const std::chrono::year_month_day birth = detail::DateOf(key, century);
    if (century != 0 && birth.ok() && std::chrono::sys_days{birth} > std::chrono::sys_days{today}) {
        const auto after = std::find_if(findings.begin(), findings.end(),
                                        [](const KeyFinding& f) { return f.position > 5; });
        findings.insert(after, {.problem = KeyProblem::FutureBirth, .position = 5});
    }
    return findings;
}

std::string Describe(const KeyFinding& finding, bool withData)
{
    switch (finding.problem) {
    case KeyProblem::NotUtf8:
        return "el texto no es UTF-8 válido";
    case KeyProblem::Length:
        if (finding.length == 0) {
            return "la clave está vacía; debe tener 18 caracteres";
        }
        return "la clave tiene " + std::to_string(finding.length) +
               (finding.length == 1 ? " carácter" : " caracteres") + " y debe tener 18";
    case KeyProblem::Character:
        return DescribeCharacter(finding.position, finding.found, withData);
    case KeyProblem::UnknownState:
        return "las posiciones 12 y 13 no son el código de ninguna entidad de nacimiento "
               "(NE para nacidos en el extranjero)";
    case KeyProblem::Date:
        return "las posiciones 5 a 10 no son una fecha que exista (aammdd) en el siglo que indica "
               "la posición 17: 1900-1999 si es un dígito, 2000-2099 si es una letra";
    case KeyProblem::CheckDigit:
        return "el dígito verificador (posición 18) debería ser " + std::to_string(finding.due);
    case KeyProblem::FutureBirth:
        return "las posiciones 5 a 10 dan una fecha de nacimiento posterior a hoy";
    case KeyProblem::InconvenientWord:
        return "las posiciones 1 a 4 forman una palabra inconveniente, que el registro no asigna: "
               "en su lugar pone X como segunda letra";
    }
    return {};
}

} // namespace curp
