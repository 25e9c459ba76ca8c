// The check digit at position 18: weights 18 down to 2 over the dictionary
// "0123456789ABCDEFGHIJKLMNÑOPQRSTUVWXYZ", -1 for any other character.
#include "key_test_support.h"

#include <gtest/gtest.h>

namespace curp::test {
namespace {

using std::chrono::April;
using std::chrono::January;
using std::chrono::March;

// clang-format off
const KeyRow kCheckDigitRows[] = {
    {"SumOf2100GivesZero",  U"GOMEZ",  U"DIAZ",  U"JUAN",            U"GODJ750423HDFMZN00", 1975y / April / 23, U"H", U"DF"},
    {"DigitTwo",            U"PEREZ",  U"LOPEZ", U"MARIA GUADALUPE", U"PELG800101MJCRPD02", 1980y / January / 1, U"M", U"JC"},
    {"EnyeBetweenNAndO",    U"GOMEZ",  U"DIAZ",  U"JUAN",            U"GODJ750423HÑÑMZN09", 1975y / April / 23, U"H", U"ÑÑ"},
    // Was MEOL850309HPLÉRS02: the name is read without its accent, so the key holds letters only.
    {"AccentReadAsItsLetter", U"MÉNDEZ", U"ORTIZ", U"LUIS",          U"MEOL850309HPLNRS02", 1985y / March / 9, U"H", U"PL"},
    // Eleven characters outside the dictionary make the sum -49; the digit
    // must come from floor modulo (9), not from the truncated remainder.
    {"NegativeSumFloorModulo", U"'",   U"",      U"JUAN", U"000101ÉÉÉÉÉÉÉÉÉÉÉXXN09",
        0y / January / 1, U"ÉÉÉÉÉÉÉÉÉÉÉ", U""},
    // Bodies of 16 characters or fewer carry no check digit.
    {"SixteenCharactersNoDigit", U"LI",    U"WONG",  U"A",    U"LWA900615MNEXNX0",   1990y / std::chrono::June / 15, U"M", U"NE"},
    {"SeventeenCharactersDigit", U"LI",    U"WONG",  U"A",    U"LWA900615MNEXXNX05", 1990y / std::chrono::June / 15, U"M", U"NEX"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(CheckDigit, KeyTable, ::testing::ValuesIn(kCheckDigitRows), RowName{});

} // namespace
} // namespace curp::test
