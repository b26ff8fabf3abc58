// What every fuzz target holds a run to: a failed check of the game's own
// fails the run whatever a player would answer, and a run may hold no more
// memory than its budget, a fixed part and a part for each byte of its input.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "RoundTrip.h"
#include "platform/Message.h"
#include "world/Global.h"

namespace {

// Holds `bytes` of the heap for a moment.
void Hold(int64_t bytes) {
    std::unique_ptr<char[]> block(new char[static_cast<size_t>(bytes)]);
    volatile char* first = block.get();
    *first = 1;
}

TEST(FuzzRun, AFailedCheckOfTheGameFailsTheRun) {
    EXPECT_DEATH(
        {
            fuzz::Prepare();
            volatile int two = 2;
            (void)QV_CHECK(two == 3);
            std::exit(0);
        },
        "a check of the game failed: assertion failed \\([0-9]+:RoundTripTest.cpp\\)\ntwo == 3");
    // Other boxes are answered as a player going on would.
    EXPECT_EXIT(
        {
            fuzz::Prepare();
            const bool yes =
                qv::ShowMessage("Quit?", qv::MessageButtons::YesNo) == qv::MessageAnswer::Yes;
            qv::ShowMessage("Error loading bitmap", qv::MessageButtons::Ok);
            std::exit(yes ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(FuzzRun, ARunHoldsNoMoreThanItsBudget) {
    if (!fuzz::MemoryBudget::IsKept()) GTEST_SKIP() << "the budget is kept with AddressSanitizer";
    constexpr int64_t fixed = fuzz::MemoryBudget::kFixedBytes;
    constexpr int64_t perByte = fuzz::MemoryBudget::kBytesPerInputByte;
    struct Row {
        const char* rule;
        size_t input;
        int64_t held;
        bool passes;
    };
    const Row rows[] = {
        {"within the fixed part", 0, fixed - (1 << 20), true},
        {"beyond the fixed part of an empty input", 0, fixed + (1 << 20), false},
        {"within the part of a 4096-byte input", 4096, fixed + 4000 * perByte, true},
        {"beyond it", 4096, fixed + 4200 * perByte, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        auto run = [&r] {
            fuzz::MemoryBudget budget(r.input);
            Hold(r.held);
        };
        if (r.passes) {
            EXPECT_EXIT(
                {
                    run();
                    std::exit(0);
                },
                testing::ExitedWithCode(0), "");
        } else {
            EXPECT_DEATH(run(),
                         "memory budget exceeded: [0-9]+ bytes held for an input of [0-9]+ "
                         "bytes, where [0-9]+ are allowed");
        }
    }
    // What a run frees is no longer held: many blocks, one at a time.
    EXPECT_EXIT(
        {
            fuzz::MemoryBudget budget(0);
            for (int i = 0; i < 8; ++i) Hold(fixed / 2);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    // Between runs nothing is counted.
    EXPECT_EXIT(
        {
            { fuzz::MemoryBudget budget(0); }
            Hold(fixed * 2);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
