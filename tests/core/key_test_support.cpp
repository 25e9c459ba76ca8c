#include "key_test_support.h"

namespace curp::test {

TEST_P(KeyTable, GivesKey)
{
    EXPECT_EQ(KeyOf(GetParam()), GetParam().key);
}

} // namespace curp::test
