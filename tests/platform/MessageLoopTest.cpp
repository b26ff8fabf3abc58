#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MessageLoop.h"

namespace {

using qv::Event;
using qv::EventKind;
using qv::MessageLoop;

// A tag and a number as one word ("t5000"). Built by appending: GCC 12 warns
// falsely about a literal added to a temporary string when optimising.
std::string Word(const char* tag, int value) {
    std::string w = tag;
    w += std::to_string(value);
    return w;
}

// Writes down every event it is handed, as short words.
class Recorder : public qv::ModalWindow {
public:
    std::vector<std::string> log;
    bool done = false;
    int draws = 0;
    void OnKeyDown(int vk) override { log.push_back(Word("kd", vk)); }
    void OnKeyUp(int vk) override { log.push_back(Word("ku", vk)); }
    void OnLButtonDown(qv::Point p) override { log.push_back("ld" + Pt(p)); }
    void OnLButtonUp(qv::Point p) override { log.push_back("lu" + Pt(p)); }
    void OnLButtonDblClk(qv::Point p) override { log.push_back("l2" + Pt(p)); }
    void OnRButtonDown(qv::Point) override { log.push_back("rd"); }
    void OnRButtonUp(qv::Point) override { log.push_back("ru"); }
    void OnMouseMove(qv::Point p) override { log.push_back("mv" + Pt(p)); }
    void OnTimer(int id) override { log.push_back(Word("t", id)); }
    void OnCommand(int id) override { log.push_back(Word("c", id)); }
    void OnActivateApp(bool a) override { log.push_back(a ? "on" : "off"); }
    void OnMinimise(bool m) override { log.push_back(m ? "min" : "restore"); }
    bool IsModalDone() const override { return done; }
    void OnModalDraw() override { ++draws; }
    static std::string Pt(qv::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
};

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        loop.Reset();
        loop.SetClock(&clock);
        loop.SetMainHandler(&frame);
    }
    void TearDown() override { loop.Reset(); }
    MessageLoop& loop = MessageLoop::Instance();
    qv::ManualClock clock;
    Recorder frame;
};

TEST_F(MessageLoopTest, DeliversPostedBeforeInputBeforeTicksInOrder) {
    loop.SetTimer(5000, 50);
    loop.Inject(Event::Mouse(EventKind::LButtonDown, 10, 20));
    loop.Inject(Event::Mouse(EventKind::LButtonUp, 10, 20));
    loop.Inject(Event::Mouse(EventKind::LButtonDblClk, 10, 20));
    loop.Inject(Event::Mouse(EventKind::LButtonUp, 10, 20));
    loop.PostCommand(170);
    clock.Advance(50);
    loop.PumpAll();
    EXPECT_EQ(frame.log, (std::vector<std::string>{"c170", "ld10,20", "lu10,20", "l210,20",
                                                   "lu10,20", "t5000"}));
}

TEST_F(MessageLoopTest, TimerFiresOncePerIntervalAndDoesNotCatchUp) {
    loop.SetTimer(5000, 50);
    clock.Advance(49);
    EXPECT_EQ(loop.PumpAll(), 0);
    clock.Advance(1);
    EXPECT_EQ(loop.PumpAll(), 1);
    // Half a second late: still one tick, and the next one a full interval on.
    clock.Advance(500);
    EXPECT_EQ(loop.PumpAll(), 1);
    clock.Advance(49);
    EXPECT_EQ(loop.PumpAll(), 0);
    clock.Advance(1);
    EXPECT_EQ(loop.PumpAll(), 1);
    EXPECT_TRUE(loop.KillTimer(5000));
    clock.Advance(1000);
    EXPECT_EQ(loop.PumpAll(), 0);
    EXPECT_FALSE(loop.KillTimer(5000));
}

// A handler that posts a command and asks to quit, then goes on working: both
// arrive only after it has returned.
class Poster : public qv::WindowHandler {
public:
    std::vector<std::string> log;
    void OnKeyDown(int) override {
        MessageLoop::Instance().PostQuit(3);
        MessageLoop::Instance().PostCommand(171);
        log.push_back("after posting");
        EXPECT_FALSE(MessageLoop::Instance().IsQuitting());
    }
    void OnCommand(int id) override { log.push_back(Word("c", id)); }
};

TEST_F(MessageLoopTest, QuitIsDeliveredAfterTheHandlerReturnsAndStopsTheLoop) {
    Poster poster;
    loop.SetMainHandler(&poster);
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    loop.Inject(Event::Key(true, 'A'));
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_TRUE(loop.IsQuitting());
    // The command posted behind the quit request is never delivered.
    EXPECT_EQ(poster.log, (std::vector<std::string>{"after posting"}));
}

