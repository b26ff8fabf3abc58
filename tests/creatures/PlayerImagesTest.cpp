// Creature looks: reading sections of the look file, choosing frames, and the
// pixels of the four drawing forms.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "creatures/PlayerImages.h"
#include "creatures/PlayerImagesTestSupport.h"
#include "platform/Message.h"

using looks_test::Cells;
using looks_test::IndexPixel;
using looks_test::TestFolder;

namespace {

// The palette index of a frame's top-left pixel, read back from its pixel.
int CellIndex(CDDObject* image) {
    if (!image) return -1;
    const qv::Surface* s = image->GetFrameSurface(image->m_iWhichSurf);
    if (!s) return -2;
    for (int i = 0; i < 256; ++i)
        if (s->GetPixel(0, 0) == IndexPixel(i)) return i;
    return -3;
}

int Shown(CreatureImageSet& set, int32_t action, int32_t facing, int32_t step) {
    return CellIndex(set.GetFrame(&action, &facing, &step));
}

}  // namespace

TEST(CreatureImageSet, TheRatSectionGivesItsValuesAndSixteenFrames) {
    TestFolder dir("rat");
    // Each file holds the eight facings of one step, facing f in cell f.
    dir.Bitmap("rat1.bmp", Cells(64, 48, {1, 2, 3, 4, 5, 6, 7, 8}));
    dir.Bitmap("rat2.bmp", Cells(64, 48, {9, 10, 11, 12, 13, 14, 15, 16}));
    CreatureImageSet set;
    ASSERT_EQ(
        set.ParseIn("Rat", "0 120 1.5 64 48 32 40 MOVE 0 8 2 800 rat1.bmp rat2.bmp ", dir.Path()),
        1);
    EXPECT_EQ(set.m_bRecoloured, 0);
    EXPECT_EQ(set.m_iSpeed, 120);
    EXPECT_DOUBLE_EQ(set.m_dHasteFactor, 1.5);
    EXPECT_EQ(set.m_iWidth, 64);
    EXPECT_EQ(set.m_iHeight, 48);
    EXPECT_EQ(set.m_iHotX, 32);
    EXPECT_EQ(set.m_iHotY, 40);
    EXPECT_EQ(set.IsNamed("Rat"), 1);
    EXPECT_EQ(set.IsNamed("rat"), 0);
    ASSERT_EQ(set.Image(ImageAction::MOVE)->m_iSurfaceCnt, 16);
    EXPECT_EQ(set.FrameCount(ImageAction::MOVE), 2);
    EXPECT_EQ(set.Length(ImageAction::MOVE), 800);
    EXPECT_EQ(set.Image(ImageAction::MOVE)->m_iHotX, 32);
    EXPECT_EQ(set.Image(ImageAction::MOVE)->m_iHotY, 40);
    // Frame = facing + 8 x step: the cell of facing f in file s + 1.
    for (int32_t step = 0; step < 2; ++step)
        for (int32_t facing = 0; facing < 8; ++facing)
            EXPECT_EQ(Shown(set, ImageAction::MOVE, facing, step), 1 + facing + 8 * step)
                << "facing " << facing << " step " << step;
}

TEST(CreatureImageSet, FourDirectionsShareColumnsAndLateStepsShowTheLast) {
    TestFolder dir("four");
    std::vector<int> s0{1, 2, 3, 4}, s1{5, 6, 7, 8};
    dir.Bitmap("a.bmp", Cells(10, 12, s0));
    dir.Bitmap("b.bmp", Cells(10, 12, s1));
    // One direction: every facing shows the only column.
    dir.Bitmap("one.bmp", Cells(10, 12, {40}));
    CreatureImageSet set;
    ASSERT_EQ(set.ParseIn("Four",
                          "0 100 2 10 12 5 11 ATTACK1 0 4 2 600 a.bmp b.bmp "
                          "CAST 0 1 1 100 one.bmp ",
                          dir.Path()),
              1);
    const int column[8] = {0, 0, 1, 1, 2, 2, 2, 3};
    for (int32_t facing = 0; facing < 8; ++facing) {
        EXPECT_EQ(Shown(set, ImageAction::ATTACK1, facing, 0), 1 + column[facing]);
        EXPECT_EQ(Shown(set, ImageAction::ATTACK1, facing, 1), 5 + column[facing]);
        EXPECT_EQ(Shown(set, ImageAction::CAST, facing, 0), 40);
    }
    // A step past the last one draws the last and tells the caller so.
    int32_t action = ImageAction::ATTACK1, facing = 5, step = 9;
    EXPECT_EQ(CellIndex(set.GetFrame(&action, &facing, &step)), 7);
    EXPECT_EQ(step, 1);
    // An action without frames, or a facing outside 0..7, has no image.
    action = ImageAction::DEAD;
    step = 0;
    EXPECT_EQ(set.GetFrame(&action, &facing, &step), nullptr);
    action = ImageAction::ATTACK1;
    facing = 8;
    EXPECT_EQ(set.GetFrame(&action, &facing, &step), nullptr);
    facing = -1;
    EXPECT_EQ(set.GetFrame(&action, &facing, &step), nullptr);
    action = 13;
    facing = 0;
    EXPECT_EQ(set.GetFrame(&action, &facing, &step), nullptr);
}

