#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "media/Resources.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "support/PopupFixture.h"
#include "world/Global.h"
#include "world/Object.h"

namespace {

using qv::Event;
using qv::EventKind;
using qv::MessageLoop;

using PopupTest = popup_test::PopupFixture;

// A window with one button that ends it with its command id.
class TwoButtonWnd : public CDDWnd {
public:
    explicit TwoButtonWnd(CDDWnd* parent = nullptr)
        : CDDWnd(parent),
          ok({250, 340, 390, 379}, this, 160, 569, 570, 897),
          cancel({250, 400, 390, 439}, this, 161, 571, 572, 897) {}
    void OnCommand(int id) override { EndPopup(id == 160 ? 1 : 2); }
    void OnKeyDown(int vk) override {
        if (vk == qv::VK_ESCAPE) EndPopup(2);
    }
    CDDButton ok;
    CDDButton cancel;
};

TEST_F(PopupTest, PopupAnswersTheEndCodeAndRegistersWithTheFrame) {
    EXPECT_EQ(frame.m_pModalPopup, nullptr);
    {
        TwoButtonWnd outer;
        EXPECT_EQ(frame.m_pModalPopup, &outer);
        EXPECT_EQ(frame.m_bModalPopup, 1);
        {
            TwoButtonWnd inner;
            EXPECT_EQ(inner.m_pPreviousPopup, &outer);
            EXPECT_EQ(frame.m_pModalPopup, &inner);
            Click(Centre(inner, inner.ok));
            EXPECT_EQ(inner.Popup(), 1);
            EXPECT_FALSE(inner.IsOpen());
        }
        // The previous popup comes back when the later one goes.
        EXPECT_EQ(frame.m_pModalPopup, &outer);
        Click(Centre(outer, outer.cancel));
        EXPECT_EQ(outer.Popup(), 2);
        // A disabled button takes no click; Esc still ends the window.
        outer.ok.SetState(3);
        Click(Centre(outer, outer.ok));
        loop.Inject(Event::Key(true, qv::VK_ESCAPE));
        EXPECT_EQ(outer.Popup(), 2);
    }
    EXPECT_EQ(frame.m_pModalPopup, nullptr);
    EXPECT_EQ(frame.m_bModalPopup, 0);
    EXPECT_EQ(handler.keys, 0);
}

TEST_F(PopupTest, AWindowClosedOutOfTurnLeavesTheChainOfPopups) {
    // Three windows made one after another and deleted in another order: the
    // frame and the later windows never come back to one that is gone.
    auto* first = new TwoButtonWnd;
    auto* second = new TwoButtonWnd;
    auto* third = new TwoButtonWnd;
    delete second;
    EXPECT_EQ(third->m_pPreviousPopup, first);
    EXPECT_EQ(frame.m_pModalPopup, third);
    delete first;
    EXPECT_EQ(third->m_pPreviousPopup, nullptr);
    delete third;
    EXPECT_EQ(frame.m_pModalPopup, nullptr);
    EXPECT_EQ(frame.m_bModalPopup, 0);
}

TEST_F(PopupTest, TheScreenUnderAPopupComesBackWhenItCloses) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const std::vector<uint16_t> before = frame.m_pWindow->Picture();
    {
        TwoButtonWnd w;
        w.m_rcWindow = {100, 100, 500, 460};
        int seen = 0;
        loop.SetIdleHook([&]() {
            // While it is up the window shows the popup.
            if (seen++ == 0) {
                EXPECT_NE(frame.m_pWindow->Picture(), before);
                Click(Centre(w, w.ok));
            }
            return true;
        });
        EXPECT_EQ(w.Popup(), 1);
    }
    EXPECT_EQ(frame.m_pWindow->Picture(), before);
}

