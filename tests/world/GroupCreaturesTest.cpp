// Groups of creatures: finding creatures by number, formation, hostility and
// placing a group into the world.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "MapFixture.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/UnusedNumbers.h"
#include "world/World.h"

namespace {

Player* Creature(int32_t id) {
    auto* p = new Player;
    p->m_iPlayerNumber = id;
    return p;
}

// A group holding the given members in list order.
Group* GroupOf(std::vector<Member*> members, int32_t grouped = 0) {
    auto* g = new Group;
    g->m_bGrouped = grouped;
    for (auto it = members.rbegin(); it != members.rend(); ++it) g->AddMember(*it);
    return g;
}

TEST(ResolveActor, ArrayBoundsAndRandomEncounterIds) {
    EXPECT_EQ(ResolveActor(0), nullptr);  // no frame
    World world;
    world.CreateRootGroups();
    Player* p0 = Creature(0);
    Player* p2 = Creature(2);
    world.m_pAllGroups->AddMember(GroupOf({p0, p2}));
    world.m_PlayerArray = {p0, nullptr, p2};
    EXPECT_EQ(ResolveActor(0), p0);
    EXPECT_EQ(ResolveActor(1), nullptr);
    EXPECT_EQ(ResolveActor(2), p2);
    EXPECT_EQ(ResolveActor(3), nullptr);  // the array's size
    EXPECT_EQ(ResolveActor(1000000), nullptr);

    // -7 is searched among the random encounters, nested groups included, in
    // list order: the nested group before the later direct member.
    Player* deep = Creature(-7);
    Player* later = Creature(-7);
    Group* nested = GroupOf({Creature(-3), GroupOf({deep})});
    world.m_pRandomEncounters->AddMember(later);
    world.m_pRandomEncounters->AddMember(nested);  // at the head
    EXPECT_EQ(ResolveActor(-7), deep);
    EXPECT_EQ(ResolveActor(-3), nested->Members().front());
    EXPECT_EQ(ResolveActor(-8), nullptr);
    // Creatures outside "Random Encounters" are not found by id.
    world.m_pAllGroups->AddMember(GroupOf({Creature(-9)}));
    EXPECT_EQ(ResolveActor(-9), nullptr);
    EXPECT_EQ(FindMemberById(world.m_pAllGroups, -9)->m_iPlayerNumber, -9);
    EXPECT_EQ(FindMemberById(nullptr, -9), nullptr);
    world.m_PlayerArray.clear();
}

TEST(GroupCreatures, ContainsByMemberId) {
    Player* a = Creature(5);
    Player* u = Creature(-1);
    std::unique_ptr<Group> g(GroupOf({a, GroupOf({u})}));
    Player sameNumber;
    sameNumber.m_iPlayerNumber = 5;
    Player unnumbered;
    EXPECT_EQ(g->Contains(a), 1);
    EXPECT_EQ(g->Contains(u), 1);
    EXPECT_EQ(g->Contains(&sameNumber), 1);
    EXPECT_EQ(g->Contains(&unnumbered), 0);  // -1 is no number
}

TEST(GroupCreatures, BusyAndInvisibleMembers) {
    Player* a = Creature(-1);
    Player* b = Creature(-2);
    Group* inner = GroupOf({b});
    std::unique_ptr<Group> g(GroupOf({a, inner}));
    EXPECT_EQ(g->HasBusyMember(), 0);
    b->m_iLight = 1;
    EXPECT_EQ(g->HasBusyMember(), 1);
    b->m_iLight = 0;
    b->m_bLevitating = 1;
    EXPECT_EQ(g->HasBusyMember(), 1);

    EXPECT_EQ(g->AllMembersFlagged(), 0);
    a->m_bInvisible = 1;
    EXPECT_EQ(g->AllMembersFlagged(), 0);  // b in the nested group is seen
    b->m_bInvisible = 1;
    EXPECT_EQ(g->AllMembersFlagged(), 1);
    EXPECT_EQ(Group().AllMembersFlagged(), 1);
}

TEST(GroupCreatures, FormationPositionAndFollowPoints) {
    World world;
    world.CreateRootGroups();
    Player* leader = Creature(0);
    Player* second = Creature(1);
    Player* stranger = Creature(2);
    Group* g = GroupOf({leader, second, stranger});
    world.m_pAllGroups->AddMember(g);
    EXPECT_EQ(g->GetFormationPosition(second), (qv::Point{-1, -1}));

    g->m_pGroupLeader = leader;
    leader->m_Position = Position(500, 300);
    EXPECT_EQ(g->GetFormationPosition(stranger), (qv::Point{500, 300}));
    EXPECT_EQ(stranger->m_ptFollow, (qv::Point{500, 300}));

    // A party member of the frame's leader follows the leader's own place
    // (its thinking adds its slot's entry to where it heads); the leader
    // itself stands off it by its own slot's entry for its facing: facing 7
    // is row 3.
    world.m_pLeader = leader;
    world.m_Party[0] = leader;
    world.m_Party[2] = second;
    leader->m_sFacing = 7;
    world.m_FormationRows[3][2] = {25, -25};
    world.m_FormationRows[3][0] = {4, 2};
    EXPECT_EQ(g->GetFormationPosition(second), (qv::Point{500, 300}));
    EXPECT_EQ(g->GetFormationPosition(leader), (qv::Point{496, 298}));

    // Each tick the group sets its creatures' follow points before their turns.
    leader->m_Position = Position(600, 300);
    leader->m_bInactive = second->m_bInactive = stranger->m_bInactive = 1;
    g->Update(0, nullptr);
    EXPECT_EQ(second->m_ptFollow, (qv::Point{600, 300}));
    EXPECT_EQ(stranger->m_ptFollow, (qv::Point{600, 300}));
}

TEST(GroupCreatures, ALeaderThatDiesIsForgotten) {
    Player* leader = Creature(3);
    Player* other = Creature(4);
    std::unique_ptr<Group> g(GroupOf({leader, other}));
    g->m_pGroupLeader = leader;
    g->m_iLeaderId = 3;
    delete leader;
    EXPECT_FALSE(g->m_pGroupLeader);
    EXPECT_EQ(g->GetFormationPosition(other), (qv::Point{-1, -1}));
    EXPECT_EQ(g->Update(0, nullptr), 1);
}

TEST(GroupCreatures, CopiesAndTheirLeader) {
    Player* a = Creature(-1);
    Player* b = Creature(-2);
    a->SetName("a");
    b->SetName("b");
    std::unique_ptr<Group> g(GroupOf({a, b}));
    g->m_pGroupLeader = b;
    g->m_iGroupTag = 9;
    std::unique_ptr<Group> copy(static_cast<Group*>(g->Clone()));
    // Each copy is added at the head, so the copy lists them the other way round.
    ASSERT_EQ(copy->GetMemberCount(), 2);
    EXPECT_EQ(copy->Members().front()->m_strSpecialName, "b");
    EXPECT_EQ(copy->Members().back()->m_strSpecialName, "a");
    EXPECT_EQ(copy->m_pGroupLeader.Get(), copy->Members().front());
    EXPECT_EQ(copy->m_iGroupTag, 9);
}

TEST(GroupCreatures, HostileModeAndOpponents) {
    Player* a = Creature(-1);
    Player* b = Creature(-2);
    std::unique_ptr<Group> g(GroupOf({a, GroupOf({b})}));
    Player foe;
    a->m_Opponents.emplace_back(&foe);
    foe.m_Opponents.emplace_back(a);
    g->SetHostileMode(1, nullptr);
    EXPECT_EQ(a->m_iHostileMode, 1);
    EXPECT_EQ(b->m_iHostileMode, 1);
    EXPECT_EQ(b->m_iActionOption, ActionOption::Attack);
    g->SetHostileMode(0, nullptr);
    EXPECT_EQ(a->m_iHostileMode, 0);
    EXPECT_EQ(b->m_iActionOption, ActionOption::Attack);  // kept
    EXPECT_TRUE(a->m_Opponents.empty());
    EXPECT_TRUE(foe.m_Opponents.empty());
}

TEST(GroupCreatures, HostilitySearchNeedsTheSearchersGroup) {
    Group g;
    Player loner;
    qv::ScriptedMessages answers({qv::MessageAnswer::Retry});
    EXPECT_EQ(g.UpdateHostility(&loner), 0);
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_NE(answers.shown[0].find("pGroupSearching != NULL"), std::string::npos);
}

// ---- placing groups into the world ----

class AddToWorldTest : public maptest::MapFixture {
protected:
    AddToWorldTest() {
        world.CreateRootGroups();
        world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1000, -1, 0);
        world.m_pPathFinder = &paths;
        qv::SeedRand(1);
    }
    ~AddToWorldTest() override {
        world.m_pPathFinder = nullptr;
        world.DeleteGroups();
    }
    // A creature already standing on the map at `at`.
    Player* PlacedCreature(Position at) {
        Player* p = Creature(-1);
        p->m_Position = at;
        auto* holder = new ObjectHolder(at, p);
        EXPECT_EQ(map.AddHolder(at, holder), 1);
        return p;
    }
    // The cells of the moves the creature's list of scripted moves was
    // filled with.
    static std::vector<qv::Point> Filled(Player* p) {
        std::vector<qv::Point> cells;
        for (const auto& m : p->m_MoveList)
            if (auto* to = qv::DynamicCast<PlayerMoveTo>(m.get())) cells.push_back({to->x, to->y});
        return cells;
    }
    world_test::TestPaths paths;
};