TEST(CreatureImageSet, OneFilePerFacingNumberedFilesBorrowingAndTheFlashStrip) {
    TestFolder dir("layouts");
    // Layout 1: file d holds facing d's three steps, with a size of its own.
    std::string files;
    for (int d = 0; d < 8; ++d) {
        const std::string name = "walk" + std::to_string(d) + ".bmp";
        dir.Bitmap(name, Cells(6, 7, {10 * d + 1, 10 * d + 2, 10 * d + 3}));
        files += name + " ";
    }
    // Layout 2: numbered files, file n holding frame n - 1 of 4 facings x 2 steps.
    for (int n = 1; n <= 8; ++n)
        dir.Bitmap("fall\\" + NumberedFrameName("fall", n), Cells(5, 5, {100 + n}));
    dir.Bitmap("flash.bmp", Cells(8, 8, {200, 201, 202}));
    CreatureImageSet set;
    ASSERT_EQ(set.ParseIn("Mixed",
                          "1 90 3.25 8 8 4 7 "
                          "MOVE 1 8 3 900 6 7 3 6 " +
                              files +
                              "DEAD 2 4 2 1000 5 5 2 4 fall "
                              "RUN 3 8 3 450 MOVE "
                              "WOUNDED 0 8 3 300 flash.bmp "
                              "STOP 250 3 8 1 0 MOVE ",
                          dir.Path()),
              1);
    EXPECT_EQ(set.m_bRecoloured, 1);
    EXPECT_EQ(set.m_iStopPause, 250);
    EXPECT_EQ(set.Image(ImageAction::MOVE)->m_iWidth, 6);
    EXPECT_EQ(set.Image(ImageAction::MOVE)->m_iHotX, 3);
    EXPECT_EQ(set.Image(ImageAction::MOVE)->m_iHotY, 6);
    for (int32_t d = 0; d < 8; ++d)
        for (int32_t s = 0; s < 3; ++s)
            EXPECT_EQ(Shown(set, ImageAction::MOVE, d, s), 10 * d + s + 1);
    // Numbered file n is frame n - 1 = column + 4 x step.
    EXPECT_EQ(Shown(set, ImageAction::DEAD, 0, 0), 101);
    EXPECT_EQ(Shown(set, ImageAction::DEAD, 7, 0), 104);
    EXPECT_EQ(Shown(set, ImageAction::DEAD, 2, 1), 106);
    EXPECT_EQ(Shown(set, ImageAction::DEAD, 4, 1), 107);
    // RUN shows MOVE's pictures with its own frame count and length.
    EXPECT_EQ(set.Borrowed(ImageAction::RUN), ImageAction::MOVE);
    EXPECT_EQ(set.Length(ImageAction::RUN), 450);
    EXPECT_EQ(Shown(set, ImageAction::RUN, 3, 2), 33);
    // STOP borrows MOVE but has one step: always MOVE's first.
    EXPECT_EQ(Shown(set, ImageAction::STOP, 6, 2), 61);
    // The flash strip: one frame per step whatever the facing.
    EXPECT_EQ(set.Image(ImageAction::WOUNDED)->m_iSurfaceCnt, 3);
    EXPECT_EQ(Shown(set, ImageAction::WOUNDED, 5, 2), 202);
    EXPECT_EQ(Shown(set, ImageAction::WOUNDED, 0, 1), 201);
}

TEST(CreatureImageSet, NumberedFileNamesShowFourDigits) {
    EXPECT_EQ(NumberedFrameName("orc", 7), "orc_0007.bmp");
    EXPECT_EQ(NumberedFrameName("orc", 42), "orc_0042.bmp");
    EXPECT_EQ(NumberedFrameName("orc", 999), "orc_0999.bmp");
    EXPECT_EQ(NumberedFrameName("orc", 1000), "orc_1000.bmp");
    EXPECT_EQ(NumberedFrameName("orc", 9999), "orc_9999.bmp");
}

