#include "curp/calc_clave.h"

#include "key_rules.h"
#include "utf.h"

#include <optional>

namespace curp {
namespace {

// The whole computation on texts already known to be scalar values.
std::u32string ComputeKey(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt)
{
    if (!FB.ok() || !detail::HasNameAndSurname(Ap, Am, Nm)) {
        return {};
    }
    const detail::Names names = detail::PrepareNames(Ap, Am, Nm);
    std::u32string key = detail::ComposeBody(names, FB, CveSexo, CveEnt);
    detail::AppendCheckDigit(key);
    return key;
}

} // namespace

std::u32string Calc_Clave(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt) noexcept
{
    try {
        for (const auto text : {Ap, Am, Nm, CveSexo, CveEnt}) {
            if (!detail::IsValidUtf32(text)) {
                return {};
            }
        }
        return ComputeKey(Ap, Am, Nm, FB, CveSexo, CveEnt);
    } catch (...) { // out of memory: the computation has no other failure
        return {};
    }
}

std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt) noexcept
{
    try {
        std::optional<std::u32string> texts[] = {
            detail::DecodeUtf8(Ap),      detail::DecodeUtf8(Am),     detail::DecodeUtf8(Nm),
            detail::DecodeUtf8(CveSexo), detail::DecodeUtf8(CveEnt),
        };
        for (const auto& text : texts) {
            if (!text) {
                return {};
            }
        }
        return detail::EncodeUtf8(
            ComputeKey(*texts[0], *texts[1], *texts[2], FB, *texts[3], *texts[4]));
    } catch (...) {
        return {};
    }
}

} // namespace curp
