// Reading a key back into the date of birth, sex and state it holds.
#include "curp/calc_clave.h"
#include "curp/read.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

namespace curp {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;

// A key from each state of the catalogue reads back that state.
TEST(ReadKey, KeyOfEachState)
{
    constexpr auto born = 1975y / April / 23;
    for (const State& state : States()) {
        const std::string key = Calc_Clave("GOMEZ"sv, "DIAZ"sv, "JUAN"sv, born, "M"sv, state.code);
        const std::optional<KeyData> data = ReadKey(key);
        ASSERT_TRUE(data) << key;
        EXPECT_EQ(data->state, &state) << key;
        EXPECT_EQ(data->birth, born) << key;
        EXPECT_EQ(data->sex, 'M') << key;
    }
}

struct ReadRow {
    const char* name;
    std::string_view text;
    std::optional<year_month_day> birth; // nullopt: nothing read
    char sex = 'H';
    std::string_view state = "DF";
};

void PrintTo(const ReadRow& row, std::ostream* os)
{
    *os << row.name;
}

class ReadKeyRows : public ::testing::TestWithParam<ReadRow>
{};

TEST_P(ReadKeyRows, ReadsDateSexAndState)
{
    const ReadRow& row = GetParam();
    const std::optional<KeyData> data = ReadKey(row.text);
    ASSERT_EQ(data.has_value(), row.birth.has_value());
    if (data) {
        EXPECT_EQ(data->birth, *row.birth);
        EXPECT_EQ(data->sex, row.sex);
        ASSERT_NE(data->state, nullptr);
        EXPECT_EQ(data->state->code, row.state);
    }
}

// clang-format off
const ReadRow kReadRows[] = {
    {"DigitCentury",           "GODJ991231HBCMZN00", 1999y / December / 31, 'H', "BC"},
    {"LetterCentury",          "GODJ991231HBCMZNZ0", 2099y / December / 31, 'H', "BC"},
    {"LeapDay2000",            "GODJ000229HDFMZNA1", 2000y / February / 29},
    {"NoLeapDay1900",          "GODJ000229HDFMZN01", std::nullopt},
    {"NoLeapDay2001",          "GODJ010229HDFMZNA8", std::nullopt},
    {"SexX",                   "GODJ750423XDFMZN04", 1975y / April / 23, 'X'},
    {"BornAbroad",             "GODJ750423HNEMZN06", 1975y / April / 23, 'H', "NE"},
    {"LowerCaseAndMask",       " godj-750423-m-df-mzn-0-0\n", 1975y / April / 23, 'M'},
    // Problems elsewhere do not stop the reading.
    {"WrongCheckDigit",        "GODJ750423HDFMZN07", 1975y / April / 23},
    {"InconvenientWord",       "PENE660720MMCXVL04", 1966y / July / 20, 'M', "MC"},
    {"EnyeAsConsonant",        "GODJ750423HDFÑZN00", 1975y / April / 23},
    // Nothing is read when the date, sex or state positions are wrong.
    {"UnknownState",           "GODJ750423HXXMZN09", std::nullopt},
    {"SexF",                   "GODJ750423FDFMZN00", std::nullopt},
    {"LetterOInDate",          "GODJ75O423HDFMZN00", std::nullopt},
    {"NoCentury",              "GODJ750423HDFMZN*0", std::nullopt},
    {"Short",                  "GODJ750423HDFMZN0",  std::nullopt},
    {"NotUtf8",                "GODJ750423HDFMZN0\xC3", std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, ReadKeyRows, ::testing::ValuesIn(kReadRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace curp
