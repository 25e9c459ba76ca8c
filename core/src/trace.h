// What a KeyTrace holds: the texts one computation was given and its
// working texts after each step, kept for ExplainKey.
#ifndef CURP_TRACE_H
#define CURP_TRACE_H

#include "curp/calc_clave.h"
#include "key_rules.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace curp::detail {

// The five texts of Calc_Clave's arguments, in their order.
inline constexpr std::size_t kTextCount = 5;
inline constexpr std::size_t kNameCount = 3; // Ap, Am, Nm come first
inline constexpr std::size_t kSexText = 3;
inline constexpr std::size_t kStateText = 4;
using Texts = std::array<std::u32string_view, kTextCount>;

constexpr std::size_t Index(NameText which) noexcept
{
    return static_cast<std::size_t>(which);
}

constexpr std::size_t Index(Step step) noexcept
{
    return static_cast<std::size_t>(step);
}

inline constexpr std::size_t kPreparationSteps = Index(Step::SurnamesFilled) + 1;

// The working texts ComputeKey shows while it runs. A name text is kept only
// after a step that changed it, so a name that reading and preparation leave
// alone costs no copy.
class Recorder
{
public:
    // Starts a computation of the names `typed`, which must outlive it.
    void Start(const Texts& typed)
    {
        std::copy_n(typed.begin(), kNameCount, latest_.begin());
    }

    void operator()(Step step, NameText which, std::u32string_view text)
    {
        const std::size_t i = Index(which);
        if (text != latest_[i]) {
            std::u32string& kept = names_[i][Index(step)];
            kept = text;
            latest_[i] = kept;
            changed_[i][Index(step)] = true;
        }
    }

    void operator()(Step step, std::u32string_view body)
    {
        if (step >= Step::BlockPicked && step <= Step::BlockLettersOnly) {
            block[Index(step) - Index(Step::BlockPicked)] = body;
        }
        ends[Index(step)] = body.size();
    }

    // The letters of positions 1-4 and the rule each was taken by.
    void operator()(const BlockLetters& picked) noexcept
    {
        letters = picked;
    }

    // The inner consonant of a name and the rule it was taken by.
    void operator()(NameText which, const Letter& consonant) noexcept
    {
        consonants[Index(which)] = consonant;
    }

    // Forgets a computation, keeping the storage for the next one.
    void Reset() noexcept
    {
        letters = {};
        consonants = {};
        for (std::u32string& text : block) {
            text.clear();
        }
        ends.fill(0);
        for (auto& texts : names_) {
            for (std::u32string& text : texts) {
                text.clear();
            }
        }
        for (auto& changed : changed_) {
            changed.fill(false);
        }
    }

    // The name text as it stood after `after` (as typed before any change).
    std::u32string_view Name(const Texts& typed, NameText which, Step after) const
    {
        const std::size_t i = Index(which);
        for (std::size_t step = Index(after) + 1; step-- > 0;) {
            if (changed_[i][step]) {
                return names_[i][step];
            }
        }
        return typed[i];
    }

    // The first four letters as picked, after the word filter, with letters
    // A-Z only.
    std::array<std::u32string, 3> block;
    // The length of the body after each step of the composition.
    std::array<std::size_t, kStepCount> ends{};
    // Where the letters of positions 1-4 and the inner consonants of Ap, Am
    // and Nm came from.
    BlockLetters letters;
    std::array<Letter, kNameCount> consonants{};

private:
    std::array<std::array<std::u32string, kPreparationSteps>, kNameCount> names_;
    std::array<std::array<bool, kPreparationSteps>, kNameCount> changed_{};
    std::array<std::u32string_view, kNameCount> latest_;
};

} // namespace curp::detail

namespace curp {

struct KeyTrace::Record {
    std::array<std::u32string, detail::kTextCount> texts; // as given, decoded
    std::array<bool, detail::kTextCount> valid{};         // scalar values only (well-formed UTF-8)
    std::chrono::year_month_day FB{};
    detail::Names work; // the working copies of the names, kept for their storage
    detail::Recorder seen;
    std::u32string key;
    bool complete = false; // the computation ran to its end (memory did not run out)

    // Forgets a computation, keeping the storage for the next one.
    void Reset() noexcept
    {
        for (std::u32string& text : texts) {
            text.clear();
        }
        valid.fill(false);
        FB = {};
        seen.Reset();
        key.clear();
        complete = false;
    }

    detail::Texts Views() const
    {
        return {texts[0], texts[1], texts[2], texts[3], texts[4]};
    }
};

namespace detail {

// Gives a computation an empty record in the trace it fills: the one the
// trace holds, emptied (a program that computes key after key reuses its
// storage), or a new one.
struct TraceWriter {
    static KeyTrace::Record& Restart(KeyTrace& trace)
    {
        if (trace.record_) {
            trace.record_->Reset();
        } else {
            trace.record_ = std::make_unique<KeyTrace::Record>();
        }
        return *trace.record_;
    }
};

} // namespace detail
} // namespace curp

#endif // CURP_TRACE_H
