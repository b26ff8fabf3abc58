#pragma once
// Numbers held to the 32-bit integers that the game's records and figures
// use: a sum, product or scaled position worked out in 64 bits, or a figure
// worked out in floating point, comes back as the nearest 32-bit integer
// instead of wrapping round.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qv {

// `v` held to the range of int32_t.
inline constexpr int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// `v` cut toward zero to an integer and held to the range of int32_t; a value
// that is not a number gives 0.
inline constexpr int32_t TruncateToInt32(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

}  // namespace qv
