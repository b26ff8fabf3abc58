// Weapons: the hit chance with its truncation and clamps, the damage with the
// worked numbers, the tables of the hand weapons and thrown missiles, the info
// text, copies and the stored records.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "creatures/Player.h"
#include "creatures/TrainingRecords.h"
#include "items/Missile.h"
#include "items/Weapon.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

using namespace record_test;

// A fighter with the numbers the hit chance reads.
struct Fighter {
    int32_t shortRange = 0, longRange = 0, dexterity = 50, method = 1;
    int32_t invisible = 0, hesitation = 0, strength = 50;
    float armour = 0.0f;
};

void Dress(Player& p, const Fighter& f) {
    p.m_iLevelShortRange = f.shortRange;
    p.m_iLevelLongRange = f.longRange;
    p.m_iCombatDexterity = f.dexterity;
    p.m_iCombatSettings[6] = f.method;
    p.m_bInvisible = f.invisible;
    p.m_bHesitation = f.hesitation;
    p.m_iCurStr = f.strength;
    p.m_dArmourFactor = f.armour;
}

struct ChanceRow {
    const char* what;
    bool attacker;  // false: no attacker
    Fighter a, d;
    bool ranged;
    int flag, chance;
};

const ChanceRow kChances[] = {
    {"equal fighters: 50", true, {}, {}, false, 0, 50},
    {"three skill levels more: 80", true, {.shortRange = 3}, {}, false, 0, 80},
    {"x 4.4: 94", true, {.shortRange = 4, .dexterity = 58}, {}, false, 0, 94},
    {"x 4.5: 95, the top", true, {.shortRange = 4, .dexterity = 60}, {}, false, 0, 95},
    {"x 4.6: 96 held at 95", true, {.shortRange = 4, .dexterity = 62}, {}, false, 0, 95},
    {"x -4.35: 6", true, {.dexterity = 43}, {.shortRange = 4}, false, 0, 6},
    {"x -4.4: 6", true, {.dexterity = 42}, {.shortRange = 4}, false, 0, 6},
    {"x -4.5: 5, the bottom", true, {.dexterity = 40}, {.shortRange = 4}, false, 0, 5},
    {"x -4.6: 4 held at 5", true, {.dexterity = 38}, {.shortRange = 4}, false, 0, 5},
    {"x 0.05 truncated: 50", true, {.dexterity = 51}, {}, false, 0, 50},
    {"x 0.15 truncated: 51", true, {.dexterity = 53}, {}, false, 0, 51},
    {"attacking with method 2: 55", true, {.method = 2}, {}, false, 0, 55},
    {"attacking with method 0: 45", true, {.method = 0}, {}, false, 0, 45},
    {"a defender of method 2 is easier to hit: 55", true, {}, {.method = 2}, false, 0, 55},
    {"a defender of method 0 is harder to hit: 45", true, {}, {.method = 0}, false, 0, 45},
    {"no attacker, close: skill 2 and rating 50", false, {}, {}, false, 0, 70},
    {"no attacker, ranged: skill 2", false, {}, {.shortRange = 5}, true, 0, 70},
    {"no attacker: no method term", false, {}, {.method = 2}, false, 0, 75},
    {"ranged uses the long-range skills", true, {.shortRange = 5, .longRange = 1}, {}, true, 0, 60},
    {"close: the short-range skills", true, {.shortRange = 1, .longRange = 5}, {}, false, 0, 60},
    {"an invisible defender: -30", true, {}, {.invisible = 1}, false, 0, 20},
    {"an invisible defender seen with the flag", true, {}, {.invisible = 1}, false, 1, 50},
    {"an invisible attacker: +30", true, {.invisible = 1}, {}, false, 0, 80},
    {"both invisible", true, {.invisible = 1}, {.invisible = 1}, false, 0, 50},
    {"a hesitating defender: +20", true, {}, {.hesitation = -1}, false, 0, 70},
    {"a hesitating attacker: -20", true, {.hesitation = -1}, {}, false, 0, 30},
    {"hesitation other than -1 counts for nothing", true, {.hesitation = 1}, {}, false, 0, 50},
    {"clamped after shifts: 90 + 30", true, {.shortRange = 4, .invisible = 1}, {}, false, 0, 95},
    {"clamped after shifts: 10 - 30", true, {}, {.shortRange = 4, .invisible = 1}, false, 0, 5},
    {"huge skills from a file", true, {.shortRange = 2000000000}, {}, false, 0, 95},
};

