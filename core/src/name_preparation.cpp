#include "key_rules.h"
#include "text.h"

#include <algorithm>
#include <array>

namespace curp::detail {
namespace {

// Each particle ends with one space; their order matters, since "DE LOS "
// must go before "DE " can take its first word.
constexpr std::array<std::u32string_view, 9> kParticles = {
    U"DE LOS ", U"DE LAS ", U"DE LA ", U"DE EL ", U"DEL ", U"DE ", U"Y ", U"MC ", U"VAN ",
};

// Drops `prefix` from the front of `text` when something follows it.
void DropPrefix(std::u32string& text, std::u32string_view prefix)
{
    if (text.size() > prefix.size() && std::u32string_view(text).starts_with(prefix)) {
        text.erase(0, prefix.size());
        Trim(text);
    }
}

} // namespace

void RepairEnye(std::u32string& text)
{
    for (char32_t& c : text) {
        if (c == U'\u00A5') { // YEN SIGN
            c = U'\u00D1';    // LATIN CAPITAL LETTER N WITH TILDE
        }
    }
}

void RemoveParticles(std::u32string& text)
{
    if (text.find(U' ') == std::u32string::npos) {
        return; // every particle ends with a space: none can occur
    }
    for (const std::u32string_view particle : kParticles) {
        Replace(text, particle, U" ");
        Trim(text); // after every pass, whether or not anything matched
    }
}

void DropCommonFirstName(std::u32string& Nm)
{
    DropPrefix(Nm, U"JOSE ");
    DropPrefix(Nm, U"MARIA ");
}

void RemoveApostrophes(std::u32string& text)
{
    Replace(text, U"'", U"");
    Trim(text);
}

std::u32string_view AbbreviatedWord(std::u32string_view Nm) noexcept
{
    // Only a dot ends a short form; a name without one, the common case,
    // is looked at no further.
    for (std::size_t dot = Nm.find(U'.'); dot != std::u32string_view::npos;
         dot = Nm.find(U'.', dot + 1)) {
        const std::size_t space = Nm.rfind(U' ', dot);
        const std::size_t start = space == std::u32string_view::npos ? 0 : space + 1;
        const std::u32string_view letters = Nm.substr(start, dot - start);
        const bool allLetters = std::all_of(letters.begin(), letters.end(), [](char32_t c) {
            return (c >= U'A' && c <= U'Z') || c == U'\u00D1';
        });
        if ((letters.size() == 1 || letters.size() == 2) && allLetters) {
            return Nm.substr(start, letters.size() + 1);
        }
    }
    return {};
}

void FillMissingSurnames(Names& names)
{
    if (names.Ap.empty()) {
        names.Ap = std::move(names.Am);
        names.Am = U"X";
    }
    if (names.Am.empty()) {
        names.Am = U"X";
    }
}

} // namespace curp::detail