TEST_F(PopupTest, AQuestionShowsItsTextAndButtons) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const std::vector<uint16_t> before = frame.m_pWindow->Picture();
    int inked = -1;
    loop.SetIdleHook([&]() {
        const std::vector<uint16_t>& now = frame.m_pWindow->Picture();
        inked = 0;
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] == PaletteIndexToPixel(kColourText) && before[i] != now[i]) ++inked;
        if (const char* keep = std::getenv("QV_PICTURE_DIR"))
            frame.m_pWindow->SavePicture(std::string(keep) + "/question.bmp");
        loop.Inject(Event::Key(true, 'Y'));
        return true;
    });
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 6);
    // The question's letters and the buttons' words are drawn in white.
    EXPECT_GT(inked, 30 * 10);
}

TEST_F(PopupTest, APressCountsOnlyWhenLetGoOverTheButton) {
    TwoButtonWnd w;
    qv::Point ok = Centre(w, w.ok);
    loop.Inject(Event::Mouse(EventKind::LButtonDown, ok.x, ok.y));
    loop.Inject(Event::Mouse(EventKind::LButtonUp, 5, 5));  // slid off: no command
    // A double click is a press of its own.
    loop.Inject(Event::Mouse(EventKind::LButtonDblClk, ok.x, ok.y));
    loop.Inject(Event::Mouse(EventKind::LButtonUp, ok.x, ok.y));
    EXPECT_EQ(w.Popup(), 1);
}

TEST_F(PopupTest, NoGameTickRunsWhileAPopupIsUp) {
    loop.SetTimer(5000, 50);
    clock.Advance(50);
    loop.PumpAll();
    EXPECT_EQ(handler.ticks, 1);

    TwoButtonWnd w;
    int idle = 0;
    loop.SetIdleHook([&]() {
        // A second of time passes with the popup up, ticks put in by hand too.
        clock.Advance(50);
        loop.Inject(Event::Tick(5000));
        if (++idle == 20) Click(Centre(w, w.ok));
        return true;
    });
    EXPECT_EQ(w.Popup(), 1);
    EXPECT_EQ(idle, 20);
    EXPECT_EQ(handler.ticks, 1);
    loop.SetIdleHook(nullptr);
    // Once it has closed the game ticks again.
    clock.Advance(50);
    loop.PumpAll();
    EXPECT_EQ(handler.ticks, 2);
}

TEST_F(PopupTest, MessageBoxAnswers) {
    // Yes by its button, by Enter and by Y: 6.
    {
        CMessageWnd probe("Are you sure you want to Quit?", CMessageWnd::Buttons::YesNo);
        Click(Centre(probe, *probe.GetButton(0)));
    }
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 6);
    loop.Inject(Event::Key(true, qv::VK_RETURN));
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 6);
    loop.Inject(Event::Key(true, 'Y'));
    EXPECT_EQ(ShowGameMessageBox("Sure you want to save over Game 3?", 4), 6);
    // Declined by No, by Esc, or by the loop running dry: 2.
    {
        CMessageWnd probe("Are you sure you want to Quit?", CMessageWnd::Buttons::YesNo);
        Click(Centre(probe, *probe.GetButton(1)));
    }
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 2);
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 2);
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 2);
    // The OK message answers 1 however it is closed.
    loop.Inject(Event::Key(true, qv::VK_SPACE));
    EXPECT_EQ(ShowGameMessage("QuickSave completed."), 1);
    EXPECT_EQ(ShowGameMessage("Eh?"), 1);
    EXPECT_EQ(ShowGameMessageBox("Load file is empty.", 0), 1);
    // The keys went to the boxes, none to the frame.
    EXPECT_EQ(handler.keys, 0);
}

