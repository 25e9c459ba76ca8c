// What the command says about a key: whether it is well-formed, its
// problems in Spanish, and the data it holds, as text or as one JSON object.
#ifndef CURP_CLI_KEY_REPORT_H
#define CURP_CLI_KEY_REPORT_H

#include "curp/person.h"

#include "curp/read.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace curp::cli {

struct KeyReport {
    std::string clave;                 // the key as it was checked (NormalizeKey)
    std::vector<std::string> problems; // one sentence per problem; empty for a well-formed key
    std::optional<KeyData> data;       // what the key says, when it can be read
};

// The day it is where the command runs.
std::chrono::year_month_day Today();

// Every problem of `text` (a key as a person gives it) held on `today`, one
// sentence each.
std::vector<std::string> ProblemsOf(std::string_view text, std::chrono::year_month_day today);

// Checks and reads `text` (a key as a person gives it) on `today`; `read`
// false leaves out what the key says (`data`), for a report that needs only
// its validity.
KeyReport ReportOn(std::string_view text, std::chrono::year_month_day today, bool read = true);

// The problems joined by "; ".
std::string JoinProblems(const std::vector<std::string>& problems);

// "GODJ750423HDFMZN00 válida" or "GODJ750423HDFMZN01 no válida: <problems>";
// an empty key shows as "(vacía)".
std::string ValidityLine(const KeyReport& report);

// The key and, one per line below it, its date of birth, sex, state and problems.
std::string Reading(const KeyReport& report);

// One line of JSON with the fields clave, valida, problemas, nacimiento
// (AAAA-MM-DD), sexo, entidad, entidad_nombre; what does not apply is null.
std::string ToJson(const KeyReport& report);

// The same object for a computed key: date, sex and state as they were
// read, validity and problems of the key itself.
std::string ToJson(const PersonAnswer& answer);

} // namespace curp::cli

#endif // CURP_CLI_KEY_REPORT_H
