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

int NumberOf(std::string_view digits)
{
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
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
        if (count == 1 && (numbers[0].size() == 8 || numbers[0].size() == 6)) {
            // Two digits for the day and the month, four or two for the year.
            // AAAAMMDD first: from 1900 on its month would be 19 or 20 in
            // DDMMAAAA, and its year before 1601 in MMDDAAAA.
            const std::string_view digits = numbers[0];
            const std::size_t yearDigits = digits.size() - 4;
            const bool yearFirst =
                yearDigits == 4 && NumberOf(digits.substr(0, 4)) >= 1900 &&
                std::chrono::year_month_day{
                    std::chrono::year{NumberOf(digits.substr(0, 4))},
                    std::chrono::month{static_cast<unsigned>(NumberOf(digits.substr(4, 2)))},
                    std::chrono::day{static_cast<unsigned>(NumberOf(digits.substr(6, 2)))}}
                    .ok();
            const std::size_t yearAt = PlacesOf(yearFirst ? DateOrder::YearMonthDay : order)[2];
            for (std::size_t i = 0, at = 0; i < 3; ++i) {
                numbers.at(i) = digits.substr(at, i == yearAt ? yearDigits : 2);
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

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::size_t kQuotedLongest = 40;
constexpr int kCentury = 100;
constexpr int kOldest = 110; // the age past which nobody is taken to be

// A time of day written after a date, as spreadsheets export date cells.
struct TimeOfDay {
    std::size_t at = 0;    // where it starts, with the blank or "T" before it
    bool valid = false;    // hours, minutes and seconds in their ranges
    bool midnight = false; // every part zero, or 12:00 a. m.
};

// The time at the end of folded text: H:MM, H:MM:SS or H:MM:SS.fff after a
// blank or a "T" that follows a digit, then perhaps "a. m." or "p. m." (any
// blanks and dots). nullopt when the text has no ":" after a date.
std::optional<TimeOfDay> TimeAfter(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t start = colon;
    while (start > 0 && KindOf(text[start - 1]) == CharKind::Digit) {
        --start;
    }
    if (start < 2 || colon - start < 1 || colon - start > 2 ||
        !(text[start - 1] == ' ' ||
          (text[start - 1] == 'T' && KindOf(text[start - 2]) == CharKind::Digit))) {
        return std::nullopt;
    }
    TimeOfDay time;
    time.at = start - 1;
    std::array<int, 3> parts{}; // hours, minutes, seconds
    std::size_t i = start;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const std::size_t from = i;
        while (i < text.size() && KindOf(text[i]) == CharKind::Digit) {
            ++i;
        }
        if (i == from || (part > 0 && i - from != 2)) {
            return time; // not valid
        }
        parts.at(part) = NumberOf(text.substr(from, i - from));
        if (i < text.size() && text[i] == ':' && part < 2) {
            ++i;
        } else {
            break;
        }
    }
    bool fractionZero = true;
    if (i + 1 < text.size() && text[i] == '.' && KindOf(text[i + 1]) == CharKind::Digit) {
        for (++i; i < text.size() && KindOf(text[i]) == CharKind::Digit; ++i) {
            fractionZero = fractionZero && text[i] == '0';
        }
    }
    std::string suffix;
    for (; i < text.size(); ++i) {
        if (text[i] != ' ' && text[i] != '.') {
            suffix.push_back(text[i]);
        }
    }
    const bool am = suffix == "AM";
    const bool twelveHours = am || suffix == "PM";
    if (!suffix.empty() && !twelveHours) {
        return time;
    }
    const int hours = parts[0];
    time.valid = hours <= (twelveHours ? 12 : 23) && parts[1] <= 59 && parts[2] <= 59;
    time.midnight = parts[1] == 0 && parts[2] == 0 && fractionZero &&
                    (twelveHours ? am && (hours == 12 || hours == 0) : hours == 0);
    return time;
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
std::string DateAsShown(DateOrder order, int year, unsigned month, unsigned day)
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
    const std::string_view date = detail::Trimmed<char>(text, kBlanks);
    // Folding gives nothing for text that is not UTF-8, and so no date. Digits
    // and separators alone, the form of most dates, need no folding.
    const bool plain = std::all_of(date.begin(), date.end(), [](char c) {
        return KindOf(c) == CharKind::Digit || KindOf(c) == CharKind::Separator;
    });
    const std::string folded = plain ? std::string() : FoldForSearch(date);
    // Any white space is a blank: folding makes it a space.
    const std::string_view cells = plain ? date : detail::Trimmed<char>(folded, kBlanks);
    if (date.empty() || (!folded.empty() && cells.empty())) {
        reading.fault = DateFault::Missing;
        reading.problem = DateSentence(reading);
        return reading;
    }
    const auto noDate = [&reading, date] {
        reading = {};
        reading.fault = DateFault::NoDate;
        reading.quoted = Printable(date, kQuotedLongest);
        reading.problem = DateSentence(reading);
        return reading;
    };
    if (const std::optional<TimeOfDay> time = TimeAfter(cells)) {
        if (!time->valid) {
            return noDate();
        }
        reading = ReadDate(cells.substr(0, time->at), order, today);
        if (reading.fault == DateFault::NoDate) {
            return noDate();
        }
        if (reading.ok() && !time->midnight) {
            reading.fault = DateFault::TimeNotZero;
            reading.quoted = Printable(date, kQuotedLongest);
            reading.problem = DateSentence(reading);
        }
        return reading;
    }
    Tokens tokens;
    const std::optional<std::size_t> count = Tokenize(cells, tokens);
    const std::optional<Written> written =
        count ? Place(std::span(tokens).first(*count), order) : std::nullopt;
    if (!written) {
        return noDate();
    }

    int year = NumberOf(written->year);
    if (written->year.size() <= 2) {
        reading.shortYear = true;
        const int current = static_cast<int>(today.year());
        year = FullYear(year, written->year.size(), current);
        reading.centuryInDoubt = year - kCentury >= current - kOldest;
    }
    const unsigned month =
        written->named != 0 ? written->named : static_cast<unsigned>(NumberOf(written->month));
    const auto day = static_cast<unsigned>(NumberOf(written->day));
    reading.date = {std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
    reading.order = written->order;

    if (!kBirthYears.Contains(reading.date.year())) {
        reading.fault = DateFault::OutOfYears;
    } else if (!reading.date.month().ok()) {
        reading.fault = DateFault::NoSuchMonth;
    } else if (day == 0) {
        reading.fault = DateFault::DayZero;
    } else if (!reading.date.ok()) {
        reading.fault = DateFault::PastMonthEnd;
    }
    // The sentence is made only for a date that is wrong.
    if (!reading.ok()) {
        reading.problem = DateSentence(reading);
    }
    return reading;
}

std::string DateSentence(const DateReading& reading, DateShown how)
{
    const int year = static_cast<int>(reading.date.year());
    const auto month = static_cast<unsigned>(reading.date.month());
    const auto day = static_cast<unsigned>(reading.date.day());
    // The date as it was read, or what the sentence says in its place.
    const auto shown = [&] {
        switch (how) {
        case DateShown::Plain:
            break;
        case DateShown::Quoted:
            return "la fecha «" + DateAsShown(reading.order, year, month, day) + "»";
        case DateShown::Elided:
            return std::string("la fecha «…»");
        }
        return DateAsShown(reading.order, year, month, day);
    };
    const std::string quoted = how == DateShown::Elided ? "…" : reading.quoted;
    switch (reading.fault) {
    case DateFault::None:
        return {};
    case DateFault::Missing:
        return "falta la fecha";
    case DateFault::NoDate:
        return "no es una fecha: «" + quoted + "»";
    case DateFault::TimeNotZero:
        return "la fecha lleva una hora que no es 0:00: «" + quoted + "»";
    case DateFault::OutOfYears:
        return shown() + " queda fuera de los años " +
               std::to_string(static_cast<int>(kBirthYears.first)) + " a " +
               std::to_string(static_cast<int>(kBirthYears.last));
    case DateFault::NoSuchMonth:
        return shown() + " no existe: no hay mes " + std::to_string(month);
    case DateFault::DayZero:
        return shown() + " no existe: no hay día 0";
    case DateFault::PastMonthEnd:
        break;
    }
    const std::chrono::year_month_day_last last{reading.date.year(),
                                                std::chrono::month_day_last{reading.date.month()}};
    return shown() + " no existe: " + std::string(kMonthNames.at(month - 1)) +
           (month == 2 ? " de " + std::to_string(year) : std::string()) + " tiene " +
           std::to_string(static_cast<unsigned>(last.day())) + " días";
}

std::string CenturySentence(std::chrono::year year)
{
    const int full = static_cast<int>(year);
    return "el año " + Padded(full % kCentury, 2) + " puede ser " + std::to_string(full) + " o " +
           std::to_string(full - kCentury);
}

} // namespace curp
