#include "curp/states.h"

#include "key_rules.h"
#include "utf.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

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

// The other names people write for a state, in list order: its ISO
// 3166-2:MX code, the usual abbreviations and the long official names. The
// Federal District became Mexico City in 2016 and people call it so; its code
// stayed DF. Compared as the catalogue's names are (see Comparable).
struct OtherName {
    std::string_view code;
    std::string_view name;
};
// clang-format off
constexpr auto kOtherNames = std::to_array<OtherName>({
    {"AS", "AGU"}, {"AS", "Ags."},
    {"BC", "BCN"}, {"BC", "B.C."}, {"BC", "Baja California Norte"},
    {"BS", "BCS"}, {"BS", "B.C.S."},
    {"CC", "CAM"}, {"CC", "Camp."},
    {"CS", "CHP"}, {"CS", "Chis."},
    {"CH", "CHH"}, {"CH", "Chih."},
    {"CL", "COA"}, {"CL", "Coah."}, {"CL", "Coahuila de Zaragoza"},
    {"CM", "COL"}, {"CM", "Col."},
    {"DF", "CMX"}, {"DF", "CDMX"}, {"DF", "D.F."}, {"DF", "Ciudad de México"},
    {"DF", "Cd. de México"},
    {"DG", "DUR"}, {"DG", "Dgo."},
    {"GT", "GUA"}, {"GT", "Gto."},
    {"GR", "GRO"}, {"GR", "Gro."},
    {"HG", "HID"}, {"HG", "Hgo."},
    {"JC", "JAL"}, {"JC", "Jal."},
    {"MC", "MEX"}, {"MC", "Méx."}, {"MC", "Edomex"}, {"MC", "Edo. Méx."},
    {"MC", "Estado de México"}, {"MC", "Edo. de México"},
    {"MN", "MIC"}, {"MN", "Mich."}, {"MN", "Michoacán de Ocampo"},
    {"MS", "MOR"}, {"MS", "Mor."},
    {"NT", "NAY"}, {"NT", "Nay."},
    {"NL", "NLE"}, {"NL", "N.L."}, {"NL", "Nvo. León"},
    {"OC", "OAX"}, {"OC", "Oax."},
    {"PL", "PUE"}, {"PL", "Pue."},
    {"QT", "QUE"}, {"QT", "Qro."}, {"QT", "Querétaro de Arteaga"},
    {"QR", "ROO"}, {"QR", "Q. Roo"},
    {"SP", "SLP"}, {"SP", "S.L.P."},
    {"SL", "SIN"}, {"SL", "Sin."},
    {"SR", "SON"}, {"SR", "Son."},
    {"TC", "TAB"}, {"TC", "Tab."},
    {"TS", "TAM"}, {"TS", "Tamps."},
    {"TL", "TLA"}, {"TL", "Tlax."},
    {"VZ", "VER"}, {"VZ", "Ver."}, {"VZ", "Veracruz de Ignacio de la Llave"},
    {"VZ", "Veracruz-Llave"},
    {"YN", "YUC"}, {"YN", "Yuc."},
    {"ZS", "ZAC"}, {"ZS", "Zac."},
    {"NE", "Nacido en el extranjero"},
});
// clang-format on

// The states by INEGI's number, 01 to 32.
constexpr std::array<std::string_view, 32> kInegiCodes = {
    "AS", "BC", "BS", "CC", "CL", "CM", "CS", "CH", "DF", "DG", "GT", "GR", "HG", "JC", "MC", "MN",
    "MS", "NT", "NL", "OC", "PL", "QT", "QR", "SP", "SL", "SR", "TC", "TS", "TL", "VZ", "YN", "ZS"};

// The countries most births abroad come from, as people write them in the
// state column, and the words for abroad itself: each means NE.
// clang-format off
constexpr auto kAbroad = std::to_array<std::string_view>({
    "Extranjero", "Nacido en el extranjero", "En el extranjero",
    "Estados Unidos", "Estados Unidos de América", "EUA", "E.U.A.", "EE. UU.", "EU", "USA",
    "U.S.A.", "United States",
    "Guatemala", "España", "Colombia", "Venezuela", "Canadá", "Argentina", "Cuba", "Honduras",
    "El Salvador", "Francia", "Alemania", "Italia", "Reino Unido", "Inglaterra", "Perú", "Chile",
    "Brasil", "China", "Japón", "Corea del Sur", "Corea", "Ecuador", "Nicaragua", "Costa Rica",
    "Panamá", "Bolivia", "Uruguay", "Paraguay", "República Dominicana", "Haití", "Belice",
    "India", "Filipinas", "Rusia", "Países Bajos", "Holanda", "Suiza", "Bélgica", "Portugal",
    "Israel", "Líbano", "Australia", "Suecia", "Polonia", "Puerto Rico",
});
// clang-format on

