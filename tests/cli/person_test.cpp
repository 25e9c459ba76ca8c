// The person's data as the command reads it: dates, sex, names, and the
// reasons a row gives no key.
#include "cli_test_support.h"
#include "key_report.h"
#include "person.h"

#include <gtest/gtest.h>

namespace curp::cli::test {
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

TEST(KeyMaker, ReasonsForNoKey)
{
    struct {
        const char* name;
        Person person;
        std::string_view key;
        std::string_view error = {};
    } const rows[] = {
        // Was GEDJ750423HDFÓÍN00: the library reads names in upper case and without accents.
        {"typical", {"Gómez", "Díaz", "Juan", "1975-04-23", "H", "DF"}, "GODJ750423HDFMZN00"},
        {"no maternal surname",
         {"GOMEZ", "", "JUAN", "1975-04-23", "H", "DF"},
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
    };
    KeyMaker maker(year{2026} / December / 8);
    Computed computed;
    for (const auto& row : rows) {
        maker.Compute(row.person, Missing::Error, computed);
        EXPECT_EQ(computed.key, row.key) << row.name;
        EXPECT_EQ(computed.Error(), row.error) << row.name;
    }
    // A file that mixes both orders: a date that fits both is refused.
    maker.ReadDates(DateOrder::DayMonthYear, "dos órdenes");
    maker.Compute({"GOMEZ", "DIAZ", "JUAN", "03/04/1975", "H", "DF"}, Missing::Error, computed);
    EXPECT_EQ(computed.Error(), "fecha «03/04/1975» ambigua: dos órdenes");
    maker.Compute({"GOMEZ", "DIAZ", "JUAN", "04/23/1975", "H", "DF"}, Missing::Error, computed);
    EXPECT_EQ(computed.key, "GODJ750423HDFMZN00");
    // One person on the command line gets the window's defaults instead.
    maker.Compute({"GOMEZ", "DIAZ", "JUAN", "1975-04-23", "", ""}, Missing::WindowDefaults,
                  computed);
    EXPECT_EQ(computed.key, "GODJ750423HMZN0");
}

TEST(KeyReport, JsonFieldsAndNulls)
{
    EXPECT_EQ(
        ToJson(ReportOn("godj-750423-h-df-mzn-0-0", Today())),
        R"({"clave":"GODJ750423HDFMZN00","valida":true,"problemas":[],"nacimiento":"1975-04-23",)"
        R"("sexo":"H","entidad":"DF","entidad_nombre":"DISTRITO FEDERAL"})");
    EXPECT_EQ(ToJson(ReportOn("AB\xFF", Today())),
              R"({"clave":"AB)"
              "\xEF\xBF\xBD"
              R"(","valida":false,"problemas":["el texto no es UTF-8 válido"],)"
              R"("nacimiento":null,"sexo":null,"entidad":null,"entidad_nombre":null})");
    KeyMaker maker(Today());
    Computed computed;
    maker.Compute({"GOMEZ", "DIAZ", "JUAN", "23/04/1975", "", ""}, Missing::WindowDefaults,
                  computed);
    EXPECT_EQ(
        ToJson(computed),
        R"({"clave":"GODJ750423HMZN0","valida":false,"problemas":["la clave tiene 15 caracteres y debe tener 18"],)"
        R"("nacimiento":"1975-04-23","sexo":"H","entidad":null,"entidad_nombre":null})");
}

} // namespace
} // namespace curp::cli::test
