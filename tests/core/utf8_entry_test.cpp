// The UTF-8 entry: the same key as the UTF-32 entry for well-formed text,
// the empty result for anything that is not well-formed UTF-8.
#include "key_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace curp::test {
namespace {

using namespace std::string_view_literals;

TEST(Utf8Entry, MultiByteCharactersAreOneCharacterEach)
{
    const struct {
        std::string_view Ap, Am, Nm, key;
    } rows[] = {
        {"GOMEZ", "DIAZ", "JUAN", "GODJ800101HDFMZN02"},
        {"MUÑOZ", "", "JOSE LUIS", "MUXL800101HDFXXS06"}, // 2-byte Ñ
        {"PE¥A", "NAVA", "ELSA", "PXNE800101HDFXVL06"},   // 2-byte ¥ repaired
        // These three held É, 😀 and € in the key: accents are read as their
        // letter, and letter positions hold letters A-Z only.
        {"MÉNDEZ", "ORTIZ", "LUIS", "MEOL800101HDFNRS08"}, // É read as E
        {"PEREZ", "LOPEZ", "😀ANA", "PELX800101HDFRPN06"},  // 4-byte emoji
        {"PEREZ", "LOPEZ", "€A", "PELX800101HDFRPX03"},    // 3-byte euro sign
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Calc_Clave(row.Ap, row.Am, row.Nm, kBorn1980, "H"sv, "DF"sv), row.key) << row.Ap;
    }
}

TEST(Utf8Entry, EmbeddedNulIsACharacter)
{
    EXPECT_EQ(Calc_Clave("GOMEZ"sv, "DIAZ"sv, "\0JUAN"sv, kBorn1980, "H"sv, "DF"sv).size(), 18u);
}

// Ill-formed sequences, each placed in every one of the five texts.
TEST(Utf8Entry, IllFormedTextInAnyArgumentGivesEmptyKey)
{
    const struct {
        const char* what;
        std::string_view bytes;
    } bad[] = {
        {"overlong slash", "\xC0\xAF"sv},      {"overlong C1", "\xC1\xBF"sv},
        {"overlong 3-byte", "\xE0\x80\xAF"sv}, {"overlong 4-byte", "\xF0\x80\x80\xAF"sv},
        {"overlong NUL", "\xC0\x80"sv},        {"high surrogate", "\xED\xA0\x80"sv},
        {"low surrogate", "\xED\xBF\xBF"sv},   {"beyond U+10FFFF", "\xF4\x90\x80\x80"sv},
        {"lead F5", "\xF5\x80\x80\x80"sv},     {"byte FF", "\xFF"sv},
        {"stray continuation", "\x80"sv},      {"truncated 2-byte", "\xC3"sv},
        {"truncated 3-byte", "\xE2\x82"sv},    {"truncated 4-byte", "\xF0\x9F\x98"sv},
        {"lead then ASCII", "\xC3\x41"sv}, // 0x41 is "A"
    };
    for (const auto& seq : bad) {
        for (std::size_t arg = 0; arg < 5; ++arg) {
            std::array<std::string, 5> texts = {"GOMEZ", "DIAZ", "JUAN", "H", "DF"};
            texts[arg].append(seq.bytes);
            EXPECT_EQ(Calc_Clave(texts[0], texts[1], texts[2], kBorn1980, texts[3], texts[4]), "")
                << seq.what << " in argument " << arg;
        }
    }
}

TEST(Utf8Entry, LargestScalarValuesAccepted)
{
    for (const std::string_view edge : {"\xED\x9F\xBF"sv, "\xEE\x80\x80"sv, "\xF4\x8F\xBF\xBF"sv}) {
        const std::string name = "JUAN" + std::string(edge);
        EXPECT_EQ(Calc_Clave("GOMEZ"sv, "DIAZ"sv, name, kBorn1980, "H"sv, "DF"sv),
                  "GODJ800101HDFMZN02");
    }
}

} // namespace
} // namespace curp::test
