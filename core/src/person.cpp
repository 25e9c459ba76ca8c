// A person's request: the fields read by the library's readers, the key
// computed once from what they read, and the answer's problems and doubts
// taken from that one computation's trace.
#include "curp/person.h"

#include "curp/sex.h"
#include "curp/utf8.h"
#include "key_rules.h"
#include "text.h"
#include "trace.h"
#include "utf.h"

#include <algorithm>
#include <iterator>

namespace curp {
namespace {

using detail::NameText;
using detail::Step;

// Blank as a field of a file or a box is: nothing but spaces and tabs.
bool IsBlankField(std::string_view text) noexcept
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// A lone "-" or "." is how sheets write a name that is missing.
std::string_view NameGiven(std::string_view text) noexcept
{
    const std::string_view name = detail::Trimmed<char>(text, " \t");
    return name == "-" || name == "." ? std::string_view() : text;
}

std::string Quoted(std::string_view text)
{
    constexpr std::size_t kLongest = 40;
    return "«" + Printable(text, kLongest) + "»";
}

Field FieldOf(NameText which) noexcept
{
    switch (which) {
    case NameText::Ap:
        return Field::Paterno;
    case NameText::Am:
        return Field::Materno;
    case NameText::Nm:
        break;
    }
    return Field::Nombre;
}

// What the two readings of one date say of the order of day and month.
DateFit FitOfReadings(const DateReading& dayFirst, const DateReading& monthFirst) noexcept
{
    // What is no date in either order, or the same date in both, says
    // nothing of the order.
    if (dayFirst.ok() && monthFirst.ok()) {
        return dayFirst.date == monthFirst.date ? DateFit::Any : DateFit::Ambiguous;
    }
    return dayFirst.ok() ? DateFit::DayFirst : monthFirst.ok() ? DateFit::MonthFirst : DateFit::Any;
}

// Reads the date in the order `rules` give, or in the order it fits.
DateReading ReadBirth(std::string_view text, const RequestRules& rules, bool& ambiguous)
{
    ambiguous = false;
    if (!rules.eitherDateOrder) {
        return ReadDate(text, rules.order, rules.today);
    }
    DateReading dayFirst = ReadDate(text, DateOrder::DayMonthYear, rules.today);
    DateReading monthFirst = ReadDate(text, DateOrder::MonthDayYear, rules.today);
    switch (FitOfReadings(dayFirst, monthFirst)) {
    case DateFit::Ambiguous:
        ambiguous = true;
        return dayFirst;
    case DateFit::MonthFirst:
        return monthFirst;
    case DateFit::Any:
    case DateFit::DayFirst:
        break;
    }
    return dayFirst;
}

// What keeps the three names from giving a key, read off the trace of a
// computation that read them.
void AddNameProblems(const KeyTrace::Record& record, std::vector<FieldProblem>& problems)
{
    bool allValid = true;
    for (const NameText which : {NameText::Ap, NameText::Am, NameText::Nm}) {
        if (!record.valid[detail::Index(which)]) {
            problems.push_back({FieldOf(which), Problem::NotUtf8});
            allValid = false;
        }
    }
    if (!allValid) {
        return;
    }
    const detail::Texts typed = record.Views();
    const auto read = [&](NameText which) {
        return record.seen.Name(typed, which, Step::NameRead);
    };
    if (!detail::HasGivenName(read(NameText::Nm))) {
        problems.push_back({Field::Nombre, Problem::NoGivenName});
    }
    if (!detail::HasSurname(read(NameText::Ap), read(NameText::Am))) {
        problems.push_back({Field::Paterno, Problem::NoSurname});
    }
}

// The doubts about a computed key that its trace shows: a short word in the
// given name, and an X that stands for a sign or digit of a name.
void AddNameDoubts(const KeyTrace::Record& record, std::vector<KeyDoubt>& doubts)
{
    const detail::Texts typed = record.Views();
    const auto prepared = [&](NameText which) {
        return record.seen.Name(typed, which, Step::SurnamesFilled);
    };
    const std::u32string_view abbreviated =
        detail::AbbreviatedWord(record.seen.Name(typed, NameText::Nm, Step::CommonNameDropped));
    if (!abbreviated.empty()) {
        doubts.push_back({Doubt::AbbreviatedName, Field::Nombre, detail::EncodeUtf8(abbreviated)});
    }
    // A paternal surname that preparation emptied took the maternal one.
    const bool moved =
        prepared(NameText::Ap) != record.seen.Name(typed, NameText::Ap, Step::ApostrophesRemoved);
    const auto sign = [&](NameText which, std::size_t position) {
        const std::u32string_view text = prepared(which);
        // The dot of an abbreviation is said with the abbreviation.
        if (which == NameText::Nm && !abbreviated.empty() &&
            detail::CharAt(text, position) == U".") {
            return;
        }
        const Field field = which == NameText::Ap && moved ? Field::Materno : FieldOf(which);
        KeyDoubt doubt{Doubt::SignIsX, field, detail::EncodeUtf8(text)};
        if (std::find(doubts.begin(), doubts.end(), doubt) == doubts.end()) {
            doubts.push_back(std::move(doubt));
        }
    };
    const detail::BlockLetters& letters = record.seen.letters;
    const auto& [picked, filtered, written] = record.seen.block;
    for (std::size_t i = 0; i < letters.size && i < written.size(); ++i) {
        const detail::BlockLetter& letter = letters.letters[i];
        const bool replaced = written[i] != filtered[i] && filtered[i] != U'\u00D1';
        if (letter.letter.rule == PieceRule::NonLetterIsX || replaced) {
            sign(letter.from, letter.letter.at);
        }
    }
    for (const NameText which : {NameText::Ap, NameText::Am, NameText::Nm}) {
        const detail::Letter& consonant = record.seen.consonants[detail::Index(which)];
        if (consonant.rule == PieceRule::NonLetterIsX) {
            sign(which, consonant.at);
        }
    }
}

// The state `text` names; `cache` remembers names already looked up.
const State* StateNamed(std::string_view text,
                        std::vector<std::pair<std::string, const State*>>* cache)
{
    if (const State* state = FindStateByCode(text)) {
        return state; // a code, the common case, needs no folding
    }
    if (cache == nullptr) {
        return FindState(text);
    }
    const auto known = std::find_if(cache->begin(), cache->end(),
                                    [text](const auto& entry) { return entry.first == text; });
    if (known != cache->end()) {
        return known->second;
    }
    constexpr std::size_t kRemembered = 64;
    if (cache->size() == kRemembered) {
        cache->clear();
    }
    const State* state = FindState(text);
    cache->emplace_back(std::string(text), state);
    return state;
}

void Answer(const PersonData& data, const RequestRules& rules,
            std::vector<std::pair<std::string, const State*>>* states, PersonAnswer& answer)
{
    answer.key.clear();
    answer.problems.clear();
    answer.doubts.clear();
    answer.sex = 0;
    answer.state = nullptr;
    std::vector<FieldProblem> fields; // date, sex and state; after the names'
    const auto problem = [&](Field field, Problem kind, std::string_view text = {}) {
        // A text that is not understood may not even be UTF-8.
        const bool utf8 = kind == Problem::Missing || IsUtf8(data.Text(field));
        fields.push_back(
            {field, utf8 ? kind : Problem::NotUtf8, utf8 ? std::string(text) : std::string()});
    };

    bool ambiguous = false;
    answer.birth = ReadBirth(data.nacimiento, rules, ambiguous);
    if (ambiguous) {
        problem(Field::Nacimiento, Problem::AmbiguousDate, data.nacimiento);
    } else if (!answer.birth.ok()) {
        problem(Field::Nacimiento,
                IsBlankField(data.nacimiento) ? Problem::Missing : Problem::Date);
    }
    if (IsBlankField(data.sexo)) {
        if (rules.sexRequired) {
            problem(Field::Sexo, Problem::Missing);
        } else {
            answer.sex = 'H';
        }
    } else if (const SexReading sex = ReadSex(data.sexo, rules.sexLetters);
               (answer.sex = sex.letter) == '\0') {
        problem(Field::Sexo,
                sex.fault == SexFault::Number      ? Problem::SexNumber
                : sex.fault == SexFault::Ambiguous ? Problem::AmbiguousSex
                                                   : Problem::UnknownSex,
                data.sexo);
    }
    if (IsBlankField(data.entidad)) {
        if (rules.stateRequired) {
            problem(Field::Entidad, Problem::Missing);
        }
    } else if ((answer.state = StateNamed(data.entidad, states)) == nullptr) {
        problem(Field::Entidad, Problem::UnknownState, data.entidad);
    }

    // One computation. With a field that cannot be read it is given no
    // date: it then reads and checks the names and stops, with no key.
    const std::chrono::year_month_day FB =
        fields.empty() ? answer.birth.date : std::chrono::year_month_day{};
    const std::string_view sex(&answer.sex, answer.sex == '\0' ? 0 : 1);
    const std::string_view state = answer.state != nullptr ? answer.state->code : "";
    answer.key = Calc_Clave(NameGiven(data.paterno), NameGiven(data.materno),
                            NameGiven(data.nombre), FB, sex, state, answer.trace);
    const KeyTrace::Record* record = answer.trace.record();
    if (record == nullptr || !record->complete) {
        answer.problems.push_back({Field::Paterno, Problem::NoMemory});
        answer.key.clear();
        return;
    }
    if (answer.key.empty()) {
        AddNameProblems(*record, answer.problems);
        if (answer.problems.empty() && fields.empty()) {
            answer.problems.push_back({Field::Paterno, Problem::NoMemory});
        }
    } else if (rules.wholeKeyOnly && !answer.Whole()) {
        answer.problems.push_back(answer.state == nullptr
                                      ? FieldProblem{Field::Entidad, Problem::Missing}
                                      : FieldProblem{Field::Paterno, Problem::NoInitials});
    }
    answer.problems.insert(answer.problems.end(), std::make_move_iterator(fields.begin()),
                           std::make_move_iterator(fields.end()));
    if (!answer.problems.empty()) {
        answer.key.clear();
        return;
    }
    AddNameDoubts(*record, answer.doubts);
    if (answer.birth.centuryInDoubt) {
        answer.doubts.push_back(
            {Doubt::CenturyInDoubt, Field::Nacimiento, CenturySentence(answer.birth.date.year())});
    }
    // Only NE can have been a country; a code is what it says.
    if (answer.state == &States().back() && FindStateByCode(data.entidad) == nullptr &&
        ReadState(data.entidad).abroad) {
        answer.doubts.push_back({Doubt::BornAbroad, Field::Entidad, std::string(data.entidad)});
    }
    if (rules.today.ok() &&
        std::chrono::sys_days(answer.birth.date) > std::chrono::sys_days(rules.today)) {
        answer.doubts.push_back({Doubt::FutureBirth, Field::Nacimiento});
    }
}

} // namespace

std::string_view PersonData::Text(Field field) const noexcept
{
    switch (field) {
    case Field::Paterno:
        return paterno;
    case Field::Materno:
        return materno;
    case Field::Nombre:
        return nombre;
    case Field::Nacimiento:
        return nacimiento;
    case Field::Sexo:
        return sexo;
    case Field::Entidad:
        break;
    }
    return entidad;
}

bool PersonAnswer::Whole() const noexcept
{
    return key.size() == kKeyLength; // a key of letters and digits: one byte each
}

bool PersonAnswer::Has(Problem problem) const noexcept
{
    return std::any_of(problems.begin(), problems.end(),
                       [problem](const FieldProblem& p) { return p.problem == problem; });
}

PersonAnswer AnswerRequest(const PersonData& data, const RequestRules& rules) noexcept
{
    PersonAnswer answer;
    try {
        Answer(data, rules, nullptr, answer);
    } catch (...) { // out of memory
        answer.key.clear();
        answer.problems.assign(1, {Field::Paterno, Problem::NoMemory});
    }
    return answer;
}

void RequestDesk::Answer(const PersonData& data, PersonAnswer& answer) noexcept
{
    try {
        curp::Answer(data, rules_, &statesByName_, answer);
    } catch (...) { // out of memory
        answer.key.clear();
        answer.problems.clear();
        answer.problems.push_back({Field::Paterno, Problem::NoMemory});
    }
}

DateFit FitOf(std::string_view text, std::chrono::year_month_day today)
{
    return FitOfReadings(ReadDate(text, DateOrder::DayMonthYear, today),
                         ReadDate(text, DateOrder::MonthDayYear, today));
}

std::string Describe(const FieldProblem& problem, const PersonAnswer& answer, bool withData)
{
    const auto quoted = [&](std::string_view text) {
        return withData ? Quoted(text) : std::string("«…»");
    };
    switch (problem.problem) {
    case Problem::NotUtf8:
        return "texto que no es UTF-8 válido en " + std::string(NameOf(problem.field));
    case Problem::Missing:
        switch (problem.field) {
        case Field::Nacimiento:
            return "falta la fecha de nacimiento";
        case Field::Sexo:
            return "falta el sexo";
        case Field::Entidad:
            return "falta la entidad";
        default:
            return "falta " + std::string(NameOf(problem.field));
        }
    case Problem::Date:
        return DateSentence(answer.birth, withData ? DateShown::Quoted : DateShown::Elided);
    case Problem::AmbiguousDate:
        return "fecha " + quoted(problem.text) + " ambigua";
    case Problem::UnknownSex:
        return "sexo " + quoted(problem.text) + " no reconocido: se espera H, M o X";
    case Problem::SexNumber:
        return SexSentence(SexFault::Number, withData ? problem.text : "…");
    case Problem::AmbiguousSex:
        return SexSentence(SexFault::Ambiguous, withData ? problem.text : "…");
    case Problem::UnknownState:
        return "entidad " + quoted(problem.text) +
               " desconocida: se espera un código (DF, NE) o el nombre de un estado";
    case Problem::NoGivenName:
        return "falta el nombre";
    case Problem::NoSurname:
        return "faltan los dos apellidos";
    case Problem::NoInitials:
        return "los nombres no dan las cuatro letras iniciales de la clave";
    case Problem::NoMemory:
        break;
    }
    return "no se pudo calcular la clave (memoria insuficiente)";
}

std::string Describe(const KeyDoubt& doubt)
{
    switch (doubt.doubt) {
    case Doubt::AbbreviatedName:
        return Describe(KeyNote{NoteKind::AbbreviatedName, KeyInput::Nm, doubt.text});
    case Doubt::SignIsX:
        return "X en lugar de lo que no es una letra en " + Quoted(doubt.text) +
               ": revise el nombre";
    case Doubt::BornAbroad:
        return std::string(kBornAbroadNote) + " (" + Quoted(doubt.text) + ")";
    case Doubt::CenturyInDoubt:
        return doubt.text + ": revise la fecha";
    case Doubt::FutureBirth:
        break;
    }
    return "la fecha es posterior a hoy";
}

std::string_view KindOf(Doubt doubt) noexcept
{
    switch (doubt) {
    case Doubt::AbbreviatedName:
        return "nombre abreviado: la CURP puede ser otra";
    case Doubt::SignIsX:
        return "X en lugar de lo que no es una letra en un nombre";
    case Doubt::BornAbroad:
        return kBornAbroadNote;
    case Doubt::CenturyInDoubt:
        return "año en dos cifras que puede ser de dos siglos";
    case Doubt::FutureBirth:
        break;
    }
    return "fecha de nacimiento posterior a hoy";
}

std::string DescribeProblems(const PersonAnswer& answer)
{
    std::string text;
    for (const FieldProblem& problem : answer.problems) {
        text.append(text.empty() ? "" : "; ").append(Describe(problem, answer));
    }
    return text;
}

} // namespace curp