TEST(CreatureImageSet, EveryBadValueIsRefusedNamingTheFileAndSectionAndChangesNothing) {
    TestFolder dir("bad");
    dir.Bitmap("a.bmp", Cells(8, 8, {1, 2, 3, 4, 5, 6, 7, 8}));
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"", "Could not find Number of Actions for Image File"},
        {"0 100", "Could not find Number of Actions for Image File"},
        {"0 100 1.0 ", "Could not find HotPoint(x) for Image File"},
        {"0 100 1.0 8", "Could not find HotPoint(y) for Image File"},
        {"0 100 1.0 8 8 4", "Could not find HotPoint(y) for Image File"},
        {"x 100 1.0 8 8 4 4", "the recoloured flag \"x\" is not a whole number"},
        {"0 100 fast 8 8 4 4", "the haste factor \"fast\" is not a number"},
        {"0 100 1.0 0 8 4 4", "the image size 0 is outside 1 to 320"},
        {"0 100 1.0 321 8 4 4", "the image size 321 is outside 1 to 320"},
        {"0 100 1.0 8 241 4 4", "the image size 241 is outside 1 to 240"},
        {"0 100 1.0 8 -5 4 4", "the image size -5 is outside 1 to 240"},
        {"0 100 1.0 8 8 99999 4", "the hot spot 99999 is outside -4096 to 4096"},
        {"0 100 1.0 8 8 4 4 JUMP 0 8 1 100 a.bmp", "Unrecognized image action \"JUMP\""},
        {"0 100 1.0 8 8 4 4 MOVE 4 8 1 100 a.bmp", "the layout of MOVE 4 is outside 0 to 3"},
        {"0 100 1.0 8 8 4 4 MOVE -1 8 1 100 a.bmp", "the layout of MOVE -1 is outside 0 to 3"},
        {"0 100 1.0 8 8 4 4 MOVE 0 3 1 100 a.bmp", "the directions of MOVE 3 must be 8, 4 or 1"},
        {"0 100 1.0 8 8 4 4 MOVE 0 0 1 100 a.bmp", "the directions of MOVE 0 is outside 1 to 8"},
        {"0 100 1.0 8 8 4 4 MOVE 0 8 -1 100 a.bmp",
         "the frame count of MOVE -1 is outside 0 to 64"},
        {"0 100 1.0 8 8 4 4 MOVE 0 8 99999999 100 a.bmp",
         "the frame count of MOVE 99999999 is outside 0 to 64"},
        {"0 100 1.0 8 8 4 4 MOVE 0 8 1 -100 a.bmp", "the length of MOVE -100 is outside 0 to"},
        {"0 100 1.0 8 8 4 4 STOP -5 0 8 1 100 a.bmp", "the stop pause of STOP -5 is outside 0 to"},
        {"0 100 1.0 8 8 4 4 MOVE 0 8 2 100 a.bmp", "Could not find Number of Actions"},
        {"0 100 1.0 8 8 4 4 MOVE 1 8 1 100 8 8", "Could not find HotPoint(x) for Image File"},
        {"0 100 1.0 8 8 4 4 MOVE 1 8 1 100 400 8 4 4 a.bmp",
         "the image size of MOVE 400 is outside 1 to 320"},
        {"0 100 1.0 8 8 4 4 MOVE 0 8 1 100 missing.bmp", "missing.bmp"},
        {"0 100 1.0 8 8 4 4 MOVE 3 8 1 100", "Could not find Number of Actions"},
        {"0 100 1.0 8 8 4 4 MOVE 2 8 1 100 8 8 4 4 nothere", "nothere_0001.bmp"},
        // Picture names stay inside the creature's folder.
        {"0 100 1.0 8 8 4 4 MOVE 0 8 1 100 ..\\a.bmp", "\"..\\a.bmp\" leads out of the folder"},
        {"0 100 1.0 8 8 4 4 MOVE 1 1 1 100 8 8 4 4 /etc/a.bmp", "\"/etc/a.bmp\" leads out"},
        {"0 100 1.0 8 8 4 4 MOVE 2 8 1 100 8 8 4 4 sub//x", "\"sub//x\" leads out"},
        {"0 100 1.0 8 8 4 4 WOUNDED 0 1 1 100 c:a.bmp", "\"c:a.bmp\" leads out"},
    };
    for (const Case& c : cases) {
        CreatureImageSet set;
        ASSERT_EQ(set.ParseIn("Old", "1 7 2.0 8 8 1 1 MOVE 0 8 1 100 a.bmp ", dir.Path()), 1);
        qv::ScriptedMessages messages;
        EXPECT_EQ(set.ParseIn("Broken", c.text, dir.Path()), 0) << c.text;
        ASSERT_EQ(messages.shown.size(), 1u) << c.text;
        EXPECT_NE(messages.shown[0].find("PlayerImages.dat, section \"Broken\": "),
                  std::string::npos)
            << messages.shown[0];
        EXPECT_NE(messages.shown[0].find(c.says), std::string::npos)
            << c.text << " -> " << messages.shown[0];
        // The set is as it was before.
        EXPECT_EQ(set.IsNamed("Old"), 1);
        EXPECT_EQ(set.m_iSpeed, 7);
        EXPECT_EQ(set.FrameCount(ImageAction::MOVE), 1);
        EXPECT_EQ(Shown(set, ImageAction::MOVE, 3, 0), 4);
    }
}

