// A frame drawn headless over a small world: objects back to front, the map's
// light on them, the name under the cursor and the mini-map's focus mark,
// read back pixel by pixel from the frame's drawing surface.

#include "../world/MapFixture.h"
#include "LoopFixture.h"
#include "items/Magic.h"
#include "media/DIBitmap.h"
#include "structures/Walls.h"

using namespace looptest;

namespace {

// 5-6-5 pixels of the test pictures' colours (see MapFixture.h): full red,
// red at half brightness (31 * 32 >> 6 = 15), and the two blues.
constexpr uint16_t kRed = 31 << 11;
constexpr uint16_t kHalfRed = 15 << 11;
constexpr uint16_t kBlue2 = 2;

// A placed thing with a picture of the test's own, whose light levels are
// the picture's.
class Thing : public Object {
public:
    Thing(CDDObject* image, int collision, const std::string& name) : Object(name) {
        m_image = image;
        m_iLightSampling = collision;
        m_pClassDDImage = image;
    }
    ~Thing() override { m_pDDImage = m_pClassDDImage = &Object::ClassImage(); }
    CDDObject* GetImage() override { return m_image; }
    int CanInteract() override { return 1; }
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override {
        ++m_draws;
        return Object::Draw(surface, screen, view, pos, flags);
    }
    CDDObject* m_image;
    int m_draws = 0;
};

class DrawFrame : public LoopFixture {
protected:
    DrawFrame() {
        frame->m_ptCursor = {600, 450};  // off the view: nothing hovered
        Start();
        focus = Position(frame->m_World.m_ptFocus.x, frame->m_World.m_ptFocus.y, 0);
    }
    // Places a thing (the map owns it from here).
    ObjectHolder* Place(CDDObject* image, Position pos, int collision = 2,
                        const std::string& name = "Thing") {
        auto* thing = new Thing(image, collision, name);
        auto* holder = new ObjectHolder(pos, thing);
        EXPECT_EQ(map->AddHolder(pos, holder), 1);
        return holder;
    }
    // A 20 x 20 picture of one palette index, hot spot in its middle.
    std::unique_ptr<CDDObject> Square(uint8_t index) {
        return maptest::MakeImage(20, 20, 10, 10, [index](int, int) { return index; });
    }
    // A post 20 wide and 100 tall standing on its foot (the hot spot 5
    // above its bottom); its footprint on the ground is the same box.
    std::unique_ptr<CDDObject> Post(uint8_t index) {
        return maptest::MakeImage(20, 100, 10, 95, [index](int, int) { return index; });
    }
    // The drawing surface's pixel at a client point.
    uint16_t Pixel(int x, int y) const { return frame->m_pDrawSurface->GetPixel(x, y); }

