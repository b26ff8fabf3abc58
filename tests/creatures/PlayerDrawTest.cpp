// A creature's animation and picture: frames stepping with its walk, actions
// driven by ANIMATE events, taking a look from the look file, and what Draw
// puts on the screen.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "creatures/PlayerImagesTestSupport.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "world/World.h"

using looks_test::Cells;
using looks_test::IndexPixel;
using looks_test::TestFolder;
using E = ObjectEventType;

namespace {

// A species with a look of its own, kept as its class's look is, and the
// colours of a human.
class Looked : public Player {
public:
    static inline std::unique_ptr<CreatureImageSet> s_pLook;
    CreatureImageSet* GetClassImages() override { return s_pLook.get(); }
    void SetClassImages(CreatureImageSet* set) override {
        if (set && set != s_pLook.get()) s_pLook.reset(set);
    }
    PlayerType GetPlayerType() override { return type; }
    int GetLookColours(LookColours* out) override {
        *out = colours;
        return 1;
    }
    int HandleThinkEvent(int32_t time, MapMaster*) override {
        thoughts.push_back(time);
        return 1;
    }
    PlayerType type = 0;
    LookColours colours;
    std::vector<int32_t> thoughts;
};

// The look "Bug" in a game folder: MOVE 4 steps, ATTACK1 3 steps over 600,
// STOP one step after a pause of 250, DEAD 2 steps, a flash of 2 frames, all
// 8 x 10 frames with the hot spot (4, 9) in one colour per action.
struct BugWorld {
    TestFolder dir{"bugworld"};
    CMainFrame frame;
    BugWorld() {
        frame.m_Play.Saves().SetGameFolder(dir.Path());
        dir.Bitmap("Images\\walk.bmp", Cells(8, 10, {10, 11, 12, 13}));
        dir.Bitmap("Images\\hit.bmp", Cells(8, 10, {20, 21, 22}));
        dir.Bitmap("Images\\rest.bmp", Cells(8, 10, {30}));
        dir.Bitmap("Images\\fall.bmp", Cells(8, 10, {40, 41}));
        dir.Bitmap("Images\\flash.bmp", Cells(8, 10, {50, 51}));
        std::ofstream(dir.Path() + "Images/PlayerImages.dat")
            << "NODE Other\n1 1 1\nEND\n"
               "NODE Bug\n"
               "0 120 1.5\n8 10\n4 9\n"
               "MOVE 1 1 4 400 8 10 4 9 walk.bmp\n"
               "ATTACK1 0 1 3 600 hit.bmp hit.bmp hit.bmp\n"
               "STOP 250 0 1 1 100 rest.bmp\n"
               "DEAD 1 1 2 800 8 10 4 9 fall.bmp\n"
               "WOUNDED 0 1 2 100 flash.bmp\n"
               "END\n"
               "NODE Human\n"
               "1 100 2\n8 10\n4 9\n"
               "STOP 0 0 1 1 100 rest.bmp\n"
               "END\n";
    }
    ~BugWorld() { Looked::s_pLook.reset(); }
};

std::vector<int32_t> AnimateTimes(Player& p) {
    std::vector<int32_t> times;
    for (int32_t i = 0; i < p.Events().Count(); ++i)
        if (p.Events().At(i).m_iType == E::ANIMATE) times.push_back(p.Events().At(i).m_iTime);
    return times;
}

}  // namespace

