#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/Saturate.h"

namespace {

TEST(Saturate, ClampToInt32HoldsTheEndsAndKeepsTheRest) {
    struct Row {
        const char* what;
        int64_t in;
        int32_t out;
    };
    const Row rows[] = {
        {"zero", 0, 0},
        {"a plain figure", -12345, -12345},
        {"one below the top", 2147483646, 2147483646},
        {"the top", 2147483647, 2147483647},
        {"one over the top", 2147483648, 2147483647},
        {"far over the top", int64_t{1} << 40, 2147483647},
        {"one above the bottom", -2147483647, -2147483647},
        {"the bottom", -2147483648LL, -2147483647 - 1},
        {"one under the bottom", -2147483649LL, -2147483647 - 1},
        {"the lowest 64-bit value", std::numeric_limits<int64_t>::min(), -2147483647 - 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(qv::ClampToInt32(r.in), r.out);
    }
}

TEST(Saturate, TruncateToInt32CutsTowardZeroAndHoldsTheEnds) {
    struct Row {
        const char* what;
        double in;
        int32_t out;
    };
    const Row rows[] = {
        {"a fraction up", 2.75, 2},
        {"a fraction down", -2.75, -2},
        {"just under one", 0.999, 0},
        {"just over minus one", -0.999, 0},
        {"one below the top", 2147483646.5, 2147483646},
        {"the top", 2147483647.0, 2147483647},
        {"over the top", 3e9, 2147483647},
        {"infinity", INFINITY, 2147483647},
        {"just above the bottom", -2147483647.5, -2147483647},
        {"the bottom", -2147483648.0, -2147483647 - 1},
        {"under the bottom", -3e9, -2147483647 - 1},
        {"minus infinity", -INFINITY, -2147483647 - 1},
        {"not a number", std::nan(""), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(qv::TruncateToInt32(r.in), r.out);
    }
}

}  // namespace
