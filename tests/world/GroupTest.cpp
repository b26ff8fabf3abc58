#include <gtest/gtest.h>

#include <functional>

#include "shell/MainFrm.h"
#include "world/Group.h"

namespace {

// A member whose turn answers what the test asks.
class Actor : public Member {
public:
    std::function<int()> turn;
    int turns = 0;
    int Update(int32_t, MapMaster*) override {
        ++turns;
        return turn ? turn() : 0;
    }
    int GetHitPoints() override { return m_iHitPoints; }
};

TEST(Group, RootGroupsOfTheFrame) {
    CMainFrame frame;
    frame.CreateRootGroups();
    ASSERT_NE(frame.m_pAllGroups, nullptr);
    EXPECT_EQ(frame.m_pAllGroups->m_strSpecialName, "All Groups");
    EXPECT_EQ(frame.m_pRandomEncounters->m_strSpecialName, "Random Encounters");
    EXPECT_EQ(frame.m_pRandomEncounters->m_pGroup, frame.m_pAllGroups);
    EXPECT_EQ(frame.m_pAllGroups->m_iOwnGroupNum, 0);
    EXPECT_EQ(frame.GetGroupByNumber(0), frame.m_pAllGroups);
}

TEST(Group, MemberLeavingWithMinusTwoIsNotDeleted) {
    CMainFrame frame;
    Group g;
    auto* a = new Actor;
    auto* b = new Actor;
    g.AddMember(a);
    g.AddMember(b);  // b is at the head
    b->turn = [] { return Group::kLeaveGroup; };
    EXPECT_EQ(g.Update(0, nullptr), 1);
    EXPECT_EQ(a->turns, 1);
    EXPECT_EQ(b->m_pGroup, nullptr);
    EXPECT_EQ(g.GetMemberCount(), 1);
    delete b;
}

}  // namespace
