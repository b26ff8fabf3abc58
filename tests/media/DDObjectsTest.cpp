#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "media/DDObjects.h"

using qv::Point;
using qv::Rect;
using qv::Surface;

namespace {

constexpr uint16_t kBack = 0x0841;
constexpr uint16_t kWhite = 0xFFFF;

// A picture of a grid of 2 x 1 cells of 4 x 3 pixels: cell 0 white with its
// top-left pixel see-through (index 0), cell 1 all index 38.
std::shared_ptr<CDIBitmap> MakeGridPicture() {
    auto bm = std::make_shared<CDIBitmap>(8, 3);
    bm->FillRect(0, 0, 4, 3, 255);
    bm->SetPixel(0, 0, 0);
    bm->FillRect(4, 0, 8, 3, 38);
    return bm;
}

// An image of that picture with n light-level frames, hot spot (1, 2).
void BuildImage(CDDObject& image, int n) {
    image.m_iWidth = 4;
    image.m_iHeight = 3;
    image.m_iHotX = 1;
    image.m_iHotY = 2;
    int across = 2, down = 1;
    image.SetCellGrid(across, down);
    image.SetFrameCount(n);
    image.m_iNumLevels = n;
    auto picture = MakeGridPicture();
    for (int i = 0; i < n; ++i) {
        image.SetFrameLevels(i, n);
        image.SetFrameBitmap(i, picture);
    }
    ASSERT_TRUE(image.Load());
}

int CountNot(const Surface& s, uint16_t value) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) != value;
    return n;
}

Surface Screen() {
    Surface s(20, 12);
    s.Fill(kBack);
    return s;
}

}  // namespace

TEST(DDObject, FrameLevelsRunFromFullLightToBlack) {
    CDDObject image;
    image.SetFrameCount(4);
    int n = 4;
    for (int i = 0; i < 4; ++i) image.SetFrameLevels(i, n);
    EXPECT_EQ(image.GetFrameLevel(0), 64);
    EXPECT_EQ(image.GetFrameLevel(1), 42);  // 2 * 64 / 3
    EXPECT_EQ(image.GetFrameLevel(2), 21);
    EXPECT_EQ(image.GetFrameLevel(3), 0);
    int one = 1;
    image.SetFrameLevels(2, one);
    EXPECT_EQ(image.GetFrameLevel(2), 64);
    int three = 3;
    image.SetFrameLevels(1, three);
    EXPECT_EQ(image.GetFrameLevel(1), 32);
}

TEST(DDObject, DrawsTheLightLevelFrameAtTheHotSpot) {
    CDDObject image;
    BuildImage(image, 4);
    Surface screen = Screen();
    int col = 0, row = 0;
    image.m_iLightLevel = 1;
    ASSERT_EQ(image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row), qv::kDrawOk);
    // Top-left at (5 - 1, 5 - 2); its first pixel is see-through.
    EXPECT_EQ(screen.GetPixel(4, 3), kBack);
    // White at level 42: red and blue 31 * 42 / 64 = 20, green 63 * 42 / 64 = 41.
    EXPECT_EQ(screen.GetPixel(5, 3), (20 << 11) | (41 << 5) | 20);
    EXPECT_EQ(CountNot(screen, kBack), 11);
    // Level 0 draws the full picture; a level past the last is the last (black,
    // kept just off the see-through colour).
    image.m_iLightLevel = 0;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(screen.GetPixel(5, 3), kWhite);
    image.m_iLightLevel = 9;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(screen.GetPixel(5, 3), 0x0001);
    EXPECT_EQ(image.CurrentFrame(), 3);
}

