#include "items/SpellsFire.h"

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "creatures/Species.h"
#include "items/ActiveSpells.h"
#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/Rand.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

using TK = SpellTargetKind;
using EK = SpellEffectKind;

// name, mana, level, duration, flags, target kind, effect kind, missile value, picture
constexpr SpellKind kLight{"Light", 5, 5, 1, 1, TK::PartyMember, EK::None, 0, 1007};
constexpr SpellKind kDazzle{"Dazzle", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kFlameDart{"Flame Dart", 5, 5, 0, 1, TK::HostileOutsider, EK::None, 8, 907};
constexpr SpellKind kFlameWeapon{"Flame Weapon", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kProtectFromFire{"Protect from Fire", 10, 10,  1, 1, TK::PartyMember,
                                     EK::ProtectFromFire, 0,  1008};
constexpr SpellKind kSunlight{"Sunlight", 20, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kAurasight{"Aurasight", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kIncinerate{"Incinerate", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kFireAura{"FireAura", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kFireball{"Fireball", 10, 10, 0, 1, TK::HostileOutsider, EK::None, 16, 908};
constexpr SpellKind kMajorDazzle{"Major Dazzle", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kImmolation{"Immolation", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kInvokeDaemon{"Invoke Daemon", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};

}  // namespace

// The record of a self-recorded kind: its own class where the school's would
// stand, then the school's part.
#define QV_SERIALIZE_SELF_RECORDED(Name)          \
    void Name::Serialize(qv::Archive& ar) {       \
        if (ar.IsLoading()) ar.GetObjectSchema(); \
        ar.SerializeClass(&Name::classInfo);      \
        FireSpell::Serialize(ar);                 \
    }

#define QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(Name, Kind) \
    QV_IMPLEMENT_SERIAL(Name, FireSpell, 1, false)        \
    Name::Name() : FireSpell(Kind) {}                     \
    QV_SERIALIZE_SELF_RECORDED(Name)

QV_IMPLEMENT_SERIAL(Light, FireSpell, 1, false)
QV_IMPLEMENT_SERIAL(ProtectFromFire, FireSpell, 1, false)
QV_IMPLEMENT_SERIAL(Sunlight, FireSpell, 1, false)
QV_IMPLEMENT_SERIAL(FlameDart, FireSpell, 1, false)
QV_IMPLEMENT_SERIAL(Fireball, FireSpell, 1, false)
QV_SERIALIZE_BASE_ONLY(Light, FireSpell)
QV_SERIALIZE_SELF_RECORDED(ProtectFromFire)
QV_SERIALIZE_SELF_RECORDED(Sunlight)
QV_SERIALIZE_BASE_ONLY(FlameDart, FireSpell)
QV_SERIALIZE_BASE_ONLY(Fireball, FireSpell)

QV_IMPLEMENT_SPELL_KIND(Dazzle, FireSpell, kDazzle)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(FlameWeapon, kFlameWeapon)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(Aurasight, kAurasight)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(Incinerate, kIncinerate)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(FireAura, kFireAura)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(MajorDazzle, kMajorDazzle)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(Immolation, kImmolation)
QV_IMPLEMENT_SELF_RECORDED_SPELL_KIND(InvokeDaemon, kInvokeDaemon)

// ---- Light

Light::Light() : FireSpell(kLight) {}

Light::~Light() {
    EndEffect();
}

int Light::ApplyEffect(Player* caster, Object* target) {
    // On anything but a creature the mana is spent and nothing happens.
    Player* p = AsCreature(target);
    if (!p) return SpellResult::Done;
    auto light = std::make_unique<MageLight>(m_iSerial);
    const int fit = p->CheckCanUse(light.get(), 0).code;
    // A light the creature refuses to ready burns out at once.
    if (fit <= 1 && p->EquipObject(light.release()))
        p->m_iLight = 1;
    else
        ShowGameMessage("Eh?");
    RewardCast(caster, nullptr, kCasterReward, 0.0);
    return ApplyBaseEffect(caster, target, p);
}

void Light::UndoOn(Player* target) {
    Object* light = target->GetLightSource();
    if (light && qv::DynamicCast<MageLight>(light)) target->UnequipObject(light, 1);
}

// ---- Protect from Fire

ProtectFromFire::ProtectFromFire() : FlagSpell(kProtectFromFire, &Player::m_bFireProtection) {}

int ProtectFromFire::GetCastWeight(Player* creature) {
    return WeighGroupMembers(creature, [](const Player& p) { return p.m_bFireProtection == 0; });
}

void ProtectFromFire::MakeRoom(Player*, Player& target) {
    if (target.m_bFireProtection) target.CancelSpellsOn(EK::ProtectFromFire);
}

// ---- Sunlight

Sunlight::Sunlight() : FireSpell(kSunlight) {}

namespace {

// Every creature of the group tree, depth first through nested groups.
void GatherCreatures(Group& group, std::vector<qv::Handle<Player>>& out) {
    for (Member* m : group.Members()) {
        if (m->IsGroup()) {
            if (auto* nested = qv::DynamicCast<Group>(m)) GatherCreatures(*nested, out);
        } else if (auto* p = qv::DynamicCast<Player>(m)) {
            out.emplace_back(p);
        }
    }
}

bool IsUndead(const Player& p) {
    const auto* species = dynamic_cast<const Species*>(&p);
    return species && species->Row().behaviour == SpeciesBehaviour::Undead;
}

}  // namespace

int Sunlight::ApplyEffect(Player* caster, Object* target) {
    World* world = GetWorld();
    std::vector<qv::Handle<Player>> victims;
    if (caster && world && world->m_pAllGroups) {
        GatherCreatures(*world->m_pAllGroups, victims);
        std::erase_if(victims, [caster](const qv::Handle<Player>& h) {
            return h.Get() == caster || !caster->SeesWithinView(*h);
        });
    }
    const qv::Handle<Player> self(caster);
    for (const auto& h : victims) {
        Player* victim = h.Get();
        if (!victim || !IsUndead(*victim)) continue;
        victim->TakeDamage(kDamageBase + qv::Rand() % kDamageRange, kDamageKind);
        if (!h) continue;
        if (victim->m_sLifeState <= 0) victim->m_sLifeState = kDestroyed;
        if (self) RewardByExperience(caster, victim, kCasterShare, kVictimShare);
    }
    return ApplyBaseEffect(self.Get(), target, target);
}

// ---- Flame Dart, Fireball

FlameDart::FlameDart() : MissileSpell(kFlameDart, missile_rules::kFlameDart) {}
Fireball::Fireball() : MissileSpell(kFireball, missile_rules::kFireball) {}

int Fireball::IsValidTarget(Object* target) {
    return Spell::IsValidTarget(target) || qv::DynamicCast<StatueBow>(target) ? 1 : 0;
}
