// The Spanish sentences of an explanation, written here once for every
// program that shows them. Each starts with a capital (or with the key's own
// characters) and ends with a period.
#include "curp/explain.h"

#include "characters.h"
#include "curp/states.h"
#include "key_rules.h"
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
        return IsConsonant(kind) ? "primera consonante interna" : "inicial";
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

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view part : parts) {
        out += part;
    }
    return out;
}

std::u32string Decoded(std::string_view text)
{
    return detail::DecodeUtf8(text).value_or(std::u32string());
}

// Characters that are neither shown as they are nor space: control
// characters, and letters and signs of other scripts, named in words.
bool IsControl(char32_t c) noexcept
{
    return c < U' ' || (c >= 0x7F && c <= 0x9F);
}

// A character in a sentence: «c» itself when it can be shown, else in words.
std::string Named(char32_t c)
{
    if (c == U' ') {
        return "un espacio";
    }
    if (detail::IsShownAsIs(c)) {
        return Concat({"«", detail::EncodeUtf8(std::u32string_view(&c, 1)), "»"});
    }
    return IsControl(c) ? "un carácter de control" : "una letra o signo de otro alfabeto";
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

// The characters of a note, each kind once: those that can be shown as they
// are, then in words the spaces, control characters and other scripts.
std::string CharacterList(std::string_view characters)
{
    std::vector<std::string> shown;
    bool space = false;
    bool control = false;
    bool other = false;
    for (const char32_t c : Decoded(characters)) {
        if (detail::IsShownAsIs(c)) {
            shown.push_back(detail::EncodeUtf8(std::u32string_view(&c, 1)));
        } else {
            (c == U' ' ? space : IsControl(c) ? control : other) = true;
        }
    }
    if (space) {
        shown.emplace_back("espacios");
    }
    if (control) {
        shown.emplace_back("caracteres de control");
    }
    if (other) {
        shown.emplace_back("letras o signos de otro alfabeto");
    }
    return JoinAnd(shown);
}

// A text the person gave, as it is when it can be shown, else in words.
std::string TextOrWords(std::string_view text)
{
    const std::u32string decoded = Decoded(text);
    return std::all_of(decoded.begin(), decoded.end(), detail::IsShownAsIs) ? std::string(text)
                                                                            : CharacterList(text);
}

// A name as a sentence shows it: without the spaces around it, and with one
// space between its words where preparation left two.
std::string SingleSpaced(std::string_view name)
{
    std::string out;
    for (const char c : name) {
        if (c != ' ' || (!out.empty() && out.back() != ' ')) {
            out.push_back(c);
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// The character at `position` (from 1) of `text`.
char32_t CharacterAt(std::string_view text, std::size_t position)
{
    const std::u32string decoded = Decoded(text);
    const std::u32string_view c = detail::CharAt(decoded, position);
    return c.empty() ? U' ' : c.front();
}

// `text` with its first letter, an ASCII one, in upper case.
std::string Capitalized(std::string text)
{
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') {
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    }
    return text;
}

// A letter or consonant that a rule made "X", or the one missing surname.
std::string RuleSentence(const KeyPiece& piece)
{
    const std::string_view c = piece.characters;
    const std::string source = SingleSpaced(piece.source);
    const std::string_view what = What(piece.kind);
    // A space or a sign before the first inner vowel: "Un espacio tras la
    // primera letra de O RELLING: X, como en el registro."
    if (piece.kind == PieceKind::PaternalVowel &&
        (piece.rule == PieceRule::SpaceIsX || piece.rule == PieceRule::NonLetterIsX)) {
        return Concat({Capitalized(Named(CharacterAt(piece.source, piece.position))),
                       " tras la primera letra de ", source, ": ", c, ", como en el registro."});
    }
    switch (piece.rule) {
    case PieceRule::NoInnerVowel:
        return Concat({c, ": ", source, " no tiene vocal interna."});
    case PieceRule::NoInnerConsonant:
        return Concat({c, ": ", source, " no tiene consonante interna."});
    case PieceRule::SpaceIsX:
        return Concat({c, ": ", source, " no tiene consonante interna en su primera palabra."});
    case PieceRule::TooShort:
        if (source.empty()) {
            return Concat({c, ": ", Field(piece.input), " queda vacío."});
        }
        return Concat({c, ": ", source, " tiene menos de tres letras."});
    case PieceRule::EnyeIsX:
        return Concat({c, ": ", what, " de ", source, "; la Ñ se escribe X."});
    case PieceRule::NonLetterIsX:
        return Concat({c, ": en lugar de ", Named(CharacterAt(piece.source, piece.position)), " (",
                       what, " de ", source, "), porque ahí solo van letras de la A a la Z."});
    case PieceRule::InconvenientWord:
        return Concat(
            {c, ": en lugar de ",
             detail::EncodeUtf8(std::u32string(1, CharacterAt(piece.source, piece.position))), " (",
             what, " de ", source, "), porque ", piece.word, " es una palabra inconveniente."});
    case PieceRule::MissingSurname:
        return Concat({c, ": sin apellido materno."});
    default:
        return Concat({c, ": ", what, " de ", source, "."});
    }
}

std::string_view SexInWords(std::string_view sex) noexcept
{
    if (sex == "H") {
        return "hombre (Masculino)";
    }
    if (sex == "M") {
        return "mujer (Femenino)";
    }
    return sex == "X" ? "no binario" : "sexo";
}

std::string PieceSentence(const KeyPiece& piece)
{
    const std::string_view c = piece.characters;
    switch (piece.kind) {
    case PieceKind::BirthDate:
        return Concat({c, ": fecha de nacimiento con año, mes y día (aammdd)."});
    case PieceKind::Sex:
        return Concat({c, ": ", SexInWords(c), "."});
    case PieceKind::State:
        if (const State* state = FindStateByCode(c); state != nullptr && state->code == c) {
            return Concat({c, ": entidad de nacimiento (", state->name, ")."});
        }
        return Concat({c, ": entidad de nacimiento."});
    case PieceKind::Differentiator:
        return Concat({c,
                       c == "0" ? ": el que el registro asigna primero a quien nació antes de 2000"
                                : ": la que el registro asigna primero a quien nació desde 2000",
                       " (diferenciador, primer carácter de la homoclave)."});
    case PieceKind::CheckDigit:
        return Concat({c, ": dígito verificador (segundo carácter de la homoclave)."});
    default:
        return RuleSentence(piece);
    }
}

// Letters of the first four taken from one text, on one line:
// "GO: G y O de GOMEZ (inicial y primera vocal interna)."
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
    return Concat({characters, ": ", JoinAnd(each), " de ", SingleSpaced(first->source), " (",
                   JoinAnd(what), ")."});
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
                                    ": primera consonante interna de ",
                                    JoinAnd({SingleSpaced(p[0].source), SingleSpaced(p[1].source),
                                             SingleSpaced(p[2].source)}),
                                    "."}));
            p += 3;
            continue;
        }
        lines.push_back(PieceSentence(*p));
        ++p;
    }
}

