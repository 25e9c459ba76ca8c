// A date of birth read from text: the text is folded (upper case, no
// accents), cut into numbers and words, and the numbers take their places by
// where the month's name stands or, with numbers only, by the order given.
#include "curp/dates.h"

#include "curp/states.h"
#include "curp/utf8.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace curp {
namespace {

// As the sentences name them; read in any case.
constexpr std::array<std::string_view, 12> kMonthNames{
    "enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
    "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre",
};

// The month a folded word names (1-12): its name or the first three letters
// or more of it; 0 for any other word.
unsigned MonthNamed(std::string_view word)
{
    if (word == "SET" || word == "SETIEMBRE") {
        return 9;
    }
    if (word.size() < 3) {
        return 0;
    }
    for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
        const std::string_view name = kMonthNames[m];
        if (word.size() <= name.size() &&
            std::equal(word.begin(), word.end(), name.begin(),
                       [](char folded, char lower) { return folded == lower - 'a' + 'A'; })) {
            return static_cast<unsigned>(m + 1);
        }
    }
    return 0;
}

enum class CharKind { Separator, Digit, Letter, Other };

// The kind of every byte, looked up: dates are read for every row of a file.
constexpr std::array<CharKind, 256> kKinds = [] {
    std::array<CharKind, 256> kinds{};
    kinds.fill(CharKind::Other);
    for (char c = '0'; c <= '9'; ++c) {
        kinds.at(static_cast<unsigned char>(c)) = CharKind::Digit;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        kinds.at(static_cast<unsigned char>(c)) = CharKind::Letter;
    }
    for (const char c : std::string_view(" \t\r\n/-.,")) {
        kinds.at(static_cast<unsigned char>(c)) = CharKind::Separator;
    }
    return kinds;
}();

CharKind KindOf(char c)
{
    return kKinds[static_cast<unsigned char>(c)];
}

// At most this many runs of digits and letters make a date: "23 de abril de
// 1975" has five.
constexpr std::size_t kMostTokens = 8;
using Tokens = std::array<std::string_view, kMostTokens>;

// The runs of digits and of letters of a folded text, in order, into
// `tokens`; how many there are, or nullopt when the text holds anything but
// those and separators, or too many of them to be a date.
std::optional<std::size_t> Tokenize(std::string_view folded, Tokens& tokens)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < folded.size();) {
        const CharKind kind = KindOf(folded[i]);
        if (kind == CharKind::Other) {
            return std::nullopt;
        }
        std::size_t end = i + 1;
        while (end < folded.size() && KindOf(folded[end]) == kind) {
            ++end;
        }
        if (kind != CharKind::Separator) {
            if (count == tokens.size()) {
                return std::nullopt;
            }
            tokens.at(count++) = folded.substr(i, end - i);
        }
        i = end;
    }
    return count;
}

bool IsNumber(std::string_view token)
{
    return KindOf(token.front()) == CharKind::Digit;
}

// Day, month and year as written: digits, or the month by its name.
struct Written {
    std::string_view day;
    std::string_view month;
    std::string_view year;
    unsigned named = 0;                        // the month, written as a name
    DateOrder order = DateOrder::DayMonthYear; // the order the parts were read in
};

// Where day, month and year stand among three numbers written in `order`.
std::array<std::size_t, 3> PlacesOf(DateOrder order)
{
    switch (order) {
    case DateOrder::MonthDayYear:
        return {1, 0, 2};
    case DateOrder::YearMonthDay:
        return {2, 1, 0};
    case DateOrder::DayMonthYear:
        break;
    }
    return {0, 1, 2};
}

std::optional<Written> Place(std::span<const std::string_view> tokens, DateOrder order)
{
    Tokens numbers;
    std::size_t count = 0; // of numbers
    Written written;
    std::size_t numbersBeforeName = 0;
    for (const std::string_view token : tokens) {
        if (IsNumber(token)) {
            numbers.at(count++) = token;
        } else if (token != "DE" && token != "DEL") {
            const unsigned month = MonthNamed(token);
            if (month == 0 || written.named != 0) {
                return std::nullopt;
            }
            written.named = month;
            numbersBeforeName = count;
        }
    }
    if (written.named != 0) {
        // "abril 23, 1975", "23 de abril de 1975", "1975-abr-23"
        if (count != 2 || numbersBeforeName == 2) {
            return std::nullopt;
        }
        const bool yearFirst = numbersBeforeName == 1 && numbers[0].size() == 4;
        written.day = numbers[yearFirst ? 1 : 0];
        written.year = numbers[yearFirst ? 0 : 1];
        written.order = yearFirst ? DateOrder::YearMonthDay : DateOrder::DayMonthYear;
    } else {
        if (count == 1 && numbers[0].size() == 8) {
            // Two digits for the day and the month, four for the year.
            const std::string_view digits = numbers[0];
            const std::size_t yearAt = PlacesOf(order)[2];
            for (std::size_t i = 0, at = 0; i < 3; ++i) {
                numbers.at(i) = digits.substr(at, i == yearAt ? 4 : 2);
                at += numbers.at(i).size();
            }
            count = 3;
        }
        if (count != 3) {
            return std::nullopt;
        }
        written.order = numbers[0].size() == 4 ? DateOrder::YearMonthDay : order;
        const std::array<std::size_t, 3> places = PlacesOf(written.order);
        written.day = numbers[places[0]];
        written.month = numbers[places[1]];
        written.year = numbers[places[2]];
    }
    if (written.day.size() > 2 || written.month.size() > 2 || written.year.size() > 4) {
        return std::nullopt;
    }
    return written;
}

