#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "items/SpellFixture.h"
#include "items/SpellsEarth.h"

namespace {

using spell_test::SpellWorld;

// A spell whose check and ending the test decides and watches.
class Probe : public Spell {
public:
    explicit Probe(std::string tag, int32_t ends = 1000) : Spell(tag) {
        m_iDuration = ends;
        s_log.push_back("made " + tag);
    }
    ~Probe() override {
        EndEffect();
        s_log.push_back("deleted " + m_strSpecialName);
    }
    int CheckExpired(int32_t now) override {
        s_log.push_back("check " + m_strSpecialName);
        if (onCheck) return onCheck(now);
        return Spell::CheckExpired(now);
    }
    std::function<int(int32_t)> onCheck;
    static std::vector<std::string> s_log;

protected:
    void UndoEffect() override { s_log.push_back("undone " + m_strSpecialName); }
};
std::vector<std::string> Probe::s_log;

// A probe put on the list as an effect puts it: taken effect at time 0.
Probe* Put(ActiveSpells& list, const std::string& tag, int32_t ends = 1000) {
    auto* p = new Probe(tag, ends);
    EXPECT_TRUE(list.Add(p));
    return p;
}

std::vector<std::string> Names(const ActiveSpells& list) {
    std::vector<std::string> out;
    for (Spell* s : list.Spells()) out.push_back(s->m_strSpecialName);
    return out;
}

using Log = std::vector<std::string>;

TEST(ActiveSpells, AWalkChecksInOrderAndEndsWhatExpired) {
    ActiveSpells list;
    Put(list, "A", 1000);
    Put(list, "B", 3000);
    Put(list, "C", 1000);
    Probe::s_log.clear();
    list.Walk(1000);  // not yet past 0 + 1000
    EXPECT_EQ(list.Count(), 3u);
    list.Walk(1001);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B"}));
    // Each removal starts the walk again from the head: B, before C, is
    // checked a second time in that tick.
    EXPECT_EQ(Probe::s_log, (Log{"check A", "check B", "check C", "check A", "undone A", "check B",
                                 "check C", "undone C", "check B", "deleted A", "deleted C"}));
}

TEST(ActiveSpells, ASpellEndedInsideItsOwnCheckIsFreedOnlyAfterTheWalk) {
    // A drain that tires its caster out ends every spell the caster cast,
    // the one draining among them.
    ActiveSpells list;
    Probe* a = Put(list, "A");
    Put(list, "B");
    Put(list, "C");
    bool endedInside = false;
    a->onCheck = [&](int32_t) {
        list.EndWhere([](Spell& s) { return s.m_strSpecialName != "B"; });
        endedInside = a->HasEnded();  // still readable: not yet freed
        return 1;
    };
    Probe::s_log.clear();
    list.Walk(10);
    EXPECT_TRUE(endedInside);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B"}));
    // C was ended before its turn came and got no check; both are freed at
    // the end of the walk, in the order they ended.
    EXPECT_EQ(Probe::s_log,
              (Log{"check A", "undone A", "undone C", "check B", "deleted A", "deleted C"}));
}

TEST(ActiveSpells, EndingSomeKeepsTheOrderOfTheRest) {
    ActiveSpells list;
    for (const char* tag : {"A", "B", "C", "D", "E"}) Put(list, tag);
    Probe::s_log.clear();
    EXPECT_TRUE(list.EndWhere(
        [](Spell& s) { return s.m_strSpecialName == "B" || s.m_strSpecialName == "D"; }));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "C", "E"}));
    EXPECT_EQ(Probe::s_log, (Log{"undone B", "undone D", "deleted B", "deleted D"}));
    EXPECT_FALSE(list.EndWhere([](Spell&) { return false; }));
    Spell* c = list.Spells()[1];
    EXPECT_TRUE(list.End(c));
    Probe elsewhere("X");
    EXPECT_FALSE(list.End(&elsewhere));  // not on this list
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "E"}));
}

TEST(ActiveSpells, ASpellAddedDuringAWalkStartsItAgainAndIsCheckedInIt) {
    ActiveSpells list;
    Probe* a = Put(list, "A");
    a->onCheck = [&](int32_t) {
        if (list.Count() == 1) Put(list, "B");
        return 1;
    };
    Probe::s_log.clear();
    list.Walk(10);
    EXPECT_EQ(Probe::s_log, (Log{"check A", "made B", "check A", "check B"}));
    list.Walk(20);
    EXPECT_EQ(Probe::s_log, (Log{"check A", "made B", "check A", "check B", "check A", "check B"}));
}

