// What the frame asks of build mode's tools, and when: the palette opened by
// the first tick, refreshed with 0 by every tick and with 1 by painting while
// editing, the mouse over the palette handed to it, and a double click in the
// view while editing without a leader asking it to put down its material.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LoopFixture.h"
#include "platform/Message.h"
#include "shell/BuildTools.h"

using namespace looptest;

namespace {

struct CountingTools : CBuildTools {
    CountingTools() { SetBuildTools(this); }
    ~CountingTools() override { SetBuildTools(nullptr); }
    int RunWorldCreation() override { return calls.push_back("create"), 1; }
    void OpenToolPalette(Player*) override { calls.push_back("open"); }
    void Refresh(int fromPaint) override {
        calls.push_back("refresh " + std::to_string(fromPaint));
    }
    bool OnPaletteInput(const qv::Event& e) override {
        calls.push_back("input " + std::to_string(e.pt.x));
        return e.pt.x >= 640;
    }
    bool PlaceChosenMaterial(qv::Point) override {
        calls.push_back("place");
        return chosen;
    }
    std::vector<std::string> calls;
    bool chosen = false;
};

class BuildTools : public LoopFixture {
protected:
    CountingTools tools;
};

}  // namespace

TEST_F(BuildTools, TheFirstTickOpensThePaletteAndEachTickRefreshesIt) {
    struct Row {
        const char* rule;
        int build;
        std::vector<std::string> want;
    };
    const Row rows[] = {
        {"build mode: opened, then refreshed by this tick and the next",
         1,
         {"open", "refresh 0", "refresh 0"}},
        {"play mode: never asked", 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        tools.calls.clear();
        frame->m_Play.m_iStartState = 1;
        frame->m_bBuildMode = r.build;
        Start();
        Ticks(1);
        EXPECT_EQ(tools.calls, r.want);
    }
}

TEST_F(BuildTools, PaintingRefreshesThePaletteOnlyWhileEditing) {
    frame->m_bBuildMode = 1;
    Start();
    using Calls = std::vector<std::string>;
    for (auto [editing, want] : {std::pair{1, Calls{"refresh 1"}}, std::pair{0, Calls{}}}) {
        SCOPED_TRACE(editing ? "editing" : "not editing");
        tools.calls.clear();
        frame->m_Play.Editor().SetEditing(editing != 0);
        frame->OnPaint();
        EXPECT_EQ(tools.calls, want);
    }
}

TEST_F(BuildTools, TheMouseOverThePaletteIsThePalettesAlone) {
    frame->m_bBuildMode = 1;
    Start();
    // A press over the palette never reaches the frame: no held button.
    struct Row {
        const char* rule;
        int x;
        int held;  // the frame took the press
    };
    const Row rows[] = {
        {"over the palette", 700, 0},
        {"at its left edge", 640, 0},
        {"left of it, in the view: the frame's", 500, 1},
    };
    frame->m_World.m_pLeader = NewLeader();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        tools.calls.clear();
        frame->m_bLeftHeld = 0;
        frame->OnLButtonDown({r.x, 100});
        EXPECT_EQ(tools.calls, (std::vector<std::string>{"input " + std::to_string(r.x)}));
        EXPECT_EQ(frame->m_bLeftHeld, r.held);
        frame->OnLButtonUp({r.x, 100});
    }
}

TEST_F(BuildTools, ADoubleClickInTheViewPutsDownThePalettesMaterialOrAsksWhich) {
    frame->m_bBuildMode = 1;
    Start();
    frame->m_Play.Editor().SetEditing(true);
    struct Row {
        const char* rule;
        bool chosen;
        std::vector<std::string> said;
    };
    const Row rows[] = {
        {"a material chosen: put down", true, {}},
        {"none chosen: the builder is asked", false, {"Which Material is Selected???"}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        tools.calls.clear();
        tools.chosen = r.chosen;
        frame->m_World.m_pHoverHolder = nullptr;
        frame->OnLButtonDblClk({200, 150});
        EXPECT_EQ(tools.calls, (std::vector<std::string>{"input 200", "place"}));
        EXPECT_EQ(std::vector<std::string>(messages.shown.begin(), messages.shown.end()), r.said);
    }
}
