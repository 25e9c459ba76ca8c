// The person's data as the command reads it: dates, sex, names, and the
// reasons a row gives no key.
#include "cli_test_support.h"
#include "key_report.h"
#include "person.h"

#include <gtest/gtest.h>

namespace curp::cli::test {
namespace {

using namespace std::chrono;

TEST(BirthDate, FormsAndRefusals)
{
    struct {
        std::string_view text;
        year_month_day date; // ignored when `error` is set
        std::string_view error = {};
    } const rows[] = {
        {"1975-04-23", 1975y / April / 23},
        {"23/04/1975", 1975y / April / 23},
        {"3/4/1975", 1975y / April / 3},
        {"1975-4-3", 1975y / April / 3},
        {"23-04-1975", 1975y / April / 23},
        {"23.04.1975", 1975y / April / 23},
        {" 2000-02-29\t", 2000y / February / 29},
        {"1601-01-01", 1601y / January / 1},
        {"9999-12-31", 9999y / December / 31},
        {"31/04/1990", {}, "la fecha «31/04/1990» no existe"},
        {"1900-02-29", {}, "la fecha «1900-02-29» no existe"},
        {"2023-13-01", {}, "la fecha «2023-13-01» no existe"},
        {"23/04/75",
         {},
         "año de dos cifras en «23/04/75»: escriba el año completo, con cuatro cifras"},
        {"1600-12-31", {}, "año fuera de 1601 a 9999 en «1600-12-31»"},
        {"", {}, "falta la fecha de nacimiento"},
        {"04/23/1975 00:00",
         {},
         "fecha «04/23/1975 00:00» no reconocida: se espera AAAA-MM-DD o DD/MM/AAAA"},
        {"1975/04-23", {}, "fecha «1975/04-23» no reconocida: se espera AAAA-MM-DD o DD/MM/AAAA"},
        {"19750423", {}, "fecha «19750423» no reconocida: se espera AAAA-MM-DD o DD/MM/AAAA"},
        {"123/04/1975", {}, "fecha «123/04/1975» no reconocida: se espera AAAA-MM-DD o DD/MM/AAAA"},
    };
    for (const auto& row : rows) {
        std::string error;
        const year_month_day date = ParseBirthDate(row.text, error);
        EXPECT_EQ(error, row.error) << row.text;
        if (row.error.empty()) {
            EXPECT_EQ(date, row.date) << row.text;
        }
    }
}

TEST(Sex, LettersAndSpreadsheetWords)
{
    const std::pair<std::string_view, char> rows[] = {
        {"H", 'H'},     {"h", 'H'},        {"Hombre", 'H'}, {" MASCULINO ", 'H'}, {"M", 'M'},
        {"mujer", 'M'}, {"Femenino", 'M'}, {"F", 'M'},      {"x", 'X'},           {"", 0},
        {"Q", 0},       {"masculinos", 0}, {"Mujeres", 0}};
    for (const auto& [text, sex] : rows) {
        EXPECT_EQ(ParseSex(text), sex) << text;
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
         "falta el nombre; la fecha «31/04/1990» no existe; falta el sexo; falta la entidad"},
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
    KeyMaker maker;
    Computed computed;
    for (const auto& row : rows) {
        maker.Compute(row.person, Missing::Error, computed);
        EXPECT_EQ(computed.key, row.key) << row.name;
        EXPECT_EQ(computed.error, row.error) << row.name;
    }
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
    KeyMaker maker;
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
