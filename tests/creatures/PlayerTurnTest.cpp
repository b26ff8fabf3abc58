#include <gtest/gtest.h>

#include <optional>

#include "PlayerTestSupport.h"
#include "items/Spell.h"
#include "platform/Message.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/World.h"

namespace {

using namespace creature_test;
using E = ObjectEventType;

TEST(PlayerTurn, AlertnessFallsByWholeIntervals) {
    // interval 21600; hasted, a third of it; only party members tire
    struct Row {
        const char* rule;
        int slot, hasted, alertness;
        int32_t now;
        int want;
        int64_t clock;
    };
    const Row rows[] = {
        {"two whole intervals; the rest carries over", 1, 0, 1000, 44201, 998, 44200},
        {"one short of the second interval", 1, 0, 1000, 44199, 999, 22600},
        {"hasted: a third of the interval", 1, 1, 1000, 1000 + 7200 * 3, 997, -1},
        {"never below 0", 1, 0, 1, 1000 + 21600 * 5, 0, -1},
        {"outside the party nothing is lost", 0, 0, 1000, 1000 + 21600 * 5, 1000, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Probe p;
        p.m_iPartySlot = r.slot, p.m_bHasted = r.hasted, p.m_iAlertness = r.alertness;
        p.m_uLastAlertnessTime = 1000;
        p.Update(r.now, nullptr);
        EXPECT_EQ(p.m_iAlertness, r.want);
        if (r.clock >= 0) {
            EXPECT_EQ(p.m_uLastAlertnessTime, r.clock);
        }
    }
}

TEST(PlayerTurn, RegenerationOverManyTicks) {
    // 10 hit points at rate 1: one point every 600000 / 10 = 60000 units.
    Probe p;
    Settle(p, 1000);
    p.m_iHitPoints = 2;
    int32_t now = 1000;
    for (int tick = 0; tick < 1300; ++tick) {  // 130000 units, 100 a tick
        now += 100;
        p.Update(now, nullptr);
    }
    EXPECT_EQ(p.m_iHitPoints, 4);
    EXPECT_EQ(p.m_uLastRegenTime, 121000);  // the remainder carries over
    for (int tick = 0; tick < 5000; ++tick) p.Update(now += 100, nullptr);
    EXPECT_EQ(p.m_iHitPoints, 10);  // capped at the maximum
}

TEST(PlayerTurn, NoIntervalMeansNoRegeneration) {
    Probe p;
    p.m_iRegenInterval = 0;
    Settle(p, 1000);
    p.m_iHitPoints = 2;
    p.Update(900000, nullptr);
    EXPECT_EQ(p.m_iHitPoints, 2);
    p.m_iRegenInterval = 60000;
    p.m_iPoison = 4;
    p.Update(900100, nullptr);  // the clock was kept at the last turn
    EXPECT_EQ(p.m_iHitPoints, 2);
}

TEST(PlayerTurn, FarCreaturesStepTenTimesSlower) {
    World world;
    world.m_ptFocus = {5000, 5000};
    for (auto [x, y, factor] :
         {std::tuple{6001, 5000, 10}, std::tuple{5000, 6001, 1}, std::tuple{5000, 6415, 10}}) {
        Probe p;
        p.m_Position = Position(x, y);
        p.onThink = [&p](int32_t t) { return p.ScheduleMove(t, 0, 0, 0); };
        p.Update(100000, nullptr);
        ASSERT_EQ(p.Events().Count(), 1) << x << "," << y;
        EXPECT_EQ(p.Events().At(0).m_iType, E::MOVE);
        EXPECT_EQ(p.Events().At(0).m_iTime, 100000 + 50 * factor) << x << "," << y;
        EXPECT_EQ(p.m_iStepTime, 50);  // put back after the turn
    }
}

TEST(PlayerTurn, TheFirstThoughtOfACreatureMadeOrReadIsSpreadOverItsStep) {
    // Turns every 100 units from 1000; the thought the creature was made with
    // is handled at 1000 + number modulo the step time, in the turn that
    // reaches it.
    struct Row {
        const char* rule;
        int32_t number, step, slot;
        bool second;  // another event queued beside the first thought
        int32_t turn, handled;
        bool far = false;  // 1001 pixels beside the view centre
    };
    const Row rows[] = {
        {"no number: at once", -1, 500, 0, false, 1000, 1000},
        {"number 0: at once", 0, 500, 0, false, 1000, 1000},
        {"number 7 of a 500 step", 7, 500, 0, false, 1100, 1007},
        {"number 499: the last of the step", 499, 500, 0, false, 1500, 1499},
        {"number 500: a whole step, at once", 500, 500, 0, false, 1000, 1000},
        {"number 501", 501, 500, 0, false, 1100, 1001},
        {"random encounter -7 by its size", -7, 500, 0, false, 1100, 1007},
        {"a step of 1: at once", 7, 1, 0, false, 1000, 1000},
        {"a party member: at once", 7, 500, 1, false, 1000, 1000},
        {"another event queued: at once", 7, 500, 0, true, 1000, 1000},
        {"number 70 of a 50 step", 70, 50, 0, false, 1100, 1020},
        {"far: over ten steps", 70, 50, 0, false, 1100, 1070, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::optional<World> world;
        if (r.far) world.emplace().m_ptFocus = {5000, 5000};
        Probe p;
        if (r.far) p.m_Position = Position(6001, 5000);
        p.m_iPlayerNumber = r.number, p.m_iStepTime = r.step, p.m_iPartySlot = r.slot;
        if (r.second) p.Events().Post(E::ATTACK, 50000);
        int32_t now = 900;
        while (p.calls.empty() && now < 2000) p.Update(now += 100, nullptr);
        ASSERT_FALSE(p.calls.empty());
        EXPECT_EQ(p.calls[0].type, E::THINK);
        EXPECT_EQ(now, r.turn);
        EXPECT_EQ(p.calls[0].time, r.handled);
        EXPECT_EQ(p.m_iStepTime, r.step);
    }
}

TEST(PlayerTurn, HandlingTimes) {
    Probe p;
    Settle(p, 1);
    // The first event due at once is handled at `now`; a THINK at 0 that a
    // handler queues is handled at the time of the event before it.
    p.Events().Post(E::THINK, 0);
    p.Events().Post(E::ATTACK, 700);
    p.Update(1000, nullptr);
    ASSERT_EQ(p.calls.size(), 2u);
    EXPECT_EQ(p.calls[0].time, 1000);
    EXPECT_EQ(p.calls[1].type, E::ATTACK);
    EXPECT_EQ(p.calls[1].time, 700);

    Probe q;
    Settle(q, 1);
    q.Events().Post(E::ATTACK, 700);
    bool once = false;
    q.Events().Post(E::MOVE, 800);
    q.onMove = [&](int32_t, int32_t, int32_t) {
        if (!once) q.Events().Post(E::THINK, 0);
        once = true;
        return 1;
    };
    q.Update(1000, nullptr);
    ASSERT_EQ(q.calls.size(), 3u);
    EXPECT_EQ(q.calls[1].type, E::MOVE);
    EXPECT_EQ(q.calls[1].time, 800);
    EXPECT_EQ(q.calls[2].type, E::THINK);
    EXPECT_EQ(q.calls[2].time, 800);  // not `now`
}

TEST(PlayerTurn, DeadCreaturesOnlyAnimate) {
    Probe p;
    Settle(p, 1);
    p.m_sLifeState = 0;
    p.Events().Post(E::ATTACK, 100);
    p.Events().Post(E::THINK, 200);
    p.Events().PostSpell(250, nullptr, std::make_unique<Spell>());
    p.Events().Post(E::ANIMATE, 300);
    EXPECT_EQ(p.Update(1000, nullptr), 1);  // the ANIMATE's result
    EXPECT_TRUE(p.calls.empty());
    EXPECT_EQ(p.casts, 0);
    EXPECT_EQ(p.m_iAction, 12);
    // The numbered frames: row 1, the next at 300 + 50000.
    EXPECT_EQ(p.m_iYImageNum, 1);
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iTime, 50300);

    // Row 7 ends a grouped creature's turn with -2.
    p.m_iYImageNum = 6;
    p.m_bGrouped = 1;
    EXPECT_EQ(p.Update(60000, nullptr), -2);

    // An empty queue of the dead brings the next frame in 10000 while below 7.
    Probe d;
    Settle(d, 1);
    d.m_sLifeState = 0;
    d.Update(2000, nullptr);
    ASSERT_EQ(d.Events().Count(), 1);
    EXPECT_EQ(d.Events().At(0).m_iType, E::ANIMATE);
    EXPECT_EQ(d.Events().At(0).m_iTime, 12000);
    d.Events().Clear();
    d.m_iYImageNum = 7;
    d.Update(3000, nullptr);
    EXPECT_EQ(d.Events().Count(), 0);
}

TEST(PlayerTurn, ThreeFrameCycleForNumberedPeople) {
    Probe p;
    Settle(p, 1);
    p.m_iNPCNumber = 1;
    p.m_iXImageNum = 2;
    p.Events().Post(E::ANIMATE, 500);
    p.Update(1000, nullptr);
    EXPECT_EQ(p.m_iXImageNum, 0);
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iTime, 1500);
}

TEST(PlayerTurn, AnIdleCreatureOrderedToWalkWakes) {
    Probe p;
    Settle(p, 1);
    p.m_iAction = 4;  // FIGIT
    p.Events().Post(E::ANIMATE, 5000);
    p.Events().Post(E::ANIMATE, 6000);
    p.Update(1000, nullptr);
    EXPECT_TRUE(p.calls.empty());  // nothing calls it yet
    EXPECT_EQ(p.Events().Count(), 2);

    p.m_pOrder->m_iType = E::MOVE;
    p.Update(1100, nullptr);
    ASSERT_EQ(p.calls.size(), 1u);
    EXPECT_EQ(p.calls[0].type, E::THINK);
    EXPECT_EQ(p.calls[0].time, 1100);
    EXPECT_EQ(p.m_pOrder->m_iType, 0);  // taken up
    // The animation is gone; the emptied queue starts over with a THINK.
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iType, E::THINK);

