// A human of each sex, in two sets of colours each, drawn headless with the
// looks the data program writes: the pure green of the shirt takes its green
// times the shirt colour, the brown of the trousers below the top quarter
// gets the pants colour added, the yellowish hair in the top third gets the
// hair colour added, and the skin keeps its colour.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "creatures/Human.h"
#include "creatures/PlayerImages.h"
#include "creatures/Species.h"
#include "data/CreatureArt.h"
#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "platform/Surface.h"
#include "shell/MainFrm.h"
#include "support/TestFolder.h"

namespace {

using Parts = std::array<int, 3>;  // red, green, blue in the 5-6-5 screen's units

// The colours the data program paints a human's look in, in 5-6-5 units.
constexpr Parts kShirt{0, 44, 0};
constexpr Parts kTrousers{20, 10, 5};
constexpr Parts kHair{28, 40, 6};
constexpr Parts kSkin{30, 50, 22};

uint16_t Pixel(const Parts& p) {
    return MakeScreenPixel(p[0], p[1], p[2]);
}

TEST(HumanLooks, EachSexIsDrawnInItsOwnColoursWhereTheLookFixesThem) {
    // Expected colours worked out by hand from the rules: the shirt's green
    // 44 times each factor, cut to 31, 63 and 31; the trousers' (20, 10, 5)
    // plus the pants colour, none below 0; the hair's (28, 40, 6) plus the
    // hair colour, its blue at least 1.
    struct Row {
        const char* what;
        int32_t sex;
        Parts shirt, pants, hair;
        Parts shirtDrawn, trousersDrawn, hairDrawn;
    };
    // clang-format off
    const Row rows[] = {
        {"a man in a plain red shirt", 0,
         {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {31, 0, 0}, {20, 10, 5}, {28, 40, 6}},
        {"a man with the colours of the name abc", 0,
         {2, 0, 0}, {1, 0, -3}, {-9, -7, -9}, {31, 0, 0}, {21, 10, 2}, {19, 33, 1}},
        {"a woman in cyan, her hair lightened", 1,
         {0, 1, 1}, {-3, -3, -3}, {3, 3, 3}, {0, 44, 31}, {17, 7, 2}, {31, 43, 9}},
        {"a woman with the colours of an empty name", 1,
         {1, 0, 0}, {-3, -3, -3}, {-10, -10, -10}, {31, 0, 0}, {17, 7, 2}, {18, 30, 1}},
        {"a child in blue, the darkest hair", 2,
         {0, 0, 1}, {1, 1, 1}, {-16, -16, -16}, {0, 0, 31}, {21, 11, 6}, {12, 24, 1}},
        {"a child in yellow, red trousers, no green in the hair", 2,
         {1, 1, 0}, {5, -10, 0}, {0, -40, 0}, {31, 44, 0}, {25, 0, 5}, {28, 0, 6}},
    };
    // clang-format on
    test_support::TestFolder folder("human-looks");
    std::string error;
    ASSERT_TRUE(art::WriteCreatureImages(folder.dir.string() + "/Images/", error)) << error;
    CMainFrame frame;
    frame.m_Play.Saves().SetGameFolder(folder.dir.string() + "/");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::unique_ptr<Player> made = Species::Make("Human");
        auto* human = dynamic_cast<Human*>(made.get());
        ASSERT_NE(human, nullptr);
        human->SetSex(&r.sex);
        CreatureImageSet* set = human->GetClassImages();
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->IsNamed(Human::LookName(r.sex)), 1);
        human->m_iShirtColor = r.shirt;
        human->m_iPantsColor = r.pants;
        human->m_iHairColor = r.hair;
        human->m_iAction = ImageAction::STOP;
        human->m_sFacing = 2;
        human->m_iFrame = 0;

        // The frame as the look holds it, before any colour is changed.
        int32_t action = ImageAction::STOP, facing = 2, step = 0;
        CDDObject* image = set->GetFrame(&action, &facing, &step);
        ASSERT_NE(image, nullptr);
        const qv::Surface* frameSurface = image->GetFrameSurface(image->m_iWhichSurf);
        ASSERT_NE(frameSurface, nullptr);
        const uint16_t key = static_cast<uint16_t>(image->GetFrameKey(image->m_iWhichSurf));
        const int w = image->m_iWidth, h = image->m_iHeight;

        // Drawn in full light on a ground of one colour.
        qv::Surface screen(2 * w + 40, 2 * h + 40);
        const uint16_t ground = MakeScreenPixel(3, 3, 3);
        screen.Fill(ground);
        const qv::Point at{w + 20, h + 20};
        human->m_iDrawLight = 128;
        human->Draw(&screen, at, screen.Bounds(), Position(0, 0, 0), 0);
        const qv::Point top{at.x - image->m_iHotX, at.y - (image->m_iHotY + image->m_iZOffset)};

        // Each colour's pixels as drawn, and how many each rule acts on:
        // brown only below the top quarter, hair only in the top third.
        int shirt = 0, trousers = 0, hair = 0, skin = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint16_t source = frameSurface->GetPixel(x, y);
                uint16_t want = source;
                if (source == key) {
                    want = ground;
                } else if (source == Pixel(kShirt)) {
                    want = Pixel(r.shirtDrawn);
                    ++shirt;
                } else if (source == Pixel(kTrousers)) {
                    if (y > h / 4) want = Pixel(r.trousersDrawn);
                    trousers += y > h / 4;
                } else if (source == Pixel(kHair)) {
                    if (y < h / 3) want = Pixel(r.hairDrawn);
                    hair += y < h / 3;
                } else if (source == Pixel(kSkin)) {
                    ++skin;
                } else {
                    continue;  // outlines and shading are the look's own
                }
                EXPECT_EQ(screen.GetPixel(top.x + x, top.y + y), want)
                    << "row " << y << " of " << h << ", column " << x;
            }
        EXPECT_GT(shirt, 20);
        EXPECT_GT(trousers, 10);
        EXPECT_GT(hair, 4);
        EXPECT_GT(skin, 4);
    }
}

}  // namespace