    // Where the focus is drawn: the view's origin plus its centre.
    static constexpr int kCx = 3 + 268, kCy = 3 + 179;
    Position focus;
};

TEST_F(DrawFrame, ObjectsInFrontAreDrawnOverThoseBehindWhateverTheOrderTheyCame) {
    auto red = Post(maptest::kSolid);
    auto blue = Post(maptest::kDeck);
    // The blue post stands 70 east and 70 south, in front: on the screen
    // straight below the red one, its top over the red one's foot. It is
    // placed first.
    Place(blue.get(), Position(focus.x + 70, focus.y + 70, 0));
    Place(red.get(), focus);
    Ticks(1);
    // The red post covers x 261..280, y 87..186 of the drawing surface; the
    // blue one y 157..256.
    EXPECT_EQ(Pixel(kCx, kCy - 60), kRed) << "red alone";
    EXPECT_EQ(Pixel(kCx, kCy + 40), kBlue2) << "blue alone";
    EXPECT_EQ(Pixel(kCx, kCy - 10), kBlue2) << "where they meet the one in front shows";
    EXPECT_EQ(Pixel(kCx + 25, kCy), 0) << "the empty floor stays black";
}

TEST_F(DrawFrame, AnObjectOverSeveralCellsIsDrawnOnceAfterWhatStandsBehindIt) {
    // A wide picture reaching into the next cell east, standing near the
    // east edge of the focus cell, and a small one behind it in that cell.
    auto wide = maptest::MakeImage(120, 20, 60, 10, [](int, int) { return maptest::kSolid; });
    auto small = Square(maptest::kDeck);
    const Position wideAt(focus.x + 60, focus.y + 40, 0);
    const Position smallAt(focus.x + 130, focus.y + 30, 0);
    ObjectHolder* wideHolder = Place(wide.get(), wideAt);
    Place(small.get(), smallAt);
    Ticks(1);
    // Listed in both cells, the wide one is drawn once a frame.
    auto* wideThing = static_cast<Thing*>(wideHolder->m_pObject);
    ASSERT_NE(wideHolder->m_Corners[0].column, wideHolder->m_Corners[3].column);
    EXPECT_EQ(wideThing->m_draws, 1);
    Ticks(2);
    EXPECT_EQ(wideThing->m_draws, 3);
    // Its picture reaches over the seam of the two cells on the screen.
    const int wx = kCx + 60 - 40, wy = kCy + 40;
    EXPECT_EQ(Pixel(wx - 55, wy), kRed);
    EXPECT_EQ(Pixel(wx + 55, wy), kRed);
    EXPECT_EQ(Pixel(kCx + 100, kCy + 22), kBlue2);
    EXPECT_EQ(wideHolder->m_bDrawn, 0) << "the drawn marks are cleared after the frame";
    EXPECT_TRUE(frame->m_View.m_DrawnHolders.empty());
}

TEST_F(DrawFrame, ThePictureTakesTheLightOfItsPlace) {
    // Three light levels: full, half and dark.
    auto lamp = std::make_unique<CDDObject>();
    lamp->Create(20, 20, 10, 10, nullptr, 1, 1);
    int levels = 3;
    lamp->SetFrameCount(levels);
    lamp->m_iNumLevels = levels;
    auto bitmap = std::make_shared<CDIBitmap>(20, 20);
    Palette palette{};
    palette[maptest::kSolid] = {255, 0, 0};
    bitmap->SetPalette(palette);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) bitmap->SetPixel(x, y, maptest::kSolid);
    for (int f = 0; f < levels; ++f) {
        lamp->SetFrameLevels(f, levels);
        lamp->SetFrameBitmap(f, bitmap);
    }
    lamp->Load();
    Place(lamp.get(), focus, 1);

    // Daylight 100: darkness 128 - 100 = 28, level 28 * 3 / 128 = 0.
    map->daylight = 100;
    Ticks(1);
    ASSERT_EQ(map->GetLightAt(focus), 28);
    EXPECT_EQ(Pixel(kCx, kCy), kRed);
    // Daylight 50: darkness 78, level 78 * 3 / 128 = 1, half bright.
    map->daylight = 50;
    Ticks(1);
    ASSERT_EQ(map->GetLightAt(focus), 78);
    EXPECT_EQ(Pixel(kCx, kCy), kHalfRed);
}

TEST_F(DrawFrame, TheNameUnderTheCursorIsFoundFrontToBackAndKeptInsideTheView) {
    auto red = Post(maptest::kSolid);
    auto blue = Post(maptest::kDeck);
    ObjectHolder* back = Place(red.get(), focus, 2, "Barrel");
    ObjectHolder* front = Place(blue.get(), Position(focus.x + 70, focus.y + 70, 0), 2, "Crate");
    // On the red one alone.
    frame->m_ptCursor = {kCx, kCy - 60};
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), back);
    EXPECT_EQ(frame->m_strMessageLine, "Barrel");
    // Where both are, the one in front is found first.
    frame->m_ptCursor = {kCx, kCy - 10};
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), front);
    EXPECT_EQ(frame->m_strMessageLine, "Crate");
    // Off both, on the empty floor, and then off the view.
    frame->m_ptCursor = {kCx + 100, kCy};
    Ticks(1);

    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
    EXPECT_EQ(frame->m_strMessageLine, "");
    frame->m_ptCursor = {600, 450};
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);

    // The hover name is drawn 15 above the cursor; near the right edge it
    // moves in so that its last letter ends one pixel inside the view.
    auto far = Square(maptest::kSolid);
    const Position edge(focus.x + 260, focus.y, 0);  // its picture ends at x 540
    ObjectHolder* right = Place(far.get(), edge, 2, "Lantern");
    frame->m_ptCursor = {kCx + 265, kCy};
    Ticks(1);
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), right);
    const int left = frame->m_View.m_rcView.right - 9 * 7 - 1;  // 7 letters
    bool ink = false;
    for (int y = kCy - 15; y < kCy + 1; ++y)
        for (int x = left; x < frame->m_View.m_rcView.right - 1; ++x) ink |= Pixel(x, y) == 0xFFFF;
    EXPECT_TRUE(ink) << "the name is drawn in white inside the view's right edge";
    frame->m_Play.Interacting().SetTabTarget(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), right) << "Tab picking keeps its own target";
}