    // A hostile creature wakes as well; the controlled member keeps its order.
    Probe c;
    Settle(c, 1);
    c.m_iAction = 3;
    c.m_iPartySlot = -1;
    c.m_pOrder->m_iType = E::MOVE;
    c.Events().Post(E::ANIMATE, 5000);
    c.Update(1000, nullptr);
    EXPECT_EQ(c.m_pOrder->m_iType, E::MOVE);
    ASSERT_EQ(c.calls.size(), 1u);
}

TEST(PlayerTurn, WorldChangeStopsTheTurn) {
    Probe p;
    Settle(p, 1);
    p.Events().Post(E::THINK, 100);
    p.Events().Post(E::ATTACK, 200);
    p.onThink = [](int32_t) { return -3; };
    int32_t step = p.m_iStepTime;
    EXPECT_EQ(p.Update(1000, nullptr), -3);
    ASSERT_EQ(p.Events().Count(), 1);  // left for the next turn
    EXPECT_EQ(p.Events().At(0).m_iType, E::ATTACK);
    EXPECT_EQ(p.m_iStepTime, step);
}

TEST(PlayerTurn, AHastedHurriedCreatureAgainstAnObstacleEndsItsTurn) {
    // It plans a step of 4 units (a fifth of that while hasted), the step is
    // blocked, and it thinks again at once.
    Probe p;
    Settle(p, 1);
    p.m_bHasted = 1;
    p.onThink = [&p](int32_t t) { return p.ScheduleMove(t, 10, 10, 4); };
    p.onMove = [&p](int32_t, int32_t, int32_t) {
        p.Events().Post(E::THINK, 0);
        return 0;
    };
    p.Events().Post(E::THINK, 0);
    p.Update(50000, nullptr);
    ASSERT_EQ(p.calls.size(), 1u);  // the step waits for the next turn
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iTime, 50001);

    // From a backlog far behind the clock: the turn still ends.
    Probe q;
    Settle(q, 1);
    q.m_bHasted = 1;
    q.onThink = [&q](int32_t t) { return q.ScheduleMove(t, 10, 10, 4); };
    q.onMove = [&q](int32_t, int32_t, int32_t) {
        q.Events().Post(E::THINK, 0);
        return 0;
    };
    q.Events().Post(E::THINK, 10000);
    q.Update(50000, nullptr);
    EXPECT_EQ(q.calls.size(), static_cast<size_t>(Player::kMaxEventsPerTurn));
    EXPECT_EQ(q.Events().Count(), 1);

    // A handler that only ever thinks again.
    Probe r;
    Settle(r, 1);
    r.onThink = [&r](int32_t) { return r.Events().Post(E::THINK, 0); };
    r.Events().Post(E::THINK, 0);
    r.Update(50000, nullptr);
    EXPECT_EQ(r.calls.size(), static_cast<size_t>(Player::kMaxEventsPerTurn));
}

