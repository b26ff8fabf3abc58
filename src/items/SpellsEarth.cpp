#include "items/SpellsEarth.h"

#include <algorithm>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "platform/Archive.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"

namespace {

using TK = SpellTargetKind;
using EK = SpellEffectKind;

// name, mana, level, duration, flags, target kind, effect kind, missile value, picture
constexpr SpellKind kHeal{"Heal", 5, 5, 0, 5, TK::AnyLiving, EK::None, 0, 905};
constexpr SpellKind kWeaken{"Weaken", 5, 10, 20000, 2, TK::HostileOutsider, EK::Weaken, 0, 1014};
constexpr SpellKind kMaterialize{"Materialize", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kToughskin{"Toughskin", 5, 10, 20000, 5, TK::AnyLiving, EK::None, 0, 909};
constexpr SpellKind kCurePoison{"Cure Poison", 5, 10, 0, 1, TK::AnyLiving, EK::None, 0, 1012};
constexpr SpellKind kHaste{"Haste", 5, 10, 20000, 5, TK::AnyLiving, EK::None, 0, 906};
constexpr SpellKind kGrounding{"Grounding", 10, 10, 1, 1, TK::PartyMember, EK::Grounding, 0, 1011};
constexpr SpellKind kSlow{"Slow", 5, 10, 20000, 3, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kStrength{"Strength", 5, 5, 20000, 5, TK::PartyMember, EK::Sight, 0, 1013};
constexpr SpellKind kStoneskin{"Stoneskin", 5, 0, 0, 5, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kEtherealize{"Etherealize", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kMajorHeal{"Major Heal", 20, 0, 0, 5, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kRevive{"Revive", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kDepetrification{"Depetrification", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kPetrification{"Petrification", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kEarthquake{"Earthquake", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};

// The rewards of most spells that reach their target.
constexpr double kCasterReward = 10.0;
constexpr double kTargetReward = 1.0;
// The shares of the other's experience a hampering spell teaches.
constexpr double kHamperCasterShare = 0.01;
constexpr double kHamperTargetShare = 0.001;

// A spell cast on nothing works on its caster.
Object* OwnTarget(Player* caster, Object* target) {
    return target ? target : caster;
}

// Hit points up by `amount`, never past the maximum (and never down).
void RaiseHitPoints(Player& p, int amount) {
    const int64_t raised = std::min<int64_t>(int64_t{p.m_iHitPoints} + amount, p.m_iMaxHitPoints);
    if (raised > p.m_iHitPoints) p.m_iHitPoints = static_cast<int32_t>(raised);
}

}  // namespace

QV_IMPLEMENT_SERIAL(Heal, EarthSpell, 1, false)
QV_IMPLEMENT_SERIAL(MajorHeal, EarthSpell, 1, false)
QV_IMPLEMENT_SERIAL(CurePoison, EarthSpell, 1, false)
QV_IMPLEMENT_SERIAL(Toughskin, EarthSpell, 2, true)
QV_IMPLEMENT_SERIAL(Haste, EarthSpell, 2, true)
QV_IMPLEMENT_SERIAL(Slow, EarthSpell, 2, true)
QV_IMPLEMENT_SERIAL(Weaken, EarthSpell, 1, true)
QV_IMPLEMENT_SERIAL(Strength, EarthSpell, 2, true)
QV_IMPLEMENT_SERIAL(Grounding, EarthSpell, 1, false)

QV_IMPLEMENT_SPELL_KIND(Materialize, EarthSpell, kMaterialize)
QV_IMPLEMENT_SPELL_KIND(Stoneskin, EarthSpell, kStoneskin)
QV_IMPLEMENT_SPELL_KIND(Etherealize, EarthSpell, kEtherealize)
QV_IMPLEMENT_SPELL_KIND(Revive, EarthSpell, kRevive)
QV_IMPLEMENT_SPELL_KIND(Depetrification, EarthSpell, kDepetrification)
QV_IMPLEMENT_SPELL_KIND(Petrification, EarthSpell, kPetrification)
QV_IMPLEMENT_SPELL_KIND(Earthquake, EarthSpell, kEarthquake)

// ---- Heal, Major Heal

Heal::Heal() : Heal(kHeal, kHealBase, kHealSpread) {}

Heal::Heal(const SpellKind& kind, int base, int spread)
    : EarthSpell(kind), m_iHealBase(base), m_iHealSpread(spread) {}

QV_SERIALIZE_BASE_ONLY(Heal, EarthSpell)

int Heal::GetCastWeight(Player* creature) {
    return WeighGroupMembers(creature, [](const Player& p) {
        return int64_t{p.m_iMaxHitPoints} - p.m_iHitPoints > kWorthHealing;
    });
}

int Heal::ApplyEffect(Player* caster, Object* target) {
    if (Player* p = AsLivingCreature(OwnTarget(caster, target))) {
        RaiseHitPoints(*p, m_iHealBase + qv::Rand() % m_iHealSpread);
        RewardCast(caster, p, kCasterReward, kTargetReward);
    }
    return SpellResult::Done;
}

MajorHeal::MajorHeal() : Heal(kMajorHeal, kHealBase, kHealSpread) {}

QV_SERIALIZE_BASE_ONLY(MajorHeal, EarthSpell)

// ---- Cure Poison

CurePoison::CurePoison() : EarthSpell(kCurePoison) {}

QV_SERIALIZE_BASE_ONLY(CurePoison, EarthSpell)

int CurePoison::ApplyEffect(Player* caster, Object* target) {
    Player* p = AsCreature(target);
    if (!p || p->m_iPoison == 0) return SpellResult::Done;
    int32_t cure = kCureWithoutCaster;
    if (caster) {
        const int skill =
            caster->m_pMagic
                ? spell_rules::WholeSkill(caster->m_pMagic->GetSchoolSkill(SpellSchool::Earth))
                : 0;
        cure = skill >= 1 ? qv::Rand() % skill : 0;
    }
    p->m_iPoison = static_cast<int32_t>(std::max<int64_t>(0, int64_t{p->m_iPoison} - cure));
    RewardCast(caster, p, kCasterReward, kTargetReward);
    return SpellResult::Done;
}

// ---- Toughskin, Haste, Slow

EarthFigureSpell::EarthFigureSpell(const SpellKind& kind, int32_t Player::*figure, int sign,
                                   uint32_t amountSchema)
    : EarthSpell(kind), m_pFigure(figure), m_iSign(sign), m_uAmountSchema(amountSchema) {}

EarthFigureSpell::~EarthFigureSpell() {
    EndEffect();
}

void EarthFigureSpell::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&EarthSpell::classInfo);
    EarthSpell::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteInt(m_iAmount);
    else if (schema >= m_uAmountSchema)
        m_iAmount = ar.ReadInt();
}

namespace {
// A figure moved by a spell's amount, held to the integer range.
void MoveFigure(int32_t& figure, int64_t by) {
    figure = qv::ClampToInt32(figure + by);
}
}  // namespace

int EarthFigureSpell::ApplyEffect(Player* caster, Object* target) {
    Object* t = OwnTarget(caster, target);
    Player* p = AsLivingCreature(t);
    if (p) {
        MoveFigure(p->*m_pFigure, int64_t{m_iSign} * m_iAmount);
        p->RecomputeLoad();
        Reward(caster, p);
    }
    return ApplyBaseEffect(caster, t, p);
}

void EarthFigureSpell::UndoOn(Player* target) {
    const int32_t before = target->*m_pFigure;
    MoveFigure(target->*m_pFigure, -int64_t{m_iSign} * m_iAmount);
    // A creature's record does not keep its armour bonus, which only these
    // spells give: one read back from a saved game has lost it, and what it
    // no longer has is not taken from it.
    if (m_pFigure == &Player::m_iArmourBonus && target->*m_pFigure < 0)
        target->*m_pFigure = std::min<int32_t>(before, 0);
    target->RecomputeLoad();
}

void EarthFigureSpell::Reward(Player* caster, Player* target) {
    RewardCast(caster, target, kCasterReward, kTargetReward);
}

Toughskin::Toughskin() : EarthFigureSpell(kToughskin, &Player::m_iArmourBonus, +1, 2) {}
Haste::Haste() : EarthFigureSpell(kHaste, &Player::m_iSpeedState, +1, 2) {}
Slow::Slow() : EarthFigureSpell(kSlow, &Player::m_iSpeedState, -1, 2) {}

void Slow::Reward(Player* caster, Player* target) {
    RewardByExperience(caster, target, kHamperCasterShare, kHamperTargetShare);
}

// ---- Weaken, Strength

StrengthSpell::StrengthSpell(const SpellKind& kind, int sign) : EarthSpell(kind), m_iSign(sign) {}

StrengthSpell::~StrengthSpell() {
    EndEffect();
}

void StrengthSpell::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&EarthSpell::classInfo);
    EarthSpell::Serialize(ar);
    ar.Exchange(m_iAmount);
}

int StrengthSpell::ApplyEffect(Player* caster, Object* target) {
    Object* t = OwnTarget(caster, target);
    // Cast by a creature, it lasts until it is cancelled.
    if (caster) m_iDuration = -1;
    Player* p = AsCreature(t);
    if (p) {
        // The opposite spell is lifted, and that is all this cast does; a
        // spell of the same kind is replaced.
        const int same = m_iSign < 0 ? EK::Weaken : EK::Sight;
        const int opposite = m_iSign < 0 ? EK::Sight : EK::Weaken;
        if (p->m_iStrengthBonus != 0) {
            p->CancelSpellsOn(same);
            if (p->CancelSpellsOn(opposite)) return SpellResult::Done;
        }
        int64_t room = m_iSign < 0 ? int64_t{p->m_iCurStr} - kMinStrength
                                   : int64_t{kMaxStrength} - p->m_iCurStr;
        m_iAmount =
            static_cast<int32_t>(std::clamp<int64_t>(m_iAmount, 0, std::max<int64_t>(room, 0)));
        p->m_iCurStr = static_cast<int32_t>(p->m_iCurStr + int64_t{m_iSign} * m_iAmount);
        p->m_iStrengthBonus = m_iSign;
        if (m_iSign < 0)
            RewardByExperience(caster, p, kHamperCasterShare, kHamperTargetShare);
        else
            RewardCast(caster, p, kCasterReward, kTargetReward);
        p->RecomputeLoad();
    }
    return ApplyBaseEffect(caster, t, p);
}

int StrengthSpell::CheckExpired(int32_t now) {
    if (m_iDuration > 0) return Spell::CheckExpired(now);
    return DrainCaster(now, m_iDrainInterval);
}

void StrengthSpell::UndoOn(Player* target) {
    target->m_iCurStr = qv::ClampToInt32(target->m_iCurStr - int64_t{m_iSign} * m_iAmount);
    target->m_iStrengthBonus = 0;
    target->RecomputeLoad();
}

Weaken::Weaken() : StrengthSpell(kWeaken, -1) {}
Strength::Strength() : StrengthSpell(kStrength, +1) {}

// ---- Grounding

Grounding::Grounding() : FlagSpell(kGrounding, &Player::m_bGrounded) {}

QV_SERIALIZE_BASE_ONLY(Grounding, EarthSpell)

void Grounding::MakeRoom(Player* caster, Player& target) {
    if (!target.m_bGrounded) return;
    target.CancelSpellsOn(EK::Grounding);
    RewardCast(caster, &target, kCasterReward, kTargetReward);
}