TEST(DDObject, DrawsTheChosenCellAndNothingOutsideTheGrid) {
    CDDObject image;
    BuildImage(image, 1);
    Surface screen = Screen();
    int col = 1, row = 0;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(screen.GetPixel(4, 3), PaletteIndexToPixel(38));
    EXPECT_EQ(CountNot(screen, kBack), 12);
    EXPECT_EQ(image.m_iCurrentColumn, 1);
    for (auto [c, r] : {std::pair{2, 0}, {-1, 0}, {0, 1}, {0, -1}, {100000, 7}}) {
        Surface s = Screen();
        int cc = c, rr = r;
        EXPECT_EQ(image.DrawFrame(&s, {5, 5}, s.Bounds(), cc, rr), qv::kDrawOk);
        EXPECT_EQ(CountNot(s, kBack), 0) << c << "," << r;
    }
    EXPECT_EQ(image.m_iCurrentColumn, 1);  // an outside cell does not become current
}

TEST(DDObject, DrawFrameClipsToTheViewRectangle) {
    CDDObject image;
    BuildImage(image, 1);
    Surface screen = Screen();
    int col = 1, row = 0;
    // The view leaves only the image's right column and bottom row... of its rectangle.
    image.DrawFrame(&screen, {5, 5}, {7, 5, 20, 12}, col, row);
    EXPECT_EQ(CountNot(screen, kBack), 1);
    EXPECT_EQ(screen.GetPixel(7, 5), PaletteIndexToPixel(38));
    // Partly off the surface at the top-left corner.
    Surface s2 = Screen();
    image.DrawFrame(&s2, {0, 0}, s2.Bounds(), col, row);
    EXPECT_EQ(CountNot(s2, kBack), 3);  // columns 0..2 of the cell's bottom row
}

TEST(DDObject, HoverModeBrightensAndZOffsetLifts) {
    CDDObject image;
    BuildImage(image, 1);
    Surface screen = Screen();
    int col = 1, row = 0;
    image.m_iZOffset = 2;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row, kDrawModeHover);
    int r, g, b;
    SplitScreenPixel(PaletteIndexToPixel(38), r, g, b);
    EXPECT_EQ(screen.GetPixel(4, 1), MakeScreenPixel((r + 32) / 2, (g + 64) / 2, (b + 32) / 2));
    EXPECT_EQ(screen.GetPixel(4, 4), kBack);
    EXPECT_EQ(image.GetCellRect(), (Rect{-1, -4, 3, -1}));
}

TEST(DDObject, HitTestAnswersThePixelUnderThePoint) {
    CDDObject image;
    BuildImage(image, 4);
    int col = 0, row = 0;
    Surface screen = Screen();
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(image.HitTest({0, -1}, 0), kWhite);  // pixel (1, 1) of cell 0
    EXPECT_EQ(image.HitTest({-1, -2}, 0), 0);      // the see-through corner
    EXPECT_EQ(image.HitTest({3, 0}, 0), 0);        // just right of the cell
    EXPECT_EQ(image.HitTest({0, 1}, 0), 0);        // just below
    EXPECT_EQ(image.HitTest({0, -1}, 4), 0);       // no such frame
    EXPECT_EQ(image.HitTest({0, -1}, 3), 0x0001);  // the black frame is not see-through
    col = 1;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(image.HitTest({-1, -2}, 0), PaletteIndexToPixel(38));
    EXPECT_TRUE(image.BoxContains({2, 0}));
    EXPECT_FALSE(image.BoxContains({3, 0}));
}

TEST(DDObject, NothingIsHitOfAFrameOutsideTheGrid) {
    CDDObject image;
    BuildImage(image, 1);  // a grid of 2 x 1 cells of 4 x 3 pixels
    // Pixel (1, 1) of cell 0 is opaque; a column a quarter of the integer
    // range away times the width of 4 would come back round to it.
    for (auto [c, r] : {std::pair{2, 0},
                        {-1, 0},
                        {0, 1},
                        {0, -1},
                        {0x40000000, 0},
                        {0, 0x55555556},
                        {INT32_MAX, INT32_MAX}}) {
        image.m_iCurrentColumn = c;
        image.m_iCurrentRow = r;
        EXPECT_EQ(image.HitTest({0, -1}, 0), 0) << c << "," << r;
    }
    image.m_iCurrentColumn = 0;
    image.m_iCurrentRow = 0;
    EXPECT_EQ(image.HitTest({0, -1}, 0), kWhite);
}

