#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "creatures/PlayerEvents.h"
#include "items/Spell.h"
#include "platform/Message.h"
#include "world/Object.h"

namespace {

using T = ObjectEventType;

// The times and first arguments of the queued events, front to back.
std::vector<std::pair<int32_t, int32_t>> Contents(const CreatureEventQueue& q) {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t i = 0; i < q.Count(); ++i) out.emplace_back(q.At(i).m_iTime, q.At(i).m_iArg1);
    return out;
}

TEST(CreatureEventQueue, EqualTimesKeepTheirInsertionOrder) {
    CreatureEventQueue q;
    q.Post(T::THINK, 10, nullptr, 0, 1);
    q.Post(T::MOVE, 5, nullptr, 0, 2);
    q.Post(T::ATTACK, 10, nullptr, 0, 3);
    EXPECT_EQ(Contents(q), (std::vector<std::pair<int32_t, int32_t>>{{5, 2}, {10, 1}, {10, 3}}));

    // "At once" goes behind the events already due at once, before any other.
    CreatureEventQueue z;
    z.Post(T::THINK, 0, nullptr, 0, 1);
    z.Post(T::MOVE, 7, nullptr, 0, 2);
    z.Post(T::MOVE, 0, nullptr, 0, 3);
    EXPECT_EQ(Contents(z), (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {0, 3}, {7, 2}}));
}

TEST(CreatureEventQueue, TimesCompareAcrossTheWrapOfGameTime) {
    CreatureEventQueue q;
    const int32_t beforeWrap = INT32_MAX - 50;
    const int32_t afterWrap = INT32_MIN + 50;  // 101 units later
    q.Post(T::MOVE, afterWrap, nullptr, 0, 2);
    q.Post(T::MOVE, beforeWrap, nullptr, 0, 1);
    q.Post(T::THINK, 0, nullptr, 0, 0);
    EXPECT_EQ(Contents(q),
              (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {beforeWrap, 1}, {afterWrap, 2}}));

    EXPECT_EQ(q.RemoveAllOfType(T::MOVE), afterWrap);  // the later of the two
    EXPECT_EQ(q.Count(), 1);

    // Due only strictly after its time, also across the wrap.
    CreatureEventQueue d;
    d.Post(T::THINK, INT32_MAX);
    EXPECT_FALSE(d.HasDue(INT32_MAX));
    EXPECT_TRUE(d.HasDue(INT32_MIN));
    CreatureEventQueue e;
    e.Post(T::THINK, 1000);
    EXPECT_FALSE(e.HasDue(1000));
    EXPECT_TRUE(e.HasDue(1001));
    EXPECT_FALSE(e.HasDue(-5));  // long before, not after
    CreatureEventQueue none;
    EXPECT_FALSE(none.HasDue(5000));
    CreatureEventQueue atOnce;
    atOnce.Post(T::THINK, 0);
    EXPECT_TRUE(atOnce.HasDue(-2000000000));  // 0 comes before any other clock
    EXPECT_FALSE(atOnce.HasDue(0));           // but not before itself
}

TEST(CreatureEventQueue, ShiftTimesLeavesEventsDueAtOnce) {
    CreatureEventQueue q;
    q.Post(T::THINK, 0);
    q.Post(T::MOVE, 100);
    q.Post(T::MOVE, 250);
    EXPECT_EQ(q.ShiftTimes(300), 3);
    EXPECT_EQ(q.At(0).m_iTime, 0);
    EXPECT_EQ(q.At(1).m_iTime, 400);
    EXPECT_EQ(q.At(2).m_iTime, 550);
    q.ShiftTimes(INT32_MAX);  // wraps without overflow
    EXPECT_EQ(q.At(1).m_iTime, static_cast<int32_t>(400u + 2147483647u));
}

TEST(CreatureEventQueue, RemovalByTypeClosesTheGap) {
    CreatureEventQueue q;
    q.Post(T::ANIMATE, 100, nullptr, 0, 1);
    q.Post(T::ANIMATE, 200, nullptr, 0, 2);
    q.Post(T::THINK, 150, nullptr, 0, 3);
    EXPECT_EQ(q.RemoveAllOfType(T::ANIMATE), 200);
    EXPECT_EQ(Contents(q), (std::vector<std::pair<int32_t, int32_t>>{{150, 3}}));
    EXPECT_EQ(q.RemoveAllOfType(T::ANIMATE), 0);

    CreatureEventQueue f;
    f.Post(T::HIT, 10, nullptr, 0, 1);
    f.Post(T::MOVE, 20, nullptr, 0, 2);
    f.Post(T::HIT, 30, nullptr, 0, 3);
    EXPECT_EQ(f.RemoveFirstOfType(T::HIT), 10);
    EXPECT_EQ(Contents(f), (std::vector<std::pair<int32_t, int32_t>>{{20, 2}, {30, 3}}));
    EXPECT_EQ(f.RemoveFirstOfType(T::SPELL), 0);
    EXPECT_EQ(f.Count(), 2);

    Object a, b;
    CreatureEventQueue g;
    g.Post(T::ATTACK, 10, &a, 0, 1);
    g.Post(T::ATTACK, 20, &b, 0, 2);
    g.Post(T::HIT, 30, &a, 0, 3);
    g.Post(T::ATTACK, 40, &a, 0, 4);
    EXPECT_EQ(g.RemoveAllOfTypeFor(T::ATTACK, &a), 40);
    EXPECT_EQ(Contents(g), (std::vector<std::pair<int32_t, int32_t>>{{20, 2}, {30, 3}}));

    CreatureEventQueue empty;
    EXPECT_EQ(empty.RemoveAllOfType(T::THINK), 0);
    EXPECT_EQ(empty.RemoveFirstOfType(T::THINK), 0);
}

