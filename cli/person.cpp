#include "person.h"

#include "curp/calc_clave.h"
#include "curp/explain.h"
#include "curp/sex.h"
#include "curp/utf8.h"

#include <algorithm>

namespace curp::cli {
namespace {

bool IsBlank(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string NotUtf8(std::size_t field)
{
    return "texto que no es UTF-8 válido en " + std::string(kFieldNames.at(field));
}

std::string Quoted(std::string_view text)
{
    return "«" + Shown(text) + "»";
}

// The date problem as a row reports it: the date quoted, so that rows with
// the same problem count together in the summary.
std::string DateProblem(std::string_view problem)
{
    // "31/04/1990 no existe: ..." and "23/04/1500 queda fuera ..." start with
    // the date as it was read; "falta la fecha" and "no es una fecha: «…»"
    // quote what they need to.
    const std::size_t space = problem.find(' ');
    if (problem.empty() || problem.front() < '0' || problem.front() > '9' ||
        space == std::string_view::npos) {
        return problem == "falta la fecha" ? "falta la fecha de nacimiento" : std::string(problem);
    }
    return "la fecha «" + std::string(problem.substr(0, space)) + "»" +
           std::string(problem.substr(space));
}

// The code point at 1-based `position` of UTF-8 `text`; 0 when there is none.
char32_t CodePointAt(std::string_view text, std::size_t position) noexcept
{
    for (std::size_t i = 0, count = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0U) != 0x80U && ++count == position) {
            return byte < 0x80 ? char32_t{byte} : char32_t{0xFFFD}; // only ASCII is asked for
        }
    }
    return 0;
}

// False when every character of UTF-8 `name` surely reads as a letter A-Z or
// Ñ, a blank or an apostrophe: ASCII letters, and the accented letters of
// Spanish. Anything else may be what the key takes an X for.
bool MayHoldNonLetter(std::string_view name) noexcept
{
    // The second bytes of Á É Í Ñ Ó Ú Ü and á é í ñ ó ú ü after C3.
    constexpr std::string_view kSpanish =
        "\x81\x89\x8D\x91\x93\x9A\x9C\xA1\xA9\xAD\xB1\xB3\xBA\xBC";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const bool letter = (byte | 0x20U) >= 'a' && (byte | 0x20U) <= 'z';
        if (letter || byte == ' ' || byte == '\t' || byte == '\'') {
            continue;
        }
        if (byte != 0xC3 || i + 1 == name.size() || kSpanish.find(name[i + 1]) == kSpanish.npos) {
            return true;
        }
        ++i;
    }
    return false;
}

// The doubt of an X that stands for a digit or a sign of a name.
constexpr std::string_view kNotLetter = "X en lugar de lo que no es una letra en un nombre";

// A few words for each kind of doubt the library names, for the summary.
std::string_view DoubtOf(NoteKind kind)
{
    switch (kind) {
    case NoteKind::AbbreviatedName:
        return "nombre abreviado: la CURP puede ser otra";
    case NoteKind::OtherCharacters:
        return "caracteres que una CURP no lleva";
    default:
        return "clave que puede no ser la del registro";
    }
}

} // namespace

DateFit FitOf(std::string_view text, std::chrono::year_month_day today)
{
    // Read as the row itself will be: what is no date in either order, or
    // the same date in both, says nothing of the file's order.
    const DateReading dayFirst = ReadDate(text, DateOrder::DayMonthYear, today);
    const DateReading monthFirst = ReadDate(text, DateOrder::MonthDayYear, today);
    if (dayFirst.ok() && monthFirst.ok()) {
        return dayFirst.date == monthFirst.date ? DateFit::Any : DateFit::Ambiguous;
    }
    return dayFirst.ok() ? DateFit::DayFirst : monthFirst.ok() ? DateFit::MonthFirst : DateFit::Any;
}

bool Computed::FieldsRead() const noexcept
{
    return std::all_of(problems.begin(), problems.end(),
                       [](const std::string& problem) { return problem.empty(); });
}

std::string Computed::Error() const
{
    std::string error;
    const auto add = [&error](std::string_view reason) {
        if (!reason.empty()) {
            error.append(error.empty() ? "" : "; ").append(reason);
        }
    };
    for (std::size_t field = 0; field < kFields; ++field) {
        if (field == static_cast<std::size_t>(Field::Nacimiento)) {
            add(namesProblem);
        }
        add(problems.at(field));
    }
    return error;
}

void KeyMaker::ReadBirth(std::string_view text, Computed& out) const
{
    DateOrder order = order_;
    if (!ambiguous_.empty()) {
        switch (FitOf(text, today_)) {
        case DateFit::Ambiguous:
            out.Problem(Field::Nacimiento) = "fecha " + Quoted(text) + " ambigua: " + ambiguous_;
            return;
        case DateFit::MonthFirst:
            order = DateOrder::MonthDayYear;
            break;
        case DateFit::DayFirst:
            order = DateOrder::DayMonthYear;
            break;
        case DateFit::Any:
            break;
        }
    }
    const DateReading reading = ReadDate(text, order, today_);
    out.birth = reading.date;
    out.shortYear = reading.shortYear;
    if (!reading.ok()) {
        out.Problem(Field::Nacimiento) = DateProblem(reading.problem);
    }
}

