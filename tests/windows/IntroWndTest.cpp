// The intro window's animation on the program's clock: one frame every 17 ms,
// 489 frames, then the window waits for a key or a click; and the about box.

#include <gtest/gtest.h>

#include "windows/AboutDlg.h"
#include "windows/IntroWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Intro = WindowsFixture;

TEST_F(Intro, TheParchmentRisesOnePixelAFrame) {
    struct Row {
        const char* name;
        int counter, top;
    };
    // The frame picture's top is at 240 - 423 / 2 = 29; the parchment's top
    // is 340 - counter below it.
    const Row rows[] = {{"the first frame", 0, 369},
                        {"one frame on", 1, 368},
                        {"the last frame", 488, -119},
                        {"past the end", 489, -120}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CIntroWnd::ScrollCorner(row.counter), (qv::Point{190, row.top}));
    }
    EXPECT_EQ(CIntroWnd::FrameCorner(), (qv::Point{153, 29}));
}

TEST_F(Intro, ItAnimates489FramesThenWaitsAndAKeyOrAClickEndsItAtOnce) {
    struct Row {
        const char* rule;
        int stopAt;  // the idle turn of the key or click; each turn before it moves one frame
        bool click, animating;  // still animating when it comes
        int frames;
    };
    const Row rows[] = {
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
