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
#include "world/MapFixture.h"

namespace interact_test {

using looptest::At;

// A thing that counts how it is worked and used, and accepts anyone.
class Thing : public Object {
public:
    explicit Thing(const std::string& name = "Thing", int type = 0) : Object(name), m_type(type) {
        ++live;
    }
    ~Thing() override { --live; }
    Thing(const Thing&) = delete;
    Thing& operator=(const Thing&) = delete;
    static inline int live = 0;  // things in existence
    int Type() override { return m_type; }
    int CanBeUsedBy(Player*) override { return 1; }
    int Activate(int*, Player*) override { return ++activations, activateAnswer; }
    int Edit() override { return ++edits, editAnswer; }
    int Use(Player*, Object* target) override {
        usedOn = target;
        return ++uses, useAnswer;
    }
    Object* Clone() override {
        auto* copy = new Thing(m_strSpecialName, m_type);
        copy->m_iBulkNum = m_iBulkNum;
        copy->m_bStackable = m_bStackable;
        return copy;
    }
    int m_type;
    int activations = 0;
    int activateAnswer = 1;
    int edits = 0;
    int editAnswer = 0;
    int uses = 0;
    int useAnswer = 0;
    Object* usedOn = nullptr;
};

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
