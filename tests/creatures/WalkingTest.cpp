// Creatures thinking and walking in a world stepped one game tick at a time:
// walking to a point round an obstacle, a blocked creature in a hurry, a ship
// carrying its steerer, a patrol, and the rules of single thoughts and steps.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "creatures/PlayerMoves.h"
#include "events/GameEvent.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "structures/Traversable.h"
#include "world/Group.h"
#include "world/MapFixture.h"
#include "world/UnusedNumbers.h"

namespace {

using maptest::MapFixture;

constexpr int32_t kTick = 100;

// A creature that counts the steps it is handed.
class Walker : public Player {
public:
    int HandleMoveEvent(int32_t time, int32_t x, int32_t y, MapMaster* map,
                        int32_t depth) override {
        if (depth == 0) ++moves;
        return Player::HandleMoveEvent(time, x, y, map, depth);
    }
    int moves = 0;
};

class WalkingTest : public MapFixture {
protected:
    WalkingTest() { qv::SeedRand(7); }

    Walker* Place(Position at) {
        auto* p = Make<Walker>();
        p->m_Position = at;
        ObjectHolder* h = Hold(p, at);
        EXPECT_EQ(map.AddHolder(at, h), 1);
        p->m_Position = h->pos;
        world.m_ptFocus = {at.x, at.y};
        return p;
    }
    // Runs the creature's turns for n ticks.
    void Run(Player* p, int ticks, const std::function<void()>& each = {}) {
        for (int i = 0; i < ticks; ++i) {
            now += kTick;
            p->Update(now, &map);
            if (each) each();
        }
    }
    ObjectHolder* Block(Position pos, std::unique_ptr<CDDObject>& image) {
        auto* thing = Make<maptest::Thing>(image.get());
        ObjectHolder* h = Hold(thing, pos);
        EXPECT_EQ(map.AddHolder(pos, h), 1);
        return h;
    }
    static int64_t DistanceSq(const Position& a, const Position& b) {
        const int64_t dx = a.x - b.x, dy = a.y - b.y;
        return dx * dx + dy * dy;
    }

