#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/Format.h"
#include "platform/Rand.h"

namespace {

TEST(Rand, TheOldRuntimeSequencePerThread) {
    // The main thread may have drawn already; a new thread starts at state 1.
    std::vector<int> fresh;
    std::thread([&] {
        for (int i = 0; i < 5; ++i) fresh.push_back(qv::Rand());
    }).join();
    EXPECT_EQ(fresh, (std::vector<int>{41, 18467, 6334, 26500, 19169}));

    qv::SeedRand(1);
    EXPECT_EQ(qv::Rand(), 41);
    EXPECT_EQ(qv::Rand(), 18467);
    // Another thread drawing does not move this thread's sequence.
    std::vector<int> other;
    std::thread([&] {
        qv::SeedRand(77);
        other.push_back(qv::Rand());
    }).join();
    EXPECT_EQ(qv::Rand(), 6334);
    qv::SeedRand(1);
    EXPECT_EQ(qv::Rand(), 41) << "seeding with 1 restarts the sequence";
    // state 77 * 214013 + 2531011 = 19010012, >> 16 = 290.
    EXPECT_EQ(other, std::vector<int>{290});
}

TEST(Format, PrintfStyleOfAnyLength) {
    EXPECT_EQ(qv::Format("%s (%d)", "Gem", 12), "Gem (12)");
    EXPECT_EQ(qv::Format(":0%d", 5), ":05");
    std::string longName(1000, 'x');
    EXPECT_EQ(qv::Format("%s not found.", longName.c_str()), longName + " not found.");
    EXPECT_EQ(qv::Format("%s", ""), "");
}

}  // namespace
