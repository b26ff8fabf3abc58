#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutInt;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutString;
using record_test::StoreObject;

TEST(GameEventRecord, TalkEventBytesAndBack) {
    auto e = CTalkEvent::MakeNPCTalk("GUARD", 12);
    e->m_iTrigger = 300;
    EXPECT_EQ(e->m_strSpecialName, "NPCTalk");
    EXPECT_EQ(e->m_iStatus, 1);  // marked to fire

    Bytes expected;
    PutNewClass(expected, "CTalkEvent", 1);
    PutNewClass(expected, "CGameEvent", 1);
    PutNewClass(expected, "Object", 11);
    PutObjectDefaults(expected, "NPCTalk");
    PutInt(expected, 300);  // trigger
    PutInt(expected, 1);    // status
    PutString(expected, "GUARD");
    PutInt(expected, 12);

    EXPECT_EQ(StoreObject(*e), expected);

    auto back = LoadObject<CGameEvent>(expected);
    auto* talk = dynamic_cast<CTalkEvent*>(back.get());
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->m_iTrigger, 300);
    EXPECT_EQ(talk->m_iStatus, 1);
    EXPECT_EQ(talk->m_strTalkNode, "GUARD");
    EXPECT_EQ(talk->m_iActor, 12);
    EXPECT_EQ(talk->m_strGeneralName, "NPCTalk");
}

TEST(GameEventRecord, MovePatternBytesAndBadCounts) {
    CMovePatternEvent e;
    e.m_iActor = -7;
    e.m_Cells = {{3, 4}, {-1, 9}};
    Bytes expected;
    PutNewClass(expected, "CMovePatternEvent", 1);
    PutNewClass(expected, "CGameEvent", 1);
    PutNewClass(expected, "Object", 11);
    PutObjectDefaults(expected, "CMovePatternEvent");
    PutInt(expected, 0);
    PutInt(expected, 0);
    for (int32_t v : {-7, 2, 3, 4, -1, 9}) PutInt(expected, v);
    EXPECT_EQ(StoreObject(e), expected);

    auto back = LoadObject<CGameEvent>(expected);
    auto* m = dynamic_cast<CMovePatternEvent*>(back.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->m_iActor, -7);
    EXPECT_EQ(m->m_Cells, (std::vector<qv::Point>{{3, 4}, {-1, 9}}));

    // A cell count that the rest of the record cannot hold, or a negative one,
    // is refused with the archive's error.
    for (int32_t bad : {3, -1, 0x40000000}) {
        Bytes b = expected;
        size_t countAt = b.size() - 4 * 4 - 4;
        for (int i = 0; i < 4; ++i) b[countAt + i] = uint8_t(uint32_t(bad) >> (8 * i));
        qv::Archive in2(b);
        EXPECT_THROW(in2.ReadObjectOf<CGameEvent>(), qv::ArchiveError) << bad;
    }
}