    int32_t now = 1000;
};

TEST_F(WalkingTest, ACreatureWalksToAPointRoundAnObstacleAndArrives) {
    // Two cells east, with a solid cell between.
    Walker* p = Place(At(20, 20));
    map.GetCell(11, 10).terrain = 7;
    const Position target = At(22, 20);
    p->m_ptStay = {22, 20};                           // where it lives
    auto* point = new ObjectHolder(target, nullptr);  // a plain walk target
    p->JoinPlayerSet(point);
    bool enteredSolid = false;
    Run(p, 600, [&] {
        if (MapMaster::PixelToCell(p->m_Position) == CellPoint{21, 20}) enteredSolid = true;
    });
    EXPECT_FALSE(enteredSolid);
    EXPECT_EQ(p->m_pPlayerSet, nullptr);  // arrived: the target is let go
    EXPECT_LT(DistanceSq(p->m_Position, target), 200);
    EXPECT_EQ(p->m_pHolder->pos, p->m_Position);
}

TEST_F(WalkingTest, AHastedHurriedCreatureThatIsBlockedDoesNotHang) {
    // Walled in on every side but the point it stands on, with a step time
    // that haste turns into no delay at all.
    auto image = maptest::MakeImage(
        40, 40, 20, 20, [](int x, int y) -> uint8_t { return x == 20 && y == 20 ? 0 : 1; });
    const Position at = At(20, 20, 20, 56);
    Block(at, image);
    Walker* p = Place(at);
    p->m_iStepTime = 4;
    p->m_bHasted = 1;
    p->m_iPartySlot = 1;
    world.m_pLeader = p;
    world.m_Party[0] = p;
    for (auto& row : world.m_FormationRows) row[0] = {100, 0};  // its place: 100 pixels east
    for (int i = 0; i < 30; ++i) {
        const int before = p->moves;
        Run(p, 1);
        // Every failed step is planned again at least one unit later, so the
        // turn ends once its steps have caught up with the clock.
        EXPECT_LE(p->moves - before, kTick);
        if (i > 0) {
            EXPECT_GE(p->moves - before, 1);
        }
    }
    EXPECT_EQ(p->m_Position, at);
    EXPECT_EQ(p->m_cRouteMode, 'B');
    world.m_Party[0] = nullptr;
    world.m_pLeader = nullptr;
}

TEST_F(WalkingTest, AShipCarriesItsSteererAndTheSteererStepsOffOntoLand) {
    // Water in cells 19..22 of row 20, land from x = 3680 on.
    for (int i = 9; i <= 12; ++i) map.GetCell(i, 10).terrain = 3;
    auto deckImage = maptest::MakeImage(60, 20, 30, 10, [](int, int) { return maptest::kDeck; });
    auto* ship = Make<maptest::Pictured<Ship>>();
    ship->image = deckImage.get();
    ship->m_iMoveMode = 2;  // it sails on water only
    ship->m_iDirection = 3;
    Position shipAt(3281, 2296, 0);
    ObjectHolder* shipHolder = Hold(ship, shipAt);
    ASSERT_EQ(map.AddHolder(shipAt, shipHolder), 1);

    // The steerer stands on the deck, one pixel east of its middle, and is
    // told to walk east.
    Walker* p = Place({3282, 2296, 0});
    ASSERT_EQ(p->m_pAboard.Get(), ship);
    Walker* passenger = Place({3262, 2290, 0});  // aboard, taking no turns
    p->m_iPartySlot = -1;
    p->m_pOrder->m_iType = ObjectEventType::MOVE;
    p->m_pOrder->m_iArg1 = 3900;
    p->m_pOrder->m_iArg2 = 2296;

    Run(p, 20);
    // Carried: the ship has moved as far as the steerer.
    EXPECT_GT(shipHolder->pos.x, 3281 + 40);
    EXPECT_EQ(p->m_Position.x - shipHolder->pos.x, 1);
    EXPECT_EQ(passenger->m_Position.x - shipHolder->pos.x, -19);
    EXPECT_EQ(passenger->m_Position.y, 2290);
    EXPECT_EQ(passenger->m_pHolder->pos, passenger->m_Position);
    EXPECT_EQ(p->m_pAboard.Get(), ship);
    EXPECT_EQ(ship->m_iDirection, 0);  // turned to the steerer's facing east

    Run(p, 200);
    // The ship stopped where its bow meets the land; the steerer walked on.
    EXPECT_EQ(shipHolder->pos.x, 3649);
    EXPECT_EQ(p->m_pAboard.Get(), nullptr);
    EXPECT_GE(p->m_Position.x, 3680);
    EXPECT_EQ(p->m_Position.y, 2296);
}

TEST_F(WalkingTest, ACreatureCrossesADrawbridgeOnFootAndLeavesItInPlace) {
    // Water in cell (20, 20) only; the bridge's deck reaches 10 pixels onto
    // the land on each side.
    map.GetCell(10, 10).terrain = 3;
    auto deckImage = maptest::MakeImage(180, 20, 90, 10, [](int, int) { return maptest::kDeck; });
    auto* bridge = Make<maptest::Pictured<DrawBridge>>();
    bridge->m_iDirection = 1;  // carries steps east and west
    bridge->image = deckImage.get();
    Position bridgeAt = At(20, 20);
    ObjectHolder* bridgeHolder = Hold(bridge, bridgeAt);
    ASSERT_EQ(map.AddHolder(bridgeAt, bridgeHolder), 1);

    Walker* p = Place(At(19, 20, 140, 56));  // on the land west of the water
    p->m_iPartySlot = -1;
    p->m_pOrder->m_iType = ObjectEventType::MOVE;
    p->m_pOrder->m_iArg1 = At(21, 20).x;
    p->m_pOrder->m_iArg2 = At(21, 20).y;
    bool crossedWater = false;
    Run(p, 150, [&] {
        if (MapMaster::PixelToCell(p->m_Position) == CellPoint{20, 20}) crossedWater = true;
    });
    EXPECT_TRUE(crossedWater);
    EXPECT_EQ(p->m_Position.x, At(21, 20).x);
    EXPECT_EQ(bridgeHolder->pos, At(20, 20));
    EXPECT_EQ(p->m_pAboard.Get(), nullptr);
}

TEST_F(WalkingTest, APatrolVisitsItsCellsInTheOrderItChoosesThem) {
    Walker* p = Place(At(20, 20));
    for (CellPoint c : {CellPoint{21, 20}, CellPoint{21, 21}, CellPoint{20, 21}})
        p->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(c.x, c.y));
    std::vector<CellPoint> stays;
    std::vector<CellPoint> wasIn;
    CellPoint last = p->m_ptStay;
    Run(p, 3000, [&] {
        if (p->m_ptStay != last) {
            last = p->m_ptStay;
            stays.push_back(last);
            wasIn.push_back(MapMaster::PixelToCell(p->m_Position));
        }
    });
    ASSERT_GE(stays.size(), 4u);
    for (size_t i = 1; i < stays.size(); ++i) {
        SCOPED_TRACE(i);
        // Each new cell is chosen once the creature stands in the last one.
        EXPECT_EQ(wasIn[i], stays[i - 1]);
        EXPECT_TRUE(stays[i] == (CellPoint{21, 20}) || stays[i] == (CellPoint{21, 21}) ||
                    stays[i] == (CellPoint{20, 21}));
    }
}

