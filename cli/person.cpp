#include "person.h"

#include "curp/calc_clave.h"
#include "curp/explain.h"
#include "curp/utf8.h"

#include <algorithm>
#include <array>
#include <optional>

namespace curp::cli {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

constexpr int kFirstYear = 1601; // the window's date box takes 1601 to 9999
constexpr int kLastYear = 9999;

std::string_view TrimBlanks(std::string_view text) noexcept
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsBlank(std::string_view text) noexcept
{
    return TrimBlanks(text).empty();
}

// The next run of digits of `text` from `pos`: its value and how many digits.
struct Number {
    int value = 0;
    std::size_t digits = 0;
};

Number ReadNumber(std::string_view text, std::size_t& pos) noexcept
{
    Number number;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && number.digits < 5) {
        number.value = number.value * 10 + (text[pos] - '0');
        ++number.digits;
        ++pos;
    }
    return number;
}

// Three numbers separated twice by the same one of `separators`, and nothing else.
bool ReadThree(std::string_view text, std::string_view separators, std::array<Number, 3>& parts)
{
    std::size_t pos = 0;
    char separator = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || separators.find(text[pos]) == std::string_view::npos ||
                (separator != 0 && text[pos] != separator)) {
                return false;
            }
            separator = text[pos++];
        }
        parts.at(i) = ReadNumber(text, pos);
        if (parts.at(i).digits == 0) {
            return false;
        }
    }
    return pos == text.size();
}

std::string Quoted(std::string_view text)
{
    return "«" + Shown(text) + "»";
}

} // namespace

std::chrono::year_month_day ParseBirthDate(std::string_view text, std::string& error)
{
    const std::string_view date = TrimBlanks(text);
    std::array<Number, 3> parts{};
    Number yearPart;
    Number monthPart;
    Number dayPart;
    const auto digit = [&date](std::size_t i) { return date[i] >= '0' && date[i] <= '9'; };
    if (date.size() == 10 && date[4] == '-' && date[7] == '-' && digit(0) && digit(1) && digit(2) &&
        digit(3) && digit(5) && digit(6) && digit(8) && digit(9)) {
        // AAAA-MM-DD with every digit, the form of most files, read directly.
        const auto value = [&date](std::size_t i, std::size_t n) {
            int v = 0;
            for (std::size_t k = i; k < i + n; ++k) {
                v = v * 10 + (date[k] - '0');
            }
            return Number{v, n};
        };
        yearPart = value(0, 4);
        monthPart = value(5, 2);
        dayPart = value(8, 2);
    } else if (ReadThree(date, "-/", parts) && parts[0].digits == 4 && parts[1].digits <= 2 &&
               parts[2].digits <= 2) {
        yearPart = parts[0];
        monthPart = parts[1];
        dayPart = parts[2];
    } else if (ReadThree(date, "/-.", parts) && parts[0].digits <= 2 && parts[1].digits <= 2 &&
               (parts[2].digits == 4 || parts[2].digits <= 2)) {
        if (parts[2].digits != 4) {
            error = "año de dos cifras en " + Quoted(date) +
                    ": escriba el año completo, con cuatro cifras";
            return {};
        }
        dayPart = parts[0];
        monthPart = parts[1];
        yearPart = parts[2];
    } else {
        error = date.empty()
                    ? std::string("falta la fecha de nacimiento")
                    : "fecha " + Quoted(date) + " no reconocida: se espera AAAA-MM-DD o DD/MM/AAAA";
        return {};
    }
    if (yearPart.value < kFirstYear || yearPart.value > kLastYear) {
        error = "año fuera de 1601 a 9999 en " + Quoted(date);
        return {};
    }
    const std::chrono::year_month_day birth{year{yearPart.value},
                                            month{static_cast<unsigned>(monthPart.value)},
                                            day{static_cast<unsigned>(dayPart.value)}};
    if (!birth.ok()) {
        error = "la fecha " + Quoted(date) + " no existe";
        return {};
    }
    return birth;
}

