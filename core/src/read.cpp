#include "curp/read.h"

#include "given_key.h"

namespace curp {

std::optional<KeyData> ReadKey(std::string_view text) noexcept
{
    const detail::GivenKey key = detail::TakeApart(text);
    if (!key.utf8 || key.length != detail::kKeyLength) {
        return std::nullopt;
    }
    const int century = detail::CenturyOf(key.At(17));
    const char32_t sex = key.At(11);
    const State* state = detail::StateOf(key);
    if (century == 0 || !detail::IsSexLetter(sex) || state == nullptr) {
        return std::nullopt;
    }
    const std::chrono::year_month_day birth = detail::DateOf(key, century);
    if (!birth.ok()) {
        return std::nullopt;
    }
    return KeyData{birth, static_cast<char>(sex), state};
}

} // namespace curp
