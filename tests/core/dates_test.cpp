// Dates of birth read from text, and the sex read from text.
#include "curp/dates.h"
#include "curp/sex.h"

#include <gtest/gtest.h>

#include <tuple>

namespace curp {
namespace {

using namespace std::chrono;

constexpr year_month_day kToday = 2026y / April / 15;
constexpr auto kDMY = DateOrder::DayMonthYear;
constexpr auto kMDY = DateOrder::MonthDayYear;
constexpr auto kYMD = DateOrder::YearMonthDay;

struct DateRow {
    const char* text;
    DateOrder order;
    year_month_day date; // as read; also for a date that does not exist
    const char* problem; // "" when the date is read
    bool shortYear = false;
};

TEST(ReadDate, Rows)
{
    const year_month_day april23 = 1975y / April / 23;
    const year_month_day none{};
    // clang-format off
    const DateRow rows[] = {
        {"23/04/1975",            kDMY, april23, ""},
        {" 23-4-1975 ",           kDMY, april23, ""},
        {"23. 04. 1975",          kDMY, april23, ""},
        {"04/23/1975",            kMDY, april23, ""},
        {"75/04/23",              kYMD, april23, "", true},
        {"1975-04-23",            kDMY, april23, ""},
        {"1975/04/23",            kMDY, april23, ""},
        {"23041975",              kDMY, april23, ""},
        {"19750423",              kYMD, april23, ""},
        {"23/04/75",              kDMY, april23, "", true},
        {"23/04/05",              kDMY, 2005y / April / 23, "", true},
        {"23/04/30",              kDMY, 1930y / April / 23, "", true},
        {"23/04/5",               kDMY, 2025y / April / 23, "", true},
        {"23 de abril de 1975",   kMDY, april23, ""},
        {"23 abr 1975",           kDMY, april23, ""},
        {"23-abr-75",             kDMY, april23, "", true},
        {"abril 23, 1975",        kDMY, april23, ""},
        {"1975-abr-23",           kDMY, april23, ""},
        {"23 ABR. 1975",          kDMY, april23, ""},
        {"1 sept 2001",           kDMY, 2001y / September / 1, ""},
        {"1 Setiembre del 2001",  kDMY, 2001y / September / 1, ""},
        {"29 Febrero 2024",       kDMY, 2024y / February / 29, ""},
        {"31/04/1990",            kDMY, 1990y / April / 31, "31/04/1990 no existe: abril tiene 30 días"},
        {"04/31/1990",            kMDY, 1990y / April / 31, "04/31/1990 no existe: abril tiene 30 días"},
        {"29/02/1975",            kDMY, 1975y / February / 29,
                                  "29/02/1975 no existe: febrero de 1975 tiene 28 días"},
        {"31 de junio de 90",     kDMY, 1990y / June / 31, "31/06/1990 no existe: junio tiene 30 días",
                                  true},
        {"0/04/1975",             kDMY, 1975y / April / 0, "00/04/1975 no existe: no hay día 0"},
        {"23/13/1975",            kDMY, 1975y / month{13} / 23, "23/13/1975 no existe: no hay mes 13"},
        {"23/04/1500",            kDMY, 1500y / April / 23,
                                  "23/04/1500 queda fuera de los años 1601 a 9999"},
        {"23/04/075",             kDMY, 75y / April / 23, "23/04/0075 queda fuera de los años 1601 a 9999"},
        {"hola",                  kDMY, none, "no es una fecha: «hola»"},
        {"23/04",                 kDMY, none, "no es una fecha: «23/04»"},
        {"23/04/19750",           kDMY, none, "no es una fecha: «23/04/19750»"},
        {"23 abril",              kDMY, none, "no es una fecha: «23 abril»"},
        {"23 ab 1975",            kDMY, none, "no es una fecha: «23 ab 1975»"},
        {"1975 23 abril",         kDMY, none, "no es una fecha: «1975 23 abril»"},
        {"23/04/1975 10:30",      kDMY, none, "no es una fecha: «23/04/1975 10:30»"},
        {"  a\n\tb  ",            kDMY, none, "no es una fecha: «a\uFFFD\uFFFDb»"},
        {"una fecha demasiado larga para mostrarla entera",
                                  kDMY, none, "no es una fecha: «una fecha demasiado larga para mostrarla…»"},
        {" \t",                   kDMY, none, "falta la fecha"},
        {"23/04/19\xFF",          kDMY, none, "no es una fecha: «23/04/19\uFFFD»"},
    };
    // clang-format on
    for (const DateRow& row : rows) {
        const DateReading reading = ReadDate(row.text, row.order, kToday);
        EXPECT_EQ(reading.date, row.date) << row.text;
        EXPECT_EQ(reading.problem, row.problem) << row.text;
        EXPECT_EQ(reading.ok(), *row.problem == '\0') << row.text;
        EXPECT_EQ(reading.shortYear, row.shortYear) << row.text;
    }
}

TEST(Sex, ReadAndSearched)
{
    // text, read exactly, searched while typing
    const std::tuple<const char*, char, char> rows[] = {
        {"H", 'H', 'H'},     {"hombre", 'H', 'H'},   {" Masculino ", 'H', 'H'}, {"M", 'M', '\0'},
        {"MUJER", 'M', 'M'}, {"femenino", 'M', 'M'}, {"f", 'M', 'M'},           {"x", 'X', 'X'},
        {"mu", '\0', 'M'},   {"masc", '\0', 'H'},    {"ma", '\0', 'H'},         {"fem", '\0', 'M'},
        {"hom", '\0', 'H'},  {"varón", '\0', '\0'},  {"", '\0', '\0'},          {"HM", '\0', '\0'},
    };
    for (const auto& [text, read, searched] : rows) {
        EXPECT_EQ(ReadSex(text), read) << text;
        EXPECT_EQ(SearchSex(text), searched) << text;
    }
}

} // namespace
} // namespace curp