TEST(WeaponRules, HitChance) {
    World world;
    for (const ChanceRow& row : kChances) {
        SCOPED_TRACE(row.what);
        Player attacker, defender;
        Dress(attacker, row.a);
        Dress(defender, row.d);
        Sword sword;
        Bow bow;
        Weapon& w = row.ranged ? static_cast<Weapon&>(bow) : sword;
        EXPECT_EQ(w.GetHitChance(row.attacker ? &attacker : nullptr, &defender, row.flag),
                  row.chance);
    }
}

// The damage of a weapon of `base` and `range` (ranged: a bow's kind);
// an attacker fighting with `method` (-1: none), a defender of `strength`
// (-1: none), `dMethod` and `armour`.
struct DamageRow {
    const char* what;
    int32_t base, range;
    bool ranged;
    int32_t method, strength, dMethod;
    float armour;
    int average, damage;
};

const DamageRow kDamages[] = {
    {"no creatures, average: base + range / 2", 3, 10, false, -1, -1, 1, 0, 1, 8},
    {"no creatures, the random part: 41 % 10", 3, 10, false, -1, -1, 1, 0, 0, 4},
    {"a strong defender takes more: 3 + 1 + 5", 3, 10, false, 1, 70, 1, 0, 1, 9},
    {"the attacker's method 0 halves", 3, 10, false, 0, 70, 1, 0, 1, 7},
    {"the attacker's method 2 adds half", 3, 10, false, 2, 70, 1, 0, 1, 11},
    {"both fighting with method 2: 4 x 1.5 x 1.5 + 5", 3, 10, false, 2, 70, 2, 0, 1, 14},
    {"armour 0.5 halves after: 4.5", 3, 10, false, 1, 70, 1, 0.5f, 1, 4},
    {"armour 0.25: 6.75", 3, 10, false, 1, 70, 1, 0.25f, 1, 6},
    {"armour 1: nothing", 3, 10, false, 1, 70, 1, 1.0f, 1, 0},
    {"ranged: the defender's strength does not count", 2, 7, true, 1, 90, 1, 0, 1, 5},
    {"Touch against strength 10 would heal: held at 0", 0, 0, false, 1, 10, 1, 0, 0, 0},
    {"Touch against strength 10, average: still 0", 0, 0, false, -1, 10, 1, 0, 1, 0},
    {"Touch has no random part: 0 + 0.05 x 40", 0, 0, false, -1, 90, 1, 0, 0, 2},
    {"Touch and the defender's armour: 2 x 0.5", 0, 0, false, -1, 90, 1, 0.5f, 0, 1},
};

TEST(WeaponRules, Damage) {
    World world;
    for (const DamageRow& row : kDamages) {
        SCOPED_TRACE(row.what);
        Player attacker, defender;
        Dress(attacker, {.method = row.method});
        Dress(defender, {.method = row.dMethod, .strength = row.strength, .armour = row.armour});
        std::unique_ptr<Weapon> w;
        if (row.ranged)
            w = std::make_unique<LRWeapon>(100, row.range, row.base, 20, 0);
        else
            w = std::make_unique<Weapon>(100, row.range, row.base, 1, 20);
        qv::SeedRand(1);  // the first number is 41
        EXPECT_EQ(w->GetDamage(row.method >= 0 ? &attacker : nullptr,
                               row.strength >= 0 ? &defender : nullptr, row.average),
                  row.damage);
    }
}

TEST(WeaponRules, InfoText) {
    Axe axe;
    EXPECT_EQ(axe.GetInfoText(), "Axe\nSpeed: 100\nDam: 3-13\nWeight: 15\nStun: 50");
    axe.SetName("Grimbite");
    axe.m_iBulkNum = 2;
    EXPECT_EQ(axe.GetInfoText(), "Grimbite (2)\nSpeed: 100\nDam: 3-13\nWeight: 15\nStun: 50");
}

// A weapon's numbers as a line: name, speed, range, base, parameter, stun,
// weight, value, kind, the places it is used in, and "ranged".
std::string Describe(Weapon& w) {
    std::string s = w.m_strSpecialName;
    for (int32_t n : {w.m_iSpeed, w.m_iDamageRange, w.m_iDamageBase, w.m_iParameter, w.m_iStun,
                      w.GetWeight(), w.GetValue(), w.GetWeaponKind()})
        s += " " + std::to_string(n);
    s += " [";
    for (const ItemUse& u : w.m_LocationList) s += std::to_string(u.m_iLocation);
    s += "]";
    return w.IsRanged() ? s + " ranged" : s;
}