TEST(PlayerTurn, OtherEventsAndHolds) {
    Probe p;
    Settle(p, 1);
    p.Events().PostSpell(10, &p, std::make_unique<Spell>());
    p.Events().Post(E::REQUEUE, 20, nullptr, 0, 3000);
    p.Update(1000, nullptr);
    EXPECT_EQ(p.casts, 1);
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iType, E::THINK);
    EXPECT_EQ(p.Events().At(0).m_iTime, 4000);

    // A lone SPECIAL gets a THINK beside it.
    Probe s;
    Settle(s, 1);
    s.Events().Post(E::SPECIAL, 9000);
    s.Update(1000, nullptr);
    ASSERT_EQ(s.calls.size(), 1u);
    EXPECT_EQ(s.Events().Count(), 1);

    // Held by a script: the clocks run, no events are taken.
    Probe h;
    Settle(h, 1000);
    h.m_iScriptHold = -6;
    h.m_iHitPoints = 1;
    h.Events().Post(E::THINK, 0);
    h.Update(200000, nullptr);
    EXPECT_TRUE(h.calls.empty());
    EXPECT_EQ(h.m_iHitPoints, 4);

    // Inactive: nothing at all.
    Probe i;
    i.m_bInactive = 1;
    EXPECT_EQ(i.Update(1000, nullptr), 0);
    EXPECT_EQ(i.Events().Count(), 1);
    EXPECT_EQ(i.m_uLastRegenTime, 0);

    // A living creature with an empty queue thinks next.
    Probe e;
    Settle(e, 1);
    e.Update(1000, nullptr);
    ASSERT_EQ(e.Events().Count(), 1);
    EXPECT_EQ(e.Events().At(0).m_iType, E::THINK);
    EXPECT_EQ(e.Events().At(0).m_iTime, 0);
}

