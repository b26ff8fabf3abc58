// Scripted events waiting in the world: one fires after the land move that
// brings its creature into the world, and a game saved with events pending
// brings them back on loading, the fired ones running after its land move.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/PlayerMove.h"
#include "creatures/PlayerMoves.h"
#include "events/GameEvent.h"
#include "platform/Message.h"
#include "shell/WorldFileFixture.h"

namespace {

using worldfile_test::At;

class PendingEvents : public worldfile_test::WorldFileTest {
protected:
    // The miller, actor 7 of the village's group, kept in the root land.
    void KeepTheMiller() {
        NumberedGroup(2, "village");
        Player* miller = Creature("Miller", 2);
        miller->m_iPlayerNumber = 7;
        Keep(miller, At(26, 24));
        frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
        frame.m_Play.Saves().SetWorldFile("world.qvr");
    }
    // Conversations open by noting their speaker and node.
    void NoteConversations() {
        frame.m_Play.Talks().InstallConversation(
            [this](Player*, Player* speaker, const std::string& node) {
                opened.push_back(speaker->m_strSpecialName + " " + node);
            });
    }
    template <class T>
    T* Add(std::unique_ptr<T> event, int32_t trigger, int32_t status) {
        event->m_iTrigger = trigger;
        event->m_iStatus = status;
        T* raw = event.get();
        frame.m_World.m_EventList.push_back(std::move(event));
        return raw;
    }
    Player* Actor(int32_t n) {
        const auto& players = frame.m_World.m_PlayerArray;
        return n < static_cast<int32_t>(players.size()) ? players[static_cast<size_t>(n)] : nullptr;
    }

    std::vector<std::string> opened;
    qv::ScriptedMessages messages;
};

TEST_F(PendingEvents, AnEventFiresAfterTheLandMoveThatBringsItsCreature) {
    KeepTheMiller();
    // The land is written to its file but not yet in the map's window.
    rootInfo->land = root.get();
    rootInfo->SaveLand();
    rootInfo->land = nullptr;
    root.reset();
    NoteConversations();
    Add(CTalkEvent::MakeNPCTalk("GREET", 7), 1, 1);
    auto moves = std::make_unique<CMovePatternEvent>();
    moves->m_iActor = 7;
    moves->m_Cells = {{26, 25}, {27, 25}};
    Add(std::move(moves), 2, 1);
    Add(std::make_unique<CTalkEvent>("LATER", 7), 3, 0);  // not marked to fire

    // Without the miller the events wait.
    RunWaitingEvents(frame.m_World);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(frame.m_World.m_EventList.size(), 3u);

    // The move loads his land: he talks once, takes his moves, and the fired
    // events are gone; the one not marked stays.
    frame.m_Play.MoveToLand();
    Player* miller = Actor(7);
    ASSERT_NE(miller, nullptr);
    EXPECT_EQ(miller->m_strSpecialName, "Miller");
    EXPECT_EQ(opened, (std::vector<std::string>{"Miller GREET"}));
    ASSERT_EQ(miller->m_MoveList.size(), 2u);
    auto* second = qv::DynamicCast<PlayerMoveTo>(miller->m_MoveList[1].get());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->x, 27);
    ASSERT_EQ(frame.m_World.m_EventList.size(), 1u);
    EXPECT_EQ(frame.m_World.m_EventList.front()->m_iTrigger, 3);

    // Another move runs nothing more.
    frame.m_Play.MoveToLand();
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(miller->m_MoveList.size(), 2u);
}

TEST_F(PendingEvents, AGameSavedWithEventsPendingBringsThemBackAndRunsTheFiredOnes) {
    KeepTheMiller();
    Open();
    // No conversation can open while the game is saved: the talk waits.
    Add(CTalkEvent::MakeNPCTalk("GREET", 7), 11, 1);
    auto moves = std::make_unique<CMovePatternEvent>();
    moves->m_iActor = 7;
    moves->m_Cells = {{3, 4}, {-1, 9}};
    Add(std::move(moves), 12, 0);
    frame.m_Play.Saves().SetSlot(2, {1, "Mill"});
    ASSERT_EQ(frame.m_Play.Saves().SaveGame(2), 1);
    ASSERT_EQ(frame.m_World.m_EventList.size(), 2u);

    frame.m_World.m_EventList.clear();
    NoteConversations();
    frame.m_Play.m_iStartState = 0;  // in play: the load moves into the land at once
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(2), 1);
    // The loaded talk fired after the load's land move; the move pattern
    // not marked to fire is back as it was.
    EXPECT_EQ(opened, (std::vector<std::string>{"Miller GREET"}));
    ASSERT_EQ(frame.m_World.m_EventList.size(), 1u);
    auto* back = dynamic_cast<CMovePatternEvent*>(frame.m_World.m_EventList.front().get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_iTrigger, 12);
    EXPECT_EQ(back->m_iStatus, 0);
    EXPECT_EQ(back->m_iActor, 7);
    EXPECT_EQ(back->m_Cells, (std::vector<qv::Point>{{3, 4}, {-1, 9}}));
    ASSERT_NE(Actor(7), nullptr);
    EXPECT_TRUE(Actor(7)->m_MoveList.empty());
}

}  // namespace
