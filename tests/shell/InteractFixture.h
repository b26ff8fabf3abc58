#pragma once
// A running frame whose popups answer the keys a test injects: creatures,
// things and wall pieces placed on its map, a party member to give orders to.

#include <memory>
#include <string>

#include "LoopFixture.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "platform/Events.h"
#include "platform/MessageLoop.h"
#include "play/CountingThing.h"
#include "world/MapFixture.h"

namespace interact_test {

using looptest::At;

using play_test::Beside;
using play_test::Thing;

class InteractFixture : public looptest::LoopFixture {
protected:
    InteractFixture() {
        loop.SetClock(&clock);
        loop.SetSource(nullptr);
        party = NewGroup();
    }

    // A creature of `group` placed at pos.
    Player* PlaceCreature(Group* group, const Position& pos) {
        auto* p = new Player;
        group->AddMember(p);
        Position at = pos;
        EXPECT_EQ(map->AddHolder(at, new ObjectHolder(pos, p)), 1);
        return p;
    }
    // A party member in slot `slot`, placed at pos; the first is controlled.
    Player* PlaceMember(int slot, const Position& pos) {
        Player* p = PlaceCreature(party, pos);
        p->m_iPartySlot = slot;
        frame->m_World.m_Party[static_cast<size_t>(slot)] = p;
        if (!frame->m_World.m_pControlPlayer) frame->m_World.m_pControlPlayer = p;
        return p;
    }
    // An object placed at pos; the map owns it.
    template <class T>
    T* PlaceThing(T* object, const Position& pos) {
        Position at = pos;
        EXPECT_EQ(map->AddHolder(at, new ObjectHolder(pos, object)), 1);
        return object;
    }
    void MoveTo(Player* p, const Position& to) {
        ASSERT_EQ(map->MoveHolder(p->m_pHolder->pos, to, p->m_pHolder), 1);
        p->m_Position = p->m_pHolder->pos;
    }
    void Key(int vk) { loop.Inject(qv::Event::Key(true, vk)); }

    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    qv::ManualClock clock;
    Group* party = nullptr;
};

}  // namespace interact_test
