// Tearing the world down: a populated world, map, groups, party, key records
// and events go cleanly in the world's own order and in awkward ones (run
// under the address sanitizer, a dangling reference fails the test).

#include <gtest/gtest.h>

#include <memory>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "items/Bag.h"
#include "items/Spell.h"
#include "structures/Fixtures.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

Position At(int cx, int cy) {
    return {cx * 160 + 80, cy * 112 + 56, 0};
}

// A small world: two groups of placed creatures, a party, a light, a door and
// a lever under one key, a bag with things in it, queued events aimed at other
// creatures, a walk target and a scripted event. The world is the test's to
// delete, and its map may go before it.
struct Populated {
    CDDObject floor;
    World* world = new World;
    MapMaster* map = &world_test::GiveMap(*world);  // the world's
    Group* first = nullptr;
    Group* second = nullptr;
    Player* a = nullptr;
    Player* b = nullptr;
    Player* c = nullptr;
    ObjectHolder* lightHolder = nullptr;
    ObjectHolder* doorHolder = nullptr;

    Populated() {
        map->SetWorldSize(100, 80);
        map->SetOrigin({10, 10});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map->GetCell(i, j).image = &floor;
        world->CreateRootGroups();
        first = new Group;
        first->SetGroupNumber(-1);
        second = new Group;
        second->SetGroupNumber(-1);
        world->m_pAllGroups->AddMember(first);
        world->m_pAllGroups->AddMember(second);

        a = Creature(first, At(20, 20), 0);
        b = Creature(first, At(22, 20), 1);
        c = Creature(second, At(24, 20), 2);
        world->m_Party[0] = a;
        world->m_Party[1] = b;
        world->m_pLeader = a;
        world->m_pControlPlayer = a;
        first->m_pGroupLeader = a;

        auto* light = new LightSource;
        lightHolder = Place(light, At(21, 22));
        auto* door = new SideDoorBrick;
        door->m_iItemNum = 3;
        world->AddToKeyStorage(door);
        doorHolder = Place(door, At(23, 22));
        auto* lever = new Lever;
        lever->m_iItemNum = 3;
        world->AddToKeyStorage(lever);
        Place(lever, At(25, 22));

        a->m_pBag->AddItem(new Object("Coin"));
        a->m_pBag->AddItem(new CBag("Pouch"));
        a->m_pBag->SetItemCount(2);
        a->Events().Post(ObjectEventType::ATTACK, 100, c);
        c->Events().PostSpell(50, a, std::make_unique<Spell>());
        c->Events().Post(ObjectEventType::TALK, 60, b);
        a->m_pTarget = c;
        a->m_Opponents.emplace_back(c);
        c->m_Opponents.emplace_back(a);
        c->m_iMemberSpare = b;

        // Walks: one to the light, one to a bare point that lives as long
        // as somebody heads for it.
        a->JoinPlayerSet(lightHolder);
        b->JoinPlayerSet(lightHolder);
        c->JoinPlayerSet(new ObjectHolder(At(30, 30), nullptr));
        world->m_pHoverHolder = c->m_pHolder;
        world->m_EventList.push_back(std::make_unique<CTalkEvent>("HELLO", 1));
    }

    Player* Creature(Group* group, Position pos, int number) {
        auto* p = new Player;
        p->SetPlayerNumber(number);
        group->AddMember(p);
        Place(p, pos);
        return p;
    }
    ObjectHolder* Place(Object* obj, Position pos) {
        auto* holder = new ObjectHolder(pos, obj);
        EXPECT_EQ(map->AddHolder(pos, holder), 1);
        return holder;
    }
};

TEST(WorldTeardown, TheWorldGoesWithItsMap) {
    Populated w;
    ASSERT_EQ(w.map->GetLightHolders().size(), 1u);
    ASSERT_EQ(w.world->m_KeyStorageList.size(), 1u);
    delete w.world;
}