struct TableRow {
    const char* cls;
    const char* numbers;  // as Describe gives them
};

const TableRow kHandRows[] = {
    {"Axe", "Axe 100 10 3 3 50 15 5 6 [3]"},
    {"AxeBattle", "Axe, Battle 100 5 2 3 50 20 5 7 [3]"},
    {"Dagger", "Dagger 100 5 2 3 20 8 5 8 [3]"},
    {"Flail", "Flail 100 10 3 4 40 16 30 9 [3]"},
    {"HammerForge", "Hammer, Forge 80 10 3 5 50 20 100 10 [3]"},
    {"HammerWar", "Hammer, War 80 10 3 5 60 25 100 11 [31]"},
    {"Mace", "Mace 80 10 3 5 50 20 25 12 [3]"},
    {"Pitchfork", "Pitchfork 80 10 3 5 50 15 25 13 [31]"},
    {"Scythe", "Scythe 90 10 3 5 40 1 25 14 [31]"},
    {"Spear", "Spear 90 10 3 7 50 15 20 15 [31]"},
    {"Sword", "Sword 90 10 3 5 50 30 40 16 [3]"},
    {"SwordLong", "Sword, Long 80 15 5 6 60 40 70 17 [3]"},
    {"Touch", "Touch 100 0 0 3 10 1 5 18 [3]"},
    {"Whip", "Whip 100 10 3 7 40 12 30 19 [3]"},
    {"WhipBarbed", "Whip, Barbed 100 10 4 7 50 17 70 20 [3]"},
    {"Bow", "Bow 40 7 2 -1 20 17 100 21 [42] ranged"},
    {"Longbow", "Longbow 30 10 3 -1 40 23 150 22 [42] ranged"},
    {"Missile", "Missile 100 7 2 20 20 1 1 23 [] ranged"},
    {"MagicMissile", "Missile 100 7 5 20 20 1 1 23 [] ranged"},
    {"Weapon", "Weapon 100 1 1 1 50 1 0 0 []"},
    {"LRWeapon", "LRWeapon 100 1 1 -1 50 1 0 0 [] ranged"},
    {"IntrinsicWeapon", "Weapon 100 1 1 1 50 1 0 1 []"},
};

TEST(WeaponTables, EveryClassAsTheRegistryMakesIt) {
    World world;
    for (const TableRow& row : kHandRows) {
        SCOPED_TRACE(row.cls);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(row.cls);
        ASSERT_NE(cls, nullptr);
        std::unique_ptr<qv::Persistent> made(cls->CreateObject());
        auto* w = qv::DynamicCast<Weapon>(made.get());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Describe(*w), row.numbers);
        EXPECT_EQ(w->GetKind(), w->GetWeaponKind());
        EXPECT_EQ(w->GetUseableKind(), 5);
        EXPECT_EQ(w->Type(), USEABLE);
        EXPECT_EQ(w->m_iSpare1, w->GetWeaponKind() == 23 ? 2 : 1);
    }
}

// The thrown missiles by kind: stored as plain weapons, read back as kind 0.
struct ThrownRow {
    int32_t kind;
    const char* numbers;  // as Describe gives them
};

const ThrownRow kThrownRows[] = {
    {24, "Small stone 100 2 1 1 10 1 0 24 []"}, {25, "Medium-sized stone 80 5 1 1 20 1 0 25 []"},
    {26, "Large stone 50 10 5 1 50 1 0 26 []"}, {27, "Boulder 1 30 10 10 70 1 0 27 []"},
    {28, "FairyDart 100 10 1 1 30 1 0 28 []"},  {29, "Thrown Dagger 100 5 1 -1 50 1 20 29 []"},
    {30, "Needle 100 2 1 1 20 1 0 30 []"},
};