TEST_F(WalkingTest, AGroupPlacedInTheWorldPatrolsCellsOfTheWorld) {
    // The window starts at world cell (10, 10): patrol cells kept as window
    // cells would send the creature ten cells astray.
    world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1000, -1, 0);
    world.m_pPathFinder = &AStarPaths::Shared();
    qv::SeedRand(3);
    auto* p = new Walker;
    p->m_Position = At(30, 30);
    world.m_ptFocus = {p->m_Position.x, p->m_Position.y};
    Group group("Patrol");
    group.AddMemberDirect(p);
    group.AddToWorld(0, 0, 0);
    ASSERT_NE(p->m_pHolder, nullptr);
    EXPECT_EQ(p->m_ptStay, (CellPoint{30, 30}));
    ASSERT_GE(p->m_MoveList.size(), 2u);
    std::vector<CellPoint> cells;
    for (const auto& m : p->m_MoveList) {
        auto* to = qv::DynamicCast<PlayerMoveTo>(m.get());
        ASSERT_NE(to, nullptr);
        cells.push_back({to->x, to->y});
        EXPECT_LE(std::abs(to->x - 30), 5);
        EXPECT_LE(std::abs(to->y - 30), 5);
    }
    EXPECT_EQ(cells.back(), (CellPoint{30, 30}));  // the home, entered first

    // It walks to the cells it picks and reaches them.
    std::vector<CellPoint> reached;
    CellPoint last = p->m_ptStay;
    Run(p, 3000, [&] {
        const CellPoint here = MapMaster::PixelToCell(p->m_Position);
        if (p->m_ptStay != last) {
            EXPECT_EQ(here, last);  // it stood in the last one when it chose again
            last = p->m_ptStay;
        }
        if (here == p->m_ptStay && (reached.empty() || reached.back() != here))
            reached.push_back(here);
    });
    EXPECT_GE(reached.size(), 3u);
    for (CellPoint c : reached) EXPECT_NE(std::find(cells.begin(), cells.end(), c), cells.end());
    group.RemoveFromMap();
    world.m_pPathFinder = nullptr;
}

// ---- single thoughts and steps

TEST_F(WalkingTest, AWalkOrderStepsTowardItsPointUnlessATalkIsPending) {
    Walker* p = Place(At(20, 20));
    p->m_iPartySlot = -1;
    p->m_pOrder->m_iType = ObjectEventType::MOVE;
    p->m_pOrder->m_iArg1 = 500;
    p->m_pOrder->m_iArg2 = 300;
    p->m_pEvents->Clear();
    EXPECT_EQ(p->Think(5000, &map), 1);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    const ObjectEvent& e = p->m_pEvents->At(0);
    EXPECT_EQ(e.m_iType, ObjectEventType::MOVE);
    EXPECT_EQ(e.m_iTime, 5000 + p->m_iStepTime);
    EXPECT_EQ(e.m_iArg1, 500);
    EXPECT_EQ(e.m_iArg2, 300);

    p->m_pEvents->Clear();
    p->m_iTalkState = 0;
    p->Think(5000, &map);
    for (int i = 0; i < p->m_pEvents->Count(); ++i)
        EXPECT_FALSE(p->m_pEvents->At(i).m_iArg1 == 500 && p->m_pEvents->At(i).m_iArg2 == 300);
}

TEST_F(WalkingTest, AWaitCountStepsOnTheSpotTwice) {
    Walker* p = Place(At(20, 20));
    p->m_iWaitCount = 3;
    for (int expected : {2, 1}) {
        p->m_pEvents->Clear();
        EXPECT_EQ(p->Think(5000, &map), 1);
        EXPECT_EQ(p->m_iWaitCount, expected);
        ASSERT_EQ(p->m_pEvents->Count(), 1);
        EXPECT_EQ(p->m_pEvents->At(0).m_iArg1, p->m_Position.x);
        EXPECT_EQ(p->m_pEvents->At(0).m_iArg2, p->m_Position.y);
    }
    // The third goes on to its stay cell.
    p->m_ptStay = {22, 20};
    p->m_pEvents->Clear();
    p->Think(5000, &map);
    EXPECT_EQ(p->m_iWaitCount, 1);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    EXPECT_GT(p->m_pEvents->At(0).m_iArg1, p->m_Position.x);
}

