#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Surface.h"

using qv::Point;
using qv::Rect;
using qv::Surface;

namespace {

constexpr uint16_t kBack = 0x1111;
constexpr uint16_t kKey = 0xF81F;

// A 4 x 3 source whose pixel (x, y) is 0x100 * (y + 1) + x + 1, with (1, 1) the key.
Surface MakeSource() {
    Surface s(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            s.SetPixel(x, y, static_cast<uint16_t>(0x100 * (y + 1) + x + 1));
    s.SetPixel(1, 1, kKey);
    return s;
}

Surface MakeTarget() {
    Surface d(10, 8);
    d.Fill(kBack);
    return d;
}

int CountNot(const Surface& s, uint16_t value) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) != value;
    return n;
}

}  // namespace

TEST(Surface, BlitSkipsTheColourKeyAndCopiesTheRest) {
    Surface src = MakeSource(), dst = MakeTarget();
    ASSERT_EQ(dst.Blt({3, 2}, src, src.Bounds(), kKey), qv::kDrawOk);
    EXPECT_EQ(dst.GetPixel(3, 2), 0x101);
    EXPECT_EQ(dst.GetPixel(6, 4), 0x304);
    EXPECT_EQ(dst.GetPixel(4, 3), kBack);  // the key left the background
    EXPECT_EQ(dst.GetPixel(5, 3), 0x203);
    EXPECT_EQ(CountNot(dst, kBack), 11);
    // Without a key every pixel is copied, the key colour too.
    Surface d2 = MakeTarget();
    d2.Blt({3, 2}, src, src.Bounds());
    EXPECT_EQ(d2.GetPixel(4, 3), kKey);
    EXPECT_EQ(CountNot(d2, kBack), 12);
}

TEST(Surface, RowsOfEveryLengthAreCopiedWholeAcrossTheirBlocks) {
    // Lengths around the blocks the rows are worked in, with the key colour
    // every third pixel.
    for (int n = 0; n <= 50; ++n) {
        std::vector<uint16_t> from(static_cast<size_t>(n)), keyed(from.size(), kBack);
        std::vector<uint16_t> scaled(from.size(), kBack);
        for (int x = 0; x < n; ++x) from[static_cast<size_t>(x)] = x % 3 ? 0xFFFF : kKey;
        qv::CopyRowKeyed(keyed.data(), from.data(), n, kKey);
        qv::CopyRowScaled(scaled.data(), from.data(), n, 16);
        for (int x = 0; x < n; ++x) {
            SCOPED_TRACE(testing::Message() << n << " pixels, pixel " << x);
            EXPECT_EQ(keyed[static_cast<size_t>(x)], x % 3 ? 0xFFFF : kBack);
            // Half of white: red 31 x 16 / 32 = 15, green 63 x 16 / 32 = 31, blue 15.
            // Half of the key colour 0xF81F: red 15, green 0, blue 15.
            EXPECT_EQ(scaled[static_cast<size_t>(x)],
                      x % 3 ? (15 << 11 | 31 << 5 | 15) : (15 << 11 | 15));
        }
    }
}

TEST(Surface, BlitClipsAtEveryEdge) {
    Surface src = MakeSource();
    struct Case {
        Point at;
        Rect clip;
        Point firstDrawn;  // where source pixel (sx, sy) lands
        int sx, sy;
        int drawn;
    };
    const Case cases[] = {
        {{-2, 3}, {0, 0, 10, 8}, {0, 3}, 2, 0, 6},      // left edge of the surface
        {{3, -2}, {0, 0, 10, 8}, {3, 0}, 0, 2, 4},      // top edge
        {{8, 2}, {0, 0, 10, 8}, {8, 2}, 0, 0, 5},       // right edge (key falls inside)
        {{3, 6}, {0, 0, 10, 8}, {3, 6}, 0, 0, 7},       // bottom edge (key in row 1)
        {{3, 2}, {4, 3, 6, 4}, {4, 3}, 1, 1, 1},        // a clip rectangle inside the block
        {{-4, 2}, {0, 0, 10, 8}, {0, 0}, 0, 0, 0},      // wholly outside on the left
        {{3, 2}, {0, 0, 3, 8}, {0, 0}, 0, 0, 0},        // clipped away on the right
        {{-1, -1}, {-5, -5, 50, 50}, {0, 0}, 1, 1, 5},  // a clip larger than the surface
    };
    for (const Case& c : cases) {
        Surface dst = MakeTarget();
        ASSERT_EQ(dst.Blt(c.at, src, src.Bounds(), c.clip, kKey), qv::kDrawOk);
        EXPECT_EQ(CountNot(dst, kBack), c.drawn) << c.at.x << "," << c.at.y;
        if (c.drawn > 0 && !(c.sx == 1 && c.sy == 1)) {
            EXPECT_EQ(dst.GetPixel(c.firstDrawn.x, c.firstDrawn.y), 0x100 * (c.sy + 1) + c.sx + 1)
                << c.at.x << "," << c.at.y;
        }
        // Nothing ever lands outside the clip.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                if (!c.clip.Contains({x, y})) {
                    EXPECT_EQ(dst.GetPixel(x, y), kBack);
                }
            }
    }
}

