#include "text.h"

namespace curp::detail {

void Trim(std::u32string& text)
{
    const auto last = text.find_last_not_of(U' ');
    if (last == std::u32string::npos) {
        text.clear();
        return;
    }
    text.resize(last + 1);
    text.erase(0, text.find_first_not_of(U' '));
}

void Replace(std::u32string& text, std::u32string_view find, std::u32string_view with)
{
    std::size_t hit = std::u32string_view(text).find(find);
    if (hit == std::u32string_view::npos) {
        return; // the common case: nothing to copy
    }
    std::u32string out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (hit != std::u32string_view::npos) {
        out.append(text, done, hit - done);
        out.append(with);
        done = hit + find.size();
        hit = std::u32string_view(text).find(find, done);
    }
    out.append(text, done);
    text = std::move(out);
}

std::u32string_view CharAt(std::u32string_view text, std::size_t pos) noexcept
{
    return pos >= 1 && pos <= text.size() ? text.substr(pos - 1, 1) : std::u32string_view{};
}

std::u32string_view From(std::u32string_view text, std::size_t pos) noexcept
{
    return pos >= 1 && pos <= text.size() ? text.substr(pos - 1) : std::u32string_view{};
}

bool IsVowel(char32_t c) noexcept
{
    return c == U'A' || c == U'E' || c == U'I' || c == U'O' || c == U'U';
}

} // namespace curp::detail