// A lever that records the codes it is signalled with.
class Lever : public Object {
public:
    int signals = 0;
    int answer = 1;
    int Activate(int* code, Player*) override {
        if (*code == 1) ++signals;
        return answer;
    }
};

TEST(PlayerTurn, KeySignals) {
    World world;
    Lever lever;
    world.m_KeyStorageList.push_back(std::make_unique<KeyStorage>(5, "Gate"));
    world.m_KeyStorageList.back()->m_ObjectList.emplace_back(&lever);
    Probe p;
    p.m_iKeyNumber = 5;
    p.Update(1000, nullptr);
    p.Update(1100, nullptr);
    EXPECT_EQ(lever.signals, 2);  // every turn while the conditions hold
    Object ship;
    p.m_pAboard = &ship;
    p.Update(1200, nullptr);
    EXPECT_EQ(lever.signals, 2);
    p.m_pAboard = nullptr;
    lever.answer = -3;
    p.calls.clear();
    EXPECT_EQ(p.Update(1300, nullptr), -3);  // the world changed: the turn ends
    EXPECT_TRUE(p.calls.empty());
}

TEST(PlayerTurn, TheLeaderInAFightEndsFastTime) {
    World world;
    Probe p;
    world.m_pLeader = &p;
    world.m_bFastTime = 1;
    ObjectHolder target(Position(1, 1), nullptr);
    target.AddPlayer(&p);
    p.Update(1000, nullptr);
    EXPECT_EQ(world.m_bFastTime, 1);  // walking to a point, no opponents
    Probe enemy;
    p.m_Opponents.emplace_back(&enemy);
    p.Update(1100, nullptr);
    EXPECT_EQ(world.m_bFastTime, 0);
    target.RemoveAllPlayers();
}

}  // namespace