TEST_F(PopupTest, TheProgramsBoxesShowInTheWindow) {
    {
        CMessageWnd probe("x", CMessageWnd::Buttons::RetryCancel, "DirectDraw Error");
        Click(Centre(probe, *probe.GetButton(0)));
    }
    EXPECT_EQ(qv::ShowMessage("Direct Draw Surface Lost", qv::MessageButtons::RetryCancel,
                              "DirectDraw Error"),
              qv::MessageAnswer::Retry);
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(qv::ShowMessage("m_iBulkNum >= 0", qv::MessageButtons::RetryCancel),
              qv::MessageAnswer::Cancel);
    EXPECT_EQ(qv::ShowMessage("Could not Initiate DirectDraw Objects!", qv::MessageButtons::Ok,
                              "DirectDraw Error"),
              qv::MessageAnswer::Ok);
    // A failed check answered Retry goes on.
    loop.Inject(Event::Key(true, 'R'));
    AssertFailed(12, "C:\\src\\Group.cpp", "pGroupSearching != NULL");
    EXPECT_EQ(frame.m_bAssertShowing, 0);
}

TEST_F(PopupTest, QuantityWindowCountsFromTheAmountDownToZero) {
    int amount = 5;
    {
        CQuantityWnd q(&amount);
        EXPECT_EQ(q.m_iAmount, 5);
        qv::Point more{q.m_rcWindow.left + 165, q.m_rcWindow.top + 50};
        qv::Point less{q.m_rcWindow.left + 35, q.m_rcWindow.top + 50};
        Click(more);  // not above the amount
        Click(less);
        Click(less);
        loop.Inject(Event::Key(true, qv::VK_RETURN));
        EXPECT_EQ(q.Popup(), 1);
        EXPECT_EQ(q.m_iAmount, 3);
    }
    EXPECT_EQ(amount, 5);  // the caller's count is left alone
    {
        CQuantityWnd q(&amount);
        for (int i = 0; i < 8; ++i) loop.Inject(Event::Key(true, qv::VK_DOWN));
        loop.Inject(Event::Key(true, qv::VK_RETURN));
        EXPECT_EQ(q.Popup(), 1);
        EXPECT_EQ(q.m_iAmount, 0);
    }
    {
        CQuantityWnd q(&amount);
        // Typed digits start a new number, cut to the amount.
        loop.Inject({EventKind::Char, '2', {}});
        loop.Inject({EventKind::Char, '9', {}});
        loop.Inject(Event::Key(true, qv::VK_RETURN));
        EXPECT_EQ(q.Popup(), 1);
        EXPECT_EQ(q.m_iAmount, 5);
    }
    {
        CQuantityWnd q(&amount);
        loop.Inject({EventKind::Char, '2', {}});
        loop.Inject(Event::Key(true, qv::VK_ESCAPE));
        EXPECT_EQ(q.Popup(), 0);
    }
}

TEST_F(PopupTest, FadeRunsOnTheProgramsClock) {
    CFadeWnd fade;
    uint32_t start = clock.Now();
    fade.SetFadeIn(true);
    EXPECT_EQ(fade.Popup(), 1);
    EXPECT_EQ(fade.GetLevel(), CFadeWnd::kSteps);
    EXPECT_EQ(clock.Now() - start, static_cast<uint32_t>(CFadeWnd::kSteps * CFadeWnd::kStepMs));
    // Faded out, its part of the screen is black.
    fade.SetFadeIn(false);
    EXPECT_EQ(fade.Popup(), 1);
    EXPECT_EQ(fade.GetLevel(), 0);
    EXPECT_EQ(frame.m_pPrimary->GetPixel(10, 10), 0);
}

TEST_F(PopupTest, EditFieldTakesTypedTextWithinItsSize) {
    TwoButtonWnd w;
    CDDEdit name;
    name.Create({50, 140, 50, 156}, &w);
    name.Resize(1, 4);
    EXPECT_EQ(name.m_rcWindow, (qv::Rect{50, 140, 50 + 36, 156}));
    name.SetEditable(true);
    name.SetText("Ko");
    Click({w.m_rcWindow.left + 55, w.m_rcWindow.top + 145});  // gives it the focus
    for (char c : std::string("rrx!")) loop.Inject({EventKind::Char, c, {}});
    loop.Inject({EventKind::Char, '\b', {}});
    loop.Inject({EventKind::Char, 'a', {}});
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(w.Popup(), 2);
    // "Korr" fills the four places, x and ! find no room (and ! none anyway),
    // Backspace takes one back and a takes its place.
    EXPECT_EQ(name.GetText(), "Kora");
}

