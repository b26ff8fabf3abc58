#pragma once
// A test with the frame's window up and the message loop fed by the test:
// popups run modally on the keys and clicks the test injects.

#include <SDL.h>
#include <gtest/gtest.h>

#include "media/GlobalImages.h"
#include "platform/Events.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"

namespace popup_test {

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

    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    qv::ManualClock clock;
    qv::WindowHandler handler;
    CMainFrame frame;
};

}  // namespace popup_test
