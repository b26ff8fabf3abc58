// Groups and the map: placed members leave the map before they are deleted.

#include <gtest/gtest.h>

#include "MapFixture.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

class GroupMapTest : public maptest::MapFixture {
protected:
    GroupMapTest() { world.CreateRootGroups(); }
    ~GroupMapTest() override { world.DeleteGroups(); }
    // A member placed on the map through a holder of its own.
    Member* Placed(Position pos) {
        auto* m = new Member;
        auto* holder = new ObjectHolder(pos, m);
        EXPECT_EQ(map.AddHolder(pos, holder), 1);
        return m;
    }
};

TEST_F(GroupMapTest, RemoveFromMapTakesHoldersOffTheMap) {
    Member* a = Placed(At(20, 20));
    Member* b = Placed(At(21, 20));
    auto* inner = new Group;
    inner->AddMember(b);
    Group* g = new Group;
    g->AddMember(a);
    g->AddMember(inner);
    world.m_pAllGroups->AddMember(g);
    ObjectHolder* ha = a->m_pHolder;
    ObjectHolder* hb = b->m_pHolder;
    ASSERT_EQ(CountListings(ha), 1);
    ASSERT_EQ(CountListings(hb), 1);
    g->RemoveFromMap();
    // Both holders are gone from every cell (and deleted: ASan would see a
    // cell still listing them when the map is torn down).
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) EXPECT_EQ(map.GetCell(i, j).holders.Count(), 0u);
    EXPECT_EQ(g->GetMemberCount(), 0);
}

TEST_F(GroupMapTest, AnEmptiedGroupWithPlacedMembersGoesCleanly) {
    Member* a = Placed(At(20, 20));
    Group* g = new Group;
    g->m_bGrouped = 1;
    g->AddMember(a);
    world.m_pAllGroups->AddMember(g);
    // The frame's teardown removes the whole tree while the map still stands.
    world.DeleteGroups();
    EXPECT_EQ(world.m_pAllGroups, nullptr);
    EXPECT_EQ(world.m_pRandomEncounters, nullptr);
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) EXPECT_EQ(map.GetCell(i, j).holders.Count(), 0u);
}

}  // namespace
