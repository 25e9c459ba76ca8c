// libFuzzer target for Calc_Clave. Besides crashes, leaks and undefined
// behaviour (the build adds AddressSanitizer and UndefinedBehaviorSanitizer),
// it checks what must hold for every input and aborts when it does not:
//   - the result is empty or well-formed UTF-8;
//   - the result is empty when a text is not UTF-8, the date is not a
//     calendar date, the given name is blank or both surnames are blank, and
//     not empty when the texts are UTF-8, the date is one, and the given name
//     and a surname hold a visible ASCII character (which reading never
//     drops); names of other characters are left to the tests;
//   - a second call gives the same result;
//   - the UTF-8 and UTF-32 entries give the same key;
//   - a result of 17 characters or more ends with the check digit of its
//     first 17 characters (so a result never has exactly 17);
//   - checking and reading the whole input, and each short text of it, give
//     what a second reading of the rules (tests/oracle/key_oracle.h) gives,
//     and the sentences of the findings are UTF-8 without control characters;
//   - with H, M or X and a catalogue state, whatever the names hold, a key of
//     18 characters for a birth in 1601-9999 checks clean, and for a birth in
//     1900-2099 it reads back its date, sex and state;
//   - an 18-character key with any one character changed checks clean only
//     when the oracle finds the change keeps every rule.
//   - the explanation of the same input gives the same key through either
//     entry and from the trace of one computation, its pieces concatenate to
//     that key, a piece taken from a name stands at the position it names,
//     and its sentences can be written.
//
// Layout of an input:
//   bytes 0-1  year, little-endian signed 16 bits (-32768 is no valid year)
//   byte 2     month, taken modulo 16 (0 and 13 to 15 are invalid)
//   byte 3     day, taken modulo 32 (0 and days past the month's end are invalid)
//   the rest   Ap, Am, Nm, CveSexo and CveEnt, separated by 0xFF, a byte that
//              never occurs in UTF-8. The last text takes everything left,
//              further 0xFF bytes included; texts that are missing are empty.
// fuzz/make-seeds.sh writes inputs in this layout.
#include "curp/calc_clave.h"
#include "curp/check.h"
#include "curp/explain.h"
#include "curp/read.h"
#include "key_oracle.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr char kSeparator = '\xFF';

enum Text : std::size_t { kAp, kAm, kNm, kCveSexo, kCveEnt, kTextCount };

struct Input {
    std::chrono::year_month_day FB;
    std::array<std::string_view, kTextCount> texts;
};

Input Split(const std::uint8_t* data, std::size_t size)
{
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::size_t headerSize = std::min(size, kHeaderSize);
    std::copy_n(data, headerSize, header.begin());
    const auto year = static_cast<std::int16_t>(header[0] | (header[1] << 8));
    Input input{std::chrono::year{year} / std::chrono::month{header[2] % 16u} /
                    std::chrono::day{header[3] % 32u},
                {}};

    std::string_view rest(reinterpret_cast<const char*>(data) + headerSize, size - headerSize);
    for (std::size_t i = 0; i + 1 < kTextCount; ++i) {
        const std::size_t end = rest.find(kSeparator);
        if (end == std::string_view::npos) {
            input.texts[i] = rest;
            return input;
        }
        input.texts[i] = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    input.texts[kCveEnt] = rest;
    return input;
}

// Texts for the UTF-32 entry come from the oracle's decoder, so that the two
// entries are compared against a decoder other than the library's.
using curp::oracle::CheckDigitOf;
using curp::oracle::Decode;
using curp::oracle::Decoded;

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

bool HasVisibleAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "calc_clave_fuzz: violated: %s\n", what);
        std::abort();
    }
}

// --- Checking and reading keys ---

// CheckKey and ReadKey say of `text` what the oracle says, and a sentence
// for each finding is UTF-8 without control characters, so that it can be
// shown anywhere, a terminal included.
void CheckAgreesWithOracle(std::string_view text)
{
    const curp::oracle::Key given = curp::oracle::Prepare(text);
    const std::vector<curp::KeyFinding> findings = curp::CheckKey(text);
    Require(findings == curp::oracle::Findings(given), "CheckKey agrees with the oracle");
    const std::optional<curp::KeyData> data = curp::ReadKey(text);
    Require(data.has_value() == curp::oracle::Read(given).has_value(),
            "ReadKey reads exactly what the oracle reads");
    Require(curp::CheckKey(curp::NormalizeKey(text)) == findings,
            "a normalised key has the findings of the text it came from");
    for (const curp::KeyFinding& finding : findings) {
        const std::string sentence = curp::Describe(finding);
        Require(!sentence.empty() && Decode(sentence).valid, "a sentence is UTF-8");
        Require(std::none_of(sentence.begin(), sentence.end(),
                             [](char c) { return c >= 0 && c < ' '; }),
                "a sentence holds no control character");
    }
}