// A pending use that accepts only things named "Chest".
class Key : public Object {
public:
    Key() : Object("Key") {}
    int IsValidTarget(Object* target) override { return target->GetDisplayName() == "Chest"; }
};

TEST_F(DrawFrame, WhilePickingATargetOnlyWhatThePendingUseTakesIsFound) {
    auto red = Post(maptest::kSolid);
    auto blue = Post(maptest::kDeck);
    ObjectHolder* barrel = Place(red.get(), focus, 2, "Barrel");
    ObjectHolder* chest = Place(blue.get(), Position(focus.x + 70, focus.y + 70, 0), 2, "Chest");
    Key key;
    frame->m_Play.Interacting().SetSelectMode(3);
    frame->m_Play.Interacting().SetPendingItem(&key);
    frame->m_ptCursor = {kCx, kCy - 60};  // the barrel alone
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
    EXPECT_EQ(frame->m_nCursorID, CMainFrame::kCursorNoTarget);
    frame->m_ptCursor = {kCx, kCy - 10};  // both: the chest is in front
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), chest);
    EXPECT_EQ(frame->m_nCursorID, CMainFrame::kCursorTarget);
    // Without a pending use every candidate counts again.
    frame->m_Play.Interacting().SetPendingItem(nullptr);
    frame->m_Play.Interacting().SetSelectMode(0);
    frame->m_ptCursor = {kCx, kCy - 60};
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), barrel);

    // Things left undrawn (the drawing marks them) are passed over, except
    // in the editor.
    frame->m_ptCursor = {600, 450};
    Ticks(1);
    static_cast<Thing*>(barrel->m_pObject)->m_bNotDrawn = 1;
    frame->m_ptCursor = {kCx, kCy - 60};
    frame->HoverText(frame->m_ptCursor.x, frame->m_ptCursor.y);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
    frame->m_Play.Editor().SetEditing(true);
    frame->HoverText(frame->m_ptCursor.x, frame->m_ptCursor.y);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), barrel);
}

TEST_F(DrawFrame, WallsAndThingsInFrontOfTheFocusAreSeeThrough) {
    FrontWall front;
    SideWall side;
    Peg peg;
    Object barrel;
    EXPECT_TRUE(CMapView::IsSeeThrough(-1, 1, &front));
    EXPECT_FALSE(CMapView::IsSeeThrough(-1, 2, &front));
    EXPECT_TRUE(CMapView::IsSeeThrough(1, 1, &peg));
    EXPECT_FALSE(CMapView::IsSeeThrough(-1, 1, &peg));
    EXPECT_TRUE(CMapView::IsSeeThrough(1, 0, &side));
    EXPECT_FALSE(CMapView::IsSeeThrough(0, 0, &side));
    EXPECT_TRUE(CMapView::IsSeeThrough(0, 0, &barrel));
    EXPECT_TRUE(CMapView::IsSeeThrough(-1, 2, &barrel));
    EXPECT_FALSE(CMapView::IsSeeThrough(-1, 0, &barrel));
    EXPECT_FALSE(CMapView::IsSeeThrough(0, -1, &barrel));
    EXPECT_FALSE(CMapView::IsSeeThrough(2, 1, &barrel));
}

TEST_F(DrawFrame, TheMiniMapShowsTheFocusCellInTheMarkColour) {
    Ticks(1);
    // The focus cell is window cell (25, 24): mini-map pixels (50..51, 48..49).
    CellPoint w;
    ASSERT_TRUE(map->CellToWindow(map->focuscell, w));
    ASSERT_EQ(w, (CellPoint{25, 24}));
    const qv::Point at{frame->m_View.m_ptMinimapOrigin.x + 50,
                       frame->m_View.m_ptMinimapOrigin.y + 48};
    const uint16_t mark = Pixel(at.x, at.y);
    EXPECT_EQ(Pixel(at.x + 1, at.y + 1), mark);
    // Unexplored cells far from the focus stay at colour 0.
    EXPECT_NE(Pixel(frame->m_View.m_ptMinimapOrigin.x + 2, frame->m_View.m_ptMinimapOrigin.y + 2),
              mark);
    // The map's own picture keeps the cell's own colour, not the mark.
    EXPECT_NE(map->GetMinimapPixel(50, 48), 255);
}

