#pragma once
// The thirteen spells of the Fire school. Protect from Fire shields a party
// member, Sunlight burns the undead around its caster, Light gives a party
// member a magic light, Flame Dart and Fireball launch magic missiles; the
// rest have no effect of their own beyond the base.
//
// Nine of them (marked below) record their own class where every other spell
// records its school before the school's part; the archive reads that back
// as a reference to the class it has just read. Apart from their records they
// are ordinary Fire spells.

#include "items/FlagSpell.h"
#include "items/MissileSpell.h"
#include "items/SpellSchools.h"

// A Fire spell kind that records its own class before the school's part.
#define QV_SELF_RECORDED_SPELL_KIND(Name) QV_SPELL_KIND(Name, FireSpell)

// Light: a magic light for a party member to carry until the spell is
// cancelled; the caster tires every 5000. A creature that cannot carry it
// gets none ("Eh?"), and the spell stays on with nothing to light. Ending the
// spell takes the magic light off the creature; losing the light leaves the
// spell running.
class Light : public FireSpell {
    QV_DECLARE_CLASS(Light)
public:
    Light();
    ~Light() override;
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;
    int CheckExpired(int32_t now) override { return DrainCaster(now, kLightDrainInterval); }

    static constexpr int32_t kLightDrainInterval = 5000;
    static constexpr double kCasterReward = 10.0;

protected:
    void UndoOn(Player* target) override;
};

// Protect from Fire (self-recorded): the creature takes a tenth of fire
// damage; a second cast on it replaces the first.
class ProtectFromFire : public FlagSpell<FireSpell> {
    QV_DECLARE_CLASS(ProtectFromFire)
public:
    ProtectFromFire();
    void Serialize(qv::Archive& ar) override;
    // Given a creature, an unprotected member of its group becomes the
    // chosen target (0 when all are protected).
    int GetCastWeight(Player* creature) override;

protected:
    void MakeRoom(Player* caster, Player& target) override;
};

// Sunlight (self-recorded): burns the undead the caster sees about it; one
// burnt down is destroyed for good. Without a caster it burns nothing.
class Sunlight : public FireSpell {
    QV_DECLARE_CLASS(Sunlight)
public:
    Sunlight();
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;

    static constexpr int kDamageBase = 20;
    static constexpr int kDamageRange = 40;
    static constexpr int kDamageKind = 0;  // plain
    // The life state of an undead burnt down: below what it rises from.
    static constexpr int16_t kDestroyed = -10;
    static constexpr double kCasterShare = 0.1;   // of the victim's experience
    static constexpr double kVictimShare = 0.01;  // of the caster's
};

// Flame Dart: a fire missile at a creature.
class FlameDart : public MissileSpell<FireSpell> {
    QV_DECLARE_CLASS(FlameDart)
public:
    FlameDart();
    void Serialize(qv::Archive& ar) override;
};

// Fireball: a fire missile at anything on the map; it may be aimed at a
// statue bow, which fire sets off.
class Fireball : public MissileSpell<FireSpell> {
    QV_DECLARE_CLASS(Fireball)
public:
    Fireball();
    void Serialize(qv::Archive& ar) override;
    int IsValidTarget(Object* target) override;
};

QV_SPELL_KIND(Dazzle, FireSpell)
QV_SELF_RECORDED_SPELL_KIND(FlameWeapon)
QV_SELF_RECORDED_SPELL_KIND(Aurasight)
QV_SELF_RECORDED_SPELL_KIND(Incinerate)
QV_SELF_RECORDED_SPELL_KIND(FireAura)
QV_SELF_RECORDED_SPELL_KIND(MajorDazzle)
QV_SELF_RECORDED_SPELL_KIND(Immolation)
QV_SELF_RECORDED_SPELL_KIND(InvokeDaemon)