int NumberOf(std::string_view digits)
{
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The latest year that ends in `typed` (one or two digits) and is not after
// `current`.
int FullYear(int typed, std::size_t digits, int current)
{
    const int span = digits == 1 ? 10 : 100;
    return current - ((current - typed) % span + span) % span;
}

// A number with zeros in front up to `width` digits.
std::string Padded(int value, std::size_t width)
{
    std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

// The date as the sentences show it, year in full, in the order it was read.
std::string Shown(DateOrder order, int year, unsigned month, unsigned day)
{
    const std::string dd = Padded(static_cast<int>(day), 2);
    const std::string mm = Padded(static_cast<int>(month), 2);
    const std::string yyyy = Padded(year, 4);
    switch (order) {
    case DateOrder::MonthDayYear:
        return mm + '/' + dd + '/' + yyyy;
    case DateOrder::YearMonthDay:
        return yyyy + '-' + mm + '-' + dd;
    case DateOrder::DayMonthYear:
        break;
    }
    return dd + '/' + mm + '/' + yyyy;
}

} // namespace

DateReading ReadDate(std::string_view text, DateOrder order, std::chrono::year_month_day today)
{
    DateReading reading;
    // AAAA-MM-DD and DD/MM/AAAA (or MM/DD/AAAA), the forms of most files, are
    // read at once; anything else, and any date that is wrong, the long way.
    const auto digits = [text](std::size_t at, std::size_t count) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (KindOf(text[i]) != CharKind::Digit) {
                return -1;
            }
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        }
        return static_cast<int>(value);
    };
    const bool yearFirst = text.size() == 10 && text[4] == '-' && text[7] == '-';
    const bool yearLast = text.size() == 10 && order != DateOrder::YearMonthDay &&
                          text[2] == text[5] &&
                          (text[2] == '/' || text[2] == '-' || text[2] == '.');
    if (yearFirst || yearLast) {
        const bool monthFirst = order == DateOrder::MonthDayYear;
        const int year = yearFirst ? digits(0, 4) : digits(6, 4);
        const int month = yearFirst ? digits(5, 2) : digits(monthFirst ? 0 : 3, 2);
        const int day = yearFirst ? digits(8, 2) : digits(monthFirst ? 3 : 0, 2);
        if (year >= 0 && month >= 0 && day >= 0) {
            const std::chrono::year_month_day date{std::chrono::year{year},
                                                   std::chrono::month{static_cast<unsigned>(month)},
                                                   std::chrono::day{static_cast<unsigned>(day)}};
            if (date.ok() && kBirthYears.Contains(date.year())) {
                reading.date = date;
                return reading;
            }
        }
    }
    const std::string_view date = detail::Trimmed<char>(text, " \t\r\n");
    if (date.empty()) {
        reading.problem = "falta la fecha";
        return reading;
    }
    // Folding gives nothing for text that is not UTF-8, and so no date. Digits
    // and separators alone, the form of most dates, need no folding.
    const bool plain = std::all_of(date.begin(), date.end(), [](char c) {
        return KindOf(c) == CharKind::Digit || KindOf(c) == CharKind::Separator;
    });
    const std::string folded = plain ? std::string() : FoldForSearch(date);
    Tokens tokens;
    const std::optional<std::size_t> count = Tokenize(plain ? date : folded, tokens);
    const std::optional<Written> written =
        count ? Place(std::span(tokens).first(*count), order) : std::nullopt;
    if (!written) {
        constexpr std::size_t kLongest = 40;
        reading.problem = "no es una fecha: «" + Printable(date, kLongest) + "»";
        return reading;
    }

    int year = NumberOf(written->year);
    if (written->year.size() <= 2) {
        reading.shortYear = true;
        year = FullYear(year, written->year.size(), static_cast<int>(today.year()));
    }
    const unsigned month =
        written->named != 0 ? written->named : static_cast<unsigned>(NumberOf(written->month));
    const auto day = static_cast<unsigned>(NumberOf(written->day));
    reading.date = {std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};

    // The sentences are made only for a date that is wrong.
    const auto shown = [&] { return Shown(written->order, year, month, day); };
    if (!kBirthYears.Contains(reading.date.year())) {
        reading.problem = shown() + " queda fuera de los años " +
                          std::to_string(static_cast<int>(kBirthYears.first)) + " a " +
                          std::to_string(static_cast<int>(kBirthYears.last));
    } else if (!reading.date.month().ok()) {
        reading.problem = shown() + " no existe: no hay mes " + std::to_string(month);
    } else if (day == 0) {
        reading.problem = shown() + " no existe: no hay día 0";
    } else if (!reading.date.ok()) {
        const std::chrono::year_month_day_last last{
            reading.date.year(), std::chrono::month_day_last{reading.date.month()}};
        reading.problem = shown() + " no existe: " + std::string(kMonthNames.at(month - 1)) +
                          (month == 2 ? " de " + std::to_string(year) : std::string()) + " tiene " +
                          std::to_string(static_cast<unsigned>(last.day())) + " días";
    }
    return reading;
}

} // namespace curp
