#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "media/DDString.h"
#include "media/DIBitmap.h"

namespace {

int CountColour(const qv::Surface& s, uint16_t value) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) == value;
    return n;
}

}  // namespace

TEST(DDString, TheInstalledFontGivesTheLetters) {
    const CDDAlphabet& a = CDDAlphabet::Get();
    ASSERT_TRUE(a.IsFontLoaded()) << CDDAlphabet::DefaultFontPath();
    int space = 0, em = 0;
    for (int y = 0; y < 16; ++y) {
        space += a.Glyph(' ')[y] != 0;
        em += a.Glyph('M')[y] != 0;
    }
    EXPECT_EQ(space, 0);
    EXPECT_GT(em, 8);
    EXPECT_NE(a.Glyph('O'), a.Glyph('Q'));
}

TEST(DDString, DrawsInItsColourInNineBySixteenCells) {
    qv::Surface s(40, 40);
    CDDString text("A\nAA", 245);
    EXPECT_EQ(text.Width(), 18);
    EXPECT_EQ(text.Height(), 32);
    ASSERT_EQ(text.Draw(&s, {2, 3}, s.Bounds()), qv::kDrawOk);
    const uint16_t gold = PaletteIndexToPixel(245);
    const int all = CountColour(s, gold);
    ASSERT_GT(all, 0);
    // Every lit pixel lies in one of the three cells, never in their 9th column.
    int perLetter = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            if (s.GetPixel(x, y) != gold) continue;
            const bool first = x >= 2 && x < 10 && y >= 3 && y < 19;
            const bool second = ((x >= 2 && x < 10) || (x >= 11 && x < 19)) && y >= 19 && y < 35;
            EXPECT_TRUE(first || second) << x << "," << y;
            perLetter += first;
        }
    EXPECT_EQ(all, 3 * perLetter);
    // Clipped: only the part inside the rectangle is drawn.
    qv::Surface c(40, 40);
    text.Draw(&c, {2, 3}, {0, 0, 6, 40});
    for (int y = 0; y < 40; ++y)
        for (int x = 6; x < 40; ++x) ASSERT_EQ(c.GetPixel(x, y), 0);
    EXPECT_GT(CountColour(c, gold), 0);
    EXPECT_LT(CountColour(c, gold), all);
}

TEST(DDString, AMissingFontDrawsBoxesInstead) {
    CDDAlphabet a;
    EXPECT_FALSE(a.LoadFont("/nonexistent/font.psf.gz"));
    EXPECT_FALSE(a.IsFontLoaded());
    EXPECT_EQ(a.Glyph('x')[3], 0x7C);
    EXPECT_EQ(a.Glyph(' ')[3], 0);
}

TEST(DDString, TextNearTheIntegerLimitsDrawsWhatIsInsideAndNoMore) {
    qv::Surface s(40, 40);
    const std::string text(20, 'M');
    const uint16_t gold = PaletteIndexToPixel(245);
    // Starting just short of the largest x, or past the bottom, nothing shows.
    EXPECT_EQ(CDDString::DrawText(&s, {INT_MAX - 4, 0}, s.Bounds(), text, 245), qv::kDrawOk);
    EXPECT_EQ(CDDString::DrawText(&s, {0, INT_MAX - 4}, s.Bounds(), text + "\n" + text, 245),
              qv::kDrawOk);
    EXPECT_EQ(CountColour(s, gold), 0);
    // From the left, letters walk in: the three that reach the surface show,
    // the first of them in part.
    CDDString::DrawText(&s, {-9 * 3 - 2, 0}, s.Bounds(), std::string(6, 'M'), 245);
    qv::Surface t(40, 40);
    CDDString::DrawText(&t, {-2, 0}, t.Bounds(), "MMM", 245);
    EXPECT_GT(CountColour(t, gold), 0);
    EXPECT_EQ(CountColour(s, gold), CountColour(t, gold));
    // Text starting at the smallest x draws nothing and does not overflow.
    qv::Surface u(40, 40);
    CDDString::DrawText(&u, {INT_MIN, INT_MIN}, u.Bounds(), text + "\n" + text, 245);
    EXPECT_EQ(CountColour(u, gold), 0);
}
