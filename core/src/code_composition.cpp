#include "key_rules.h"
#include "text.h"

#include <algorithm>
#include <array>

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

// The first vowel from the second character on, or "X".
char32_t FirstInnerVowel(std::u32string_view text)
{
    const auto inner = From(text, 2);
    const auto it = std::find_if(inner.begin(), inner.end(), IsVowel);
    return it != inner.end() ? *it : U'X';
}

void AppendTwoDigits(std::u32string& body, unsigned value)
{
    body.push_back(static_cast<char32_t>(U'0' + value / 10));
    body.push_back(static_cast<char32_t>(U'0' + value % 10));
}

} // namespace

std::u32string InitialBlock(const Names& names)
{
    const std::u32string_view Ap = names.Ap;
    std::u32string block;
    if (Ap.empty()) {
        return block; // both surnames were emptied by preparation
    }
    block += CharAt(Ap, 1);
    if (Ap.size() <= 2) {
        block += CharAt(names.Am, 1);
        block += CharAt(names.Nm, 1);
        block += CharAt(names.Nm, 2);
    } else {
        block += FirstInnerVowel(Ap);
        block += CharAt(names.Am, 1);
        block += CharAt(names.Nm, 1);
    }
    return block;
}

bool IsInconvenientWord(std::u32string_view block) noexcept
{
    return block.size() == 4 && std::find(kInconvenientWords.begin(), kInconvenientWords.end(),
                                          block) != kInconvenientWords.end();
}

void FilterInconvenientWord(std::u32string& block)
{
    if (IsInconvenientWord(block)) {
        block[1] = U'X';
    }
}

void ReplaceEnyeInBlock(std::u32string& block)
{
    std::replace(block.begin(), block.end(), kEnye, U'X');
}

void AppendBirthDate(std::u32string& body, std::chrono::year_month_day FB)
{
    const int year = static_cast<int>(FB.year());
    const auto yy = static_cast<unsigned>(((year % 100) + 100) % 100); // also for years before 1
    AppendTwoDigits(body, yy);
    AppendTwoDigits(body, static_cast<unsigned>(FB.month()));
    AppendTwoDigits(body, static_cast<unsigned>(FB.day()));
}

char32_t InternalConsonant(std::u32string_view text) noexcept
{
    if (text.size() < 3) {
        return U'X';
    }
    const auto inner = From(text, 2);
    const auto it = std::find_if_not(inner.begin(), inner.end(), IsVowel);
    if (it == inner.end() || *it == U' ' || *it == kEnye) {
        return U'X';
    }
    return *it;
}

std::u32string ComposeBody(const Names& names, std::chrono::year_month_day FB,
                           std::u32string_view CveSexo, std::u32string_view CveEnt)
{
    std::u32string body = InitialBlock(names);
    FilterInconvenientWord(body);
    ReplaceEnyeInBlock(body);
    body.reserve(body.size() + 6 + CveSexo.size() + CveEnt.size() + 4 + 1);
    AppendBirthDate(body, FB);
    body += CveSexo;
    body += CveEnt;
    body += InternalConsonant(names.Ap);
    body += InternalConsonant(names.Am);
    body += InternalConsonant(names.Nm);
    body += U'0'; // the differentiator
    return body;
}

} // namespace curp::detail