TEST_F(WalkingTest, ARoutePointTooFarIsDroppedAndTheWalkPlannedAgain) {
    Walker* p = Place(At(20, 20));
    const Position at = p->m_Position;
    p->m_cRouteMode = 'C';
    p->m_Route.Plan(at.x + 1, at.y, at.x + 11, at.y, p, &map, nullptr, 1, 10, 0);
    ASSERT_EQ(p->m_Route.PointCount(), 5u);  // (x + 3, y) first: 3 pixels away
    p->m_ptStay = {22, 20};
    p->m_iWaitCount = 1;
    p->m_pEvents->Clear();
    p->Think(5000, &map);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    // Not the old point: a new route toward the stay cell.
    EXPECT_EQ(p->m_pEvents->At(0).m_iArg1, at.x + 2);
    EXPECT_EQ(p->m_Route.Points().front(), (qv::Point{at.x + 2, at.y}));
}

TEST_F(WalkingTest, WhereATalkerAndAGuardHeadFor) {
    Walker* p = Place(At(20, 20));
    Walker* other = Place(At(22, 20));
    world.m_PlayerArray = {nullptr, other};
    other->m_iPlayerNumber = 1;
    other->m_sFacing = 4;
    p->m_iTalkState = 1;
    qv::Point next;
    int32_t hurry = 0;
    p->NPCTalk(&next, &hurry);
    EXPECT_EQ(next, (qv::Point{other->m_Position.x - 15, other->m_Position.y}));
    world.m_PlayerArray.clear();

    // A guard whose defence cell is its own cell heads for its centre.
    p->m_iTalkState = -1;
    p->m_bAttackRandomMonsters = 1;
    p->m_ptDefenseCell = {20, 20};
    p->m_Position.x += 30;
    p->NPCTalk(&next, &hurry);
    EXPECT_EQ(next, (qv::Point{20 * 160 + 80, 20 * 112 + 56}));
    // One far outside the window is pulled back to the window's edge first.
    p->m_ptDefenseCell = {65, 20};  // 45 cells east; the window's edge is 40 away
    p->NPCTalk(&next, &hurry);
    EXPECT_EQ(next, (qv::Point{60 * 160 + 80, 20 * 112 + 56}));
}

TEST_F(WalkingTest, APartyMemberHeadsForItsFormationPlaceBesideTheLeader) {
    Walker* leader = Place(At(20, 20));
    Walker* member = Place(At(18, 20));
    Group party("Party");
    party.AddMemberDirect(leader);
    party.AddMemberDirect(member);
    party.m_pGroupLeader = leader;
    world.m_pLeader = leader;
    world.m_Party[0] = leader;
    world.m_Party[1] = member;
    world.m_FormationRows[0][1] = {25, 25};
    world.m_FormationRows[1][1] = {-25, 25};
    world.m_FormationRows[3][1] = {25, -25};
    struct Row {
        const char* rule;
        int16_t facing;
        qv::Point offset;  // from the leader's place
    };
    const Row rows[] = {
        {"facing 0: row 0's entry", 0, {25, 25}},
        {"facing 1: still row 0", 1, {25, 25}},
        {"facing 2: row 1", 2, {-25, 25}},
        {"facing 7: row 3", 7, {25, -25}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        leader->m_sFacing = r.facing;
        member->m_iWaitCount = 0;
        qv::Point next;
        int32_t hurry = 0;
        member->NPCTalk(&next, &hurry);
        EXPECT_EQ(next,
                  (qv::Point{leader->m_Position.x + r.offset.x, leader->m_Position.y + r.offset.y}))
            << "beside the leader, never on it";
        EXPECT_EQ(hurry, 1);
    }
    party.RemoveMember(member);
    party.RemoveMember(leader);
    world.m_Party = {};
    world.m_pLeader = nullptr;
}

TEST_F(WalkingTest, APendingTalkStartsInTheStayCell) {
    Walker* p = Place(At(20, 20));
    p->m_iWaitCount = 1;
    p->m_ptStay = {20, 20};
    p->m_iTalkState = -2;
    p->m_iTalkActor = 7;
    p->m_strTalkNode = "GREET";
    qv::Point next;
    int32_t hurry = 0;
    // No creature 7 and no leader: a talk event is queued to fire.
    p->NPCTalk(&next, &hurry);
    EXPECT_EQ(p->m_iTalkState, -1);
    ASSERT_EQ(world.m_EventList.size(), 1u);
    auto* talk = dynamic_cast<CTalkEvent*>(world.m_EventList.front().get());
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->m_strSpecialName, "NPCTalk");
    EXPECT_EQ(talk->m_strTalkNode, "GREET");
    EXPECT_EQ(talk->m_iActor, 7);
    EXPECT_EQ(talk->m_iStatus, 1);

    // Creature 1 exists: it is told to talk from that node; the leader's
    // pending talk ends too.
    Walker* other = Place(At(22, 20));
    Walker* leader = Place(At(24, 20));
    world.m_PlayerArray = {nullptr, other};
    world.m_pLeader = leader;
    leader->m_iTalkState = 0;
    p->m_iTalkState = -2;
    p->m_iTalkActor = 1;
    p->NPCTalk(&next, &hurry);
    EXPECT_EQ(other->m_iActionOption, ActionOption::Talk);
    EXPECT_EQ(other->m_strMessageNode, "GREET");
    EXPECT_EQ(leader->m_iTalkState, -1);
    EXPECT_EQ(world.m_EventList.size(), 1u);
    world.m_PlayerArray.clear();
    world.m_pLeader = nullptr;
}

