#include "media/Painter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

// Nearest palette index for each colour of 5 bits per part.
const std::array<uint8_t, 32 * 32 * 32>& NearestTable() {
    static const auto table = [] {
        std::array<uint8_t, 32 * 32 * 32> t{};
        const Palette& p = GetGamePalette();
        for (int r = 0; r < 32; ++r)
            for (int g = 0; g < 32; ++g)
                for (int b = 0; b < 32; ++b) {
                    const int R = r * 255 / 31, G = g * 255 / 31, B = b * 255 / 31;
                    int best = 1, bestD = 1 << 30;
                    for (int i = 1; i < 256; ++i) {
                        const int dr = p[i].r - R, dg = p[i].g - G, db = p[i].b - B;
                        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                        if (d < bestD) {
                            bestD = d;
                            best = i;
                        }
                    }
                    t[(r << 10) | (g << 5) | b] = static_cast<uint8_t>(best);
                }
        return t;
    }();
    return table;
}

}  // namespace

uint8_t Painter::Colour(int r, int g, int b) {
    r = std::clamp(r, 0, 255) >> 3;
    g = std::clamp(g, 0, 255) >> 3;
    b = std::clamp(b, 0, 255) >> 3;
    return NearestTable()[(r << 10) | (g << 5) | b];
}

uint8_t Painter::Shade(int r, int g, int b, int amount) {
    if (amount >= 0)
        return Colour(r + (255 - r) * amount / 16, g + (255 - g) * amount / 16,
                      b + (255 - b) * amount / 16);
    return Colour(r * (16 + amount) / 16, g * (16 + amount) / 16, b * (16 + amount) / 16);
}

uint32_t Painter::Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

void Painter::Box(int left, int top, int right, int bottom, uint8_t c) {
    m_Bitmap.FillRect(left, top, right, bottom, c);
}

void Painter::Outline(int left, int top, int right, int bottom, uint8_t c) {
    Box(left, top, right, top + 1, c);
    Box(left, bottom - 1, right, bottom, c);
    Box(left, top, left + 1, bottom, c);
    Box(right - 1, top, right, bottom, c);
}

void Painter::Bevel(int left, int top, int right, int bottom, uint8_t face, uint8_t light,
                    uint8_t dark, int width) {
    Box(left, top, right, bottom, face);
    for (int i = 0; i < width; ++i) {
        Box(left + i, top + i, right - i, top + i + 1, light);
        Box(left + i, top + i, left + i + 1, bottom - i, light);
        Box(left + i, bottom - i - 1, right - i, bottom - i, dark);
        Box(right - i - 1, top + i, right - i, bottom - i, dark);
    }
}

void Painter::Ellipse(int cx, int cy, int rx, int ry, uint8_t c) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = -ry; y <= ry; ++y) {
        // Half-width of the row: rx * sqrt(1 - y^2/ry^2), in integers.
        const long long num =
            static_cast<long long>(rx) * rx * (static_cast<long long>(ry) * ry - y * y);
        long long w = 0;
        while ((w + 1) * (w + 1) * ry * ry <= num) ++w;
        Box(cx - static_cast<int>(w), cy + y, cx + static_cast<int>(w) + 1, cy + y + 1, c);
    }
}

void Painter::Line(int x0, int y0, int x1, int y1, uint8_t c, int thickness) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    const int lo = -(thickness - 1) / 2, hi = thickness / 2;
    for (;;) {
        Box(x0 + lo, y0 + lo, x0 + hi + 1, y0 + hi + 1, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Painter::Polygon(std::initializer_list<qv::Point> points, uint8_t c) {
    std::vector<qv::Point> p(points);
    if (p.size() < 3) return;
    int top = p[0].y, bottom = p[0].y;
    for (const auto& q : p) {
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    std::vector<int> xs;
    for (int y = top; y <= bottom; ++y) {
        xs.clear();
        const double yc = y + 0.5;
        for (size_t i = 0; i < p.size(); ++i) {
            const qv::Point a = p[i], b = p[(i + 1) % p.size()];
            if ((a.y <= yc && b.y > yc) || (b.y <= yc && a.y > yc))
                xs.push_back(static_cast<int>(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y) + 0.5));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) Box(xs[i], y, xs[i + 1], y + 1, c);
    }
}

void Painter::Speckle(int left, int top, int right, int bottom,
                      std::initializer_list<uint8_t> colours, uint32_t seed, int every) {
    if (colours.size() == 0 || every < 1) return;
    const uint8_t* cs = colours.begin();
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            if (m_Bitmap.GetPixel(x, y) == 0) continue;  // see-through stays so
            const uint32_t h = Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed);
            if (h % static_cast<uint32_t>(every) == 0) Dot(x, y, cs[(h >> 16) % colours.size()]);
        }
}