TEST(CreatureEventQueue, PopAndPeek) {
    CreatureEventQueue q;
    const ObjectEvent& blank = q.PeekFront();  // an empty queue shows its first slot
    EXPECT_EQ(blank.m_iType, T::THINK);
    EXPECT_EQ(blank.m_iTime, 0);
    q.Post(T::MOVE, 30, nullptr, 7, 1, 2);
    q.Post(T::ANIMATE, 20);
    EXPECT_EQ(q.PeekFront().m_iType, T::ANIMATE);
    EXPECT_EQ(q.Count(), 2);
    EXPECT_EQ(q.PopFront().m_iType, T::ANIMATE);
    ObjectEvent move = q.PopFront();
    EXPECT_EQ(move.m_iType, T::MOVE);
    EXPECT_EQ(move.m_iValue, 7);
    EXPECT_EQ(move.m_iArg1, 1);
    EXPECT_EQ(move.m_iArg2, 2);
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.PopFront().m_iType, T::MOVE);  // the stale first slot, queue unchanged
    EXPECT_EQ(q.Count(), 0);
}

TEST(CreatureEventQueue, TheFiftyFirstEventIsRefusedWithTheDump) {
    CreatureEventQueue q;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(q.Post(T::MOVE, 100 + i, nullptr, 0, i), 1);
    qv::ScriptedMessages boxes;
    EXPECT_EQ(q.Post(T::THINK, 0), 0);
    EXPECT_EQ(q.Count(), 50);
    EXPECT_EQ(q.At(0).m_iTime, 100);  // unchanged: the refused THINK did not go in front
    ASSERT_EQ(boxes.shown.size(), 50u);
    EXPECT_EQ(boxes.shown[0], "Surpassed event buffer of size 50");
    EXPECT_EQ(boxes.shown[1], "0 1 I100");
    EXPECT_EQ(boxes.shown[49], "48 1 I148");
}

TEST(CreatureEventQueue, QueuedSpellsAreDeletedWheneverTheirEventIsDropped) {
    const int before = Spell::LiveCount();
    {
        CreatureEventQueue q;
        q.PostSpell(10, nullptr, std::make_unique<Spell>());
        q.PostSpell(20, nullptr, std::make_unique<Spell>());
        q.PostSpell(30, nullptr, std::make_unique<Spell>());
        q.PostSpell(40, nullptr, std::make_unique<Spell>());
        EXPECT_EQ(Spell::LiveCount(), before + 4);
        EXPECT_EQ(q.RemoveFirstOfType(T::SPELL), 10);
        EXPECT_EQ(Spell::LiveCount(), before + 3);
        ObjectEvent popped = q.PopFront();  // the caller takes this one over
        ASSERT_NE(popped.m_pSpell, nullptr);
        popped.m_pSpell.reset();
        EXPECT_EQ(Spell::LiveCount(), before + 2);
        // The queue is destroyed with two spells in it.
    }
    EXPECT_EQ(Spell::LiveCount(), before);

    CreatureEventQueue q;
    for (int i = 0; i < 50; ++i) q.PostSpell(i + 1, nullptr, std::make_unique<Spell>());
    qv::ScriptedMessages boxes;
    EXPECT_EQ(q.PostSpell(99, nullptr, std::make_unique<Spell>()),
              0);  // refused: its spell goes with it
    EXPECT_EQ(Spell::LiveCount(), before + 50);
    EXPECT_EQ(q.RemoveAllOfType(T::SPELL), 50);
    EXPECT_EQ(Spell::LiveCount(), before);
    q.PostSpell(5, nullptr, std::make_unique<Spell>());
    q.Clear();
    EXPECT_EQ(Spell::LiveCount(), before);
}

TEST(CreatureEventQueue, AnEventsTargetReadsNullOnceDestroyed) {
    CreatureEventQueue q;
    auto target = std::make_unique<Object>();
    q.Post(T::ATTACK, 10, target.get());
    EXPECT_EQ(q.At(0).m_pObject.Get(), target.get());
    target.reset();
    EXPECT_EQ(q.At(0).m_pObject.Get(), nullptr);
    EXPECT_EQ(q.RemoveAllOfTypeFor(T::ATTACK, nullptr), 10);
}

}  // namespace