TEST_F(WalkingTest, AWorldChangedAnswerEndsTheTurn) {
    Walker* p = Place(At(20, 20));
    auto* point = new ObjectHolder(At(22, 20), nullptr);
    p->JoinPlayerSet(point);
    int asked = 0;
    world_test::TestRules rules;
    rules.approach = [&](Player*, int) {
        ++asked;
        return -3;
    };
    world.m_pRules = &rules;
    p->m_pEvents->Clear();
    p->m_pEvents->Post(ObjectEventType::THINK, 0);
    p->m_pEvents->Post(ObjectEventType::MOVE, 900, nullptr, 0, p->m_Position.x + 10, 0);
    EXPECT_EQ(p->Update(1000, &map), -3);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(p->m_pEvents->Count(), 1);  // the step waits for the next turn

    // Met in the way of a step, the target's answer ends the step too.
    p->LeavePlayerSet();
    auto image = maptest::SolidImage(20, 20, 10, 10);
    const Position at = p->m_Position;
    ObjectHolder* chest = Block({at.x + 12, at.y}, image);
    p->JoinPlayerSet(chest);
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 40, at.y, &map, 0), -3);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(p->m_Position, at);
    world.m_pRules = nullptr;
    p->LeavePlayerSet();
}

TEST_F(WalkingTest, IdlePicks) {
    Walker* p = Place(At(20, 20));
    // Nothing to do nearby: a wait of 0, 1 or 2, always 1.
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(p->PickIdleAction(), 1);
        EXPECT_GE(p->m_iWaitCount, 0);
        EXPECT_LE(p->m_iWaitCount, 2);
    }
    // Told to stay: kept.
    p->m_iWaitCount = -1;
    EXPECT_EQ(p->PickIdleAction(), 1);
    EXPECT_EQ(p->m_iWaitCount, -1);
    // A party member has nothing to pick.
    p->m_iWaitCount = 0;
    world.m_Party[2] = p;
    EXPECT_EQ(p->PickIdleAction(), 0);
    world.m_Party[2] = nullptr;
    // A nonstandard creature stays in its cell.
    p->m_iActionOption = ActionOption::Nonstandard;
    EXPECT_EQ(p->PickIdleAction(), 1);
    EXPECT_EQ(p->m_iWaitCount, 2);
    EXPECT_EQ(p->m_ptStay, (CellPoint{20, 20}));
}

TEST_F(WalkingTest, AnIdleCreatureGoesToAFixtureWithinReach) {
    struct Fixture : maptest::Thing {
        Fixture() : Thing(nullptr, 0, 0) { m_bMoveable = 0; }
        int CanInteract() override { return 1; }
        int CanBeUsedBy(Player*) override { return 1; }
    };
    Walker* p = Place(At(20, 20));
    auto joins = [&](Position at) {
        auto* f = Make<Fixture>();
        ObjectHolder* h = Hold(f, at);
        EXPECT_EQ(map.AddHolder(at, h), 1);
        int n = 0;
        for (int i = 0; i < 60; ++i) {
            p->m_iWaitCount = 0;
            EXPECT_EQ(p->PickIdleAction(), 1);
            if (p->m_pPlayerSet == h) ++n;
            p->LeavePlayerSet();
        }
        map.RemoveHolder(h->pos, h);
        return n;
    };
    const Position at = p->m_Position;
    EXPECT_GT(joins({at.x + 399, at.y}), 0);
    EXPECT_GT(joins({at.x, at.y - 199}), 0);
    EXPECT_EQ(joins({at.x + 400, at.y}), 0);
    EXPECT_EQ(joins({at.x, at.y + 200}), 0);
}