TEST(PlayerLook, LoadImagesReadsTheSectionOnceAndTakesItsSpeed) {
    BugWorld world;
    Looked a;
    EXPECT_EQ(a.LoadImages("Nothing"), 0);
    EXPECT_EQ(a.GetClassImages(), nullptr);
    ASSERT_EQ(a.LoadImages("Bug"), 1);
    CreatureImageSet* set = a.GetClassImages();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->IsNamed("Bug"), 1);
    EXPECT_EQ(a.m_iSpeed, 120);
    EXPECT_DOUBLE_EQ(a.m_dHasteFactor, 1.5);
    // Its picture is now the look's, for the action it shows.
    EXPECT_EQ(a.m_iAction, ImageAction::STOP);
    EXPECT_EQ(a.GetImage(), set->Image(ImageAction::STOP));
    a.m_iAction = ImageAction::ATTACK1;
    EXPECT_EQ(a.GetImage(), set->Image(ImageAction::ATTACK1));
    // A second creature of the class shares the look; an empty name means it.
    Looked b;
    ASSERT_EQ(b.LoadImages("Bug"), 1);
    EXPECT_EQ(b.GetClassImages(), set);
    EXPECT_EQ(b.m_iSpeed, 120);
    b.m_iSpeed = 5;
    ASSERT_EQ(b.LoadImages(""), 1);
    EXPECT_EQ(b.GetClassImages(), set);
    EXPECT_EQ(b.m_iSpeed, 120);
    // A plain creature keeps no look of its own.
    Player plain;
    EXPECT_EQ(plain.LoadImages("Bug"), 0);
    // A broken section leaves the class's look as it was.
    {
        qv::ScriptedMessages messages;
        EXPECT_EQ(a.LoadImages("Other"), 0);
        EXPECT_EQ(messages.shown.size(), 1u);
    }
    EXPECT_EQ(a.GetClassImages(), set);
    EXPECT_EQ(set->IsNamed("Bug"), 1);
    // Another section read into the class's look replaces its pictures; the
    // creature's picture follows them.
    ASSERT_EQ(a.LoadImages("Human"), 1);
    EXPECT_EQ(a.GetClassImages(), set);
    EXPECT_EQ(set->IsNamed("Human"), 1);
    EXPECT_EQ(a.m_iSpeed, 100);
    EXPECT_EQ(a.GetImage(), set->Image(ImageAction::STOP));  // no ATTACK1 pictures now
    EXPECT_EQ(a.GetImage()->m_iSurfaceCnt, 1);
    EXPECT_EQ(b.GetImage(), set->Image(ImageAction::STOP));
    a.m_iAction = ImageAction::DEAD;
    EXPECT_EQ(a.GetImage(), set->Image(ImageAction::STOP));
    EXPECT_EQ(plain.GetImage(), &Object::ClassImage());
}

TEST(PlayerLook, FramesAdvanceEveryThirdCallAndWrap) {
    BugWorld world;
    Looked p;
    ASSERT_EQ(p.LoadImages("Bug"), 1);
    p.m_iAction = ImageAction::MOVE;
    p.m_iFrame = 0;
    int result = -1;
    for (int i = 1; i <= 6; ++i) result = p.AdvanceFrame();
    EXPECT_EQ(p.m_iFrame, 2);
    EXPECT_EQ(result, 3);  // the action's frame count less one
    for (int i = 1; i <= 6; ++i) p.AdvanceFrame();
    EXPECT_EQ(p.m_iFrame, 0);  // 4 wraps to 0
    EXPECT_EQ(p.m_iStepCount, 0);
    p.AdvanceFrame();
    EXPECT_EQ(p.m_iStepCount, 1);

    // Without a look the column goes 0, 1, 0, 1 below the cycle limit.
    Player plain;
    std::vector<int> columns;
    for (int i = 1; i <= 12; ++i) {
        plain.AdvanceFrame();
        if (i % 3 == 0) columns.push_back(plain.m_iXImageNum);
    }
    EXPECT_EQ(columns, (std::vector<int>{1, 0, 1, 0}));
    plain.m_iXImageNum = 3;  // at the limit: it stays
    for (int i = 0; i < 3; ++i) plain.AdvanceFrame();
    EXPECT_EQ(plain.m_iXImageNum, 3);
}

TEST(PlayerLook, StartActionQueuesTheFirstAnimateAtTheFrameTime) {
    BugWorld world;
    Looked p;
    ASSERT_EQ(p.LoadImages("Bug"), 1);
    CreatureImageSet* set = p.GetClassImages();
    p.Events().Clear();
    const int32_t start = 1000;
    ASSERT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::ATTACK1, &start, nullptr), 1);
    EXPECT_EQ(p.m_iAction, ImageAction::ATTACK1);
    EXPECT_EQ(p.m_iFrame, 0);
    EXPECT_EQ(p.m_iFrameTime, 200);  // 600 / 3
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1200}));
    // A given duration: 900 / 3.
    p.Events().Clear();
    const int32_t duration = 900;
    ASSERT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::ATTACK1, &start, &duration), 1);
    EXPECT_EQ(p.m_iFrameTime, 300);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1300}));
    // STOP from time 0: the game time plus the stop pause.
    p.Events().Clear();
    world.frame.m_World.m_iGameTime = 5000;
    const int32_t zero = 0;
    ASSERT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::STOP, &zero, nullptr), 1);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{5250}));
    // No frames: nothing starts.
    p.Events().Clear();
    EXPECT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::CAST, &start, nullptr), 0);
    EXPECT_EQ(CreatureImageSet::StartAction(set, &p, 13, &start, nullptr), 0);
    EXPECT_EQ(p.m_iAction, ImageAction::STOP);
    EXPECT_EQ(p.Events().Count(), 0);
}