TEST_F(MessageLoopTest, ModalLoopTakesInputButRunsNoGameTick) {
    loop.SetTimer(5000, 50);
    Recorder popup;
    loop.PostCommand(171);  // waits until the popup has closed
    int n = 0;
    loop.SetIdleHook([&]() {
        // Time passes while the popup is up; the frame's timer stays silent.
        clock.Advance(50);
        switch (n++) {
            case 0:
                loop.Inject(Event::Key(true, 'Y'));
                return true;
            case 1:
                loop.Inject(Event::Tick(5000));
                return true;
            case 2:
                loop.Inject({EventKind::ActivateApp, 0, {}});
                return true;
            case 3:
                popup.done = true;
                return true;
            default:
                return false;
        }
    });
    loop.RunModal(popup);
    EXPECT_EQ(popup.log, (std::vector<std::string>{"kd89"}));
    EXPECT_EQ(frame.log, (std::vector<std::string>{"off"}));
    EXPECT_GE(popup.draws, 4);
    EXPECT_EQ(loop.ModalDepth(), 0);
    loop.PumpAll();
    // The waiting command comes first, then the game ticks again.
    EXPECT_EQ(frame.log, (std::vector<std::string>{"off", "c171", "t5000"}));
}

TEST_F(MessageLoopTest, PopupTimersRunUnderThePopupAndQuitEndsTheModalLoop) {
    Recorder popup;
    int ticks = 0;
    loop.SetIdleHook([&]() {
        clock.Advance(17);
        if (++ticks == 10) loop.PostQuit(0);
        return true;
    });
    loop.SetTimer(77, 17, &popup);
    loop.RunModal(popup);
    EXPECT_TRUE(loop.IsQuitting());
    EXPECT_FALSE(popup.done);
    EXPECT_EQ(std::count(popup.log.begin(), popup.log.end(), "t77"), 9);
    loop.Forget(&popup);
    EXPECT_FALSE(loop.HasTimer(77));
}

TEST_F(MessageLoopTest, NestedPopupsTakeTheInputInTurn) {
    Recorder outer, inner;
    loop.Inject(Event::Key(true, '1'));
    int step = 0;
    loop.SetIdleHook([&]() {
        switch (step++) {
            case 0:
                loop.RunModal(inner);  // a popup opened from a popup
                return true;
            case 1:
                inner.done = true;
                return true;
            case 2:
                loop.Inject(Event::Key(true, '3'));
                return true;
            case 3:
                outer.done = true;
                return true;
            default:
                return false;
        }
    });
    loop.Inject(Event::Key(true, '2'));
    loop.RunModal(outer);
    EXPECT_EQ(outer.log, (std::vector<std::string>{"kd49", "kd50", "kd51"}));
    EXPECT_TRUE(inner.log.empty());
}

TEST_F(MessageLoopTest, CapturedMouseGoesToTheHolder) {
    Recorder other;
    loop.SetCapture(&other);
    loop.Inject(Event::Mouse(EventKind::MouseMove, 700, 500));
    loop.Inject(Event::Key(true, 'K'));
    loop.PumpAll();
    EXPECT_EQ(other.log, (std::vector<std::string>{"mv700,500"}));
    EXPECT_EQ(frame.log, (std::vector<std::string>{"kd75"}));
    loop.ReleaseCapture();
    EXPECT_EQ(loop.GetCapture(), nullptr);
}

TEST_F(MessageLoopTest, PeekLeavesInputWaiting) {
    loop.Inject(Event::Mouse(EventKind::MouseMove, 1, 1));
    loop.Inject(Event::Mouse(EventKind::LButtonUp, 1, 1));
    EXPECT_TRUE(loop.PeekInput(EventKind::LButtonUp));
    EXPECT_FALSE(loop.PeekInput(EventKind::RButtonUp));
    EXPECT_EQ(loop.PumpAll(), 2);
    EXPECT_FALSE(loop.PeekInput(EventKind::LButtonUp));
}

TEST_F(MessageLoopTest, WaitForKeysUsesTheClockAndLeavesOtherInput) {
    uint32_t start = clock.Now();
    EXPECT_FALSE(loop.WaitForKeys(500, {qv::VK_SPACE, qv::VK_ESCAPE}));
    EXPECT_EQ(clock.Now() - start, 500u);

    loop.Inject(Event::Key(true, 'A'));
    loop.Inject(Event::Key(true, qv::VK_ESCAPE));
    start = clock.Now();
    EXPECT_TRUE(loop.WaitForKeys(500, {qv::VK_SPACE, qv::VK_ESCAPE}));
    EXPECT_EQ(clock.Now(), start);
    loop.PumpAll();
    EXPECT_EQ(frame.log, (std::vector<std::string>{"kd65"}));
}

}  // namespace
