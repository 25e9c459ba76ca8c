// The explanation of a key, read off the trace of the one computation that
// gave it (its working texts after each step) and off the same rules that
// picked each letter.
#include "curp/explain.h"

#include "characters.h"
#include "curp/states.h"
#include "key_rules.h"
#include "text.h"
#include "trace.h"
#include "utf.h"

#include <algorithm>
#include <array>
#include <optional>

namespace curp {
namespace {

using detail::NameText;
using detail::Step;

using detail::Index;
using detail::kNameCount;
using detail::kSexText;
using detail::kStateText;
using detail::kTextCount;
using detail::Recorder;
using detail::Texts;

std::string Utf8(std::u32string_view text)
{
    return detail::EncodeUtf8(text);
}

// A name as written and what reading changed in it: each character as
// detail::ReadCharacter reads it, with the combining marks after a letter
// taken as part of that letter.
struct Writing {
    std::u32string written; // upper case, one kind of space, nothing invisible, accents kept
    std::vector<ReadChange> changes;
};

Writing WritingOf(std::u32string_view typed)
{
    using detail::Reading;
    Writing out;
    const auto note = [&out](ReadAs how, std::u32string_view written, std::u32string_view read) {
        ReadChange change{how, Utf8(written), Utf8(read)};
        if (std::find(out.changes.begin(), out.changes.end(), change) == out.changes.end()) {
            out.changes.push_back(std::move(change));
        }
    };
    for (std::size_t i = 0; i < typed.size();) {
        const char32_t c = typed[i];
        const detail::CharacterRead r = detail::ReadCharacter(typed, i);
        i += r.length;
        if (r.how == Reading::Space) {
            out.written += U' ';
            note(ReadAs::Space, {&c, 1}, U" ");
            continue;
        }
        if (detail::IsRemoved(r.how)) {
            note(ReadAs::Removed, {&c, 1}, {});
            continue;
        }
        if (r.how == Reading::Apostrophe) {
            out.written += c;
            note(ReadAs::Apostrophe, {&c, 1}, U"'");
            continue;
        }
        std::u32string letter(1, r.how == Reading::Composed ? r.read : detail::SimpleUpperCase(c));
        while (i < typed.size() && detail::ReadCharacter(typed, i).how == Reading::MarkRemoved) {
            letter += typed[i++];
        }
        out.written += letter;
        if (r.how == Reading::Folded || letter.size() > 1) {
            note(ReadAs::BaseLetter, letter, {&r.read, 1});
        }
    }
    return out;
}

// The words of `text`, which are separated by one space or more.
std::vector<std::u32string_view> Words(std::u32string_view text)
{
    std::vector<std::u32string_view> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(U' ', start), text.size());
        if (end > start) {
            words.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

// What reading and preparation did to one name text, read from its
// successive forms.
PreparedName Prepared(KeyInput input, const Texts& typed, const Recorder& seen, NameText which)
{
    const auto after = [&](Step step) { return seen.Name(typed, which, step); };
    const std::u32string_view read = after(Step::NameRead);
    const std::u32string_view repaired = after(Step::EnyeRepaired);
    const std::u32string_view withoutParticles = after(Step::ParticlesRemoved);
    // Only the given name goes through the JOSE / MARIA step.
    const std::u32string_view shortened =
        which == NameText::Nm ? after(Step::CommonNameDropped) : withoutParticles;
    const std::u32string_view prepared = after(Step::ApostrophesRemoved);

    Writing writing = WritingOf(typed[Index(which)]);
    PreparedName name{input,      Utf8(typed[Index(which)]),  Utf8(writing.written),
                      Utf8(read), std::move(writing.changes), Utf8(prepared)};
    name.enyeRepaired = repaired != read;
    // Removing particles also trims; trimming alone removes no particle.
    name.particlesRemoved = withoutParticles != detail::Trimmed<char32_t>(repaired, U" ");
    if (name.particlesRemoved) {
        for (const std::u32string_view particle : detail::ParticlesIn(std::u32string(repaired))) {
            name.particles.push_back(Utf8(particle));
        }
    }
    if (shortened != withoutParticles) {
        // What was dropped is what stands before the shortened text: the
        // words JOSE and MARIA, or the short forms that count as them.
        const std::u32string_view dropped = detail::Trimmed<char32_t>(
            withoutParticles.substr(0, withoutParticles.size() - shortened.size()), U" ");
        name.dropped = Utf8(dropped);
        for (const std::u32string_view word : Words(dropped)) {
            if (const std::u32string_view counted = detail::CommonFirstName(word);
                counted != word) {
                name.shortForms.push_back({Utf8(word), Utf8(counted)});
            }
        }
    }
    name.apostrophesRemoved = prepared != shortened;
    return name;
}

KeyInput InputOf(NameText which) noexcept
{
    switch (which) {
    case NameText::Ap:
        return KeyInput::Ap;
    case NameText::Am:
        return KeyInput::Am;
    case NameText::Nm:
        break;
    }
    return KeyInput::Nm;
}

bool IsKeyCharacter(char32_t c) noexcept
{
    return (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9');
}

// The note on the characters of the key that no registry key holds, each
// character once, in key order. Only a sex or state given as something
// else than letters puts any there: the rules write letters A-Z and digits.
void NoteForeignCharacters(std::u32string_view key, std::vector<KeyNote>& notes)
{
    std::u32string other;
    for (const char32_t c : key) {
        if (!IsKeyCharacter(c) && other.find(c) == std::u32string::npos) {
            other.push_back(c);
        }
    }
    if (!other.empty()) {
        notes.push_back({NoteKind::OtherCharacters, KeyInput::None, Utf8(other)});
    }
}

// Builds the explanation from the trace of one computation.
class Explainer
{
public:
    Explainer(const Texts& typed, const Recorder& seen, std::u32string_view key)
        : typed_(typed)
        , seen_(seen)
        , key_(key)
        , final_{std::u32string(Seen(NameText::Ap, Step::SurnamesFilled)),
                 std::u32string(Seen(NameText::Am, Step::SurnamesFilled)),
                 std::u32string(Seen(NameText::Nm, Step::SurnamesFilled))}
    {
        // A paternal surname that preparation left empty takes the maternal
        // one, and a maternal surname left empty (or moved) becomes "X".
        moved_ = final_.Ap != Seen(NameText::Ap, Step::ApostrophesRemoved);
        maternalFilled_ = final_.Am != Seen(NameText::Am, Step::ApostrophesRemoved);
    }

    KeyExplanation Explain()
    {
        KeyExplanation out;
        out.key = Utf8(key_);
        out.pieces.reserve(13);
        out.names.reserve(kNameCount);
        AddBlockPieces(out.pieces);
        AddCopied(out.pieces, PieceKind::BirthDate, KeyInput::FB, Step::BirthDate);
        AddCopied(out.pieces, PieceKind::Sex, KeyInput::CveSexo, Step::Sex);
        AddCopied(out.pieces, PieceKind::State, KeyInput::CveEnt, Step::State);
        AddConsonant(out.pieces, PieceKind::PaternalConsonant, NameText::Ap, Step::ConsonantAp);
        AddConsonant(out.pieces, PieceKind::MaternalConsonant, NameText::Am, Step::ConsonantAm);
        AddConsonant(out.pieces, PieceKind::GivenConsonant, NameText::Nm, Step::ConsonantNm);
        out.pieces.push_back({PieceKind::Differentiator, PieceRule::FirstAssigned,
                              Slice(Step::ConsonantNm, Step::Differentiator), KeyInput::None});
        if (key_.size() > End(Step::Differentiator)) {
            out.pieces.push_back({PieceKind::CheckDigit, PieceRule::Computed,
                                  Utf8(key_.substr(End(Step::Differentiator))), KeyInput::None});
        }
        for (const NameText which : {NameText::Ap, NameText::Am, NameText::Nm}) {
            out.names.push_back(Prepared(InputOf(which), typed_, seen_, which));
        }
        AddNotes(out);
        return out;
    }

private:
    std::u32string_view Seen(NameText which, Step after) const
    {
        return seen_.Name(typed_, which, after);
    }

    const std::u32string& Final(NameText which) const
    {
        switch (which) {
        case NameText::Ap:
            return final_.Ap;
        case NameText::Am:
            return final_.Am;
        case NameText::Nm:
            break;
        }
        return final_.Nm;
    }

    std::size_t End(Step step) const
    {
        return seen_.ends[Index(step)];
    }

    // The characters the steps after `from` up to `to` added to the body.
    std::string Slice(Step from, Step to) const
    {
        return Utf8(key_.substr(End(from), End(to) - End(from)));
    }

    // The input whose text stands in the place of `which`.
    KeyInput Input(NameText which) const noexcept
    {
        return which == NameText::Ap && moved_ ? KeyInput::Am : InputOf(which);
    }

    bool IsMissingSurname(NameText which) const noexcept
    {
        return which == NameText::Am && maternalFilled_;
    }

    KeyPiece NamePiece(PieceKind kind, NameText from, const detail::Letter& letter,
                       char32_t written) const
    {
        if (IsMissingSurname(from)) {
            return {kind, PieceRule::MissingSurname, Utf8(std::u32string_view(&written, 1)),
                    KeyInput::Am};
        }
        return {kind,        letter.rule,       Utf8(std::u32string_view(&written, 1)),
                Input(from), Utf8(Final(from)), letter.at};
    }

    void AddBlockPieces(std::vector<KeyPiece>& pieces) const
    {
        const detail::BlockLetters letters = detail::InitialLetters(final_);
        const auto& [picked, filtered, written] = seen_.block;
        for (std::size_t i = 0; i < letters.size; ++i) {
            const detail::BlockLetter& letter = letters.letters[i];
            KeyPiece piece = NamePiece(letter.kind, letter.from, letter.letter, written[i]);
            if (filtered[i] != picked[i]) {
                piece.rule = PieceRule::InconvenientWord;
                piece.word = Utf8(picked);
            } else if (written[i] != filtered[i]) {
                piece.rule =
                    filtered[i] == U'\u00D1' ? PieceRule::EnyeIsX : PieceRule::NonLetterIsX;
            }
            pieces.push_back(std::move(piece));
        }
    }

    void AddCopied(std::vector<KeyPiece>& pieces, PieceKind kind, KeyInput input, Step step) const
    {
        const auto previous = static_cast<Step>(Index(step) - 1);
        if (End(step) > End(previous)) {
            pieces.push_back({kind, PieceRule::FromInput, Slice(previous, step), input});
        }
    }

    void AddConsonant(std::vector<KeyPiece>& pieces, PieceKind kind, NameText from, Step step) const
    {
        const detail::Letter letter = detail::InnerConsonant(Final(from));
        pieces.push_back(NamePiece(kind, from, letter, key_[End(step) - 1]));
    }

    void AddNotes(KeyExplanation& out) const
    {
        std::vector<KeyNote>& notes = out.notes;
        NoteForeignCharacters(key_, notes);
        const std::u32string_view sex = typed_[kSexText];
        if (sex.empty()) {
            notes.push_back({NoteKind::NoSex});
        } else if (sex != U"H" && sex != U"M" && sex != U"X") {
            notes.push_back({NoteKind::UnknownSex, KeyInput::CveSexo, Utf8(sex)});
        }
        const std::string state = Utf8(typed_[kStateText]);
        if (state.empty()) {
            notes.push_back({NoteKind::NoState});
        } else if (const State* known = FindStateByCode(state); !known || known->code != state) {
            notes.push_back({NoteKind::UnknownState, KeyInput::CveEnt, state});
        }
        const auto has = [&out](PieceKind kind) {
            return std::any_of(out.pieces.begin(), out.pieces.end(),
                               [kind](const KeyPiece& p) { return p.kind == kind; });
        };
        if (Final(NameText::Ap).empty()) {
            notes.push_back({NoteKind::SurnamesEmptied});
        }
        if (Final(NameText::Nm).empty()) {
            notes.push_back({NoteKind::GivenNameEmptied});
        } else if (has(PieceKind::GivenInitial) && !has(PieceKind::PaternalVowel) &&
                   !has(PieceKind::GivenSecondLetter)) {
            notes.push_back({NoteKind::GivenNameTooShort});
        }
        if (key_.size() < 18) {
            notes.push_back({NoteKind::Incomplete});
        }
        // Words counted as JOSE or MARIA are gone from the text after that step.
        if (const auto word = detail::AbbreviatedWord(Seen(NameText::Nm, Step::CommonNameDropped));
            !word.empty()) {
            notes.push_back({NoteKind::AbbreviatedName, KeyInput::Nm, Utf8(word)});
        }
        if (moved_) {
            notes.push_back({NoteKind::SurnameMoved, KeyInput::Am, Utf8(Final(NameText::Ap))});
        }
        notes.push_back({NoteKind::RegistryAssigns});
    }

    const Texts& typed_;
    const Recorder& seen_;
    std::u32string_view key_;
    detail::Names final_; // the name texts letters are taken from
    bool moved_ = false;
    bool maternalFilled_ = false;
};

// The explanation of a computation whose texts held scalar values only.
KeyExplanation ExplainValid(const KeyTrace::Record& record)
{
    const Texts typed = record.Views();
    const auto read = [&](NameText which) {
        return record.seen.Name(typed, which, Step::NameRead);
    };
    KeyExplanation out;
    if (!record.FB.ok()) {
        out.notes.push_back({NoteKind::InvalidDate});
    }
    if (!detail::HasGivenName(read(NameText::Nm))) {
        out.notes.push_back({NoteKind::NoGivenName});
    }
    if (!detail::HasSurname(read(NameText::Ap), read(NameText::Am))) {
        out.notes.push_back({NoteKind::NoSurname});
    }
    if (!out.notes.empty()) {
        out.notes.push_back({NoteKind::RegistryAssigns});
        return out;
    }
    return Explainer(typed, record.seen, record.key).Explain();
}

constexpr std::array<KeyInput, kTextCount> kTextInputs = {KeyInput::Ap, KeyInput::Am, KeyInput::Nm,
                                                          KeyInput::CveSexo, KeyInput::CveEnt};

// The explanation when some texts are not valid Unicode: no key.
KeyExplanation Refused(const std::array<bool, kTextCount>& valid, std::chrono::year_month_day FB)
{
    KeyExplanation out;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        if (!valid[i]) {
            out.notes.push_back({NoteKind::InvalidText, kTextInputs[i]});
        }
    }
    if (!FB.ok()) {
        out.notes.push_back({NoteKind::InvalidDate});
    }
    out.notes.push_back({NoteKind::RegistryAssigns});
    return out;
}

} // namespace

bool KeyExplanation::Has(NoteKind kind) const noexcept
{
    return std::any_of(notes.begin(), notes.end(),
                       [kind](const KeyNote& note) { return note.kind == kind; });
}

KeyExplanation ExplainKey(const KeyTrace& trace) noexcept
{
    try {
        const KeyTrace::Record* record = trace.record();
        if (record == nullptr || !record->complete) {
            return {};
        }
        if (std::find(record->valid.begin(), record->valid.end(), false) != record->valid.end()) {
            return Refused(record->valid, record->FB);
        }
        return ExplainValid(*record);
    } catch (...) { // out of memory
        return {};
    }
}

namespace {

// The explanation of a computation made for it, in either encoding.
template <class View>
KeyExplanation ComputeAndExplain(View Ap, View Am, View Nm, std::chrono::year_month_day FB,
                                 View CveSexo, View CveEnt) noexcept
{
    KeyTrace trace;
    Calc_Clave(Ap, Am, Nm, FB, CveSexo, CveEnt, trace);
    return ExplainKey(trace);
}

} // namespace

KeyExplanation ExplainKey(std::string_view Ap, std::string_view Am, std::string_view Nm,
                          std::chrono::year_month_day FB, std::string_view CveSexo,
                          std::string_view CveEnt) noexcept
{
    return ComputeAndExplain(Ap, Am, Nm, FB, CveSexo, CveEnt);
}

KeyExplanation ExplainKey(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt) noexcept
{
    return ComputeAndExplain(Ap, Am, Nm, FB, CveSexo, CveEnt);
}

bool CouldBeRegistryKey(const KeyExplanation& explanation) noexcept
{
    constexpr std::array<NoteKind, 6> kNotRegistry = {
        NoteKind::OtherCharacters, NoteKind::NoSex,        NoteKind::UnknownSex,
        NoteKind::NoState,         NoteKind::UnknownState, NoteKind::AbbreviatedName,
    };
    // Without accented or other characters the key is ASCII: one byte a character.
    // An X for a digit or a sign of a name comes from data no registry holds.
    return explanation.key.size() == 18 &&
           std::none_of(kNotRegistry.begin(), kNotRegistry.end(),
                        [&explanation](NoteKind kind) { return explanation.Has(kind); }) &&
           std::none_of(
               explanation.pieces.begin(), explanation.pieces.end(),
               [](const KeyPiece& piece) { return piece.rule == PieceRule::NonLetterIsX; });
}

} // namespace curp
