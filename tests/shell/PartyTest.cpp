// The party: its slots and formation rows, the formation rebased on the
// leader's slot, travelling to a cell, splitting off the leader and bringing
// the others back, and a store's trading window.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

#include "shell/PartyFixture.h"

namespace {

using partytest::At;
using partytest::Bytes;
using Party = partytest::PartyFixture;

TEST_F(Party, SlotsAndRowsFollowTheLeadersFacing) {
    Open();
    std::vector<Player*> p = PartyOf({"Ayla", "Rex", "Kit"});
    World& w = frame.m_World;
    int32_t slot = -5, row = -5;
    p[0]->m_sFacing = 7;
    ASSERT_TRUE(frame.m_World.GetPartySlot(p[2], slot, row));
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(row, 3);
    p[0]->m_sFacing = 1;
    ASSERT_TRUE(frame.m_World.GetPartySlot(p[1], slot, row));
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(row, 0);
    p[0]->m_sFacing = 4;
    ASSERT_TRUE(frame.m_World.GetPartySlot(p[0], slot, row));
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(row, 2);
    // Outside the party, or without a leader: false, the outputs untouched.
    Player outsider;
    slot = row = -5;
    EXPECT_FALSE(frame.m_World.GetPartySlot(&outsider, slot, row));
    w.m_pLeader = nullptr;
    EXPECT_FALSE(frame.m_World.GetPartySlot(p[1], slot, row));
    EXPECT_EQ(slot, -5);
    EXPECT_EQ(row, -5);

    EXPECT_EQ(frame.m_World.FindPartySlot(p[2]), 2);
    EXPECT_EQ(frame.m_World.FindPartySlot(&outsider), -1);
    for (int32_t s : {-1, 3, 6, 100}) EXPECT_EQ(frame.m_Play.GetPartyMember(&s), nullptr) << s;
    const int32_t one = 1;
    EXPECT_EQ(frame.m_Play.GetPartyMember(&one), p[1]);
    EXPECT_EQ(frame.m_Play.GetPartyMember(nullptr), nullptr);
}

TEST_F(Party, TheFormationIsRebasedOnTheLeadersSlotAndTurnedByQuarters) {
    World& w = frame.m_World;
    frame.m_Play.PartyChoices().InitFormation();
    Player a, b;
    w.m_pLeader = &a;
    w.m_Party[0] = &a;
    frame.m_Play.PartyChoices().RebaseFormation(frame.m_World);
    const std::array<qv::Point, 6> defaults{qv::Point{0, 0}, {25, 25}, {25, -25},
                                            {40, 0},         {55, 40}, {55, -40}};
    EXPECT_EQ(frame.m_Play.PartyChoices().FormationOffsets(), defaults);
    // Each row is the one before turned a quarter: (x, y) becomes (-y, x).
    EXPECT_EQ(w.m_FormationRows[0][1], (qv::Point{25, 25}));
    EXPECT_EQ(w.m_FormationRows[1][1], (qv::Point{-25, 25}));
    EXPECT_EQ(w.m_FormationRows[2][1], (qv::Point{-25, -25}));
    EXPECT_EQ(w.m_FormationRows[3][1], (qv::Point{25, -25}));
    EXPECT_EQ(w.m_FormationRows[1][4], (qv::Point{-40, 55}));

    // The leader in slot 3: everything moves by (-40, 0).
    w.m_Party[0] = &b;
    w.m_Party[3] = &a;
    frame.m_Play.PartyChoices().RebaseFormation(frame.m_World);
    const std::array<qv::Point, 6> moved{qv::Point{-40, 0}, {-15, 25}, {-15, -25}, {0, 0},
                                         {15, 40},          {15, -40}};
    EXPECT_EQ(frame.m_Play.PartyChoices().FormationOffsets(), moved);
    EXPECT_EQ(w.m_FormationRows[2][0], (qv::Point{40, 0}));
    EXPECT_EQ(::Party::RotateQuarter({3, -7}), (qv::Point{7, 3}));
    w.m_pLeader = nullptr;
    for (auto& s : w.m_Party) s = nullptr;
}

TEST_F(Party, TravellersStandInRowsOfThreeFromTheCellsCentreAndTheViewFollows) {
    Open();
    PartyOf({"Ayla", "Rex", "Kit", "Bo", "Fen"});
    frame.m_Play.TravelTo({12, 10});
    // The centre of cell (12, 10) is (2000, 1176).
    ExpectAt("Ayla", 2010, 1186);
    ExpectAt("Rex", 2030, 1186);
    ExpectAt("Kit", 2050, 1186);
    ExpectAt("Bo", 2010, 1206);
    ExpectAt("Fen", 2030, 1206);
    EXPECT_EQ(frame.m_World.m_ptFocus.x, 2010);
    EXPECT_EQ(frame.m_World.m_ptFocus.y, 1186);
    EXPECT_EQ(frame.m_World.m_pLeader->m_pGroup->Members().size(), 5u);
    // A spot past the largest coordinate stops at it: the fifth stands 30
    // pixels right of and below the focus.
    const Position far = Play::PartySpot({INT32_MAX - 5, 7}, 4);
    EXPECT_EQ(far.x, INT32_MAX);
    EXPECT_EQ(far.y, 37);
}

TEST_F(Party, TravellingBeforeTheLoopHasTakenASaveInFindsThePartyOnce) {
    Open();
    PartyOf({"Ayla", "Rex"});
    Store();
    frame.m_Play.MoveToLand();  // the save's flag stays until the next tick
    frame.m_Play.TravelTo({12, 10});
    ExpectAt("Ayla", 2010, 1186);
    ExpectAt("Rex", 2030, 1186);
    EXPECT_EQ(frame.m_World.m_pLeader->m_pGroup->Members().size(), 2u);
}

TEST_F(Party, ScriptCommandsWithoutALeaderAreRefused) {
    Open();
    qv::ScriptedMessages retry(
        {qv::MessageAnswer::Retry, qv::MessageAnswer::Retry, qv::MessageAnswer::Retry});
    frame.m_Play.TravelTo({3, 3});
    frame.m_Play.MakeGroup();
    frame.m_Play.ReGroup();
    ASSERT_EQ(retry.shown.size(), 3u);
    for (const std::string& text : retry.shown)
        EXPECT_NE(text.find("traveller != NULL"), std::string::npos);
}

TEST_F(Party, SplittingAndRegroupingLosesAndDoublesNoOneAndFillsSlotsInKeptOrder) {
    Open();
    std::vector<Player*> p = PartyOf({"Ayla", "Rex", "Kit", "Bo"});
    World& w = frame.m_World;
    // Slots out of order before the split.
    w.m_Party[1] = p[3];
    w.m_Party[3] = p[1];
    p[3]->m_iPartySlot = 1;
    p[1]->m_iPartySlot = 3;
    Group* party = p[0]->m_pGroup;

    messages.shown.clear();
    frame.m_Play.ReGroup();  // nothing kept aside yet
    EXPECT_EQ(messages.shown, (std::deque<std::string>{"No Group to ReGroup"}));
    EXPECT_EQ(party->Members().size(), 4u);
    frame.m_Play.MakeGroup();
    Group* kept = w.m_pGroupTempStorage.Get();
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->m_bGrouped, 1);
    ASSERT_EQ(party->Members().size(), 1u);
    EXPECT_EQ(party->Members().front(), p[0]);
    std::vector<std::string> order;
    for (Member* m : kept->Members()) order.push_back(m->m_strSpecialName);
    EXPECT_EQ(order, (std::vector<std::string>{"Rex", "Kit", "Bo"}));
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(p[i]->m_iScriptHold, -10);
        EXPECT_EQ(p[i]->m_iSavedGroupNum, 1);
        EXPECT_EQ(p[i]->m_iPartySlot, 0);
        EXPECT_EQ(p[i]->m_pHolder, nullptr);
        EXPECT_TRUE(Where(p[i]->m_strSpecialName).empty());
    }
    for (size_t s = 1; s < 6; ++s) EXPECT_EQ(w.m_Party[s].Get(), nullptr);
    EXPECT_EQ(w.m_pControlPlayer.Get(), p[0]);
    // "players" holds the leader going on alone, members and all.
    {
        auto read = savefile::ReadPlayersFrom(qv::ReadWholeFile(folder.Working("players").string()),
                                              "players");
        ASSERT_EQ(read->Members().size(), 1u);
        EXPECT_EQ(read->Members().front()->m_strSpecialName, "Ayla");
    }
    frame.m_Play.ReGroup();
    EXPECT_FALSE(w.m_pGroupTempStorage);
    order.clear();
    for (Member* m : party->Members()) order.push_back(m->m_strSpecialName);
    EXPECT_EQ(order, (std::vector<std::string>{"Ayla", "Rex", "Kit", "Bo"}));
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(w.m_Party[i].Get(), p[i]);
        EXPECT_EQ(p[i]->m_iPartySlot, static_cast<int32_t>(i));
        EXPECT_EQ(p[i]->m_iScriptHold, 0);
        EXPECT_EQ(p[i]->m_iSavedGroupNum, 0);
        EXPECT_EQ(Where(p[i]->m_strSpecialName).size(), 1u);
    }
    {
        auto read = savefile::ReadPlayersFrom(qv::ReadWholeFile(folder.Working("players").string()),
                                              "players");
        EXPECT_EQ(read->Members().size(), 4u);
    }
    frame.m_Play.ReGroup();  // nothing kept aside any more
    EXPECT_EQ(party->Members().size(), 4u);
}

