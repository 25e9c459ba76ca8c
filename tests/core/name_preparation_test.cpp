// How the name texts are prepared before letters are taken from them. Each
// row shows the preparation through the key: the initial block (positions
// 1-4) and the internal consonants (positions 14-16) come from the prepared
// texts.
#include "key_test_support.h"

#include <gtest/gtest.h>

namespace curp::test {
namespace {

// clang-format off
const KeyRow kPreparationRows[] = {
    // Names read as the registry writes them: upper case, accents folded but
    // "Ñ", decomposed accents composed, one kind of space, nothing invisible.
    {"AccentsRead",                 U"GÓMEZ",      U"DÍAZ",   U"JUAN",             U"GODJ800101HDFMZN02"},
    {"DecomposedAccentsRead",       U"GO\u0301MEZ", U"DI\u0301AZ", U"JUAN",        U"GODJ800101HDFMZN02"},
    {"InvisibleAndDirectionMarksGo", U"\u202EGOMEZ\u202C", U"DI\u200BAZ", U"\uFEFFJUAN\u200E", U"GODJ800101HDFMZN02"},
    {"DecomposedEnyeIsEnye",        U"MUN\u0303OZ", U"",       U"ANA",              U"MUXA800101HDFXXN09"},
    {"AccentedCompoundNames",       U"HERNANDEZ",  U"LOPEZ",  U"JOSÉ LUIS",        U"HELL800101HDFRPS05"},
    {"NoBreakSpaceInCompoundName",  U"HERNANDEZ",  U"LOPEZ",  U"jose\u00A0luis",   U"HELL800101HDFRPS05"},
    {"MariaDelCarmen",              U"PEREZ",      U"LOPEZ",  U"MARÍA DEL CARMEN", U"PELC800101MJCRPR07",
        kBorn1980, U"M", U"JC"},
    // Was OISJ900615HNEXMH08: a sign before the first inner vowel gives X.
    {"HyphenIsNoLetter",            U"O-BRIEN",    U"SMITH",  U"JOHN",             U"OXSJ900615HNEXMH06",
        1990y / std::chrono::June / 15, U"H", U"NE"},
    {"SharpSStays",                 U"STRAßE",     U"LOPEZ",  U"ANA",              U"SALA800101HDFTPN00"},
    // Particles, in their order, as whole words.
    {"ParticleAtStart",             U"DE LA ROSA", U"LOPEZ",  U"ANA",        U"ROLA800101HDFSPN08"},
    {"ParticlesMCAndY",             U"MC GREGOR",  U"Y LUNA", U"ANA",        U"GELA800101HDFRNN08"},
    // Was PELG800101HDFRPX03: a particle is a whole word, so GUY keeps its Y.
    {"ParticleYEndsAWord",          U"PEREZ",      U"LOPEZ",  U"GUY MARTIN", U"PELG800101HDFRPY00"},
    // Was dXLA800101HDFePN07: names are read in upper case before the particles go.
    {"LowerCaseParticlesGo",        U"de la rosa", U"LOPEZ",  U"ANA",        U"ROLA800101HDFSPN08"},
    // Only the first pass sees a space typed at the end: "DE LOS " goes
    // whole, while "DE LAS " is trimmed before its own pass and loses "DE ".
    {"TrailingSpaceDeLosEmpties",   U"DE LOS ",    U"",       U"JUAN",       U"800101HDFXXN0"},
    {"TrailingSpaceDeLasKeepsLas",  U"DE LAS ",    U"",       U"JUAN",       U"LAXJ800101HDFSXN04"},
    // Compound given names.
    {"JoseDropped",                 U"PEREZ",      U"LOPEZ",  U"JOSE LUIS",          U"PELL800101HDFRPS03"},
    {"JoseAloneKept",               U"PEREZ",      U"LOPEZ",  U"JOSE",               U"PELJ800101HDFRPS03"},
    {"MariaDroppedAfterParticle",   U"PEREZ",      U"LOPEZ",  U"MARIA DE LOURDES",   U"PELL800101HDFRPR06"},
    {"JoseMariaBothDropped",        U"PEREZ",      U"LOPEZ",  U"JOSE MARIA ANTONIO", U"PELA800101HDFRPN06"},
    {"JoseThenMariaAloneKept",      U"PEREZ",      U"LOPEZ",  U"JOSE MARIA",         U"PELM800101HDFRPR01"},
    {"MariaJoseKeepsJose",          U"PEREZ",      U"LOPEZ",  U"MARIA JOSE ANA",     U"PELJ800101HDFRPS03"},
    {"MariaGuadalupe",              U"PEREZ",      U"LOPEZ",  U"MARIA GUADALUPE",    U"PELG800101HDFRPD06"},
    // Apostrophes are deleted, not replaced by a space.
    {"ApostrophesDeleted",          U"O'BRIEN",    U"LOPEZ",  U"D'ARCY",     U"OILD800101HDFBPR01"},
    {"ApostropheOnlySurname",       U"'",          U"",       U"JUAN",       U"800101HDFXXN0"},
    // Missing surnames.
    {"MaternalTakesPaternalPlace",  U"",           U"LOPEZ",  U"PEDRO",      U"LOXP800101HDFPXD09"},
    {"BlankPaternalLikeMissing",    U"   ",        U"LOPEZ",  U"PEDRO",      U"LOXP800101HDFPXD09"},
    {"MissingMaternalIsX",          U"PEREZ",      U"",       U"ANA",        U"PEXA800101HDFRXN06"},
    // Was PEL\t800101HDFRPX08: a tab is read as a space, so the given name is blank.
    {"TabIsBlank",                  U"PEREZ",      U"LOPEZ",  U"\t",         U""},
    // The registry's own rules for words, with keys it published or would give.
    {"IvanKeepsVan",           U"PÉREZ",       U"LÓPEZ",      U"IVÁN ALBERTO",     U"PELI970122HVZRPV06", 1997y / 1 / 22, U"H", U"VZ"},
    {"FidelKeepsDel",          U"CRUZ",        U"FLORES",     U"FIDEL ANTONIO",    U"CUFF800519HSRRLD04", 1980y / 5 / 19, U"H", U"SR"},
    {"AideKeepsDe",            U"RUIZ",        U"SOTO",       U"AIDÉ GUADALUPE",   U"RUSA900302MJCZTD08", 1990y / 3 / 2, U"M", U"JC"},
    {"GuyKeepsY",              U"GUTIÉRREZ",   U"JUÁREZ",     U"GUY MARTIN",       U"GUJG950513HCMTRY09", 1995y / 5 / 13, U"H", U"CM"},
    {"VonOmitted",             U"VON BERTRAB", U"LÓPEZ",      U"JUAN",             U"BELJ700701HDFRPN09", 1970y / 7 / 1},
    {"MacOmitted",             U"RAMÍREZ",     U"MAC GREGOR", U"SANDRA",           U"RAGS950416MGRMRN09", 1995y / 4 / 16, U"M", U"GR"},
    {"DiOmitted",              U"DI COSTANZO", U"CONDE",      U"JAZMÍN",           U"COCJ410218MCSSNZ00", 1941y / 2 / 18, U"M", U"CS"},
    {"MaDotCountsAsMaria",     U"ORTEGA",      U"CASTRO",     U"MA. DEL ROSARIO",  U"OECR880604MOCRSS06", 1988y / 6 / 4, U"M", U"OC"},
    {"JDotCountsAsJose",       U"PACHECO",     U"SANTIAGO",   U"J. ÁNGEL",         U"PASA730709HDFCNN05", 1973y / 7 / 9},
    {"MaCountsAsMaria",        U"SILVA",       U"ÁVILA",      U"MA GUADALUPE",     U"SIAG421124MSPLVD04", 1942y / 11 / 24, U"M", U"SP"},
    {"SlashBeforeVowelIsX",    U"D/AMICO",     U"ALVAREZ",    U"JUAN JOSÉ",        U"DXAJ850210HDFXLN04", 1985y / 2 / 10},
    {"SpaceBeforeVowelIsX",    U"O RELLING",   U"ALVARADO",   U"ROSA GUADALUPE",   U"OXAR970122MVZXLS09", 1997y / 1 / 22, U"M", U"VZ"},
    {"OldParticlesStay",       U"FERNÁNDEZ DEL CASTILLO", U"DE LA ROSA", U"MARÍA DE LOURDES", U"FERL800101MDFRSR00", kBorn1980, U"M"},
    {"ParticleInWordStays",    U"ANDRADE LÓPEZ", U"NAVA",     U"ELSA",             U"AANE660720MMCNVL05", 1966y / 7 / 20, U"M", U"MC"},
    {"RoyKeepsY",              U"LOPEZ",       U"DIAZ",       U"ROY DAVID",        U"LODR800101HDFPZY01"},
    {"RayKeepsY",              U"MORA",        U"SOTO",       U"RAY EDUARDO",      U"MOSR800101HDFRTY01"},
    {"WordEndsLikeParticles",  U"GARCIA",      U"MORALES",    U"CARLOS DANIEL",    U"GAMC800101HDFRRR05"},
    // Each new particle in a surname and in a given name.
    {"DaAndDas",               U"DA SILVA",    U"SOUZA",      U"MARIA DAS DORES",  U"SISD800101HDFLZR01"},
    {"DasAndDer",              U"DAS NEVES",   U"COSTA",      U"JOSE DER ANDRES",  U"NECA800101HDFVSN02"},
    {"VanDerAndDi",            U"VAN DER BERG", U"SMIT",      U"MARIA DI LORETO",  U"BESL800101HDFRMR04"},
    {"DiAndDie",               U"DI CARLO",    U"ROSSI",      U"JOSE DIE GERD",    U"CARG800101HDFRSR07"},
    {"DieAndDd",               U"DIE HOFF",    U"LANG",       U"MARIA DD ELENA",   U"HOLE800101HDFFNL04"},
    {"DdAndEl",                U"DD LUNA",     U"PAZ",        U"MARIA EL ROCIO",   U"LUPR800101HDFNZC05"},
    {"ElAndLa",                U"EL KHOURY",   U"HADDAD",     U"MARIA LA PAZ",     U"KOHP800101HDFHDZ09"},
    {"LaAndLos",               U"LA TORRE",    U"MENA",       U"MARIA LOS ANGELES", U"TOMA800101HDFRNN03"},
    {"LosAndLas",              U"LOS SANTOS",  U"RIOS",       U"MARIA LAS NIEVES", U"SARN800101HDFNSV09"},
    {"LasAndLe",               U"LAS HERAS",   U"GIL",        U"JOSE LE ROY",      U"HEGR800101HDFRLY02"},
    {"LeAndLes",               U"LE BLANC",    U"DUVAL",      U"MARIA LES ANGES",  U"BADA800101HDFLVN03"},
    {"LesAndMac",              U"LES BAUX",    U"ROCHE",      U"JOSE MAC ARTHUR",  U"BARA800101HDFXCR03"},
    {"MacAndVon",              U"MAC GREGOR",  U"FRASER",     U"JOSE VON KARL",    U"GEFK800101HDFRRR09"},
    {"VonAndDa",               U"VON BERTRAB", U"LOPEZ",      U"MARIA DA GLORIA",  U"BELG800101HDFRPL02"},
    // Short forms count as JOSE and MARIA only as the first word, JOSE first.
    {"JCountsAsJose",          U"HERNANDEZ",   U"CRUZ",       U"J JESUS",          U"HECJ800101HDFRRS01"},
    {"MaDelCarmen",            U"LOPEZ",       U"GARCIA",     U"MA DEL CARMEN",    U"LOGC800101HDFPRR06"},
    {"MaDotAloneKept",         U"PEREZ",       U"LOPEZ",      U"MA.",              U"PELM800101HDFRPX03"},
    {"JDotThenMaDot",          U"PEREZ",       U"LOPEZ",      U"J. MA. LUIS",      U"PELL800101HDFRPS03"},
    {"MaDotThenJDotKept",      U"PEREZ",       U"LOPEZ",      U"MA. J. LUIS",      U"PELJ800101HDFRPX08"},
    // A dot before the first inner vowel; an "Ñ" is a letter and the scan goes on.
    {"DotBeforeVowelIsX",      U"D.ANGELO",    U"RUIZ",       U"ANA",              U"DXRA800101HDFXZN08"},
    {"EnyeBeforeVowel",        U"IÑIGUEZ",     U"SOTO",       U"ANA",              U"IISA800101HDFXTN08"},
    // Apostrophes as people type them.
    {"RightQuoteApostrophe",   U"O’FARRILL",   U"LÓPEZ",      U"ANA",              U"OALA800101HDFFPN07"},
    {"ModifierApostrophe",     U"DʼARCY",      U"LUNA",       U"EVA",              U"DALE800101HDFRNV03"},
    {"AcuteAccentApostrophe",  U"O´BRIEN",     U"SMITH",      U"JOHN",             U"OISJ800101HDFBMH02"},
    {"GraveAccentApostrophe",  U"O`NEILL",     U"SMITH",      U"JOHN",             U"OESJ800101HDFNMH00"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(NamePreparation, KeyTable, ::testing::ValuesIn(kPreparationRows),
                         RowName{});

TEST(NamePreparationLongText, ParticlesRepeatedThousandsOfTimesAllGo)
{
    std::u32string surname;
    for (int i = 0; i < 5000; ++i) {
        surname += U"DE ";
    }
    surname += U"LA ROSA";
    EXPECT_EQ(Calc_Clave(surname, U"LOPEZ", U"ANA", kBorn1980, U"H", U"DF"), U"ROLA800101HDFSPN08");
}

} // namespace

std::span<const KeyRow> PreparationRows()
{
    return kPreparationRows;
}

} // namespace curp::test
