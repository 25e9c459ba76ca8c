// The Spanish sentences of an explanation, written here once for every
// program that shows them.
#include "curp/explain.h"

#include "characters.h"
#include "text.h"
#include "utf.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace curp {
namespace {

bool IsBlockPiece(PieceKind kind) noexcept
{
    return kind <= PieceKind::GivenSecondLetter;
}

bool IsConsonant(PieceKind kind) noexcept
{
    return kind >= PieceKind::PaternalConsonant && kind <= PieceKind::GivenConsonant;
}

// What a letter of the first four is, as the sentences name it.
std::string_view What(PieceKind kind) noexcept
{
    switch (kind) {
    case PieceKind::PaternalVowel:
        return "primera vocal interna";
    case PieceKind::GivenSecondLetter:
        return "segunda letra";
    default:
        return "inicial";
    }
}

// The input a text came from, as a sentence names it.
std::string_view Field(KeyInput input) noexcept
{
    switch (input) {
    case KeyInput::Ap:
        return "el apellido paterno";
    case KeyInput::Am:
        return "el apellido materno";
    case KeyInput::Nm:
        return "el nombre";
    case KeyInput::FB:
        return "la fecha de nacimiento";
    case KeyInput::CveSexo:
        return "el sexo";
    case KeyInput::CveEnt:
        return "la entidad";
    case KeyInput::None:
        break;
    }
    return "el texto";
}

// A character as a list names it: itself, "espacio", or its code point
// ("U+0009") when it is invisible or of another script.
std::string Visible(char32_t c)
{
    if (c == U' ') {
        return "espacio";
    }
    if (detail::IsShownAsIs(c)) {
        return detail::EncodeUtf8(std::u32string_view(&c, 1));
    }
    return detail::CodePointName(c);
}

// "Ó, Í": the characters of a note, each once, separated by commas.
std::string CharacterList(std::string_view characters)
{
    std::string list;
    for (const char32_t c : detail::DecodeUtf8(characters).value_or(std::u32string())) {
        if (!list.empty()) {
            list += ", ";
        }
        list += Visible(c);
    }
    return list;
}

// The character at `position` (from 1) of `text`.
std::string CharacterAt(std::string_view text, std::size_t position)
{
    const std::u32string decoded = detail::DecodeUtf8(text).value_or(std::u32string());
    return detail::EncodeUtf8(detail::CharAt(decoded, position));
}

// "A, B y C".
std::string JoinAnd(const std::vector<std::string>& items)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += i + 1 == items.size() ? " y " : ", ";
        }
        out += items[i];
    }
    return out;
}

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view part : parts) {
        out += part;
    }
    return out;
}

// A letter or consonant that a rule made "X", or the one missing surname.
std::string RuleSentence(const KeyPiece& piece)
{
    const std::string_view c = piece.characters;
    const std::string_view source = piece.source;
    const bool consonant = IsConsonant(piece.kind);
    const std::string_view what = consonant ? "primera consonante interna" : What(piece.kind);
    switch (piece.rule) {
    case PieceRule::NoInnerVowel:
        return Concat({c, ": ", source, " no tiene vocal interna"});
    case PieceRule::NoInnerConsonant:
        return Concat({c, ": ", source, " no tiene consonante interna"});
    case PieceRule::SpaceIsX:
        return Concat({c, ": ", source, " no tiene consonante interna en su primera palabra"});
    case PieceRule::TooShort:
        if (source.empty()) {
            return Concat({c, ": ", Field(piece.input), " queda vacío"});
        }
        return Concat({c, ": ", source, " tiene menos de tres letras"});
    case PieceRule::EnyeIsX:
        return Concat({c, ": ", what, " de ", source, "; la Ñ se escribe X"});
    case PieceRule::InconvenientWord:
        return Concat({c, ": en lugar de ", CharacterAt(source, piece.position), " (", what, " de ",
                       source, "), porque ", piece.word, " es una palabra inconveniente"});
    case PieceRule::MissingSurname:
        return Concat({c, ": sin apellido materno"});
    default:
        return Concat({c, ": ", what, " de ", source});
    }
}

std::string PieceSentence(const KeyPiece& piece)
{
    const std::string_view c = piece.characters;
    switch (piece.kind) {
    case PieceKind::BirthDate:
        return Concat({c, ": fecha de nacimiento (aammdd)"});
    case PieceKind::Sex:
        return Concat({c, ": sexo"});
    case PieceKind::State:
        return Concat({c, ": entidad de nacimiento"});
    case PieceKind::Differentiator:
        return Concat({c, ": diferenciador"});
    case PieceKind::CheckDigit:
        return Concat({c, ": dígito verificador"});
    default:
        return RuleSentence(piece);
    }
}

// Letters of the first four taken from one text, on one line:
// "GO: G y O de GOMEZ (inicial y primera vocal interna)".
std::string TakenTogether(const KeyPiece* first, const KeyPiece* last)
{
    std::string characters;
    std::vector<std::string> each;
    std::vector<std::string> what;
    for (const KeyPiece* p = first; p != last; ++p) {
        characters += p->characters;
        each.push_back(p->characters);
        what.emplace_back(What(p->kind));
    }
    return Concat(
        {characters, ": ", JoinAnd(each), " de ", first->source, " (", JoinAnd(what), ")"});
}