void KeyMaker::Compute(const Person& person, Missing missing, Computed& out)
{
    out.key.clear();
    for (std::string& problem : out.problems) {
        problem.clear();
    }
    out.namesProblem.clear();
    out.warning.clear();
    out.doubt.clear();
    out.birth = {};
    out.shortYear = false;
    out.state = nullptr;
    out.sex = 0;

    // Date, sex and state are read as they are; only a text that is not
    // understood is looked at again, to say whether it is not even UTF-8.
    ReadBirth(person.nacimiento, out);
    if (IsBlank(person.sexo)) {
        if (missing == Missing::WindowDefaults) {
            out.sex = 'H';
        } else {
            out.Problem(Field::Sexo) = "falta el sexo";
        }
    } else if (const SexReading sex = ReadSex(person.sexo, sexLetters_);
               (out.sex = sex.letter) == 0) {
        out.Problem(Field::Sexo) =
            sex.fault == SexFault::Unknown
                ? "sexo " + Quoted(person.sexo) + " no reconocido: se espera H, M o X"
                : SexSentence(sex.fault, person.sexo);
    }
    if (IsBlank(person.entidad)) {
        if (missing == Missing::Error) {
            out.Problem(Field::Entidad) = "falta la entidad";
        }
    } else if ((out.state = StateNamed(person.entidad)) == nullptr) {
        out.Problem(Field::Entidad) =
            "entidad " + Quoted(person.entidad) +
            " desconocida: se espera un código (DF, NE) o el nombre de un estado";
    }
    // The library says of names that are not UTF-8 when it gives no key;
    // the other fields are looked at only when they were not understood.
    const std::array<std::string_view, kFields> texts = {person.paterno, person.materno,
                                                         person.nombre,  person.nacimiento,
                                                         person.sexo,    person.entidad};
    for (auto field = static_cast<std::size_t>(Field::Nacimiento); field < kFields; ++field) {
        if (!out.problems.at(field).empty() && !IsUtf8(texts.at(field))) {
            out.problems.at(field) = NotUtf8(field);
        }
    }

    // The names go to the library as they are: it reads them (case, accents,
    // invisible characters) as the registry writes them.
    if (out.FieldsRead()) {
        const std::string_view sex(&out.sex, out.sex == 0 ? 0 : 1);
        const std::string_view state = out.state != nullptr ? out.state->code : std::string_view();
        out.key = Calc_Clave(person.paterno, person.materno, person.nombre, out.birth, sex, state);
        if (!out.key.empty()) {
            if (missing == Missing::Error && out.key.size() != kKeyLength) {
                out.key.clear();
                out.namesProblem = "los nombres no dan las cuatro letras iniciales de la clave";
            } else {
                NoteDoubts(person, out);
            }
            return;
        }
    }
    ExplainNoKey(person, out);
}

void KeyMaker::ExplainNoKey(const Person& person, Computed& out)
{
    // What the library says of the names, with any date, sex and state.
    const KeyExplanation explained = ExplainKey(person.paterno, person.materno, person.nombre,
                                                std::chrono::year{2000} / 1 / 1, "H", "DF");
    for (const KeyNote& note : explained.notes) {
        if (note.kind == NoteKind::InvalidText) {
            const Field field = note.input == KeyInput::Ap   ? Field::Paterno
                                : note.input == KeyInput::Am ? Field::Materno
                                                             : Field::Nombre;
            out.Problem(field) = NotUtf8(static_cast<std::size_t>(field));
        } else if (note.kind == NoteKind::NoGivenName) {
            out.namesProblem = "falta el nombre";
        } else if (note.kind == NoteKind::NoSurname) {
            out.namesProblem = "faltan los dos apellidos";
        }
    }
    if (out.FieldsRead() && out.namesProblem.empty()) {
        out.namesProblem = "no se pudo calcular la clave (memoria insuficiente)";
    }
}

void KeyMaker::NoteDoubts(const Person& person, Computed& out)
{
    // Only a given name with a dot can look abbreviated, only an X where the
    // names go can stand for a digit or a sign, and only a character beyond
    // ASCII can be one no key has: other keys are not explained again, which
    // would cost more than computing them.
    const std::string_view key = out.key;
    const bool ascii = std::all_of(key.begin(), key.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const bool nameX = key.substr(0, 4).find('X') != std::string_view::npos ||
                       key.substr(13, 3).find('X') != std::string_view::npos;
    const bool nonLetter =
        nameX && (MayHoldNonLetter(person.paterno) || MayHoldNonLetter(person.materno) ||
                  MayHoldNonLetter(person.nombre));
    if (ascii && !nonLetter && person.nombre.find('.') == std::string_view::npos) {
        return;
    }
    const std::string_view sex(&out.sex, 1);
    const KeyExplanation explained =
        ExplainKey(person.paterno, person.materno, person.nombre, out.birth, sex,
                   out.state != nullptr ? out.state->code : "");
    if (CouldBeRegistryKey(explained)) {
        return;
    }
    const auto add = [](std::string& to, std::string_view text) {
        to.append(to.empty() ? "" : "; ").append(text);
    };
    for (const KeyNote& note : explained.notes) {
        if (note.kind == NoteKind::AbbreviatedName || note.kind == NoteKind::OtherCharacters) {
            add(out.warning, Describe(note));
            add(out.doubt, DoubtOf(note.kind));
        }
    }
    for (const KeyPiece& piece : explained.pieces) {
        // The dot of an abbreviation is said with the abbreviation.
        const bool dot = explained.Has(NoteKind::AbbreviatedName) &&
                         CodePointAt(piece.source, piece.position) == U'.';
        if (piece.rule == PieceRule::NonLetterIsX && !dot) {
            const std::string said = "X en lugar de lo que no es una letra en " +
                                     Quoted(piece.source) + ": revise el nombre";
            if (out.warning.find(said) == std::string::npos) {
                add(out.warning, said);
            }
            if (out.doubt.find(kNotLetter) == std::string::npos) {
                add(out.doubt, kNotLetter);
            }
        }
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
