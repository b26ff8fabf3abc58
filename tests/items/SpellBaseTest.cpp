#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "items/SpellFixture.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "structures/Scenery.h"

namespace {

using spell_test::SpellWorld;

TEST(Spell, TheBaseEffect) {
    SpellWorld w;
    w.world.m_iGameTime = 4200;
    Player& caster = w.Creature(2, 50, 10.0f);
    Player& target = w.Creature(7);

    // Duration 0: the effect stays in play but nothing keeps it.
    Materialize quick;
    EXPECT_EQ(quick.ApplyEffect(&caster, &target), SpellResult::Stays);
    EXPECT_FALSE(w.spells.Contains(&quick));
    EXPECT_EQ(quick.m_iCaster, 2);
    EXPECT_EQ(quick.m_iStartTime, 4200);
    EXPECT_EQ(quick.m_Targets, (std::vector<int32_t>{7}));
    // Skill 10, level 0: chance 80, gain 2 in the Earth school only.
    EXPECT_FLOAT_EQ(caster.m_pMagic->m_fEarthSkill, 12.0f);
    EXPECT_FLOAT_EQ(caster.m_pMagic->m_fFireSkill, 10.0f);

    // A lasting one goes on the list; without a caster, caster -1 and no gain.
    auto lasting = std::make_unique<Spell>("Lasting");
    lasting->m_iDuration = 500;
    Spell* l = lasting.get();
    EXPECT_EQ(l->ApplyEffect(nullptr, &target), SpellResult::Stays);
    SettleSpell(std::move(lasting));
    EXPECT_TRUE(w.spells.Contains(l));
    EXPECT_EQ(l->m_iCaster, -1);
}

TEST(Spell, ASpellOnAGroupWorksOnEveryCreatureInIt) {
    SpellWorld w;
    std::vector<Player*> members = w.Band({4, 6});
    auto* nested = new Group("Inner");
    w.band->AddMemberDirect(nested);
    auto* inner = new Player;
    inner->SetPlayerNumber(5);
    nested->AddMemberDirect(inner);
    auto spell = std::make_unique<Spell>("Ward");
    spell->m_iDuration = 1000;
    Spell* s = spell.get();
    s->ApplyEffect(nullptr, w.band);
    SettleSpell(std::move(spell));
    // Depth first, in member order.
    EXPECT_EQ(s->m_Targets, (std::vector<int32_t>{4, 6, 5}));
    // Cancelling on any one of them removes the whole spell.
    EXPECT_TRUE(inner->CancelSpellsOn(SpellEffectKind::Any));
    EXPECT_EQ(w.spells.Count(), 0u);
}

TEST(Spell, FitTargets) {
    SpellWorld w;
    Player& party = w.Creature(1);
    party.m_iPartySlot = 2;
    Player& hostile = w.Creature(2);
    hostile.m_iHostileMode = 1;
    Player& neutral = w.Creature(3);
    Player& dead = w.Creature(4);
    dead.m_sLifeState = 0;
    Player& hostileInParty = w.Creature(5);
    hostileInParty.m_iPartySlot = 1;
    hostileInParty.m_iHostileMode = 1;
    Object thing;
    Heal anyone;          // kind 0
    Shock partyOnly;      // kind 1
    FlameDart enemyOnly;  // kind 2
    struct Row {
        const char* rule;
        Object* target;
        int any, party, enemy;
    };
    const Row rows[] = {
        {"a party member", &party, 1, 1, 0},
        {"a hostile creature outside the party", &hostile, 1, 0, 1},
        {"a creature that is not hostile", &neutral, 1, 0, 0},
        {"a dead creature is no target", &dead, 0, 0, 0},
        {"a hostile party member counts as the party", &hostileInParty, 1, 1, 0},
        {"a thing is no target", &thing, 0, 0, 0},
        {"nothing is no target", nullptr, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(anyone.IsValidTarget(r.target), r.any);
        EXPECT_EQ(partyOnly.IsValidTarget(r.target), r.party);
        EXPECT_EQ(enemyOnly.IsValidTarget(r.target), r.enemy);
    }
    // A fireball may also be aimed at a statue bow.
    Fireball fireball;
    StatueBow bow;
    EXPECT_EQ(fireball.IsValidTarget(&bow), 1);
    EXPECT_EQ(fireball.IsValidTarget(&thing), 0);
    EXPECT_EQ(fireball.IsValidTarget(&hostile), 1);
}

TEST(Spell, ManaAndInfoText) {
    SpellWorld w;
    Player& four = w.Creature(1, 4);
    Player& five = w.Creature(2, 5);
    Player& none = w.Creature(3);
    struct Row {
        const char* rule;
        std::unique_ptr<Spell> spell;
        int byFive, byFour, byNone;
        const char* text;
    };
    const Row rows[] = {
        {"Heal costs 5", std::make_unique<Heal>(), 1, 0, 0, "Heal\nMana: 5\nEarth Skill: 5\n"},
        {"Fireball costs 10", std::make_unique<Fireball>(), 0, 0, 0,
         "Fireball\nMana: 10\nFire Skill: 10\n"},
        {"Levitate costs 15", std::make_unique<Levitate>(), 0, 0, 0,
         "Levitate\nMana: 15\nAir Skill: 15\n"},
        {"Hesitation costs 15", std::make_unique<Hesitation>(), 0, 0, 0,
         "Hesitation\nMana: 15\nWater Skill: 15\n"},
        {"a spell of no school names none", std::make_unique<Spell>(), 1, 1, 0, "Spell\nMana: 0\n"},
        {"Haste counts as usable whatever the mana", std::make_unique<Haste>(), 1, 1, 1, nullptr},
        {"so does Major Heal", std::make_unique<MajorHeal>(), 1, 1, 1, nullptr},
        {"and Lightning Bolt", std::make_unique<LightningBolt>(), 1, 1, 1, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(r.spell->IsUsableBy(&five), r.byFive);
        EXPECT_EQ(r.spell->IsUsableBy(&four), r.byFour);
        EXPECT_EQ(r.spell->IsUsableBy(&none), r.byNone);
        if (r.text) {
            EXPECT_EQ(r.spell->GetInfoText(), r.text);
        }
    }
    EXPECT_EQ(Heal().IsUsableBy(nullptr), 0);
}

TEST(Spell, CancellingWhatACreatureCastKeepsTheOrderOfTheRest) {
    SpellWorld w;
    Player& a = w.Creature(1);
    Player& b = w.Creature(2);
    Player& target = w.Creature(3);
    std::vector<Spell*> order;
    auto cast = [&](Spell* s, Player* caster) {
        s->ApplyEffect(caster, &target);
        SettleSpell(std::unique_ptr<Spell>(s));
        order.push_back(s);
    };
    cast(new Toughskin, &a);
    cast(new Toughskin, &b);
    cast(new Grounding, &a);
    cast(new Haste, &b);
    cast(new Invisibility, &a);
    EXPECT_EQ(w.spells.Count(), 5u);
    // One kind of a's spells.
    EXPECT_TRUE(a.CancelCastSpells(SpellEffectKind::Grounding));
    EXPECT_EQ(w.spells.Spells(), (std::vector<Spell*>{order[0], order[1], order[3], order[4]}));
    // Every spell a cast.
    EXPECT_TRUE(a.CancelCastSpells(SpellEffectKind::Any));
    EXPECT_EQ(w.spells.Spells(), (std::vector<Spell*>{order[1], order[3]}));
    EXPECT_FALSE(a.CancelCastSpells(SpellEffectKind::Any));
    // A creature never numbered cast nothing, even spells of no caster.
    Player stranger;
    auto free = std::make_unique<Toughskin>();
    free->ApplyEffect(nullptr, &target);
    SettleSpell(std::move(free));
    EXPECT_FALSE(stranger.CancelCastSpells(SpellEffectKind::Any));
    EXPECT_EQ(w.spells.Count(), 3u);
}

TEST(Spell, ADrainTiresTheCasterOnceAnIntervalIsWhollyBehind) {
    // Interval 2000; only party members tire.
    struct Row {
        const char* rule;
        int slot;
        int32_t caster;  // the caster's number the spell keeps
        int32_t now;
        int alertness;
        int32_t start;
    };
    const Row rows[] = {
        {"exactly one interval: not yet", 1, 1, 2000, 1000, 0},
        {"just past one interval", 1, 1, 2001, 999, 2000},
        {"just past three", 1, 1, 6001, 997, 6000},
        {"outside the party nothing is lost", 0, 1, 6001, 1000, 6000},
        {"a caster that is not there: the drain goes on, no one tires", 1, 40, 10000, 1000, 8000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& caster = w.Creature(1, 100);
        caster.m_iPartySlot = r.slot;
        Player& target = w.Creature(2);
        target.m_iPartySlot = 1;
        w.Apply<Shock>(&caster, &target);
        w.spells.Spells()[0]->m_iCaster = r.caster;
        w.Tick(r.now);
        ASSERT_EQ(w.spells.Count(), 1u);
        EXPECT_EQ(caster.m_iAlertness, r.alertness);
        EXPECT_EQ(target.m_iAlertness, 1000);
        EXPECT_EQ(w.spells.Spells()[0]->m_iStartTime, r.start);
    }
}

TEST(Spell, ACasterTiredOutLosesEverySpellItCast) {
    SpellWorld w;
    Player& caster = w.Creature(1, 100);
    caster.m_iPartySlot = 1;
    caster.m_iAlertness = 2;
    Player& a = w.Creature(2);
    Player& b = w.Creature(3);
    w.Apply<Shock>(&caster, &a);
    w.Apply<Invisibility>(&caster, &b);
    w.Apply<Toughskin>(nullptr, &b);
    EXPECT_EQ(w.spells.Count(), 3u);
    // Two intervals behind: the Shock's drain takes the last point in its
    // own check, which ends it and the Invisibility.
    w.Tick(6000);
    EXPECT_EQ(caster.m_iAlertness, 0);
    EXPECT_EQ(w.spells.Count(), 1u);
    EXPECT_EQ(a.m_bShockStrike, 0);
    EXPECT_EQ(b.m_bInvisible, 0);
    EXPECT_EQ(b.m_iArmourBonus, 1);
}

TEST(Spell, AKnownSpellEndsNothingWhenItGoes) {
    // Known spells of older files may carry a target 0; deleting one must
    // not take back an effect it never gave.
    SpellWorld w;
    Player& zero = w.Creature(0);
    zero.m_iArmourBonus = 4;
    {
        Toughskin known;
        known.m_Targets = {0};
    }
    EXPECT_EQ(zero.m_iArmourBonus, 4);
}

}  // namespace