namespace {

using namespace creature_test;
using E = ObjectEventType;

TEST(PlayerTurn, ACreatureDeletedDuringItsTurnIsLeftAlone) {
    // A land move, say, deletes the creature whose thought caused it.
    for (int answer : {-3, 1}) {
        auto* p = new Probe;
        p->m_Position = Position(9000, 0);  // far: its step time is changed for the turn
        p->Events().Post(E::ATTACK, 5);
        p->onThink = [p, answer](int32_t) {
            const int result = answer;  // the closure goes with the creature
            delete p;
            return result;
        };
        EXPECT_EQ(p->Update(1000, nullptr), answer);
    }
}

}  // namespace

namespace {

using E = ObjectEventType;

// A creature ticked outside any map, or in no group, goes through its turn
// without a failed check or a number out of range: outside a map it neither
// thinks nor steps, and one in no group searches for no groups it meets.
TEST(PlayerTurn, ACreatureOutsideAnyMapOrGroupDoesNothingInItsTurn) {
    struct Row {
        const char* rule;
        bool map, group;
        int32_t event, action;
        int answer = -99;  // the turn's answer, where the row checks it
        int32_t subdued = 0;
    };
    const Row rows[] = {
        {"no map: a thought does nothing", false, true, E::THINK, 0},
        {"no map: a step is not taken", false, true, E::MOVE, 0},
        {"no map and no group: a thought does nothing", false, false, E::THINK, 0},
        {"a map and no group: it thinks without a search", true, false, E::THINK, 0},
        {"a map and no group: it wakes from standing without a search", true, false, E::ANIMATE, 3},
        {"no map: a thought that plans nothing answers 1", false, true, E::THINK, 0, 1},
        {"no map, subdued: a held thought answers 0", false, true, E::THINK, 0, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        world_test::SmallWorld small;
        World& world = small.world;
        if (!r.map) world.map_master.reset();
        world.CreateRootGroups();
        auto* p = new Player;
        p->m_bPartyLeader = 1;  // it searches for the groups it meets
        p->m_Position = Position(3000, 3000);
        p->m_iAction = r.action;
        p->m_bSubdued = r.subdued;
        if (r.group) world.m_pAllGroups->AddMember(p);
        p->Events().Clear();
        p->Events().Post(r.event, 500, nullptr, 0, 3040, 3000);
        qv::ScriptedMessages messages({qv::MessageAnswer::Retry});
        const int answer = p->Update(1000, nullptr);
        if (r.answer != -99) {
            EXPECT_EQ(answer, r.answer);
        }
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
        if (!r.map) {
            EXPECT_EQ(p->m_Position.x, 3000);
            EXPECT_EQ(p->m_Position.y, 3000);
        }
        if (!r.group) delete p;
    }
}

// Without a map a far goal is measured in 64 bits, and a stay cell read from a
// file far beyond the world gives a point held at the end of the coordinates.
TEST(PlayerTurn, FarPointsWithoutAMapStayWithinTheirNumbers) {
    Player p;
    p.m_Position = Position(INT32_MIN, INT32_MIN);
    int32_t hurry = 0;
    EXPECT_EQ(p.MoveToward(INT32_MAX, INT32_MAX, nullptr, 1000, &hurry, 0, 0), 0);

    struct Row {
        const char* rule;
        CellPoint stay;
        qv::Point want;
    };
    const Row rows[] = {
        {"a cell of the world", {10, 20}, {1680, 2296}},
        {"the last cell a position reaches", {13421771, 19173960}, {2147483440, 2147483576}},
        {"beyond the coordinates", {20000000, 20000000}, {INT32_MAX, INT32_MAX}},
        {"below them", {-20000000, -20000000}, {INT32_MIN, INT32_MIN}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player q;
        q.m_iWaitCount = 1;  // it stays in its cell
        q.m_ptStay = r.stay;
        qv::Point next{};
        int32_t h = 0;
        EXPECT_EQ(q.NPCTalk(&next, &h), 1);
        EXPECT_EQ(next, r.want);
    }
}

}  // namespace
