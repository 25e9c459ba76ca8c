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
