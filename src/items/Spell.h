#pragma once
// A spell: a creature's known spell (kept in its Magic), the copy made for one
// cast, and, while a cast spell lasts, that copy on the list of spells in
// effect (ActiveSpells). Every concrete spell derives from one of the four
// school classes (SpellSchools.h), which derive from Spell.
//
// A spell kind is a row of its school's table (SpellKind): name, mana, level,
// duration, flags, target kind, effect kind, missile value and picture. A
// kind only has a class of its own because the archive names it; behaviour
// of its own is written only where it differs.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "world/Object.h"

class ActiveSpells;
class CDSound;
class Magic;

// School numbers (Spell::GetSchool, Magic::AddSchoolSkill).
struct SpellSchool {
    static constexpr int None = 0;
    static constexpr int Fire = 1;
    static constexpr int Earth = 2;
    static constexpr int Air = 3;
    static constexpr int Water = 4;
};

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

// The bit of the spell flags that lets the target resist with its own skill
// in the spell's school.
inline constexpr int kSpellFlagResisted = 2;

// What ApplyEffect answers.
struct SpellResult {
    static constexpr int Nothing = 0;  // nothing happened; the cast costs nothing
    static constexpr int Stays = 1;    // the spell stays in play
    static constexpr int Done = 2;     // the spell is spent
};

// One spell kind: what its constructor sets and what its class answers.
struct SpellKind {
    const char* name;  // the display name
    uint32_t mana;
    int32_t level;     // the skill level it asks for
    int32_t duration;  // game time it lasts; 0 none
    int flags;
    int targetKind;
    int effectKind;
    int missileValue;
    int picture;  // the bitmap of its 36 x 32 picture; 0: the plain object's
};

// The serial number the next spell takes; stored with the world.
extern uint32_t g_iNextSpellSerial;

class Spell : public Object {
    QV_DECLARE_CLASS(Spell)
public:
    explicit Spell(const std::string& name = "Spell");
    explicit Spell(const SpellKind& kind);
    ~Spell() override;
    Spell(const Spell&) = delete;
    Spell& operator=(const Spell&) = delete;

    // ---- Object's operations
    void Serialize(qv::Archive& ar) override;
    // "<name>\nMana: <mana>\n" and, for a school, its skill line.
    std::string GetInfoText() override;
    CDDObject* GetImage() override;
    // Asks for the target of a cast ("Use <name> on..."); answers 2.
    int GetUsePrompt(Player* user, int flag) override;
    // The user casts a clone of this spell on the target; answers 0.
    int Use(Player* user, Object* target) override;
    // The same cast, answering as Player::CastSpell: 1 when it took place
    // (the roll succeeded or failed), 0 when it did not.
    int CastCopy(Player* user, Object* target);
    // A living creature fit for the spell's target kind.
    int IsValidTarget(Object* target) override;
    // The creature has mana enough for one cast.
    int IsUsableBy(Player* user) override;
    // A new spell of the same class with this one's missile parameter,
    // duration, start time, caster and cast weight; its own serial, no targets.
    Object* Clone() override;

    // ---- The spell's own operations, in their order
    virtual int GetSchool() { return 0; }
    virtual int GetEffectKind() { return m_pKind->effectKind; }
    // Remembers the creature as the chosen target; answers the cast weight.
    virtual int GetCastWeight(Player* creature);
    virtual int GetSpellFlags() { return m_pKind->flags; }
    virtual int GetSuccessChance(Player*, Object*) { return 100; }
    virtual void GainSkill(Magic*, float) {}
    // The effect of one cast: SpellResult::Nothing, Stays or Done.
    virtual int ApplyEffect(Player* caster, Object* target);
    // The per-tick check of a spell in effect; -1 when it is over.
    virtual int CheckExpired(int32_t now);
    virtual int GetTargetKind() { return m_pKind->targetKind; }
    virtual int AllowUse(Player*, int) { return 1; }
    virtual int AllowUseBy(Player*) { return 1; }
    virtual int GetMissileValue(int, int) { return m_pKind->missileValue; }

    // ---- Ending
    // Undoes the spell's lasting effect on its targets, once: a spell that
    // never took effect (a known spell, a cast that did nothing) undoes
    // nothing. Every class with a lasting effect calls it from its destructor,
    // so that deleting a spell in effect ends it.
    void EndEffect();
    bool HasEnded() const { return m_bEnded != 0; }
    // Whether the spell's effect has been laid on its targets.
    bool IsInEffect() const { return m_bInEffect != 0; }
    // The list of spells in effect that holds it, or null.
    ActiveSpells* GetActiveList() const { return m_pActiveList; }

