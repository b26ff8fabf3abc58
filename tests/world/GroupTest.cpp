#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "world/Group.h"
#include "world/World.h"

namespace {

// A member whose turn does what the test asks and is counted in a shared log.
class Actor : public Member {
public:
    Actor(std::vector<std::string>* log, std::string name) : Member(name), m_log(log) {}
    std::function<int()> turn;
    int Update(int32_t, MapMaster*) override {
        m_log->push_back(m_strSpecialName);
        return turn ? turn() : 0;
    }
    int GetHitPoints() override { return m_iHitPoints; }
    double FindOpponents(Member*) override { return m_iHitPoints; }
    double GetMemberValue(int32_t a) override { return a; }
    double GetMemberTotal() override { return 0.5; }

private:
    std::vector<std::string>* m_log;
};

// Builds groups whose members are added in list order (AddMember puts each at
// the head, so they are added back to front).
struct Groups {
    World world;
    std::vector<std::string> log;
    Groups() { world.CreateRootGroups(); }
    Actor* Make(const std::string& name) { return new Actor(&log, name); }
    Group* MakeGroup(int grouped, std::vector<Member*> members) {
        auto* g = new Group;
        g->m_bGrouped = grouped;
        for (auto it = members.rbegin(); it != members.rend(); ++it) g->AddMember(*it);
        return g;
    }
    int Tick() { return world.m_pAllGroups->Update(0, nullptr); }
};

std::vector<std::string> Names(Group* g) {
    std::vector<std::string> out;
    for (Member* m : g->Members()) out.push_back(m->m_strSpecialName);
    return out;
}

using Log = std::vector<std::string>;

TEST(Group, RootGroupsOfTheFrame) {
    World world;
    world.CreateRootGroups();
    ASSERT_NE(world.m_pAllGroups, nullptr);
    EXPECT_EQ(world.m_pAllGroups->m_strSpecialName, "All Groups");
    EXPECT_EQ(world.m_pRandomEncounters->m_strSpecialName, "Random Encounters");
    EXPECT_EQ(world.m_pRandomEncounters->m_pGroup, world.m_pAllGroups);
    EXPECT_EQ(world.m_pAllGroups->m_iOwnGroupNum, 0);
    EXPECT_EQ(world.GetGroupByNumber(0), world.m_pAllGroups);
}

TEST(GroupUpdate, MinusTwoTakesTheMemberOutAndTheWalkGoesOn) {
    Groups w;
    Actor* b = w.Make("b");
    Group* g = w.MakeGroup(0, {w.Make("a"), b, w.Make("c")});
    w.world.m_pAllGroups->AddMember(g);
    b->turn = [] { return Group::kLeaveGroup; };
    EXPECT_EQ(w.Tick(), 1);
    EXPECT_EQ(w.log, (Log{"a", "b", "c"}));
    EXPECT_EQ(b->m_pGroup, nullptr);
    EXPECT_EQ(Names(g), (Log{"a", "c"}));
    delete b;  // not deleted by the group
}

TEST(GroupUpdate, MinusThreeStopsEveryWalkAtOnce) {
    Groups w;
    Actor* b = w.Make("b");
    Group* inner = w.MakeGroup(0, {w.Make("a"), b, w.Make("c")});
    Group* outer = w.MakeGroup(0, {inner, w.Make("d")});
    w.world.m_pAllGroups->AddMember(outer);
    b->turn = [] { return Group::kWorldChanged; };
    EXPECT_EQ(w.Tick(), Group::kWorldChanged);
    EXPECT_EQ(w.log, (Log{"a", "b"}));  // neither c nor d had a turn
}

TEST(GroupUpdate, MembersDyingOrLeavingDuringTheWalk) {
    Groups w;
    Actor* a = w.Make("a");
    Actor* b = w.Make("b");
    Actor* c = w.Make("c");
    Actor* d = w.Make("d");
    Actor* e = w.Make("e");
    Group* other = w.MakeGroup(0, {});
    Group* g = w.MakeGroup(0, {a, b, c, d, e});
    w.world.m_pAllGroups->AddMember(other);
    w.world.m_pAllGroups->AddMember(g);
    // a deletes itself in its own turn; b deletes the member after it; d sends
    // e to another group before e's turn.
    a->turn = [a] {
        delete a;
        return 0;
    };
    b->turn = [c] {
        delete c;
        return 0;
    };
    d->turn = [e, other] {
        other->AddMember(e);
        return 0;
    };
    EXPECT_EQ(w.Tick(), 1);
    // e has its one turn in the group it moved to, which comes later in the tree.
    EXPECT_EQ(w.log, (Log{"a", "b", "d", "e"}));
    EXPECT_EQ(Names(g), (Log{"b", "d"}));
    EXPECT_EQ(Names(other), (Log{"e"}));
}

TEST(GroupUpdate, EmptiedSelfContainedGroupsAreDeletedOthersStay) {
    Groups w;
    Actor* a = w.Make("a");
    Actor* killer = w.Make("killer");
    Actor* v = w.Make("v");
    Group* leaving = w.MakeGroup(1, {a});
    Group* later = w.MakeGroup(1, {v});
    Actor* p = w.Make("p");
    Group* plain = w.MakeGroup(0, {p});
    Group* g = w.MakeGroup(0, {leaving, killer, later, plain, w.Make("z")});
    w.world.m_pAllGroups->AddMember(g);
    qv::Handle<Group> hLeaving(leaving), hLater(later), hPlain(plain);
    // a leaves its group in its own turn, which empties it; the killer deletes
    // the only member of a group whose turn comes later in the same walk; p
    // leaves a group that is not self-contained.
    a->turn = [] { return Group::kLeaveGroup; };
    killer->turn = [v] {
        delete v;
        return 0;
    };
    p->turn = [] { return Group::kLeaveGroup; };
    EXPECT_EQ(w.Tick(), 1);
    EXPECT_EQ(w.log, (Log{"a", "killer", "p", "z"}));
    EXPECT_FALSE(hLeaving);
    EXPECT_FALSE(hLater);
    ASSERT_TRUE(hPlain);
    EXPECT_EQ(plain->GetMemberCount(), 0);
    EXPECT_EQ(g->GetMemberCount(), 3);  // killer, plain, z
    delete a;
    delete p;
}

TEST(GroupUpdate, NestedEmptyingCascadesUpward) {
    Groups w;
    Actor* a = w.Make("a");
    Group* inner = w.MakeGroup(1, {a});
    Group* middle = w.MakeGroup(1, {inner});
    Group* outer = w.MakeGroup(0, {middle, w.Make("b")});
    w.world.m_pAllGroups->AddMember(outer);
    a->turn = [] { return Group::kLeaveGroup; };
    EXPECT_EQ(w.Tick(), 1);
    // inner answered -4 and was deleted by middle, which was then empty and
    // answered -4 to outer.
    EXPECT_EQ(Names(outer), (Log{"b"}));
    delete a;
}

TEST(GroupUpdate, RandomEncountersIsNeverDeleted) {
    Groups w;
    Group* re = w.world.m_pRandomEncounters;
    re->m_bGrouped = 1;
    Actor* a = w.Make("a");
    re->AddMember(a);
    a->turn = [] { return Group::kLeaveGroup; };
    EXPECT_EQ(w.Tick(), 1);
    EXPECT_EQ(re->Update(0, nullptr), 1);
    EXPECT_EQ(w.world.m_pRandomEncounters, re);
    EXPECT_EQ(re->m_pGroup, w.world.m_pAllGroups);
    delete a;
}

TEST(GroupUpdate, AGroupDeletedByItsOwnMemberStopsTheWalk) {
    Groups w;
    Actor* a = w.Make("a");
    Group* doomed = w.MakeGroup(0, {a, w.Make("b")});
    Group* outer = w.MakeGroup(0, {doomed, w.Make("c")});
    w.world.m_pAllGroups->AddMember(outer);
    a->turn = [doomed] {
        delete doomed;  // the world changed under the walk
        return 0;
    };
    EXPECT_EQ(w.Tick(), Group::kWorldChanged);
    EXPECT_EQ(w.log, (Log{"a"}));
    EXPECT_EQ(Names(outer), (Log{"c"}));
}

TEST(GroupMembers, RandomNumbersGoIntoNestedGroups) {
    Groups w;
    Group g;
    g.m_iOwnGroupNum = 4;
    Actor* a = w.Make("a");
    Actor* b = w.Make("b");
    Actor* c = w.Make("c");
    a->m_iGroupNum = -5;
    b->m_iGroupNum = -5;
    c->m_iGroupNum = -1;
    g.AddMember(a);
    ASSERT_EQ(g.GetMemberCount(), 1);
    auto* random = dynamic_cast<Group*>(g.Members().front());
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(random->m_strSpecialName, "Random");
    EXPECT_EQ(random->m_iOwnGroupNum, -5);
    EXPECT_EQ(a->m_pGroup, random);
    g.AddMember(b);  // joins the same nested group
    EXPECT_EQ(g.GetMemberCount(), 1);
    EXPECT_EQ(Names(random), (Log{"b", "a"}));
    g.AddMember(c);  // takes this group's number
    EXPECT_EQ(c->m_iGroupNum, 4);
    EXPECT_EQ(c->m_pGroup, &g);
    EXPECT_EQ(g.Contains(a), 1);
    EXPECT_EQ(random->Contains(c), 0);
}

TEST(GroupMembers, AMemberBelongsToOneGroupAtATime) {
    Groups w;
    Group g1, g2;
    Actor* a = w.Make("a");
    g1.AddMember(a);
    g2.AddMember(a);
    EXPECT_EQ(g1.GetMemberCount(), 0);
    EXPECT_EQ(g2.GetMemberCount(), 1);
    EXPECT_EQ(a->m_pGroup, &g2);
    g2.AddMember(a);  // already listed: nothing
    EXPECT_EQ(g2.GetMemberCount(), 1);
    // A group cannot take itself or a group that holds it.
    Group* inner = new Group;
    g1.AddMember(inner);
    inner->AddMember(&g1);
    inner->AddMember(inner);
    EXPECT_EQ(inner->GetMemberCount(), 0);
    EXPECT_EQ(g1.m_pGroup, nullptr);
}

TEST(GroupMembers, AMemberJoiningANestedGroupCountsInEveryCachedSum) {
    Groups w;
    Group* inner = w.MakeGroup(0, {});
    Group* outer = w.MakeGroup(0, {inner});
    w.world.m_pAllGroups->AddMember(outer);
    Actor* a = w.Make("a");
    a->m_iHitPoints = 7;
    inner->AddMember(a);
    EXPECT_EQ(inner->GetCachedHitPoints(), 7);
    EXPECT_EQ(outer->GetCachedHitPoints(), 7);
    // A member of another encounter number goes into a new nested group made
    // for it: counted in the sums above it all the same. (A stale sum was
    // stored with the group and changed on the next save and load.)
    Actor* b = w.Make("b");
    b->m_iHitPoints = 4;
    b->m_iGroupNum = -9;
    outer->AddMember(b);
    EXPECT_EQ(outer->GetCachedHitPoints(), 11);
    EXPECT_EQ(w.world.m_pAllGroups->GetCachedHitPoints(), 11);
}

TEST(GroupMembers, HitPointsSumAndLosses) {
    Groups w;
    Actor* a = w.Make("a");
    Actor* b = w.Make("b");
    a->m_iHitPoints = 8;
    b->m_iHitPoints = 5;
    Group* inner = w.MakeGroup(0, {a});
    Group* outer = w.MakeGroup(0, {inner, b});
    w.world.m_pAllGroups->AddMember(outer);
    EXPECT_EQ(outer->GetHitPoints(), 13);
    inner->LoseHitPoints(5);
    EXPECT_EQ(inner->GetCachedHitPoints(), 3);
    EXPECT_EQ(outer->GetCachedHitPoints(), 8);
    EXPECT_EQ(outer->GetMemberCount(), 2);
    EXPECT_DOUBLE_EQ(outer->GetMemberValue(2), 4.0);  // 2 from b, 2 from inner's a
    EXPECT_DOUBLE_EQ(outer->GetMemberTotal(), 1.0);
    EXPECT_DOUBLE_EQ(outer->FindOpponents(nullptr), 5.0);  // the last member answers
    EXPECT_DOUBLE_EQ(Group().FindOpponents(nullptr), 0.0);
}

// The hit points of a subtree counted afresh, member by member.
int64_t Recount(Group* g) {
    int64_t sum = 0;
    for (Member* m : g->Members())
        sum += m->IsGroup() ? Recount(static_cast<Group*>(m)) : m->m_iHitPoints;
    return sum;
}

TEST(GroupMembers, SumsKeptAsMembersJoinAreTheRecountedSums) {
    Groups w;
    Group* top = w.MakeGroup(0, {});
    w.world.m_pAllGroups->AddMember(top);
    // Groups join before and after their members, at the head and the tail,
    // two and three deep; one member moves from one group to another.
    Group* early = w.MakeGroup(0, {});
    top->AddMember(early);
    Group* deep = w.MakeGroup(1, {});
    early->AddMemberDirect(deep);
    std::vector<Actor*> actors;
    for (int k = 0; k < 30; ++k) {
        actors.push_back(w.Make("m"));
        actors.back()->m_iHitPoints = 1 + (k * 7) % 13;
    }
    auto at = [&](int k) { return actors[static_cast<size_t>(k)]; };
    for (int k = 0; k < 10; ++k) deep->AddMember(at(k));
    EXPECT_EQ(deep->GetCachedHitPoints(), Recount(deep));
    for (int k = 10; k < 15; ++k) early->AddMemberDirect(at(k));
    EXPECT_EQ(early->GetCachedHitPoints(), Recount(early));
    Group* late = w.MakeGroup(0, {at(15), at(16), at(17)});
    top->AddMember(late);
    for (int k = 18; k < 30; ++k) top->AddMember(at(k));
    EXPECT_EQ(top->GetCachedHitPoints(), Recount(top));
    late->AddMember(at(0));  // leaves deep
    EXPECT_EQ(late->GetCachedHitPoints(), Recount(late));
    // A group that lost a member is recounted when the next one joins it.
    deep->AddMember(at(0));  // back from late
    EXPECT_EQ(deep->GetCachedHitPoints(), Recount(deep));
    int64_t all = 0;
    for (Actor* a : actors) all += a->m_iHitPoints;
    EXPECT_EQ(top->GetCachedHitPoints(), all);
}

TEST(GroupMembers, HitPointSumsHoldAtTheIntegerRange) {
    Groups w;
    Actor* a = w.Make("a");
    Actor* b = w.Make("b");
    a->m_iHitPoints = INT32_MAX;
    b->m_iHitPoints = 2;
    Group* g = w.MakeGroup(0, {a, b});
    w.world.m_pAllGroups->AddMember(g);
    EXPECT_EQ(g->GetCachedHitPoints(), INT32_MAX);
    EXPECT_EQ(g->GetHitPoints(), INT32_MAX);
    a->m_iHitPoints = INT32_MIN;
    b->m_iHitPoints = -2;
    EXPECT_EQ(g->GetHitPoints(), INT32_MIN);
}

TEST(GroupMembers, RemoveFromMapDeletesTheWholeTree) {
    Groups w;
    Actor* a = w.Make("a");
    qv::Handle<Member> ha(a);
    Group* inner = w.MakeGroup(1, {a, w.Make("b")});
    qv::Handle<Group> hi(inner);
    Group outer;
    outer.AddMember(inner);
    outer.AddMember(w.Make("c"));
    outer.RemoveFromMap();
    EXPECT_EQ(outer.GetMemberCount(), 0);
    EXPECT_FALSE(ha);
    EXPECT_FALSE(hi);
}

TEST(GroupTable, NumbersAndSlots) {
    Groups w;
    Group* a = new Group;
    w.world.m_pAllGroups->AddMember(a);
    a->SetGroupNumber(-1);
    EXPECT_EQ(a->m_iOwnGroupNum, 1);
    EXPECT_EQ(w.world.GetGroupByNumber(1), a);
    // Random-encounter numbers have no slot.
    Group* r = new Group;
    w.world.m_pAllGroups->AddMember(r);
    r->SetGroupNumber(-7);
    EXPECT_EQ(r->m_iOwnGroupNum, -7);
    EXPECT_EQ(w.world.m_GroupArray.size(), 2u);
    // A group deleted after another took its number leaves the newer one's slot.
    Group* newer = new Group;
    w.world.m_pAllGroups->AddMember(newer);
    newer->SetGroupNumber(1);
    delete a;
    EXPECT_EQ(w.world.GetGroupByNumber(1), newer);
    delete newer;
    EXPECT_EQ(w.world.GetGroupByNumber(1), nullptr);
    EXPECT_EQ(w.world.GetGroupByNumber(-3), nullptr);
    EXPECT_EQ(w.world.GetGroupByNumber(50), nullptr);
}

TEST(GroupTable, ARenumberedGroupLeavesNoSlotBehind) {
    Groups w;
    // Given a new number, or placed as a random encounter (which numbers it
    // below -1), a table group gives back the slot it had: deleted later, it
    // must not be left in the table under its old number.
    Group* moved = new Group;
    w.world.m_pAllGroups->AddMember(moved);
    moved->SetGroupNumber(3);
    moved->SetGroupNumber(5);
    EXPECT_EQ(w.world.GetGroupByNumber(3), nullptr);
    EXPECT_EQ(w.world.GetGroupByNumber(5), moved);
    Group* placed = new Group;
    placed->SetGroupNumber(4);
    placed->AddToWorld(0, 0, 1);
    EXPECT_LT(placed->m_iOwnGroupNum, -1);
    delete moved;
    delete placed;
    for (size_t i = 1; i < w.world.m_GroupArray.size(); ++i)
        EXPECT_EQ(w.world.m_GroupArray[i], nullptr) << "slot " << i;
}

}  // namespace
