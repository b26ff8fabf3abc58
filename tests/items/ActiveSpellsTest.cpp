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

TEST(ActiveSpells, TheOrderOfAWalk) {
    struct Row {
        const char* rule;
        std::function<void(ActiveSpells&)> put;  // the probes and what their checks do
        std::vector<int32_t> walks;
        Log log;  // of the walks
        std::vector<std::string> left;
    };
    const Row rows[] = {
        {"in order, ending what expired (not yet at 0 + 1000); each removal starts the walk "
         "again from the head, so B, before C, is checked a second time; the ended are freed "
         "after the walk",
         [](ActiveSpells& l) {
             Put(l, "A", 1000);
             Put(l, "B", 3000);
             Put(l, "C", 1000);
         },
         {1000, 1001},
         {"check A", "check B", "check C", "check A", "undone A", "check B", "check C", "undone C",
          "check B", "deleted A", "deleted C"},
         {"B"}},
        // A drain that tires its caster out ends every spell the caster cast,
        // the one draining among them.
        {"a spell ended inside its own check is freed only after the walk; C, ended before its "
         "turn, gets no check; both freed in the order they ended",
         [](ActiveSpells& l) {
             Probe* a = Put(l, "A");
             Put(l, "B");
             Put(l, "C");
             a->onCheck = [&l, a](int32_t) {
                 l.EndWhere([](Spell& s) { return s.m_strSpecialName != "B"; });
                 EXPECT_TRUE(a->HasEnded()) << "still readable: not yet freed";
                 return 1;
             };
         },
         {10},
         {"check A", "undone A", "undone C", "check B", "deleted A", "deleted C"},
         {"B"}},
        {"a spell added during a walk starts it again and is checked in it",
         [](ActiveSpells& l) {
             Probe* a = Put(l, "A");
             a->onCheck = [&l](int32_t) {
                 if (l.Count() == 1) Put(l, "B");
                 return 1;
             };
         },
         {10, 20},
         {"check A", "made B", "check A", "check B", "check A", "check B"},
         {"A", "B"}},
        {"forgotten inside a walk: nothing is freed before the walk is over",
         [](ActiveSpells& l) {
             Put(l, "forgets")->onCheck = [&l](int32_t) {
                 l.Forget();
                 return 1;
             };
             Put(l, "next");
         },
         {100},
         {"check forgets", "deleted forgets", "deleted next"},
         {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        ActiveSpells list;
        r.put(list);
        Probe::s_log.clear();
        for (int32_t now : r.walks) list.Walk(now);
        EXPECT_EQ(Probe::s_log, r.log);
        EXPECT_EQ(Names(list), r.left);
        Probe::s_log.clear();
    }
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
}

}  // namespace
