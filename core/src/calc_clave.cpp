#include "curp/calc_clave.h"

#include "key_rules.h"
#include "utf.h"

#include <optional>

namespace curp {

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
        return detail::ComputeKey({std::u32string(Ap), std::u32string(Am), std::u32string(Nm)}, FB,
                                  CveSexo, CveEnt);
    } catch (...) { // out of memory: the computation has no other failure
        return {};
    }
}

std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt) noexcept
{
    try {
        auto ap = detail::DecodeUtf8(Ap);
        auto am = detail::DecodeUtf8(Am);
        auto nm = detail::DecodeUtf8(Nm);
        const auto sexo = detail::DecodeUtf8(CveSexo);
        const auto ent = detail::DecodeUtf8(CveEnt);
        if (!ap || !am || !nm || !sexo || !ent) {
            return {};
        }
        return detail::EncodeUtf8(
            detail::ComputeKey({std::move(*ap), std::move(*am), std::move(*nm)}, FB, *sexo, *ent));
    } catch (...) { // out of memory: the computation has no other failure
        return {};
    }
}

} // namespace curp
