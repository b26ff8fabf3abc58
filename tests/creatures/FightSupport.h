#pragma once
// What the fight tests share: weapons and armour of fixed figures, and a map
// on which creatures are placed to fight, their sounds heard.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "items/Useable.h"
#include "platform/Rand.h"
#include "world/MapFixture.h"
#include "world/World.h"

namespace fight_test {

// A weapon whose chance, damage and stun are what the test says. A ranged
// one shoots by handing the shot to `onLaunch`.
class TestWeapon : public Useable, public CombatWeapon {
public:
    TestWeapon(int chance, int damage, int stun = 0, int kind = 6, bool ranged = false)
        : chance(chance), damage(damage), stun(stun), kind(kind), ranged(ranged) {}
    int GetWeaponKind() override { return kind; }
    int IsRanged() override { return ranged ? 1 : 0; }
    int GetHitChance(Player*, Player*, int debugView) override {
        askedDebugView = debugView;
        return chance;
    }
    int GetDamage(Player*, Player*, int) override { return damage; }
    int32_t GetStun() override { return stun; }
    int32_t GetDamageKind() override { return damageKind; }
    int32_t GetSpeedFactor() override { return speed; }
    int Launch(Player* shooter, Player* target, int32_t now) override {
        ++launches;
        return onLaunch ? onLaunch(shooter, target, now) : 1;
    }

    int chance, damage, stun, kind;
    bool ranged;
    int32_t damageKind = 0;
    int32_t speed = 100;
    int launches = 0;
    int askedDebugView = -1;  // what the last chance asked was told of the debug view
    std::function<int(Player*, Player*, int32_t)> onLaunch;
};

class TestArmour : public Useable, public CombatArmour {
public:
    TestArmour(int32_t speed, int32_t absorption, int kind = 2)
        : speed(speed), absorption(absorption), kind(kind) {}
    int32_t GetArmourSpeedFactor() override { return speed; }
    int32_t GetAbsorption() override { return absorption; }
    int GetArmourKind() override { return kind; }
    int32_t speed, absorption;
    int kind;
};

// A map with creatures placed on it; every sound played is heard.
class FightFixture : public maptest::MapFixture {
protected:
    FightFixture() {
        qv::SeedRand(1);
        world.m_PlaySound = [this](int number, qv::Point) { sounds.push_back(number); };
    }
    Player* Place(Position at, int32_t hitPoints = 20) {
        auto* p = Make<Player>();
        Put(p, at);
        p->m_iMaxHitPoints = p->m_iHitPoints = hitPoints;
        return p;
    }
    void Put(Player* p, Position at) {
        p->m_Position = at;
        ObjectHolder* h = Hold(p, at);
        EXPECT_EQ(map.AddHolder(at, h), 1);
        p->m_Position = h->pos;
    }
    // Hands the creature a weapon in use as its melee (or ranged) weapon.
    TestWeapon* Arm(Player* p, std::unique_ptr<TestWeapon> weapon) {
        TestWeapon* w = weapon.get();
        if (w->ranged)
            p->m_pRangedWeapon = w;
        else
            p->m_pMeleeWeapon = w;
        p->m_InUseList.push_back(std::move(weapon));
        return w;
    }
    static void Pair(Player* a, Player* b) {
        a->GatherOpponents(b);
        a->m_iHostileMode = b->m_iHostileMode = 1;
    }
    // Takes the last `n` creatures placed off the map, for the next row.
    void Unplace(int n) {
        for (int k = 0; k < n && k < static_cast<int>(owned.size()); ++k) {
            ObjectHolder* h = owned[owned.size() - 1 - static_cast<size_t>(k)].get();
            map.RemoveHolder(h->pos, h);
        }
    }
    // The events of a queue of one type naming `about`.
    static int CountFor(Player* p, int32_t type, const Object* about) {
        int n = 0;
        for (int i = 0; i < p->Events().Count(); ++i) {
            const ObjectEvent& e = p->Events().At(i);
            n += e.m_iType == type && e.m_pObject.Get() == about;
        }
        return n;
    }

    std::vector<int> sounds;
};

}  // namespace fight_test
