// Whole files through `curp calcula --csv` and `curp valida --csv`: rows keep
// their place and fields, results go into their own columns.
#include "cli_test_support.h"

#include "curp/calc_clave.h"

#include <gtest/gtest.h>

#include <random>

namespace curp::cli::test {
namespace {

constexpr std::string_view kHeader = "paterno,materno,nombre,nacimiento,sexo,entidad";

// Rows of a table, fields in reading order rather than by size.
// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding)
struct FileRow {
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    std::string_view input;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    std::string_view output;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    Status status;
    std::string_view err = {}; // expected in the messages
    CsvChoices choices = {};
};

void PrintTo(const FileRow& row, std::ostream* os)
{
    *os << row.name;
}

class CalculaRows : public ::testing::TestWithParam<FileRow>
{};

TEST_P(CalculaRows, AddsTheKeyToEachRow)
{
    const CsvResult result = RunOn(CalculaCsv, GetParam().input, GetParam().choices);
    EXPECT_EQ(result.out, GetParam().output);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_NE(result.err.find(GetParam().err), std::string::npos) << result.err;
    if (GetParam().err.empty()) { // nothing but the summary
        EXPECT_TRUE(result.err.starts_with("curp: f.csv: resumen: ")) << result.err;
    }
}

// clang-format off
const FileRow kCalculaRows[] = {
    {"KeyAndColumnsAdded",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGomez,Diaz,Juan,1975-04-23,H,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\nGomez,Diaz,Juan,1975-04-23,H,DF,GODJ750423HDFMZN00,,\n",
     kAllRows},
    {"HeaderInAnotherOrderAndCase",
     "id, NOMBRE ,Entidad,SEXO,Nacimiento,Materno,PATERNO,nota\r\n7,Juan,df,h,23/04/1975,Diaz,Gomez,\"a, b\"\r\n",
     "id, NOMBRE ,Entidad,SEXO,Nacimiento,Materno,PATERNO,nota,curp_calculada,error,aviso\r\n7,Juan,df,h,23/04/1975,Diaz,Gomez,\"a, b\",GODJ750423HDFMZN00,,\r\n",
     kAllRows},
    {"GivenKeyComparedOnItsFirst16",
     "curp,paterno,materno,nombre,nacimiento,sexo,entidad\n"
     "godj-750423-h-df-mzn-a-7,GOMEZ,DIAZ,JUAN,1975-04-23,H,DF\n"
     "GODJ750423HDFMZX00,GOMEZ,DIAZ,JUAN,1975-04-23,H,DF\n"
     ",GOMEZ,DIAZ,JUAN,1975-04-23,H,DF\n",
     "curp,paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,coincide,error,aviso\n"
     "godj-750423-h-df-mzn-a-7,GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,si,,\n"
     "GODJ750423HDFMZX00,GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,no,,\n"
     ",GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,,\n",
     kAllRows},
    {"ErrorRowKeepsItsPlaceAndLine",
     "paterno,materno,nombre,nacimiento,sexo,entidad,nota\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,\"dos\nlíneas\"\n"
     "GOMEZ,DIAZ,JUAN,31/04/1990,H,DF,\n"
     "PEREZ,,ANA,1980-01-01,M,NE,\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,nota,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,\"dos\nlíneas\",GODJ750423HDFMZN00,,\n"
     "GOMEZ,DIAZ,JUAN,31/04/1990,H,DF,,,la fecha «31/04/1990» no existe: abril tiene 30 días,\n"
     "PEREZ,,ANA,1980-01-01,M,NE,,PEXA800101MNERXN02,,\n",
     kSomeRows, "curp: f.csv:4: la fecha «31/04/1990» no existe: abril tiene 30 días\n"},
    {"InvalidUtf8OnlyInItsRowOfAUtf8File",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,José,1975-04-23,H,DF\nG\xF3mez,DIAZ,JUAN,1975-04-23,H,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,José,1975-04-23,H,DF,GODJ750423HDFMZS02,,\n"
     "G\xF3mez,DIAZ,JUAN,1975-04-23,H,DF,,texto que no es UTF-8 válido en paterno,\n",
     kSomeRows, "f.csv:3: texto que no es UTF-8 válido en paterno"},
    {"Utf8ChosenForAFileThatIsNot",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nG\xF3mez,DIAZ,JUAN,1975-04-23,H,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "G\xF3mez,DIAZ,JUAN,1975-04-23,H,DF,,texto que no es UTF-8 válido en paterno,\n",
     kSomeRows, "leído como UTF-8 (--codificacion)", {.encoding = Encoding::Utf8, .separator = std::nullopt}},
    // The forms spreadsheets save: Windows-1252, written back in Windows-1252
    // (messages too), semicolons, tabs, and the headers people write.
    {"Windows1252InAndOut",
     "paterno,materno,nombre,nacimiento,sexo,entidad\r\nGOMEZ,DIAZ,Juan Jos\xE9,1975-04-23,H,DF\r\n"
     "PEREZ,,Ana,31/04/1990,M,NE\r\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\r\n"
     "GOMEZ,DIAZ,Juan Jos\xE9,1975-04-23,H,DF,GODJ750423HDFMZN00,,\r\n"
     "PEREZ,,Ana,31/04/1990,M,NE,,la fecha \xAB" "31/04/1990\xBB no existe: abril tiene 30 d\xED" "as,\r\n",
     kSomeRows, "f.csv: el archivo no es UTF-8 (línea 2: «Juan José»): se lee como Windows-1252"},
    {"SemicolonsAndNaturalHeader",
     "\xEF\xBB\xBF" "Apellido Paterno;Apellido Materno;Nombre(s);Fecha de Nacimiento;Sexo;Entidad Federativa\r\n"
     "GOMEZ;DIAZ;JUAN;23/04/1975;H;DF\r\n",
     "\xEF\xBB\xBF" "Apellido Paterno;Apellido Materno;Nombre(s);Fecha de Nacimiento;Sexo;Entidad Federativa;curp_calculada;error;aviso\r\n"
     "GOMEZ;DIAZ;JUAN;23/04/1975;H;DF;GODJ750423HDFMZN00;;\r\n",
     kAllRows},
    {"TabsAndOtherAliases",
     "primer apellido\tsegundo apellido\tNOMBRES\tf. nacimiento\tsexo\testado de nacimiento\n"
     "GOMEZ\tDIAZ\tJUAN\t1975-04-23\tH\tDF\n",
     "primer apellido\tsegundo apellido\tNOMBRES\tf. nacimiento\tsexo\testado de nacimiento\tcurp_calculada\terror\taviso\n"
     "GOMEZ\tDIAZ\tJUAN\t1975-04-23\tH\tDF\tGODJ750423HDFMZN00\t\t\n",
     kAllRows},
    {"HeaderWithAccentsNoBreakSpacesAndDots",
     "Ap. Paterno,Ap.\u00A0Materno,Nómbre,FECHA NACIMIENTO,[Sexo],Lugar de Nacimiento\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF\n",
     "Ap. Paterno,Ap.\u00A0Materno,Nómbre,FECHA NACIMIENTO,[Sexo],Lugar de Nacimiento,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,\n",
     kAllRows},
    {"HeadersOfSheets",
     "1er Apellido,Apellido 2,NOMBRE(S),F. de Nac.,Sexo (H/M),Entidad de Nac.\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF\n",
     "1er Apellido,Apellido 2,NOMBRE(S),F. de Nac.,Sexo (H/M),Entidad de Nac.,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,\n",
     kAllRows},
    {"MoreHeadersOfSheets",
     "APELLIDO 1;2DO APELLIDO;Nombre;FECHA NAC.;GÉNERO;Lugar de Nac.\nGOMEZ;DIAZ;JUAN;1975-04-23;H;DF\n",
     "APELLIDO 1;2DO APELLIDO;Nombre;FECHA NAC.;GÉNERO;Lugar de Nac.;curp_calculada;error;aviso\n"
     "GOMEZ;DIAZ;JUAN;1975-04-23;H;DF;GODJ750423HDFMZN00;;\n",
     kAllRows},
    {"MissingFieldsTakenAsEmpty",
     "paterno,materno,nombre,nacimiento,sexo,entidad,nota\nGOMEZ,DIAZ,JUAN,1975-04-23,H\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,nota,curp_calculada,error,aviso\nGOMEZ,DIAZ,JUAN,1975-04-23,H,,,,falta la entidad,\n",
     kSomeRows, "f.csv:2: falta la entidad"},
    {"ExtraFieldsKeptAfterTheResults",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,,\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,x\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,,,\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23,H,DF,,la fila tiene 7 campos y el encabezado 6,,x\n",
     kSomeRows, "f.csv:3: la fila tiene 7 campos y el encabezado 6"},
    {"OwnOutputReadAgainIsRefilled",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,old,falta algo\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,\n",
     kAllRows},
    {"BlankLinesAndByteOrderMarkKept",
     "\xEF\xBB\xBFpaterno,materno,nombre,nacimiento,sexo,entidad\r\n\r\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF",
     "\xEF\xBB\xBFpaterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\r\n\r\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00,,\r\n",
     kAllRows},
    // The key held '"' and ',' and was quoted: letter positions now hold X.
    {"FieldsWithCommaOrQuoteQuoted",
     "paterno,materno,nombre,nacimiento,sexo,entidad\n\"LO\"\"PEZ\",\"A,B\",ANA,1980-01-01,X,NE\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n\"LO\"\"PEZ\",\"A,B\",ANA,1980-01-01,X,NE,LOAA800101XNEXXN03,,"
     "\"X en lugar de lo que no es una letra en «LO\"\"PEZ»: revise el nombre; X en lugar de lo que no es una letra en «A,B»: revise el nombre\"\n",
     kAllRows},
    // Dates as spreadsheets write them: month first, both orders, two-digit years.
    {"MonthFirstColumn",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,JUAN,04/23/1975,H,DF\nPEREZ,,ANA,01/02/1980,M,NE\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,04/23/1975,H,DF,GODJ750423HDFMZN00,,\nPEREZ,,ANA,01/02/1980,M,NE,PEXA800102MNERXN03,,\n",
     kAllRows, "curp: f.csv: fechas leídas como MM/DD/AAAA (fila 2: 04/23/1975)\n"},
    {"BothOrdersRefuseOnlyAmbiguousDates",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,JUAN,23/04/1975,H,DF\n"
     "GOMEZ,DIAZ,JUAN,04/23/1975,H,DF\nPEREZ,,ANA,03/04/1980,M,NE\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,23/04/1975,H,DF,GODJ750423HDFMZN00,,\nGOMEZ,DIAZ,JUAN,04/23/1975,H,DF,GODJ750423HDFMZN00,,\n"
     "PEREZ,,ANA,03/04/1980,M,NE,,fecha «03/04/1980» ambigua: la columna tiene fechas DD/MM/AAAA y MM/DD/AAAA (--fechas elige),\n",
     kSomeRows, "1 fila: fecha «…» ambigua"},
    // Was MA. JUANA, GODM750423MDFMZX02: MA. counts as MARIA now; GPE. stays a doubt.
    {"ShortYearAndAbbreviatedNameWarned",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,GPE. JUANA,23/04/75,M,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\nGOMEZ,DIAZ,GPE. JUANA,23/04/75,M,DF,GODG750423MDFMZP06,,"
     "\"El nombre lleva GPE., que parece abreviado: el registro usa el nombre completo, y con él la CURP puede ser otra.\"\n",
     kAllRows, "  1 aviso: nombre abreviado: la CURP puede ser otra\n  1 fecha con el año en dos cifras"},
    // Cells as sheets export them, and the sex column read as a whole.
    {"CellsAsSheetsExportThem",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,JUAN,1975-04-23 00:00:00,Masc.,22\n"
     "GOMEZ,DIAZ,ANA,23/04/1975 12:00:00 a. m.,Fem.,9\nGOMEZ,DIAZ,JUAN,19750423,Varón,Veracruz-Llave\n"
     "GOMEZ,DIAZ,JUAN,23/04/1975 10:30,H,EE. UU.\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "GOMEZ,DIAZ,JUAN,1975-04-23 00:00:00,Masc.,22,GODJ750423HQTMZN02,,\n"
     "GOMEZ,DIAZ,ANA,23/04/1975 12:00:00 a. m.,Fem.,9,GODA750423MDFMZN05,,\n"
     "GOMEZ,DIAZ,JUAN,19750423,Varón,Veracruz-Llave,GODJ750423HVZMZN01,,\n"
     "GOMEZ,DIAZ,JUAN,23/04/1975 10:30,H,EE. UU.,,la fecha lleva una hora que no es 0:00: «23/04/1975 10:30»,\n",
     kSomeRows, "f.csv:5: la fecha lleva una hora"},
    {"StateNumberThatLostItsZero",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nGOMEZ,DIAZ,JUAN,1975-04-23,H,9\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\nGOMEZ,DIAZ,JUAN,1975-04-23,H,9,GODJ750423HDFMZN00,,\n",
     kAllRows, "curp: f.csv: la columna entidad tiene números del INEGI sin su cero (fila 2: 9)"},
    {"FmColumnReadAsFemeninoMasculino",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nHERRERA,MARTINEZ,EDUARDO,07/02/2014,M,QT\nLOPEZ,DIAZ,ANA,01/01/1990,F,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "HERRERA,MARTINEZ,EDUARDO,07/02/2014,M,QT,HEME140207HQTRRDA7,,\nLOPEZ,DIAZ,ANA,01/01/1990,F,DF,LODA900101MDFPZN03,,\n",
     kAllRows, "curp: f.csv: sexo leído como F/M: M es masculino (fila 2: M)"},
    {"HmfColumnRefusesOnlyM",
     "paterno,materno,nombre,nacimiento,sexo,entidad\nHERRERA,MARTINEZ,EDUARDO,07/02/2014,M,QT\n"
     "LOPEZ,DIAZ,ANA,01/01/1990,F,DF\nLOPEZ,DIAZ,JUAN,01/01/1990,H,DF\n",
     "paterno,materno,nombre,nacimiento,sexo,entidad,curp_calculada,error,aviso\n"
     "HERRERA,MARTINEZ,EDUARDO,07/02/2014,M,QT,,\"el sexo «M» puede ser mujer o masculino: la columna tiene H, M y F\",\n"
     "LOPEZ,DIAZ,ANA,01/01/1990,F,DF,LODA900101MDFPZN03,,\nLOPEZ,DIAZ,JUAN,01/01/1990,H,DF,LODJ900101HDFPZN08,,\n",
     kSomeRows, "--sexo-hm o --sexo-mf elige"},
    // A header that is not taken: what was found, and what may help.
    {"MissingColumn",
     "paterno,nombre,nacimiento,sexo\nGOMEZ,JUAN,1975-04-23,H\n", "", kUsageError,
     "curp: f.csv: faltan columnas en el encabezado: materno, entidad (se esperan paterno, "
     "materno, nombre, nacimiento, sexo y entidad)\ncurp: f.csv: encabezado leído: «paterno,nombre,nacimiento,sexo»\n"},
    {"ColumnTwiceUnderTwoNames",
     "paterno,materno,nombre,nacimiento,sexo,entidad,Nombre(s)\n", "", kUsageError,
     "la columna «nombre» aparece dos veces en el encabezado (como «nombre» y «Nombre(s)»)"},
    {"SemicolonsReadWithTheCommaChosen",
     "paterno;materno;nombre;nacimiento;sexo;entidad\n", "", kUsageError,
     "el encabezado lleva «;»: si separa las columnas, use --separador ';'", {.encoding = std::nullopt, .separator = ','}},
    {"TitleRowsCopiedAndBlankRowCountedApart",
     "Personas inscritas en 2024;;;;;\n;;;;;\npaterno;materno;nombre;nacimiento;sexo;entidad\n;;;;;\n",
     "Personas inscritas en 2024;;;;;\n;;;;;\npaterno;materno;nombre;nacimiento;sexo;entidad;curp_calculada;error;aviso\n;;;;;;;;\n",
     kAllRows, "f.csv: encabezado en la línea 3; las líneas de encima se copian tal cual\n"
     "curp: f.csv: resumen: 0 filas leídas, 0 claves escritas, 0 filas sin clave\n  1 fila en blanco"},
    {"Utf16", std::string_view("\xFF\xFEp\0a\0t\0", 8), "", kUsageError, "el archivo está en UTF-16"},
    {"Png", std::string_view("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "", kUsageError,
     "el archivo es una imagen PNG, no un CSV"},
    {"EmptyFile", "", "", kUsageError, "el archivo está vacío"},
    {"BlankLinesOnly", "\n\n", "", kUsageError, "no hay fila de encabezado"},
    {"MissingColumnNamesWhatItMayBeCalled",
     "Nombre,Paterno,Materno,Nacido,Sexo,Entidad\n", "", kUsageError,
     "curp: f.csv: columnas del encabezado que no se reconocen: «Nacido»\ncurp: f.csv: nacimiento puede "
     "llamarse «nacimiento», «fecha de nacimiento», «fecha nacimiento», «f. nacimiento», «fecha nac», "},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Csv, CalculaRows, ::testing::ValuesIn(kCalculaRows), RowName{});

TEST(ValidaCsv, ValidityAndProblemsOfTheCurpColumn)
{
    const CsvResult result = RunOn(
        ValidaCsv, "id,CURP\n1,GODJ750423HDFMZN00\n2,GODJ750423HDFMZN01\n3,\n4,GODJ750423HDFAZN09\n"
                   "5,GODJ300101HDFMZNA2\n");
    EXPECT_EQ(result.out,
              "id,CURP,valida,problemas\n"
              "1,GODJ750423HDFMZN00,si,\n"
              "2,GODJ750423HDFMZN01,no,el dígito verificador (posición 18) debería ser 0\n"
              "3,,no,la clave está vacía; debe tener 18 caracteres\n"
              "4,GODJ750423HDFAZN09,no,la posición 14 debe ser una consonante de la B a la Z y "
              "tiene «A» (el registro nunca pone vocales en las posiciones 14 a 16)\n"
              "5,GODJ300101HDFMZNA2,no,las posiciones 5 a 10 dan una fecha de nacimiento "
              "posterior a hoy\n");
    EXPECT_EQ(result.status, kSomeRows);
    EXPECT_TRUE(result.err.starts_with(
        "curp: f.csv:3: clave no válida: el dígito verificador (posición 18) debería ser 0\n"
        "curp: f.csv:4: clave no válida: la clave está vacía; debe tener 18 caracteres\n"))
        << result.err;
    EXPECT_NE(result.err.find("resumen: 5 filas leídas, 1 clave válida, 4 no válidas\n"
                              "  1 fila: el dígito verificador (posición 18) debería ser 0\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(RunOn(ValidaCsv, "clave\nGODJ750423HDFMZN00\n").status, kUsageError);
    EXPECT_EQ(RunOn(ValidaCsv, "curp_calculada\nGODJ750423HDFMZN00\n").out,
              "curp_calculada,valida,problemas\nGODJ750423HDFMZN00,si,\n");
}

// The keys written for a thousand people are Calc_Clave's for the same data.
TEST(CalculaCsv, KeysAreCalcClavesKeys)
{
    const std::string_view surnames[] = {"GOMEZ",
                                         "DE LA ROSA",
                                         "MUÑOZ",
                                         "PEÑA",
                                         "LI",
                                         "O'BRIEN",
                                         "Y LUNA",
                                         "MÉNDEZ",
                                         "",
                                         "MC GREGOR",
                                         "FERNANDEZ DEL CASTILLO",
                                         "ANDRADE"};
    const std::string_view names[] = {"JUAN", "MARIA GUADALUPE", "JOSE", "JOSE MARIA ANA",
                                      "A",    "ÁNGEL",           "GUY"};
    const std::string_view states[] = {"DF", "NE", "MC", "YN", "CS", "QR"};
    std::mt19937 random(12);
    const auto pick = [&random](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(random)];
    };
    std::string input = std::string(kHeader) + "\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        const std::string_view Ap = pick(surnames);
        const std::string_view Am = pick(surnames);
        const std::string_view Nm = pick(names);
        const std::chrono::year_month_day FB{std::chrono::year(1950 + i % 60),
                                             std::chrono::month(1 + i % 12),
                                             std::chrono::day(1 + i % 28)};
        const std::string_view sex = i % 2 == 0 ? "H" : "M";
        const std::string_view state = pick(states);
        std::string key = Calc_Clave(Ap, Am, Nm, FB, sex, state);
        if (key.size() != 18 || key.find_first_of(",\"") != std::string::npos) {
            key.clear(); // incomplete keys are an error of the row
        }
        expected.push_back(key);
        std::array<char, 16> date{};
        std::snprintf(date.data(), date.size(), "%04d-%02u-%02u", static_cast<int>(FB.year()),
                      static_cast<unsigned>(FB.month()), static_cast<unsigned>(FB.day()));
        input.append(Ap).append(",").append(Am).append(",").append(Nm).append(",").append(
            date.data());
        input.append(",").append(sex).append(",").append(state).append("\n");
    }
    const CsvResult result = RunOn(CalculaCsv, input);
    std::istringstream lines(result.out);
    std::string line;
    std::getline(lines, line); // the header
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(std::getline(lines, line));
        // The key is the field after the six inputs (none of them quoted).
        std::size_t start = 0;
        for (int field = 0; field < 6; ++field) {
            start = line.find(',', start) + 1;
        }
        const std::string key = line.substr(start, line.find(',', start) - start);
        if (!expected[i].empty()) {
            EXPECT_EQ(key, expected[i]) << "row " << i + 2 << ": " << line;
        }
    }
    EXPECT_FALSE(std::getline(lines, line)) << "rows added";
}

} // namespace
} // namespace curp::cli::test
