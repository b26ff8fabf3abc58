#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "media/DDObjects.h"
#include "media/Resources.h"

namespace {

struct Mean {
    int r = 0, g = 0, b = 0;
};

Mean MeanColour(const CDIBitmap& bm, int left, int width) {
    long long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = left; x < left + width; ++x) {
            const PaletteEntry& e = bm.GetPalette()[bm.GetPixel(x, y)];
            r += e.r;
            g += e.g;
            b += e.b;
            ++n;
        }
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

int Distance(const Mean& a, const Mean& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

}  // namespace

TEST(Resources, EveryPictureIsPaintedAtItsSizeAndShowsSomething) {
    const std::vector<int> ids = BitmapResourceIds();
    ASSERT_GT(ids.size(), 150u);
    for (int id : {892,  969,  970, 668, 873, 644, 679, 1101, 1102, 1103, 981, 989, 913,
                   1089, 1090, 568, 576, 960, 943, 961, 577,  584,  377,  843, 905, 1016})
        EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
    for (int id : ids) {
        auto bm = FindBitmapResource(id);
        ASSERT_NE(bm, nullptr) << id;
        EXPECT_EQ(FindBitmapResource(id), bm);  // painted once and kept
        int shown = 0, masks = 0;
        for (int y = 0; y < bm->Height(); ++y)
            for (int x = 0; x < bm->Width(); ++x) {
                const int v = bm->GetPixel(x, y);
                shown += v != bm->GetTransparentColour();
                masks += v == kPaletteDeck || v == kPaletteSnare;
            }
        // No picture is a deck or a snare by chance: the platforms' decks are
        // the only masks, and nothing else.
        const bool deck = id == kBitmapDrawBridgeDeck || id == kBitmapDrawBridgeDeckAcross ||
                          id == kBitmapShipDeck;
        EXPECT_EQ(masks, deck ? shown : 0) << id;
        EXPECT_GT(shown, bm->Width() * bm->Height() / 50) << id;
    }
    EXPECT_EQ(FindBitmapResource(873)->GetTransparentColour(), 9);
    EXPECT_EQ(FindBitmapResource(kBitmapCrate)->Width(), 64);
    EXPECT_EQ(FindBitmapResource(283), nullptr);      // the plain object shows nothing
    EXPECT_EQ(FindBitmapResource(892)->Width(), 56);  // two cells of 28 x 17
    EXPECT_EQ(FindBitmapResource(873)->Width(), 7 * 18);
    EXPECT_EQ(FindBitmapResource(kBitmapTerrain + 3)->Width(), 160 * kWaterAnimationSteps);
    EXPECT_EQ(FindBitmapResource(123456), nullptr);
}

TEST(Resources, TerrainKindsAreToldApartByColour) {
    // Grass, sand, floor, water, rock, earth, snow, wooden floor: mean colours
    // well apart.
    const int codes[] = {0, 1, 2, 3, 4, 9, 11, 13};
    std::vector<Mean> means;
    for (int code : codes)
        means.push_back(MeanColour(*FindBitmapResource(kBitmapTerrain + code), 0, 160));
    for (size_t i = 0; i < means.size(); ++i)
        for (size_t j = i + 1; j < means.size(); ++j)
            EXPECT_GT(Distance(means[i], means[j]), 40) << codes[i] << " vs " << codes[j];
    const Mean water = means[3], grass = means[0], snow = means[7];
    EXPECT_GT(water.b, water.r + 60);
    EXPECT_GT(grass.g, grass.r + 40);
    EXPECT_GT(snow.r + snow.g + snow.b, 600);
    // The water's animation steps differ from one another.
    auto w = FindBitmapResource(kBitmapTerrain + 3);
    int differing = 0;
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 160; ++x) differing += w->GetPixel(x, y) != w->GetPixel(x + 160, y);
    EXPECT_GT(differing, 100);
}

TEST(Resources, SoundsForEveryWaveIdTheGameNames) {
    std::set<int> ids;
    for (int id : WaveResourceIds()) ids.insert(id);
    for (int id : {328, 1069, 1070, 1071, 1107, 1108, 447, 448, 1036, 1043, 1044, 1045, 1057, 177,
                   178, 180}) {
        EXPECT_TRUE(ids.count(id)) << id;
        auto w = FindWaveResource(id);
        ASSERT_NE(w, nullptr) << id;
        EXPECT_EQ(w->sampleRate, 22050);
        EXPECT_GT(w->samples.size(), 2000u) << id;
        EXPECT_LT(w->samples.size(), 22050u * 3) << id;
        int16_t peak = 0;
        for (int16_t s : w->samples)
            peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
        EXPECT_GT(peak, 3000) << id;
    }
    for (int id : kCombatSoundIds) EXPECT_NE(FindWaveResource(id), nullptr) << id;
    EXPECT_EQ(FindWaveResource(4242), nullptr);
}

