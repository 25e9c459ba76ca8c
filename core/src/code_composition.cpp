#include "key_rules.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace curp::detail {
namespace {

constexpr char32_t kEnye = U'\u00D1'; // "Ñ"

// Four-letter words the initial block must not spell.
constexpr std::array<std::u32string_view, 45> kInconvenientWords = {
    U"BUEI", U"BUEY", U"CACA", U"CACO", U"CAGA", U"CAGO", U"CAKA", U"CAKO", U"COGE",
    U"COJA", U"COJE", U"COJI", U"COJO", U"CULO", U"FETO", U"GUEY", U"JOTO", U"KACA",
    U"KACO", U"KAGA", U"KAGO", U"KOGE", U"KOJO", U"KAKA", U"KULO", U"LOCA", U"LOCO",
    U"LOKA", U"LOKO", U"MAME", U"MAMO", U"MEAR", U"MEAS", U"MEON", U"MION", U"MOCO",
    U"MULA", U"PEDA", U"PEDO", U"PENE", U"PUTA", U"PUTO", U"QULO", U"RATA", U"RUIN",
};

// A block of four ASCII characters as one number, one byte per character.
constexpr std::uint32_t PackBlock(std::u32string_view block) noexcept
{
    return (block[0] << 24U) | (block[1] << 16U) | (block[2] << 8U) | block[3];
}

// The words packed so and sorted, searched as numbers instead of texts: the
// block of every key is looked up among them.
constexpr std::array<std::uint32_t, kInconvenientWords.size()> PackedWords()
{
    std::array<std::uint32_t, kInconvenientWords.size()> packed{};
    for (std::size_t i = 0; i < packed.size(); ++i) {
        packed.at(i) = PackBlock(kInconvenientWords.at(i));
    }
    std::sort(packed.begin(), packed.end());
    return packed;
}
constexpr std::array<std::uint32_t, kInconvenientWords.size()> kPackedWords = PackedWords();

// The first vowel from the second character on; "X" when there is none, and
// when a character that is no letter A-Z or "Ñ" (a space, a sign, a digit)
// comes first: the registry writes "D/AMICO" and "O RELLING" as "DX", "OX".
Letter FirstInnerVowel(std::u32string_view text)
{
    for (std::size_t at = 2; at <= text.size(); ++at) {
        const char32_t c = text[at - 1];
        if (IsVowel(c)) {
            return {c, at, PieceRule::Taken};
        }
        if (c == U' ') {
            return {U'X', at, PieceRule::SpaceIsX};
        }
        if ((c < U'A' || c > U'Z') && c != kEnye) {
            return {U'X', at, PieceRule::NonLetterIsX};
        }
    }
    return {U'X', 0, PieceRule::NoInnerVowel};
}

// The rule of positions 1-4, chosen by the length of the paternal surname:
// calls add(kind, from, letter) for each letter, in order. A position beyond
// the end of its text gives no letter; an empty paternal surname (both
// surnames emptied by preparation) gives none at all.
template <class Add>
void PickInitialLetters(const Names& names, Add&& add)
{
    const auto take = [&add](PieceKind kind, NameText from, std::u32string_view text,
                             std::size_t pos) {
        if (const auto c = CharAt(text, pos); !c.empty()) {
            add(kind, from, Letter{c.front(), pos, PieceRule::Taken});
        }
    };
    const std::u32string_view Ap = names.Ap;
    if (Ap.empty()) {
        return;
    }
    take(PieceKind::PaternalInitial, NameText::Ap, Ap, 1);
    if (Ap.size() <= 2) {
        take(PieceKind::MaternalInitial, NameText::Am, names.Am, 1);
        take(PieceKind::GivenInitial, NameText::Nm, names.Nm, 1);
        take(PieceKind::GivenSecondLetter, NameText::Nm, names.Nm, 2);
    } else {
        add(PieceKind::PaternalVowel, NameText::Ap, FirstInnerVowel(Ap));
        take(PieceKind::MaternalInitial, NameText::Am, names.Am, 1);
        take(PieceKind::GivenInitial, NameText::Nm, names.Nm, 1);
    }
}

// The rule of the inner consonant, shared by InnerConsonant and by
// InternalConsonant, which the compiler reduces to the character alone.
inline Letter PickInnerConsonant(std::u32string_view text) noexcept
{
    if (text.size() < 3) {
        return {U'X', 0, PieceRule::TooShort};
    }
    const auto inner = From(text, 2);
    const auto it = std::find_if_not(inner.begin(), inner.end(), IsVowel);
    if (it == inner.end()) {
        return {U'X', 0, PieceRule::NoInnerConsonant};
    }
    const std::size_t at = static_cast<std::size_t>(it - inner.begin()) + 2;
    if (*it == U' ') {
        return {U'X', at, PieceRule::SpaceIsX};
    }
    if (*it == kEnye) {
        return {U'X', at, PieceRule::EnyeIsX};
    }
    if (*it < U'A' || *it > U'Z') {
        return {U'X', at, PieceRule::NonLetterIsX};
    }
    return {*it, at, PieceRule::Taken};
}

void AppendTwoDigits(std::u32string& body, unsigned value)
{
    body.push_back(static_cast<char32_t>(U'0' + value / 10));
    body.push_back(static_cast<char32_t>(U'0' + value % 10));
}

} // namespace

BlockLetters InitialLetters(const Names& names)
{
    BlockLetters block;
    PickInitialLetters(names, [&block](PieceKind kind, NameText from, Letter letter) {
        block.letters[block.size++] = {kind, from, letter};
    });
    return block;
}

std::u32string InitialBlock(const Names& names)
{
    std::u32string block;
    // The body of the key grows on this text: room for all 18 characters
    // now saves a second allocation when the date is appended.
    block.reserve(18);
    PickInitialLetters(names, [&block](PieceKind /*kind*/, NameText /*from*/, Letter letter) {
        block += letter.letter;
    });
    return block;
}

bool IsInconvenientWord(std::u32string_view block) noexcept
{
    // Every word is ASCII, so a block with any other character is none of them.
    return block.size() == 4 &&
           std::all_of(block.begin(), block.end(), [](char32_t c) { return c < 0x80; }) &&
           std::binary_search(kPackedWords.begin(), kPackedWords.end(), PackBlock(block));
}

void FilterInconvenientWord(std::u32string& block)
{
    if (IsInconvenientWord(block)) {
        block[1] = U'X';
    }
}

void KeepLettersInBlock(std::u32string& block)
{
    std::replace_if(
        block.begin(), block.end(), [](char32_t c) { return c < U'A' || c > U'Z'; }, U'X');
}

void AppendBirthDate(std::u32string& body, std::chrono::year_month_day FB)
{
    const int year = static_cast<int>(FB.year());
    const auto yy = static_cast<unsigned>(((year % 100) + 100) % 100); // also for years before 1
    AppendTwoDigits(body, yy);
    AppendTwoDigits(body, static_cast<unsigned>(FB.month()));
    AppendTwoDigits(body, static_cast<unsigned>(FB.day()));
}

Letter InnerConsonant(std::u32string_view text) noexcept
{
    return PickInnerConsonant(text);
}

char32_t InternalConsonant(std::u32string_view text) noexcept
{
    return PickInnerConsonant(text).letter;
}

} // namespace curp::detail