TEST_F(WalkingTest, AStepOnTheSpotThinksAtOnceAndABlockedStepSlides) {
    // Four pixels above the solid row of cells south of it, with a block
    // two pixels east: 20 x 8 pixels, down to y + 2.
    map.GetCell(10, 11).terrain = 7;
    const Position at = At(20, 20, 80, 108);
    auto image = maptest::SolidImage(20, 8, 10, 5);
    Block({at.x + 12, at.y}, image);
    Walker* p = Place(at);
    p->m_pEvents->Clear();
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x, at.y, &map, 0), 1);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    EXPECT_EQ(p->m_pEvents->At(0).m_iType, ObjectEventType::THINK);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 0);

    // Facing east into the block: the step is blocked, so it slides south.
    p->m_pEvents->Clear();
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 40, at.y + 1, &map, 0), 1);
    EXPECT_EQ(p->m_Position, (Position{at.x, at.y + 2, 0}));

    // Now the solid row is in the way of the slide too: no step, and the
    // route counts as broken.
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 40, at.y + 1, &map, 0), 0);
    EXPECT_EQ(p->m_cRouteMode, 'B');
    EXPECT_EQ(p->m_Position, (Position{at.x, at.y + 2, 0}));
}

TEST_F(WalkingTest, WhoStandsFastAndWhatAStepOnTheSpotQueues) {
    // A creature with opponents, its panel toggle at 1 and in no player set
    // stands fast: the move answers 0 and nothing changes. A move to its own
    // point queues a THINK at once only while no talk waits (state -1).
    struct Row {
        const char* rule;
        bool opponents;
        int toggle;
        bool inSet;
        int talkState;
        int dx;  // the point, this far east
        int result;
        size_t events;  // queued after the move (one ATTACK queued before)
        int movedX;     // the position afterwards, this far east
    };
    const Row rows[] = {
        {"opponents, toggle 1, no set: stands fast", true, 1, false, -1, 20, 0, 1, 0},
        {"the same in a player set: walks", true, 1, true, -1, 20, 1, 1, 2},
        {"toggle 0: walks", true, 0, false, -1, 20, 1, 1, 2},
        {"toggle 2: walks", true, 2, false, -1, 20, 1, 1, 2},
        {"no opponents: walks", false, 1, false, -1, 20, 1, 1, 2},
        {"its own point, no talk waiting: THINK at once", false, 0, false, -1, 0, 1, 2, 0},
        {"its own point, talk state 0: no THINK", false, 0, false, 0, 0, 1, 1, 0},
        {"its own point, talk state 1: no THINK", false, 0, false, 1, 0, 1, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Walker* p = Place(At(20, 20));
        Walker* foe = Place(At(24, 20));
        const Position at = p->m_Position;
        if (r.opponents) p->m_Opponents.emplace_back(foe);
        p->m_bPanelToggle = r.toggle;
        p->m_iTalkState = r.talkState;
        if (r.inSet) p->JoinPlayerSet(foe->m_pHolder);
        p->m_pEvents->Clear();
        p->m_pEvents->Post(ObjectEventType::ATTACK, 9000);
        EXPECT_EQ(p->HandleMoveEvent(5000, at.x + r.dx, at.y, &map, 0), r.result);
        ASSERT_EQ(p->m_pEvents->Count(), r.events);
        if (r.events == 2) {
            EXPECT_EQ(p->m_pEvents->At(0).m_iType, ObjectEventType::THINK);
            EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 0);
        }
        EXPECT_EQ(p->m_Position, (Position{at.x + r.movedX, at.y, 0}));
        if (r.inSet) p->LeavePlayerSet();
        map.RemoveHolder(p->m_pHolder->pos, p->m_pHolder);
        map.RemoveHolder(foe->m_pHolder->pos, foe->m_pHolder);
    }
}

