#include "person.h"

#include "curp/calc_clave.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringDecoder>

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
constexpr std::size_t kKeyLength = 18;

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

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); a
// leading U+FEFF is kept, as the window would keep it.
std::optional<QString> DecodeUtf8(std::string_view utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

constexpr char32_t UpperAscii(char32_t c) noexcept
{
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

// UpperName for any text, all of it through Qt.
bool UpperAnyName(std::string_view utf8, std::u32string& out)
{
    const std::optional<QString> text = DecodeUtf8(utf8);
    if (!text) {
        return false;
    }
    out.clear();
    for (const char32_t point : text->toUcs4()) {
        out.push_back(QChar::toUpper(point));
    }
    return true;
}

// The key (scalar values only) as UTF-8.
void EncodeKey(std::u32string_view key, std::string& out)
{
    out.clear();
    for (const char32_t c : key) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        // The lead byte carries the top bits; each continuation byte six more.
        const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        constexpr std::array<unsigned, 4> kLead = {0x00, 0xC0, 0xE0, 0xF0};
        out.push_back(static_cast<char>(kLead.at(continuation) | (c >> (6 * continuation))));
        for (int shift = 6 * (continuation - 1); shift >= 0; shift -= 6) {
            out.push_back(static_cast<char>(0x80U | ((c >> shift) & 0x3FU)));
        }
    }
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

bool UpperName(std::string_view utf8, std::u32string& out)
{
    // Plain ASCII, the common case, in two loops without branches that the
    // compiler runs on many bytes at once.
    unsigned bits = 0;
    for (const char c : utf8) {
        bits |= static_cast<unsigned char>(c);
    }
    if (bits < 0x80) {
        out.resize(utf8.size());
        std::transform(utf8.begin(), utf8.end(), out.begin(),
                       [](char c) { return UpperAscii(static_cast<unsigned char>(c)); });
        return true;
    }
    // Two-byte sequences (the accented Latin letters) are decoded here;
    // longer or malformed ones send the whole text to Qt's strict decoder.
    out.resize(utf8.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t point = byte;
        if (byte >= 0x80) {
            const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0U;
            if (byte < 0xC2 || byte > 0xDF || next < 0x80 || next > 0xBF) {
                return UpperAnyName(utf8, out);
            }
            point = ((byte & 0x1FU) << 6U) | (next & 0x3FU);
            ++i;
        }
        out[count++] = point < 0x80 ? UpperAscii(point) : QChar::toUpper(point);
    }
    out.resize(count);
    return true;
}

bool IsUtf8(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; }) ||
           DecodeUtf8(text).has_value();
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

    const bool names = UpperName(person.paterno, Ap_) && UpperName(person.materno, Am_) &&
                       UpperName(person.nombre, Nm_);
    if (!names) {
        for (const auto& [text, column] :
             {std::pair{person.paterno, "paterno"}, std::pair{person.materno, "materno"},
              std::pair{person.nombre, "nombre"}}) {
            if (!IsUtf8(text)) {
                notUtf8(column);
            }
        }
    } else {
        const auto blank = [](std::u32string_view text) {
            return std::all_of(text.begin(), text.end(), [](char32_t c) { return c == U' '; });
        };
        if (blank(Nm_)) {
            fail("falta el nombre");
        }
        if (blank(Ap_) && blank(Am_)) {
            fail("faltan los dos apellidos");
        }
    }

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
    if (!out.error.empty()) {
        return;
    }

    const std::array<char32_t, 1> sex{static_cast<char32_t>(out.sex)};
    std::array<char32_t, 2> state{};
    std::size_t stateLength = 0;
    if (out.state != nullptr) {
        state = {static_cast<char32_t>(out.state->code[0]),
                 static_cast<char32_t>(out.state->code[1])};
        stateLength = state.size();
    }
    key_ =
        Calc_Clave(Ap_, Am_, Nm_, out.birth, {sex.data(), sex.size()}, {state.data(), stateLength});
    if (key_.empty()) {
        fail("no se pudo calcular la clave (memoria insuficiente)");
    } else if (missing == Missing::Error && key_.size() != kKeyLength) {
        fail("los nombres no dan las cuatro letras iniciales de la clave");
    } else {
        EncodeKey(key_, out.key);
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
    // Printable ASCII, most keys and names, shows as it is.
    if (text.size() <= longest &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; })) {
        return std::string(text);
    }
    const QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::u32string shown;
    for (const char32_t point : decoded.toUcs4()) {
        if (shown.size() == longest) {
            shown += U'…';
            break;
        }
        shown += QChar::category(point) == QChar::Other_Control
                     ? char32_t{QChar::ReplacementCharacter}
                     : point;
    }
    return QString::fromUcs4(shown.data(), static_cast<qsizetype>(shown.size())).toStdString();
}

} // namespace curp::cli
