#pragma once
// The fifteen spells of the Water school, which also holds the mind spells.
// Hesitation troubles an enemy's mind, Mind Sense lets the party see what is
// hidden, Cold Ray launches a magic missile; the rest have no effect of their
// own beyond the base.

#include "items/FlagSpell.h"
#include "items/MissileSpell.h"
#include "items/SpellSchools.h"

// Hesitation: the creature hesitates until the spell is cancelled; the
// caster tires meanwhile. Each cast is a spell of its own.
class Hesitation : public FlagSpell<WaterSpell> {
    QV_DECLARE_CLASS(Hesitation)
public:
    Hesitation();
    void Serialize(qv::Archive& ar) override;

    static constexpr int32_t kHesitating = -1;

protected:
    void Reward(Player* caster, Player* target) override;
};

// Mind Sense: invisible creatures are shown for 20000. The showing is one
// switch: the first Mind Sense to end turns it off.
class MindSense : public WaterSpell {
    QV_DECLARE_CLASS(MindSense)
public:
    MindSense();
    ~MindSense() override;
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;
    int CheckExpired(int32_t now) override;

protected:
    void UndoEffect() override;
};

// Cold Ray: a cold missile at a creature.
class ColdRay : public MissileSpell<WaterSpell> {
    QV_DECLARE_CLASS(ColdRay)
public:
    ColdRay();
    void Serialize(qv::Archive& ar) override;
};

QV_SPELL_KIND(Alertness, WaterSpell)
QV_SPELL_KIND(DispelThirst, WaterSpell)
QV_SPELL_KIND(WaterWalk, WaterSpell)
QV_SPELL_KIND(Translation, WaterSpell)
QV_SPELL_KIND(MindShield, WaterSpell)
QV_SPELL_KIND(FreezeMonster, WaterSpell)
QV_SPELL_KIND(WaterBreathing, WaterSpell)
QV_SPELL_KIND(QuenchFire, WaterSpell)
QV_SPELL_KIND(Confusion, WaterSpell)
QV_SPELL_KIND(CharmMonster, WaterSpell)
QV_SPELL_KIND(MajorFreeze, WaterSpell)
QV_SPELL_KIND(Mindshatter, WaterSpell)
