// When no key is computed: the guard, invalid dates and invalid text all give
// the empty result, and nothing escapes.
#include "key_test_support.h"

#include <gtest/gtest.h>

#include <array>

namespace curp::test {
namespace {

TEST(Guard, RefusesWithoutGivenNameOrSurname)
{
    const struct {
        const char* why;
        std::u32string_view Ap, Am, Nm;
    } rows[] = {
        {"empty given name", U"GOMEZ", U"DIAZ", U""},
        {"given name of spaces", U"GOMEZ", U"DIAZ", U"   "},
        {"both surnames empty", U"", U"", U"JUAN"},
        {"both surnames spaces", U"  ", U" ", U"JUAN"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Calc_Clave(row.Ap, row.Am, row.Nm, kBorn1980, U"H", U"DF"), U"") << row.why;
    }
}

TEST(Guard, OtherBlanksAndInvisiblesAreBlank)
{
    // Was a key of 18: white space and invisible characters are read before
    // the guard, so a given name of them is missing.
    EXPECT_EQ(Calc_Clave(U"GOMEZ", U"DIAZ", U"\u00A0\u200B\t", kBorn1980, U"H", U"DF"), U"");
}

TEST(InvalidDate, GivesEmptyKey)
{
    using namespace std::chrono;
    const year_month_day dates[] = {
        2023y / February / 29, 1980y / month{13} / 1,      1980y / January / day{0},
        1980y / April / 31,    year{-32768} / January / 1,
    };
    for (const auto date : dates) {
        EXPECT_EQ(Calc_Clave(U"GOMEZ", U"DIAZ", U"JUAN", date, U"H", U"DF"), U"")
            << static_cast<int>(date.year()) << '-' << static_cast<unsigned>(date.month()) << '-'
            << static_cast<unsigned>(date.day());
    }
}

// A value that is not a Unicode scalar value, in any of the six texts.
TEST(InvalidUtf32, AnyArgumentGivesEmptyKey)
{
    const char32_t bad[] = {0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF};
    for (const char32_t c : bad) {
        for (std::size_t arg = 0; arg < 5; ++arg) {
            std::array<std::u32string, 5> texts = {U"GOMEZ", U"DIAZ", U"JUAN", U"H", U"DF"};
            texts[arg] += c;
            EXPECT_EQ(Calc_Clave(texts[0], texts[1], texts[2], kBorn1980, texts[3], texts[4]), U"")
                << "value " << static_cast<unsigned long>(c) << " in argument " << arg;
        }
    }
}

TEST(InvalidUtf32, ScalarValuesAtTheEdgesAreAccepted)
{
    for (const char32_t c : {char32_t{0}, char32_t{0xD7FF}, char32_t{0xE000}, char32_t{0x10FFFF}}) {
        const std::u32string name = U"JUAN" + std::u32string(1, c);
        EXPECT_EQ(Calc_Clave(U"GOMEZ", U"DIAZ", name, kBorn1980, U"H", U"DF").size(), 18u)
            << static_cast<unsigned long>(c);
    }
}

} // namespace
} // namespace curp::test
