// A person's request as the window and the command make it: the fields read,
// the key, and the reasons there is none or the doubts about it.
#include "curp/person.h"

#include <gtest/gtest.h>

namespace curp {
namespace {

using namespace std::chrono;

TEST(DateFit, OrderOfDayAndMonth)
{
    const std::pair<std::string_view, DateFit> rows[] = {
        {"23/04/1975", DateFit::DayFirst},  {"04/23/75", DateFit::MonthFirst},
        {"23041975", DateFit::DayFirst},    {" 4-23-1975", DateFit::MonthFirst},
        {"03/04/1975", DateFit::Ambiguous}, {"05.05.1975", DateFit::Any},
        {"1975-04-23", DateFit::Any},       {"abril 23, 1975", DateFit::Any},
        {"32/13/1975", DateFit::Any},       {"", DateFit::Any},
    };
    for (const auto& [text, fit] : rows) {
        EXPECT_EQ(FitOf(text, year{2026} / December / 8), fit) << text;
    }
}

std::string Doubts(const PersonAnswer& answer)
{
    std::string text;
    for (const KeyDoubt& doubt : answer.doubts) {
        text.append(text.empty() ? "" : "; ").append(Describe(doubt));
    }
    return text;
}

TEST(AnswerRequest, ReasonsForNoKeyAndDoubts)
{
    struct {
        const char* name;
        PersonData person;
        std::string_view key;
        std::string_view error = {};
        std::string_view doubts = {};
    } const rows[] = {
        // Was GEDJ750423HDFÓÍN00: the library reads names in upper case and without accents.
        {"typical", {"Gómez", "Díaz", "Juan", "1975-04-23", "H", "DF"}, "GODJ750423HDFMZN00"},
        {"no maternal surname",
         {"GOMEZ", "", "JUAN", "1975-04-23", "H", "DF"},
         "GOXJ750423HDFMXN02"},
        {"a dash for the maternal surname is none",
         {"GOMEZ", " - ", "JUAN", "1975-04-23", "H", "DF"},
         "GOXJ750423HDFMXN02"},
        {"only maternal surname",
         {"", "LOPEZ", "PEDRO", "1980-01-01", "H", "DF"},
         "LOXP800101HDFPXD09"},
        {"state by name",
         {"PEREZ", "LOPEZ", "MARIA GUADALUPE", "1980-01-01", "Mujer", "jalisco"},
         "PELG800101MJCRPD02"},
        {"no given name",
         {"GOMEZ", "DIAZ", " \xC2\xA0", "1975-04-23", "H", "DF"},
         "",
         "falta el nombre"},
        {"no surname", {"", " ", "JUAN", "1975-04-23", "H", "DF"}, "", "faltan los dos apellidos"},
        {"every reason at once",
         {"GOMEZ", "DIAZ", "", "31/04/1990", "", ""},
         "",
         "falta el nombre; la fecha «31/04/1990» no existe: abril tiene 30 días; falta el sexo; "
         "falta la entidad"},
        {"two-digit year, sex in words",
         {"GOMEZ", "DIAZ", "JUAN", "23/04/75", "Masculino", "DF"},
         "GODJ750423HDFMZN00"},
        {"no date", {"GOMEZ", "DIAZ", "JUAN", "hoy", "H", "DF"}, "", "no es una fecha: «hoy»"},
        {"names too short",
         {"LI", "WONG", "A", "1990-06-15", "M", "NE"},
         "",
         "los nombres no dan las cuatro letras iniciales de la clave"},
        {"unknown state",
         {"GOMEZ", "DIAZ", "JUAN", "1975-04-23", "H", "Texas"},
         "",
         "entidad «Texas» desconocida: se espera un código (DF, NE) o el nombre de un estado"},
        {"not UTF-8",
         {"G\xFF", "DIAZ", "JUAN", "1975-04-23", "H", "D\xC3"},
         "",
         "texto que no es UTF-8 válido en paterno; texto que no es UTF-8 válido en entidad"},
        {"control characters shown safely",
         {"GOMEZ", "DIAZ", "JUAN", "1975-04-23", "\x1B[2J", "DF"},
         "",
         "sexo «\xEF\xBF\xBD[2J» no reconocido: se espera H, M o X"},
        {"abbreviated given name",
         {"GOMEZ", "DIAZ", "GPE. JUANA", "23/04/75", "M", "DF"},
         "GODG750423MDFMZP06",
         {},
         "El nombre lleva GPE., que parece abreviado: el registro usa el nombre completo, y con él "
         "la CURP puede ser otra."},
        {"a sign where the key takes a letter",
         {"LO\"PEZ", "A,B", "ANA", "1980-01-01", "X", "NE"},
         "LOAA800101XNEXXN03",
         {},
         "X en lugar de lo que no es una letra en «LO\"PEZ»: revise el nombre; X en lugar de lo "
         "que "
         "no es una letra en «A,B»: revise el nombre"},
        {"a country for the state, a year of two digits from two centuries",
         {"GOMEZ", "DIAZ", "JUAN", "23/04/16", "H", "Guatemala"},
         "GODJ160423HNEMZNA7",
         {},
         "el año 16 puede ser 2016 o 1916: revise la fecha; nacido en el extranjero: NE "
         "(«Guatemala»)"},
        {"a number for the sex",
         {"GOMEZ", "DIAZ", "JUAN", "1975-04-23", "1", "DF"},
         "",
         "el sexo «1» es un número, que no dice si es hombre o mujer: se acepta H, M, X, hombre, "
         "mujer, masculino o femenino"},
        {"born after today",
         {"GOMEZ", "DIAZ", "JUAN", "2030-01-01", "H", "DF"},
         "GODJ300101HDFMZNA2",
         {},
         "la fecha es posterior a hoy"},
    };
    RequestDesk desk({.today = year{2026} / December / 8});
    PersonAnswer answer;
    for (const auto& row : rows) {
        desk.Answer(row.person, answer);
        EXPECT_EQ(answer.key, row.key) << row.name;
        EXPECT_EQ(DescribeProblems(answer), row.error) << row.name;
        EXPECT_EQ(Doubts(answer), row.doubts) << row.name;
        EXPECT_EQ(AnswerRequest(row.person, desk.rules()).key, row.key) << row.name;
    }
    // A file that mixes both orders: a date that fits both is refused.
    desk.rules().eitherDateOrder = true;
    desk.Answer({"GOMEZ", "DIAZ", "JUAN", "03/04/1975", "H", "DF"}, answer);
    EXPECT_EQ(DescribeProblems(answer), "fecha «03/04/1975» ambigua");
    desk.Answer({"GOMEZ", "DIAZ", "JUAN", "04/23/1975", "H", "DF"}, answer);
    EXPECT_EQ(answer.key, "GODJ750423HDFMZN00");
    // The window's rules: H until a sex is chosen, a short key without a state.
    const PersonAnswer window =
        AnswerRequest({"GOMEZ", "DIAZ", "JUAN", "1975-04-23", "", ""},
                      {.sexRequired = false, .stateRequired = false, .wholeKeyOnly = false});
    EXPECT_EQ(window.key, "GODJ750423HMZN0");
}

} // namespace
} // namespace curp
