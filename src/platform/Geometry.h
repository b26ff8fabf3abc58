#pragma once
// Screen points and rectangles (pixels; a rectangle excludes its right and
// bottom edges).

#include <cstdint>

namespace qv {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Offset(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    // The common part of two rectangles; empty when they do not meet.
    Rect Intersect(const Rect& o) const {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
               right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
        if (r.IsEmpty()) return {};
        return r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace qv
