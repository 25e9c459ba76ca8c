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

void Replace(std::u32string& text, std::u32string_view find, std::u32string_view with)
{
    const std::u32string_view view = text;
    std::size_t hit = view.find(find);
    if (hit == std::u32string_view::npos) {
        return;
    }
    // Compact in place: what is written never overtakes what is still to be read.
    char32_t* const out = text.data();
    std::size_t write = hit;
    std::size_t read = hit;
    while (hit != std::u32string_view::npos) {
        write = std::copy(out + read, out + hit, out + write) - out;
        write = std::copy(with.begin(), with.end(), out + write) - out;
        read = hit + find.size();
        hit = view.find(find, read);
    }
    write = std::copy(out + read, out + text.size(), out + write) - out;
    text.resize(write);
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