TEST(Resources, CursorsHaveTheirHotSpots) {
    CursorResource wait = FindCursorResource(219);
    ASSERT_NE(wait.picture, nullptr);
    EXPECT_EQ(wait.hotX, 16);
    CursorResource normal = FindCursorResource(214);
    EXPECT_EQ(normal.hotX, 0);
    EXPECT_NE(normal.picture->GetPixel(1, 5), 0);  // the arrow starts at the hot spot
    EXPECT_EQ(normal.picture->GetPixel(30, 2), 0);
}

TEST(Resources, AnImageOfAResourceDrawsItsPicture) {
    CDDObject image;
    const int id = kBitmapCrate;
    ASSERT_TRUE(image.Create(64, 64, 32, 32, &id, 1, 1));
    qv::Surface screen(100, 100);
    int col = 0, row = 0;
    image.DrawFrame(&screen, {50, 50}, screen.Bounds(), col, row);
    EXPECT_EQ(screen.GetPixel(18, 18), 0);  // see-through corner of the crate picture
    EXPECT_NE(screen.GetPixel(50, 50), 0);
    EXPECT_EQ(image.HitTest({0, 0}, 0), screen.GetPixel(50, 50));
}

TEST(Resources, SpritesKeepClearCornersAroundTheirShapes) {
    // The mountain and the pine stand on see-through backgrounds: their top
    // corners and a ring of pixels around the shape stay index 0.
    for (int id : {kBitmapBigMountain, kBitmapIceMountain, kBitmapLivePine, kBitmapDarkPatch}) {
        auto bm = FindBitmapResource(id);
        EXPECT_EQ(bm->GetPixel(0, 0), 0) << id;
        EXPECT_EQ(bm->GetPixel(bm->Width() - 1, 0), 0) << id;
    }
    auto m = FindBitmapResource(kBitmapBigMountain);
    int stray = 0;  // above the peak's outline nothing is painted
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 120; ++x) stray += m->GetPixel(x, y) != 0;
    EXPECT_EQ(stray, 0);
}

TEST(Resources, TheCreatureBodyTurnsThroughItsEightFacings) {
    // Cell f faces f: 0 east, 1 south-east (toward the viewer on the screen),
    // 5 north-west (away from the viewer), 4 west.
    auto bm = FindBitmapResource(kBitmapCreature);
    ASSERT_EQ(bm->Width(), 8 * 64);
    ASSERT_EQ(bm->Height(), 64);
    const uint8_t shirt = bm->GetPixel(32, 32);
    const PaletteEntry& green = bm->GetPalette()[shirt];
    EXPECT_GT(green.g, green.r + 60);  // a green shirt
    EXPECT_GT(green.g, green.b + 60);
    auto cell = [&](int f) {  // a fingerprint of the cell's pixels
        uint64_t h = 1469598103934665603ull;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) h = (h ^ bm->GetPixel(f * 64 + x, y)) * 1099511628211ull;
        return h;
    };
    std::set<uint64_t> looks;
    for (int f = 0; f < 8; ++f) {
        looks.insert(cell(f));
        EXPECT_EQ(bm->GetPixel(f * 64 + 32, 32), shirt) << f;
    }
    EXPECT_EQ(looks.size(), 8u);
    // Eyes (the darkest colour of the head) show from the front, none from behind.
    auto darkInHead = [&](int f) {
        int n = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 24; x < 40; ++x) {
                const PaletteEntry& e = bm->GetPalette()[bm->GetPixel(f * 64 + x, y)];
                n += bm->GetPixel(f * 64 + x, y) != 0 && e.r + e.g + e.b < 120;
            }
        return n;
    };
    EXPECT_GE(darkInHead(1), 8);  // two eyes
    EXPECT_EQ(darkInHead(5), 0);
    // A profile shows its face on the side it faces, its hair on the other.
    const uint8_t skin = bm->GetPixel(64 + 29, 16);
    auto skinLeftOfCentre = [&](int f) {
        int left = 0, right = 0;
        for (int y = 8; y < 20; ++y)
            for (int x = 20; x < 44; ++x)
                if (bm->GetPixel(f * 64 + x, y) == skin) (x < 32 ? left : right)++;
        return left - right;
    };
    EXPECT_LT(skinLeftOfCentre(0), -10);
    EXPECT_GT(skinLeftOfCentre(4), 10);
}

TEST(Resources, InventoryPicturesAreWholePanelsAndGroundPicturesKeepTheirHoles) {
    // On the ground a ring shows the grass through its middle; in the
    // inventory the panel shows there, and no pixel of the box is see-through.
    for (int kind = 0; kind < kItemCount; ++kind) {
        auto inv = FindBitmapResource(kBitmapItemInventory + kind);
        int holes = 0;
        for (int y = 0; y < inv->Height(); ++y)
            for (int x = 0; x < inv->Width(); ++x) holes += inv->GetPixel(x, y) == 0;
        EXPECT_EQ(holes, 0) << kind;
    }
    auto ring = FindBitmapResource(kBitmapItemGround + kItemRing);
    EXPECT_EQ(ring->GetPixel(16, 12), 0);
}
