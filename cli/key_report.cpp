#include "key_report.h"

#include "safe_text.h"

#include "curp/check.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

namespace curp::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string IsoDate(std::chrono::year_month_day date)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text.data();
}

const char* SexName(char sex)
{
    switch (sex) {
    case 'H':
        return "hombre";
    case 'M':
        return "mujer";
    default:
        return "no binario";
    }
}

std::vector<std::string> Sentences(const std::vector<KeyFinding>& findings)
{
    std::vector<std::string> problems;
    problems.reserve(findings.size());
    for (const KeyFinding& finding : findings) {
        problems.push_back(Describe(finding));
    }
    return problems;
}

// The key as a line shows it.
std::string ShownKey(const std::string& clave)
{
    return clave.empty() ? "(vacía)" : SafeToShow(clave);
}

Json Object(const std::string& clave, const std::vector<std::string>& problems)
{
    return Json{{"clave", clave},           {"valida", problems.empty()},
                {"problemas", problems},    {"nacimiento", nullptr},
                {"sexo", nullptr},          {"entidad", nullptr},
                {"entidad_nombre", nullptr}};
}

void SetData(Json& object, std::chrono::year_month_day birth, char sex, const State* state)
{
    object["nacimiento"] = IsoDate(birth);
    object["sexo"] = std::string(1, sex);
    if (state != nullptr) {
        object["entidad"] = state->code;
        object["entidad_nombre"] = state->name;
    }
}

std::string Line(const Json& object)
{
    // Bytes that are not UTF-8 (only in a key given as such) show as U+FFFD.
    return object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

std::chrono::year_month_day Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return std::chrono::year{local.tm_year + 1900} /
           std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
           std::chrono::day{static_cast<unsigned>(local.tm_mday)};
}

std::vector<std::string> ProblemsOf(std::string_view text, std::chrono::year_month_day today)
{
    return Sentences(CheckKey(text, today));
}

KeyReport ReportOn(std::string_view text, std::chrono::year_month_day today, bool read)
{
    return {NormalizeKey(text), ProblemsOf(text, today),
            read ? ReadKey(text) : std::optional<KeyData>()};
}

std::string JoinProblems(const std::vector<std::string>& problems)
{
    std::string joined;
    for (const std::string& problem : problems) {
        if (!joined.empty()) {
            joined += "; ";
        }
        joined += problem;
    }
    return joined;
}

std::string ValidityLine(const KeyReport& report)
{
    if (report.problems.empty()) {
        return ShownKey(report.clave) + " válida";
    }
    return ShownKey(report.clave) + " no válida: " + JoinProblems(report.problems);
}

std::string Reading(const KeyReport& report)
{
    std::string text = ShownKey(report.clave) + "\n";
    if (report.data) {
        const KeyData& data = *report.data;
        text += "  nacimiento: " + IsoDate(data.birth) + "\n";
        text += std::string("  sexo: ") + data.sex + " (" + SexName(data.sex) + ")\n";
        text += "  entidad: " + std::string(data.state->code) + " (" +
                std::string(data.state->name) + ")\n";
    }
    text += report.problems.empty() ? "  válida\n"
                                    : "  no válida: " + JoinProblems(report.problems) + "\n";
    return text;
}

std::string ToJson(const KeyReport& report)
{
    Json object = Object(report.clave, report.problems);
    if (report.data) {
        SetData(object, report.data->birth, report.data->sex, report.data->state);
    }
    return Line(object);
}

std::string ToJson(const PersonAnswer& answer)
{
    Json object = Object(answer.key, Sentences(CheckKey(answer.key)));
    SetData(object, answer.birth.date, answer.sex, answer.state);
    return Line(object);
}

} // namespace curp::cli
