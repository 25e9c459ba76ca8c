// Checking a key someone gives: the text as people paste it, every problem
// in order of position, and the sentence that tells a person about each.
#include "key_test_support.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace curp {
namespace {

using P = KeyProblem;

KeyFinding At(P problem, std::size_t position)
{
    return {.problem = problem, .position = position};
}

KeyFinding CharacterAt(std::size_t position, char32_t found)
{
    return {.problem = P::Character, .position = position, .found = found};
}

KeyFinding LengthOf(std::size_t length)
{
    return {.problem = P::Length, .length = length};
}

KeyFinding Due(int digit)
{
    return {.problem = P::CheckDigit, .position = 18, .due = digit};
}

struct CheckRow {
    const char* name;
    std::string_view text;
    std::vector<KeyFinding> findings;
};

void PrintTo(const CheckRow& row, std::ostream* os)
{
    *os << row.name;
}

class CheckKeyRows : public ::testing::TestWithParam<CheckRow>
{};

TEST_P(CheckKeyRows, FindsEveryProblemInOrder)
{
    const CheckRow& row = GetParam();
    EXPECT_EQ(CheckKey(row.text), row.findings);
}

// clang-format off
const CheckRow kCheckRows[] = {
    // What people paste.
    {"WellFormed",                 "GODJ750423HDFMZN00",            {}},
    {"LowerCase",                  "godj750423hdfmzn00",            {}},
    {"WindowMask",                 "GODJ-750423-H-DF-MZN-0-0",      {}},
    {"BlanksAroundAndLineBreak",   "  GODJ750423HDFMZN00\t\r\n",    {}},
    {"SpreadsheetNoBreakSpace",    "GODJ750423HDFMZN00\u00A0",      {}},
    {"ByteOrderMarkAndEnDashes",   "\uFEFFGODJ\u2013750423\u2013HDF MZN 00", {}},
    {"SexX",                       "GODJ750423XDFMZN04",            {}},
    {"BornAbroad",                 "GODJ750423HNEMZN06",            {}},
    // The century comes from position 17: a digit 1900-1999, a letter 2000-2099.
    {"LetterCentury",              "GODJ050101MDFMZNA9",            {}},
    {"LeapDay2000",                "GODJ000229HDFMZNA1",            {}},
    {"NoLeapDay1900",              "GODJ000229HDFMZN01",            {At(P::Date, 5)}},
    {"LeapDay1996",                "GODJ960229HDFMZN07",            {}},
    {"NoLeapDay1997",              "GODJ970229HDFMZN04",            {At(P::Date, 5)}},
    {"NoLeapDay2001",              "GODJ010229HDFMZNA8",            {At(P::Date, 5)}},
    {"LeapDay00NoCenturyNotDate",  "GODJ000229HDFMZN*1",            {CharacterAt(17, U'*')}},
    {"Month13",                    "GODJ751323HDFMZN09",            {At(P::Date, 5)}},
    {"Day00",                      "GODJ750400HDFMZN07",            {At(P::Date, 5)}},
    {"April31",                    "GODJ750431HDFMZN08",            {At(P::Date, 5)}},
    // Length, counted after the dashes and blanks are gone.
    {"Empty",                      "",                              {LengthOf(0)}},
    {"OnlyDashes",                 " - - ",                         {LengthOf(0)}},
    {"SeventeenCharacters",        "GODJ750423HDFMZN0",             {LengthOf(17)}},
    {"NineteenCharacters",         "GODJ750423HDFMZN000",           {LengthOf(19)}},
    {"MultiByteCountsOnce",        "GODJ750423HDFMZNÑ",             {LengthOf(17)}},
    {"NotUtf8",                    "GODJ750423HDFMZN0\xFF",         {{.problem = P::NotUtf8}}},
    // Characters out of place; the check digit is then not compared.
    {"LetterOForZero",             "GODJ75O423HDFMZN00",            {CharacterAt(7, U'O')}},
    {"ZeroForLetterO",             "G0DJ750423HDFMZN00",            {CharacterAt(2, U'0')}},
    {"AccentedInitial",            "GÓDJ750423HDFMZN00",            {CharacterAt(2, U'Ó')}},
    {"EnyeAsConsonant",            "GODJ750423HDFÑZN00",            {CharacterAt(14, U'Ñ')}},
    {"LowerEnyeKeptAsTyped",       "godj750423hdfmzñ00",            {CharacterAt(16, U'ñ')}},
    {"CyrillicLookAlike",          "\u0410ODJ750423HDFMZN00",       {CharacterAt(1, U'\u0410')}},
    {"SexF",                       "GODJ750423FDFMZN00",            {CharacterAt(11, U'F')}},
    {"DigitInState",               "GODJ750423HD1MZN00",            {CharacterAt(13, U'1')}},
    {"EnyeAtPosition17",           "GODJ750423HDFMZNÑ0",            {CharacterAt(17, U'Ñ')}},
    {"LetterAsCheckDigit",         "GODJ750423HDFMZN0O",            {CharacterAt(18, U'O')}},
    {"VowelsAmongTheConsonants",   "GODJ750423HDFAZU00",            {CharacterAt(14, U'A'), CharacterAt(16, U'U')}},
    // The rest of the rules.
    {"UnknownState",               "GODJ750423HXXMZN09",            {At(P::UnknownState, 12)}},
    {"WrongCheckDigit",            "GODJ750423HDFMZN07",            {Due(0)}},
    {"InconvenientWord",           "PENE660720MMCXVL04",            {At(P::InconvenientWord, 1)}},
    {"WordAndWrongDigit",          "PENE660720MMCXVL00",            {At(P::InconvenientWord, 1), Due(4)}},
    {"EveryKindInOrder",           "GÓDJ751323FXXMZN0A",
        {CharacterAt(2, U'Ó'), At(P::Date, 5), CharacterAt(11, U'F'), At(P::UnknownState, 12),
         CharacterAt(18, U'A')}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, CheckKeyRows, ::testing::ValuesIn(kCheckRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NormalizeKey, DropsSeparatorsAndUpperCasesAscii)
{
    EXPECT_EQ(NormalizeKey(" godj-750423-h-df-mzn-0-0\n"), "GODJ750423HDFMZN00");
    EXPECT_EQ(NormalizeKey("gómez\u00A0ñ\u2011x"), "GóMEZñX"); // only ASCII changes case
    EXPECT_EQ(NormalizeKey("a\xFF b"), "a\xFF b");             // not UTF-8: as given
}

// The UTF-8 mask; tests/ui/text_test.cpp has the window's rows.
TEST(WithDashes, FillsTheMaskFromTheRight)
{
    EXPECT_EQ(WithDashes("GODJ750423HDFMZN00"), "GODJ-750423-H-DF-MZN-0-0");
    EXPECT_EQ(WithDashes("GODJ750423HMZN0"), "   G-ODJ750-4-23-HMZ-N-0");
    EXPECT_EQ(WithDashes(""), "    -      - -  -   - - ");
    EXPECT_EQ(WithDashes("GEDJ750423HDFÓÍN00"), "GEDJ-750423-H-DF-ÓÍN-0-0");
    EXPECT_EQ(WithDashes("XGODJ750423HDFMZN0\xFF"), "XGODJ-750423-H-DF-MZN-0-\xFF");
}

// A key is checked against the day it is held: a birth after that day cannot
// have been registered, though the key is well-formed.
TEST(CheckKeyOnADay, FindsABirthAfterThatDay)
{
    using namespace std::chrono;
    const std::vector<KeyFinding> none;
    EXPECT_EQ(CheckKey("GODJ300101HDFMZNA2", 2030y / January / 1), none);
    EXPECT_EQ(CheckKey("GODJ300101HDFMZNA2", 2029y / December / 31),
              std::vector{At(P::FutureBirth, 5)});
    EXPECT_EQ(CheckKey("GODJ300101HDFMZN02", 2029y / December / 31), none); // 1930
    EXPECT_EQ(CheckKey("GÓDJ300101HDFMZNA0", 2026y / May / 1),
              (std::vector{CharacterAt(2, U'Ó'), At(P::FutureBirth, 5)}));
    EXPECT_EQ(CheckKey("GODJ301301HDFMZNA8", 2026y / May / 1), std::vector{At(P::Date, 5)});
}

struct SentenceRow {
    const char* name;
    KeyFinding finding;
    std::string_view sentence;
};

void PrintTo(const SentenceRow& row, std::ostream* os)
{
    *os << row.name;
}

class DescribeRows : public ::testing::TestWithParam<SentenceRow>
{};

TEST_P(DescribeRows, OneSentence)
{
    const SentenceRow& row = GetParam();
    EXPECT_EQ(Describe(row.finding), row.sentence);
}

// clang-format off
const SentenceRow kSentenceRows[] = {
    {"NotUtf8",         {.problem = P::NotUtf8}, "el texto no es UTF-8 válido"},
    {"Empty",           LengthOf(0),  "la clave está vacía; debe tener 18 caracteres"},
    {"OneCharacter",    LengthOf(1),  "la clave tiene 1 carácter y debe tener 18"},
    {"Short",           LengthOf(17), "la clave tiene 17 caracteres y debe tener 18"},
    {"LetterOInDate",   CharacterAt(7, U'O'),
        "la posición 7 debe ser un dígito y tiene «O» (¿la letra O en lugar del dígito 0?)"},
    {"LetterLInDate",   CharacterAt(9, U'l'),
        "la posición 9 debe ser un dígito y tiene «l» (¿una letra en lugar del dígito 1?)"},
    {"ZeroInInitials",  CharacterAt(2, U'0'),
        "la posición 2 debe ser una letra de la A a la Z y tiene «0» (¿el dígito 0 en lugar de la letra O?)"},
    {"EnyeInConsonants", CharacterAt(14, U'Ñ'),
        "la posición 14 debe ser una consonante de la B a la Z y tiene «Ñ»: ninguna clave lleva Ñ, en su lugar va X"},
    {"VowelInConsonants", CharacterAt(15, U'E'),
        "la posición 15 debe ser una consonante de la B a la Z y tiene «E» (el registro nunca pone vocales en las posiciones 14 a 16)"},
    {"FutureBirth",     At(P::FutureBirth, 5), "las posiciones 5 a 10 dan una fecha de nacimiento posterior a hoy"},
    {"EnyeInStateNoHint", CharacterAt(12, U'Ñ'),
        "la posición 12 (entidad de nacimiento) debe ser una letra de la A a la Z y tiene «Ñ»"},
    {"Accent",          CharacterAt(2, U'é'),
        "la posición 2 debe ser una letra de la A a la Z y tiene «é»: las claves se escriben sin acentos"},
    {"Sex",             CharacterAt(11, U'F'), "la posición 11 (sexo) debe ser H, M o X y tiene «F»"},
    {"Position17",      CharacterAt(17, U'*'),
        "la posición 17 debe ser un dígito (nacidos hasta 1999) o una letra de la A a la Z (desde 2000) y tiene «*»"},
    {"CheckDigitLetter", CharacterAt(18, U'B'),
        "la posición 18 (dígito verificador) debe ser un dígito y tiene «B»"},
    // Invisible, control and other scripts' characters show as code points.
    {"ZeroWidthSpace",  CharacterAt(3, U'\u200B'),
        "la posición 3 debe ser una letra de la A a la Z y tiene el carácter U+200B"},
    {"Escape",          CharacterAt(5, U'\x1B'), "la posición 5 debe ser un dígito y tiene el carácter U+001B"},
    {"Cyrillic",        CharacterAt(1, U'\u0410'),
        "la posición 1 debe ser una letra de la A a la Z y tiene el carácter U+0410"},
    {"Emoji",           CharacterAt(1, U'\U0001F600'),
        "la posición 1 debe ser una letra de la A a la Z y tiene el carácter U+1F600"},
    {"PositionOutOfKey", CharacterAt(19, U'A'), "la clave no admite «A» en la posición 19"},
    {"UnknownState",    At(P::UnknownState, 12),
        "las posiciones 12 y 13 no son el código de ninguna entidad de nacimiento (NE para nacidos en el extranjero)"},
    {"Date",            At(P::Date, 5),
        "las posiciones 5 a 10 no son una fecha que exista (aammdd) en el siglo que indica la posición 17: "
        "1900-1999 si es un dígito, 2000-2099 si es una letra"},
    {"CheckDigit",      Due(0), "el dígito verificador (posición 18) debería ser 0"},
    {"InconvenientWord", At(P::InconvenientWord, 1),
        "las posiciones 1 a 4 forman una palabra inconveniente, que el registro no asigna: "
        "en su lugar pone X como segunda letra"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, DescribeRows, ::testing::ValuesIn(kSentenceRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace curp