TEST(DDObject, FramesOfOneLevelAndPictureShareASurface) {
    CDDObject image;
    image.m_iWidth = 4;
    image.m_iHeight = 3;
    image.SetFrameCount(3);
    auto picture = MakeGridPicture();
    for (int i = 0; i < 3; ++i) image.SetFrameBitmap(i, picture);
    int n = 2;
    image.SetFrameLevels(2, n);  // frame 2 at level 0
    ASSERT_TRUE(image.Load());
    EXPECT_EQ(image.GetFrameSurface(0), image.GetFrameSurface(1));
    EXPECT_NE(image.GetFrameSurface(0), image.GetFrameSurface(2));
    image.Release();
    EXPECT_FALSE(image.IsLoaded());
    Surface screen = Screen();
    int col = 0, row = 0;
    EXPECT_EQ(image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row), qv::kDrawInvalid);
}

TEST(DDObject, AnIdWithoutAPictureGivesABlankFrameOfTheAskedSize) {
    CDDObject image;
    const int id = 999999;
    ASSERT_TRUE(image.Create(7, 5, 0, 0, &id, 3, 2));
    ASSERT_NE(image.GetFrameSurface(0), nullptr);
    EXPECT_EQ(image.GetFrameSurface(0)->Width(), 21);
    EXPECT_EQ(image.GetFrameSurface(0)->Height(), 10);
    Surface screen = Screen();
    int col = 2, row = 1;
    image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row);
    EXPECT_EQ(CountNot(screen, kBack), 0);
    EXPECT_EQ(image.HitTest({1, 1}, 0), 0);
}

TEST(DDObject, DrawPieceDarkensIn32Steps) {
    CDDObject image;
    BuildImage(image, 1);
    Surface screen = Screen();
    const Rect piece{0, 0, 2, 2};
    image.DrawPiece(&screen, {10, 10}, screen.Bounds(), piece, 0);
    EXPECT_EQ(screen.GetPixel(10, 10), 0);  // no see-through colour on the floor
    EXPECT_EQ(screen.GetPixel(11, 11), kWhite);
    image.DrawPiece(&screen, {10, 10}, screen.Bounds(), piece, 16);
    EXPECT_EQ(screen.GetPixel(11, 11), (15 << 11) | (31 << 5) | 15);
    image.DrawPiece(&screen, {10, 10}, screen.Bounds(), piece, 31);
    EXPECT_EQ(screen.GetPixel(11, 11), (0 << 11) | (1 << 5) | 0);
    EXPECT_EQ(CountNot(screen, kBack), 4);
    image.DrawPiece(&screen, {18, 11}, screen.Bounds(), piece, 0);
    EXPECT_EQ(CountNot(screen, kBack), 6);  // the rest fell off the surface
}

TEST(DDObject, LostSurfacesAreRestoredThroughTheGlobalList) {
    const size_t before = CDDObject::GlobalImageCount();
    {
        CDDObject image;
        BuildImage(image, 3);
        EXPECT_EQ(CDDObject::GlobalImageCount(), before + 1);
        image.GetFrameSurface(1)->Fill(0x1234);
        image.GetFrameSurface(1)->MarkLost();
        Surface screen = Screen();
        int col = 0, row = 0;
        image.m_iLightLevel = 1;
        EXPECT_EQ(image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row),
                  qv::kDrawSurfaceLost);
        EXPECT_TRUE(CDDObject::RestoreAllImages());
        EXPECT_EQ(image.DrawFrame(&screen, {5, 5}, screen.Bounds(), col, row), qv::kDrawOk);
        EXPECT_EQ(screen.GetPixel(5, 3), (15 << 11) | (31 << 5) | 15);  // refilled at level 32
    }
    EXPECT_EQ(CDDObject::GlobalImageCount(), before);
}