TEST(WorldTeardown, TheMapGoesBeforeTheWorld) {
    Populated w;
    qv::Handle<Player> a(w.a);
    w.world->map_master.reset();
    // The world no longer names the map, and the creatures went with it
    // (each leaving its group, the player array and the party).
    EXPECT_EQ(w.world->map_master, nullptr);
    EXPECT_FALSE(a);
    EXPECT_EQ(w.first->GetMemberCount(), 0);
    EXPECT_EQ(w.world->m_PlayerArray[0], nullptr);
    EXPECT_FALSE(w.world->m_Party[0]);
    EXPECT_FALSE(w.world->m_pHoverHolder);
    delete w.world;
}

TEST(WorldTeardown, ACreatureDeletedBeforeItsGroupLeavesTheMap) {
    Populated w;
    ObjectHolder* hc = w.c->m_pHolder;
    qv::Handle<ObjectHolder> holder(hc);
    ASSERT_TRUE(w.map->IsListedAnywhere(hc));
    delete w.c;
    // Its holder left every cell and went with it; the events and opponents
    // that named the creature read nothing.
    EXPECT_FALSE(holder);
    EXPECT_EQ(w.second->GetMemberCount(), 0);
    EXPECT_EQ(w.a->Events().At(1).m_pObject.Get(), nullptr);
    EXPECT_FALSE(w.a->m_pTarget);
    EXPECT_FALSE(w.a->m_Opponents[0]);
    EXPECT_FALSE(w.world->m_pHoverHolder);
    delete w.world;
}

TEST(WorldTeardown, AHolderDeletedBeforeItsObjectsGroupRemovesIt) {
    Populated w;
    ObjectHolder* ha = w.a->m_pHolder;
    delete ha;
    // The cells no longer name it and the creature no longer points at it.
    EXPECT_EQ(w.a->m_pHolder, nullptr);
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j)
            EXPECT_FALSE(w.map->GetCell(i, j).holders.Find(ha));
    // The light's holder goes while two creatures head for it (the light is
    // not the holder's to delete).
    std::unique_ptr<Object> light(w.lightHolder->m_pObject);
    delete w.lightHolder;
    EXPECT_EQ(light->m_pHolder, nullptr);
    EXPECT_EQ(w.a->m_pPlayerSet, nullptr);
    EXPECT_EQ(w.b->m_pPlayerSet, nullptr);
    EXPECT_TRUE(w.map->GetLightHolders().empty());
    delete w.world;
}

TEST(WorldTeardown, APlacedObjectDeletedWhileCreaturesHeadForItLeavesABareTarget) {
    Populated w;
    Object* door = w.doorHolder->m_pObject;
    w.a->JoinPlayerSet(w.doorHolder);
    qv::Handle<ObjectHolder> holder(w.doorHolder);
    delete door;
    // Off the map but kept for the creature walking to it, until it leaves.
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->m_pObject, nullptr);
    EXPECT_FALSE(w.map->IsListedAnywhere(holder.Get()));
    EXPECT_EQ(w.world->m_KeyStorageList[0]->m_ObjectList.size(), 1u);  // the lever
    w.a->LeavePlayerSet();
    EXPECT_FALSE(holder);
    delete w.world;
}

TEST(WorldTeardown, GroupsDeletedInAwkwardOrders) {
    Populated w;
    // A nested group deleted while its parent and the table name it.
    const int32_t number = w.second->m_iOwnGroupNum;
    delete w.second;
    EXPECT_EQ(w.world->GetGroupByNumber(number), nullptr);
    EXPECT_EQ(w.world->m_pAllGroups->GetMemberCount(), 2);  // first and random encounters
    // A member of the remaining group goes before it, then the root by hand.
    delete w.b;
    EXPECT_EQ(w.first->GetMemberCount(), 1);
    delete w.world->m_pAllGroups;
    EXPECT_EQ(w.world->m_pAllGroups, nullptr);
    EXPECT_EQ(w.world->m_pRandomEncounters, nullptr);
    delete w.world;
}

}  // namespace