TEST_F(PopupTest, FirstPictureSavedHeadlessHasTheWindowSizeAndIsNotBlank) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const qv::Window& win = *frame.m_pWindow;
    EXPECT_EQ(win.Title(), "Quorvale");
    // QV_PICTURE_DIR keeps the picture for a look.
    const char* keep = std::getenv("QV_PICTURE_DIR");
    std::string path = (keep ? std::string(keep) + "/" : testing::TempDir()) + "first_picture.bmp";
    ASSERT_TRUE(win.SavePicture(path));
    SDL_Surface* pic = SDL_LoadBMP(path.c_str());
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->w, 900);
    EXPECT_EQ(pic->h, 480);
    SDL_FreeSurface(pic);
    if (!keep) std::remove(path.c_str());
    std::set<uint16_t> colours(win.Picture().begin(), win.Picture().end());
    EXPECT_GE(colours.size(), 3u);
    // The map view is black inside its frame; the furniture around it is not.
    EXPECT_EQ(win.Picture()[100 * 900 + 100], 0);
    EXPECT_NE(win.Picture()[1 * 900 + 600], 0);

    // Full screen: the window is the 640 x 480 game alone.
    frame.m_bWindowed = 0;
    ASSERT_EQ(frame.InitDirectDraw(0), 1);
    EXPECT_EQ(frame.m_pWindow->Width(), 640);
    EXPECT_EQ(frame.m_pWindow->Height(), 480);
}

TEST_F(PopupTest, TheScreenFurnitureIsLitFromTheTopLeftAndUsesNoMaskColour) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const qv::Surface& screen = *frame.m_pPrimary;
    // The pixels the map's image masks read as a deck or a snare never show
    // on the furniture.
    const uint16_t deck = PaletteIndexToPixel(kPaletteDeck),
                   snare = PaletteIndexToPixel(kPaletteSnare);
    int masks = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint16_t v = screen.GetPixel(x, y);
            masks += v == deck || v == snare;
        }
    EXPECT_EQ(masks, 0);
    // The map view's well (536 x 359 at (3, 3)) is black and sunk: its upper
    // and left rims are in shadow, its lower and right rims in light.
    auto brightness = [&](int x, int y) {
        int r, g, b;
        SplitScreenPixel(screen.GetPixel(x, y), r, g, b);
        return r * 2 + g + b * 2;
    };
    EXPECT_EQ(screen.GetPixel(3, 3), 0);
    EXPECT_EQ(screen.GetPixel(538, 361), 0);
    EXPECT_LT(brightness(200, 2), brightness(200, 362));
    EXPECT_LT(brightness(2, 200), brightness(539, 200));
    EXPECT_GT(brightness(200, 2), 0);
}

TEST_F(PopupTest, ReloadingRefillsTheSharedPictures) {
    ASSERT_EQ(frame.InitDirectDraw(1), 1);
    CDDObject* grass = GetTerrainPicture(0);
    ASSERT_NE(grass, nullptr);
    CDDObject* pine = GetSceneryPrototypes()[0][0]->GetImage();
    CDDObject* options = GetWindowPicture(913);
    ASSERT_NE(options, nullptr);
    for (CDDObject* picture : {grass, pine, options}) EXPECT_TRUE(picture->IsLoaded());
    frame.ReleaseDirectDraw();
    for (CDDObject* picture : {grass, pine, options}) EXPECT_FALSE(picture->IsLoaded());
    EXPECT_EQ(frame.UpdateScreen(0), 0);  // no surfaces
    ASSERT_EQ(frame.InitDirectDraw(0), 1);
    EXPECT_FALSE(grass->IsLoaded());
    ASSERT_EQ(frame.UpdateScreen(1), 1);
    for (CDDObject* picture : {grass, pine, options}) EXPECT_TRUE(picture->IsLoaded());
}