// A name in the form in which names are compared: folded (see
// FoldForSearch), without blanks, dots and hyphens, so that "B.C.S.", "b c s"
// and "BCS" are alike, and "Veracruz-Llave" is "Veracruz Llave".
std::string Comparable(std::string_view text)
{
    std::string out = FoldForSearch(text);
    std::erase_if(out, [](char c) { return c == ' ' || c == '.' || c == '-'; });
    return out;
}

const State* ByCode(std::string_view code) noexcept
{
    const auto it = std::find_if(kStates.begin(), kStates.end(),
                                 [code](const State& s) { return s.code == code; });
    return it != kStates.end() ? &*it : nullptr;
}

// One name a state is known by, in comparable form.
struct KnownName {
    const State* state;
    std::string comparable;
    bool catalogue; // the state's code or its name in the catalogue
};

// Every code and name of the catalogue in list order, then the other names;
// made on first use.
const std::vector<KnownName>& KnownNames()
{
    static const std::vector<KnownName> known = [] {
        std::vector<KnownName> names;
        names.reserve(2 * kStates.size() + kOtherNames.size());
        for (const State& state : kStates) {
            names.push_back({&state, Comparable(state.code), true});
            names.push_back({&state, Comparable(state.name), true});
        }
        for (const OtherName& other : kOtherNames) {
            names.push_back({ByCode(other.code), Comparable(other.name), false});
        }
        return names;
    }();
    return known;
}

// The state of the first known name, in order, that `matches`; catalogue
// names only, other names only, or either.
template <class Matches>
const State* FirstState(Matches matches, std::optional<bool> catalogue = std::nullopt)
{
    for (const KnownName& known : KnownNames()) {
        if ((!catalogue || known.catalogue == *catalogue) && matches(known.comparable)) {
            return known.state;
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
    return ReadState(text).state;
}

StateReading ReadState(std::string_view text) noexcept
{
    try {
        const std::string wanted = Comparable(text);
        if (wanted.empty()) {
            return {};
        }
        // INEGI's numbers, also without the zero that a sheet read again
        // drops. Not the catalogue's order: INEGI sorts Coahuila and Colima
        // before Chiapas and Chihuahua.
        if (wanted.size() <= 2 && std::all_of(wanted.begin(), wanted.end(),
                                              [](char c) { return c >= '0' && c <= '9'; })) {
            const std::size_t number = wanted.size() == 1
                                           ? static_cast<std::size_t>(wanted[0] - '0')
                                           : static_cast<std::size_t>(wanted[0] - '0') * 10 +
                                                 static_cast<std::size_t>(wanted[1] - '0');
            return {number >= 1 && number <= kInegiCodes.size() ? ByCode(kInegiCodes.at(number - 1))
                                                                : nullptr,
                    false};
        }
        if (const State* state =
                FirstState([&wanted](std::string_view known) { return known == wanted; });
            state != nullptr && state->code != "NE") {
            return {state, false};
        }
        static const std::vector<std::string> abroad = [] {
            std::vector<std::string> names;
            names.reserve(kAbroad.size());
            for (const std::string_view name : kAbroad) {
                names.push_back(Comparable(name));
            }
            return names;
        }();
        const State* bornAbroad = &kStates.back();
        if (wanted == Comparable(bornAbroad->code)) {
            return {bornAbroad, false};
        }
        return std::find(abroad.begin(), abroad.end(), wanted) != abroad.end()
                   ? StateReading{bornAbroad, true}
                   : StateReading{};
    } catch (...) { // out of memory
        return {};
    }
}

const State* SearchState(std::string_view typed) noexcept
{
    try {
        const std::string wanted = Comparable(typed);
        if (wanted.empty()) {
            return nullptr;
        }
        const auto startsSo = [&wanted](std::string_view known) {
            return known.starts_with(wanted);
        };
        if (const State* exact = FindState(typed)) {
            return exact;
        }
        if (const State* state = FirstState(startsSo, true)) {
            return state;
        }
        return FirstState(startsSo, false);
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
    for (std::size_t i = 0; i < decoded->size();) {
        const detail::CharacterRead read = detail::ReadCharacter(*decoded, i);
        i += read.length;
        if (detail::IsRemoved(read.how)) {
            continue;
        }
        // Searching, "Ñ" is an "N" with a mark like any other.
        const char32_t c = read.read == U'\u00D1' ? U'N' : read.read;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out += detail::EncodeUtf8(std::u32string_view(&c, 1));
        }
    }
    return out;
}

} // namespace curp
