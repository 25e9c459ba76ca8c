#include "curp/calc_clave.h"

#include "key_rules.h"
#include "trace.h"
#include "utf.h"

#include <optional>

namespace curp {
namespace {

// Computes the key from the texts `record` holds, recording every step.
void ComputeRecorded(KeyTrace::Record& record)
{
    if (std::find(record.valid.begin(), record.valid.end(), false) == record.valid.end()) {
        const auto& t = record.texts;
        record.work.Ap.assign(t[0]);
        record.work.Am.assign(t[1]);
        record.work.Nm.assign(t[2]);
        record.seen.Start(record.Views());
        record.key = detail::ComputeKeyOn(record.work, record.FB, t[detail::kSexText],
                                          t[detail::kStateText], record.seen);
    }
    record.complete = true;
}

} // namespace

KeyTrace::KeyTrace() = default;
KeyTrace::~KeyTrace() = default;
KeyTrace::KeyTrace(KeyTrace&&) noexcept = default;
KeyTrace& KeyTrace::operator=(KeyTrace&&) noexcept = default;

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

namespace {

// Restarts `trace` with the five texts, each put into the record by `take`,
// which says whether the text is valid, and computes the key into it.
template <class View, class Take>
KeyTrace::Record& ComputeTraced(const std::array<View, detail::kTextCount>& given,
                                std::chrono::year_month_day FB, KeyTrace& trace, Take take)
{
    KeyTrace::Record& record = detail::TraceWriter::Restart(trace);
    record.FB = FB;
    for (std::size_t i = 0; i < given.size(); ++i) {
        record.valid[i] = take(given[i], record.texts[i]);
    }
    ComputeRecorded(record);
    return record;
}

} // namespace

std::u32string Calc_Clave(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt, KeyTrace& trace) noexcept
{
    try {
        const auto take = [](std::u32string_view text, std::u32string& into) {
            into = text;
            return detail::IsValidUtf32(text);
        };
        return ComputeTraced<std::u32string_view>({Ap, Am, Nm, CveSexo, CveEnt}, FB, trace, take)
            .key;
    } catch (...) { // out of memory: the record stays incomplete
        return {};
    }
}

std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt, KeyTrace& trace) noexcept
{
    try {
        const auto take = [](std::string_view text, std::u32string& into) {
            return detail::DecodeUtf8Into(text, into);
        };
        return detail::EncodeUtf8(
            ComputeTraced<std::string_view>({Ap, Am, Nm, CveSexo, CveEnt}, FB, trace, take).key);
    } catch (...) { // out of memory: the record stays incomplete
        return {};
    }
}

} // namespace curp