TEST(PlayerLook, AnActionRunsItsFramesThenThinksThenStands) {
    BugWorld world;
    Looked p;
    ASSERT_EQ(p.LoadImages("Bug"), 1);
    CreatureImageSet* set = p.GetClassImages();
    p.Events().Clear();
    p.Update(900, nullptr);  // starts its clocks; the empty queue makes it stand
    EXPECT_EQ(p.m_iAction, ImageAction::STOP);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1150}));
    p.Events().Clear();
    const int32_t start = 1000;
    ASSERT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::ATTACK1, &start, nullptr), 1);
    p.Update(1200, nullptr);  // an event at the turn's own time waits
    EXPECT_EQ(p.m_iFrame, 0);
    p.Update(1201, nullptr);
    EXPECT_EQ(p.m_iFrame, 1);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1400}));
    p.Update(1401, nullptr);
    EXPECT_EQ(p.m_iFrame, 2);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1600}));
    EXPECT_TRUE(p.thoughts.empty());
    // After the last frame it thinks at the event's time; with nothing else
    // queued it then stands, its next ANIMATE after the stop pause.
    p.Update(1601, nullptr);
    EXPECT_EQ(p.thoughts, (std::vector<int32_t>{1600}));
    EXPECT_EQ(p.m_iAction, ImageAction::STOP);
    EXPECT_EQ(AnimateTimes(p), (std::vector<int32_t>{1601 + 250}));

    // Walking frames ignore ANIMATE events.
    p.Events().Clear();
    p.m_iAction = ImageAction::MOVE;
    p.m_iFrame = 1;
    p.Events().Post(E::ANIMATE, 2000);
    p.Events().Post(E::MOVE, 5000);
    p.Update(2001, nullptr);
    EXPECT_EQ(p.m_iFrame, 1);
    EXPECT_TRUE(AnimateTimes(p).empty());

    // A creature that is down shows its fall to the last frame and stays.
    p.Events().Clear();
    p.m_sLifeState = 0;
    const int32_t fall = 3000;
    ASSERT_EQ(CreatureImageSet::StartAction(set, &p, ImageAction::DEAD, &fall, nullptr), 1);
    p.Update(3401, nullptr);
    EXPECT_EQ(p.m_iFrame, 1);
    p.Update(3801, nullptr);
    EXPECT_EQ(p.m_iFrame, 1);
    EXPECT_EQ(p.thoughts.size(), 1u);
}

namespace {

// A 60 x 60 screen of plain ground and a creature of the look "Bug" standing
// at (30, 40) with 45 hit points in full light.
struct DrawScene {
    BugWorld world;
    qv::Surface screen{60, 60};
    uint16_t ground = MakeScreenPixel(3, 6, 3);
    Looked bug;
    qv::Point at{30, 40};
    DrawScene() {
        EXPECT_EQ(bug.LoadImages("Bug"), 1);
        bug.m_iAction = ImageAction::STOP;
        bug.m_iFrame = 0;
        bug.m_iHitPoints = 45;
        screen.Fill(ground);
    }
    void Draw(int flags = 0) {
        screen.Fill(ground);
        bug.Draw(&screen, at, screen.Bounds(), Position(0, 0, 0), flags);
    }
    // The figure's pixel at frame column 3, row 5 and the pixel just left of
    // the frame (where a mark outlines nothing: the frame is solid).
    uint16_t Body() const { return screen.GetPixel(at.x - 4 + 3, at.y - 9 + 5); }
};

}  // namespace

