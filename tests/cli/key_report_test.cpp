// The command's reports of a key, as JSON.
#include "key_report.h"

#include <gtest/gtest.h>

namespace curp::cli::test {
namespace {

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
    const PersonAnswer answer = AnswerRequest(
        {"GOMEZ", "DIAZ", "JUAN", "23/04/1975", "", ""},
        {.today = Today(), .sexRequired = false, .stateRequired = false, .wholeKeyOnly = false});
    EXPECT_EQ(
        ToJson(answer),
        R"({"clave":"GODJ750423HMZN0","valida":false,"problemas":["la clave tiene 15 caracteres y debe tener 18"],)"
        R"("nacimiento":"1975-04-23","sexo":"H","entidad":null,"entidad_nombre":null})");
}

} // namespace
} // namespace curp::cli::test
