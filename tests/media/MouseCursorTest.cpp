#include <gtest/gtest.h>

#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "media/MouseCursor.h"

namespace {

// A 4 x 3 pointer image of palette colour 255 with its hot spot at (1, 1).
CDDObject* Pointer() {
    auto* img = new CDDObject();
    img->Create(4, 3, 1, 1, nullptr, 1, 1);
    auto pic = std::make_shared<CDIBitmap>(4, 3);
    pic->FillRect(0, 0, 4, 3, 255);
    img->SetFrameBitmap(0, pic);
    img->Load();
    return img;
}

std::array<CDDObject*, 9> Images() {
    std::array<CDDObject*, 9> a{};
    a[CMouseCursor::kPointer] = Pointer();
    return a;
}

qv::Surface Background() {
    qv::Surface s(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) s.SetPixel(x, y, static_cast<uint16_t>(x + 100 * y));
    return s;
}

TEST(MouseCursor, DrawsAtItsHotSpotAndPutsThePixelsBack) {
    qv::Surface s = Background();
    const qv::Surface before = Background();
    CMouseCursor c(Images());
    EXPECT_EQ(c.InitDirectInput(nullptr, nullptr), 1);
    c.m_pSurface = &s;
    c.m_rcClip = s.Bounds();
    c.m_rcLimits = {0, 0, 40, 30};
    c.m_bShown = 1;
    c.MoveTo({10, 10});
    uint16_t white = PaletteIndexToPixel(255);
    EXPECT_EQ(c.CursorRect(), (qv::Rect{9, 9, 13, 12}));
    EXPECT_EQ(s.GetPixel(9, 9), white);
    EXPECT_EQ(s.GetPixel(12, 11), white);
    EXPECT_EQ(s.GetPixel(13, 11), before.GetPixel(13, 11));
    // Moving takes it away from the old place.
    c.MoveTo({20, 5});
    EXPECT_EQ(s.GetPixel(9, 9), before.GetPixel(9, 9));
    EXPECT_EQ(s.GetPixel(19, 4), white);
    c.HideNow();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(s.GetPixel(x, y), before.GetPixel(x, y)) << x << "," << y;
    // Kept inside its limits.
    c.m_rcLimits = {0, 0, 30, 20};
    c.MoveTo({100, -7});
    EXPECT_EQ(c.m_ptPos, (qv::Point{29, 0}));
}

TEST(MouseCursor, RedrawAfterAPartOfItWasDrawnOverLeavesNoTrace) {
    qv::Surface s = Background();
    CMouseCursor c(Images());
    c.m_pSurface = &s;
    c.m_rcClip = s.Bounds();
    c.m_bShown = 1;
    c.MoveTo({10, 10});
    // Something draws over the left half of the cursor's box ...
    s.FillRect({0, 0, 11, 30}, 7);
    // ... and the cursor is drawn again there.
    c.RedrawCursorInRect({0, 0, 11, 30}, 0);
    EXPECT_EQ(s.GetPixel(9, 9), PaletteIndexToPixel(255));
    c.HideNow();
    // The left part comes back as it was drawn, the right part as before.
    EXPECT_EQ(s.GetPixel(9, 9), 7);
    EXPECT_EQ(s.GetPixel(10, 10), 7);
    EXPECT_EQ(s.GetPixel(11, 10), Background().GetPixel(11, 10));
    EXPECT_EQ(s.GetPixel(12, 11), Background().GetPixel(12, 11));
}

TEST(MouseCursor, CarriesADragImageUntilRestored) {
    qv::Surface s(40, 30);
    CMouseCursor c(Images());
    c.m_pSurface = &s;
    c.m_rcClip = s.Bounds();
    c.m_bShown = 1;
    c.MoveTo({10, 10});
    std::unique_ptr<CDDObject> item(Pointer());
    c.SetDragImage(item.get(), 0, 0);
    EXPECT_EQ(c.GetDragImage(), item.get());
    EXPECT_EQ(c.CursorRect(), (qv::Rect{10, 10, 14, 13}));
    EXPECT_EQ(s.GetPixel(9, 9), 0);
    EXPECT_EQ(s.GetPixel(13, 12), PaletteIndexToPixel(255));
    c.RestoreImage();
    EXPECT_EQ(c.GetDragImage(), nullptr);
    EXPECT_EQ(c.GetImage(), CMouseCursor::kPointer);
    EXPECT_EQ(s.GetPixel(13, 12), 0);
    EXPECT_EQ(s.GetPixel(9, 9), PaletteIndexToPixel(255));
    // Each page keeps its own pixels: drawn on one page, hidden on the other
    // leaves the first page's cursor alone.
    c.ToggleImage();
    EXPECT_FALSE(c.IsDrawn());
    c.ToggleImage();
    EXPECT_TRUE(c.IsDrawn());
}

}  // namespace
