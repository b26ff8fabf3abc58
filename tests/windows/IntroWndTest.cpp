// The intro window's animation on the program's clock: one frame every 17 ms,
// 489 frames, then the window waits for a key or a click; and the about box.

#include <gtest/gtest.h>

#include <utility>

#include "windows/AboutDlg.h"
#include "windows/IntroWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Intro = WindowsFixture;

TEST_F(Intro, TheParchmentRisesOnePixelAFrame) {
    // The frame picture's top is at 240 - 423 / 2 = 29; the parchment's top
    // is 340 - counter below it: the first frame, one on, the last, past it.
    const std::pair<int, int> rows[] = {{0, 369}, {1, 368}, {488, -119}, {489, -120}};
    for (const auto& [counter, top] : rows) {
        SCOPED_TRACE(counter);
        EXPECT_EQ(CIntroWnd::ScrollCorner(counter), (qv::Point{190, top}));
    }
    EXPECT_EQ(CIntroWnd::FrameCorner(), (qv::Point{153, 29}));
}

TEST_F(Intro, ItAnimates489FramesThenWaitsAndAKeyOrAClickEndsItAtOnce) {
    // The idle turn of the key or click (each turn before it moves a frame),
    // whether it is a click, whether the intro still animates then, and the
    // frames it showed.
    struct Row {
        const char* rule;
        int stopAt;
        bool click, animating;
        int frames;
    } const rows[] = {
        {"left alone it stops after 489 frames and waits", CIntroWnd::kFrames + 20, false, false,
         CIntroWnd::kFrames},
        {"a key stops it at once", 10, false, true, 9},
        {"a click stops it at once", 10, true, true, 9},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CIntroWnd w;
        int idle = 0;
        loop.SetIdleHook([&] {
            if (++idle < r.stopAt) {
                clock.Advance(CIntroWnd::kFrameMs);
                return true;
            }
            EXPECT_EQ(w.IsAnimating(), r.animating);
            if (r.click)
                Click({5, 5});
            else
                Key('A');
            return true;
        });
        EXPECT_EQ(w.Popup(), 1);
        loop.SetIdleHook({});
        EXPECT_EQ(w.GetFrameCounter(), r.frames);
        EXPECT_FALSE(w.IsAnimating());
        EXPECT_FALSE(loop.HasTimer(CIntroWnd::kTimerId));
    }
}

TEST_F(Intro, TheAboutBoxShowsTheVersionAndClosesWithOk) {
    EXPECT_STREQ(CAboutDlg::kVersion, "Quorvale Alpha 41");
    EXPECT_STREQ(CAboutDlg::kCaption, "About Quorvale");
    CAboutDlg about;
    Press(about, about.GetOkButton());
    EXPECT_EQ(about.Popup(), CAboutDlg::kIdOk);
}

}  // namespace
