#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "items/SpellFixture.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "structures/Scenery.h"
#include "world/Group.h"

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
    w.world.CreateRootGroups();
    auto* group = new Group("Band");
    auto* nested = new Group("Inner");
    w.world.m_pAllGroups->AddMemberDirect(group);
    std::vector<Player*> members;
    for (int n : {4, 5, 6}) {
        auto* p = new Player;
        p->SetPlayerNumber(n);
        members.push_back(p);
    }
    group->AddMemberDirect(members[0]);
    group->AddMemberDirect(nested);
    nested->AddMemberDirect(members[1]);
    group->AddMemberDirect(members[2]);

    auto spell = std::make_unique<Spell>("Ward");
    spell->m_iDuration = 1000;
    Spell* s = spell.get();
    s->ApplyEffect(nullptr, group);
    SettleSpell(std::move(spell));
    // Depth first, in member order.
    EXPECT_EQ(s->m_Targets, (std::vector<int32_t>{4, 5, 6}));
    // Cancelling on any one of them removes the whole spell.
    EXPECT_TRUE(members[1]->CancelSpellsOn(SpellEffectKind::Any));
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

TEST(Spell, UsableWithManaEnough) {
    SpellWorld w;
    Player& four = w.Creature(1, 4);
    Player& five = w.Creature(2, 5);
    Player& none = w.Creature(3);
    Heal heal;  // 5 mana
    Haste haste;
    MajorHeal major;
    LightningBolt bolt;
    EXPECT_EQ(heal.IsUsableBy(&five), 1);
    EXPECT_EQ(heal.IsUsableBy(&four), 0);
    EXPECT_EQ(heal.IsUsableBy(&none), 0);
    EXPECT_EQ(heal.IsUsableBy(nullptr), 0);
    // These three count as usable whatever the mana.
    for (Spell* s : std::initializer_list<Spell*>{&haste, &major, &bolt}) {
        SCOPED_TRACE(s->m_strSpecialName);
        EXPECT_EQ(s->IsUsableBy(&none), 1);
    }
}

TEST(Spell, InfoText) {
    Heal heal;
    EXPECT_EQ(heal.GetInfoText(), "Heal\nMana: 5\nEarth Skill: 5\n");
    Fireball fireball;
    EXPECT_EQ(fireball.GetInfoText(), "Fireball\nMana: 10\nFire Skill: 10\n");
    Levitate levitate;
    EXPECT_EQ(levitate.GetInfoText(), "Levitate\nMana: 15\nAir Skill: 15\n");
    Hesitation hesitation;
    EXPECT_EQ(hesitation.GetInfoText(), "Hesitation\nMana: 15\nWater Skill: 15\n");
    Spell plain;
    EXPECT_EQ(plain.GetInfoText(), "Spell\nMana: 0\n");
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
        int32_t now;
        int alertness;
        int32_t start;
    };
    const Row rows[] = {
        {"exactly one interval: not yet", 1, 2000, 1000, 0},
        {"just past one interval", 1, 2001, 999, 2000},
        {"just past three", 1, 6001, 997, 6000},
        {"outside the party nothing is lost", 0, 6001, 1000, 6000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& caster = w.Creature(1, 100);
        caster.m_iPartySlot = r.slot;
        Player& target = w.Creature(2);
        w.Apply<Shock>(&caster, &target);
        w.Tick(r.now);
        ASSERT_EQ(w.spells.Count(), 1u);
        EXPECT_EQ(caster.m_iAlertness, r.alertness);
        EXPECT_EQ(w.spells.Spells()[0]->m_iStartTime, r.start);
    }
}

TEST(Spell, ADrainWhoseCasterIsGoneGoesOnWithoutTiringAnyone) {
    SpellWorld w;
    Player& target = w.Creature(2);
    target.m_iPartySlot = 1;
    w.Apply<Shock>(nullptr, &target);
    Spell* shock = w.spells.Spells()[0];
    shock->m_iCaster = 40;  // a creature that is not there
    w.Tick(10000);
    EXPECT_EQ(w.spells.Count(), 1u);
    EXPECT_EQ(shock->m_iStartTime, 8000);  // 10000 is not past 8000 + 2000
    EXPECT_EQ(target.m_iAlertness, 1000);
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
