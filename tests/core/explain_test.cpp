// The explanation of a key: its pieces, the facts about the result, and the
// sentences a person reads.
#include "curp/explain.h"
#include "key_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace curp {

// Failures show the key and the sentences rather than bytes.
void PrintTo(const KeyExplanation& explanation, std::ostream* os)
{
    *os << "key \"" << explanation.key << "\"";
    for (const std::string& line : Describe(explanation)) {
        *os << "\n  " << line;
    }
}

namespace test {
namespace {

using namespace std::string_view_literals;
using std::chrono::April;
using std::chrono::February;
using std::chrono::January;
using std::chrono::July;
using std::chrono::June;

// UTF-8 from code points and back, for texts known to be valid.
std::string Utf8(std::u32string_view text)
{
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        constexpr std::array<unsigned, 4> kLead = {0x00, 0xC0, 0xE0, 0xF0};
        const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(kLead[static_cast<std::size_t>(extra)] | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k) {
            out += static_cast<char>(0x80u | ((c >> (6 * k)) & 0x3Fu));
        }
    }
    return out;
}

std::u32string Utf32(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = lead & (0x7Fu >> extra);
        for (int k = 0; k < extra; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
        }
        out += c;
    }
    return out;
}

// One person, the facts expected about their key, and lines the person must
// read among the sentences, in this order.
struct ExplainRow {
    const char* name;
    std::u32string_view Ap, Am, Nm;
    std::chrono::year_month_day FB;
    std::u32string_view CveSexo, CveEnt;
    std::vector<NoteKind> notes;
    std::vector<std::string_view> lines;
};

void PrintTo(const ExplainRow& row, std::ostream* os)
{
    *os << row.name;
}

KeyExplanation ExplainRowKey(const ExplainRow& row)
{
    return ExplainKey(row.Ap, row.Am, row.Nm, row.FB, row.CveSexo, row.CveEnt);
}

class Explain : public ::testing::TestWithParam<ExplainRow>
{};

TEST_P(Explain, GivesFactsAndSentences)
{
    const ExplainRow& row = GetParam();
    const KeyExplanation explained = ExplainRowKey(row);
    std::vector<NoteKind> kinds;
    for (const KeyNote& note : explained.notes) {
        kinds.push_back(note.kind);
    }
    EXPECT_EQ(kinds, row.notes);

    const std::vector<std::string> lines = Describe(explained);
    auto from = lines.begin();
    for (const std::string_view expected : row.lines) {
        const auto found = std::find(from, lines.end(), expected);
        EXPECT_NE(found, lines.end()) << "missing, or out of order: " << expected;
        from = found == lines.end() ? from : found + 1;
    }
}

constexpr auto k1980 = kBorn1980;
constexpr auto kRegistry = NoteKind::RegistryAssigns;
constexpr auto kIncomplete = NoteKind::Incomplete;

