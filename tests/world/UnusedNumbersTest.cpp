#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/UnusedNumbers.h"

namespace {

std::vector<int> All(const UnusedNumbers& u) {
    return std::vector<int>(u.Numbers().begin(), u.Numbers().end());
}

TEST(UnusedNumbers, BuiltTakenAndGivenBack) {
    UnusedNumbers down(3, -1, 0);
    EXPECT_EQ(All(down), (std::vector<int>{-3, -2, -1}));
    EXPECT_EQ(down.TakeLowest(), -3);
    EXPECT_EQ(down.GetCount(), 2);

    UnusedNumbers frame(1000, -1, 0);
    EXPECT_EQ(frame.TakeLowest(), -1000);

    UnusedNumbers up(3, 7, 1);
    EXPECT_EQ(All(up), (std::vector<int>{7, 8, 9}));

    UnusedNumbers p;
    for (int n : {9, 2, 5}) p.GiveBack(n);
    p.GiveBack(5);
    EXPECT_EQ(All(p), (std::vector<int>{2, 5, 5, 9}));

    UnusedNumbers empty;
    EXPECT_EQ(empty.TakeLowest(), 0);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(UnusedNumbers, StoredAsCountAndNumbersAndReadBackInOrder) {
    UnusedNumbers p(2, -1, 0);
    record_test::Bytes expect;
    record_test::PutNewClass(expect, "UnusedNumbers", 1);
    record_test::PutBytes(expect, {2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(record_test::StoreObject(p), expect);

    // A file written out of order comes back in order.
    record_test::Bytes b(expect.begin(), expect.end() - 12);
    record_test::PutInts(b, {3, 9, 1, 4});
    auto back = record_test::LoadObject<UnusedNumbers>(b);
    EXPECT_EQ(All(*back), (std::vector<int>{1, 4, 9}));
}

}  // namespace
