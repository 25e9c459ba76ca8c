// Shared pieces of the key computation tests.
#ifndef CURP_KEY_TEST_SUPPORT_H
#define CURP_KEY_TEST_SUPPORT_H

#include "curp/calc_clave.h"
#include "curp/check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace curp {

// Findings print as their fields, so that a failing row shows what differs.
inline void PrintTo(const KeyFinding& f, std::ostream* os)
{
    *os << "{problem " << static_cast<int>(f.problem) << ", position " << f.position << ", found U+"
        << std::hex << static_cast<unsigned>(f.found) << std::dec << ", length " << f.length
        << ", due " << f.due << "}";
}

} // namespace curp

namespace curp::test {

using namespace std::chrono_literals;

// Date, sex and state of rows that only look at the names.
inline constexpr std::chrono::year_month_day kBorn1980 = 1980y / std::chrono::January / 1;

// One person and the key expected for them. `name` names the behaviour and
// becomes the test case name, so it is CamelCase without spaces.
struct KeyRow {
    const char* name;
    std::u32string_view Ap;
    std::u32string_view Am;
    std::u32string_view Nm;
    std::u32string_view key;
    std::chrono::year_month_day FB = kBorn1980;
    std::u32string_view CveSexo = U"H";
    std::u32string_view CveEnt = U"DF";
};

// Test names show the row's name instead of its bytes.
inline void PrintTo(const KeyRow& row, std::ostream* os)
{
    *os << row.name;
}

inline std::u32string KeyOf(const KeyRow& row)
{
    return Calc_Clave(row.Ap, row.Am, row.Nm, row.FB, row.CveSexo, row.CveEnt);
}

// The key tables of the name preparation and code composition tests, for
// checks that must hold on every one of their rows.
std::span<const KeyRow> PreparationRows();
std::span<const KeyRow> CompositionRows();

// Test case names for INSTANTIATE_TEST_SUITE_P.
struct RowName {
    template <class Param>
    std::string operator()(const Param& info) const
    {
        return info.param.name;
    }
};

// The one test of a table of people: each gets exactly its key. Every rule's
// file gives its own table, named for the rule:
//   INSTANTIATE_TEST_SUITE_P(CheckDigit, KeyTable, ::testing::ValuesIn(kRows), RowName{});
// (the test itself is in key_test_support.cpp).
class KeyTable : public ::testing::TestWithParam<KeyRow>
{};

} // namespace curp::test

#endif // CURP_KEY_TEST_SUPPORT_H