TEST(CreatureImageSet, AKeywordThatBorrowsNothingAndTheLaterStopPauseWins) {
    TestFolder dir("borrow");
    CreatureImageSet set;
    ASSERT_EQ(set.ParseIn("B", "0 1 1 8 8 0 0 FIGIT 100 3 8 1 10 NOTHING STOP 300 3 8 1 10 STOP ",
                          dir.Path()),
              1);
    EXPECT_EQ(set.m_iStopPause, 300);
    EXPECT_EQ(set.Borrowed(ImageAction::FIGIT), -1);
    EXPECT_EQ(set.Borrowed(ImageAction::STOP), -1);  // borrowing itself borrows nothing
    EXPECT_EQ(Shown(set, ImageAction::FIGIT, 0, 0), -1);
}

TEST(FindImageNode, JoinsTheLinesOfTheFirstSectionOfTheName) {
    TestFolder dir("node");
    const std::string path = dir.Path() + "PlayerImages.dat";
    std::ofstream(path, std::ios::binary) << "NODE Dog\r\n0 150 5\r\n40 30\r\nEND\r\n"
                                             "stray line\n"
                                             "NODE  GiantRat  \n1 2\n3\nEND\n"
                                             "NODE GiantRat\n9\nEND\n"
                                             "NODE Last\nMOVE 0 8 1 100 last.bmp";
    std::string text = "unchanged";
    EXPECT_EQ(FindImageNodeIn(path, "Cat", text), 0);
    EXPECT_EQ(text, "unchanged");
    ASSERT_EQ(FindImageNodeIn(path, "Dog", text), 1);
    EXPECT_EQ(text, "0 150 5 40 30 ");
    ASSERT_EQ(FindImageNodeIn(path, "GiantRat", text), 1);
    EXPECT_EQ(text, "1 2 3 ");
    ASSERT_EQ(FindImageNodeIn(path, "Last", text), 1);
    EXPECT_EQ(text, "MOVE 0 8 1 100 last.bmp ");
    EXPECT_EQ(FindImageNodeIn(dir.Path() + "none.dat", "Dog", text), 0);
}

// ---- The drawing forms, pixel by pixel

TEST(CreatureDrawing, ShadingScalesEachPartByTheLightOver128) {
    const uint16_t key = MakeScreenPixel(0, 0, 0);
    EXPECT_EQ(CreatureImageSet::ShadePixel(MakeScreenPixel(20, 40, 10), 128, key),
              MakeScreenPixel(20, 40, 10));
    EXPECT_EQ(CreatureImageSet::ShadePixel(MakeScreenPixel(20, 40, 10), 64, key),
              MakeScreenPixel(10, 20, 5));
    // 31 x 100 = 3100, >> 7 = 24; 63 x 100 >> 7 = 49; 7 x 100 >> 7 = 5.
    EXPECT_EQ(CreatureImageSet::ShadePixel(MakeScreenPixel(31, 63, 7), 100, key),
              MakeScreenPixel(24, 49, 5));
    // Darkened to the transparent colour, a pixel is raised by one.
    EXPECT_EQ(CreatureImageSet::ShadePixel(MakeScreenPixel(1, 1, 1), 64, key), 1);
    const uint16_t grey = MakeScreenPixel(2, 4, 2);
    EXPECT_EQ(CreatureImageSet::ShadePixel(MakeScreenPixel(4, 8, 4), 64, grey), grey + 1);
    // The transparent colour itself stays.
    EXPECT_EQ(CreatureImageSet::ShadePixel(grey, 64, grey), grey);
}

