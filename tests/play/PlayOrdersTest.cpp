// Orders handed to a Play of a world without a frame: walking to a point,
// heading for a thing, dropping a stack, and the questions they ask.

#include <memory>

#include "PlayFixture.h"

using namespace play_test;

namespace {

class PlayOrders : public PlayFixture {};

// A stackable thing, kept by the test.
class Arrows : public Object {
public:
    Arrows() : Object("Arrows") { m_bStackable = 1; }
    Object* Clone() override {
        auto* copy = new Arrows;
        copy->m_iBulkNum = m_iBulkNum;
        return copy;
    }
};

TEST_F(PlayOrders, AWalkOrderSendsTheControlledMemberToABarePoint) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    const Position point(k->m_Position.x + 60, k->m_Position.y, 0);
    EXPECT_EQ(play.Give(Order::At(Order::Kind::WalkTo, point)), 2) << "far: it walks on";
    ASSERT_NE(k->m_pPlayerSet, nullptr);
    EXPECT_EQ(k->m_pPlayerSet->pos, point);
    EXPECT_EQ(k->m_pPlayerSet->m_pObject, nullptr);

    // A named actor goes itself; without a point there is nowhere to go.
    Player* other = PlaceMember(2, At(36, 36));
    Order walk = Order::At(Order::Kind::WalkTo, Position(point.x, point.y + 40, 0));
    walk.actor = other;
    EXPECT_EQ(play.Give(walk), 2);
    EXPECT_EQ(other->m_pPlayerSet->pos, walk.point);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::WalkTo)), 0);
    EXPECT_TRUE(ask.asked.empty());
}

TEST_F(PlayOrders, AnOrderWithoutAnyoneToCarryItOutDoesNothing) {
    EXPECT_EQ(play.Give(Order::At(Order::Kind::WalkTo, At(36, 35))), 0);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 0)), 0);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 6)), 0);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::None)), 0);
}

TEST_F(PlayOrders, ADroppedStackAsksHowManyAndKeepsTheRestWithTheCaller) {
    Arrows arrows;
    arrows.m_iBulkNum = 5;
    const Position w = At(36, 35, 40, 30);
    ask.quantities = {2, 0};
    EXPECT_EQ(play.Give(Order::At(Order::Kind::Drop, w)), 0) << "nothing named to drop";
    Order drop = Order::At(Order::Kind::Drop, w);
    drop.object = &arrows;
    EXPECT_EQ(play.Give(drop), 1) << "a part of the stack went";
    EXPECT_EQ(arrows.m_iBulkNum, 3);
    ASSERT_EQ(ask.asked, (std::vector<std::string>{"quantity 5"}));
    EXPECT_EQ(play.m_bQuantityUp, 0);
    // The player cancels: nothing changes.
    EXPECT_EQ(play.Give(drop), 0);
    EXPECT_EQ(arrows.m_iBulkNum, 3);
    EXPECT_EQ(ask.asked.size(), 2u);
}

TEST_F(PlayOrders, SelectingASlotMakesItsMemberTheControlledOne) {
    PlaceMember(1, At(36, 35));
    Player* second = PlaceMember(2, At(36, 36));
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 2)), 1);
    EXPECT_EQ(world.m_pControlPlayer.Get(), second);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 3)), 0) << "an empty slot";
    EXPECT_EQ(world.m_pControlPlayer.Get(), second);
}

}  // namespace