// Any names, H, M or X and a state of the catalogue: an 18-character key
// checks clean for a birth in the years the window takes (1601-9999; in
// others the year's last two digits with position 17 may name no date), and
// reads back the date, sex and state it was computed from for a birth in the
// two centuries position 17 tells apart (1900-2099).
void CheckComputedKey(const Input& in, std::string_view key)
{
    const auto& t = in.texts;
    const int year = static_cast<int>(in.FB.year());
    const curp::State* state = curp::FindStateByCode(t[kCveEnt]);
    const bool sexLetter = t[kCveSexo] == "H" || t[kCveSexo] == "M" || t[kCveSexo] == "X";
    if (Decode(key).text.size() != 18 || !sexLetter || state == nullptr ||
        state->code != t[kCveEnt] || year < 1601 || year > 9999) {
        return;
    }
    Require(curp::CheckKey(key).empty(), "a computed key checks clean");
    if (year < 1900 || year > 2099) {
        return;
    }
    const std::optional<curp::KeyData> data = curp::ReadKey(key);
    Require(data && data->birth == in.FB && data->sex == t[kCveSexo][0] && data->state == state,
            "a computed key reads back its date, sex and state");
}

// An 18-character key with one character changed, the position and the new
// character chosen by `seed`: CheckKey reports it clean only when the oracle
// does (the change keeps every rule), and otherwise finds what the oracle finds.
void CheckSingleChange(std::u32string key, std::size_t seed)
{
    constexpr std::u32string_view candidates =
        U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00D1\u00F1a\u00C9*- \u0410";
    key[seed % key.size()] = candidates[(seed / key.size()) % candidates.size()];
    const std::string text = curp::oracle::Encode(key);
    Require(curp::CheckKey(text).empty() == curp::oracle::Findings(text).empty(),
            "a changed key is clean only when the change keeps every rule");
    CheckAgreesWithOracle(text);
}

// --- Explaining keys ---

// The explanation of an input against the key Calc_Clave gave for it.
void CheckExplanation(const Input& in, const std::array<Decoded, kTextCount>& decoded,
                      std::string_view key)
{
    const auto& t = in.texts;
    const curp::KeyExplanation explained =
        curp::ExplainKey(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt]);
    Require(explained.key == key, "the explanation gives Calc_Clave's key");
    curp::KeyTrace trace;
    Require(curp::Calc_Clave(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt], trace) ==
                    key &&
                curp::ExplainKey(trace) == explained,
            "a traced computation gives the key and the explanation alike");
    Require(explained == curp::ExplainKey(decoded[kAp].text, decoded[kAm].text, decoded[kNm].text,
                                          in.FB, decoded[kCveSexo].text, decoded[kCveEnt].text),
            "the UTF-8 and UTF-32 entries explain alike");
    Require(!explained.notes.empty() &&
                explained.notes.back().kind == curp::NoteKind::RegistryAssigns,
            "the notes end with the registry's positions");

    std::string joined;
    for (const curp::KeyPiece& piece : explained.pieces) {
        joined += piece.characters;
        if (piece.rule == curp::PieceRule::Taken && !piece.source.empty()) {
            const std::u32string source = Decode(piece.source).text;
            Require(piece.position >= 1 && piece.position <= source.size() &&
                        Decode(piece.characters).text == source.substr(piece.position - 1, 1),
                    "a piece taken from a name stands at the position it names");
        }
    }
    Require(joined == key, "the pieces of the explanation concatenate to the key");
    Require(curp::Describe(explained).size() >= explained.notes.size(),
            "every note has its sentence");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Input in = Split(data, size);
    const auto& t = in.texts;

    const std::string key =
        curp::Calc_Clave(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt]);
    Require(key == curp::Calc_Clave(t[kAp], t[kAm], t[kNm], in.FB, t[kCveSexo], t[kCveEnt]),
            "a second call gives the same result");

    std::array<Decoded, kTextCount> decoded;
    bool allValid = true;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        decoded[i] = Decode(t[i]);
        allValid = allValid && decoded[i].valid;
    }
    const bool refused =
        !allValid || !in.FB.ok() || IsBlank(t[kNm]) || (IsBlank(t[kAp]) && IsBlank(t[kAm]));
    const bool present =
        HasVisibleAscii(t[kNm]) && (HasVisibleAscii(t[kAp]) || HasVisibleAscii(t[kAm]));
    Require(!refused || key.empty(), "the result is empty when the input is refused");
    Require(refused || !present || !key.empty(), "a key is computed when every input is there");

    const Decoded key32 = Decode(key);
    Require(key32.valid, "the result is well-formed UTF-8");

    const std::u32string fromUtf32 =
        curp::Calc_Clave(decoded[kAp].text, decoded[kAm].text, decoded[kNm].text, in.FB,
                         decoded[kCveSexo].text, decoded[kCveEnt].text);
    Require(fromUtf32 == key32.text, "the UTF-8 and UTF-32 entries agree");

    if (fromUtf32.size() >= 17) {
        Require(fromUtf32.size() > 17 && fromUtf32.back() == CheckDigitOf(fromUtf32),
                "the last character is the check digit of the first 17");
    }

    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    CheckAgreesWithOracle(whole);
    for (const std::string_view text : t) {
        if (text.size() <= 64) { // longer texts are never keys
            CheckAgreesWithOracle(text);
        }
    }
    CheckComputedKey(in, key);
    if (fromUtf32.size() == 18) {
        CheckSingleChange(fromUtf32, std::hash<std::string_view>{}(whole));
    }

    CheckExplanation(in, decoded, key);
    return 0;
}