TEST(ActiveSpells, SpellsThatKeepAddingSpellsDoNotHoldTheTickForever) {
    ActiveSpells list;
    Probe* a = Put(list, "A");
    int checks = 0;
    a->onCheck = [&](int32_t) {
        ++checks;
        Put(list, "more");
        return 1;
    };
    Probe::s_log.clear();
    list.Walk(10);
    // One spell at the start: at most 64 x 2 steps of the walk.
    EXPECT_LE(checks, static_cast<int>(ActiveSpells::kRestartsPerSpell * 2));
    EXPECT_GT(checks, 1);
}

TEST(ActiveSpells, ASpellIsKeptOnlyWhenTheNewestListHoldsIt) {
    Probe::s_log.clear();
    {
        ActiveSpells older, list;
        EXPECT_EQ(ActiveSpells::Current(), &list);
        auto kept = std::make_unique<Probe>("K");
        Probe* k = kept.get();
        EXPECT_TRUE(list.Add(k));
        EXPECT_FALSE(list.Add(k));   // once on a list
        EXPECT_FALSE(older.Add(k));  // and on one list
        EXPECT_FALSE(list.Add(nullptr));
        SettleSpell(std::move(kept));
        SettleSpell(std::make_unique<Probe>("L"));
        EXPECT_EQ(list.Count(), 1u);
        EXPECT_EQ(older.Count(), 0u);
    }
    // The list ends what it holds when it goes.
    EXPECT_EQ(Probe::s_log, (Log{"made K", "made L", "deleted L", "undone K", "deleted K"}));
    // Lists that go out of their order of making leave the newest living.
    ActiveSpells first;
    auto older = std::make_unique<ActiveSpells>();
    auto newer = std::make_unique<ActiveSpells>();
    older.reset();
    EXPECT_EQ(ActiveSpells::Current(), newer.get());
    newer.reset();
    EXPECT_EQ(ActiveSpells::Current(), &first);
}

TEST(ActiveSpells, SpellsReadBackWithTheWorld) {
    SpellWorld w;
    w.Creature(3);
    w.Creature(5);
    std::vector<std::unique_ptr<Spell>> read;
    auto make = [&](const char* tag, int32_t serial, std::vector<int32_t> targets) {
        auto p = std::make_unique<Probe>(tag);
        p->m_iSerial = serial;
        p->m_Targets = std::move(targets);
        p->m_iStartTime = 77;
        read.push_back(std::move(p));
    };
    make("aimed", 1, {3});
    make("aimed at no one", 2, {40, 41});
    make("twice, first", 3, {5});
    make("second target exists", 4, {40, 5});
    make("twice, last", 3, {3});
    Probe::s_log.clear();
    w.spells.AdoptRead(std::move(read), 9000);
    // A spell whose creatures are elsewhere stays: it ends on them later.
    EXPECT_EQ(Names(w.spells), (std::vector<std::string>{"aimed", "aimed at no one",
                                                         "second target exists", "twice, last"}));
    for (Spell* s : w.spells.Spells()) {
        EXPECT_EQ(s->m_iStartTime, 9000);
        EXPECT_TRUE(s->IsInEffect());
    }
    // What stayed off was never laid on this world: deleted, nothing undone.
    EXPECT_EQ(Probe::s_log, (Log{"deleted twice, first"}));

    // A spell whose serial is already in effect stays off.
    std::vector<std::unique_ptr<Spell>> again;
    auto p = std::make_unique<Probe>("same serial");
    p->m_iSerial = 1;
    p->m_Targets = {3};
    again.push_back(std::move(p));
    w.spells.AdoptRead(std::move(again), 9100);
    EXPECT_EQ(w.spells.Count(), 4u);
}

TEST(ActiveSpells, ASpellOfAWorldThatIsGoneEndsWithoutUndoing) {
    SpellWorld w;
    Player& creature = w.Creature(3);
    creature.m_iArmourBonus = 0;
    w.Apply<Toughskin>(nullptr, &creature);
    ASSERT_EQ(creature.m_iArmourBonus, 1);
    // A saved game brings creatures of its own under the same numbers.
    creature.m_iArmourBonus = 7;
    w.spells.Forget();
    EXPECT_EQ(w.spells.Count(), 0u);
    EXPECT_EQ(creature.m_iArmourBonus, 7);
    // Forgotten inside a walk: nothing is freed before the walk is over.
    Probe::s_log.clear();
    auto* forgetter = new Probe("forgets");
    forgetter->onCheck = [&w](int32_t) {
        w.spells.Forget();
        return 1;
    };
    w.spells.Add(forgetter);
    w.spells.Add(new Probe("next"));
    w.Tick(100);
    EXPECT_EQ(w.spells.Count(), 0u);
    EXPECT_EQ(Probe::s_log, (Log{"made forgets", "made next", "check forgets", "deleted forgets",
                                 "deleted next"}));
}

}  // namespace