TEST_F(AddToWorldTest, NumbersPlacesAndPatrols) {
    paths.reaches = nullptr;  // no path finder
    Player* a = Creature(-1);
    Player* b = Creature(-1);
    a->m_Position = At(20, 20, 0, 0);
    b->m_Position = At(22, 20, 0, 0);
    Group* inner = GroupOf({b});
    Group* g = GroupOf({a, inner});
    world.m_pRandomEncounters->AddMember(GroupOf({}));  // carries -1: no clash
    auto* taken = new Group;
    taken->m_iOwnGroupNum = -2;
    world.m_pRandomEncounters->AddMember(taken);

    g->AddToWorld(80, 56, 1);
    EXPECT_EQ(g->m_iOwnGroupNum, -3);  // -2 is taken
    EXPECT_EQ(g->m_pGroup, world.m_pRandomEncounters);
    // The lowest ids of the pool, in list order.
    EXPECT_EQ(a->m_iPlayerNumber, -1000);
    EXPECT_EQ(b->m_iPlayerNumber, -999);
    EXPECT_EQ(a->m_iGroupNum, -3);
    EXPECT_EQ(inner->m_iGroupNum, -3);
    // Placed at their positions moved by (dx, dy), the map's position copied back.
    ASSERT_NE(a->m_pHolder, nullptr);
    EXPECT_EQ(a->m_Position, At(20, 20));
    EXPECT_EQ(a->m_pHolder->pos, a->m_Position);
    EXPECT_EQ(CountListings(a->m_pHolder), 1);
    // Without a path finder the home cell is the only patrol point; it is
    // kept as a cell of the world.
    const CellPoint home = MapMaster::PixelToCell(a->m_Position);
    EXPECT_EQ(a->m_ptStay, home);
    EXPECT_EQ(Filled(a), (std::vector<qv::Point>{home}));
}