TEST(WeaponTables, ThrownMissilesAreStoredAsPlainWeapons) {
    World world;
    for (const ThrownRow& row : kThrownRows) {
        SCOPED_TRACE(row.numbers);
        ThrownMissile m(row.kind);
        EXPECT_EQ(Describe(m), row.numbers);
        EXPECT_EQ(std::string(m.GetRuntimeClass()->name), "Weapon");
        std::unique_ptr<Object> copy(m.Clone());
        EXPECT_EQ(Describe(*static_cast<Weapon*>(copy.get())), row.numbers)
            << "a copy keeps its kind";
        auto back = LoadObject<Weapon>(StoreObject(m));
        EXPECT_EQ(back->GetWeaponKind(), 0);
        EXPECT_EQ(StoreObject(*back), StoreObject(m));
    }
}

TEST(WeaponRecords, AnAxeAsStored) {
    Axe axe;
    axe.m_iValue = 9;
    axe.SetName("Grimbite");
    Bytes expected;
    PutNewClass(expected, "Axe", 1);
    PutNewClass(expected, "Weapon", 2);
    PutNewClass(expected, "Useable", 1);
    PutNewClass(expected, "Object", 11);
    PutInts(expected, {0, 0, 15, 9});  // frame, weight, value
    PutString(expected, "Axe");
    PutString(expected, "Grimbite");
    PutInts(expected, {-1, 1, 1, 1, 0, 1, -1, -1});  // key, weapon mark, state, ...
    PutInts(expected, {100, 3, 10, 3, 50});          // speed, parameter, range, base, stun
    EXPECT_EQ(StoreObject(axe), expected);

    auto back = LoadObject<Axe>(expected);
    EXPECT_EQ(StoreObject(*back), expected);
    ASSERT_EQ(back->m_LocationList.size(), 1u);  // not stored: the class gives it
}

TEST(WeaponRecords, CopiesKeepWhatIsNotStored) {
    World world;
    Weapon w(70, 4, 6, 2, 33, "Rusty Pike");
    w.m_iDamageKind = 2;
    std::unique_ptr<Object> c(w.Clone());
    EXPECT_EQ(static_cast<Weapon*>(c.get())->m_iDamageKind, 2);
    EXPECT_EQ(c->m_iSpare2, -1) << "a copy has no place in a bag";
    IntrinsicWeapon teeth(1, 150, 7, 3, 1, 20, "Teeth");
    std::unique_ptr<Object> t(teeth.Clone());
    EXPECT_EQ(static_cast<Weapon*>(t.get())->GetWeaponKind(), 1);
}

// ---- The attack evaluation: which opponent, and what is remembered of it

class Evaluation : public ::testing::Test {
protected:
    Evaluation() { small.world.CreateRootGroups(); }
    Player* Place(int dx, int dy, int hitPoints, int group = 0) {
        auto* p = new Player;
        small.world.m_pAllGroups->AddMember(p);
        p->m_iMaxHitPoints = 40;
        p->m_iHitPoints = hitPoints;
        p->m_iCombatSettings[0] = group;
        const Position pos(kX + dx, kY + dy, 0);
        p->m_Position = pos;
        Position at = pos;
        EXPECT_EQ(small.map.AddHolder(at, new ObjectHolder(pos, p)), 1);
        return p;
    }
    static constexpr int32_t kX = 20 * 160;
    static constexpr int32_t kY = 20 * 112;
    world_test::SmallWorld small;
};

struct ChoiceRow {
    const char* what;
    int32_t rule;                // the creature's second combat setting
    int32_t filter;              // the first setting an opponent must have (2: any)
    int chosen;                  // index of the opponent chosen, -1 none
    int clearLine;               // the mark afterwards
    const char* order = "0123";  // the opponents' list
};

// Opponents: 0 at 100 px with 30 hit points (setting 0), 1 at 308 px with 10
// (setting 1, off the line to the others), 2 at 600 px with 20 (setting 0),
// 3 dead at 50 px; 4 at 100 px the other way with 10 (setting 0).
const ChoiceRow kChoices[] = {
    {"the fewest hit points", 0, 2, 1, 0},
    {"the most hit points", 1, 2, 0, 0},
    {"the nearest", 2, 2, 0, 0},
    {"the nearest of setting 1", 2, 1, 1, 1},
    {"the fewest of setting 0", 0, 0, 2, 0},
    {"rule 4 chooses none", 4, 2, -1, 1},
    {"equal hit points: the first met", 0, 2, 1, 1, "14"},
    {"equal hit points the other way round", 0, 2, 4, 1, "41"},
    {"equally near: the first met", 2, 2, 0, 1, "04"},
    {"equally near the other way round; the corpse is on the line to 0", 2, 2, 4, 0, "40"},
};