TEST(PlayerDraw, TheLookIsShadedByTheLightAtTheCreatureWhichIsThenForgotten) {
    DrawScene s;
    s.bug.m_iDrawLight = 64;
    s.Draw();
    const looks_test::Parts c = looks_test::PartsOf(30);
    EXPECT_EQ(s.Body(), MakeScreenPixel(c.r / 2, c.g / 2, c.b / 2));
    EXPECT_EQ(s.bug.m_iDrawLight, -1);
    EXPECT_EQ(s.bug.m_bNotDrawn, 0);
    // Unset, the map's light stands in: full light without a map.
    s.Draw();
    EXPECT_EQ(s.Body(), IndexPixel(30));
    // Frames past the action's last show the last; no frame, no picture.
    s.bug.m_iAction = ImageAction::DEAD;
    s.bug.m_iFrame = 7;
    s.Draw();
    EXPECT_EQ(s.Body(), IndexPixel(41));
    EXPECT_EQ(s.bug.m_iFrame, 1);
    s.bug.m_iAction = ImageAction::CAST;
    s.Draw();
    EXPECT_EQ(s.Body(), s.ground);
    EXPECT_EQ(s.bug.m_bNotDrawn, 1);
    s.bug.m_iAction = 99;  // from a damaged record
    s.Draw();
    EXPECT_EQ(s.Body(), s.ground);
    // An inactive creature is not drawn.
    s.bug.m_iAction = ImageAction::STOP;
    s.bug.m_bInactive = 1;
    s.Draw();
    EXPECT_EQ(s.Body(), s.ground);
}

TEST(PlayerDraw, TheHitPointBarAtEachBandEdge) {
    struct Band {
        int32_t hp;
        int width;
        int colour;
    };
    const Band bands[] = {{1, 1, 1},    {20, 20, 1}, {21, 1, 3},  {40, 20, 3}, {41, 1, 4},
                          {45, 5, 4},   {60, 20, 4}, {61, 1, 5},  {80, 20, 5}, {81, 1, 6},
                          {100, 20, 6}, {101, 1, 1}, {140, 20, 1}};
    for (const Band& b : bands) {
        EXPECT_EQ(Player::HitPointBarColour(b.hp), b.colour) << b.hp;
        // A picture 8 wide whose top-left is (26, 31): middle 30, bar from 20.
        const qv::Rect r = Player::HitPointBarRect(b.hp, {26, 31}, 8);
        EXPECT_EQ(r.left, 20);
        EXPECT_EQ(r.right, 20 + b.width) << b.hp;
        EXPECT_EQ(r.top, 25);
        EXPECT_EQ(r.bottom, 30);
    }
    // On the screen: 45 points, 5 pixels of colour 4 in rows 25 to 29.
    DrawScene s;
    s.Draw();
    const uint16_t bar = PaletteIndexToPixel(4);
    for (int x = 18; x < 28; ++x)
        for (int y = 23; y < 32; ++y) {
            const bool in = x >= 20 && x < 25 && y >= 25 && y < 30;
            EXPECT_EQ(s.screen.GetPixel(x, y) == bar, in) << x << "," << y;
        }
    // A lost screen is restored and the bar drawn all the same.
    s.screen.Fill(s.ground);
    s.screen.MarkLost();
    s.bug.Draw(&s.screen, s.at, s.screen.Bounds(), Position(0, 0, 0), 0);
    EXPECT_FALSE(s.screen.IsLost());
    EXPECT_EQ(s.screen.GetPixel(22, 27), bar);
    // No bar without hit points.
    s.bug.m_iHitPoints = 0;
    s.Draw();
    EXPECT_NE(s.screen.GetPixel(20, 25), bar);
}

