// Missiles that fly: a missile spell cast at its target, and a shot from a
// bow, each send a missile of their own along the map toward the target.

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "items/Armour.h"
#include "items/Container.h"
#include "items/Missile.h"
#include "items/MissileSpell.h"
#include "items/Spell.h"
#include "items/SpellsAir.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "items/Weapon.h"
#include "platform/Rand.h"
#include "structures/LightSource.h"
#include "support/WorldFixture.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"

namespace {

Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * 160 + dx, cy * 112 + dy, 0};
}

struct Field {
    Field() { qv::SeedRand(1); }
    ObjectHolder* Lay(Object* thing, const Position& pos) {
        auto* h = new ObjectHolder(pos, thing);
        Position at = pos;
        EXPECT_EQ(small.map.AddHolder(at, h), 1);
        return h;
    }
    Player* Creature(const Position& pos) {
        auto* p = new Player;
        p->m_Position = pos;
        Lay(p, pos);
        return p;
    }
    FiredMissile* LastFlight() const {
        if (small.world.m_FlyingObjects.empty()) return nullptr;
        return qv::DynamicCast<FiredMissile>(small.world.m_FlyingObjects.back().get());
    }
    world_test::SmallWorld small;
};

enum class Aim { Creature, Chest, NoCaster };

template <class S>
int CastAt(Player* caster, Object* target) {
    S spell;
    return spell.ApplyEffect(caster, target);
}

TEST(MissileFlight, EachMissileSpellSendsItsOwnMissileFromTheCasterTowardTheTarget) {
    struct Row {
        const char* what;
        int (*cast)(Player*, Object*);
        Aim aim;
        int result;
        int32_t light, colour, damageKind, stepPeriod, damageRange, damageBase;
    } const rows[] = {
        {"Lightning Bolt at a creature", CastAt<LightningBolt>, Aim::Creature, SpellResult::Done,
         20, 2, DamageKind::Shock, 6, 7, 5},
        {"Flame Dart at a creature", CastAt<FlameDart>, Aim::Creature, SpellResult::Done, 50, 1,
         DamageKind::Fire, 10, 7, 5},
        {"Cold Ray at a creature", CastAt<ColdRay>, Aim::Creature, SpellResult::Done, 10, 3,
         DamageKind::Cold, 10, 7, 5},
        {"Fireball at a creature hurts more", CastAt<Fireball>, Aim::Creature, SpellResult::Done,
         70, 1, DamageKind::Fire, 10, 15, 10},
        {"Fireball at a chest on the map", CastAt<Fireball>, Aim::Chest, SpellResult::Done, 70, 1,
         DamageKind::Fire, 10, 15, 10},
        {"Lightning Bolt at a chest costs nothing", CastAt<LightningBolt>, Aim::Chest,
         SpellResult::Nothing, 0, 0, 0, 0, 0, 0},
        {"Lightning Bolt without a caster has nowhere to start", CastAt<LightningBolt>,
         Aim::NoCaster, SpellResult::Nothing, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Field f;
        const Position from = At(15, 15), to = At(17, 15);
        Player* caster = f.Creature(from);
        Object* target = nullptr;
        if (r.aim == Aim::Chest)
            target = f.Lay(new Chest, to)->m_pObject;
        else
            target = f.Creature(to);
        f.small.world.m_iGameTime = 500;
        ASSERT_EQ(r.cast(r.aim == Aim::NoCaster ? nullptr : caster, target), r.result);
        FiredMissile* flight = f.LastFlight();
        if (r.result == SpellResult::Nothing) {
            EXPECT_EQ(flight, nullptr);
            continue;
        }
        ASSERT_NE(flight, nullptr);
        auto* missile = qv::DynamicCast<MagicMissile>(flight->GetMissile());
        ASSERT_NE(missile, nullptr);
        auto* light = qv::DynamicCast<LightSource>(missile->GetLightSource());
        ASSERT_NE(light, nullptr);
        const int32_t got[] = {light->m_iStrength,      missile->m_iColour,
                               missile->m_iDamageKind,  flight->m_iStepPeriod,
                               missile->m_iDamageRange, missile->m_iDamageBase};
        const int32_t want[] = {r.light,      r.colour,      r.damageKind,
                                r.stepPeriod, r.damageRange, r.damageBase};
        EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(want)));
        // It stands on the map where the caster stands, aimed at the target.
        ASSERT_NE(flight->GetHolder(), nullptr);
        EXPECT_EQ(flight->GetHolder()->pos.x, from.x);
        EXPECT_EQ(flight->GetHolder()->pos.y, from.y);
        EXPECT_EQ(flight->m_ptAimed.x, to.x);
        EXPECT_EQ(flight->m_ptAimed.y, to.y);
        EXPECT_EQ(flight->m_iShooter, caster->m_iPlayerNumber);
    }
}