TEST_F(Party, RegroupingTakesOnlyFreeSlotsAndTheRestRejoinWithoutOne) {
    Open();
    std::vector<Player*> p = PartyOf({"Ayla", "A1", "A2", "A3", "A4", "A5"});
    World& w = frame.m_World;
    Group* party = p[0]->m_pGroup;
    // Two more follow without slots.
    for (int i : {0, 1}) {
        Player* extra = Creature(i == 0 ? "B1" : "B2", 1);
        party->AddMemberDirect(extra);
        Position pos = At(20, 20 + 2 * i);
        ASSERT_EQ(map.AddHolder(pos, new ObjectHolder(pos, extra)), 1);
    }
    frame.m_Play.MakeGroup();
    ASSERT_EQ(w.m_pGroupTempStorage->Members().size(), 7u);
    // Someone joins in slot 2 meanwhile.
    Player* newcomer = Creature("New", 1);
    party->AddMemberDirect(newcomer);
    Position pos = At(21, 21);
    ASSERT_EQ(map.AddHolder(pos, new ObjectHolder(pos, newcomer)), 1);
    newcomer->m_iPartySlot = 2;
    w.m_Party[2] = newcomer;

    frame.m_Play.ReGroup();
    std::map<std::string, int> slots;
    for (Member* m : party->Members())
        slots[m->m_strSpecialName] = static_cast<Player*>(m)->m_iPartySlot;
    EXPECT_EQ(slots.size(), 9u);
    EXPECT_EQ(party->Members().size(), 9u);
    EXPECT_EQ(slots["New"], 2);
    EXPECT_EQ(slots["A1"], 1);
    EXPECT_EQ(slots["A2"], 3);
    EXPECT_EQ(slots["A3"], 4);
    EXPECT_EQ(slots["A4"], 5);
    EXPECT_EQ(slots["A5"], 0);
    EXPECT_EQ(slots["B1"], 0);
    EXPECT_EQ(slots["B2"], 0);
    for (size_t s = 1; s < 6; ++s) {
        ASSERT_NE(w.m_Party[s].Get(), nullptr);
        EXPECT_EQ(w.m_Party[s]->m_iPartySlot, static_cast<int32_t>(s));
    }
    for (const auto& [name, slot] : slots) EXPECT_EQ(Where(name).size(), 1u) << name;
}

TEST_F(Party, TheTradeWindowOpensForTheFirstStoreOfTheId) {
    Open();
    std::vector<std::pair<std::string, int32_t>> opened;
    frame.m_Play.Talks().InstallTrade(
        [&](::Store& store, int32_t mode) { opened.emplace_back(store.m_strSpecialName, mode); });
    for (auto [name, id] : {std::pair{"Smith", 4}, {"Baker", 7}, {"Cooper", 7}}) {
        auto store = std::make_unique<::Store>();
        store->m_strSpecialName = name;
        store->m_iStoreId = id;
        frame.m_Play.Trade().AddStore(std::move(store));
    }
    const int32_t seven = 7, nine = 9;
    frame.m_Play.Talks().OpenTradeWindow(&seven, 1);  // no leader: nothing
    EXPECT_TRUE(opened.empty());
    PartyOf({"Ayla"});
    frame.m_Play.Talks().OpenTradeWindow(&seven, 2);
    frame.m_Play.Talks().OpenTradeWindow(&nine, 1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, "Baker");
    EXPECT_EQ(opened[0].second, 2);
    frame.m_Play.Trade().ReplaceStores({});
}

}  // namespace
