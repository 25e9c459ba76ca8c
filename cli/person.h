// One person's data as the command receives it (texts from options or from
// the fields of a CSV row), checked and turned into the key.
#ifndef CURP_CLI_PERSON_H
#define CURP_CLI_PERSON_H

#include "curp/states.h"

#include <chrono>
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

// The key of a person, or why there is none.
struct Computed {
    std::string key;   // UTF-8; empty when there is none
    std::string error; // in Spanish, why there is no key; empty when there is one
    std::chrono::year_month_day birth{};
    char sex = 0;                 // 'H', 'M' or 'X'
    const State* state = nullptr; // null when no state was given
};

// Date of birth from "AAAA-MM-DD" or "DD/MM/AAAA" (day and month with one or
// two digits, blanks around allowed), years 1601 to 9999 as in the window.
// Sets `error` (Spanish) instead when the text is no such date, has a
// two-digit year (the century would be a guess) or names a day that does
// not exist (31/04/1990).
std::chrono::year_month_day ParseBirthDate(std::string_view text, std::string& error);

// The sex letter: 'H' for H, Hombre, Masculino; 'M' for M, Mujer, Femenino,
// F; 'X' for X (non-binary, issued by the registry). Any case, blanks
// around allowed. 0 for anything else.
char ParseSex(std::string_view text) noexcept;

// Computes keys, keeping its working texts from one person to the next.
class KeyMaker
{
public:
    // Fills `out` with the key of `person`, or the reason there is none. A
    // key shorter than 18 characters (no state, names too short for the
    // four initial letters) is only given for Missing::WindowDefaults.
    void Compute(const Person& person, Missing missing, Computed& out);

private:
    // The state a text names, remembered: a file names the same few states
    // over and over, and a search by name folds the text every time.
    const State* StateNamed(std::string_view text);

    std::unordered_map<std::string, const State*> statesByName_;
};

// `text` made safe to show on a terminal: bytes that are not UTF-8 and
// control characters become U+FFFD, and texts longer than `longest`
// characters are cut there with "…".
std::string Shown(std::string_view text, std::size_t longest = 40);

} // namespace curp::cli

#endif // CURP_CLI_PERSON_H
