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
    bool centuryInDoubt = false;
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
        {"23/04/5",               kDMY, 2025y / April / 23, "", true, true},
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
        {"23/04/1975 10:30",      kDMY, april23,
                                  "la fecha lleva una hora que no es 0:00: «23/04/1975 10:30»"},
        {"23/04/1975 12:00 p. m.", kDMY, april23,
                                  "la fecha lleva una hora que no es 0:00: «23/04/1975 12:00 p. m.»"},
        {"23/04/1975 25:00",      kDMY, none, "no es una fecha: «23/04/1975 25:00»"},
        {"1975-04-23 00:00:00",   kDMY, april23, ""},
        {"23/04/1975 12:00:00 a. m.", kDMY, april23, ""},
        {"23/04/1975 0:00",       kDMY, april23, ""},
        {"1975-04-23T00:00:00.000", kDMY, april23, ""},
        {"19750423",              kDMY, april23, ""},
        {"230475",                kDMY, april23, "", true},
        {"\u00A023/04/1975\u3000", kDMY, april23, ""},
        {"\u00A0",                kDMY, none, "falta la fecha"},
        {"23/04/16",              kDMY, 2016y / April / 23, "", true, true},
        {"23/04/15",              kDMY, 2015y / April / 23, "", true},
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
        EXPECT_EQ(reading.centuryInDoubt, row.centuryInDoubt) << row.text;
    }
    EXPECT_EQ(CenturySentence(2016y), "el año 16 puede ser 2016 o 1916");
}

TEST(Sex, ReadAndSearched)
{
    // text, read exactly, searched while typing
    const std::tuple<const char*, char, char> rows[] = {
        {"H", 'H', 'H'},     {"hombre", 'H', 'H'},   {" Masculino ", 'H', 'H'}, {"M", 'M', '\0'},
        {"MUJER", 'M', 'M'}, {"femenino", 'M', 'M'}, {"f", 'M', 'M'},           {"x", 'X', 'X'},
        {"mu", '\0', 'M'},   {"masc", 'H', 'H'},     {"ma", '\0', 'H'},         {"fem", 'M', 'M'},
        {"hom", '\0', 'H'},  {"varón", 'H', '\0'},   {"", '\0', '\0'},          {"HM", '\0', '\0'},
    };
    for (const auto& [text, read, searched] : rows) {
        EXPECT_EQ(ReadSex(text), read) << text;
        EXPECT_EQ(SearchSex(text), searched) << text;
    }
}

TEST(Sex, ReadAsTheColumnMeansIt)
{
    using enum SexLetters;
    const std::tuple<const char*, SexLetters, char, SexFault> rows[] = {
        {"M", FM, 'H', SexFault::None},          {"f", FM, 'M', SexFault::None},
        {"M", Mixed, '\0', SexFault::Ambiguous}, {"H", Mixed, 'H', SexFault::None},
        {"Masc.", HM, 'H', SexFault::None},      {"1", HM, '\0', SexFault::Number},
        {" ", HM, '\0', SexFault::Missing},      {"Q", FM, '\0', SexFault::Unknown},
    };
    for (const auto& [text, letters, letter, fault] : rows) {
        const SexReading reading = ReadSex(text, letters);
        EXPECT_EQ(reading.letter, letter) << text;
        EXPECT_EQ(reading.fault, fault) << text;
    }
    EXPECT_EQ(SexSentence(SexFault::Number, "2"),
              "el sexo «2» es un número, que no dice si es hombre o mujer: se acepta H, M, X, "
              "hombre, mujer, masculino o femenino");
}

} // namespace
} // namespace curp