TEST(CreatureDrawing, RecolouringShirtTrousersAndHairAtTheirBoundaries) {
    LookColours c;
    c.shirt = {2, 1, 0};
    c.pants = {1, -3, -3};
    c.hair = {-9, -7, -9};
    const uint16_t key = 0;
    auto px = [&](int r, int g, int b, int row) {
        // A frame 40 rows high: trousers below row 10, hair above row 13.
        return CreatureImageSet::RecolourPixel(MakeScreenPixel(r, g, b), row, 40, c, 128, key);
    };
    // Pure green: green times the shirt colour, each part clamped.
    EXPECT_EQ(px(0, 20, 0, 30), MakeScreenPixel(31, 20, 0));  // 40 clamped to 31
    EXPECT_EQ(px(0, 9, 0, 0), MakeScreenPixel(18, 9, 0));
    // Brown (2g-4 < r < 2g+4, 2b-2 < g < 2b+2) below row 10 gets the trousers added.
    EXPECT_EQ(px(20, 10, 5, 11), MakeScreenPixel(21, 7, 2));
    EXPECT_EQ(px(17, 10, 5, 11), MakeScreenPixel(18, 7, 2));   // r = 2g - 3
    EXPECT_EQ(px(23, 10, 5, 11), MakeScreenPixel(24, 7, 2));   // r = 2g + 3
    EXPECT_EQ(px(24, 10, 5, 11), MakeScreenPixel(24, 10, 5));  // r = 2g + 4: not brown
    EXPECT_EQ(px(16, 10, 5, 30), MakeScreenPixel(16, 10, 5));  // r = 2g - 4: not brown
    EXPECT_EQ(px(20, 9, 5, 30), MakeScreenPixel(21, 6, 2));    // g = 2b - 1
    EXPECT_EQ(px(20, 8, 5, 30), MakeScreenPixel(20, 8, 5));    // g = 2b - 2: not brown
    EXPECT_EQ(px(20, 12, 5, 30), MakeScreenPixel(20, 12, 5));  // g = 2b + 2: not brown
    EXPECT_EQ(px(1, 0, 0, 11), MakeScreenPixel(2, 0, 0));      // parts never go below 0
    EXPECT_EQ(px(20, 10, 5, 10), MakeScreenPixel(20, 10, 5));  // row 10 is not below the quarter
    // Hair (4b < r + 10 and 4b < g + 10) above row 13 gets the hair colour,
    // blue at least 1.
    EXPECT_EQ(px(28, 30, 4, 12), MakeScreenPixel(19, 23, 1));
    EXPECT_EQ(px(28, 30, 4, 13), MakeScreenPixel(28, 30, 4));  // row 13 is not above the third
    EXPECT_EQ(px(28, 30, 9, 0), MakeScreenPixel(19, 23, 1));   // 4b = 36 < 38 and < 40
    EXPECT_EQ(px(26, 40, 9, 0), MakeScreenPixel(26, 40, 9));   // 4b = 36 = r + 10: not hair
    EXPECT_EQ(px(5, 4, 1, 0), MakeScreenPixel(0, 0, 1));
    // A brown pixel in the hair rows below the quarter is trousers, not hair.
    EXPECT_EQ(px(20, 10, 5, 12), MakeScreenPixel(21, 7, 2));
    // Skin (much blue) is left alone everywhere.
    EXPECT_EQ(px(28, 44, 20, 5), MakeScreenPixel(28, 44, 20));
    // Colours far out of range (a damaged record) saturate without overflowing.
    LookColours wild;
    wild.shirt = {INT32_MAX, INT32_MIN, 3};
    wild.pants = {INT32_MAX, INT32_MIN, INT32_MAX};
    wild.hair = {INT32_MIN, INT32_MAX, INT32_MIN};
    auto w = [&](int r, int g, int b, int row) {
        return CreatureImageSet::RecolourPixel(MakeScreenPixel(r, g, b), row, 40, wild, 128, key);
    };
    EXPECT_EQ(w(0, 20, 0, 30), MakeScreenPixel(31, 0, 31));
    EXPECT_EQ(w(20, 10, 5, 11), MakeScreenPixel(31, 0, 31));
    EXPECT_EQ(w(28, 30, 4, 12), MakeScreenPixel(0, 63, 1));
    // Then shaded: half light halves the recoloured parts.
    EXPECT_EQ(CreatureImageSet::RecolourPixel(MakeScreenPixel(20, 10, 5), 11, 40, c, 64, key),
              MakeScreenPixel(10, 3, 1));
}