    // The player numbers a target adds: a creature its own, a group those of
    // every creature in it and its nested groups, depth first in member order.
    static void CollectTargets(Object* target, std::vector<int32_t>& out);
    // Calls f with every target that still names a creature, in list order.
    template <class F>
    void ForEachTarget(F&& f) const;

    // Number of living spells (they share the cast sounds).
    static int LiveCount() { return s_iUseCount; }
    // The sounds of a cast that succeeds and of one that fails; they exist
    // while any spell does.
    static CDSound* SuccessSound();
    static CDSound* FailureSound();
    static constexpr int kSuccessSoundId = 447;
    static constexpr int kFailureSoundId = 448;
    // The spell's picture: its kind's, shared by every spell of that kind.
    static CDDObject* KindPicture(int bitmapId);

    uint32_t m_iMana = 0;     // mana cost of one cast
    int32_t m_iDuration = 0;  // game time the effect lasts; 0 none, -1 sustained
    int32_t m_iSpare = 500;
    int32_t m_iStartTime = 0;  // game time the effect began; not stored
    int32_t m_iSerial = 0;
    qv::Handle<Player> m_pChosenTarget;  // not stored
    int32_t m_iSkillLevel = 0;
    int32_t m_iMissileParam = 0;
    std::vector<int32_t> m_Targets;  // player numbers of the creatures it works on
    int32_t m_iCaster = -1;          // player number of the caster; -1 none
    int32_t m_iCastWeight = 10;

    // Game time a spell that drains its caster costs it 1 alertness.
    static constexpr int32_t kDrainInterval = 2000;
    // A drain never takes more alertness at once than a creature can have.
    static constexpr int64_t kMaxDrainSteps = 1001;

protected:
    // The base effect: goes on the list of spells in effect when it lasts,
    // records the caster and the start time, teaches the caster (from the
    // success chance on `target`) and records the targets `recorded` adds.
    // A spell whose own effect reached no creature records none, so that
    // ending it takes back nothing it never gave. Answers Stays.
    int ApplyBaseEffect(Player* caster, Object* target, Object* recorded);
    // The drain of a sustained spell: every whole `interval` past the start
    // the caster (when it still exists) loses 1 alertness. Answers 1: the
    // spell does not end by time. Returns at once when losing the alertness
    // ended this very spell.
    int DrainCaster(int32_t now, int32_t interval);
    // A cast weight that picks its target: given a creature, one of the
    // creatures of its group that `fit` accepts (at most the first
    // kMaxCandidates are weighed) becomes the chosen target, at random, and
    // the weight is answered; 0 when none fits. Without a creature, the
    // weight.
    int WeighGroupMembers(Player* creature, bool (*fit)(const Player&));
    static constexpr size_t kMaxCandidates = 96;
    // A school's success chance and skill gain, written once for the four.
    int SchoolSuccessChance(Player* caster, Object* target);
    void GainSchoolSkill(Magic* magic, float gain);
    // What ending takes back: UndoOn for every target that still exists.
    virtual void UndoEffect();
    // What ending takes back from one target; nothing here.
    virtual void UndoOn(Player*) {}
    // The game time now (0 without a world).
    static int32_t Now();

    const SpellKind* m_pKind;

private:
    friend class ActiveSpells;
    void CountUse();

    ActiveSpells* m_pActiveList = nullptr;  // not stored
    int32_t m_bInEffect = 0;                // not stored
    int32_t m_bEnded = 0;                   // not stored
    CDDObject* m_pPicture = nullptr;

    static int s_iUseCount;
};

// Resolves a player number to its creature (null when none).
Player* ResolveSpellTarget(int32_t number);

template <class F>
void Spell::ForEachTarget(F&& f) const {
    // A copy: ending an effect may reach code that changes the list.
    const std::vector<int32_t> targets = m_Targets;
    for (int32_t number : targets)
        if (Player* p = ResolveSpellTarget(number)) f(p);
}

// The creature an object is (type PLAYER), else null.
Player* AsCreature(Object* object);
// The living creature an object is, else null.
Player* AsLivingCreature(Object* object);
// The sum of a creature's three experience pools.
double TotalExperience(const Player& creature);
// The usual reward of a spell that reached its target: the caster gains
// `toCaster`, and a target that is another creature `toTarget`, in the magic
// pool. Without a caster only the target gains.
void RewardCast(Player* caster, Player* target, double toCaster, double toTarget);
// The reward of a spell that troubles its target: the caster gains
// `casterShare` of the target's total experience and a target other than the
// caster `targetShare` of the caster's. Nothing without a caster.
void RewardByExperience(Player* caster, Player* target, double casterShare, double targetShare);