TEST_F(PopupTest, PauseWaitsOnTheClockAndEndsEarlyOnSpaceOrEsc) {
    uint32_t start = clock.Now();
    EXPECT_EQ(frame.Pause(500), 1);
    EXPECT_EQ(clock.Now() - start, 500u);
    loop.Inject(Event::Key(true, 'Q'));
    loop.Inject(Event::Key(true, qv::VK_SPACE));
    start = clock.Now();
    EXPECT_EQ(frame.Pause(500), 0);
    EXPECT_EQ(clock.Now(), start);
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(frame.Pause(500), 0);
    loop.PumpAll();
    EXPECT_EQ(handler.keys, 1);  // Q is still delivered
}

TEST_F(PopupTest, DrawSurfaceFollowsTheModeAndSetsTheCursorFlags) {
    SetMouseCursor(std::make_unique<CMouseCursor>(std::array<CDDObject*, 9>{}));
    EXPECT_EQ(GetDrawSurface(1), frame.m_pPrimary.get());
    EXPECT_EQ(GetDrawSurface(-1), frame.m_pBackBuffer.get());
    // Windowed: the primary, flags cleared.
    EXPECT_EQ(GetDrawSurface(0), frame.m_pPrimary.get());
    EXPECT_EQ(IsFlipMode(), 0);
    // Full screen in play: the back buffer, for a flip.
    frame.m_bWindowed = 0;
    frame.m_Play.m_iStartState = 0;
    EXPECT_EQ(GetDrawSurface(0), frame.m_pBackBuffer.get());
    EXPECT_EQ(IsFlipMode(), 1);
    EXPECT_EQ(GetMouseCursor()->m_bFlipDraw, 1);
    CDDWnd talk(nullptr, CDDWnd::InPlay{});  // a conversation is open
    frame.m_pGameWindows->Open().m_pTalkWnd = &talk;
    EXPECT_EQ(GetDrawSurface(0), frame.m_pBackBuffer.get());
    EXPECT_EQ(GetMouseCursor()->m_bFlipDraw, 0);
    frame.m_pGameWindows->Open().m_pTalkWnd = nullptr;
    {
        TwoButtonWnd popup;  // a popup draws on the primary
        EXPECT_EQ(GetDrawSurface(0), frame.m_pPrimary.get());
        EXPECT_EQ(IsFlipMode(), 0);
    }
    // A flip swaps the pages' pictures and the parity.
    frame.m_pBackBuffer->SetPixel(1, 1, 0x1234);
    int parity = GetFlipParity();
    EXPECT_EQ(frame.FlipSurfaces(), qv::kDrawOk);
    EXPECT_EQ(frame.m_pPrimary->GetPixel(1, 1), 0x1234);
    EXPECT_EQ(GetFlipParity(), !parity);
    frame.m_pPrimary->MarkLost();
    EXPECT_EQ(frame.FlipSurfaces(), qv::kDrawSurfaceLost);
    EXPECT_EQ(frame.RestoreSurfaces(), 1);
    EXPECT_EQ(frame.FlipSurfaces(), qv::kDrawOk);
    SetMouseCursor(nullptr);
}

// Makes the game's cursor one with an 18 x 19 pointer picture.
CMouseCursor& InstallPointerCursor() {
    std::array<CDDObject*, 9> images{};
    images[CMouseCursor::kPointer] = new CDDObject;
    const int pointer = 873;
    images[CMouseCursor::kPointer]->Create(18, 19, 0, 0, &pointer, 7, 1);
    SetMouseCursor(std::make_unique<CMouseCursor>(images));
    return *GetMouseCursor();
}

