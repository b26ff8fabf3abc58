// Spells in effect written with a saved game and read back into a world of
// the same creatures: each goes on in effect from the moment it is read, and
// ends when it should then, undoing what it gave.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "items/SpellFixture.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;
using spell_test::SpellWorld;

TEST(SpellsSaved, SpellsReadBackEndWhenTheyShould) {
    // Saved: at game time 3000, an Invisibility of no caster (it lasts 20000)
    // and a Haste (20000) on creature 2, and a Shock creature 1 cast on it.
    std::vector<Bytes> saved;
    int32_t speedSaved = 0;
    {
        SpellWorld w;
        Player& caster = w.Creature(1, 100, 50.0f);
        Player& target = w.Creature(2);
        w.Tick(3000);
        w.Apply<Invisibility>(nullptr, &target);
        w.Apply<Haste>(&caster, &target);
        w.Apply<Shock>(&caster, &target);
        ASSERT_EQ(w.spells.Count(), 3u);
        for (Spell* s : w.spells.Spells()) saved.push_back(StoreObject(*s));
        speedSaved = target.m_iSpeedState;
        w.spells.Forget();
    }
    EXPECT_EQ(speedSaved, 1);

    // Read back at game time 50000 into a world whose creatures' records
    // kept the flags and the speed.
    SpellWorld w;
    Player& caster = w.Creature(1, 100, 50.0f);
    caster.m_iPartySlot = 1;
    caster.m_iAlertness = 1000;
    Player& target = w.Creature(2);
    target.m_bInvisible = 1;
    target.m_bShockStrike = 1;
    target.m_iSpeedState = speedSaved;
    std::vector<std::unique_ptr<Spell>> read;
    for (const Bytes& b : saved) read.push_back(LoadObject<Spell>(b));
    w.Tick(50000);
    w.spells.AdoptRead(std::move(read), 50000);
    ASSERT_EQ(w.spells.Count(), 3u);

    struct Row {
        const char* rule;
        int32_t now, invisible, speed, shocked;
        int32_t alertness;  // the caster's
        size_t inEffect;
    };
    const Row rows[] = {
        {"20000 after reading: all still in effect", 70000, 1, 1, 1, 991, 3},
        {"past it: the two of 20000 end, the Shock goes on", 70001, 0, 0, 1, 990, 1},
        {"the Shock drains its caster on", 74001, 0, 0, 1, 988, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        w.Tick(r.now);
        EXPECT_EQ(target.m_bInvisible, r.invisible);
        EXPECT_EQ(target.m_iSpeedState, r.speed);
        EXPECT_EQ(target.m_bShockStrike, r.shocked);
        EXPECT_EQ(caster.m_iAlertness, r.alertness);
        EXPECT_EQ(w.spells.Count(), r.inEffect);
    }
    // Cancelled with its caster's spells, the Shock undoes its flag too.
    caster.CancelCastSpells(SpellEffectKind::Any);
    EXPECT_EQ(target.m_bShockStrike, 0);
    EXPECT_EQ(w.spells.Count(), 0u);
}

}  // namespace