// How a sentence names a character that reading left out or read as a space.
std::string Invisible(char32_t c)
{
    switch (c) {
    case 0x00A0:
        return "el espacio de no separación";
    case U'\t':
        return "el tabulador";
    case 0x3000:
        return "el espacio ideográfico";
    case 0x200B:
        return "un espacio de ancho cero";
    case 0x200C:
        return "un separador de ancho cero";
    case 0x200D:
        return "una unión de ancho cero";
    case 0x2060:
        return "una unión de palabras";
    case 0xFEFF:
        return "una marca de orden de bytes";
    case 0x00AD:
        return "un guion suave";
    case 0x061C:
    case 0x200E:
    case 0x200F:
        return "una marca de dirección del texto";
    default:
        break;
    }
    if ((c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)) {
        return "un control de dirección del texto";
    }
    if ((c >= U'\n' && c <= U'\r') || c == 0x85 || c == 0x2028 || c == 0x2029) {
        return "el salto de línea";
    }
    const std::string code = detail::CodePointName(c);
    if (detail::IsWhiteSpace(c)) {
        return "el espacio especial " + code;
    }
    return detail::IsCombiningMark(c) ? "una marca diacrítica suelta (" + code + ")"
                                      : "un carácter invisible (" + code + ")";
}

// How the name was read, one sentence for each change:
// "Ó de LÓPEZ cuenta como O, como en el registro."
void AddReadingLines(const PreparedName& name, std::vector<std::string>& lines)
{
    const std::string written = SingleSpaced(name.written);
    for (const ReadChange& change : name.changes) {
        const std::u32string c = Decoded(change.written);
        switch (change.how) {
        case ReadAs::BaseLetter:
            lines.push_back(Concat({change.written, " de ", written, " cuenta como ", change.read,
                                    ", como en el registro."}));
            break;
        case ReadAs::Space: {
            // Every name of Invisible starts with an ASCII article: "el", "un", "una".
            std::string what = Invisible(c.empty() ? U' ' : c.front());
            what.front() = static_cast<char>(what.front() - 'a' + 'A');
            lines.push_back(Concat({what, " de ", written, " cuenta como espacio."}));
            break;
        }
        case ReadAs::Removed:
            lines.push_back(Concat(
                {"Se quitó ", Invisible(c.empty() ? U' ' : c.front()), " de ", written, "."}));
            break;
        case ReadAs::Apostrophe:
            lines.push_back(Concat({change.written, " de ", written, " cuenta como apóstrofo."}));
            break;
        }
    }
}

// A name the key passes over, as a sentence writes it: "MARÍA", "JOSÉ".
std::string_view Accented(std::string_view name)
{
    return name == "MARIA" ? "MARÍA" : name == "JOSE" ? "JOSÉ" : name;
}

// "se omitió VON (partícula)", "se omitieron DE LA y Y (partículas)".
std::string OmittedParticles(const std::vector<std::string>& particles)
{
    return particles.size() == 1 ? Concat({"se omitió ", particles.front(), " (partícula)"})
                                 : Concat({"se omitieron ", JoinAnd(particles), " (partículas)"});
}

