// The rasteriser of the editor's widgets: which pixels a triangle covers
// (centres inside, shared edges drawn once), how a colour blends over the
// pixel under it, and the indices it refuses.

#include <gtest/gtest.h>

#include "platform/Raster.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint16_t kWhite565 = 0xFFFF;

// Two triangles making the square (x0, y0) to (x1, y1).
struct Square {
    qv::RasterVertex v[4];
    uint32_t idx[6] = {0, 1, 2, 0, 2, 3};
    Square(float x0, float y0, float x1, float y1, uint32_t rgba)
        : v{{x0, y0, 0, 0, rgba},
            {x1, y0, 0, 0, rgba},
            {x1, y1, 0, 0, rgba},
            {x0, y1, 0, 0, rgba}} {}
};

int CountSet(const qv::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) != 0;
    return n;
}

}  // namespace

TEST(Raster, ASquareCoversThePixelsWhoseCentresItHoldsInsideTheClip) {
    struct Row {
        const char* rule;
        float x0, y0, x1, y1;
        int want;
        qv::Rect clip = {0, 0, 10, 10};
        qv::Point offset = {0, 0};
    };
    const Row rows[] = {
        {"whole pixels: 4 x 3", 2, 2, 6, 5, 12},
        {"edges through the centres: the left and top ones count", 1.5f, 1.5f, 3.5f, 3.5f, 4},
        {"just short of a centre leaves that column out", 2, 2, 4.49f, 3, 2},
        {"just past a centre takes it", 2, 2, 4.51f, 3, 3},
        {"zero width draws nothing", 3, 3, 3, 6, 0},
        {"half outside the surface is cut", -2, -2, 2, 2, 4},
        {"moved by (3, 2) and clipped to x 5..6, y 2..3", 0, 0, 4, 4, 4, {5, 0, 7, 4}, {3, 2}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::Surface s(10, 10);
        Square q(r.x0, r.y0, r.x1, r.y1, kWhite);
        const size_t n = qv::DrawTriangles(s, q.v, 4, q.idx, 6, {}, r.clip, r.offset);
        EXPECT_EQ(static_cast<int>(n), r.want);
        EXPECT_EQ(CountSet(s), r.want);
    }
    // The moved square's pixels lie where the clip and the offset put them.
    qv::Surface s(10, 10);
    Square q(0, 0, 4, 4, kWhite);
    qv::DrawTriangles(s, q.v, 4, q.idx, 6, {}, {5, 0, 7, 4}, {3, 2});
    EXPECT_EQ(s.GetPixel(5, 2), kWhite565);
    EXPECT_EQ(s.GetPixel(6, 3), kWhite565);
}

TEST(Raster, AColourBlendsByItsAlphaTimesTheTexture) {
    struct Row {
        const char* rule;
        uint32_t rgba;
        uint8_t texel;
        uint16_t under, want;
    };
    const Row rows[] = {
        {"opaque red over black", 0xFF0000FF, 255, 0x0000, 0xF800},
        {"opaque blue over white", 0xFFFF0000, 255, 0xFFFF, 0x001F},
        {"half green over black: 128 / 255 of 255 is 128, 32 of 63", 0x8000FF00, 255, 0x0000,
         0x0400},
        {"full alpha, half texel: the same half", 0xFF00FF00, 128, 0x0000, 0x0400},
        {"alpha 0 leaves the pixel", 0x00FFFFFF, 255, 0x1234, 0x1234},
        {"texel 0 leaves the pixel", 0xFFFFFFFF, 0, 0x1234, 0x1234},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::Surface s(2, 2);
        s.Fill(r.under);
        const uint8_t texel = r.texel;
        const qv::RasterTexture tex{1, 1, &texel};
        Square q(0, 0, 2, 2, r.rgba);
        qv::DrawTriangles(s, q.v, 4, q.idx, 6, tex, s.Bounds());
        EXPECT_EQ(s.GetPixel(1, 1), r.want);
    }
}

TEST(Raster, BadIndicesLeaveTheirTriangleOut) {
    struct Row {
        const char* rule;
        std::vector<uint32_t> idx;
        int want;
    };
    const Row rows[] = {
        {"both triangles", {0, 1, 2, 0, 2, 3}, 16},
        {"an index past the corners drops its triangle", {0, 1, 2, 0, 2, 4}, 10},
        {"a count short of three drops the rest", {0, 1, 2, 0, 2}, 10},
        {"no indices", {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::Surface s(4, 4);
        Square q(0, 0, 4, 4, kWhite);
        qv::DrawTriangles(s, q.v, 4, r.idx.data(), r.idx.size(), {}, s.Bounds());
        EXPECT_EQ(CountSet(s), r.want);
    }
}
