#pragma once
// The fourteen spells of the Air school. Shock, Invisibility and Levitate give
// a party member a lasting state; Lightning Bolt launches a magic missile;
// the rest have no effect of their own beyond the base.

#include "items/FlagSpell.h"
#include "items/MissileSpell.h"
#include "items/SpellSchools.h"

// Shock: the creature's close hits add shock damage. It ends a Levitate (and
// a Shock before it) on the creature.
class Shock : public FlagSpell<AirSpell> {
    QV_DECLARE_CLASS(Shock)
public:
    Shock();
    void Serialize(qv::Archive& ar) override;

protected:
    void MakeRoom(Player* caster, Player& target) override;
};

// Levitate: traps ignore the creature. It ends a Shock (and a Levitate before
// it) on the creature.
class Levitate : public FlagSpell<AirSpell> {
    QV_DECLARE_CLASS(Levitate)
public:
    Levitate();
    void Serialize(qv::Archive& ar) override;

protected:
    void MakeRoom(Player* caster, Player& target) override;
};

// Invisibility: the creature is not seen. Without a caster (a scroll) it
// lasts 20000.
class Invisibility : public FlagSpell<AirSpell> {
    QV_DECLARE_CLASS(Invisibility)
public:
    Invisibility();
    void Serialize(qv::Archive& ar) override;
    int CheckExpired(int32_t now) override;
};

// Lightning Bolt: a shock missile; usable whatever the mana (the cast still
// asks for it).
class LightningBolt : public MissileSpell<AirSpell> {
    QV_DECLARE_CLASS(LightningBolt)
public:
    LightningBolt();
    void Serialize(qv::Archive& ar) override;
    int IsUsableBy(Player* user) override { return AllowUseBy(user); }
};

QV_SPELL_KIND(WindChange, AirSpell)
QV_SPELL_KIND(Telekinesis, AirSpell)
QV_SPELL_KIND(Shelter, AirSpell)
QV_SPELL_KIND(Dispel, AirSpell)
QV_SPELL_KIND(Blink, AirSpell)
QV_SPELL_KIND(SummonAnimals, AirSpell)
QV_SPELL_KIND(ForceBarrier, AirSpell)
QV_SPELL_KIND(WeatherChange, AirSpell)
QV_SPELL_KIND(Teleport, AirSpell)
QV_SPELL_KIND(ForceBlast, AirSpell)