TEST_F(WalkingTest, ABlockedStepSlidesByItsFacing) {
    // A blocked step slides by the facing: facing 5 (north-west) first to
    // (px, py + 2) and, when that fails too, to (px + 2, py); facing 1
    // (south-east) first to (px - 2, py), then to (px, py - 2). Single
    // pixels block where the row says.
    auto dot = maptest::SolidImage(1, 1, 0, 0);
    struct Row {
        const char* rule;
        int towardX, towardY;  // the point, relative to the creature
        std::vector<qv::Point> blocked;
        int result;
        qv::Point end;
    };
    const std::vector<Row> rows = {
        {"facing 5, the step blocked: south", -40, -40, {{-2, -2}}, 1, {0, 2}},
        {"facing 5, the step and south blocked: east", -40, -40, {{-2, -2}, {0, 2}}, 1, {2, 0}},
        {"facing 5, all blocked: no step", -40, -40, {{-2, -2}, {0, 2}, {2, 0}}, 0, {0, 0}},
        {"facing 1, the step blocked: west", 40, 40, {{2, 2}}, 1, {-2, 0}},
        {"facing 1, the step and west blocked: north", 40, 40, {{2, 2}, {-2, 0}}, 1, {0, -2}},
        {"facing 1, all blocked: no step", 40, 40, {{2, 2}, {-2, 0}, {0, -2}}, 0, {0, 0}},
    };
    int cell = 20;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const Position at = At(cell, 20);
        cell += 2;  // each row on ground of its own
        for (qv::Point b : r.blocked) Block({at.x + b.x, at.y + b.y}, dot);
        Walker* p = Place(at);
        ASSERT_EQ(Player::FacingFromDelta(at, {at.x + r.towardX, at.y + r.towardY, 0}),
                  r.towardX < 0 ? 5 : 1);
        EXPECT_EQ(p->HandleMoveEvent(5000, at.x + r.towardX, at.y + r.towardY, &map, 0), r.result);
        EXPECT_EQ(p->m_Position, (Position{at.x + r.end.x, at.y + r.end.y, 0}));
        if (r.result == 0) {
            EXPECT_EQ(p->m_cRouteMode, 'B');
        }
    }
}

// ---- meeting other creatures

TEST_F(WalkingTest, WhatMeetingAnotherCreatureLeadsTo) {
    Walker* me = Place(At(20, 20));
    Walker* other = Place({me->m_Position.x + 209, me->m_Position.y, 0});
    Group mine("Mine"), theirs("Theirs");
    mine.AddMemberDirect(me);
    theirs.AddMemberDirect(other);

    // Nothing set to do: nothing.
    EXPECT_EQ(me->CheckEncounter(other), 0);
    // An attacker of another group: a fight, not within the group.
    other->m_iActionOption = ActionOption::Attack;
    EXPECT_EQ(me->CheckEncounter(other), 2);
    EXPECT_EQ(me->CheckEncounter(me), 0);
    // 210 pixels across is out of sight; so is a dead one.
    other->m_Position.x += 1;
    EXPECT_EQ(me->CheckEncounter(other), 0);
    other->m_Position.x -= 1;
    other->m_sLifeState = 0;
    EXPECT_EQ(me->CheckEncounter(other), 0);
    other->m_sLifeState = 1;

    // A talker comes over, in a hurry, once.
    other->m_iActionOption = ActionOption::Talk;
    EXPECT_EQ(me->CheckEncounter(other), 1);
    EXPECT_EQ(other->m_pPlayerSet, me->m_pHolder);
    EXPECT_EQ(other->m_bHasted, 1);
    EXPECT_EQ(other->m_iActionOption, ActionOption::None);
    other->LeavePlayerSet();

    // Hostile by magic: only when someone of my group visibly uses magic.
    other->m_bHostileByMagic = 1;
    EXPECT_EQ(me->CheckEncounter(other), 0);
    me->m_iLight = 1;
    qv::ScriptedMessages messages;
    EXPECT_EQ(me->CheckEncounter(other), 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "The Legions of Light see your use of magic... and attack!");

    mine.RemoveMember(me);
    theirs.RemoveMember(other);
}

TEST_F(WalkingTest, AHurriedWalkTakesShorterSteps) {
    Walker* p = Place(At(20, 20));
    const Position at = p->m_Position;
    int32_t hurry = 0;
    // A clear line of 220 pixels: four lengths of 55, so a quarter of the
    // step time when hurried.
    p->m_pEvents->Clear();
    EXPECT_EQ(p->MoveToward(at.x + 220, at.y, &map, 5000, &hurry, 0, 0), 1);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 5000 + 50);
    hurry = 1;
    p->m_pEvents->Clear();
    p->MoveToward(at.x + 220, at.y, &map, 5000, &hurry, 0, 0);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 5000 + 50 / 4);
    EXPECT_EQ(p->m_ptGoal, (qv::Point{at.x + 220, at.y}));

    // Round a solid cell the path finder's walk decides: (20, 20) to
    // (22, 20) past (21, 20) takes four steps; the leader, free of
    // opponents, gets fast time only for more than four.
    map.GetCell(11, 10).terrain = 7;
    world.m_pLeader = p;
    world.m_bFastTime = 1;
    p->m_pEvents->Clear();
    p->MoveToward(at.x + 320, at.y, &map, 5000, &hurry, 0, 0);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 5000 + 50 / 4);
    EXPECT_EQ(world.m_bFastTime, 0);
    map.GetCell(11, 9).terrain = 7;
    map.GetCell(11, 11).terrain = 7;
    p->m_pEvents->Clear();
    p->MoveToward(at.x + 320, at.y, &map, 5000, &hurry, 0, 0);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 5000 + 50 / 6);
    EXPECT_EQ(world.m_bFastTime, 1);
    world.m_pLeader = nullptr;
}

