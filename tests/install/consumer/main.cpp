// Computes one known key through each entry of the installed library.
#include <curp/calc_clave.h>

#include <chrono>
#include <cstdio>

int main()
{
    using namespace std::chrono;
    constexpr year_month_day born = 1975y / April / 23;
    const std::string utf8 = curp::Calc_Clave("GOMEZ", "DIAZ", "JUAN", born, "H", "DF");
    const std::u32string utf32 = curp::Calc_Clave(U"GOMEZ", U"DIAZ", U"JUAN", born, U"H", U"DF");
    std::printf("%s\n", utf8.c_str());
    return utf8 == "GODJ750423HDFMZN00" && utf32 == U"GODJ750423HDFMZN00" ? 0 : 1;
}
