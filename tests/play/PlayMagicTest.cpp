// Magic through play's orders: a party member casts a spell it knows, and a
// thing picked for use waits for its target.

#include <memory>

#include "PlayFixture.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/Potions.h"
#include "items/SpellsEarth.h"
#include "items/TargetChoice.h"

using namespace play_test;

namespace {

// A creature that knows Toughskin and Strength, with 50 mana and a skill no
// cast of them can fail with.
void Teach(Player& p) {
    Toughskin toughskin;
    Strength strength;
    p.AddSpell(toughskin);
    p.AddSpell(strength);
    p.m_pMagic->m_uMaxMana = p.m_pMagic->m_uMana = 50;
    p.m_pMagic->AddSchoolSkill(SpellSchool::Earth, 50.0f);
}

Spell* Known(Player& p, size_t i) {
    return p.m_pMagic->m_SpellList[i].get();
}

class PlayMagic : public PlayFixture {};

TEST_F(PlayMagic, ACastOrder) {
    struct Row {
        const char* rule;
        int spell;      // 0 Toughskin, 1 Strength, -1 one it does not know
        int target;     // 0 none, 1 a party member, 2 an outsider
        uint32_t mana;  // the caster's before
        int answer;
        int32_t casterArmour, memberArmour, outsiderStrength;
        uint32_t manaAfter;
        size_t inEffect;
    };
    const Row rows[] = {
        {"a known spell on a party member", 0, 1, 50, 1, 0, 1, 50, 45, 1},
        {"no target: the caster itself", 0, 0, 50, 1, 1, 0, 50, 45, 1},
        {"exactly the mana it costs", 0, 1, 5, 1, 0, 1, 50, 0, 1},
        {"one short of its mana: nothing", 0, 1, 4, 0, 0, 0, 50, 4, 0},
        {"a spell it does not know: nothing", -1, 1, 50, 0, 0, 0, 50, 50, 0},
        {"a party spell at an outsider: nothing", 1, 2, 50, 0, 0, 0, 50, 50, 0},
        {"a party spell at a party member", 1, 1, 50, 1, 0, 0, 50, 45, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player caster, member, outsider;
        caster.SetPlayerNumber(1);
        member.SetPlayerNumber(2);
        outsider.SetPlayerNumber(3);
        caster.m_iPartySlot = 1;
        member.m_iPartySlot = 2;
        outsider.m_iCurStr = 50;
        Teach(caster);
        caster.m_pMagic->m_uMana = r.mana;
        ObjectHolder memberAt(At(36, 36), &member), outsiderAt(At(37, 36), &outsider);
        ActiveSpells spells;  // ended first, while the creatures are there
        Toughskin stranger;
        Order cast = Order::Of(Order::Kind::Cast);
        cast.actor = &caster;
        cast.object = r.spell < 0 ? static_cast<Spell*>(&stranger) : Known(caster, r.spell);
        if (r.target == 1) cast.target = &memberAt;
        if (r.target == 2) cast.target = &outsiderAt;
        EXPECT_EQ(play.Give(cast), r.answer);
        EXPECT_EQ(caster.m_iArmourBonus, r.casterArmour);
        EXPECT_EQ(member.m_iArmourBonus, r.memberArmour);
        EXPECT_EQ(outsider.m_iCurStr, r.outsiderStrength);
        EXPECT_EQ(caster.m_pMagic->m_uMana, r.manaAfter);
        EXPECT_EQ(spells.Count(), r.inEffect);
    }
}

TEST_F(PlayMagic, AThingPickedForUseWaitsForItsTarget) {
    Player* caster = PlaceMember(1, At(36, 35));
    Teach(*caster);
    Potion potion(PotionType::Healing);
    EXPECT_EQ(potion.GetUsePrompt(caster, 0), 2);
    EXPECT_EQ(play.m_pPendingItem.Get(), &potion);
    EXPECT_EQ(play.m_pPendingItemUser.Get(), caster);
    EXPECT_EQ(play.m_iSelectMode, UseSelect::kItem);
    EXPECT_EQ(Known(*caster, 0)->GetUsePrompt(caster, 0), 2);
    EXPECT_EQ(play.m_pPendingItem.Get(), Known(*caster, 0));
    EXPECT_EQ(play.m_iSelectMode, UseSelect::kSpell);
}

}  // namespace