TEST_F(WalkingTest, ACreatureFacesThreePointsAheadOnALongRoute) {
    // A step north while the route goes on east: with more than 3 route
    // points left (and no walk order) the creature looks at the point three
    // ahead, east; with 3 or fewer, or under a walk order, where it steps.
    struct Row {
        const char* rule;
        int routePoints;  // a route east, two pixels a point
        bool walkOrder;
        int facing;
    };
    const Row rows[] = {
        {"4 points left: three ahead, east", 4, false, 0},
        {"3 points left: the step's point, north", 3, false, 6},
        {"20 points left: east", 20, false, 0},
        {"under a walk order: north", 20, true, 6},
    };
    int cell = 20;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Walker* p = Place(At(cell, 20));
        cell += 2;
        const Position at = p->m_Position;
        p->m_Route.Plan(at.x, at.y, at.x + 2 * r.routePoints, at.y, p, &map, nullptr, 1,
                        r.routePoints, 0);
        ASSERT_EQ(p->m_Route.PointCount(), static_cast<size_t>(r.routePoints));
        if (r.walkOrder) p->m_pOrder->m_iType = ObjectEventType::MOVE;
        EXPECT_EQ(p->HandleMoveEvent(5000, at.x, at.y - 20, &map, 0), 1);
        EXPECT_EQ(p->m_sFacing, r.facing);
        // The same point again keeps the facing.
        p->m_sFacing = 3;
        p->HandleMoveEvent(5000, at.x, at.y - 20, &map, 0);
        EXPECT_EQ(p->m_sFacing, 3);
    }
}

TEST_F(WalkingTest, ASubduedCreatureIsDraggedAlongByTheOneThatLeadsIt) {
    Walker* p = Place(At(20, 20));
    Walker* held = Place(At(20, 20, 40, 56));
    p->m_iMemberSpare = held;
    held->m_pEvents->Clear();
    const Position at = p->m_Position;
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 10, at.y, &map, 0), 1);
    EXPECT_EQ(held->m_pEvents->Count(), 0);  // not subdued: left alone
    held->m_bSubdued = 1;
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 10, at.y, &map, 0), 1);
    ASSERT_EQ(held->m_pEvents->Count(), 1);
    const ObjectEvent& e = held->m_pEvents->At(0);
    EXPECT_EQ(e.m_iType, ObjectEventType::MOVE);
    EXPECT_EQ(e.m_iTime, 5000 + p->m_iStepTime);
    EXPECT_EQ(e.m_iArg1, at.x + 10);
    EXPECT_EQ(e.m_iArg2, at.y);
    // Held, it does not think for itself.
    EXPECT_EQ(held->Think(5000, &map), 0);
}

TEST_F(WalkingTest, TheControlledMemberWaitsWhenItHasArrivedAndMovesTheView) {
    Walker* p = Place(At(20, 20));
    p->m_iPartySlot = -1;
    p->m_pEvents->Clear();
    int32_t hurry = 1;
    EXPECT_EQ(p->MoveToward(p->m_Position.x + 2, p->m_Position.y, &map, 5000, &hurry, 0, 0), 1);
    ASSERT_EQ(p->m_pEvents->Count(), 1);
    EXPECT_EQ(p->m_pEvents->At(0).m_iType, ObjectEventType::THINK);
    EXPECT_EQ(p->m_pEvents->At(0).m_iTime, 5000 + p->m_iStepTime);

    // A step keeps the view on it; a step out of the middle of the loaded
    // window asks for a move to the next land.
    map.focuscell = {20, 20};
    const Position at = p->m_Position;
    EXPECT_EQ(p->HandleMoveEvent(5000, at.x + 10, at.y, &map, 0), 1);
    EXPECT_EQ(world.m_ptFocus, (qv::Point{at.x + 2, at.y}));
    Walker* q = Place(At(10 + 4, 20, 10, 56));  // window column 4
    q->m_iPartySlot = -1;
    EXPECT_EQ(q->HandleMoveEvent(5000, q->m_Position.x + 10, q->m_Position.y, &map, 0), -3);
}

}  // namespace
