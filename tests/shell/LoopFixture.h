#pragma once
// A running frame for the game-loop tests: the screen opened on SDL's dummy
// driver, a world of 100 x 80 cells with its window at cell (10, 10) and every
// window cell filled, the root groups, and the focus on world cell (35, 34).
// Ticks are stepped by hand; nothing waits on a clock.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"

namespace looptest {

// Pixel position of world cell (cx, cy) plus an offset.
inline Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * 160 + dx, cy * 112 + dy, 0};
}

// A creature that notes its turns instead of taking them.
class Recorder : public Player {
public:
    Recorder(std::vector<std::string>* log, std::string name)
        : m_log(log), m_name(std::move(name)) {}
    int Update(int32_t now, MapMaster*) override {
        m_log->push_back(m_name);
        m_times.push_back(now);
        if (m_onTurn) m_onTurn();
        return m_answer;
    }
    std::vector<std::string>* m_log;
    std::string m_name;
    std::vector<int32_t> m_times;
    std::function<void()> m_onTurn;
    int m_answer = 1;
};

class LoopFixture : public ::testing::Test {
protected:
    LoopFixture() {
        qv::MessageLoop::Instance().Reset();
        frame = std::make_unique<CMainFrame>();
        EXPECT_EQ(frame->InitDirectDraw(0), 1);
        frame->m_World.map_master = std::make_unique<MapMaster>();
        map = frame->m_World.map_master.get();
        map->SetWorldSize(100, 80);
        map->SetOrigin({10, 10});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map->GetCell(i, j).image = &floor;
        frame->m_World.CreateRootGroups();
        const Position focus = At(35, 34);
        frame->m_World.m_ptFocus = {focus.x, focus.y};
        frame->m_iStage = 3;
    }
    ~LoopFixture() override {
        frame.reset();
        qv::MessageLoop::Instance().Reset();
    }

    // The first tick sets up play; the ones after it run it.
    void Start() {
        frame->RunTick();
        ASSERT_EQ(frame->m_Play.m_iStartState, 0);
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) frame->RunTick();
    }
    Group* NewGroup() {
        auto* g = new Group;
        g->SetGroupNumber(-1);
        frame->m_World.m_pAllGroups->AddMember(g);
        return g;
    }
    Recorder* NewRecorder(Group* group, const std::string& name) {
        auto* r = new Recorder(&log, name);
        group->AddMember(r);
        return r;
    }
    // The party's leader, alone in a group of its own.
    Recorder* NewLeader() {
        Recorder* leader = NewRecorder(NewGroup(), "leader");
        frame->m_World.m_pLeader = leader;
        return leader;
    }

    CDDObject floor;
    std::unique_ptr<CMainFrame> frame;
    MapMaster* map = nullptr;  // the world's
    std::vector<std::string> log;
};

}  // namespace looptest
