// One person's data as the command receives it (texts from options or from
// the fields of a CSV row), checked and turned into the key.
#ifndef CURP_CLI_PERSON_H
#define CURP_CLI_PERSON_H

#include "curp/dates.h"
#include "curp/sex.h"
#include "curp/states.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace curp::cli {

// The six texts, UTF-8, as given.
struct Person {
    std::string_view paterno;
    std::string_view materno;
    std::string_view nombre;
    std::string_view nacimiento;
    std::string_view sexo;
    std::string_view entidad;
};

// What is done when sex or state are not given: one person on the command
// line gets what the window starts with (H, no state); a CSV row is an error.
enum class Missing { WindowDefaults, Error };

// The fields of a person, in the order of Person's members.
enum class Field : std::size_t { Paterno, Materno, Nombre, Nacimiento, Sexo, Entidad };
inline constexpr std::size_t kFields = 6;
// The fields as messages, columns and options name them.
inline constexpr std::array<std::string_view, kFields> kFieldNames = {
    "paterno", "materno", "nombre", "nacimiento", "sexo", "entidad"};

// The key of a person, or why there is none.
struct Computed {
    std::string key; // UTF-8; empty when there is none
    // Why a field cannot be taken as given, in Spanish, one reason per field
    // (not UTF-8, no date, no such sex or state, missing where it is
    // required); empty for a field that is fine.
    std::array<std::string, kFields> problems;
    // Why the names give no key although each was read: "falta el nombre",
    // "faltan los dos apellidos", "los nombres no dan las cuatro letras ...".
    std::string namesProblem;
    // Why a key that was computed may not be the registry's (a given name
    // that looks abbreviated), as the library's explanation says it; empty
    // when nothing is in doubt. `doubt` is the same in a few words, the
    // same for every row with that kind of doubt.
    std::string warning;
    std::string doubt;
    std::chrono::year_month_day birth{};
    bool shortYear = false;       // the year was written with two digits and completed
    char sex = 0;                 // 'H', 'M' or 'X'
    const State* state = nullptr; // null when no state was given

    std::string& Problem(Field field)
    {
        return problems.at(static_cast<std::size_t>(field));
    }
    // Whether every field could be read (there may still be no key).
    bool FieldsRead() const noexcept;
    // Every reason there is no key, joined by "; ": the names' first, then
    // the date's, the sex's and the state's.
    std::string Error() const;
};

// How a date written with numbers, day and month first, fits the two orders.
enum class DateFit {
    Any,        // the order changes nothing: a year first, a month name, the day
                // equal to the month, or no such date either way
    Ambiguous,  // both orders give a date, and not the same one: 03/04/1975
    DayFirst,   // only day-month-year gives a date: 23/04/1975
    MonthFirst, // only month-day-year gives a date: 04/23/1975
};
// Reads `text` both ways, completing a short year as of `today`.
DateFit FitOf(std::string_view text, std::chrono::year_month_day today);

// Computes keys, keeping its working texts from one person to the next.
class KeyMaker
{
public:
    // Two-digit years are completed as of `today`.
    explicit KeyMaker(std::chrono::year_month_day today)
        : today_(today)
    {}

    // The order of dates written with numbers: day first unless told. With
    // `ambiguous` set, the file mixes both orders: each date is read in the
    // order it fits, and a date that fits both is refused with that reason.
    void ReadDates(DateOrder order, std::string ambiguous = {})
    {
        order_ = order;
        ambiguous_ = std::move(ambiguous);
    }

    // How the letters of the sex column are meant: H/M unless told.
    void ReadSexes(SexLetters letters) noexcept
    {
        sexLetters_ = letters;
    }

    // Fills `out` with the key of `person`, or the reasons there is none. A
    // key shorter than 18 characters (no state, names too short for the
    // four initial letters) is only given for Missing::WindowDefaults.
    void Compute(const Person& person, Missing missing, Computed& out);

private:
    // The state a text names, remembered: a file names the same few states
    // over and over, and a search by name folds the text every time.
    const State* StateNamed(std::string_view text);
    void ReadBirth(std::string_view text, Computed& out) const;
    static void ExplainNoKey(const Person& person, Computed& out);
    static void NoteDoubts(const Person& person, Computed& out);

    std::chrono::year_month_day today_;
    DateOrder order_ = DateOrder::DayMonthYear;
    std::string ambiguous_;
    SexLetters sexLetters_ = SexLetters::HM;
    std::unordered_map<std::string, const State*> statesByName_;
};

// `text` made safe to show on a terminal: bytes that are not UTF-8 and
// control characters become U+FFFD, and texts longer than `longest`
// characters are cut there with "…".
std::string Shown(std::string_view text, std::size_t longest = 40);

} // namespace curp::cli

#endif // CURP_CLI_PERSON_H