TEST_F(DrawFrame, AHoveredPartyMemberShowsItsHitPointsAlertnessAndMana) {
    auto picture = Post(maptest::kSolid);
    auto* member = new maptest::Pictured<Player>;
    member->image = picture.get();
    member->SetName("Tamsin");
    member->m_iHitPoints = 7;
    member->m_iMaxHitPoints = 12;
    member->m_iAlertness = 455;
    NewGroup()->AddMember(member);
    Position at = focus;
    auto* holder = new ObjectHolder(at, member);
    ASSERT_EQ(map->AddHolder(at, holder), 1);
    const qv::Point over{kCx + (holder->pos.x - focus.x) - (holder->pos.y - focus.y),
                         kCy + (holder->pos.y - focus.y) - 50};
    frame->m_ptCursor = over;
    Ticks(1);
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), holder);
    EXPECT_EQ(frame->m_strMessageLine, "Tamsin") << "not in the party: the name alone";

    // In the party: hit points, alertness in tenths, and mana once it has
    // magic. The text is made again when the hovered object changes.
    frame->m_World.m_Party[2] = member;
    frame->m_ptCursor = {600, 450};
    Ticks(1);
    frame->m_ptCursor = over;
    Ticks(1);
    EXPECT_EQ(frame->m_strMessageLine, "Tamsin\nHP: 7/12\nAlertness: 45");
    member->m_pMagic = std::make_unique<Magic>();
    member->m_pMagic->m_uMana = 3;
    member->m_pMagic->m_uMaxMana = 9;
    frame->m_ptCursor = {600, 450};
    Ticks(1);
    frame->m_ptCursor = over;
    Ticks(1);
    EXPECT_EQ(frame->m_strMessageLine, "Tamsin\nHP: 7/12\nAlertness: 45\nMANA: 3/9");
}

}  // namespace

namespace {

class Presenting : public LoopFixture {};

TEST_F(Presenting, InAWindowTheViewReachesThePrimarySurfaceAfterALoss) {
    auto red = maptest::MakeImage(20, 20, 10, 10, [](int, int) { return maptest::kSolid; });
    Start();
    struct Pictured : Object {
        CDDObject* image;
        CDDObject* GetImage() override { return image; }
    };
    auto* pictured = new Pictured;
    pictured->image = red.get();
    pictured->m_iLightSampling = 1;
    Position at(frame->m_World.m_ptFocus.x, frame->m_World.m_ptFocus.y, 0);
    ASSERT_EQ(map->AddHolder(at, new ObjectHolder(at, pictured)), 1);
    frame->m_ptCursor = {600, 450};
    frame->m_pPrimary->MarkLost();
    Ticks(1);
    EXPECT_FALSE(frame->m_pPrimary->IsLost()) << "restored and copied again";
    EXPECT_EQ(frame->m_pPrimary->GetPixel(271, 182), 31 << 11);
    // The window shows the same picture.
    const auto& shown = frame->m_pWindow->Picture();
    EXPECT_EQ(shown[static_cast<size_t>(182 * frame->m_pWindow->Width() + 271)], 31 << 11);
}

TEST_F(Presenting, FramesAreComposedOverTheScreenPicture) {
    Start();
    Ticks(2);
    const qv::Surface* picture = frame->m_pScreenImage->GetFrameSurface(0);
    ASSERT_NE(picture, nullptr);
    // Outside the view, the mini-map, the pause bar, the button and the
    // party panel in the lower right box the drawing surface and the window
    // show the furniture.
    for (qv::Point p : {qv::Point{1, 1}, qv::Point{600, 460}, qv::Point{100, 470}}) {
        EXPECT_EQ(frame->m_pDrawSurface->GetPixel(p.x, p.y), picture->GetPixel(p.x, p.y));
        const auto& shown = frame->m_pWindow->Picture();
        EXPECT_EQ(shown[static_cast<size_t>(p.y * frame->m_pWindow->Width() + p.x)],
                  picture->GetPixel(p.x, p.y));
    }
}

TEST_F(Presenting, PaintingPutsTheScreenBackExceptWhileAnAssertionShows) {
    Start();
    const qv::Surface* picture = frame->m_pScreenImage->GetFrameSurface(0);
    frame->m_pPrimary->FillRect({590, 390, 610, 410}, 0x1234);
    frame->m_bAssertShowing = 1;
    frame->OnPaint();
    EXPECT_EQ(frame->m_pPrimary->GetPixel(600, 400), 0x1234);
    frame->m_bAssertShowing = 0;
    frame->OnPaint();
    EXPECT_EQ(frame->m_pPrimary->GetPixel(600, 400), picture->GetPixel(600, 400));
    const auto& shown = frame->m_pWindow->Picture();
    EXPECT_EQ(shown[static_cast<size_t>(400 * frame->m_pWindow->Width() + 600)],
              picture->GetPixel(600, 400));
}

TEST_F(Presenting, InFullScreenEveryTickFlipsThePagesAndKeepsTheSidePanel) {
    frame->m_bWindowed = 0;
    ASSERT_EQ(frame->InitDirectDraw(0), 1);
    Start();
    // Mark the side panel on the page being drawn: the flip shows it, and it
    // is copied back onto the page drawn next.
    frame->m_pBackBuffer->FillRect({545, 7, 636, 360}, 0x1234);
    const int parity = frame->m_bFlipParity;
    Ticks(1);
    EXPECT_NE(frame->m_bFlipParity, parity);
    EXPECT_EQ(frame->m_pPrimary->GetPixel(600, 100), 0x1234);
    EXPECT_EQ(frame->m_pBackBuffer->GetPixel(600, 100), 0x1234);
    Ticks(1);
    EXPECT_EQ(frame->m_bFlipParity, parity);
    // A full redraw copies the whole front page back, once.
    frame->m_pPrimary->FillRect({0, 0, 640, 480}, 0x0F0F);
    frame->m_bFullRedraw = 1;
    Ticks(1);
    EXPECT_FALSE(frame->m_bFullRedraw);
}

}  // namespace

