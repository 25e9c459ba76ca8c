#include "curp/states.h"

#include "utf.h"

#include <algorithm>
#include <array>

namespace curp {
namespace {

// clang-format off
constexpr std::array<State, 33> kStates{{
    {"AS", "AGUASCALIENTES"},
    {"BC", "BAJA CALIFORNIA"},
    {"BS", "BAJA CALIFORNIA SUR"},
    {"CC", "CAMPECHE"},
    {"CS", "CHIAPAS"},
    {"CH", "CHIHUAHUA"},
    {"CL", "COAHUILA"},
    {"CM", "COLIMA"},
    {"DF", "DISTRITO FEDERAL"},
    {"DG", "DURANGO"},
    {"GT", "GUANAJUATO"},
    {"GR", "GUERRERO"},
    {"HG", "HIDALGO"},
    {"JC", "JALISCO"},
    {"MC", "MÉXICO"},
    {"MN", "MICHOACÁN"},
    {"MS", "MORELOS"},
    {"NT", "NAYARIT"},
    {"NL", "NUEVO LEON"},
    {"OC", "OAXACA"},
    {"PL", "PUEBLA"},
    {"QT", "QUERETARO"},
    {"QR", "QUINTANA ROO"},
    {"SP", "SAN LUIS POTOSI"},
    {"SL", "SINALOA"},
    {"SR", "SONORA"},
    {"TC", "TABASCO"},
    {"TS", "TAMAULIPAS"},
    {"TL", "TLAXCALA"},
    {"VZ", "VERACRUZ"},
    {"YN", "YUCATÁN"},
    {"ZS", "ZACATECAS"},
    {"NE", "EXTRANJERO"},
}};
// clang-format on

// Every name a state is known by, folded for comparison (see FoldForSearch),
// in list order: its catalogue name, then any other. The Federal District
// became Mexico City in 2016 and people call it so; its code stayed DF.
struct KnownName {
    std::string_view code;
    std::string_view folded;
};
// clang-format off
constexpr std::array<KnownName, 35> kKnownNames{{
    {"AS", "AGUASCALIENTES"},   {"BC", "BAJA CALIFORNIA"}, {"BS", "BAJA CALIFORNIA SUR"},
    {"CC", "CAMPECHE"},         {"CS", "CHIAPAS"},         {"CH", "CHIHUAHUA"},
    {"CL", "COAHUILA"},         {"CM", "COLIMA"},          {"DF", "DISTRITO FEDERAL"},
    {"DF", "CIUDAD DE MEXICO"}, {"DF", "CDMX"},            {"DG", "DURANGO"},
    {"GT", "GUANAJUATO"},       {"GR", "GUERRERO"},        {"HG", "HIDALGO"},
    {"JC", "JALISCO"},          {"MC", "MEXICO"},          {"MN", "MICHOACAN"},
    {"MS", "MORELOS"},          {"NT", "NAYARIT"},         {"NL", "NUEVO LEON"},
    {"OC", "OAXACA"},           {"PL", "PUEBLA"},          {"QT", "QUERETARO"},
    {"QR", "QUINTANA ROO"},     {"SP", "SAN LUIS POTOSI"}, {"SL", "SINALOA"},
    {"SR", "SONORA"},           {"TC", "TABASCO"},         {"TS", "TAMAULIPAS"},
    {"TL", "TLAXCALA"},         {"VZ", "VERACRUZ"},        {"YN", "YUCATAN"},
    {"ZS", "ZACATECAS"},        {"NE", "EXTRANJERO"},
}};
// clang-format on

// Base letters of U+00C0..U+00FF, upper case; '\0' where the character is no
// letter with a mark to remove (×, ÷, Æ, Ð, Þ, ß, ...), which then stays.
using namespace std::string_view_literals;
constexpr std::string_view kLatin1Base = "AAAAAA\0CEEEEIIII\0NOOOOO\0\0UUUUY\0\0"
                                         "AAAAAA\0CEEEEIIII\0NOOOOO\0\0UUUUY\0Y"sv;
static_assert(kLatin1Base.size() == 0x40);

constexpr bool IsCombiningMark(char32_t c) noexcept
{
    return c >= 0x0300 && c <= 0x036F;
}

void Fold(char32_t c, std::string& out)
{
    if (c >= U'a' && c <= U'z') {
        out.push_back(static_cast<char>(c - U'a' + U'A'));
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c >= 0xC0 && c <= 0xFF && kLatin1Base[c - 0xC0] != '\0') {
        out.push_back(kLatin1Base[c - 0xC0]);
    } else if (!IsCombiningMark(c)) {
        out += detail::EncodeUtf8(std::u32string_view(&c, 1));
    }
}

// Blanks around the words dropped and runs of blanks made one space.
std::string SquashBlanks(std::string_view text)
{
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank) {
            out.push_back(' ');
            blank = false;
        }
        out.push_back(c);
    }
    return out;
}

const State* ByCode(std::string_view code) noexcept
{
    const auto it = std::find_if(kStates.begin(), kStates.end(),
                                 [code](const State& s) { return s.code == code; });
    return it != kStates.end() ? &*it : nullptr;
}

// The first state, in list order, whose code or one of whose names `matches`.
template <class Matches>
const State* FirstState(Matches matches) noexcept
{
    for (const KnownName& known : kKnownNames) {
        if (matches(known.code) || matches(known.folded)) {
            return ByCode(known.code);
        }
    }
    return nullptr;
}

} // namespace

std::span<const State> States() noexcept
{
    return kStates;
}

std::string StateEntry(const State& state)
{
    std::string entry;
    entry.reserve(state.code.size() + 2 + state.name.size());
    entry.append(state.code).append(": ").append(state.name);
    return entry;
}

const State* FindStateByCode(std::string_view code) noexcept
{
    if (code.size() != 2) {
        return nullptr;
    }
    const std::array<char, 2> upper{
        static_cast<char>(code[0] >= 'a' && code[0] <= 'z' ? code[0] - 'a' + 'A' : code[0]),
        static_cast<char>(code[1] >= 'a' && code[1] <= 'z' ? code[1] - 'a' + 'A' : code[1])};
    return ByCode(std::string_view(upper.data(), upper.size()));
}

const State* FindState(std::string_view text) noexcept
{
    try {
        const std::string wanted = SquashBlanks(FoldForSearch(text));
        if (wanted.empty()) {
            return nullptr;
        }
        return FirstState([&wanted](std::string_view known) { return known == wanted; });
    } catch (...) { // out of memory
        return nullptr;
    }
}

const State* SearchState(std::string_view typed) noexcept
{
    try {
        const std::string wanted = FoldForSearch(typed);
        if (wanted.empty()) {
            return nullptr;
        }
        if (const State* exact = wanted.size() == 2 ? ByCode(wanted) : nullptr) {
            return exact;
        }
        return FirstState([&wanted](std::string_view known) { return known.starts_with(wanted); });
    } catch (...) { // out of memory
        return nullptr;
    }
}

std::string FoldForSearch(std::string_view text)
{
    const auto decoded = detail::DecodeUtf8(text);
    if (!decoded) {
        return {};
    }
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : *decoded) {
        Fold(c, out);
    }
    return out;
}

} // namespace curp