TEST_F(PopupTest, ReleasingTheScreenLetsTheCursorForgetWhatItKeptOnBothPages) {
    CMouseCursor& cursor = InstallPointerCursor();
    frame.m_bWindowed = 0;
    ASSERT_EQ(frame.InitDirectDraw(0), 1);
    cursor.m_pSurface = frame.m_pBackBuffer.get();
    cursor.m_bShown = 1;
    // Drawn on both pages of the full-screen flip.
    cursor.MoveTo({100, 100});
    cursor.ToggleImage();
    cursor.MoveTo({200, 200});
    frame.ReleaseDirectDraw();
    EXPECT_EQ(cursor.m_pSurface, nullptr);
    ASSERT_EQ(frame.InitDirectDraw(0), 1);
    // The other page's kept pixels belonged to a surface that is gone: hiding
    // there puts nothing back anywhere.
    cursor.ToggleImage();
    EXPECT_FALSE(cursor.IsDrawn());
    cursor.HideNow();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_EQ(frame.m_pBackBuffer->GetPixel(x, y), 0);
    SetMouseCursor(nullptr);
}

TEST(ScreenRelease, TheCursorLetsGoOfTheSurfacesOfAFrameThatIsGone) {
    CMouseCursor& cursor = InstallPointerCursor();
    {
        CMainFrame frame;
        ASSERT_EQ(frame.InitDirectDraw(0), 1);
        EXPECT_EQ(cursor.m_pSurface, frame.m_pBackBuffer.get());
        cursor.m_bShown = 1;
        cursor.MoveTo({50, 50});
        EXPECT_TRUE(cursor.IsDrawn());
    }
    EXPECT_EQ(cursor.m_pSurface, nullptr);
    EXPECT_FALSE(cursor.IsDrawn());
    cursor.MoveTo({60, 60});  // draws nowhere, touches nothing freed
    cursor.HideNow();
    SetMouseCursor(nullptr);
    qv::MessageLoop::Instance().Reset();
}

TEST_F(PopupTest, MessageLineShowsTheTextOnTheScreen) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const qv::Rect line = frame.m_MessageLine.m_rcWindow;
    EXPECT_EQ(line, (qv::Rect{12, 376, 12 + 180, 376 + 96}));
    EXPECT_EQ(SetMessageLine("Use Potion on..."), 1);
    EXPECT_EQ(frame.m_MessageLine.GetText(), "Use Potion on...");
    EXPECT_EQ(frame.m_strMessageLine, "Use Potion on...");
    // The text is drawn in its colour inside the line, and only there.
    frame.m_MessageLine.FormatText("Empty potion...", 245, 0);
    const qv::Surface& screen = *frame.m_pPrimary;
    int inked = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (screen.GetPixel(x, y) == PaletteIndexToPixel(245)) {
                ++inked;
                EXPECT_TRUE(line.Contains({x, y})) << x << "," << y;
            }
    EXPECT_GT(inked, 15 * 8);  // fifteen letters of some ink each
}

TEST(Buttons, DrawTheStoresPictureOfTheirState) {
    CDDWnd* none = nullptr;
    CDDButton ok({250, 340, 390, 379}, none, 160, 569, 570, 897);
    auto picture = [](int id, int x, int y) {
        auto bmp = FindBitmapResource(id);
        return PaletteIndexToPixel(bmp->GetPixel(x, y), bmp->GetPalette());
    };
    ASSERT_NE(FindBitmapResource(569), nullptr);
    qv::Surface s(640, 480);
    // Each state shows its own picture, placed at the button's corner.
    const int states[3] = {0, 1, 3};
    const int ids[3] = {569, 570, 897};
    for (int i = 0; i < 3; ++i) {
        ok.SetState(states[i]);
        ok.Draw(&s, {0, 0});
        for (qv::Point p : {qv::Point{3, 3}, qv::Point{70, 20}, qv::Point{136, 36}})
            EXPECT_EQ(s.GetPixel(250 + p.x, 340 + p.y), picture(ids[i], p.x, p.y))
                << ids[i] << " at " << p.x << "," << p.y;
    }
    // Nothing outside the button is touched.
    EXPECT_EQ(s.GetPixel(249, 340), 0);
    EXPECT_EQ(s.GetPixel(390, 378), 0);
}