TEST_F(Evaluation, WhichOpponentAWeaponChooses) {
    Player* me = Place(0, 0, 40);
    Player* them[5] = {Place(100, 0, 30, 0), Place(300, 100, 10, 1), Place(600, 0, 20, 0),
                       Place(50, 0, 5, 1), Place(-100, 0, 10, 0)};
    them[3]->m_sLifeState = 0;
    for (const ChoiceRow& row : kChoices) {
        SCOPED_TRACE(row.what);
        me->m_Opponents.clear();
        for (const char* c = row.order; *c; ++c) me->m_Opponents.emplace_back(them[*c - '0']);
        me->m_iCombatSettings[1] = row.rule;
        int mark = 1;
        Player* chosen = Weapon::EvaluateUse(me, row.filter, nullptr, &mark);
        EXPECT_EQ(chosen, row.chosen < 0 ? nullptr : them[row.chosen]);
        // The mark tells of the last looked at: 600 px away is beyond the
        // walk; 308 px with nothing between is clear.
        EXPECT_EQ(mark, row.clearLine);
    }
    // Another rule is reported.
    me->m_iCombatSettings[1] = 3;
    qv::ScriptedMessages script({qv::MessageAnswer::Retry});
    int mark = 1;
    EXPECT_EQ(Weapon::EvaluateUse(me, 2, nullptr, &mark), nullptr);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].ends_with(":WeaponUse)\nFALSE")) << script.shown[0];
}

TEST_F(Evaluation, SomethingOnTheLineLeavesTheMarkAtZero) {
    Player* me = Place(0, 0, 40);
    Player* foe = Place(200, 0, 30);
    Place(100, 0, 30);  // someone standing between
    me->m_Opponents.emplace_back(foe);
    me->m_iCombatSettings[1] = 2;
    int mark = 1;
    EXPECT_EQ(Weapon::EvaluateUse(me, 2, nullptr, &mark), foe);
    EXPECT_EQ(mark, 0);
}

TEST_F(Evaluation, ARememberedTargetServesItsTurns) {
    Player* me = Place(0, 0, 40);
    Player* foe = Place(100, 0, 30);
    me->m_Opponents.emplace_back(foe);
    Dress(*me, {});
    Dress(*foe, {.shortRange = 2});
    me->m_iCombatSettings = {2, 2, 1, 1, 0, 2, 1};
    Sword sword;
    qv::SeedRand(1);  // the first record's limit: 5 + 41 % 10 = 6
    Networks().attackRecords.RemoveAll();
    EXPECT_EQ(sword.IsUsableBy(me), 1);
    // Its attack record: chance 30 at two levels less, the average damage 3 + 5
    // of the foe's 40 hit points.
    auto* r = qv::DynamicCast<SinglePlayerAttackInfo>(Networks().attackRecords.Get(0));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::tuple(r->m_f1, r->m_f4, r->m_f9, r->m_f10, r->m_f16, r->m_f17, r->m_f18,
                         r->m_f6.Get()),
              std::tuple(2.0f, 75, 30, 20, 100, 100, 1, foe));
    ASSERT_EQ(me->m_TargetMemory.size(), 1u);
    EXPECT_EQ(me->m_TargetMemory[0].distance, 100);
    EXPECT_EQ(me->m_TargetMemory[0].limit, 6);
    EXPECT_EQ(me->m_TargetMemory[0].clearLine, 1);
    for (int use = 1; use <= 6; ++use) sword.IsUsableBy(me);
    EXPECT_EQ(me->m_TargetMemory[0].uses, 6);
    sword.IsUsableBy(me);  // the seventh use is past its limit: measured anew
    ASSERT_EQ(me->m_TargetMemory.size(), 1u);
    EXPECT_EQ(me->m_TargetMemory[0].uses, 0);
    // A creature that fights only with its bow does not weigh a sword up.
    Player* archer = Place(0, 40, 40);
    archer->m_Opponents.emplace_back(foe);
    archer->m_iCombatSettings[0] = 0;
    EXPECT_EQ(sword.IsUsableBy(archer), 1);
    EXPECT_TRUE(archer->m_TargetMemory.empty());
    EXPECT_EQ(Networks().attackRecords.GetCount(), 8u) << "none for the archer";
}

}  // namespace
