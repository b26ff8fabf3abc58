// The group tree as files and the world build it: how deep it may grow, what
// a self-contained group keeps through saving, sums over its members, the
// numbers of placed encounters and the hostility count.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::StoreObject;

// A group joining group `parent` by number. The first record of an archive
// names the classes; later ones use the tags of Group's class (1), Member's
// (3) and Object's (4), the first group being index 2.
void PutChainedGroup(Bytes& b, bool first, int32_t parent, int32_t own) {
    if (first)
        record_test::PutTableGroup(b, parent, own);
    else
        record_test::PutTableGroup(b, parent, own, {1, 3, 4});
}

int Depth(const Member* m) {
    int d = 0;
    for (const Member* g = m->m_pGroup; g; g = g->m_pGroup) ++d;
    return d;
}

TEST(GroupTree, GroupsChainedByNumberNestOnlyAsDeepAsTheArchiveAllows) {
    World world;
    world.CreateRootGroups();
    // Group i joins group i - 1 by its number; group 0 joins "All Groups".
    // With "All Groups" at the top, group i lies i + 2 levels down, so groups
    // 0 to 254 fill the 256 levels and group 255 is refused.
    constexpr int kGroups = 300;
    Bytes b;
    for (int i = 0; i < kGroups; ++i) PutChainedGroup(b, i == 0, i == 0 ? -1 : i - 1, i);
    qv::Archive ar(b, "Deep.lnd");
    int read = 0;
    Group* last = nullptr;
    try {
        for (; read < kGroups; ++read) last = ar.ReadObjectOf<Group>();  // the tree owns them
        ADD_FAILURE() << "every group was read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::Generic);
        EXPECT_EQ(e.file, "Deep.lnd");
        EXPECT_NE(std::string(e.what()).find("nested more than 256 deep"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(read, 255);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(Depth(last), 255);
    EXPECT_EQ(world.GetGroupByNumber(254), last);
    EXPECT_EQ(world.GetGroupByNumber(255), nullptr);  // the refused group left no slot
    // The walks over the tree reach the bottom.
    EXPECT_EQ(world.m_pAllGroups->GetHitPoints(), 0);
    EXPECT_EQ(world.m_pAllGroups->Update(100, nullptr), 1);
}

TEST(GroupTree, ASelfContainedGroupRefusesMembersBelowTheLimit) {
    World world;
    world.CreateRootGroups();
    // A chain of 254 groups by number puts group 253 at level 255; a
    // self-contained group joining it goes to 256, and a group stored inside
    // that one would be one level too deep.
    Bytes b;
    for (int i = 0; i < 254; ++i) PutChainedGroup(b, i == 0, i == 0 ? -1 : i - 1, i);
    qv::Archive ar(b);
    for (int i = 0; i < 254; ++i) ar.ReadObjectOf<Group>();
    Group* bottom = world.GetGroupByNumber(253);
    ASSERT_NE(bottom, nullptr);

    Group outer;
    outer.m_bGrouped = 1;
    outer.m_iGroupNum = 253;
    outer.m_iOwnGroupNum = -3;
    auto* inner = new Group;
    inner->m_bGrouped = 1;
    inner->m_iOwnGroupNum = -3;
    outer.AddMemberDirect(inner);
    Bytes stored = StoreObject(outer);
    qv::Archive in(stored);
    try {
        delete in.ReadObjectOf<Group>();
        ADD_FAILURE() << "a group was stored below the deepest level";
    } catch (const qv::ArchiveError& e) {
        EXPECT_NE(std::string(e.what()).find("nested more than 256 deep"), std::string::npos);
    }
    EXPECT_EQ(bottom->GetMemberCount(), 0);  // the refused group is gone again
}

int CountMembers(const Group& g) {
    int n = 0;
    for (Member* m : g.Members())
        n += m->Type() == GROUP ? CountMembers(static_cast<const Group&>(*m)) : 1;
    return n;
}

TEST(GroupTree, AMemberOfAnotherEncounterKeepsItsPlaceThroughSaves) {
    World world;
    world.CreateRootGroups();
    // A self-contained group holding a member whose encounter number is not
    // the group's: read back, the member goes into a nested "Random" group of
    // its number, which is stored with its parent and so must store it too.
    Group g;
    g.m_bGrouped = 1;
    g.m_iOwnGroupNum = -2;
    auto* bat = new Member("Bat");
    bat->m_iGroupNum = -7;
    g.AddMemberDirect(bat);
    ASSERT_EQ(CountMembers(g), 1);

    Bytes first = StoreObject(g);
    auto once = record_test::LoadObject<Group>(first);
    ASSERT_NE(once, nullptr);
    ASSERT_EQ(CountMembers(*once), 1);
    ASSERT_EQ(once->GetMemberCount(), 1);
    auto* random = dynamic_cast<Group*>(once->Members().front());
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(random->m_strSpecialName, "Random");
    EXPECT_EQ(random->m_iOwnGroupNum, -7);
    EXPECT_EQ(random->m_bGrouped, 1);

    auto twice = record_test::LoadObject<Group>(StoreObject(*once));
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(CountMembers(*twice), 1);
    auto thrice = record_test::LoadObject<Group>(StoreObject(*twice));
    ASSERT_NE(thrice, nullptr);
    EXPECT_EQ(CountMembers(*thrice), 1);
    EXPECT_EQ(StoreObject(*thrice), StoreObject(*twice));

    // Outside a self-contained group the "Random" group stays a plain one.
    Group open;
    auto* rat = new Member("Rat");
    rat->m_iGroupNum = -9;
    open.AddMember(rat);
    auto* openRandom = dynamic_cast<Group*>(open.Members().front());
    ASSERT_NE(openRandom, nullptr);
    EXPECT_EQ(openRandom->m_bGrouped, 0);
}

// A member whose hit points count, as a creature's do.
class Sturdy : public Member {
public:
    explicit Sturdy(int32_t hp) { m_iHitPoints = hp; }
    int GetHitPoints() override { return m_iHitPoints; }
};

TEST(GroupTree, HitPointSumsHoldAtTheIntegerRange) {
    Group g;
    g.AddMemberDirect(new Sturdy(INT32_MAX));
    g.AddMemberDirect(new Sturdy(2));
    EXPECT_EQ(g.GetHitPoints(), INT32_MAX);
    EXPECT_EQ(g.GetCachedHitPoints(), INT32_MAX);

    Group low;
    low.AddMemberDirect(new Sturdy(INT32_MIN));
    low.AddMemberDirect(new Sturdy(-5));
    EXPECT_EQ(low.GetHitPoints(), INT32_MIN);

    // Nested: 40 + (INT32_MAX - 10 + 30) held at the top, then 40 + 5 - 1.
    Group outer;
    auto* inner = new Group;
    inner->AddMemberDirect(new Sturdy(INT32_MAX - 10));
    inner->AddMemberDirect(new Sturdy(30));
    outer.AddMemberDirect(new Sturdy(40));
    outer.AddMemberDirect(inner);
    EXPECT_EQ(outer.GetHitPoints(), INT32_MAX);
    Group small;
    small.AddMemberDirect(new Sturdy(40));
    small.AddMemberDirect(new Sturdy(5));
    small.AddMemberDirect(new Sturdy(-1));
    EXPECT_EQ(small.GetHitPoints(), 44);
}

TEST(GroupTree, APlacedGroupTakesTheFirstFreeEncounterNumber) {
    World world;
    world.CreateRootGroups();
    // None taken yet: -2, and every member carries it.
    auto* first = new Group;
    first->AddMemberDirect(new Member("Stone"));
    first->AddToWorld(0, 0, 1);
    EXPECT_EQ(first->m_iOwnGroupNum, -2);
    EXPECT_EQ(first->Members().front()->m_iGroupNum, -2);
    EXPECT_EQ(first->m_pGroup, world.m_pRandomEncounters);
    // With -2 taken, -3; with -2 given back, -2 again.
    auto* second = new Group;
    second->AddToWorld(0, 0, 1);
    EXPECT_EQ(second->m_iOwnGroupNum, -3);
    delete first;
    auto* third = new Group;
    third->AddToWorld(0, 0, 1);
    EXPECT_EQ(third->m_iOwnGroupNum, -2);
}

// A creature whose meeting with each other creature is set by the test.
class Meeting : public Player {
public:
    std::map<const Player*, int> answers;
    int CheckEncounter(Player* other) override {
        auto it = answers.find(other);
        return it == answers.end() ? 0 : it->second;
    }
};

TEST(GroupTree, HostilityIsCountedOverTheMembers) {
    World world;
    world.CreateRootGroups();
    struct Scene {
        Group own, other;
        Meeting* searcher = new Meeting;
        Player* a = new Player;
        Player* b = new Player;
        Scene() {
            own.AddMemberDirect(searcher);
            other.AddMemberDirect(a);
            other.AddMemberDirect(b);
        }
    };

    // One hostile (already so) and one calm: not set calm, nothing new.
    {
        Scene s;
        s.a->m_iHostileMode = 1;
        s.b->m_iHostileMode = 1;
        s.searcher->answers = {{s.a, 2}, {s.b, 0}};
        EXPECT_EQ(s.other.UpdateHostility(s.searcher), 0);
        EXPECT_EQ(s.a->m_iHostileMode, 1);
        EXPECT_EQ(s.b->m_iHostileMode, 1);
    }
    // Some calm and none hostile: both groups calm down.
    {
        Scene s;
        s.a->m_iHostileMode = 1;
        s.b->m_iHostileMode = 0;
        s.searcher->m_iHostileMode = 1;
        s.searcher->answers = {{s.a, 0}, {s.b, 1}};
        EXPECT_EQ(s.other.UpdateHostility(s.searcher), 0);
        EXPECT_EQ(s.a->m_iHostileMode, 0);
        EXPECT_EQ(s.searcher->m_iHostileMode, 0);
    }
    // A calm one not yet hostile counts for nothing: no change at all.
    {
        Scene s;
        s.searcher->m_iHostileMode = 1;
        s.searcher->answers = {{s.a, 0}, {s.b, 0}};
        EXPECT_EQ(s.other.UpdateHostility(s.searcher), 0);
        EXPECT_EQ(s.searcher->m_iHostileMode, 1);
    }
    // One newly hostile among calm ones: both groups turn hostile and the
    // answer is 1.
    {
        Scene s;
        s.b->m_iHostileMode = 1;
        s.searcher->answers = {{s.a, 2}, {s.b, 0}};
        EXPECT_EQ(s.other.UpdateHostility(s.searcher), 1);
        EXPECT_EQ(s.a->m_iHostileMode, 1);
        EXPECT_EQ(s.b->m_iHostileMode, 1);
        EXPECT_EQ(s.searcher->m_iHostileMode, 1);
        EXPECT_EQ(s.a->m_iActionOption, ActionOption::Attack);
    }
}

}  // namespace