TEST(PlayerDraw, TheLowestPartyMemberAttackingMarksTheCreature) {
    DrawScene s;
    World& f = s.world.frame.m_World;
    Player leader, second, third, foe;
    f.m_pControlPlayer = &leader;
    f.m_Party[0] = &leader;
    f.m_Party[1] = &second;
    f.m_Party[2] = &third;
    second.m_pTarget = &s.bug;
    third.m_pTarget = &s.bug;
    // Only while the controlled member has opponents.
    EXPECT_EQ(s.bug.TargetMarkColour(), 0);
    leader.m_Opponents.emplace_back(&foe);
    EXPECT_EQ(s.bug.TargetMarkColour(), 38);  // member 2 before member 3
    second.m_pTarget = nullptr;
    EXPECT_EQ(s.bug.TargetMarkColour(), 2);
    leader.m_pTarget = &s.bug;
    EXPECT_EQ(s.bug.TargetMarkColour(), 166);
    f.m_Party[3] = &foe;
    leader.m_pTarget = nullptr;
    third.m_pTarget = nullptr;
    foe.m_pTarget = &s.bug;
    EXPECT_EQ(s.bug.TargetMarkColour(), 103);
    // The mark outlines the figure; under the cursor the outline is white.
    s.Draw();
    EXPECT_EQ(s.screen.GetPixel(s.at.x - 5, s.at.y - 4), s.ground);  // outside the frame
    s.Draw(4);
    EXPECT_EQ(s.Body(), IndexPixel(30));
}

TEST(PlayerDraw, InvisibleGhostlyRecolouredAndFlashing) {
    DrawScene s;
    Player foe;
    // Invisible and in a fight: not drawn, unless invisible things are shown.
    s.bug.m_bInvisible = 1;
    s.bug.m_Opponents.emplace_back(&foe);
    s.Draw();
    EXPECT_EQ(s.Body(), s.ground);
    EXPECT_EQ(s.bug.m_bNotDrawn, 1);
    s.world.frame.m_World.m_bDebugView = 1;
    s.Draw();
    const looks_test::Parts c = looks_test::PartsOf(30);
    const uint16_t mean =
        MakeScreenPixel((c.r >> 1) + (3 >> 1), (c.g >> 1) + (6 >> 1), (c.b >> 1) + (3 >> 1));
    EXPECT_EQ(s.Body(), mean);
    // Out of a fight it is drawn see-through anyway; a ghost is hidden.
    s.world.frame.m_World.m_bDebugView = 0;
    s.bug.m_Opponents.clear();
    s.Draw();
    EXPECT_EQ(s.Body(), mean);
    s.bug.m_bGhost = 1;
    s.Draw();
    EXPECT_EQ(s.Body(), s.ground);
    s.bug.m_bGhost = 0;
    s.bug.m_bInvisible = 0;

    // Ethereal: every pixel of the figure is dropped or paled.
    s.bug.m_bEthereal = 1;
    s.Draw();
    const uint16_t pale = MakeScreenPixel((c.r + 24) / 2, (c.g + 56) / 2, (c.b + 31) / 2);
    EXPECT_TRUE(s.Body() == pale || s.Body() == s.ground);
    s.bug.m_bEthereal = 0;

    // The hit flash shows for three drawings, then ends.
    s.bug.m_iFlashFrame = 1;
    s.bug.m_iHitPoints = 0;  // no bar over the flash
    for (int i = 1; i <= 3; ++i) {
        s.Draw();
        int flash = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) flash += s.screen.GetPixel(x, y) == IndexPixel(51);
        EXPECT_EQ(flash, 8 * 10) << i;
        EXPECT_EQ(s.bug.m_iFlashCount, i % 3);
    }
    EXPECT_EQ(s.bug.m_iFlashFrame, 0);
}

TEST(PlayerDraw, AHumanIsDrawnWithItsOwnColoursWhenItsLookIsRecoloured) {
    BugWorld world;
    // rest.bmp is index 30: parts (30, 30, 0), which is hair in the top third.
    Looked human;
    human.type = 10;
    human.colours.hair = {-9, -7, -9};
    ASSERT_EQ(human.LoadImages("Human"), 1);
    qv::Surface screen(20, 20);
    human.Draw(&screen, {10, 15}, screen.Bounds(), Position(0, 0, 0), 0);
    EXPECT_EQ(screen.GetPixel(7, 6), MakeScreenPixel(21, 23, 1));  // row 0 of the frame
    EXPECT_EQ(screen.GetPixel(7, 10), IndexPixel(30));             // row 4: below the third
    // Not a human: shaded only.
    human.type = 0;
    screen.Fill(0);
    human.Draw(&screen, {10, 15}, screen.Bounds(), Position(0, 0, 0), 0);
    EXPECT_EQ(screen.GetPixel(7, 6), IndexPixel(30));
}
