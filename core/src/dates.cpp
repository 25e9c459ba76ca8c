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
#include <vector>

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

CharKind KindOf(char c)
{
    if (c >= '0' && c <= '9') {
        return CharKind::Digit;
    }
    if (c >= 'A' && c <= 'Z') {
        return CharKind::Letter;
    }
    constexpr std::string_view kSeparators = " \t\r\n/-.,";
    return kSeparators.find(c) != std::string_view::npos ? CharKind::Separator : CharKind::Other;
}

// The runs of digits and of letters of a folded text, in order; nullopt when
// the text holds anything but those and separators, or too many of them to
// be a date.
std::optional<std::vector<std::string_view>> Tokens(std::string_view folded)
{
    constexpr std::size_t kMost = 8; // "23 de abril de 1975" has five
    std::vector<std::string_view> tokens;
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
            if (tokens.size() == kMost) {
                return std::nullopt;
            }
            tokens.push_back(folded.substr(i, end - i));
        }
        i = end;
    }
    return tokens;
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

std::optional<Written> Place(const std::vector<std::string_view>& tokens, DateOrder order)
{
    std::vector<std::string_view> numbers;
    Written written;
    std::size_t numbersBeforeName = 0;
    for (const std::string_view token : tokens) {
        if (IsNumber(token)) {
            numbers.push_back(token);
        } else if (token != "DE" && token != "DEL") {
            const unsigned month = MonthNamed(token);
            if (month == 0 || written.named != 0) {
                return std::nullopt;
            }
            written.named = month;
            numbersBeforeName = numbers.size();
        }
    }
    if (written.named != 0) {
        // "abril 23, 1975", "23 de abril de 1975", "1975-abr-23"
        if (numbers.size() != 2 || numbersBeforeName == 2) {
            return std::nullopt;
        }
        const bool yearFirst = numbersBeforeName == 1 && numbers[0].size() == 4;
        written.day = numbers[yearFirst ? 1 : 0];
        written.year = numbers[yearFirst ? 0 : 1];
        written.order = yearFirst ? DateOrder::YearMonthDay : DateOrder::DayMonthYear;
    } else {
        if (numbers.size() == 1 && numbers[0].size() == 8) {
            // Two digits for the day and the month, four for the year.
            const std::string_view digits = numbers[0];
            const std::size_t yearAt = PlacesOf(order)[2];
            numbers.clear();
            for (std::size_t i = 0, at = 0; i < 3; ++i) {
                numbers.push_back(digits.substr(at, i == yearAt ? 4 : 2));
                at += numbers.back().size();
            }
        }
        if (numbers.size() != 3) {
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
    const std::string_view date = detail::Trimmed<char>(text, " \t\r\n");
    if (date.empty()) {
        reading.problem = "falta la fecha";
        return reading;
    }
    // Folding gives nothing for text that is not UTF-8, and so no date.
    const std::string folded = FoldForSearch(date);
    const std::optional<std::vector<std::string_view>> tokens = Tokens(folded);
    const std::optional<Written> written = tokens ? Place(*tokens, order) : std::nullopt;
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

    const std::string shown = Shown(written->order, year, month, day);
    if (!kBirthYears.Contains(reading.date.year())) {
        reading.problem = shown + " queda fuera de los años " +
                          std::to_string(static_cast<int>(kBirthYears.first)) + " a " +
                          std::to_string(static_cast<int>(kBirthYears.last));
    } else if (!reading.date.month().ok()) {
        reading.problem = shown + " no existe: no hay mes " + std::to_string(month);
    } else if (day == 0) {
        reading.problem = shown + " no existe: no hay día 0";
    } else if (!reading.date.ok()) {
        const std::chrono::year_month_day_last last{
            reading.date.year(), std::chrono::month_day_last{reading.date.month()}};
        reading.problem = shown + " no existe: " + std::string(kMonthNames.at(month - 1)) +
                          (month == 2 ? " de " + std::to_string(year) : std::string()) + " tiene " +
                          std::to_string(static_cast<unsigned>(last.day())) + " días";
    }
    return reading;
}

} // namespace curp