TEST(GameEvent, ExecuteAnswers) {
    // A talk or a move pattern whose actor is not in the world (its land is
    // not loaded), or a talk while no conversation can open, waits: nothing
    // changes and it stays for a later run. Once both are there it acts once
    // and is finished.
    world_test::SmallWorld small;
    Player actor;
    std::vector<std::string> opened;
    world_test::TestRules rules;
    small.world.m_pRules = &rules;
    struct Row {
        const char* rule;
        bool actorThere, opener;
        int talk, moves;  // the answers
        size_t opens;
    };
    const Row rows[] = {
        {"no actor, no window", false, false, 0, 0, 0},
        {"no actor", false, true, 0, 0, 0},
        {"an actor but no window", true, false, 0, -1, 0},
        {"both", true, true, -1, -1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        opened.clear();
        actor.m_MoveList.clear();
        small.world.m_PlayerArray.assign(6, nullptr);
        if (r.actorThere) small.world.m_PlayerArray[5] = &actor;
        if (r.opener)
            rules.talk = [&](Player* p, const std::string& node) {
                EXPECT_EQ(p, &actor);
                opened.push_back(node);
            };
        else
            rules.talk = nullptr;
        CTalkEvent talk("GUARD", 5);
        EXPECT_EQ(talk.Execute(), r.talk);
        EXPECT_EQ(opened.size(), r.opens);
        if (r.opens) {
            EXPECT_EQ(opened[0], "GUARD");
        }
        CMovePatternEvent moves;
        moves.m_iActor = 5;
        moves.m_Cells = {{3, 4}};
        EXPECT_EQ(moves.Execute(), r.moves);
        EXPECT_EQ(actor.m_MoveList.size(), r.moves == -1 ? 1u : 0u);
    }
    CGameEvent plain;
    EXPECT_EQ(plain.Execute(), CGameEvent::kFinished);
    small.world.m_pRules = nullptr;
    small.world.m_PlayerArray.clear();
}

TEST(GameEvent, ATalkEventInAWorldWithoutPlayOpensNothingAndWaits) {
    // With play's rules, ExecuteAnswers above.
    World world;
    Player speaker;
    world.m_PlayerArray = {nullptr, &speaker};
    CTalkEvent talk("GREET", 1);
    EXPECT_EQ(talk.Execute(), CGameEvent::kNothingChanged);
    world.m_PlayerArray.clear();
}

// An event that answers what it is told, notes each run, and may add another
// event to the list while it runs.
class Noted : public CGameEvent {
public:
    Noted(std::vector<std::string>* log, std::string name, int answer, int status = 1)
        : m_log(log), m_name(std::move(name)), m_answer(answer) {
        m_iStatus = status;
    }
    int Execute() override {
        m_log->push_back(m_name);
        // What it runs may delete this event: nothing of it is read after.
        const int answer = m_answer;
        if (std::function<void()> spawn = m_spawn) spawn();
        return answer;
    }
    std::vector<std::string>* m_log;
    std::string m_name;
    int m_answer;
    std::function<void()> m_spawn;
};

TEST(WaitingEvents, TheWalkAndItsRestarts) {
    world_test::SmallWorld small;
    auto& events = small.world.m_EventList;
    std::vector<std::string> log;
    const auto names = [&events] {
        std::vector<std::string> out;
        for (const auto& e : events) out.push_back(static_cast<Noted*>(e.get())->m_name);
        return out;
    };
    using Names = std::vector<std::string>;

    // A finished event goes and the walk starts again from the head; an
    // event whose status is 0 or below never runs.
    events.emplace_back(new Noted(&log, "stays", 0));
    events.emplace_back(new Noted(&log, "asleep", -1, 0));
    events.emplace_back(new Noted(&log, "ends", -1));
    events.emplace_back(new Noted(&log, "negative", 5, -1));
    events.emplace_back(new Noted(&log, "after", 0));
    RunWaitingEvents(small.world);
    EXPECT_EQ(log, (Names{"stays", "ends", "stays", "after"}));
    EXPECT_EQ(names(), (Names{"stays", "asleep", "negative", "after"}));

    // An event that always answers a change runs kMaxChangesPerTick times in
    // a tick, however many walks the tick has; the next tick it runs again.
    events.clear();
    log.clear();
    events.emplace_back(new Noted(&log, "first", 0));
    events.emplace_back(new Noted(&log, "loops", 1));
    events.emplace_back(new Noted(&log, "last", 0));
    small.world.m_iGameTime = 2000;
    RunWaitingEvents(small.world);
    EXPECT_EQ(log, (Names{"first", "loops", "first", "loops", "first", "loops", "first", "last"}));
    log.clear();
    RunWaitingEvents(small.world);  // the same tick: it is passed over
    EXPECT_EQ(log, (Names{"first", "last"}));
    log.clear();
    small.world.m_iGameTime = 2100;
    RunWaitingEvents(small.world);
    EXPECT_EQ(std::count(log.begin(), log.end(), "loops"), CGameEvent::kMaxChangesPerTick);
    EXPECT_EQ(events.size(), 3u);
    // The count belongs to one tick: any other tick starts afresh.
    log.clear();
    small.world.m_iGameTime = 2000;
    RunWaitingEvents(small.world);
    EXPECT_EQ(std::count(log.begin(), log.end(), "loops"), CGameEvent::kMaxChangesPerTick);

    // An event that finishes after adding another: the new one runs in the
    // same walk.
    events.clear();
    log.clear();
    auto* parent = new Noted(&log, "parent", -1);
    parent->m_spawn = [&] { events.emplace_back(new Noted(&log, "child", -1)); };
    events.emplace_back(parent);
    RunWaitingEvents(small.world);
    EXPECT_EQ(log, (Names{"parent", "child"}));
    EXPECT_TRUE(events.empty());
}

TEST(WaitingEvents, EventsThatBreedWithoutEndStopTheWalk) {
    // Each run adds another breeder and finishes: the walk stops once the
    // events have added more than their bound.
    world_test::SmallWorld small;
    auto& events = small.world.m_EventList;
    std::vector<std::string> log;
    std::function<Noted*()> breeder = [&] {
        auto* e = new Noted(&log, "breeds", -1);
        e->m_spawn = [&] { events.emplace_back(breeder()); };
        return e;
    };
    events.emplace_back(breeder());
    RunWaitingEvents(small.world);
    EXPECT_EQ(log.size(), kMaxAddedEventsPerWalk + 1);
    EXPECT_EQ(events.size(), 1u);

    // Breeders that answer a change without finishing are held by the bound
    // of the walk too.
    events.clear();
    log.clear();
    std::function<Noted*()> grower = [&] {
        auto* e = new Noted(&log, "grows", 1);
        e->m_spawn = [&] { events.emplace_back(grower()); };
        return e;
    };
    events.emplace_back(grower());
    RunWaitingEvents(small.world);
    EXPECT_EQ(events.size(), kMaxAddedEventsPerWalk + 2);
}

TEST(WaitingEvents, AnEventDeletedByItsOwnRunIsNotTouchedAgain) {
    world_test::SmallWorld small;
    auto& events = small.world.m_EventList;
    std::vector<std::string> log;
    // It empties the whole list (as reading a saved game over the world
    // would) and answers a change; the walk goes on over what is left.
    auto* clearer = new Noted(&log, "clears", 1);
    clearer->m_spawn = [&] { events.clear(); };
    events.emplace_back(clearer);
    events.emplace_back(new Noted(&log, "gone", 0));
    RunWaitingEvents(small.world);
    EXPECT_EQ(log, (std::vector<std::string>{"clears"}));
    EXPECT_TRUE(events.empty());
}

}  // namespace