// "MA. cuenta como MARÍA, como en el registro", "J. cuenta como JOSÉ y MA.
// como MARÍA, como en el registro".
std::string CountedShortForms(const std::vector<ShortForm>& forms)
{
    std::vector<std::string> each;
    each.reserve(forms.size());
    for (const ShortForm& form : forms) {
        each.push_back(Concat(
            {form.written, each.empty() ? " cuenta como " : " como ", Accented(form.counted)}));
    }
    return JoinAnd(each) + ", como en el registro";
}

// "DE LA ROSA se toma como ROSA: se omitió DE LA (partícula).", for a text
// preparation changed; "MA. ROSARIO se toma como ROSARIO: MA. cuenta como
// MARÍA, como en el registro."
void AddNameLine(const PreparedName& name, std::vector<std::string>& lines)
{
    std::vector<std::string> reasons;
    if (name.enyeRepaired) {
        reasons.emplace_back("¥ se lee Ñ");
    }
    if (!name.particles.empty()) {
        reasons.push_back(OmittedParticles(name.particles));
    } else if (name.particlesRemoved) {
        reasons.emplace_back("sin partículas");
    }
    // The words dropped in full ("JOSE" of "JOSE MA. LUIS"), then the short ones.
    std::string full;
    for (std::size_t start = 0; start < name.dropped.size();) {
        const std::size_t end = std::min(name.dropped.find(' ', start), name.dropped.size());
        const std::string_view word = std::string_view(name.dropped).substr(start, end - start);
        if (!word.empty() &&
            std::none_of(name.shortForms.begin(), name.shortForms.end(),
                         [word](const ShortForm& form) { return form.written == word; })) {
            full += Concat({full.empty() ? "" : " ", word});
        }
        start = end + 1;
    }
    if (!full.empty()) {
        reasons.push_back("sin " + full);
    }
    if (!name.shortForms.empty()) {
        reasons.push_back(CountedShortForms(name.shortForms));
    }
    if (name.apostrophesRemoved) {
        reasons.emplace_back("sin apóstrofos");
    }
    if (reasons.empty()) {
        return;
    }
    std::string line = SingleSpaced(name.read);
    line += name.prepared.empty() ? " queda vacío: "
                                  : Concat({" se toma como ", SingleSpaced(name.prepared), ": "});
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        line += i > 0 ? ", " : "";
        line += reasons[i];
    }
    lines.push_back(line + ".");
}

} // namespace

std::string Describe(const KeyNote& note)
{
    switch (note.kind) {
    case NoteKind::InvalidText:
        return Concat({"Sin CURP: ", Field(note.input), " no es texto válido."});
    case NoteKind::InvalidDate:
        return "Sin CURP: la fecha de nacimiento no existe.";
    case NoteKind::NoGivenName:
        return "Sin CURP: falta el nombre.";
    case NoteKind::NoSurname:
        return "Sin CURP: falta al menos un apellido.";
    case NoteKind::OtherCharacters:
        return Concat({"La CURP solo lleva letras de la A a la Z y dígitos, y esta lleva ",
                       CharacterList(note.text), "."});
    case NoteKind::UnknownSex:
        return Concat({"El sexo se escribe H, M o X, no ", TextOrWords(note.text), "."});
    case NoteKind::NoSex:
        return "Elija el sexo.";
    case NoteKind::NoState:
        return "Elija la entidad de nacimiento.";
    case NoteKind::UnknownState:
        return Concat({"La entidad ", TextOrWords(note.text), " no está en el catálogo."});
    case NoteKind::SurnamesEmptied:
        return "Los apellidos quedan vacíos sin partículas ni apóstrofos: faltan las cuatro "
               "primeras letras.";
    case NoteKind::GivenNameEmptied:
        return "El nombre queda vacío sin partículas ni apóstrofos: falta su inicial.";
    case NoteKind::GivenNameTooShort:
        return "El nombre tiene una sola letra: falta la cuarta letra.";
    case NoteKind::Incomplete:
        return "La CURP queda incompleta y sin dígito verificador.";
    case NoteKind::AbbreviatedName:
        return Concat({"El nombre lleva ", note.text,
                       ", que parece abreviado: el registro usa el nombre completo, y con él la "
                       "CURP puede ser otra."});
    case NoteKind::SurnameMoved:
        return Concat(
            {"Sin apellido paterno: el materno, ", SingleSpaced(note.text), ", ocupa su lugar."});
    case NoteKind::RegistryAssigns:
        break;
    }
    return "La homoclave (posiciones 17 y 18) la asigna el registro y puede ser otra; confirme la "
           "CURP en www.gob.mx/curp.";
}

std::vector<std::string> Describe(const KeyExplanation& explanation)
{
    std::vector<std::string> lines;
    AddPieceLines(explanation.pieces, lines);
    for (const PreparedName& name : explanation.names) {
        AddReadingLines(name, lines);
        AddNameLine(name, lines);
    }
    for (const KeyNote& note : explanation.notes) {
        lines.push_back(Describe(note));
    }
    return lines;
}

} // namespace curp
