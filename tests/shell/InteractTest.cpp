// What a creature does about the holder it was sent to where the frame's
// windows answer: talking and its message, picking up part of a stack through
// the quantity window, and the stairs' question.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "InteractFixture.h"
#include "structures/Scenery.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"

using namespace interact_test;

namespace {

class InteractInFrame : public InteractFixture {
protected:
    // Sends k to the holder and asks.
    int Ask(Player* k, ObjectHolder* target, int flag = 0) {
        k->JoinPlayerSet(target);
        return frame->m_Play.InteractWith(k, flag);
    }
};
TEST_F(InteractInFrame, SomeoneWithSomethingToSayComesOverAndTalksOrHasNoResponse) {
    Player* k = PlaceMember(1, At(36, 35));
    Group* town = NewGroup();
    Player* crier = PlaceCreature(town, At(40, 36));
    crier->m_strMessageNode = "GREET";
    // Far away: k walks on, and the crier comes to k.
    EXPECT_EQ(Ask(k, crier->m_pHolder), 2);
    EXPECT_EQ(crier->m_pPlayerSet, k->m_pHolder);
    // Touching: the conversation takes over.
    frame->m_Play.Give(Order::With(Order::Kind::InputLock, 1));
    EXPECT_EQ(frame->m_Play.InteractWith(k, 1), Object::kWorldChanged);
    EXPECT_EQ(frame->m_Play.IsInputLocked(), 0);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    EXPECT_EQ(crier->m_pPlayerSet, nullptr);

    // Reaching a party member, someone who came over does not carry it off.
    crier->m_strMessageNode = "HELLO";
    EXPECT_EQ(Ask(crier, k->m_pHolder, 1), 1);
    EXPECT_TRUE(map->IsListedAnywhere(k->m_pHolder));
    EXPECT_EQ(crier->m_pBag->ItemCount(), 0);

    // A party member who has nothing to say to a member who has.
    Player* quiet = PlaceMember(2, At(37, 35));
    k->m_strMessageNode = "CHAT";
    Key(qv::VK_RETURN);  // closes "No Response."
    EXPECT_EQ(Ask(k, quiet->m_pHolder, 1), 0);
    EXPECT_EQ(frame->m_Play.IsInputLocked(), 0);
    EXPECT_EQ(quiet->m_pPlayerSet, nullptr);
}

TEST_F(InteractInFrame, TakingPartOfAStackLeavesTheRestWhereItLies) {
    Player* k = PlaceMember(1, At(36, 35));
    auto* arrows = new Thing("Arrows");
    arrows->m_bStackable = 1;
    arrows->m_iBulkNum = 5;
    ObjectHolder* lying = PlaceThing(arrows, At(36, 36))->m_pHolder;
    frame->m_World.m_pHoverHolder = lying;
    for (int i = 0; i < 3; ++i) Key(qv::VK_DOWN);  // 5 offered, 2 taken
    Key(qv::VK_RETURN);
    EXPECT_EQ(Ask(k, lying, 1), 1);
    EXPECT_EQ(arrows->m_iBulkNum, 3);
    EXPECT_TRUE(map->IsListedAnywhere(lying));
    ASSERT_EQ(k->m_pBag->ItemCount(), 1);
    EXPECT_EQ(k->m_pBag->Items()[0]->m_iBulkNum, 2);

    // The rest, all of it: off the map, no longer the candidate, and joined
    // to the stack in the bag.
    Key(qv::VK_RETURN);
    qv::Handle<ObjectHolder> gone(lying);
    EXPECT_EQ(Ask(k, lying, 1), 1);
    EXPECT_FALSE(gone);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
    ASSERT_EQ(k->m_pBag->ItemCount(), 1);
    EXPECT_EQ(k->m_pBag->Items()[0]->m_iBulkNum, 5);

    // Nothing chosen: nothing taken.
    auto* bolts = new Thing("Bolts");
    bolts->m_bStackable = 1;
    bolts->m_iBulkNum = 4;
    PlaceThing(bolts, At(37, 36));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(Ask(k, bolts->m_pHolder, 1), 1);
    EXPECT_EQ(bolts->m_iBulkNum, 4);
    EXPECT_NE(bolts->m_pHolder, nullptr);

    // A bag with a place left takes a single thing; a full one refuses it:
    // asked how many, the member answers -1, the refusal beep sounds and
    // the thing keeps its holder on the map.
    struct Row {
        const char* rule;
        int freePlaces;
        int answer;
        bool taken;
    };
    const Row rows[] = {{"one place left: taken", 1, 1, true},
                        {"the bag full: refused", 0, -1, false}};
    int column = 38;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        while (k->m_pBag->ItemCount() < k->m_pBag->Capacity() - r.freePlaces) {
            k->m_pBag->AddItem(new Thing("Stone"));
            k->m_pBag->SetItemCount(k->m_pBag->ItemCount() + 1);
        }
        Thing* lamp = PlaceThing(new Thing("Lamp"), At(column++, 36));
        ObjectHolder* holder = lamp->m_pHolder;
        EXPECT_EQ(frame->m_Play.AskTakeAmount(k, lamp), r.answer);
        const int beeps = frame->m_Play.WarningBeeps();
        qv::Handle<ObjectHolder> kept(holder);
        EXPECT_EQ(Ask(k, holder, 1), 1);
        EXPECT_EQ(frame->m_Play.WarningBeeps(), beeps + (r.taken ? 0 : 1));
        EXPECT_EQ(k->m_pBag->Contains(lamp), r.taken);
        EXPECT_EQ(kept.Get() != nullptr, !r.taken);
        if (!r.taken) {
            EXPECT_EQ(lamp->m_pHolder, holder);
            EXPECT_TRUE(map->IsListedAnywhere(holder));
        }
    }
}

TEST_F(InteractInFrame, NoToTheStairsQuestionChangesNothingAndYesSetsTheJourney) {
    Player* k = PlaceMember(1, At(36, 35));
    Thing* stairs = PlaceThing(new Thing("Stairs", STAIRS), At(37, 35));
    ObjectHolder* h = stairs->m_pHolder;
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(Ask(k, h, 1), 1);
    EXPECT_EQ(frame->m_Play.Travelling().PendingWorld().Get(), nullptr);
    EXPECT_EQ(stairs->m_pHolder, h);
    EXPECT_TRUE(map->IsListedAnywhere(h));
    EXPECT_EQ(stairs->activations, 0);
    Key('Y');
    EXPECT_EQ(Ask(k, h, 1), 1);
    EXPECT_EQ(frame->m_Play.Travelling().PendingWorld().Get(), stairs);
    EXPECT_EQ(stairs->activations, 0);
}

}  // namespace
