// Missiles that fly: a missile spell cast at its target, and a shot from a
// bow, each send a missile of their own along the map toward the target.

#include <gtest/gtest.h>

#include <array>
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

using Numbers = std::array<int32_t, 6>;

TEST(MissileFlight, EachMissileSpellSendsItsOwnMissileFromTheCasterTowardTheTarget) {
    struct Row {
        const char* what;
        int (*cast)(Player*, Object*);
        Aim aim;
        int result;
        Numbers want;  // light, colour, damage kind, step period, damage range and base
    };
    using DK = DamageKind;
    constexpr int kDone = SpellResult::Done, kNothing = SpellResult::Nothing;
    // clang-format off
    const Row rows[] = {
        {"Lightning Bolt at a creature", CastAt<LightningBolt>, Aim::Creature, kDone, {20, 2, DK::Shock, 6, 7, 5}},
        {"Flame Dart at a creature", CastAt<FlameDart>, Aim::Creature, kDone, {50, 1, DK::Fire, 10, 7, 5}},
        {"Cold Ray at a creature", CastAt<ColdRay>, Aim::Creature, kDone, {10, 3, DK::Cold, 10, 7, 5}},
        {"Fireball at a creature hurts more", CastAt<Fireball>, Aim::Creature, kDone, {70, 1, DK::Fire, 10, 15, 10}},
        {"Fireball at a chest on the map", CastAt<Fireball>, Aim::Chest, kDone, {70, 1, DK::Fire, 10, 15, 10}},
        {"Lightning Bolt at a chest costs nothing", CastAt<LightningBolt>, Aim::Chest, kNothing, {}},
        {"Lightning Bolt without a caster has nowhere to start", CastAt<LightningBolt>, Aim::NoCaster, kNothing, {}},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Field f;
        const Position from = At(15, 15), to = At(17, 15);
        Player* caster = f.Creature(from);
        Object* target = r.aim == Aim::Chest ? f.Lay(new Chest, to)->m_pObject : f.Creature(to);
        f.small.world.m_iGameTime = 500;
        ASSERT_EQ(r.cast(r.aim == Aim::NoCaster ? nullptr : caster, target), r.result);
        FiredMissile* flight = f.LastFlight();
        if (r.result == kNothing) {
            EXPECT_EQ(flight, nullptr);
            continue;
        }
        ASSERT_NE(flight, nullptr);
        auto* missile = qv::DynamicCast<MagicMissile>(flight->GetMissile());
        ASSERT_NE(missile, nullptr);
        auto* light = qv::DynamicCast<LightSource>(missile->GetLightSource());
        ASSERT_NE(light, nullptr);
        EXPECT_EQ((Numbers{light->m_iStrength, missile->m_iColour, missile->m_iDamageKind,
                           flight->m_iStepPeriod, missile->m_iDamageRange, missile->m_iDamageBase}),
                  r.want);
        // It stands on the map where the caster stands, aimed at the target.
        ASSERT_NE(flight->GetHolder(), nullptr);
        EXPECT_EQ((qv::Point{flight->GetHolder()->pos.x, flight->GetHolder()->pos.y}),
                  (qv::Point{from.x, from.y}));
        EXPECT_EQ(flight->m_ptAimed, (qv::Point{to.x, to.y}));
        EXPECT_EQ(flight->m_iShooter, caster->m_iPlayerNumber);
        // It flies, two pixels a step, until it meets its target and is gone.
        for (int32_t now = 500; now <= 5000 && !f.small.world.m_FlyingObjects.empty(); now += 100)
            f.small.world.UpdateFlyingObjects(now, &f.small.map);
        EXPECT_TRUE(f.small.world.m_FlyingObjects.empty());
    }
}

// A bow's shot carries the bow's own numbers; a fight asks a weapon and
// armour through what each answers.
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
    EXPECT_EQ((std::array{missile->m_iSpeed, missile->m_iDamageRange, missile->m_iDamageBase,
                          missile->m_iStun, flight->m_iStepPeriod}),
              (std::array{bow->m_iSpeed, bow->m_iDamageRange, bow->m_iDamageBase, bow->m_iStun,
                          FiredMissile::kCombatStepPeriod}));
    EXPECT_EQ(missile->m_pShooter.Get(), archer);
    ASSERT_NE(CombatWeapon::Of(bow), nullptr);
    EXPECT_EQ(CombatWeapon::Of(bow)->IsRanged(), 1);
    Sword sword;
    Shirt shirt(1);
    ASSERT_NE(CombatWeapon::Of(&sword), nullptr);
    EXPECT_EQ(CombatWeapon::Of(&sword)->IsRanged(), 0);
    EXPECT_EQ(CombatArmour::Of(&sword), nullptr);
    EXPECT_NE(CombatArmour::Of(&shirt), nullptr);
    EXPECT_EQ(CombatWeapon::Of(&shirt), nullptr);
}

}  // namespace
