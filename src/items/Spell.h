#pragma once
// A spell: a creature's known spell (kept in its Magic), the copy made for one
// cast, and, while a cast spell lasts, that copy on the main frame's list of
// active spells. Every concrete spell derives from one of the four school
// classes, which derive from Spell.

#include <cstdint>
#include <vector>

#include "platform/Handle.h"
#include "world/Object.h"

class Magic;

// The lasting effect a spell gives, used to cancel spells of one kind.
struct SpellEffectKind {
    static constexpr int None = 0;
    static constexpr int ProtectFromFire = 1;
    static constexpr int Grounding = 2;
    static constexpr int Sight = 3;  // Invisibility, Strength, Hesitation, Mind Sense
    static constexpr int Weaken = 5;
    static constexpr int Shock = 6;
    static constexpr int Levitate = 7;
    static constexpr int Any = 12;
};

// Which creatures are fit targets.
struct SpellTargetKind {
    static constexpr int AnyLiving = 0;
    static constexpr int PartyMember = 1;
    static constexpr int HostileOutsider = 2;
};

// The serial number the next spell takes; stored with the world.
extern uint32_t g_iNextSpellSerial;

class Spell : public Object {
    QV_DECLARE_CLASS(Spell)
public:
    explicit Spell(const std::string& name = "Spell");
    ~Spell() override;
    Spell(const Spell&) = delete;
    Spell& operator=(const Spell&) = delete;

    void Serialize(qv::Archive& ar) override;
    // A new spell of the same class with this one's missile parameter,
    // duration, start time, caster and cast weight; its own serial, no targets.
    Object* Clone() override;

    // The spell's own operations, in their order.
    virtual int GetSchool() { return 0; }
    virtual int GetEffectKind() { return SpellEffectKind::None; }
    virtual int GetCastWeight(Player* creature);
    virtual int GetSpellFlags() { return 1; }
    virtual int GetSuccessChance(Player*, Object*) { return 100; }
    virtual void GainSkill(Magic*, float) {}
    virtual int ApplyEffect(Player* caster, Object* target);
    virtual int CheckExpired(int32_t now);
    virtual int GetTargetKind() { return SpellTargetKind::AnyLiving; }
    virtual int AllowUse(Player*, int) { return 1; }
    virtual int AllowUseBy(Player*) { return 1; }
    virtual int GetMissileValue(int, int) { return 0; }

    // Number of living spells (they share the cast sounds).
    static int LiveCount() { return s_iUseCount; }

    uint32_t m_iMana = 0;     // mana cost of one cast
    int32_t m_iDuration = 0;  // game time the effect lasts; 0 none
    int32_t m_iSpare = 500;
    int32_t m_iStartTime = 0;  // game time the effect began; not stored
    int32_t m_iSerial = 0;
    qv::Handle<Player> m_pChosenTarget;  // not stored
    int32_t m_iSkillLevel = 0;
    int32_t m_iMissileParam = 0;
    std::vector<int32_t> m_Targets;  // player numbers of the creatures it works on
    int32_t m_iCaster = -1;          // player number of the caster
    int32_t m_iCastWeight = 10;

private:
    static int s_iUseCount;
};
