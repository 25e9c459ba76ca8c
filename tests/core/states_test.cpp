// The catalogue of states and the ways a person finds a state in it.
#include "curp/states.h"

#include "state_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace curp {
namespace {

TEST(States, ListOrderAndEntries)
{
    const auto states = States();
    ASSERT_EQ(states.size(), 33U);
    std::string codes;
    std::set<std::string_view> unique;
    for (const State& state : states) {
        codes.append(state.code).push_back(' ');
        unique.insert(state.code);
        EXPECT_EQ(FindStateByCode(state.code), &state) << state.code;
        // Every name is found again, as typed in lower case without accents.
        std::string lower = FoldForSearch(state.name);
        for (char& c : lower) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        EXPECT_EQ(FindState(lower), &state) << lower;
    }
    EXPECT_EQ(unique.size(), 33U);
    // Not sorted by code: CS before CH, GT before GR, QT before QR, SP before SL.
    EXPECT_EQ(codes, "AS BC BS CC CS CH CL CM DF DG GT GR HG JC MC MN MS NT NL OC PL "
                     "QT QR SP SL SR TC TS TL VZ YN ZS NE ");
    EXPECT_EQ(StateEntry(states.front()), "AS: AGUASCALIENTES");
    EXPECT_EQ(StateEntry(states[14]), "MC: MÉXICO");
    EXPECT_EQ(StateEntry(states[15]), "MN: MICHOACÁN");
    EXPECT_EQ(StateEntry(states[30]), "YN: YUCATÁN");
    EXPECT_EQ(StateEntry(states.back()), "NE: EXTRANJERO");
}

struct LookupRow {
    const char* name;
    std::string_view text;
    const char* code; // nullptr: nothing found
};

void PrintTo(const LookupRow& row, std::ostream* os)
{
    *os << row.name;
}

std::string CodeOf(const State* state)
{
    return state ? std::string(state->code) : std::string("(none)");
}

class FindStateRows : public ::testing::TestWithParam<LookupRow>
{};

TEST_P(FindStateRows, FindsWhatIsMeant)
{
    const LookupRow& row = GetParam();
    EXPECT_EQ(CodeOf(FindState(row.text)), row.code ? row.code : "(none)");
}

// clang-format off
const LookupRow kFindRows[] = {
    {"CodeUpperCase",           "DF",                       "DF"},
    {"CodeLowerCase",           "ne",                       "NE"},
    {"NameWithAccent",          "Nuevo León",               "NL"},
    {"NameWithoutAccent",       "michoacan",                "MN"},
    {"CatalogueAccentTyped",    "MÉXICO",                   "MC"},
    {"CombiningAccent",         "Yucata\u0301n",            "YN"},
    {"BlanksAroundAndBetween",  "  baja \t california  sur ", "BS"},
    {"ShorterNameIsItsOwn",     "Baja California",          "BC"},
    {"MexicoCity",              "Ciudad de México",         "DF"},
    {"MexicoCityShort",         "cdmx",                     "DF"},
    {"PrefixIsNotEnough",       "chihua",                   nullptr},
    {"UnknownCode",             "XX",                       nullptr},
    {"Empty",                   "",                         nullptr},
    {"BlanksOnly",              "   ",                      nullptr},
    {"InvalidUtf8",             "\xC3",                     nullptr},
    {"WholeEntryIsNoName",      "DF: DISTRITO FEDERAL",     nullptr},
    {"InegiNumber",             "22",                       "QT"},
    {"InegiNumberZeroDropped",  "9",                        "DF"},
    {"InegiNumberPastTheList",  "33",                       nullptr},
    {"InegiOrderIsNotTheList",  "08",                       "CH"},
    {"InegiColima",             "06",                       "CM"},
    {"OldNameWithHyphen",       "Veracruz-Llave",           "VZ"},
    {"LongName",                "QUERÉTARO DE ARTEAGA",     "QT"},
    {"MacronFoldedAsInNames",   "Ōaxaca",                   "OC"},
    {"NoBreakSpace",            "Nuevo\u00A0León",          "NL"},
    {"Country",                 "EE. UU.",                  "NE"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, FindStateRows, ::testing::ValuesIn(kFindRows),
                         [](const auto& info) { return std::string(info.param.name); });

class SearchStateRows : public ::testing::TestWithParam<LookupRow>
{};

TEST_P(SearchStateRows, PointsToFirstMatch)
{
    const LookupRow& row = GetParam();
    EXPECT_EQ(CodeOf(SearchState(row.text)), row.code ? row.code : "(none)");
}

// clang-format off
const LookupRow kSearchRows[] = {
    // Two letters that are a code win over names.
    {"ExactCode",               "ch",                   "CH"},
    {"ExactCodeDF",             "DF",                   "DF"},
    {"ExactCodeBornAbroad",     "ne",                   "NE"},
    // Otherwise the first in list order whose code or name starts so.
    {"OneLetterFirstInList",    "c",                    "CC"},
    {"NamePrefix",              "chi",                  "CS"},
    {"LongerNamePrefix",        "chih",                 "CH"},
    {"AccentIgnored",           "mex",                  "MC"},
    {"WholeNameWithoutAccent",  "michoacan",            "MN"},
    {"Sonora",                  "sonora",               "SR"},
    {"Tamaulipas",              "tamaulipas",           "TS"},
    {"Guerrero",                "guerrero",             "GR"},
    {"NuevoLeon",               "nuevo leon",           "NL"},
    {"BlanksDoNotCount",        "baja california ",     "BC"},
    {"CatalogueNamesFirst",     "e",                    "NE"},
    {"ThenOtherNames",          "ed",                   "MC"},
    {"BajaCaliforniaSur",       "baja california sur",  "BS"},
    {"BajaCalifornia",          "baja california",      "BC"},
    {"OtherName",               "ciudad",               "DF"},
    {"NothingStartsSo",         "xyz",                  nullptr},
    {"Empty",                   "",                     nullptr},
    {"InvalidUtf8",             "so\xFF",               nullptr},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, SearchStateRows, ::testing::ValuesIn(kSearchRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Every code, abbreviation and other name people write for a state, found
// as a whole and while it is typed.
TEST(States, EveryOtherName)
{
    for (const auto& [name, code] : kStateNames) {
        EXPECT_EQ(CodeOf(FindState(name)), code) << name;
        EXPECT_EQ(CodeOf(SearchState(name)), code) << name;
    }
}

TEST(States, CountryIsBornAbroad)
{
    for (const auto& [text, abroad] : {std::pair{"Guatemala", true}, std::pair{"extranjero", true},
                                       std::pair{"NE", false}, std::pair{"DF", false}}) {
        EXPECT_EQ(ReadState(text).abroad, abroad) << text;
    }
}

TEST(FoldForSearch, UpperCaseWithoutMarks)
{
    EXPECT_EQ(FoldForSearch("Michoacán"), "MICHOACAN");
    EXPECT_EQ(FoldForSearch("peña ÜÇÀÿ"), "PENA UCAY");
    EXPECT_EQ(FoldForSearch("e\u0301"), "E");
    EXPECT_EQ(FoldForSearch("ß × Ø 東"), "ß × Ø 東"); // no mark to remove: kept
    EXPECT_EQ(FoldForSearch("\xE0\x80\x80"), "");     // overlong form
}

} // namespace
} // namespace curp