bool TakenFromSameText(const KeyPiece& a, const KeyPiece& b) noexcept
{
    return IsBlockPiece(b.kind) && b.rule == PieceRule::Taken && a.input == b.input &&
           a.source == b.source;
}

void AddPieceLines(const std::vector<KeyPiece>& pieces, std::vector<std::string>& lines)
{
    const KeyPiece* const end = pieces.data() + pieces.size();
    for (const KeyPiece* p = pieces.data(); p != end;) {
        if (IsBlockPiece(p->kind) && p->rule == PieceRule::Taken) {
            const KeyPiece* last = p + 1;
            while (last != end && TakenFromSameText(*p, *last)) {
                ++last;
            }
            lines.push_back(last - p == 1 ? PieceSentence(*p) : TakenTogether(p, last));
            p = last;
            continue;
        }
        // The three inner consonants share a line when each is simply taken.
        if (p->kind == PieceKind::PaternalConsonant && end - p >= 3 &&
            std::all_of(p, p + 3, [](const KeyPiece& q) {
                return IsConsonant(q.kind) && q.rule == PieceRule::Taken;
            })) {
            lines.push_back(Concat({p[0].characters, p[1].characters, p[2].characters,
                                    ": primeras consonantes internas"}));
            p += 3;
            continue;
        }
        lines.push_back(PieceSentence(*p));
        ++p;
    }
}

// "DE LA ROSA se toma como ROSA: sin partículas", for a text preparation changed.
void AddNameLine(const PreparedName& name, std::vector<std::string>& lines)
{
    std::vector<std::string> reasons;
    if (name.enyeRepaired) {
        reasons.emplace_back("¥ se lee Ñ");
    }
    if (name.particlesRemoved) {
        reasons.emplace_back("sin partículas");
    }
    if (!name.dropped.empty()) {
        reasons.push_back("sin " + name.dropped);
    }
    if (name.apostrophesRemoved) {
        reasons.emplace_back("sin apóstrofos");
    }
    if (reasons.empty()) {
        return;
    }
    std::string typed = name.typed;
    const std::size_t first = typed.find_first_not_of(' ');
    typed = first == std::string::npos ? std::string() : typed.substr(first);
    typed.erase(typed.find_last_not_of(' ') + 1);

    std::string line = typed;
    line +=
        name.prepared.empty() ? " queda vacío: " : Concat({" se toma como ", name.prepared, ": "});
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        line += i > 0 ? ", " : "";
        line += reasons[i];
    }
    lines.push_back(std::move(line));
}

} // namespace

std::string Describe(const KeyNote& note)
{
    switch (note.kind) {
    case NoteKind::InvalidText:
        return Concat({"sin CURP: ", Field(note.input), " no es texto válido"});
    case NoteKind::InvalidDate:
        return "sin CURP: la fecha de nacimiento no existe";
    case NoteKind::NoGivenName:
        return "sin CURP: falta el nombre";
    case NoteKind::NoSurname:
        return "sin CURP: falta al menos un apellido";
    case NoteKind::AccentedLetters:
        return CharacterList(note.text) +
               ": la CURP se escribe sin acentos; escriba los nombres sin acentos";
    case NoteKind::OtherCharacters:
        return CharacterList(note.text) + ": la CURP solo lleva letras de la A a la Z y dígitos";
    case NoteKind::Born2000OrLater:
        return "nacimiento en 2000 o después: en la CURP la posición 17 es una letra, no 0";
    case NoteKind::NoSex:
        return "elija el sexo";
    case NoteKind::UnknownSex:
        return Concat({note.text, ": el sexo se escribe H, M o X"});
    case NoteKind::NoState:
        return "elija la entidad de nacimiento";
    case NoteKind::UnknownState:
        return Concat({note.text, ": no es una entidad del catálogo"});
    case NoteKind::SurnamesEmptied:
        return "los apellidos quedan vacíos sin partículas ni apóstrofos: faltan las cuatro "
               "primeras letras";
    case NoteKind::GivenNameEmptied:
        return "el nombre queda vacío sin partículas ni apóstrofos: falta su inicial";
    case NoteKind::GivenNameTooShort:
        return "el nombre tiene una sola letra: falta la cuarta letra";
    case NoteKind::Incomplete:
        return "la CURP queda incompleta y sin dígito verificador";
    case NoteKind::SurnameMoved:
        return Concat({"sin apellido paterno: el materno, ", note.text, ", ocupa su lugar"});
    case NoteKind::RegistryAssigns:
        break;
    }
    return "las posiciones 17 y 18 las asigna el registro; confirme la CURP en www.gob.mx/curp";
}

std::vector<std::string> Describe(const KeyExplanation& explanation)
{
    std::vector<std::string> lines;
    AddPieceLines(explanation.pieces, lines);
    for (const PreparedName& name : explanation.names) {
        AddNameLine(name, lines);
    }
    for (const KeyNote& note : explanation.notes) {
        lines.push_back(Describe(note));
    }
    return lines;
}

} // namespace curp
