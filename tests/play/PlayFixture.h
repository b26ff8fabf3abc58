#pragma once
// A World and a Play of its own, without a frame: a map of 100 x 80 cells whose
// window starts at world cell (10, 10), the root groups, a party group, and
// answers to play's questions given by the test.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "play/Play.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Map.h"

namespace play_test {

// Pixel position of world cell (cx, cy) plus an offset.
inline Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * 160 + dx, cy * 112 + dy, 0};
}

// The player's answers, given in order; every question is kept.
class ScriptedAsk : public AskPlayer {
public:
    int Quantity(int amount) override {
        asked.push_back("quantity " + std::to_string(amount));
        if (quantities.empty()) return 0;
        const int n = quantities.front();
        quantities.pop_front();
        return n;
    }
    bool YesNo(const std::string& question) override {
        asked.push_back(question);
        if (yes.empty()) return false;
        const bool answer = yes.front();
        yes.pop_front();
        return answer;
    }
    void Tell(const std::string& text) override { told.push_back(text); }

    std::deque<int> quantities;
    std::deque<bool> yes;
    std::vector<std::string> asked, told;
};

class PlayFixture : public ::testing::Test {
protected:
    PlayFixture() {
        small.world.CreateRootGroups();
        party = new Group;
        party->SetGroupNumber(-1);
        small.world.m_pAllGroups->AddMember(party);
        play.m_pAsk = &ask;
    }
    ~PlayFixture() override { small.world.DeleteGroups(); }

    // A party member in slot `slot`, placed at pos; the first is controlled.
    Player* PlaceMember(int slot, const Position& pos) {
        auto* p = new Player;
        party->AddMember(p);
        p->m_Position = pos;
        Lay(p, pos);
        p->m_iPartySlot = slot;
        world.m_Party[static_cast<size_t>(slot)] = p;
        if (!world.m_pControlPlayer) world.m_pControlPlayer = p;
        return p;
    }
    // The focus on world cell (cx, cy), at its centre.
    void FocusOn(int cx, int cy) {
        const Position f = At(cx, cy);
        world.m_ptFocus = {f.x, f.y};
    }
    // A thing placed on the map at pos; the map owns it.
    ObjectHolder* Lay(Object* thing, const Position& pos) {
        auto* h = new ObjectHolder(pos, thing);
        Position at = pos;
        EXPECT_EQ(map.AddHolder(at, h), 1);
        return h;
    }

    world_test::SmallWorld small;
    World& world = small.world;
    MapMaster& map = small.map;
    Play play{world};
    ScriptedAsk ask;
    Group* party = nullptr;
};

}  // namespace play_test