TEST(GameMessages, WithoutAWindowTheyGoToTheHeadlessBoxes) {
    MessageLoop::Instance().Reset();
    qv::ScriptedMessages script({qv::MessageAnswer::Yes, qv::MessageAnswer::No});
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 6);
    EXPECT_EQ(ShowGameMessageBox("Sure you want to save over Game 2?", 4), 2);
    EXPECT_EQ(ShowGameMessageBox("Are you sure you want to Quit?", 4), 2);  // none left: declined
    EXPECT_EQ(ShowGameMessage("Eh?"), 1);
    ASSERT_EQ(script.shown.size(), 4u);
    EXPECT_EQ(script.shown[1], "Sure you want to save over Game 2?");
    EXPECT_EQ(script.shown[3], "Eh?");
}

TEST(ProgressBar, FillIsTheValueShareOfTheWidth) {
    CDDProgressBar bar;
    bar.Create({393, 333, 393 + 119, 352}, 38, 1);
    bar.SetRange(13000);
    bar.SetPos(13000);
    EXPECT_EQ(bar.FilledWidth(), 119);
    bar.SetPos(6500);
    EXPECT_EQ(bar.FilledWidth(), 59);  // 6500 x 119 / 13000 = 59.5, cut
    bar.SetPos(109);
    EXPECT_EQ(bar.FilledWidth(), 0);
    bar.SetPos(110);
    EXPECT_EQ(bar.FilledWidth(), 1);
    bar.SetPos(-5);
    EXPECT_EQ(bar.FilledWidth(), 0);
    bar.SetPos(20000);
    EXPECT_EQ(bar.FilledWidth(), 119);
    qv::Surface s(640, 480);
    bar.SetPos(6500);
    bar.Draw(&s);
    EXPECT_EQ(s.GetPixel(393 + 58, 340), PaletteIndexToPixel(38));
    EXPECT_EQ(s.GetPixel(393 + 59, 340), PaletteIndexToPixel(1));
}

}  // namespace

namespace {

// Pixels of a colour inside a rectangle of a surface.
int InkIn(const qv::Surface& s, const qv::Rect& r, int colour) {
    const uint16_t ink = PaletteIndexToPixel(colour);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.GetPixel(x, y) == ink;
    return n;
}

// The ink of a text drawn whole, on one line, on a surface wide enough for it.
int InkOfText(const std::string& text, int colour) {
    qv::Surface wide(static_cast<int>(text.size()) * kCharWidth + 8, kCharHeight);
    DrawGameText(&wide, {0, 0}, text, colour, wide.Bounds());
    return InkIn(wide, wide.Bounds(), colour);
}

}  // namespace

TEST(WrapText, BreaksAtTheLastSpaceThatFitsAndCutsLongWords) {
    EXPECT_EQ(WrapText("Use Protect from Fire on...", 20), "Use Protect from\nFire on...");
    EXPECT_EQ(WrapText("short", 20), "short");
    EXPECT_EQ(WrapText("", 5), "");
    // A space just past the width is where the line breaks; it is dropped.
    EXPECT_EQ(WrapText("abcde fgh", 5), "abcde\nfgh");
    // A word longer than the line is cut where the line ends.
    EXPECT_EQ(WrapText("C:\\Games\\Quorvale\\Lands", 8), "C:\\Games\n\\Quorval\ne\\Lands");
    // Lines of the text stay lines, and each wraps on its own.
    EXPECT_EQ(WrapText("one two three\n\nfour", 7), "one two\nthree\n\nfour");
}

