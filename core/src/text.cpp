#include "text.h"

#include <algorithm>

namespace curp::detail {

void Trim(std::u32string& text)
{
    if (text.empty() || (text.front() != U' ' && text.back() != U' ')) {
        return; // the common case: nothing to remove
    }
    const std::u32string_view kept = Trimmed<char32_t>(text, U" ");
    if (kept.empty()) {
        text.clear();
        return;
    }
    const auto start = static_cast<std::size_t>(kept.data() - text.data());
    text.resize(start + kept.size());
    text.erase(0, start);
}

namespace {

// Replace, for the occurrences at which `counts(text, at)` holds; returns how
// many were replaced.
template <class Counts>
std::size_t ReplaceWhere(std::u32string& text, std::u32string_view find, std::u32string_view with,
                         Counts counts)
{
    const std::u32string_view view = text;
    const auto next = [&](std::size_t from) {
        std::size_t hit = view.find(find, from);
        while (hit != std::u32string_view::npos && !counts(view, hit)) {
            hit = view.find(find, hit + 1);
        }
        return hit;
    };
    std::size_t hit = next(0);
    if (hit == std::u32string_view::npos) {
        return 0;
    }
    // Compact in place: what is written never overtakes what is still to be read.
    char32_t* const out = text.data();
    std::size_t write = hit;
    std::size_t read = hit;
    std::size_t replaced = 0;
    while (hit != std::u32string_view::npos) {
        write = std::copy(out + read, out + hit, out + write) - out;
        write = std::copy(with.begin(), with.end(), out + write) - out;
        read = hit + find.size();
        ++replaced;
        hit = next(read);
    }
    write = std::copy(out + read, out + text.size(), out + write) - out;
    text.resize(write);
    return replaced;
}

} // namespace

void Replace(std::u32string& text, std::u32string_view find, std::u32string_view with)
{
    ReplaceWhere(text, find, with, [](std::u32string_view, std::size_t) { return true; });
}

std::size_t ReplaceWords(std::u32string& text, std::u32string_view find, std::u32string_view with)
{
    // The character before an occurrence is read from the text as it was;
    // where a replaced occurrence stood, that is its last character, a space
    // like the one that replaces it.
    return ReplaceWhere(text, find, with, [](std::u32string_view view, std::size_t at) {
        return at == 0 || view[at - 1] == U' ';
    });
}

std::u32string_view CharAt(std::u32string_view text, std::size_t pos) noexcept
{
    return pos >= 1 && pos <= text.size() ? text.substr(pos - 1, 1) : std::u32string_view{};
}

std::u32string_view From(std::u32string_view text, std::size_t pos) noexcept
{
    return pos >= 1 && pos <= text.size() ? text.substr(pos - 1) : std::u32string_view{};
}

} // namespace curp::detail
