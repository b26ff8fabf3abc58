// A creature's own turn only reports that it arrived at a thing; what the thing
// calls for is carried out once the groups have taken their turns, in the order
// the creatures arrived. An order of the player's own acts at once.

#include <memory>
#include <vector>

#include "PlayFixture.h"

using namespace play_test;

namespace {

// A fixture that notes who worked it, in order.
class Lever : public Object {
public:
    Lever(std::vector<Lever*>* log, int answer = 1)
        : Object("Lever"), m_log(log), m_answer(answer) {
        m_bMoveable = 0;
    }
    int CanInteract() override { return 1; }
    int CanBeUsedBy(Player*) override { return 1; }
    int Activate(int*, Player* actor) override {
        m_log->push_back(this);
        m_by = actor;
        return m_answer;
    }
    std::vector<Lever*>* m_log;
    int m_answer;
    Player* m_by = nullptr;
};

class PlayArrivals : public PlayFixture {
protected:
    // A lever placed at pos, the target of `by` if given; the map owns it.
    Lever* PlaceLever(const Position& pos, Player* by = nullptr, int answer = 1) {
        auto* lever = new Lever(&worked, answer);
        Lay(lever, pos);
        if (by) by->JoinPlayerSet(lever->m_pHolder);
        return lever;
    }
    std::vector<Lever*> worked;
};

TEST_F(PlayArrivals, ATurnReportsTheArrivalAndTheLeversAreWorkedAfterTheGroupsInTheirOrder) {
    Player* a = PlaceMember(1, At(36, 35, 20, 50));
    Player* b = PlaceMember(2, At(37, 35, 20, 50));
    Player* c = PlaceMember(3, At(38, 35, 20, 50));
    Lever* first = PlaceLever(At(37, 35, 40, 50), b);
    Lever* gone = PlaceLever(At(38, 35, 40, 50), c);
    Lever* last = PlaceLever(At(36, 35, 40, 50), a);
    // Touching (the flag skips the distance test): done, and nothing worked yet.
    for (Player* p : {b, c, a}) EXPECT_EQ(play.Approach(p, 1), 1);
    EXPECT_TRUE(worked.empty());
    EXPECT_EQ(b->m_pPlayerSet, nullptr) << "the creature has done with its target";
    // The second lever goes before the arrivals are carried out.
    ObjectHolder* holder = gone->m_pHolder;
    map.RemoveHolder(holder->pos, holder);
    DeleteHolderWithObject(holder);
    EXPECT_EQ(play.ApplyArrivals(), 1);
    EXPECT_EQ(worked, (std::vector<Lever*>{first, last}));
    EXPECT_EQ(first->m_by, b);
    EXPECT_EQ(play.ApplyArrivals(), 1) << "each arrival is carried out once";
    EXPECT_EQ(worked.size(), 2u);
}

TEST_F(PlayArrivals, AWorldChangeEndsTheArrivalsAfterIt) {
    Player* a = PlaceMember(1, At(36, 35, 20, 50));
    Player* b = PlaceMember(2, At(37, 35, 20, 50));
    Lever* stairs = PlaceLever(At(36, 35, 40, 50), a, Object::kWorldChanged);
    PlaceLever(At(37, 35, 40, 50), b);
    for (Player* p : {a, b}) EXPECT_EQ(play.Approach(p, 1), 1);
    EXPECT_EQ(play.ApplyArrivals(), Object::kWorldChanged);
    EXPECT_EQ(worked, (std::vector<Lever*>{stairs}));
    EXPECT_EQ(play.ApplyArrivals(), 1) << "the rest were dropped with the old world";
    EXPECT_EQ(worked.size(), 1u);
}

TEST_F(PlayArrivals, ThePlayersOwnOrderActsAtOnce) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    Lever* lever = PlaceLever(At(36, 35, 30, 50));  // near, nothing in between
    Order interact = Order::On(Order::Kind::Interact, lever->m_pHolder);
    EXPECT_EQ(play.Give(interact), 1);
    ASSERT_EQ(worked, (std::vector<Lever*>{lever}));
    EXPECT_EQ(lever->m_by, k);
    EXPECT_EQ(play.ApplyArrivals(), 1);
    EXPECT_EQ(worked.size(), 1u);
}

}  // namespace