// clang-format off
// The sentences changed when names came to be read as the registry writes
// them (accents, spaces, invisible characters) and when each came to start
// with a capital and end with a period.
const ExplainRow kExplainRows[] = {
    {"Typical", U"GOMEZ", U"DIAZ", U"JUAN", k1980, U"H", U"DF", {kRegistry},
     {"GO: G y O de GOMEZ (inicial y primera vocal interna).",
      "D: inicial de DIAZ.",
      "J: inicial de JUAN.",
      "800101: fecha de nacimiento con año, mes y día (aammdd).",
      "H: hombre (Masculino).",
      "DF: entidad de nacimiento (DISTRITO FEDERAL).",
      "MZN: primera consonante interna de GOMEZ, DIAZ y JUAN.",
      "0: el que el registro asigna primero a quien nació antes de 2000 (diferenciador, primer carácter de la homoclave).",
      "2: dígito verificador (segundo carácter de la homoclave).",
      "La homoclave (posiciones 17 y 18) la asigna el registro y puede ser otra; confirme la CURP en www.gob.mx/curp."}},
    // Was the note AccentedLetters: accents are read as their letters.
    {"AccentsReadAsLetters", U"GÓMEZ", U"DÍAZ", U"JUAN", k1980, U"M", U"DF", {kRegistry},
     {"GO: G y O de GOMEZ (inicial y primera vocal interna).",
      "M: mujer (Femenino).",
      "MZN: primera consonante interna de GOMEZ, DIAZ y JUAN.",
      "Ó de GÓMEZ cuenta como O, como en el registro.",
      "Í de DÍAZ cuenta como I, como en el registro."}},
    {"PastedTextRead", U"go\u0301mez", U"DI\u200BAZ", U"JOSE\u00A0LUIS\tMIGUEL", k1980, U"H", U"DF",
     {kRegistry},
     {"O\u0301 de GO\u0301MEZ cuenta como O, como en el registro.",
      "Se quitó un espacio de ancho cero de DIAZ.",
      "El espacio de no separación de JOSE LUIS MIGUEL cuenta como espacio.",
      "El tabulador de JOSE LUIS MIGUEL cuenta como espacio.",
      "JOSE LUIS MIGUEL se toma como LUIS MIGUEL: sin JOSE."}},
    {"YenRepairedAndWordFiltered", U"PE¥A", U"NAVA", U"ELSA", 1966y / July / 20, U"M", U"MC",
     {kRegistry},
     {"P: inicial de PEÑA.",
      "X: en lugar de E (primera vocal interna de PEÑA), porque PENE es una palabra inconveniente.",
      "X: primera consonante interna de PEÑA; la Ñ se escribe X.",
      "PE¥A se toma como PEÑA: ¥ se lee Ñ."}},
    {"FilteredWordAtMaternalInitial", U"MA", U"ESTRADA", U"ONELIA", k1980, U"H", U"DF",
     {kRegistry},
     {"M: inicial de MA.",
      "X: en lugar de E (inicial de ESTRADA), porque MEON es una palabra inconveniente.",
      "ON: O y N de ONELIA (inicial y segunda letra)."}},
    {"EnyeAndNoVowelGiveX", U"PRZ", U"ÑAVA", U"IÑES", k1980, U"H", U"DF", {kRegistry},
     {"X: PRZ no tiene vocal interna.",
      "X: inicial de ÑAVA; la Ñ se escribe X.",
      "X: primera consonante interna de IÑES; la Ñ se escribe X."}},
    // The names shown lost their double spaces.
    // Were "sin partículas": the sentences name the particles omitted.
    {"ParticlesApostropheJoseMaria", U"DE LA O'FARRILL Y MUÑOZ", U"FERNANDEZ DEL CASTILLO",
     U"JOSE MARIA DE LOS ANGELES", k1980, U"M", U"MC", {kRegistry},
     {"OA: O y A de OFARRILL MUÑOZ (inicial y primera vocal interna).",
      "DE LA O'FARRILL Y MUÑOZ se toma como OFARRILL MUÑOZ: se omitieron DE LA y Y (partículas), sin apóstrofos.",
      "FERNANDEZ DEL CASTILLO se toma como FERNANDEZ CASTILLO: se omitió DEL (partícula).",
      "JOSE MARIA DE LOS ANGELES se toma como ANGELES: se omitió DE LOS (partícula), sin JOSE MARIA."}},
    {"JoseDropped", U"PEREZ", U"LOPEZ", U"JOSE LUIS", k1980, U"H", U"DF", {kRegistry},
     {"L: inicial de LUIS.",
      "JOSE LUIS se toma como LUIS: sin JOSE."}},
    // Were the note AbbreviatedName and an X for the dot: MA. counts as MARIA.
    {"AbbreviatedGivenName", U"PEREZ", U"LOPEZ", U"MA. GUADALUPE", k1980, U"M", U"DF",
     {kRegistry},
     {"RPD: primera consonante interna de PEREZ, LOPEZ y GUADALUPE.",
      "MA. GUADALUPE se toma como GUADALUPE: MA. cuenta como MARÍA, como en el registro."}},
    {"OtherAbbreviationsStayDoubts", U"PEREZ", U"LOPEZ", U"J. MA. FCO. JAVIER", k1980, U"H", U"DF",
     {NoteKind::AbbreviatedName, kRegistry},
     {"J. MA. FCO. JAVIER se toma como FCO. JAVIER: J. cuenta como JOSÉ y MA. como MARÍA, como en el registro.",
      "El nombre lleva FCO., que parece abreviado: el registro usa el nombre completo, y con él la CURP puede ser otra."}},
    {"SignAndSpaceBeforeTheVowel", U"D/AMICO", U"O RELLING", U"O’FARRILL", k1980, U"H", U"DF",
     {kRegistry},
     {"«/» tras la primera letra de D/AMICO: X, como en el registro.",
      "’ de O’FARRILL cuenta como apóstrofo."}},
    {"SpaceBeforeTheVowel", U"O RELLING", U"VON BERTRAB", U"ROSA", k1980, U"M", U"DF", {kRegistry},
     {"Un espacio tras la primera letra de O RELLING: X, como en el registro.",
      "VON BERTRAB se toma como BERTRAB: se omitió VON (partícula)."}},
    {"MissingMaternalIsX", U"MUÑOZ", U"", U"ANA", k1980, U"M", U"DF", {kRegistry},
     {"X: sin apellido materno.",
      "X: primera consonante interna de MUÑOZ; la Ñ se escribe X.",
      "X: sin apellido materno."}},
    {"MaternalTakesPaternalPlace", U"", U"LOPEZ", U"PEDRO", k1980, U"H", U"DF",
     {NoteKind::SurnameMoved, kRegistry},
     {"LO: L y O de LOPEZ (inicial y primera vocal interna).",
      "X: sin apellido materno.",
      "Sin apellido paterno: el materno, LOPEZ, ocupa su lugar."}},
    {"ShortSurname", U"LI", U"WONG", U"ANA", k1980, U"M", U"DF", {kRegistry},
     {"L: inicial de LI.",
      "W: inicial de WONG.",
      "AN: A y N de ANA (inicial y segunda letra).",
      "X: LI tiene menos de tres letras."}},
    {"ShortSurnameOneLetterName", U"LI", U"WONG", U"A", 1990y / June / 15, U"M", U"NE",
     {NoteKind::GivenNameTooShort, kIncomplete, kRegistry},
     {"El nombre tiene una sola letra: falta la cuarta letra.",
      "La CURP queda incompleta y sin dígito verificador."}},
    {"InnerConsonantRules", U"LA O", U"OIA", U"AL", k1980, U"H", U"DF", {kRegistry},
     // Was "X: LA O no tiene consonante interna en su primera palabra.": LA is a particle.
     {"X: O tiene menos de tres letras.",
      "X: OIA no tiene consonante interna.",
      "X: AL tiene menos de tres letras."}},
    // Was the note Born2000OrLater: position 17 is "A" from 2000 on.
    {"Born2005", U"GOMEZ", U"DIAZ", U"JUAN", 2005y / January / 1, U"H", U"DF", {kRegistry},
     {"050101: fecha de nacimiento con año, mes y día (aammdd).",
      "A: la que el registro asigna primero a quien nació desde 2000 (diferenciador, primer carácter de la homoclave)."}},
    {"NoState", U"GOMEZ", U"DIAZ", U"JUAN", k1980, U"H", U"",
     {NoteKind::NoState, kIncomplete, kRegistry},
     {"Elija la entidad de nacimiento.",
      "La CURP queda incompleta y sin dígito verificador."}},
    {"UnknownSexAndState", U"GOMEZ", U"DIAZ", U"JUAN", k1980, U"F", U"XX",
     {NoteKind::UnknownSex, NoteKind::UnknownState, kRegistry},
     {"El sexo se escribe H, M o X, no F.",
      "La entidad XX no está en el catálogo."}},
    {"NoSex", U"GOMEZ", U"DIAZ", U"JUAN", k1980, U"", U"DF",
     {NoteKind::NoSex, kIncomplete, kRegistry},
     {"Elija el sexo."}},
    {"NonBinaryXIsKnown", U"GOMEZ", U"DIAZ", U"JUAN", k1980, U"X", U"NE", {kRegistry},
     {"X: no binario."}},
    // Was the note OtherCharacters with "-": a hyphen at position 14 is now "X".
    {"OtherCharactersNamed", U"AE-LUNA", U"LOPEZ", U"ANA", k1980, U"H", U"df",
     {NoteKind::OtherCharacters, NoteKind::UnknownState, kRegistry},
     {"X: en lugar de «-» (primera consonante interna de AE-LUNA), porque ahí solo van letras de la A a la Z.",
      "La CURP solo lleva letras de la A a la Z y dígitos, y esta lleva d y f."}},
    // Was the note OtherCharacters with "U+0009": the state's characters are named in words.
    {"OtherScriptsInWords", U"LI", U"WONG", U"ANA", k1980, U"H", U"\u0645\t",
     {NoteKind::OtherCharacters, NoteKind::UnknownState, kRegistry},
     {"La CURP solo lleva letras de la A a la Z y dígitos, y esta lleva caracteres de control y letras o signos de otro alfabeto."}},
    // Was the note OtherCharacters with "espacio": a space at position 4 is now "X".
    {"SpaceNamed", U"LI", U"WONG", U"A B", k1980, U"H", U"DF", {kRegistry},
     {"X: en lugar de un espacio (segunda letra de A B), porque ahí solo van letras de la A a la Z."}},
    {"SurnamesEmptied", U"'", U"", U"JUAN", k1980, U"H", U"DF",
     {NoteKind::SurnamesEmptied, kIncomplete, kRegistry},
     {"X: el apellido paterno queda vacío.",
      "' queda vacío: sin apóstrofos.",
      "Los apellidos quedan vacíos sin partículas ni apóstrofos: faltan las cuatro primeras letras."}},
    {"GivenNameEmptied", U"PEREZ", U"LOPEZ", U"DE LOS ", k1980, U"H", U"DF",
     {NoteKind::GivenNameEmptied, kIncomplete, kRegistry},
     {"X: el nombre queda vacío.",
      // Was "DE LOS queda vacío: sin partículas.".
      "DE LOS queda vacío: se omitió DE LOS (partícula)."}},
    // No key: every reason found, and nothing else but the registry note.
    {"EmptyNoGivenName", U"GOMEZ", U"DIAZ", U" \u00A0\u200B", k1980, U"H", U"DF",
     {NoteKind::NoGivenName, kRegistry},
     {"Sin CURP: falta el nombre."}},
    {"EmptyNoSurname", U"", U" ", U"JUAN", k1980, U"H", U"DF",
     {NoteKind::NoSurname, kRegistry},
     {"Sin CURP: falta al menos un apellido."}},
    {"EmptyInvalidDate", U"GOMEZ", U"DIAZ", U"JUAN", 2023y / February / 29, U"H", U"DF",
     {NoteKind::InvalidDate, kRegistry},
     {"Sin CURP: la fecha de nacimiento no existe."}},
    {"EmptyEveryReason", U"", U"", U"", 1980y / April / 31, U"H", U"DF",
     {NoteKind::InvalidDate, NoteKind::NoGivenName, NoteKind::NoSurname, kRegistry},
     {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, Explain, ::testing::ValuesIn(kExplainRows), RowName{});

// Where each piece comes from, when the maternal surname stands in for a
// missing paternal one.
TEST(ExplainPieces, SayWhichInputAndCharacter)
{
    const KeyExplanation explained = ExplainKey(U"", U"LOPEZ", U"PEDRO", kBorn1980, U"H", U"DF");
    using K = PieceKind;
    using R = PieceRule;
    using I = KeyInput;
    const std::vector<KeyPiece> expected = {
        {K::PaternalInitial, R::Taken, "L", I::Am, "LOPEZ", 1},
        {K::PaternalVowel, R::Taken, "O", I::Am, "LOPEZ", 2},
        {K::MaternalInitial, R::MissingSurname, "X", I::Am},
        {K::GivenInitial, R::Taken, "P", I::Nm, "PEDRO", 1},
        {K::BirthDate, R::FromInput, "800101", I::FB},
        {K::Sex, R::FromInput, "H", I::CveSexo},
        {K::State, R::FromInput, "DF", I::CveEnt},
        {K::PaternalConsonant, R::Taken, "P", I::Am, "LOPEZ", 3},
        {K::MaternalConsonant, R::MissingSurname, "X", I::Am},
        {K::GivenConsonant, R::Taken, "D", I::Nm, "PEDRO", 3},
        {K::Differentiator, R::FirstAssigned, "0", I::None},
        {K::CheckDigit, R::Computed, "9", I::None},
    };
    EXPECT_EQ(explained.pieces, expected);
    EXPECT_EQ(explained.key, "LOXP800101HDFPXD09");
}

TEST(ExplainPieces, FilteredWordAndReplacedEnyeKeepTheirPlace)
{
    const KeyExplanation explained = ExplainKey(U"PE¥A", U"NAVA", U"ELSA", kBorn1980, U"M", U"MC");
    ASSERT_GE(explained.pieces.size(), 9u);
    EXPECT_EQ(explained.pieces[1], (KeyPiece{PieceKind::PaternalVowel, PieceRule::InconvenientWord,
                                             "X", KeyInput::Ap, "PEÑA", 2, "PENE"}));
    EXPECT_EQ(explained.pieces[7], (KeyPiece{PieceKind::PaternalConsonant, PieceRule::EnyeIsX, "X",
                                             KeyInput::Ap, "PEÑA", 3}));
}

TEST(ExplainNames, SayWhatReadingAndPreparationDid)
{
    const KeyExplanation explained = ExplainKey(
        U"DE LA O'FARRILL", U"pé¥a", U"JOSE\u00A0MARIA ANA\u200B", kBorn1980, U"H", U"DF");
    using R = ReadAs;
    const std::vector<PreparedName> expected = {
        {KeyInput::Ap,
         "DE LA O'FARRILL",
         "DE LA O'FARRILL",
         "DE LA O'FARRILL",
         {},
         "OFARRILL",
         false,
         true,
         "",
         true,
         {"DE LA"}}, // the particles omitted are now listed
        {KeyInput::Am,
         "pé¥a",
         "PÉ¥A",
         "PE¥A",
         {{R::BaseLetter, "É", "E"}},
         "PEÑA",
         true,
         false,
         "",
         false},
        {KeyInput::Nm,
         "JOSE\u00A0MARIA ANA\u200B",
         "JOSE MARIA ANA",
         "JOSE MARIA ANA",
         {{R::Space, "\u00A0", " "}, {R::Removed, "\u200B", ""}},
         "ANA",
         false,
         false,
         "JOSE MARIA",
         false},
    };
    EXPECT_EQ(explained.names, expected);
}

// A text that is not valid Unicode, in each argument of either entry.
TEST(ExplainRefusal, NamesTheInvalidText)
{
    const struct {
        KeyInput input;
        std::string_view sentence;
    } inputs[] = {
        {KeyInput::Ap, "Sin CURP: el apellido paterno no es texto válido."},
        {KeyInput::Am, "Sin CURP: el apellido materno no es texto válido."},
        {KeyInput::Nm, "Sin CURP: el nombre no es texto válido."},
        {KeyInput::CveSexo, "Sin CURP: el sexo no es texto válido."},
        {KeyInput::CveEnt, "Sin CURP: la entidad no es texto válido."},
    };
    for (std::size_t arg = 0; arg < std::size(inputs); ++arg) {
        std::array<std::string, 5> utf8 = {"GOMEZ", "DIAZ", "JUAN", "H", "DF"};
        std::array<std::u32string, 5> utf32 = {U"GOMEZ", U"DIAZ", U"JUAN", U"H", U"DF"};
        utf8[arg] += "\xC3";
        utf32[arg] += char32_t{0xD800};
        const KeyExplanation fromUtf8 =
            ExplainKey(utf8[0], utf8[1], utf8[2], kBorn1980, utf8[3], utf8[4]);
        const KeyExplanation fromUtf32 =
            ExplainKey(utf32[0], utf32[1], utf32[2], kBorn1980, utf32[3], utf32[4]);
        const std::vector<KeyNote> expected = {{NoteKind::InvalidText, inputs[arg].input},
                                               {NoteKind::RegistryAssigns}};
        EXPECT_EQ(fromUtf8.notes, expected) << "argument " << arg;
        EXPECT_EQ(Describe(fromUtf8).front(), inputs[arg].sentence);
        EXPECT_EQ(fromUtf32, fromUtf8) << "argument " << arg;
        EXPECT_TRUE(fromUtf8.key.empty() && fromUtf8.pieces.empty());
    }
}

// Whether the window may present the key as one the registry could hold.
TEST(CouldBeRegistryKey, OnlyForEighteenKeyCharactersFromKnownData)
{
    const struct {
        const char* why;
        std::u32string_view Ap, CveSexo, CveEnt;
        std::chrono::year_month_day FB;
        bool could;
    } rows[] = {
        {"typical", U"GOMEZ", U"H", U"DF", k1980, true},
        {"non-binary", U"GOMEZ", U"X", U"NE", k1980, true},
        // These two were false: accents are read as letters, and 2000 gives "A".
        {"accent", U"GÓMEZ", U"H", U"DF", k1980, true},
        {"born 2000", U"GOMEZ", U"H", U"DF", 2000y / January / 1, true},
        {"no state", U"GOMEZ", U"H", U"", k1980, false},
        {"lower-case state", U"GOMEZ", U"H", U"df", k1980, false},
        {"state not in the catalogue", U"GOMEZ", U"H", U"ZZ", k1980, false},
        {"sex F", U"GOMEZ", U"F", U"DF", k1980, false},
        {"no sex, three-letter state", U"GOMEZ", U"", U"DFX", k1980, false},
        {"no key", U"", U"H", U"DF", k1980, false},
        {"a digit where a letter goes", U"3OMEZ", U"H", U"DF", k1980, false},
    };
    for (const auto& row : rows) {
        const KeyExplanation explained = ExplainKey(row.Ap, U"DIAZ", row.Ap.empty() ? U"" : U"JUAN",
                                                    row.FB, row.CveSexo, row.CveEnt);
        EXPECT_EQ(CouldBeRegistryKey(explained), row.could) << row.why;
    }
}

// What must hold for every person of the key tables: the explanation gives
// exactly Calc_Clave's key, through either entry, and each piece names
// truly where its characters stand.
TEST(ExplainInvariants, HoldOnEveryKeyTableRow)
{
    std::vector<KeyRow> rows(PreparationRows().begin(), PreparationRows().end());
    rows.insert(rows.end(), CompositionRows().begin(), CompositionRows().end());
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        const KeyExplanation explained =
            ExplainKey(row.Ap, row.Am, row.Nm, row.FB, row.CveSexo, row.CveEnt);
        const std::string key = Calc_Clave(Utf8(row.Ap), Utf8(row.Am), Utf8(row.Nm), row.FB,
                                           Utf8(row.CveSexo), Utf8(row.CveEnt));
        EXPECT_EQ(explained.key, key);
        KeyTrace trace; // the window's way: one computation, explained from its trace
        EXPECT_EQ(Utf8(Calc_Clave(row.Ap, row.Am, row.Nm, row.FB, row.CveSexo, row.CveEnt, trace)),
                  key);
        EXPECT_EQ(ExplainKey(trace), explained);
        EXPECT_EQ(ExplainKey(Utf8(row.Ap), Utf8(row.Am), Utf8(row.Nm), row.FB, Utf8(row.CveSexo),
                             Utf8(row.CveEnt)),
                  explained);

        std::string joined;
        for (std::size_t i = 0; i < explained.pieces.size(); ++i) {
            const KeyPiece& piece = explained.pieces[i];
            joined += piece.characters;
            if (i > 0) {
                EXPECT_LT(explained.pieces[i - 1].kind, piece.kind) << "pieces out of key order";
            }
            const std::u32string source = Utf32(piece.source);
            const std::u32string_view at =
                piece.position == 0 || piece.position > source.size()
                    ? std::u32string_view()
                    : std::u32string_view(source).substr(piece.position - 1, 1);
            if (piece.rule == PieceRule::Taken && !piece.source.empty()) {
                EXPECT_EQ(Utf8(at), piece.characters) << "piece " << i;
            }
            if (piece.rule == PieceRule::EnyeIsX) {
                EXPECT_EQ(at, U"Ñ") << "piece " << i;
            }
        }
        EXPECT_EQ(joined, explained.key);
    }
}

} // namespace
} // namespace test
} // namespace curp
