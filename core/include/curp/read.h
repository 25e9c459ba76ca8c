// Reading a key back into the data it holds: date of birth, sex and state.
#ifndef CURP_READ_H
#define CURP_READ_H

#include "curp/states.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace curp {

// What a key says about its holder.
struct KeyData {
    // Full year: 19yy when position 17 is a digit, 20yy when it is a letter.
    std::chrono::year_month_day birth;
    char sex = 'H';               // 'H', 'M' or 'X' (position 11)
    const State* state = nullptr; // the catalogue entry of positions 12-13; never null
};

// Reads `text` (normalised as CheckKey does) when it has 18 characters and
// its date (positions 5-10 with the century from position 17), sex and state
// are well-formed. Other problems, a wrong check digit say, do not stop the
// reading: CheckKey tells about them. nullopt otherwise.
std::optional<KeyData> ReadKey(std::string_view text) noexcept;

} // namespace curp

#endif // CURP_READ_H
