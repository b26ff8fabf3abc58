#pragma once
// A test with the frame's window up and the message loop fed by the test:
// popups run modally on the keys and clicks the test injects.

#include <SDL.h>
#include <gtest/gtest.h>

#include "media/DDWnd.h"
#include "platform/Events.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"

namespace popup_test {

// Stands in for the frame's own handlers: counts the game ticks and the keys
// it is given.
class TickCounter : public qv::WindowHandler {
public:
    int ticks = 0;
    int keys = 0;
    void OnTimer(int id) override {
        if (id == 5000) ++ticks;
    }
    void OnKeyDown(int) override { ++keys; }
};

class PopupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        loop.Reset();
        loop.SetClock(&clock);
        loop.SetMainHandler(&handler);
        ASSERT_EQ(frame.InitDirectDraw(0), 1);
        // The window's own start-up events are not the test's.
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        loop.SetSource(nullptr);
    }
    void TearDown() override {
        loop.Reset();
        InvalidateGlobalImages();
    }
    void Key(int vk) { loop.Inject(qv::Event::Key(true, vk)); }
    void Click(qv::Point p) {
        loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDown, p.x, p.y));
        loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonUp, p.x, p.y));
    }
    // The screen point at the middle of a control of a window.
    static qv::Point Centre(const CDDWnd& w, const CDDControl& c) {
        return {w.m_rcWindow.left + (c.m_rcWindow.left + c.m_rcWindow.right) / 2,
                w.m_rcWindow.top + (c.m_rcWindow.top + c.m_rcWindow.bottom) / 2};
    }

    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    qv::ManualClock clock;
    TickCounter handler;
    CMainFrame frame;
};

}  // namespace popup_test
