// The library's checking and reading agree with a second reading of the
// rules (tests/oracle/key_oracle.h) on many keys: the keys of many persons,
// each as computed, in lower case and with the window's dashes, and with
// every single character changed.
#include "key_oracle.h"
#include "key_test_support.h"

#include "curp/calc_clave.h"
#include "curp/check.h"
#include "curp/read.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>
#include <set>
#include <string>

namespace curp {
namespace oracle {

void PrintTo(const Reading& r, std::ostream* os)
{
    *os << r.year << '-' << r.month << '-' << r.day << ' ' << r.sex << ' ' << r.state;
}

} // namespace oracle

namespace {

using namespace std::chrono;

constexpr std::array<std::u32string_view, 20> kSurnames = {
    U"GOMEZ",   U"DIAZ",        U"LI",
    U"O",       U"MUÑOZ",       U"PEÑA",
    U"MÉNDEZ",  U"DE LA ROSA",  U"FERNANDEZ DEL CASTILLO",
    U"O'BRIEN", U"PRZ",         U"AE-LUNA",
    U"ÁVILA",   U"GÜEMES",      U"",
    U"PE¥A",    U"NAVA",        U"BUENDIA",
    U"CULEBRA", U"KAKOGIANNIS",
};
constexpr std::array<std::u32string_view, 13> kNames = {
    U"JUAN",  U"MARIA GUADALUPE", U"JOSE LUIS", U"ANA",  U"A",      U"AL",  U"ELSA",
    U"OSCAR", U"ÚRSULA",          U"JOSE",      U"EMMA", U"D'ARCY", U"ZOË",
};
constexpr std::array<int, 12> kYears = {1900, 1901, 1950, 1975, 1996, 1999,
                                        2000, 2001, 2004, 2023, 2024, 2099};
constexpr std::array<std::u32string_view, 3> kSexes = {U"H", U"M", U"X"};

// Every catalogue code, then codes that are no state.
std::vector<std::u32string> StateCodes()
{
    std::vector<std::u32string> codes;
    for (const State& state : States()) {
        codes.emplace_back(state.code.begin(), state.code.end());
    }
    codes.insert(codes.end(), {U"XX", U"ÑÑ", U"D1"});
    return codes;
}

// The 18-character keys of `count` persons mixed from the lists above;
// dates that do not exist are skipped, 29 February of leap years included.
std::vector<std::u32string> PersonKeys(std::size_t count)
{
    const std::vector<std::u32string> codes = StateCodes();
    std::vector<std::u32string> keys;
    for (std::size_t i = 0; i < count; ++i) {
        const year_month_day born = year{kYears[i % kYears.size()]} /
                                    month{static_cast<unsigned>(1 + (i * 5) % 12)} /
                                    day{static_cast<unsigned>(1 + (i * 7) % 31)};
        std::u32string key =
            Calc_Clave(kSurnames[i % kSurnames.size()], kSurnames[(i * 7 + 3) % kSurnames.size()],
                       kNames[(i * 3) % kNames.size()], born, kSexes[i % kSexes.size()],
                       codes[(i * 11) % codes.size()]);
        if (key.size() == 18) {
            keys.push_back(std::move(key));
        }
    }
    return keys;
}

// The window's layout "@@@@-@@@@@@-@-@@-@@@-@-@", lower case.
std::u32string MaskedLowerCase(std::u32string_view key)
{
    std::u32string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (i == 4 || i == 10 || i == 11 || i == 13 || i == 16 || i == 17) {
            out.push_back(U'-');
        }
        const char32_t c = key[i];
        out.push_back(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
    }
    return out;
}

std::optional<oracle::Reading> AsReading(const std::optional<KeyData>& data)
{
    if (!data) {
        return std::nullopt;
    }
    return oracle::Reading{
        static_cast<int>(data->birth.year()), static_cast<unsigned>(data->birth.month()),
        static_cast<unsigned>(data->birth.day()), data->sex, std::string(data->state->code)};
}

TEST(KeyOracle, AgreesOnEveryKeyAndEverySingleChange)
{
    // Digits and letters, Ñ, lower case, accents, a sign, separators (which
    // shorten the key), a Cyrillic look-alike and an emoji.
    constexpr std::u32string_view replacements =
        U"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZÑñaozÓé*-\u00A0\u0410\U0001F600";
    std::size_t checked = 0;
    std::set<KeyProblem> kinds;
    std::size_t clean = 0;
    const auto agree = [&](const std::string& text) {
        if (HasFatalFailure()) {
            return; // one disagreement is enough to show
        }
        const oracle::Key given = oracle::Prepare(text);
        const std::vector<KeyFinding> findings = CheckKey(text);
        ASSERT_EQ(findings, oracle::Findings(given)) << text;
        ASSERT_EQ(AsReading(ReadKey(text)), oracle::Read(given)) << text;
        for (const KeyFinding& f : findings) {
            kinds.insert(f.problem);
        }
        clean += findings.empty() ? 1 : 0;
        ++checked;
    };

    const std::vector<std::u32string> keys = PersonKeys(640);
    for (const std::u32string& key : keys) {
        const std::string utf8 = oracle::Encode(key);
        agree(utf8);
        agree(oracle::Encode(MaskedLowerCase(key)));
        agree(" " + utf8 + "\xFF");
        std::u32string changed = key;
        for (std::size_t pos = 0; pos < key.size(); ++pos) {
            for (const char32_t c : replacements) {
                if (c != key[pos]) {
                    changed[pos] = c;
                    agree(oracle::Encode(changed));
                }
            }
            changed[pos] = key[pos];
        }
        if (HasFatalFailure()) {
            return;
        }
    }
    // The generated keys reach every kind of problem and many clean keys.
    EXPECT_EQ(kinds.size(), 7U);
    EXPECT_GT(clean, keys.size());
    std::cout << "[ KeyOracle ] " << keys.size() << " keys of persons, " << checked
              << " texts checked and read, " << clean << " of them well-formed\n";
}

// A name as people paste it, one of six ways chosen by `way`: as it is, in
// lower case, with a zero-width space inside, with its accents decomposed,
// with no-break spaces, or wrapped in direction controls.
std::u32string AsPasted(std::u32string_view name, std::size_t way)
{
    std::u32string out;
    for (const char32_t c : name) {
        const auto decomposed = std::u32string_view(U"ÁAÉEÍIÓOÚUÜU").find(c);
        if (way == 1 && c >= U'A' && c <= U'Z') {
            out += c - U'A' + U'a';
        } else if (way == 3 && decomposed != std::u32string_view::npos && decomposed % 2 == 0) {
            out += {U"ÁAÉEÍIÓOÚUÜU"[decomposed + 1], c == U'Ü' ? U'\u0308' : U'\u0301'};
        } else if (way == 4 && c == U' ') {
            out += U'\u00A0';
        } else {
            out += c;
        }
        if (way == 2 && out.size() == 1) {
            out += U'\u200B';
        }
    }
    return way == 5 ? U"\u202E" + out + U"\u202C" : out;
}

TEST(KeyOracle, EveryComputedKeyChecksCleanAndReadsBack)
{
    constexpr std::array<std::u32string_view, 8> kMoreNames = {
        U"JOSÉ LUIS", U"MARÍA DEL CARMEN", U"O-BRIEN", U"4GOMEZ", U"ЖУК",
        U"محمد",      U"MA. GUADALUPE",    U"STRAßE",
    };
    std::size_t computed = 0;
    std::size_t failures = 0;
    for (std::size_t i = 0; i < 500'000 && failures < 10; ++i) {
        const auto name = [&](std::size_t k) {
            return k % 3 == 0 ? kMoreNames[k % kMoreNames.size()] : kSurnames[k % kSurnames.size()];
        };
        const year_month_day born = year{1900 + static_cast<int>(i % 200)} /
                                    month{static_cast<unsigned>(1 + (i / 7) % 12)} /
                                    day{static_cast<unsigned>(1 + (i / 3) % 31)};
        const State& state = States()[i % States().size()];
        const std::u32string sex(1, kSexes[(i / 5) % kSexes.size()][0]);
        const std::u32string key = Calc_Clave(
            AsPasted(name(i / 2), i % 6), AsPasted(name(i / 11 + 1), (i / 6) % 6),
            AsPasted(i % 2 != 0 ? kNames[i % kNames.size()] : kMoreNames[i % kMoreNames.size()],
                     i % 5),
            born, sex, std::u32string(state.code.begin(), state.code.end()));
        if (key.size() != 18 || !born.ok()) {
            continue;
        }
        ++computed;
        const std::string text = oracle::Encode(key);
        const std::optional<KeyData> data = ReadKey(text);
        if (!CheckKey(text).empty() || !data || data->birth != born ||
            data->sex != static_cast<char>(sex[0]) || data->state != &state) {
            ADD_FAILURE() << "person " << i << ": " << text;
            ++failures;
        }
    }
    EXPECT_GT(computed, 400'000U);
    // The whole keys of the name table check clean and read back in the second reading.
    for (const test::KeyRow& row : test::PreparationRows()) {
        const std::string key = oracle::Encode(row.key);
        EXPECT_TRUE(row.key.size() != 18 || (oracle::Findings(key).empty() && oracle::Read(key)))
            << row.name;
    }
}

} // namespace
} // namespace curp