TEST(CreatureDrawing, FormsBuildTheFrameInTheWorkImageAndDrawItAtTheHotSpot) {
    TestFolder dir("forms");
    // A 4 x 12 frame: row 0 hair, row 6 trousers, row 9 shirt, the rest
    // see-through but for one skin pixel.
    Cells picture(4, 12, {0});
    picture.Paint = [](CDIBitmap& bm) {
        bm.FillRect(0, 0, 4, 1, looks_test::kHair);
        bm.FillRect(0, 6, 4, 7, looks_test::kBrown);
        bm.FillRect(0, 9, 4, 10, looks_test::kGreen);
        bm.SetPixel(2, 3, looks_test::kSkin);
    };
    dir.Bitmap("h.bmp", picture);
    CreatureImageSet set;
    ASSERT_EQ(set.ParseIn("H", "1 100 1 4 12 2 11 STOP 0 0 1 1 0 h.bmp ", dir.Path()), 1);
    int32_t action = ImageAction::STOP, facing = 0, step = 0;
    CDDObject* image = set.GetFrame(&action, &facing, &step);
    ASSERT_NE(image, nullptr);
    LookColours c;
    c.shirt = {1, 0, 1};
    c.pants = {1, -3, -3};
    c.hair = {-9, -7, -9};
    ASSERT_EQ(set.DrawRecoloured(image, 128, c), 1);
    const qv::Surface& work = CreatureImageSet::WorkImage();
    const uint16_t key = CreatureImageSet::WorkKey();
    EXPECT_EQ(CreatureImageSet::WorkWidth(), 4);
    EXPECT_EQ(CreatureImageSet::WorkHeight(), 12);
    const looks_test::Parts hair = looks_test::PartsOf(looks_test::kHair);
    const looks_test::Parts brown = looks_test::PartsOf(looks_test::kBrown);
    const looks_test::Parts green = looks_test::PartsOf(looks_test::kGreen);
    EXPECT_EQ(work.GetPixel(1, 0), MakeScreenPixel(hair.r - 9, hair.g - 7, 1));
    EXPECT_EQ(work.GetPixel(1, 6), MakeScreenPixel(brown.r + 1, brown.g - 3, brown.b - 3));
    EXPECT_EQ(work.GetPixel(1, 9), MakeScreenPixel(green.g, 0, green.g));
    EXPECT_EQ(work.GetPixel(2, 3), IndexPixel(looks_test::kSkin));
    EXPECT_EQ(work.GetPixel(0, 3), key);

    // Shaded at half light.
    ASSERT_EQ(set.DrawShaded(image, 64), 1);
    EXPECT_EQ(work.GetPixel(1, 9), MakeScreenPixel(0, green.g / 2, 0));

    // Drawn with the hot spot (2, 11) on the screen point (10, 20): the frame's
    // top-left lands on (8, 9); see-through pixels leave the ground.
    qv::Surface screen(40, 40);
    const uint16_t ground = MakeScreenPixel(10, 20, 10);
    screen.Fill(ground);
    ASSERT_EQ(set.DrawWorkImage(&screen, {10, 20}, screen.Bounds(), image, 0), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(9, 18), MakeScreenPixel(0, green.g / 2, 0));
    EXPECT_EQ(screen.GetPixel(8, 12), ground);
    EXPECT_EQ(screen.GetPixel(10, 12), work.GetPixel(2, 3));
    EXPECT_EQ(screen.GetPixel(7, 18), ground);

    // See-through: the mean of figure and ground, part by part.
    screen.Fill(ground);
    ASSERT_EQ(set.DrawShaded(image, 128), 1);
    ASSERT_EQ(set.DrawInvisible(&screen, {10, 20}, screen.Bounds(), image, 0), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(9, 18), MakeScreenPixel(5, (green.g + 20) / 2, 5));
    EXPECT_EQ(screen.GetPixel(8, 12), ground);

    // A mark colour outlines the figure: the pixel left of the skin pixel.
    screen.Fill(ground);
    ASSERT_EQ(set.DrawShaded(image, 128), 1);
    ASSERT_EQ(set.DrawWorkImage(&screen, {10, 20}, screen.Bounds(), image, 166), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(9, 12), PaletteIndexToPixel(166));
    EXPECT_EQ(screen.GetPixel(10, 12), IndexPixel(looks_test::kSkin));
    EXPECT_EQ(screen.GetPixel(8, 13), ground);  // diagonal: not part of the outline

    // Clipped to the view: nothing lands outside it.
    screen.Fill(ground);
    ASSERT_EQ(set.DrawShaded(image, 128), 1);
    ASSERT_EQ(set.DrawWorkImage(&screen, {10, 20}, {0, 0, 9, 40}, image, 0), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(8, 18), MakeScreenPixel(0, green.g, 0));
    EXPECT_EQ(screen.GetPixel(9, 18), ground);
}

