// Running out of memory inside Calc_Clave gives the empty result, and inside
// ExplainKey the empty explanation; no exception leaves them. Every
// allocation is made to fail in turn.
#include "curp/calc_clave.h"
#include "curp/explain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
int g_allocations_left = -1; // -1: no limit
bool g_failed = false;       // an allocation was refused
} // namespace

void* operator new(std::size_t size)
{
    if (g_allocations_left == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (g_allocations_left > 0) {
        --g_allocations_left;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t /*size*/) noexcept
{
    std::free(p);
}

namespace {

using namespace std::chrono_literals;
using namespace std::string_view_literals;

constexpr auto kBorn = 1975y / std::chrono::April / 23;

TEST(OutOfMemory, EveryFailingAllocationGivesEmptyKey)
{
    for (int allowed = 0; allowed < 64; ++allowed) {
        g_allocations_left = allowed;
        g_failed = false;
        const std::string key = curp::Calc_Clave("DE LA ROSA Y GOMEZ"sv, "O'DIAZ"sv,
                                                 "JOSE MARIA JUAN"sv, kBorn, "H"sv, "DF"sv);
        g_allocations_left = -1;
        if (!g_failed) {
            EXPECT_EQ(key, "ROOJ750423HDFSDN09");
            return;
        }
        EXPECT_EQ(key, "") << "allocation " << allowed << " refused";
    }
    FAIL() << "the computation needs more than 64 allocations";
}

// Never a partial explanation: either all of it or nothing at all.
TEST(OutOfMemory, EveryFailingAllocationGivesEmptyExplanation)
{
    const auto explain = [] {
        return curp::ExplainKey("DE LA ROSA Y GOMEZ"sv, "O'DIAZ"sv, "JOSE MARIA JUAN"sv, kBorn,
                                "H"sv, "DF"sv);
    };
    const curp::KeyExplanation whole = explain();
    ASSERT_EQ(whole.key, "ROOJ750423HDFSDN09");
    for (int allowed = 0; allowed < 1000; ++allowed) {
        g_allocations_left = allowed;
        g_failed = false;
        const curp::KeyExplanation explained = explain();
        g_allocations_left = -1;
        if (!g_failed) {
            EXPECT_EQ(explained, whole);
            return;
        }
        EXPECT_EQ(explained, curp::KeyExplanation{}) << "allocation " << allowed << " refused";
    }
    FAIL() << "the explanation needs more than 1000 allocations";
}

} // namespace
