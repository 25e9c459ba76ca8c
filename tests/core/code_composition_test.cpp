// The body of the key: initial block and its word filter, internal
// consonants, and the date, sex and state positions.
#include "key_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace curp::test {
namespace {

constexpr auto kApril23of1975 = 1975y / std::chrono::April / 23;

// clang-format off
const KeyRow kCompositionRows[] = {
    // Initial block, by the length of the paternal surname.
    {"TwoLetterSurname",          U"LI",       U"WONG",  U"ANA",       U"LWAN800101HDFXNN06"},
    {"OneLetterSurname",          U"O",        U"WONG",  U"ANA",       U"OWAN800101HDFXNN04"},
    {"ShortSurnameOneLetterName", U"LI",       U"WONG",  U"A",         U"LWA900615MNEXNX0",
        1990y / std::chrono::June / 15, U"M", U"NE"},
    {"NoInnerVowelGivesX",        U"PRZ",      U"LOPEZ", U"ANA",       U"PXLA800101HDFRPN06"},
    // Was MEOL800101HDFÉRS08: "É" is read as "E", a vowel, so the consonant is "N".
    {"AccentedVowelReadAsVowel",  U"MÉNDEZ",   U"ORTIZ", U"LUIS",      U"MEOL800101HDFNRS08"},
    {"EnyeInBlockBecomesX",       U"MUÑOZ",    U"",      U"JOSE LUIS", U"MUXL800101HDFXXS06"},
    {"InconvenientWordFiltered",  U"PE¥A",     U"NAVA",  U"ELSA",      U"PXNE660720MMCXVL04",
        1966y / std::chrono::July / 20, U"M", U"MC"},
    {"GivenNameEmptiedLeavesThreeLetters", U"PEREZ", U"LOPEZ", U"'",   U"PEL800101HDFRPX0"},
    // Was PEL😀800101HDFRPN01: positions 1-4 hold letters A-Z only.
    {"EmojiIsOneCharacterMadeX",  U"PEREZ",    U"LOPEZ", U"😀ANA",     U"PELX800101HDFRPN06"},
    // Internal consonants: the first non-vowel from the second character.
    // Was LALA800101HDFXPN04: LA is a particle the registry omits, so the surname is O.
    {"ConsonantSpaceGivesX",      U"LA O",     U"LOPEZ", U"ANA",       U"OLAN800101HDFXPN06"},
    {"ConsonantEnyeGivesX",       U"PEÑA",     U"LOPEZ", U"ANA",       U"PELA800101HDFXPN06"},
    {"ConsonantAllVowelsGivesX",  U"OIA",      U"LOPEZ", U"ANA",       U"OILA800101HDFXPN06"},
    // Were AXLA800101HDF1PN09 and AELA800101HDF-PN09: a digit or a hyphen
    // still stops the search, but positions 14-16 hold letters A-Z only.
    {"ConsonantDigitGivesX",      U"A1B",      U"LOPEZ", U"ANA",       U"AXLA800101HDFXPN04"},
    {"ConsonantHyphenGivesX",     U"AE-LUNA",  U"LOPEZ", U"ANA",       U"AELA800101HDFXPN04"},
    {"ConsonantOfTwoLettersIsX",  U"PEREZ",    U"LOPEZ", U"AL",        U"PELA800101HDFRPX03"},
    // Date, sex and state.
    {"TypicalPerson",   U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423HDFMZN00", kApril23of1975, U"H", U"DF"},
    {"Female",          U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423MDFMZN00", kApril23of1975, U"M", U"DF"},
    {"BornAbroad",      U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423HNEMZN06", kApril23of1975, U"H", U"NE"},
    {"NoStateNoDigit",  U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423HMZN0",    kApril23of1975, U"H", U""},
    // Were GODJ050101HDFMZN09 and GODJ000229HDFMZN01: from 2000 position 17 is "A".
    {"Born2005",        U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ050101HDFMZNA9", 2005y / std::chrono::January / 1},
    {"LeapDay",         U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ000229HDFMZNA1", 2000y / std::chrono::February / 29},
    {"LastDayOf1999",   U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ991231HDFMZN08", 1999y / std::chrono::December / 31},
    {"SexAndStateCopiedAsGiven", U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423xÑÑMZN03", kApril23of1975, U"x", U"ÑÑ"},
    // A longer state code pushes the body past 17: the digit covers the first 17.
    {"LongStateCode",   U"GOMEZ", U"DIAZ", U"JUAN", U"GODJ750423HDFXMZN01", kApril23of1975, U"H", U"DFX"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(CodeComposition, KeyTable, ::testing::ValuesIn(kCompositionRows),
                         RowName{});

// Each of the 45 words, spelled by a block, gets "X" as its second letter.
TEST(InconvenientWords, EachIsFiltered)
{
    std::istringstream words(
        "BUEI BUEY CACA CACO CAGA CAGO CAKA CAKO COGE COJA COJE COJI COJO CULO FETO "
        "GUEY JOTO KACA KACO KAGA KAGO KOGE KOJO KAKA KULO LOCA LOCO LOKA LOKO MAME "
        "MAMO MEAR MEAS MEON MION MOCO MULA PEDA PEDO PENE PUTA PUTO QULO RATA RUIN");
    int count = 0;
    for (std::string w; words >> w; ++count) {
        // Surname = first two letters and "RR" (so the vowel search stops at
        // letter 2); maternal surname and name start with letters 3 and 4.
        const std::u32string word(w.begin(), w.end());
        const std::u32string key = Calc_Clave(word.substr(0, 2) + U"RR", word.substr(2, 1) + U"OS",
                                              word.substr(3, 1) + U"OS", kBorn1980, U"H", U"DF");
        std::u32string expected = word;
        expected[1] = U'X';
        EXPECT_EQ(key.substr(0, 4), expected) << w;
    }
    EXPECT_EQ(count, 45);
}

TEST(InconvenientWords, OnlyExactMatchesAreFiltered)
{
    // "PENA" is not on the list; "PEÑE" is compared with its "Ñ" and only then
    // has it turned into "X".
    EXPECT_EQ(Calc_Clave(U"PERA", U"NAVA", U"ANA", kBorn1980, U"H", U"DF").substr(0, 4), U"PENA");
    EXPECT_EQ(Calc_Clave(U"PERA", U"ÑAVA", U"ENA", kBorn1980, U"H", U"DF").substr(0, 4), U"PEXE");
}

// The year is written modulo 100, two digits, for every representable year.
TEST(BirthDate, YearModulo100)
{
    const struct {
        int year;
        std::u32string_view yy;
    } rows[] = {
        {1601, U"01"}, {1900, U"00"}, {1975, U"75"}, {2005, U"05"},   {9999, U"99"},  {123, U"23"},
        {0, U"00"},    {-1, U"99"},   {-101, U"99"}, {-32767, U"33"}, {32767, U"67"},
    };
    for (const auto& row : rows) {
        const auto date = std::chrono::year{row.year} / std::chrono::March / 9;
        const std::u32string key = Calc_Clave(U"GOMEZ", U"DIAZ", U"JUAN", date, U"H", U"DF");
        ASSERT_EQ(key.size(), 18u) << row.year;
        EXPECT_EQ(key.substr(4, 6), std::u32string(row.yy) + U"0309") << row.year;
    }
}

} // namespace

std::span<const KeyRow> CompositionRows()
{
    return kCompositionRows;
}

} // namespace curp::test
