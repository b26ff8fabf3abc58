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

TEST_F(Intro, ItEndsItsAnimationAfter489FramesAndStaysUntilAKey) {
    CIntroWnd w;
    int idle = 0;
    // Each idle turn moves the clock one frame; after the animation has
    // ended (and some turns more) a key ends the window.
    loop.SetIdleHook([&] {
        ++idle;
        if (idle == CIntroWnd::kFrames + 20) {
            EXPECT_EQ(w.GetFrameCounter(), CIntroWnd::kFrames);
            EXPECT_FALSE(w.IsAnimating());
            Key('A');
            return true;
        }
        clock.Advance(CIntroWnd::kFrameMs);
        return true;
    });
    EXPECT_EQ(w.Popup(), 1);
    loop.SetIdleHook({});
    EXPECT_EQ(w.GetFrameCounter(), CIntroWnd::kFrames);
    EXPECT_FALSE(loop.HasTimer(CIntroWnd::kTimerId));
}

TEST_F(Intro, AClickOrAKeyStopsItAtOnce) {
    for (const bool click : {false, true}) {
        SCOPED_TRACE(click ? "click" : "key");
        CIntroWnd w;
        int idle = 0;
        loop.SetIdleHook([&] {
            if (++idle == 10) {
                if (click)
                    Click({5, 5});
                else
                    Key(qv::VK_RETURN);
                return true;
            }
            clock.Advance(CIntroWnd::kFrameMs);
            return true;
        });
        EXPECT_EQ(w.Popup(), 1);
        loop.SetIdleHook({});
        EXPECT_EQ(w.GetFrameCounter(), 9);
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