TEST(Surface, FarOffPointsDrawNothingWithoutOverflow) {
    Surface src = MakeSource(), dst = MakeTarget();
    const int big = 2147483000;
    EXPECT_EQ(dst.Blt({big, big}, src, src.Bounds(), kKey), qv::kDrawOk);
    EXPECT_EQ(dst.Blt({-big, -big}, src, src.Bounds(), kKey), qv::kDrawOk);
    EXPECT_EQ(dst.Blt({-big, -big}, src, {-big, -big, big, big}), qv::kDrawOk);
    EXPECT_EQ(CountNot(dst, kBack), 12);  // only the last: its source cut back to (0, 0)
    EXPECT_EQ(dst.GetPixel(3, 2), 0x304);
}

TEST(Surface, BlitCutsASourceRectangleReachingOutsideItsSurface) {
    Surface src = MakeSource(), dst = MakeTarget();
    dst.Blt({0, 0}, src, {2, 1, 9, 9});
    EXPECT_EQ(dst.GetPixel(0, 0), 0x203);
    EXPECT_EQ(dst.GetPixel(1, 1), 0x304);
    EXPECT_EQ(CountNot(dst, kBack), 4);
}

TEST(Surface, FillsAreClippedAndALostSurfaceRefusesUntilRestored) {
    Surface dst = MakeTarget();
    dst.FillRect({-3, 6, 2, 20}, 7);
    EXPECT_EQ(CountNot(dst, kBack), 4);
    EXPECT_EQ(dst.GetPixel(1, 7), 7);
    Surface src = MakeSource();
    dst.MarkLost();
    EXPECT_EQ(dst.Blt({0, 0}, src, src.Bounds()), qv::kDrawSurfaceLost);
    EXPECT_EQ(dst.FillRect({0, 0, 1, 1}, 9), qv::kDrawSurfaceLost);
    EXPECT_EQ(dst.GetPixel(0, 0), kBack);
    EXPECT_EQ(dst.Restore(), qv::kDrawOk);
    EXPECT_EQ(dst.GetPixel(1, 7), 7);  // restoring keeps the pixels
    EXPECT_EQ(dst.Blt({0, 0}, src, src.Bounds()), qv::kDrawOk);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x101);
}

TEST(Surface, SavesA24BitBitmapBottomRowFirst) {
    Surface s(3, 2);
    s.SetPixel(0, 0, 0xF800);  // red, top left
    s.SetPixel(2, 1, 0x001F);  // blue, bottom right
    const std::string path = ::testing::TempDir() + "surface_save.bmp";
    ASSERT_TRUE(s.SaveBmp(path));
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(b.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(b[18], 3);
    EXPECT_EQ(b[22], 2);
    // First stored row is the bottom one: its third pixel is blue (B, G, R).
    EXPECT_EQ(b[54 + 6], 0xFF);
    EXPECT_EQ(b[54 + 8], 0x00);
    // The top row follows: first pixel red.
    EXPECT_EQ(b[54 + 12 + 2], 0xFF);
    EXPECT_EQ(b[54 + 12 + 0], 0x00);
    std::remove(path.c_str());
}

TEST(Surface, ABlitWithinOneSurfaceCopiesThePictureAsItWas) {
    // Moved down and right, up and left, and along a row each way, with and
    // without a colour key: every pixel of the target is the source's pixel
    // from before the copy.
    const Point moves[] = {{1, 1}, {2, 0}, {0, 3}, {-1, -2}, {-3, 0}, {1, -1}};
    for (int key : {qv::kNoColourKey, int{kKey}})
        for (Point m : moves) {
            Surface s(12, 10);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 12; ++x)
                    s.SetPixel(x, y, static_cast<uint16_t>(y * 16 + x + 1));
            s.SetPixel(5, 5, kKey);
            const Surface before = s;
            const Rect src{3, 3, 9, 8};
            s.Blt({src.left + m.x, src.top + m.y}, s, src, s.Bounds(), key);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 12; ++x) {
                    const int sx = x - m.x, sy = y - m.y;
                    uint16_t want = before.GetPixel(x, y);
                    if (src.Contains({sx, sy}) && !(key != qv::kNoColourKey && sx == 5 && sy == 5))
                        want = before.GetPixel(sx, sy);
                    ASSERT_EQ(s.GetPixel(x, y), want) << "move " << m.x << "," << m.y << " key "
                                                      << key << " at " << x << "," << y;
                }
        }
}
