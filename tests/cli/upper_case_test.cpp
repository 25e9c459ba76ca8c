// The command and the window upper-case every character alike, so that the
// same name gives the same key in both.
#include "key_text.h"
#include "person.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

TEST(UpperCase, SameAsTheWindowForEveryCodePoint)
{
    std::size_t differences = 0;
    std::u32string command;
    for (char32_t point = 0; point <= 0x10FFFF; ++point) {
        if (point >= 0xD800 && point <= 0xDFFF) {
            continue; // no text holds a surrogate on its own
        }
        // Between two letters, so that both the ASCII and the decoding path see it.
        const char32_t text[] = {U'a', point, U'b'};
        const QString typed = QString::fromUcs4(text, 3);
        ASSERT_TRUE(curp::cli::UpperName(typed.toStdString(), command))
            << std::hex << static_cast<unsigned>(point);
        if (command != upperCodePoints(typed) && ++differences <= 10) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(point);
        }
    }
    EXPECT_EQ(differences, 0U);
}

} // namespace