namespace {

class Panels : public LoopFixture {};

TEST_F(Panels, ThePauseBarFillsInProportionToTheBank) {
    // The frame is blue (kDeck), the fill red; both 125 x 25 with the hot
    // spot at the top-left.
    frame->m_pPauseBarFrame =
        maptest::MakeImage(125, 25, 0, 0, [](int, int) { return maptest::kDeck; });
    frame->m_pPauseBarFill =
        maptest::MakeImage(125, 25, 0, 0, [](int, int) { return maptest::kSolid; });
    frame->m_ptCursor = {600, 450};
    Start();
    frame->m_Play.m_iPauseBudget = 6500 - 100;  // the tick adds 100: 6500 * 119 / 13000 = 59
    Ticks(1);
    ASSERT_EQ(frame->PauseBarFill(), 59);
    const qv::Surface& s = *frame->m_pDrawSurface;
    EXPECT_EQ(s.GetPixel(392, 340), kBlue2) << "the frame left of the fill";
    EXPECT_EQ(s.GetPixel(393, 340), kRed);
    EXPECT_EQ(s.GetPixel(393 + 58, 351), kRed) << "the fill's last column and row";
    EXPECT_EQ(s.GetPixel(393 + 59, 340), kBlue2) << "beyond the fill";
    EXPECT_EQ(s.GetPixel(393 + 10, 352), kBlue2) << "below the fill";
    EXPECT_EQ(s.GetPixel(514, 354), kBlue2) << "the frame's last pixel";
    EXPECT_NE(s.GetPixel(515, 340), kBlue2) << "clipped at 515";
    // An empty bank draws no fill.
    frame->m_Play.TogglePause();
    frame->m_Play.m_iPauseBudget = 100;
    Ticks(1);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 0);
    EXPECT_EQ(s.GetPixel(393, 340), kBlue2);
}

TEST_F(Panels, TheHoldGroundButtonShowsItsSecondFrameWhileHolding) {
    // Two 28 x 17 cells: blue, then red.
    frame->m_pHoldGroundButton = maptest::MakeImage(
        28, 17, 0, 0, [](int x, int) { return x < 28 ? maptest::kDeck : maptest::kSolid; }, 2, 1);
    frame->m_ptCursor = {600, 450};
    Start();
    const qv::Surface& s = *frame->m_pDrawSurface;
    EXPECT_TRUE(frame->m_World.m_bHoldGround);
    EXPECT_EQ(s.GetPixel(410, 466), kRed);
    frame->m_World.m_bHoldGround = 0;
    Ticks(1);
    EXPECT_EQ(s.GetPixel(410, 466), kBlue2);
    EXPECT_EQ(s.GetPixel(427, 477), kBlue2);
}

}  // namespace