TEST_F(PopupTest, AMessageLongerThanALineIsShownWhole) {
    // An 80-letter file error: before, a box of 600 pixels showed about 62
    // letters and lost the end of the name.
    const std::string text =
        "C:\\Program Files\\Quorvale\\Lands\\Lower_Dungeon_12.lnd not found. Check the paths.";
    ASSERT_EQ(text.size(), 80u);
    CMessageWnd box(text, CMessageWnd::Buttons::Ok);
    const qv::Rect r = box.m_rcWindow;
    EXPECT_TRUE((qv::Rect{0, 0, 640, 480}.Intersect(r) == r)) << r.left << "," << r.right;
    qv::Surface s(640, 480);
    box.Paint(&s);
    // Every letter's ink is inside the box, above its button and within its
    // edges (which are drawn in the text colour too).
    const qv::Rect text_area{r.left + 1, r.top + 1, r.right - 1,
                             r.top + box.GetButton(0)->m_rcWindow.top};
    EXPECT_EQ(InkIn(s, text_area, kColourText), InkOfText(text, kColourText));
    // A caption-less one-liner keeps its small box.
    CMessageWnd eh("Eh?", CMessageWnd::Buttons::Ok);
    EXPECT_EQ(eh.m_rcWindow.Width(), 240);
}

TEST_F(PopupTest, TheMessageLineWrapsAPromptWithinItsLines) {
    ASSERT_EQ(frame.UpdateScreen(0), 1);
    const std::string prompt = "Use Protect from Fire on...";
    frame.m_MessageLine.FormatText(prompt, 245, 0);
    EXPECT_EQ(InkIn(*frame.m_pPrimary, frame.m_MessageLine.m_rcWindow, 245),
              InkOfText(prompt, 245));
    // What does not fit in its six lines is still left out.
    std::string many;
    for (int i = 0; i < 8; ++i) many += "line\n";
    frame.m_MessageLine.FormatText(many, 245, 0);
    EXPECT_EQ(InkIn(*frame.m_pPrimary, frame.m_MessageLine.m_rcWindow, 245),
              6 * InkOfText("line", 245));
}

TEST_F(PopupTest, TheQuantityWindowHoldsAtTheLargestAmount) {
    int amount = INT_MAX;
    CQuantityWnd q(&amount);
    loop.Inject(Event::Key(true, qv::VK_UP));
    loop.Inject(Event::Key(true, qv::VK_RETURN));
    EXPECT_EQ(q.Popup(), 1);
    EXPECT_EQ(q.m_iAmount, INT_MAX);
}

TEST_F(PopupTest, TheTitleFadesInTenStepsOfEightyMilliseconds) {
    CFadeWnd fade;
    const uint32_t start = clock.Now();
    fade.SetFadeIn(true);
    EXPECT_EQ(fade.Popup(), 1);
    EXPECT_EQ(clock.Now() - start, 800u);
}

TEST(Buttons, ADisabledButtonDrawsItsTextDimmed) {
    CDDWnd* none = nullptr;
    CDDButton plus({0, 0, 30, 20}, none, 3);
    plus.SetText("+");
    qv::Surface normal(30, 20), disabled(30, 20);
    plus.Draw(&normal, {0, 0});
    plus.SetState(3);
    plus.Draw(&disabled, {0, 0});
    auto brightness = [](uint16_t p) {
        int r, g, b;
        SplitScreenPixel(p, r, g, b);
        return r * 2 + g + b * 2;  // each part out of 62 or 63
    };
    const uint16_t textInk = PaletteIndexToPixel(kColourText);
    const uint16_t gold = PaletteIndexToPixel(245);
    int letters = 0;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 28; ++x) {
            if (normal.GetPixel(x, y) != textInk) continue;
            ++letters;
            const uint16_t dim = disabled.GetPixel(x, y);
            // Dimmer than both text colours (white and the gold highlight), yet
            // standing out from the face.
            EXPECT_LT(brightness(dim), brightness(textInk));
            EXPECT_LT(brightness(dim), brightness(gold));
            EXPECT_GT(brightness(dim), brightness(PaletteIndexToPixel(kColourPanel)));
        }
    EXPECT_GT(letters, 4);
}
