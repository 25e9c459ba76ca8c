// Cost of one key computation through the UTF-8 entry, of its explanation,
// and of checking and reading back a key someone gives.
//   cmake --preset bench && cmake --build --preset bench
//   build/bench/bench/calc_clave_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "curp/calc_clave.h"
#include "curp/check.h"
#include "curp/explain.h"
#include "curp/read.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace std::chrono_literals;
using namespace std::string_view_literals;

constexpr auto kBorn = 1975y / std::chrono::April / 23;

void TypicalPerson(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(
            curp::Calc_Clave("GOMEZ"sv, "DIAZ"sv, "JUAN"sv, kBorn, "H"sv, "DF"sv));
    }
}
BENCHMARK(TypicalPerson);

// The key with its pieces and notes, and then its sentences.
void ExplainTypicalPerson(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(
            curp::ExplainKey("GOMEZ"sv, "DIAZ"sv, "JUAN"sv, kBorn, "H"sv, "DF"sv));
    }
}
BENCHMARK(ExplainTypicalPerson);

void DescribeTypicalPerson(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(
            curp::Describe(curp::ExplainKey("GOMEZ"sv, "DIAZ"sv, "JUAN"sv, kBorn, "H"sv, "DF"sv)));
    }
}
BENCHMARK(DescribeTypicalPerson);

void CompoundNameWithParticles(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(
            curp::Calc_Clave("DE LA O'FARRILL Y MUÑOZ"sv, "FERNANDEZ DEL CASTILLO"sv,
                             "JOSE MARIA DE LOS ANGELES"sv, kBorn, "M"sv, "MC"sv));
    }
}
BENCHMARK(CompoundNameWithParticles);

// A given name of N characters: words with accents and particles that every
// preparation pass has to walk through.
void LongName(benchmark::State& state)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    std::string name;
    while (name.size() < length) {
        name += "ÁNGEL DE LA ";
    }
    // Count code points, not bytes: "Á" takes two bytes.
    std::size_t chars = 0;
    std::size_t cut = 0;
    while (cut < name.size() && chars < length) {
        cut += (static_cast<unsigned char>(name[cut]) >= 0xC0) ? 2 : 1;
        ++chars;
    }
    name.resize(cut);
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(curp::Calc_Clave("GOMEZ"sv, "DIAZ"sv, name, kBorn, "H"sv, "DF"sv));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(LongName)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// Checking a key as the window shows it, dashes and all.
void CheckWellFormedKey(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(curp::CheckKey("GODJ-750423-H-DF-MZN-0-0"sv));
    }
}
BENCHMARK(CheckWellFormedKey);

// A key with a problem of each kind that can come together: an accent, an
// impossible date, a wrong sex letter, an unknown state, a letter as check digit.
void CheckKeyWithProblems(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(curp::CheckKey("GÓDJ751323FXXMZN0A"sv));
    }
}
BENCHMARK(CheckKeyWithProblems);

void ReadWellFormedKey(benchmark::State& state)
{
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(curp::ReadKey("GODJ-750423-H-DF-MZN-0-0"sv));
    }
}
BENCHMARK(ReadWellFormedKey);

} // namespace