TEST_F(AddToWorldTest, PatrolPointsAreReachableCellsOfTheSameRoom) {
    Player* a = Creature(-1);
    a->m_Position = At(30, 30);
    std::unique_ptr<Group> g(GroupOf({a}));
    paths.reaches = [](MapMaster&, qv::Point, qv::Point to) { return to.x % 2 == 0; };
    CellPoint home;
    ASSERT_TRUE(map.WindowCellOf(a->m_Position, home));
    // The cells west of the home are another room.
    for (int i = 0; i < home.x; ++i)
        for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).room = 4;
    g->AddToWorld(0, 0, 0);
    // The cells come back as cells of the world (the window starts at 10, 10).
    const CellPoint worldHome{home.x + 10, home.y + 10};
    const auto cells = Filled(a);
    ASSERT_GE(cells.size(), 3u);  // the home and 2 to 4 more
    ASSERT_LE(cells.size(), 5u);
    EXPECT_EQ(cells.back(), worldHome);  // each new one goes in front
    for (size_t i = 0; i + 1 < cells.size(); ++i) {
        EXPECT_GE(cells[i].x, worldHome.x);
        EXPECT_EQ((cells[i].x - 10) % 2, 0);  // the path test's even window columns
        EXPECT_LE(std::abs(cells[i].y - worldHome.y), 5);
        EXPECT_EQ(std::count(cells.begin(), cells.end(), cells[i]), 1);
    }
    g->RemoveFromMap();
}

