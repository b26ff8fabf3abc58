#include "items/SpellsAir.h"

#include "creatures/Player.h"
#include "platform/Archive.h"

namespace {

using TK = SpellTargetKind;
using EK = SpellEffectKind;

// name, mana, level, duration, flags, target kind, effect kind, missile value, picture
constexpr SpellKind kShock{"Shock", 10, 10, 1, 1, TK::PartyMember, EK::Shock, 0, 1015};
constexpr SpellKind kWindChange{"WindChange", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kTelekinesis{"Telekinesis", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kShelter{"Shelter", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kDispel{"Dispel", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kBlink{"Blink", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kSummonAnimals{"SummonAnimals", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kLightningBolt{"LightningBolt",     5,        5, 0,   1,
                                   TK::HostileOutsider, EK::None, 8, 1010};
constexpr SpellKind kInvisibility{"Invisibility",  20,        20, 20000, 1,
                                  TK::PartyMember, EK::Sight, 0,  1008};
constexpr SpellKind kLevitate{"Levitate", 15, 15, 1, 1, TK::PartyMember, EK::Levitate, 0, 1016};
constexpr SpellKind kForceBarrier{"ForceBarrier", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kWeatherChange{"WeatherChange", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kTeleport{"Teleport", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kForceBlast{"ForceBlast", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};

}  // namespace

QV_IMPLEMENT_SERIAL(Shock, AirSpell, 1, false)
QV_IMPLEMENT_SERIAL(Levitate, AirSpell, 1, false)
QV_IMPLEMENT_SERIAL(Invisibility, AirSpell, 1, false)
QV_IMPLEMENT_SERIAL(LightningBolt, AirSpell, 1, false)
QV_SERIALIZE_BASE_ONLY(Shock, AirSpell)
QV_SERIALIZE_BASE_ONLY(Levitate, AirSpell)
QV_SERIALIZE_BASE_ONLY(Invisibility, AirSpell)
QV_SERIALIZE_BASE_ONLY(LightningBolt, AirSpell)

QV_IMPLEMENT_SPELL_KIND(WindChange, AirSpell, kWindChange)
QV_IMPLEMENT_SPELL_KIND(Telekinesis, AirSpell, kTelekinesis)
QV_IMPLEMENT_SPELL_KIND(Shelter, AirSpell, kShelter)
QV_IMPLEMENT_SPELL_KIND(Dispel, AirSpell, kDispel)
QV_IMPLEMENT_SPELL_KIND(Blink, AirSpell, kBlink)
QV_IMPLEMENT_SPELL_KIND(SummonAnimals, AirSpell, kSummonAnimals)
QV_IMPLEMENT_SPELL_KIND(ForceBarrier, AirSpell, kForceBarrier)
QV_IMPLEMENT_SPELL_KIND(WeatherChange, AirSpell, kWeatherChange)
QV_IMPLEMENT_SPELL_KIND(Teleport, AirSpell, kTeleport)
QV_IMPLEMENT_SPELL_KIND(ForceBlast, AirSpell, kForceBlast)

// A creature is never shocked and levitating at once: each spell ends the
// other, and a second of one kind replaces the first.
Shock::Shock() : FlagSpell(kShock, &Player::m_bShockStrike) {}

void Shock::MakeRoom(Player*, Player& target) {
    if (!target.m_bLevitating && !target.m_bShockStrike) return;
    target.CancelSpellsOn(EK::Levitate);
    target.CancelSpellsOn(EK::Shock);
}

Levitate::Levitate() : FlagSpell(kLevitate, &Player::m_bLevitating) {}

void Levitate::MakeRoom(Player*, Player& target) {
    if (!target.m_bLevitating && !target.m_bShockStrike) return;
    target.CancelSpellsOn(EK::Shock);
    target.CancelSpellsOn(EK::Levitate);
}

Invisibility::Invisibility() : FlagSpell(kInvisibility, &Player::m_bInvisible) {}

int Invisibility::CheckExpired(int32_t now) {
    if (m_iCaster == -1) return Spell::CheckExpired(now);
    return DrainCaster(now, m_iDrainInterval);
}

LightningBolt::LightningBolt() : MissileSpell(kLightningBolt, missile_rules::kLightningBolt) {}
