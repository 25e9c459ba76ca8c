// Dates of birth as people write them: typed or pasted into a window, or
// found in a column of a file.
#ifndef CURP_DATES_H
#define CURP_DATES_H

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace curp {

// A span of years, both ends included.
struct YearRange {
    std::chrono::year first;
    std::chrono::year last;

    constexpr bool Contains(std::chrono::year year) const noexcept
    {
        return first <= year && year <= last;
    }
};

// The years a date of birth may have: 1601 to 9999, the range of the window's
// date box and of the command's dates.
inline constexpr YearRange kBirthYears{std::chrono::year{1601}, std::chrono::year{9999}};

// The order of day, month and year to assume when a date is written with
// numbers only and does not start with a year of four digits.
enum class DateOrder {
    DayMonthYear, // 23/04/1975, as in Mexico
    MonthDayYear, // 04/23/1975
    YearMonthDay, // 75/04/23
};

// What is wrong with the date a text holds.
enum class DateFault : std::uint8_t {
    None,
    Missing,      // the text is blank
    NoDate,       // it holds no date: "hola", "23/04", a time that is no time
    OutOfYears,   // the year lies outside kBirthYears: 23/04/1500
    NoSuchMonth,  // 23/13/1975
    DayZero,      // 00/04/1975
    PastMonthEnd, // 31/04/1990, 29/02/1975
    TimeNotZero,  // a date with a time of day other than midnight: 23/04/1975 10:30
};

// What ReadDate found in a text.
struct DateReading {
    // The day, month and year the text gives, the year completed when it was
    // written short. Set as well when they make no real date (31 April has
    // ok() false), the year lies outside kBirthYears or a time other than
    // midnight follows; all zero (year_month_day{}) when the text holds no
    // date at all.
    std::chrono::year_month_day date{};
    DateFault fault = DateFault::None;
    // The order the date was read in, as DateSentence shows it (day first
    // for month names).
    DateOrder order = DateOrder::DayMonthYear;
    // For NoDate and TimeNotZero: the text as Printable shows it, at most 40
    // characters.
    std::string quoted;
    // DateSentence(*this), made once: empty when `date` is a real date
    // within kBirthYears, otherwise why not, in Spanish, ready to be shown.
    std::string problem;
    // The year was written with one or two digits and completed.
    bool shortYear = false;
    // ... and the same digits a hundred years earlier would give a person of
    // at most 110 years: "16" in 2026 may be 2016 or 1916.
    bool centuryInDoubt = false;

    bool ok() const noexcept
    {
        return fault == DateFault::None;
    }
};

// How a sentence about a date names the date: as it was read ("31/04/1990
// no existe: ..."), named and quoted ("la fecha «31/04/1990» no existe:
// ..."), or left out ("la fecha «…» no existe: ...", "no es una fecha:
// «…»"), so that every date with the same fault says it alike.
enum class DateShown : std::uint8_t { Plain, Quoted, Elided };

// Why a reading is no date of birth, in Spanish: "31/04/1990 no existe:
// abril tiene 30 días", "23/04/1500 queda fuera de los años 1601 a 9999",
// "no es una fecha: «hola»", "falta la fecha", "la fecha lleva una hora que no
// es 0:00: «23/04/1975 10:30»". The date in these sentences has its year in
// full and the order it was read in. Empty for a date that is fine.
std::string DateSentence(const DateReading& reading, DateShown how = DateShown::Plain);

// The doubt of a reading with centuryInDoubt set: "el año 16 puede ser 2016 o
// 1916".
std::string CenturySentence(std::chrono::year year);

// Reads the date that `text` (UTF-8) holds. Accepted, with blanks around:
// - three groups of digits separated by "/", "-", ".", "," or blanks, in any
//   mix ("23/04/1975", "23-4-75", "23. 04. 1975"), in the order `order`, except
//   that a first group of four digits is always a year, followed by month and
//   day ("1975-04-23"); day and month have one or two digits, the year one to
//   four;
// - eight digits in a row: AAAAMMDD when that is a real date from 1900 on
//   ("19750423"), else in the order `order` ("23041975"); six digits in a
//   row in the order `order`, the year in two ("230475");
// - a Spanish month name or its abbreviation, in any case, with or without
//   accents and a dot, with the day before it and the year after it, or with
//   the day after it, or after a year of four digits: "23 de abril de 1975",
//   "23 abr 1975", "23-abr-75", "abril 23, 1975", "1975-abr-23". The
//   abbreviations are the first three letters or more of the name, and "sept"
//   and "set" (also "setiembre") for September; "de" and "del" between the
//   parts are skipped.
// A time of day after the date, as spreadsheets write date cells ("1975-04-23
// 00:00:00", "23/04/1975 12:00:00 a. m.", "23/04/1975 0:00",
// "1975-04-23T00:00"), is read when it is midnight; any other time is
// refused (TimeNotZero). Any white space (a no-break space, U+3000) is a
// blank.
// A year of one or two digits becomes the latest year with those last digits
// that is not after `today`'s year: in 2026, "75" is 1975, "05" 2005, "26"
// 2026, "30" 1930, and "5" 2025. Three or four digits are the year as written.
// Throws std::bad_alloc when memory runs out.
DateReading ReadDate(std::string_view text, DateOrder order, std::chrono::year_month_day today);

} // namespace curp

#endif // CURP_DATES_H