TEST(CreatureDrawing, TheGhostlyFormDropsSomePixelsAndPalesTheRest) {
    TestFolder dir("ghost");
    Cells picture(20, 20, {looks_test::kBrown});
    dir.Bitmap("g.bmp", picture);
    CreatureImageSet set;
    ASSERT_EQ(set.ParseIn("G", "0 100 1 20 20 10 19 STOP 0 0 1 1 0 g.bmp ", dir.Path()), 1);
    int32_t action = ImageAction::STOP, facing = 0, step = 0;
    CDDObject* image = set.GetFrame(&action, &facing, &step);
    ASSERT_EQ(set.DrawShaded(image, 128), 1);
    ASSERT_EQ(set.DrawEthereal(), 1);
    const looks_test::Parts b = looks_test::PartsOf(looks_test::kBrown);
    const uint16_t pale = MakeScreenPixel((b.r + 24) / 2, (b.g + 56) / 2, (b.b + 31) / 2);
    int dropped = 0, paled = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const uint16_t p = CreatureImageSet::WorkImage().GetPixel(x, y);
            if (p == CreatureImageSet::WorkKey())
                ++dropped;
            else if (p == pale)
                ++paled;
        }
    EXPECT_EQ(dropped + paled, 400);
    EXPECT_GT(dropped, 80);  // about one in three of 400
    EXPECT_LT(dropped, 190);
}

TEST(CreatureImageSet, MangledSectionsAreReadOrRefusedWithOneMessage) {
    TestFolder dir("mangled");
    dir.Bitmap("a.bmp", Cells(6, 6, {1, 2, 3, 4, 5, 6, 7, 8}));
    dir.Bitmap("b.bmp", Cells(6, 6, {9, 10, 11}));
    for (int n = 1; n <= 4; ++n) dir.Bitmap("n\\" + NumberedFrameName("n", n), Cells(6, 6, {n}));
    const std::vector<std::string> good = {
        "1",   "90",  "2.5",  "6",       "6",       "3",    "5",   "MOVE", "0",
        "8",   "1",   "400",  "a.bmp",   "ATTACK1", "1",    "1",   "3",    "300",
        "6",   "6",   "3",    "5",       "b.bmp",   "DEAD", "2",   "4",    "1",
        "100", "6",   "6",    "3",       "5",       "n",    "RUN", "3",    "8",
        "1",   "100", "MOVE", "WOUNDED", "0",       "1",    "3",   "90",   "b.bmp"};
    const char* swaps[] = {"-1", "0", "99999999", "x", "8", "3", "2.5", "MOVE", "a.bmp", ""};
    uint32_t seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    int read = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> tokens = good;
        const int changes = 1 + static_cast<int>(next() % 3);
        for (int c = 0; c < changes; ++c) {
            const size_t at = next() % tokens.size();
            if (next() % 4 == 0)
                tokens.resize(at);  // cut short
            else
                tokens[at] = swaps[next() % (sizeof swaps / sizeof *swaps)];
            if (tokens.empty()) break;
        }
        std::string text;
        for (const std::string& t : tokens) text += t + " ";
        CreatureImageSet set;
        qv::ScriptedMessages messages;
        if (set.ParseIn("M", text, dir.Path())) {
            ++read;
            EXPECT_TRUE(messages.shown.empty()) << text;
            // Whatever was read draws only frames that exist.
            for (int32_t action = 0; action < ImageAction::Count; ++action)
                for (int32_t facing = 0; facing < 8; ++facing) {
                    int32_t step = 5;
                    if (CDDObject* image = set.GetFrame(&action, &facing, &step)) {
                        EXPECT_LT(image->m_iWhichSurf, image->m_iSurfaceCnt);
                    }
                }
        } else {
            ++refused;
            EXPECT_EQ(messages.shown.size(), 1u) << text;
            EXPECT_EQ(set.IsNamed("M"), 0);
        }
    }
    EXPECT_GT(read, 10);
    EXPECT_GT(refused, 100);
}