char ParseSex(std::string_view text) noexcept
{
    std::array<char, 10> upper{};
    const std::string_view word = TrimBlanks(text);
    if (word.size() > upper.size()) {
        return 0;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        upper.at(i) = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const std::string_view folded(upper.data(), word.size());
    if (folded == "H" || folded == "HOMBRE" || folded == "MASCULINO") {
        return 'H';
    }
    if (folded == "M" || folded == "MUJER" || folded == "FEMENINO" || folded == "F") {
        return 'M';
    }
    return folded == "X" ? 'X' : 0;
}

void KeyMaker::Compute(const Person& person, Missing missing, Computed& out)
{
    out.key.clear();
    out.error.clear();
    out.state = nullptr;
    out.sex = 0;
    // Every reason is given at once, so that a row is mended in one go.
    const auto fail = [&out](std::string_view reason) {
        if (!out.error.empty()) {
            out.error += "; ";
        }
        out.error += reason;
    };
    const auto notUtf8 = [&fail](const char* column) {
        fail(std::string("texto que no es UTF-8 válido en ") + column);
    };

    // Date, sex and state are read as they are; only a text that is not
    // understood is looked at again, to say whether it is not even UTF-8.
    std::string reason;
    out.birth = ParseBirthDate(person.nacimiento, reason);
    if (!reason.empty()) {
        IsUtf8(person.nacimiento) ? fail(reason) : notUtf8("nacimiento");
    }

    if (IsBlank(person.sexo)) {
        if (missing == Missing::WindowDefaults) {
            out.sex = 'H';
        } else {
            fail("falta el sexo");
        }
    } else if ((out.sex = ParseSex(person.sexo)) == 0) {
        IsUtf8(person.sexo)
            ? fail("sexo " + Quoted(person.sexo) + " no reconocido: se espera H, M o X")
            : notUtf8("sexo");
    }

    if (IsBlank(person.entidad)) {
        if (missing == Missing::Error) {
            fail("falta la entidad");
        }
    } else {
        out.state = StateNamed(person.entidad);
        if (out.state == nullptr) {
            IsUtf8(person.entidad)
                ? fail("entidad " + Quoted(person.entidad) +
                       " desconocida: se espera un código (DF, NE) o el nombre de un estado")
                : notUtf8("entidad");
        }
    }
    // The names go to the library as they are: it reads them (case, accents,
    // invisible characters) as the registry writes them.
    const std::string_view sex(&out.sex, out.sex == 0 ? 0 : 1);
    const std::string_view state = out.state != nullptr ? out.state->code : std::string_view();
    if (out.error.empty()) {
        out.key = Calc_Clave(person.paterno, person.materno, person.nombre, out.birth, sex, state);
        if (!out.key.empty()) {
            if (missing == Missing::Error && out.key.size() != curp::kKeyLength) {
                out.key.clear();
                fail("los nombres no dan las cuatro letras iniciales de la clave");
            }
            return;
        }
    }
    // No key: what the library says of the names, before the other reasons.
    const std::string others = std::move(out.error);
    out.error.clear();
    const KeyExplanation explained = ExplainKey(person.paterno, person.materno, person.nombre,
                                                std::chrono::year{2000} / 1 / 1, "H", "DF");
    for (const KeyNote& note : explained.notes) {
        if (note.kind == NoteKind::InvalidText) {
            notUtf8(note.input == KeyInput::Ap   ? "paterno"
                    : note.input == KeyInput::Am ? "materno"
                                                 : "nombre");
        } else if (note.kind == NoteKind::NoGivenName) {
            fail("falta el nombre");
        } else if (note.kind == NoteKind::NoSurname) {
            fail("faltan los dos apellidos");
        }
    }
    if (!others.empty()) {
        fail(others);
    } else if (out.error.empty()) {
        fail("no se pudo calcular la clave (memoria insuficiente)");
    }
}

const State* KeyMaker::StateNamed(std::string_view text)
{
    if (const State* state = FindStateByCode(text)) {
        return state; // a code, the common case, needs no folding
    }
    constexpr std::size_t kRemembered = 256;
    const std::string key(text);
    if (const auto known = statesByName_.find(key); known != statesByName_.end()) {
        return known->second;
    }
    if (statesByName_.size() == kRemembered) {
        statesByName_.clear();
    }
    return statesByName_[key] = FindState(text);
}

std::string Shown(std::string_view text, std::size_t longest)
{
    return Printable(text, longest);
}

} // namespace curp::cli
