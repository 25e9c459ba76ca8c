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
    // Particles, in their order, wherever they stand.
    {"ParticleAtStart",             U"DE LA ROSA", U"LOPEZ",  U"ANA",        U"ROLA800101HDFSPN08"},
    {"ParticlesMCAndY",             U"MC GREGOR",  U"Y LUNA", U"ANA",        U"GELA800101HDFRNN08"},
    {"ParticleYEndsAWord",          U"PEREZ",      U"LOPEZ",  U"GUY MARTIN", U"PELG800101HDFRPX03"},
    {"ParticlesAreCaseSensitive",   U"de la rosa", U"LOPEZ",  U"ANA",        U"dXLA800101HDFePN07"},
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
    // Trim removes U+0020 only: a tab is an ordinary character.
    {"TabIsNotTrimmed",             U"PEREZ",      U"LOPEZ",  U"\t",         U"PEL\t800101HDFRPX08"},
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