// Each cell a section asks of a picture lies within it (cells left to right,
// then down), and all the frames of a look together have at most 8388608
// pixels: a few bytes of a section may otherwise ask for gigabytes of frames.
// A refusal names the file and the section and leaves the set as it was.
TEST(CreatureImageSet, EveryCellLiesInItsPictureAndALooksFramesAreBounded) {
    TestFolder dir("cells");
    dir.Bitmap("row8.bmp", Cells(8, 8, {1, 2, 3, 4, 5, 6, 7, 8}));  // 64 x 8
    dir.Bitmap("row7.bmp", Cells(8, 8, {1, 2, 3, 4, 5, 6, 7}));     // 56 x 8
    dir.Bitmap("grid.bmp", Cells(8, 16, {1, 2, 3, 4}));  // 32 x 16: two rows of four cells
    dir.Bitmap("band.bmp", Cells(8, 8, {1, 2, 3, 4}));   // 32 x 8: one row of four
    dir.Bitmap("thin.bmp", Cells(6, 8, {1}));            // narrower than a cell
    dir.Bitmap("dot.bmp", Cells(1, 1, {9}));
    // A step of eight facings of 128 x 128: 64 steps of it are 512 frames of
    // 16384 pixels, 8388608 in all.
    dir.Bitmap("big.bmp", Cells(128, 128, {1, 2, 3, 4, 5, 6, 7, 8}));
    // Pictures of 4194304, 4194304, 4192256 and 2047 pixels.
    for (const char* name : {"huge1.bmp", "huge2.bmp"}) dir.Bitmap(name, Cells(2048, 2048, {1}));
    dir.Bitmap("huge3.bmp", Cells(2048, 2047, {1}));
    dir.Bitmap("odd.bmp", Cells(89, 23, {1}));
    const std::string beyond = "the pictures of the look reach 8388609 pixels with " + dir.Path() +
                               "dot.bmp, more than 8388608";
    const std::string huge = "0 1 1 8 8 0 0 WOUNDED 0 1 64 100 huge1.bmp DEAD 1 1 64 100 8 8 0 0 ";
    std::string steps64, small64;
    for (int s = 0; s < 64; ++s) {
        steps64 += " big.bmp";
        small64 += " row8.bmp";
    }
    struct Row {
        const char* rule;
        std::string text;
        const char* says;  // null: read
    };
    const Row rows[] = {
        {"a file of the eight cells asked", "0 1 1 8 8 0 0 MOVE 0 8 1 100 row8.bmp", nullptr},
        {"a file a cell short", "0 1 1 8 8 0 0 MOVE 0 8 1 100 row7.bmp",
         "row7.bmp: a picture of 56 x 8 pixels holds fewer cells of 8 x 8 than the 8 asked"},
        {"cells go on in the next row", "0 1 1 8 8 0 0 DEAD 1 1 8 100 8 8 0 0 grid.bmp", nullptr},
        {"the next row missing", "0 1 1 8 8 0 0 DEAD 1 1 8 100 8 8 0 0 band.bmp",
         "a picture of 32 x 8 pixels holds fewer cells of 8 x 8 than the 8 asked"},
        {"a picture narrower than its cell", "0 1 1 8 8 0 0 WOUNDED 0 1 1 100 thin.bmp",
         "a picture of 6 x 8 pixels holds fewer cells of 8 x 8 than the 1 asked"},
        {"frames of 320 x 240 from a small picture", "0 1 1 320 240 0 0 MOVE 0 8 1 100 row8.bmp",
         "a picture of 64 x 8 pixels holds fewer cells of 320 x 240 than the 8 asked"},
        {"the report's 512 frames of 320 x 240 an action",
         "0 1 1 320 240 0 0 MOVE 0 8 64 100" + small64,
         "the frames of the look reach 39321600 pixels with MOVE, more than 8388608"},
        {"a look's frames at the bound", "0 1 1 128 128 0 0 MOVE 0 8 64 100" + steps64, nullptr},
        {"an action given again counts once",
         "0 1 1 128 128 0 0 MOVE 0 8 1 100 big.bmp MOVE 0 8 64 100" + steps64, nullptr},
        {"a pixel beyond the bound",
         "0 1 1 128 128 0 0 ATTACK1 1 1 1 100 1 1 0 0 dot.bmp MOVE 0 8 64 100" + steps64,
         "the frames of the look reach 8388609 pixels with MOVE, more than 8388608"},
        {"the pictures of a look at the bound", huge + "huge2.bmp", nullptr},
        {"a picture's pixel short of the bound", huge + "huge3.bmp ATTACK1 0 1 1 1 odd.bmp",
         nullptr},
        {"a picture's pixel beyond the bound", huge + "huge2.bmp ATTACK1 1 1 1 1 1 1 0 0 dot.bmp",
         beyond.c_str()},
        {"a picture named again counts once", huge + "huge1.bmp ATTACK1 1 1 64 1 8 8 0 0 huge2.bmp",
         nullptr},
        {"a picture named again is still bounded by its use",
         huge + "huge2.bmp CAST 0 1 1 1 huge1.bmp",
         "huge1.bmp: a picture of 2048 x 2048 pixels, more than the 76800 its use can take"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CreatureImageSet set;
        ASSERT_EQ(set.ParseIn("Old", "1 7 2.0 8 8 1 1 MOVE 0 8 1 100 row8.bmp ", dir.Path()), 1);
        qv::ScriptedMessages messages;
        const int read = set.ParseIn("Look", r.text + " ", dir.Path());
        if (!r.says) {
            EXPECT_EQ(read, 1);
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(set.IsNamed("Look"), 1);
            continue;
        }
        EXPECT_EQ(read, 0);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].find("PlayerImages.dat, section \"Look\": "), std::string::npos)
            << messages.shown[0];
        EXPECT_NE(messages.shown[0].find(r.says), std::string::npos) << messages.shown[0];
        EXPECT_EQ(set.IsNamed("Old"), 1);
        EXPECT_EQ(Shown(set, ImageAction::MOVE, 3, 0), 4);
    }
}