TEST(MissileFlight, ALightningBoltFliesUntilItMeetsItsTargetAndIsGone) {
    Field f;
    Player* caster = f.Creature(At(15, 15));
    Player* target = f.Creature(At(16, 15));
    target->m_iHitPoints = target->m_iMaxHitPoints = 1000;
    ASSERT_EQ(CastAt<LightningBolt>(caster, target), SpellResult::Done);
    ASSERT_EQ(f.small.world.m_FlyingObjects.size(), 1u);
    // Two pixels a step, one step every 6 units: 160 pixels take 80 steps.
    for (int32_t now = 0; now <= 2000 && !f.small.world.m_FlyingObjects.empty(); now += 100)
        f.small.world.UpdateFlyingObjects(now, &f.small.map);
    EXPECT_TRUE(f.small.world.m_FlyingObjects.empty());
}

TEST(MissileFlight, ABowShootsAMissileWithItsOwnNumbers) {
    Field f;
    Player* archer = f.Creature(At(15, 15));
    Player* target = f.Creature(At(17, 15));
    auto* bow = new Bow;
    archer->EquipObject(bow);
    ASSERT_EQ(archer->m_pRangedWeapon.Get(), bow);
    ASSERT_EQ(archer->StartAttack(300, target, StrikeWeapon::Ranged), 1);
    FiredMissile* flight = f.LastFlight();
    ASSERT_NE(flight, nullptr);
    Missile* missile = flight->GetMissile();
    ASSERT_NE(missile, nullptr);
    EXPECT_EQ(qv::DynamicCast<MagicMissile>(missile), nullptr);
    const int32_t got[] = {missile->m_iSpeed, missile->m_iDamageRange, missile->m_iDamageBase,
                           missile->m_iStun, flight->m_iStepPeriod};
    const int32_t want[] = {bow->m_iSpeed, bow->m_iDamageRange, bow->m_iDamageBase, bow->m_iStun,
                            FiredMissile::kCombatStepPeriod};
    EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(want)));
    EXPECT_EQ(missile->m_pShooter.Get(), archer);
}

TEST(MissileFlight, WeaponsAndArmourAnswerWhatAFightAsks) {
    // Rows: the thing, and what the fight reads of it.
    Sword sword;
    Shirt shirt(1);
    CombatWeapon* w = CombatWeapon::Of(&sword);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetStun(), sword.m_iStun);
    EXPECT_EQ(w->GetSpeedFactor(), sword.m_iSpeed);
    EXPECT_EQ(w->GetDamageKind(), sword.m_iDamageKind);
    EXPECT_EQ(w->IsRanged(), 0);
    EXPECT_EQ(CombatArmour::Of(&sword), nullptr);
    CombatArmour* a = CombatArmour::Of(&shirt);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetAbsorption(), shirt.m_iAbsorption);
    EXPECT_EQ(a->GetArmourSpeedFactor(), shirt.m_iSpeedFactor);
    EXPECT_EQ(CombatWeapon::Of(&shirt), nullptr);
}

}  // namespace
