#include "key_rules.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace curp::detail {
namespace {

// Each particle ends with one space; their order matters, since "DE LOS "
// must go before "DE " can take its first word.
constexpr std::array<std::u32string_view, 23> kParticles = {
    U"DE LOS ", U"DE LAS ", U"DE LA ", U"DE EL ", U"DEL ", U"DE ",  U"Y ",   U"MC ",
    U"VAN ",    U"DA ",     U"DAS ",   U"DER ",   U"DI ",  U"DIE ", U"DD ",  U"EL ",
    U"LA ",     U"LOS ",    U"LAS ",   U"LE ",    U"LES ", U"MAC ", U"VON ",
};

// A common first name and the ways of writing it that count as it, each with
// the space that ends it.
struct CommonName {
    std::u32string_view name;
    std::array<std::u32string_view, 3> forms;
};

// JOSE is looked for first, then MARIA.
constexpr std::array<CommonName, 2> kCommonNames = {{
    {U"JOSE", {U"JOSE ", U"J. ", U"J "}},
    {U"MARIA", {U"MARIA ", U"MA. ", U"MA "}},
}};

// Drops `prefix` from the front of `text` when something follows it.
bool DropPrefix(std::u32string& text, std::u32string_view prefix)
{
    if (text.size() > prefix.size() && std::u32string_view(text).starts_with(prefix)) {
        text.erase(0, prefix.size());
        Trim(text);
        return true;
    }
    return false;
}

// The first two characters of every word of a text, so that a pass whose
// particle begins no word is skipped without searching. Removing particles
// takes words away and never makes new ones, so what is found before the
// first pass holds for every later one.
class WordStarts
{
public:
    explicit WordStarts(std::u32string_view text)
    {
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (i == 0 || text[i - 1] == U' ') {
                seen_.set(Pair(text[i], text[i + 1]));
            }
        }
    }

    bool MayBegin(std::u32string_view particle) const
    {
        return seen_.test(Pair(particle[0], particle[1]));
    }

private:
    // A-Z, the space, and any other character, which no particle holds.
    static constexpr std::size_t kKinds = 28;

    static std::size_t Kind(char32_t c) noexcept
    {
        return c >= U'A' && c <= U'Z' ? c - U'A' : c == U' ' ? 26 : 27;
    }

    static std::size_t Pair(char32_t first, char32_t second) noexcept
    {
        return Kind(first) * kKinds + Kind(second);
    }

    std::bitset<kKinds * kKinds> seen_;
};

// The particle passes; calls removed(particle) for each particle that matched.
template <class Removed>
void RemoveParticlesNoting(std::u32string& text, Removed&& removed)
{
    if (text.find(U' ') == std::u32string::npos) {
        return; // every particle ends with a space: none can occur
    }
    const WordStarts starts(text);
    bool trimmed = false;
    for (const std::u32string_view particle : kParticles) {
        const bool replaced = starts.MayBegin(particle) && ReplaceWords(text, particle, U" ") != 0;
        if (replaced) {
            removed(particle);
        }
        // The text is trimmed after every pass, whether or not anything
        // matched; once it is, only a pass that replaced something can leave
        // a space at either end, so the other trims are left out.
        if (replaced || !trimmed) {
            Trim(text);
            trimmed = true;
        }
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
    RemoveParticlesNoting(text, [](std::u32string_view /*particle*/) {});
}

std::vector<std::u32string_view> ParticlesIn(std::u32string text)
{
    std::vector<std::u32string_view> found;
    RemoveParticlesNoting(text, [&found](std::u32string_view particle) {
        found.push_back(particle.substr(0, particle.size() - 1));
    });
    return found;
}

void DropCommonFirstName(std::u32string& Nm)
{
    for (const CommonName& common : kCommonNames) {
        if (Nm.find(U' ') == std::u32string::npos) {
            return; // a single word, the common case: every form ends with a space
        }
        for (const std::u32string_view form : common.forms) {
            if (DropPrefix(Nm, form)) {
                break; // the forms exclude one another: one drop per name
            }
        }
    }
}

std::u32string_view CommonFirstName(std::u32string_view word) noexcept
{
    for (const CommonName& common : kCommonNames) {
        for (const std::u32string_view form : common.forms) {
            if (form.substr(0, form.size() - 1) == word) {
                return common.name;
            }
        }
    }
    return {};
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
        if (!letters.empty() && letters.size() <= 4 && allLetters) {
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