TEST_F(AddToWorldTest, CreaturesWithoutAnIdOrAPlaceAreDropped) {
    world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1, -1, 0);
    Player* placed = PlacedCreature(At(20, 20));
    ObjectHolder* holder = placed->m_pHolder;
    Player* second = Creature(-1);
    qv::Handle<Player> hSecond(second);
    std::unique_ptr<Group> g(GroupOf({placed, second}));
    g->AddToWorld(0, 0, 0);
    // The already placed creature took the one id and was moved in place; the
    // second got none and went, leaving nothing on the map.
    EXPECT_EQ(placed->m_iPlayerNumber, -1);
    EXPECT_FALSE(hSecond);
    EXPECT_EQ(g->GetMemberCount(), 1);

    // A creature that the map refuses (outside the window) gives its id back.
    world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1, -1, 0);
    Player* far = Creature(-1);
    far->m_Position = At(90, 70);
    qv::Handle<Player> hFar(far);
    std::unique_ptr<Group> g2(GroupOf({far}));
    g2->AddToWorld(0, 0, 0);
    EXPECT_FALSE(hFar);
    EXPECT_EQ(world.m_pUnusedNumbers->GetCount(), 1);
    g->RemoveFromMap();
    EXPECT_EQ(CountListings(holder), 0);
}

TEST_F(AddToWorldTest, APlacedCreatureWithoutAnIdLeavesTheMapBeforeItGoes) {
    world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(0, -1, 0);
    Player* placed = PlacedCreature(At(20, 20));
    ASSERT_NE(placed->m_pHolder, nullptr);
    qv::Handle<Player> hPlaced(placed);
    std::unique_ptr<Group> g(GroupOf({placed}));
    g->AddToWorld(0, 0, 0);
    EXPECT_FALSE(hPlaced);
    EXPECT_EQ(g->GetMemberCount(), 0);
    // No cell lists the holder any more (ASan would catch a freed one).
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) EXPECT_EQ(map.GetCell(i, j).holders.Count(), 0u);
}

TEST_F(AddToWorldTest, AllEncounterNumbersTakenLeavesMinusOne) {
    for (int32_t n = -2; n >= -999; --n) {
        auto* r = new Group;
        r->m_iOwnGroupNum = n;
        world.m_pRandomEncounters->AddMember(r);
    }
    std::unique_ptr<Group> g(new Group);
    g->AddToWorld(0, 0, 0);
    EXPECT_EQ(g->m_iOwnGroupNum, -1);
}

TEST(GroupCreatures, APartyRecordReadsBackInOrder) {
    World world;
    world.CreateRootGroups();
    // The party as the players file holds it: a self-contained group whose
    // creatures are stored inside it.
    Group party;
    party.m_bGrouped = 1;
    party.m_iOwnGroupNum = 1;
    party.m_iLeaderId = 234;
    const char* names[] = {"Hero", "Dog", "Friend"};
    const int32_t numbers[] = {234, 235, 236};
    for (int i = 2; i >= 0; --i) {
        Player* p = Creature(numbers[i]);
        p->SetName(names[i]);
        p->m_iHitPoints = 3 + i;
        p->m_bGrouped = 1;
        party.AddMember(p);
    }
    party.m_pGroupLeader = static_cast<Player*>(party.Members().front());

    auto back = record_test::LoadObject<Group>(record_test::StoreObject(party));
    EXPECT_EQ(back->m_pGroup, nullptr);
    EXPECT_EQ(back->m_iOwnGroupNum, 1);
    EXPECT_EQ(back->m_iLeaderId, 234);
    EXPECT_EQ(back->GetCachedHitPoints(), 3 + 4 + 5);
    ASSERT_EQ(back->GetMemberCount(), 3);
    int i = 0;
    for (Member* m : back->Members()) {
        auto* p = dynamic_cast<Player*>(m);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->m_strSpecialName, names[i]);
        EXPECT_EQ(p->m_iPlayerNumber, numbers[i]);
        EXPECT_EQ(p->m_iGroupNum, 1);
        EXPECT_EQ(p->m_pGroup, back.get());
        ++i;
    }
}

}  // namespace
