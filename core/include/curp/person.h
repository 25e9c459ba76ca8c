// One door between a person's data and the key: the six texts as they were
// typed into a window or stand in a row of a file go in; the key, what keeps
// each field from being read, and the doubts about the key come out, each
// as a value a program can test. The window and the command both ask here,
// so they read the same data alike and give the same answer.
#ifndef CURP_PERSON_H
#define CURP_PERSON_H

#include "curp/calc_clave.h"
#include "curp/dates.h"
#include "curp/explain.h"
#include "curp/sex.h"
#include "curp/states.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace curp {

// The fields of a person's data, in the order of Calc_Clave's arguments.
enum class Field : std::uint8_t { Paterno, Materno, Nombre, Nacimiento, Sexo, Entidad };
inline constexpr std::size_t kFieldCount = 6;

// The fields as the command's options, a file's columns and messages name
// them: "paterno", "materno", "nombre", "nacimiento", "sexo", "entidad".
inline constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "paterno", "materno", "nombre", "nacimiento", "sexo", "entidad"};

constexpr std::string_view NameOf(Field field) noexcept
{
    return kFieldNames[static_cast<std::size_t>(field)];
}

// A person's six texts, UTF-8, as given: names in any case and with accents,
// the date as people write it, the sex and state as a code or in words.
struct PersonData {
    std::string_view paterno;
    std::string_view materno;
    std::string_view nombre;
    std::string_view nacimiento;
    std::string_view sexo;
    std::string_view entidad;

    std::string_view Text(Field field) const noexcept;
};

// What the one asking decides.
struct RequestRules {
    // The day the request is made: a year of one or two digits is the
    // latest with those digits that is not after it, and a birth after it
    // is a doubt (when it is a real date).
    std::chrono::year_month_day today{};
    // The order of day and month in dates written with numbers only.
    DateOrder order = DateOrder::DayMonthYear;
    // Each date in the order in which it is a date (a file that mixes both
    // orders); a date that is one in both orders, and not the same, is then
    // the problem AmbiguousDate.
    bool eitherDateOrder = false;
    // A blank sex: the problem Missing, or H, as the window starts.
    bool sexRequired = true;
    // How the letters of the sex are meant: H/M, or F/M as some sheets write
    // them, or unknown for M (a column that holds H, M and F).
    SexLetters sexLetters = SexLetters::HM;
    // A blank state: the problem Missing, or a key without positions 12-13
    // and check digit.
    bool stateRequired = true;
    // A key shorter than 18 characters is no key: the problem Missing for a
    // state that is not given, NoInitials when the names are too short.
    bool wholeKeyOnly = true;
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

// What keeps a field from being read, or the names from giving a key.
enum class Problem : std::uint8_t {
    NotUtf8,       // the text is not well-formed UTF-8
    Missing,       // the field is blank where it is required
    Date,          // the date cannot be read or does not exist: PersonAnswer::birth says why
    AmbiguousDate, // with eitherDateOrder: a date in both orders, and not the same one
    UnknownSex,    // `text` names no sex
    SexNumber,     // `text` is a number ("1", "2"): numbered lists disagree on which is which
    AmbiguousSex,  // `text` is M, with SexLetters::Mixed: mujer or masculino
    UnknownState,  // `text` names no state of the catalogue
    NoGivenName,   // the given name is blank as read (field Nombre)
    NoSurname,     // both surnames are blank as read (field Paterno)
    NoInitials,    // with wholeKeyOnly: the names do not give the four initial letters
    NoMemory,      // memory ran out
};

struct FieldProblem {
    Field field;
    Problem problem;
    std::string text{}; // UnknownSex, UnknownState, AmbiguousDate: the text as given

    friend bool operator==(const FieldProblem&, const FieldProblem&) = default;
};

// Why a key that was computed may not be the registry's.
enum class Doubt : std::uint8_t {
    AbbreviatedName, // `text`: a word of the given name written short ("FCO.")
    SignIsX,         // `text`: the name (as prepared) whose sign or digit the key holds as X
    FutureBirth,     // the date of birth is after the day of the request
    BornAbroad,      // `text`: a country, or abroad, written for the state; the key has NE
    CenturyInDoubt,  // `text`: the year of two digits, which may be a century earlier
};

struct KeyDoubt {
    Doubt doubt;
    Field field;        // the field the doubt is about
    std::string text{}; // see Doubt

    friend bool operator==(const KeyDoubt&, const KeyDoubt&) = default;
};

// The answer to one request.
struct PersonAnswer {
    std::string key;                    // UTF-8; empty when there is none
    std::vector<FieldProblem> problems; // in field order; empty when there is a key
    std::vector<KeyDoubt> doubts;       // about the key; empty without a key
    DateReading birth;                  // the date as read
    char sex = 0;                       // 'H', 'M' or 'X'; 0 when not read
    const State* state = nullptr;       // the state named; null when none
    KeyTrace trace;                     // the computation, for ExplainKey(trace)

    // The key has all 18 characters.
    bool Whole() const noexcept;
    bool Has(Problem problem) const noexcept;
};

// Reads the person's data with the library's readers (ReadDate, ReadSex,
// FindState) as `rules` say, and computes the key once from what they read
// (Calc_Clave, recording its trace). The problems list every field that
// cannot be read and, whether or not the others could, what keeps the names
// from giving a key, so that one answer tells everything that must be
// mended. Names are given to the computation as they are: it reads them.
PersonAnswer AnswerRequest(const PersonData& data, const RequestRules& rules) noexcept;

// Answers request after request, keeping what can be kept from one to the
// next (a file names the same few states over and over).
class RequestDesk
{
public:
    explicit RequestDesk(RequestRules rules) noexcept
        : rules_(rules)
    {}

    const RequestRules& rules() const noexcept
    {
        return rules_;
    }
    RequestRules& rules() noexcept
    {
        return rules_;
    }

    // The same as AnswerRequest, into `answer`, whose storage is reused.
    void Answer(const PersonData& data, PersonAnswer& answer) noexcept;

private:
    RequestRules rules_;
    std::vector<std::pair<std::string, const State*>> statesByName_;
};

// The problem as a Spanish sentence, without capital or period, so that
// several join into one line: "falta el nombre", "falta el sexo", "la fecha
// «31/04/1990» no existe: abril tiene 30 días", "sexo «Q» no reconocido: se
// espera H, M o X". `answer` gives the date's reading. Without `withData`,
// what the person gave is left out ("sexo «…» no reconocido: ..."), so that
// every row with the same kind of problem says it alike.
std::string Describe(const FieldProblem& problem, const PersonAnswer& answer, bool withData = true);

// The doubt as a Spanish sentence, as Describe(problem) writes them.
std::string Describe(const KeyDoubt& doubt);

// The kind of doubt in a few words, the same for every key with it, for a
// summary that counts them: "nombre abreviado: la CURP puede ser otra".
std::string_view KindOf(Doubt doubt) noexcept;

// Every problem joined by "; ", in the order of the answer.
std::string DescribeProblems(const PersonAnswer& answer);

} // namespace curp

#endif // CURP_PERSON_H
