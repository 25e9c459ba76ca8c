// Prints the character properties the library reads names with, one line for
// each code point that has any: "code upper base space format mark", in hex
// and 0/1. tests/core/unicode_tables_test.py compares them with Python's own
// Unicode Character Database.
#include "key_rules.h"

#include <cstdio>

int main()
{
    using namespace curp::detail;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const char32_t upper = SimpleUpperCase(c);
        const char32_t base = LatinBase(c);
        const bool space = IsWhiteSpace(c);
        const bool format = IsFormatCharacter(c);
        const bool mark = IsCombiningMark(c);
        if (upper != c || base != 0 || space || format || mark) {
            std::printf("%X %X %X %d %d %d\n", static_cast<unsigned>(c),
                        static_cast<unsigned>(upper), static_cast<unsigned>(base),
                        static_cast<int>(space), static_cast<int>(format), static_cast<int>(mark));
        }
    }
}
