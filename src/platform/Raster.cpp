#include "platform/Raster.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

struct Corner {
    float x, y, u, v;
    float c[4];  // red, green, blue, alpha, 0..255
};

Corner MakeCorner(const RasterVertex& vertex, Point offset) {
    Corner k{vertex.x + static_cast<float>(offset.x),
             vertex.y + static_cast<float>(offset.y),
             vertex.u,
             vertex.v,
             {}};
    for (int i = 0; i < 4; ++i) k.c[i] = static_cast<float>((vertex.rgba >> (8 * i)) & 0xFF);
    return k;
}

// Twice the signed area of (a, b, p): positive when p lies left of a -> b in
// screen coordinates (y down).
float EdgeValue(const Corner& a, const Corner& b, float px, float py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// Pixels on an edge belong to the triangle only for a top or a left edge, so
// that two triangles sharing an edge never both draw it.
bool IsTopLeft(const Corner& a, const Corner& b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    return (dy == 0 && dx > 0) || dy < 0;
}

uint8_t Texel(const RasterTexture& texture, float u, float v) {
    if (!texture.alpha || texture.width <= 0 || texture.height <= 0) return 255;
    const int tx =
        std::clamp(static_cast<int>(u * static_cast<float>(texture.width)), 0, texture.width - 1);
    const int ty =
        std::clamp(static_cast<int>(v * static_cast<float>(texture.height)), 0, texture.height - 1);
    return texture.alpha[static_cast<size_t>(ty) * texture.width + tx];
}

size_t DrawOne(Surface& target, Corner a, Corner b, Corner c, const RasterTexture& texture,
               const Rect& clip) {
    float area = EdgeValue(a, b, c.x, c.y);
    if (area == 0 || !std::isfinite(area)) return 0;
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    const float minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
    const float minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
    const Rect box = Rect{static_cast<int32_t>(std::floor(std::max(minX, -1e6f))),
                          static_cast<int32_t>(std::floor(std::max(minY, -1e6f))),
                          static_cast<int32_t>(std::ceil(std::min(maxX, 1e6f))) + 1,
                          static_cast<int32_t>(std::ceil(std::min(maxY, 1e6f))) + 1}
                         .Intersect(clip);
    if (box.IsEmpty()) return 0;
    const bool topLeftA = IsTopLeft(b, c), topLeftB = IsTopLeft(c, a), topLeftC = IsTopLeft(a, b);
    size_t written = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        uint16_t* row = target.Row(y);
        for (int x = box.left; x < box.right; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float wa = EdgeValue(b, c, px, py);
            const float wb = EdgeValue(c, a, px, py);
            const float wc = EdgeValue(a, b, px, py);
            if (wa < 0 || wb < 0 || wc < 0) continue;
            if ((wa == 0 && !topLeftA) || (wb == 0 && !topLeftB) || (wc == 0 && !topLeftC))
                continue;
            const float ka = wa / area, kb = wb / area, kc = wc / area;
            const float u = a.u * ka + b.u * kb + c.u * kc;
            const float v = a.v * ka + b.v * kb + c.v * kc;
            uint32_t rgba = 0;
            for (int i = 0; i < 3; ++i) {
                const float value = a.c[i] * ka + b.c[i] * kb + c.c[i] * kc;
                rgba |= static_cast<uint32_t>(std::clamp(value + 0.5f, 0.f, 255.f)) << (8 * i);
            }
            const float alphaColour =
                std::clamp(a.c[3] * ka + b.c[3] * kb + c.c[3] * kc + 0.5f, 0.f, 255.f);
            const uint32_t alpha = static_cast<uint32_t>(alphaColour) * Texel(texture, u, v) / 255;
            if (alpha == 0) continue;
            row[x] = Blend565(row[x], rgba, alpha);
            ++written;
        }
    }
    return written;
}

}  // namespace

uint16_t Pixel565(uint32_t rgba) {
    const uint32_t r = rgba & 0xFF, g = (rgba >> 8) & 0xFF, b = (rgba >> 16) & 0xFF;
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

uint16_t Blend565(uint16_t under, uint32_t rgba, uint32_t alpha) {
    if (alpha >= 255) return Pixel565(rgba);
    // The pixel under, widened to eight bits a channel.
    const uint32_t ur = ((under >> 11) & 0x1F) * 255 / 31;
    const uint32_t ug = ((under >> 5) & 0x3F) * 255 / 63;
    const uint32_t ub = (under & 0x1F) * 255 / 31;
    const uint32_t r = rgba & 0xFF, g = (rgba >> 8) & 0xFF, b = (rgba >> 16) & 0xFF;
    auto mix = [alpha](uint32_t over, uint32_t below) {
        return (over * alpha + below * (255 - alpha) + 127) / 255;
    };
    return Pixel565(mix(r, ur) | (mix(g, ug) << 8) | (mix(b, ub) << 16));
}

size_t DrawTriangles(Surface& target, const RasterVertex* vertices, size_t vertexCount,
                     const uint32_t* indices, size_t indexCount, const RasterTexture& texture,
                     Rect clip, Point offset) {
    if (!vertices || !indices || !target.IsValid() || target.IsLost()) return 0;
    const Rect area = clip.Intersect(target.Bounds());
    if (area.IsEmpty()) return 0;
    size_t written = 0;
    for (size_t i = 0; i + 2 < indexCount; i += 3) {
        const uint32_t ia = indices[i], ib = indices[i + 1], ic = indices[i + 2];
        if (ia >= vertexCount || ib >= vertexCount || ic >= vertexCount) continue;
        written +=
            DrawOne(target, MakeCorner(vertices[ia], offset), MakeCorner(vertices[ib], offset),
                    MakeCorner(vertices[ic], offset), texture, area);
    }
    return written;
}

}  // namespace qv