TEST(DDObject, AFileIsCutIntoFramesLeftToRightTopToBottom) {
    // A 12 x 6 picture holds six frames of 4 x 3: frame k is all index 100 + k.
    CDIBitmap file(12, 6);
    for (int k = 0; k < 6; ++k)
        file.FillRect((k % 3) * 4, (k / 3) * 3, (k % 3) * 4 + 4, (k / 3) * 3 + 3,
                      static_cast<uint8_t>(100 + k));
    const std::string path = ::testing::TempDir() + "frames.bmp";
    ASSERT_TRUE(file.Save(path));
    CDDObject image;
    image.m_iWidth = 4;
    image.m_iHeight = 3;
    image.SetFrameCount(8);
    std::string error;
    ASSERT_TRUE(image.SetFrameImageFile(1, path, &error)) << error;
    ASSERT_TRUE(image.Load());
    EXPECT_EQ(image.GetFrameSurface(0)->GetPixel(0, 0), 0);  // frame 0 has no picture
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(image.GetFrameSurface(1 + k)->GetPixel(2, 1), PaletteIndexToPixel(100 + k)) << k;
    EXPECT_EQ(image.GetFrameSurface(7)->GetPixel(2, 1), 0);
    // The frame drawn follows m_iWhichSurf.
    image.m_iWhichSurf = 4;
    Surface screen = Screen();
    int col = 0, row = 0;
    image.DrawFrame(&screen, {0, 0}, screen.Bounds(), col, row);
    EXPECT_EQ(screen.GetPixel(3, 2), PaletteIndexToPixel(103));
    EXPECT_FALSE(image.SetFrameImageFile(0, "/nonexistent/x.bmp", &error));
    EXPECT_EQ(error, "/nonexistent/x.bmp: not found");
    EXPECT_FALSE(image.SetFrameImageFile(8, path, &error));
    std::remove(path.c_str());
}

TEST(DDObject, TheWorkPictureIsABlankSurfaceToBuildFramesIn) {
    CDDObject work;
    ASSERT_TRUE(work.Create(320, 300, 0, 0, nullptr, 1, 1));
    Surface* s = work.GetFrameSurface(0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 320);
    EXPECT_EQ(s->Height(), 300);
    // A frame copied in and drawn out again keeps its see-through pixels.
    s->SetPixel(1, 1, 0x1234);
    Surface screen = Screen();
    const qv::Rect src{0, 0, 3, 3};
    ASSERT_EQ(work.DrawAt(&screen, {5, 6}, screen.Bounds(), &src), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(6, 7), 0x1234);
    EXPECT_EQ(CountNot(screen, kBack), 1);
}

TEST(DDObject, HugeCountsAndGridsStayWithinTheIntegerRange) {
    CDDObject image;
    image.SetFrameCount(2);
    // One frame of a huge count is full light, as one of any count is; the
    // second of that count is all but full.
    int huge = INT_MAX;
    image.SetFrameLevels(0, huge);
    EXPECT_EQ(image.GetFrameLevel(0), 64);
    image.SetFrameLevels(1, huge);
    EXPECT_EQ(image.GetFrameLevel(1), 63);  // (2^31 - 3) x 64 / (2^31 - 2), cut
    // A grid whose width times its cells passes the integer range gets no
    // picture and draws nothing, instead of a surface of a wrapped size.
    image.m_iWidth = 70000;
    image.m_iHeight = 3;
    int across = 40000, down = 1;
    image.SetCellGrid(across, down);
    image.SetFrameBitmap(0, MakeGridPicture());
    image.Load();
    Surface s = Screen();
    int column = 39999, row = 0;
    EXPECT_NE(image.DrawFrame(&s, {5, 5}, s.Bounds(), column, row, 0, 0), qv::kDrawOk);
    EXPECT_EQ(CountNot(s, kBack), 0);
    // A sensible grid still draws.
    image.m_iWidth = 4;
    across = 2;
    image.SetCellGrid(across, down);
    ASSERT_TRUE(image.Load());
    column = 1;
    EXPECT_EQ(image.DrawFrame(&s, {5, 5}, s.Bounds(), column, row, 0, 0), qv::kDrawOk);
    EXPECT_GT(CountNot(s, kBack), 0);
}
