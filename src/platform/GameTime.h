#pragma once
// Game time is a signed 32-bit count that wraps: it turns negative after about
// 12 days of play at the normal step of 100 a tick (a day in fast time). Times
// are compared by their unsigned difference, never by a plain signed
// comparison, so the order holds across the wrap.

#include <cstdint>

namespace qv {

// The signed distance from `from` to `to`, correct across the wrap.
inline int32_t TimeDiff(int32_t to, int32_t from) {
    return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}
// True when `when` is at or before `now`.
inline bool TimeReached(int32_t now, int32_t when) {
    return TimeDiff(now, when) >= 0;
}
// The time from `since` to `now` counted forward, for timers that only run
// forward: up to the whole span of the wrap.
inline uint32_t TimeElapsed(int32_t now, int32_t since) {
    return static_cast<uint32_t>(now) - static_cast<uint32_t>(since);
}
// `t` plus `delta`, wrapping.
inline int32_t TimeAdd(int32_t t, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(t) + static_cast<uint32_t>(delta));
}

}  // namespace qv
