#pragma once
// The sixteen spells of the Earth school: they heal, strengthen or hamper a
// creature; seven have no effect of their own beyond the base (skill gained,
// targets recorded).
//
// Spells marked "own target" work on the caster when no target is given.

#include <cstdint>

#include "items/FlagSpell.h"
#include "items/SpellSchools.h"

// Heal (own target): a living creature regains 5 + rand() % 10 hit points,
// at most to its maximum. Spent at once; teaches nothing.
class Heal : public EarthSpell {
    QV_DECLARE_CLASS(Heal)
public:
    Heal();
    void Serialize(qv::Archive& ar) override;
    // Given a creature, a member of its group that has lost more than 6 hit
    // points becomes the chosen target (0 when none has).
    int GetCastWeight(Player* creature) override;
    int ApplyEffect(Player* caster, Object* target) override;

    static constexpr int kHealBase = 5, kHealSpread = 10;
    // A member is worth healing once it has lost more than this.
    static constexpr int kWorthHealing = 6;

protected:
    Heal(const SpellKind& kind, int base, int spread);

private:
    int m_iHealBase;
    int m_iHealSpread;
};

// Major Heal (own target): as Heal, 20 + rand() % 40; usable whatever the mana
// (the cast still asks for it).
class MajorHeal : public Heal {
    QV_DECLARE_CLASS(MajorHeal)
public:
    MajorHeal();
    void Serialize(qv::Archive& ar) override;
    int GetCastWeight(Player* creature) override { return Spell::GetCastWeight(creature); }
    int IsUsableBy(Player* user) override { return AllowUse(user, kAllowValue); }

    static constexpr int kHealBase = 20, kHealSpread = 40;
    static constexpr int kAllowValue = 40;
};

// Cure Poison: a poisoned creature's poison falls by 10 without a caster, by
// rand() % the caster's Earth skill with one. Spent at once.
class CurePoison : public EarthSpell {
    QV_DECLARE_CLASS(CurePoison)
public:
    CurePoison();
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;

    static constexpr int32_t kCureWithoutCaster = 10;
};

// An Earth spell that moves one of a living creature's figures by its amount
// for as long as it lasts (own target); casts add up. Its amount is stored.
class EarthFigureSpell : public EarthSpell {
public:
    ~EarthFigureSpell() override;
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;

    int32_t m_iAmount = 1;

protected:
    // `figure` moves by `sign` x amount; the amount is stored from
    // `amountSchema` on.
    EarthFigureSpell(const SpellKind& kind, int32_t Player::*figure, int sign,
                     uint32_t amountSchema);
    void UndoOn(Player* target) override;
    // What the caster and the target gain.
    virtual void Reward(Player* caster, Player* target);

private:
    int32_t Player::*m_pFigure;
    int m_iSign;
    uint32_t m_uAmountSchema;
};

// Toughskin: armour bonus + amount for 20000.
class Toughskin : public EarthFigureSpell {
    QV_DECLARE_CLASS(Toughskin)
public:
    Toughskin();
};

// Haste: speed state + amount for 20000; usable whatever the mana.
class Haste : public EarthFigureSpell {
    QV_DECLARE_CLASS(Haste)
public:
    Haste();
    int IsUsableBy(Player* user) override { return AllowUse(user, 0); }
};

// Slow: speed state - amount for 20000; it teaches by the target's experience.
class Slow : public EarthFigureSpell {
    QV_DECLARE_CLASS(Slow)
public:
    Slow();

protected:
    void Reward(Player* caster, Player* target) override;
};

// Weaken and Strength (own target): a creature's strength falls (rises) by
// the amount, never below 1 (above 100). A creature cast on by another
// creature stays so until the spell is cancelled, and the caster tires; a
// spell of no caster lasts 20000. Either one on a creature under the other
// only lifts the other.
class StrengthSpell : public EarthSpell {
public:
    ~StrengthSpell() override;
    void Serialize(qv::Archive& ar) override;
    int ApplyEffect(Player* caster, Object* target) override;
    int CheckExpired(int32_t now) override;

    int32_t m_iAmount = 10;
    int32_t m_iDrainInterval = kDrainInterval;

    static constexpr int32_t kMinStrength = 1;
    static constexpr int32_t kMaxStrength = 100;

protected:
    // `sign` -1 weakens, +1 strengthens.
    StrengthSpell(const SpellKind& kind, int sign);
    void UndoOn(Player* target) override;

private:
    int m_iSign;
};

class Weaken : public StrengthSpell {
    QV_DECLARE_CLASS(Weaken)
public:
    Weaken();
};

class Strength : public StrengthSpell {
    QV_DECLARE_CLASS(Strength)
public:
    Strength();
};

// Grounding: the creature takes a tenth of shock damage until the spell is
// cancelled; the caster tires meanwhile.
class Grounding : public FlagSpell<EarthSpell> {
    QV_DECLARE_CLASS(Grounding)
public:
    Grounding();
    void Serialize(qv::Archive& ar) override;

protected:
    // A grounded creature's Grounding is replaced, and only then does the
    // cast reward anyone.
    void MakeRoom(Player* caster, Player& target) override;
    void Reward(Player*, Player*) override {}
};

QV_SPELL_KIND(Materialize, EarthSpell)
QV_SPELL_KIND(Stoneskin, EarthSpell)
QV_SPELL_KIND(Etherealize, EarthSpell)
QV_SPELL_KIND(Revive, EarthSpell)
QV_SPELL_KIND(Depetrification, EarthSpell)
QV_SPELL_KIND(Petrification, EarthSpell)
QV_SPELL_KIND(Earthquake, EarthSpell)
