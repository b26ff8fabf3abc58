// The species: their figures as the species table of the game's design gives
// them, their stored class names, their records, and their own rules (the
// hounds and their elements, molds that split, the undead that rise, the
// golem that slows).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/Human.h"
#include "creatures/PlayerImages.h"
#include "creatures/Species.h"
#include "items/Magic.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/ObjectHolder.h"

namespace {

using record_test::Bytes;

std::unique_ptr<Species> MakeOf(const std::string& name) {
    std::unique_ptr<Player> p = Species::Make(name);
    return std::unique_ptr<Species>(static_cast<Species*>(p.release()));
}

std::string WeaponText(const NaturalWeaponRow& w) {
    if (!w.name) return "-";
    return std::string(w.name) + " " + std::to_string(w.kind) + " " + std::to_string(w.speed) +
           " " + std::to_string(w.damageRange) + " " + std::to_string(w.damageBase) + " " +
           std::to_string(w.parameter) + " " + std::to_string(w.stun);
}

struct FigureRow {
    const char* cls;
    int32_t number;
    const char* name;
    const char* weapon;
    int32_t speed, hpPerLevel, str, dex, intel;
    std::vector<int32_t> traits;  // as listed; the creature keeps them head first
    std::vector<int32_t> slots;
    int32_t smallInt, radius;
};

const std::vector<int32_t> kBiped{3, 5, 6, 8, 9, 4, 7, 7};
const std::vector<int32_t> kHands{3, 1, 4, 2};
const std::vector<int32_t> kHound{11, 12, 4};

// One row per species, copied from the design's species table (an empty
// cell there is the creature's default: speed 100, 10 hit points a level,
// 50 in each ability, radius 3).
// clang-format off
const std::vector<FigureRow> kFigures = {
    {"Dog", 1, "Dog", "Teeth 1 90 10 3 1 50", 150, 9, 50, 70, 40, kHound, {5}, 1, 3},
    {"FloatingEye", 2, "Floating Eye", "RedEye 1 150 1 1 3 50", 100, 12, 50, 50, 50, {}, {}, 0, 3},
    {"Gel", 3, "Gel", "Cells 1 150 3 1 3 20", 100, 5, 50, 50, 50, {}, {}, 0, 3},
    {"Giant", 4, "Giant", "Hands 1 100 10 3 1 20", 100, 15, 50, 50, 50, kBiped, kHands, 0, 3},
    {"GiantChild", 5, "Giant Child", "Hands 1 100 5 1 1 20", 100, 9, 50, 50, 50, kBiped, kHands, 0, 3},
    {"GiantRat", 6, "Giant Rat", "Teeth 1 150 7 3 1 20", 130, 7, 50, 50, 50, {11, 12}, {5}, 1, 3},
    {"GiantRatGrey", 7, "Giant Rat - Grey", "Teeth 1 150 7 3 1 20", 130, 7, 50, 50, 50, {11, 12}, {5}, 1, 3},
    {"GiantRatBrown", 8, "Giant Rat - Brown", "Teeth 1 150 7 3 1 20", 130, 7, 50, 50, 50, {11, 12}, {5}, 1, 3},
    {"Goblin", 9, "Goblin", "Hands 1 100 3 1 1 20", 100, 10, 50, 50, 50, kBiped, kHands, 0, 3},
    {"Human", 10, "Human", "Hands 1 100 3 1 1 20", 100, 10, 50, 50, 50, kBiped, kHands, 0, 3},
    {"Mushroom", 11, "Mushroom", "Spores 1 150 1 1 1 10", 10, 3, 50, 50, 50, {}, {}, 0, 3},
    {"MushroomWhite", 12, "Mushroom - White", "Spores 1 150 1 1 1 10", 10, 3, 50, 50, 50, {}, {}, 0, 3},
    {"MushroomRed", 13, "Mushroom - Red", "Spores 1 150 1 1 1 10", 10, 3, 50, 50, 50, {}, {}, 0, 3},
    {"MushroomGrey", 14, "Mushroom - Grey", "Spores 1 150 1 1 1 10", 10, 3, 50, 50, 50, {}, {}, 0, 3},
    {"NightRunner", 15, "NightRunner", "Hands 1 100 5 2 1 20", 100, 12, 50, 50, 50, kBiped, kHands, 0, 3},
    {"Scorpion", 16, "Scorpion", "Tail 1 150 12 3 3 50", 100, 11, 50, 50, 50, {}, {}, 0, 4},
    {"Shambles", 17, "Shambles", "Hands 1 100 3 1 1 20", 90, 11, 50, 50, 50, kBiped, kHands, 0, 3},
    {"Skeleton", 18, "Undead", "Claws 1 150 7 3 1 30", 130, 7, 50, 50, 50, kBiped, kHands, 1, 3},
    {"Snake", 19, "Snake", "Bite 1 90 4 1 1 10", 100, 5, 30, 70, 20, {}, {}, 0, 2},
    {"SnakeHuge", 20, "Huge Snake", "Bite 1 100 12 3 3 40", 100, 11, 50, 50, 50, {}, {}, 0, 4},
    {"Undead", 22, "Undead", "-", 100, 10, 50, 50, 50, {}, {}, 1, 3},
    {"SlimeGreen", 24, "Green Slime", "Slime 1 120 5 3 1 30", 50, 7, 50, 50, 50, {}, {}, 1, 6},
    {"GolemStone", 25, "Stone Golem", "Fists 1 120 15 7 1 50", 80, 12, 50, 50, 50, {}, {}, 1, 3},
    {"SnowPuff", 26, "SnowPuff", "-", 150, 9, 50, 50, 50, {}, {}, 1, 3},
    {"MoldYellow", 27, "Yellow Mold", "Mold 1 120 5 3 1 30", 50, 7, 50, 50, 50, {}, {}, 1, 6},
    {"DarkHound", 28, "DarkHound", "Teeth 1 90 10 3 1 50", 150, 9, 50, 70, 40, kHound, {5}, 1, 3},
    {"InvisibleStalker", 29, "Invisible Stalker", "Hands 1 100 3 1 1 20", 150, 10, 50, 50, 50, {3, 5, 6, 8, 9, 4}, kHands, 1, 3},
    {"FireHound", 30, "FireHound", "Teeth 1 90 10 3 1 50", 150, 9, 50, 70, 40, kHound, {5}, 1, 3},
    {"ClearHound", 31, "ClearHound", "Teeth 1 90 10 3 1 50", 150, 9, 50, 70, 40, kHound, {5}, 1, 3},
    {"WatchSpider", 32, "Brown Spider", "Teeth 1 100 10 3 1 50", 150, 6, 60, 80, 30, {}, {}, 1, 3},
    {"Changeling", 33, "Changeling", "Teeth 1 100 10 3 1 50", 150, 6, 60, 80, 30, {5}, {}, 1, 3},
    {"Ug", 34, "Ug", "Fists 1 90 20 6 1 50", 90, 9, 95, 50, 10, {}, {}, 1, 3},
};
// clang-format on

TEST(Species, EverySpeciesHasTheFiguresOfItsRow) {
    EXPECT_EQ(SpeciesTable().size(), kFigures.size());
    for (const FigureRow& r : kFigures) {
        SCOPED_TRACE(r.cls);
        std::unique_ptr<Species> c = MakeOf(r.cls);
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(c->GetRuntimeClass()->name, r.cls);
        EXPECT_EQ(c->GetPlayerType(), r.number);
        EXPECT_EQ(c->m_strSpecialName, r.name);
        EXPECT_EQ(c->m_strGeneralName, r.name);
        EXPECT_EQ(WeaponText(c->NaturalWeapon()), r.weapon);
        EXPECT_EQ(c->m_iSpeed, r.speed);
        EXPECT_EQ(c->m_iLoadedSpeed, r.speed);
        EXPECT_EQ(c->m_iHPPerLevel, r.hpPerLevel);
        EXPECT_EQ(c->m_iStrength, r.str);
        EXPECT_EQ(c->m_iCurStr, r.str);
        EXPECT_EQ(c->m_iDexterity, r.dex);
        EXPECT_EQ(c->m_iCombatDexterity, r.dex);
        EXPECT_EQ(c->m_iIntelligence, r.intel);
        EXPECT_EQ(c->m_iCurInt, r.intel);
        // Each code went to the head of the list.
        EXPECT_EQ(c->m_TraitList, std::vector<int32_t>(r.traits.rbegin(), r.traits.rend()));
        std::vector<int32_t> slots;
        for (const ItemUse& u : c->m_BodySlotList) {
            slots.push_back(u.m_iLocation);
            EXPECT_EQ(u.m_bOccupied, 0);
        }
        EXPECT_EQ(slots, r.slots);
        EXPECT_EQ(c->m_iUnused2, r.smallInt);
        EXPECT_EQ(c->m_iRadius, r.radius);
        EXPECT_EQ(c->m_bPoseSheet, 1);
        EXPECT_EQ(c->m_iStepTime, 5000 / r.speed);
    }
}

std::array<int32_t, 2> Two(int32_t a, int32_t b) {
    return {a, b};
}
std::array<double, 3> Three(double a, double b, double c) {
    return {a, b, c};
}

TEST(Species, TheOtherConstantsOfTheTable) {
    struct Row {
        const char* cls;
        std::function<bool(Species&)> holds;
    };
    const std::vector<Row> rows = {
        {"Dog", [](Species& c) { return c.m_iPortraitBitmap == Two(1082, 1086); }},
        {"Goblin", [](Species& c) { return c.m_iHostileMode == 1 && c.m_iPoseCount == 9; }},
        {"Human", [](Species& c) { return c.m_iCycleLimit == 4 && c.m_iUnused9 == 3; }},
        {"Human", [](Species& c) { return c.m_iPoseCount == 11 && c.m_sSpeciesMark == 1; }},
        {"Human", [](Species& c) { return c.m_iPortraitBitmap == Two(1081, 1085); }},
        {"Shambles", [](Species& c) { return c.m_iPoseCount == 7 && c.m_sSpeciesMark == 1; }},
        {"Skeleton", [](Species& c) { return c.m_iRegenRate == 3 && c.m_iOwn == Two(10, 10); }},
        {"Undead", [](Species& c) { return c.m_iOwn == Two(10, 10); }},
        {"SlimeGreen", [](Species& c) { return c.m_bGrounded == 1 && c.m_iOwn == Two(0, 20); }},
        {"MoldYellow", [](Species& c) { return c.m_bFireProtection == 1; }},
        {"MoldYellow", [](Species& c) { return c.m_iOwn == Two(0, 20); }},
        {"InvisibleStalker", [](Species& c) { return c.m_bInvisible == 1; }},
        {"InvisibleStalker", [](Species& c) { return c.m_iPortraitBitmap == Two(380, 378); }},
        {"ClearHound", [](Species& c) { return c.m_bInvisible == 1; }},
        {"FloatingEye", [](Species& c) { return c.m_dExperience == Three(1000, 1000, 10000); }},
        {"SnowPuff", [](Species& c) { return c.m_dExperience == Three(1000, 1000, 10000); }},
        {"FireHound", [](Species& c) { return c.m_dExperience == Three(500, 500, 2500); }},
        {"GolemStone", [](Species& c) { return c.m_iStrengthBonus == 1; }},
        {"Gel", [](Species& c) { return c.m_iHostileMode == 0 && c.m_iUnused2 == 0; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        std::unique_ptr<Species> c = MakeOf(r.cls);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(r.holds(*c));
    }
}

TEST(Species, EveryClassNameIsRegisteredOnItsBaseAndComesBackFromItsRecord) {
    for (const SpeciesRow& row : SpeciesTable()) {
        SCOPED_TRACE(row.className);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(row.className);
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls, Species::ClassOf(row));
        // A variant (a grey rat, a skeleton) is built as its base first.
        EXPECT_EQ(cls->base,
                  row.baseName ? qv::RuntimeClass::Find(row.baseName) : &Player::classInfo);
        std::unique_ptr<Player> c(qv::DynamicCast<Player>(cls->CreateObject()));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetPlayerType(), row.number);
        c->SetName(std::string("Named ") + row.className);
        c->SetLevel(1);  // a creature made for a world has its level
        c->m_iHitPoints = 3;
        std::unique_ptr<Player> back =
            record_test::LoadObject<Player>(record_test::StoreObject(*c));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetRuntimeClass(), cls);
        EXPECT_EQ(back->m_iHitPoints, 3);
        EXPECT_EQ(back->GetDisplayName(), c->GetDisplayName());
        EXPECT_EQ(back->m_InUseList.size(), c->m_InUseList.size());
        // Read once, a record is written back the same way every time.
        const Bytes again = record_test::StoreObject(*back);
        EXPECT_EQ(record_test::StoreObject(*record_test::LoadObject<Player>(again)), again);
    }
    EXPECT_EQ(qv::RuntimeClass::Find("GiantRatGrey")->base, qv::RuntimeClass::Find("GiantRat"));
    EXPECT_EQ(Species::FindRow("Wolf"), nullptr);
    EXPECT_EQ(Species::Make("Wolf"), nullptr);
}

// The record of a species built on another, laid out by hand: its own class,
// then each class it is built on, each new class named once, then the
// creature's record.
TEST(Species, ARecordNamesItsClassAndItsBases) {
    std::unique_ptr<Species> grey = MakeOf("GiantRatGrey");
    grey->SetLevel(1);
    const Bytes stored = record_test::StoreObject(*grey);
    Bytes expected;
    auto classRecord = [&](int schema, const std::string& name) {
        record_test::PutBytes(
            expected, {0xFF, 0xFF, schema & 0xFF, schema >> 8, static_cast<int>(name.size()), 0});
        for (char ch : name) expected.push_back(static_cast<uint8_t>(ch));
    };
    classRecord(1, "GiantRatGrey");
    classRecord(1, "GiantRat");
    classRecord(44, "Player");
    ASSERT_GE(stored.size(), expected.size());
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + static_cast<long>(expected.size())), expected);
}

TEST(Species, ARecordUnderAWrongBaseIsRefused) {
    // A GiantRatGrey whose record says it is built on the Mushroom.
    std::unique_ptr<Species> mushroom = MakeOf("Mushroom");
    Bytes bytes =
        record_test::Record(*qv::RuntimeClass::Find("GiantRatGrey"), 1, [&](qv::Archive& ar) {
            ar.SerializeClass(qv::RuntimeClass::Find("Mushroom"));
            ar.SerializeClass(&Player::classInfo);
            mushroom->Player::Serialize(ar);
        });
    EXPECT_EQ(record_test::RefusalOf<Player>(bytes), qv::ArchiveError::BadClass);
}

// A fire hound is born with its Flame Dart; read back, it has what its record says.
TEST(Species, AHoundsMagicIsWhatItsRecordSays) {
    for (const bool takenAway : {false, true}) {
        SCOPED_TRACE(takenAway ? "taken away" : "kept");
        std::unique_ptr<Species> hound = MakeOf("FireHound");
        if (takenAway) hound->DropMagic();
        auto back = record_test::LoadObject<Player>(record_test::StoreObject(*hound));
        EXPECT_EQ(back->m_pMagic ? back->m_pMagic->m_SpellList.size() : 0u, takenAway ? 0u : 1u);
        EXPECT_EQ(back->m_UsableList.size(), hound->m_UsableList.size());
    }
}

TEST(Species, HoundsFeedOnTheirElement) {
    struct Row {
        const char* what;
        const char* cls;
        int hp, amount, kind, expected;
        int16_t life = 1;
    };
    const std::vector<Row> rows = {
        {"fire heals a fire hound", "FireHound", 90, 30, 2, 100},
        {"fire heals a fire hound up to its maximum", "FireHound", 99, 1, 2, 100},
        {"fire heals a fire hound, short of its maximum", "FireHound", 50, 30, 2, 80},
        {"cold heals a snow puff", "SnowPuff", 90, 30, 4, 100},
        {"fire hurts a snow puff as it hurts anyone", "SnowPuff", 90, 30, 2, 60},
        {"cold hurts a fire hound double", "FireHound", 90, 30, 4, 30},
        {"nothing heals a hound that is down", "FireHound", 0, 30, 2, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::unique_ptr<Species> c = MakeOf(r.cls);
        c->m_iMaxHitPoints = 100;
        c->m_iHitPoints = r.hp;
        c->m_sLifeState = r.life;
        c->TakeDamage(r.amount, r.kind);
        EXPECT_EQ(c->m_iHitPoints, r.expected);
    }
}

TEST(Species, DamageFeedsAMoldUntilItSplits) {
    world_test::SmallWorld small;
    small.world.CreateRootGroups();
    const Position at(12 * MapMaster::CellWidth + 80, 12 * MapMaster::CellHeight + 56, 0);
    auto* group = new Group;
    small.world.m_pAllGroups->AddMemberDirect(group);
    Species* mold = MakeOf("MoldYellow").release();
    group->AddMemberDirect(mold);
    mold->m_iMaxHitPoints = mold->m_iHitPoints = 30;
    mold->m_Position = at;
    std::unique_ptr<Species> foe = MakeOf("Dog");
    mold->m_Opponents.emplace_back(foe.get());
    foe->m_Opponents.emplace_back(mold);
    mold->m_dExperience = {100, 200, 300};

    mold->TakeDamage(30, 1);  // a third feeds it: 10, below the threshold
    EXPECT_EQ(mold->m_iOwn[0], 10);
    EXPECT_EQ(group->GetMemberCount(), 1);
    mold->TakeDamage(60, 1);  // 20 more: 30, a new mold takes 20
    EXPECT_EQ(mold->m_iOwn[0], 10);
    ASSERT_EQ(group->GetMemberCount(), 2);
    Species* child = nullptr;
    for (Member* m : group->Members())
        if (m != mold) child = static_cast<Species*>(m);
    ASSERT_NE(child, nullptr);
    EXPECT_STREQ(child->GetRuntimeClass()->name, "MoldYellow");
    EXPECT_EQ(child->m_iHitPoints, 7);
    EXPECT_EQ(child->m_iMaxHitPoints, 7);
    EXPECT_EQ(child->m_iHostileMode, 1);
    ASSERT_NE(child->m_pHolder, nullptr);
    EXPECT_EQ(child->m_Position.x, child->m_pHolder->pos.x);
    EXPECT_EQ(child->m_dExperience, (std::array<double, 3>{10, 20, 30}));
    // The new mold and its parent's foe fight each other, both ways.
    ASSERT_EQ(child->m_Opponents.size(), 1u);
    EXPECT_EQ(child->m_Opponents[0].Get(), foe.get());
    ASSERT_EQ(foe->m_Opponents.size(), 2u);
    EXPECT_EQ(foe->m_Opponents[1].Get(), child);

    // Shock hurts a mold as it hurts anyone: nothing feeds it.
    mold->TakeDamage(90, 3);
    EXPECT_EQ(mold->m_iOwn[0], 10);
    foe->m_Opponents.clear();
    child->m_Opponents.clear();
    mold->m_Opponents.clear();
}

TEST(Species, AHurtMoldHealsBeforeItGrows) {
    struct Row {
        const char* what;
        int hp, pool, amount, hpAfter, poolAfter;
    };
    const std::vector<Row> rows = {
        {"the pool covers what is missing", 25, 0, 30, 30, 5},
        {"the pool exactly covers it", 20, 0, 30, 30, 0},
        {"the pool falls short", 10, 0, 30, 20, 0},
        {"a remainder of the cut third is lost", 29, 0, 5, 30, 0},
        {"with nowhere to put a new one the pool is kept", 30, 0, 60, 30, 20},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        World world;  // no map: nowhere to put a new slime
        std::unique_ptr<Species> slime = MakeOf("SlimeGreen");
        slime->m_iMaxHitPoints = 30;
        slime->m_iHitPoints = r.hp;
        slime->m_iOwn[0] = r.pool;
        slime->TakeDamage(r.amount, 1);
        EXPECT_EQ(slime->m_iHitPoints, r.hpAfter);
        EXPECT_EQ(slime->m_iOwn[0], r.poolAfter);
    }
}

TEST(Species, TheUndeadRiseAgain) {
    World world;
    std::unique_ptr<Species> dead = MakeOf("Undead");
    dead->m_iMaxHitPoints = 100;
    dead->m_iHitPoints = 0;
    dead->m_sLifeState = 0;
    dead->m_iRegenRate = 1;
    const int32_t t0 = 5000;
    EXPECT_EQ(dead->Update(t0, nullptr), 1);
    EXPECT_EQ(dead->m_iRegenRate, 10) << "it heals at its own rate while down";
    EXPECT_EQ(dead->m_iOwn[1], 1) << "the rate it had is kept";
    // The interval is 600000 / (10 x 100) = 600.
    EXPECT_EQ(dead->Update(t0 + 600 * 80, nullptr), 1);
    EXPECT_EQ(dead->m_iHitPoints, 80);
    EXPECT_EQ(dead->m_sLifeState, 0) << "80 of 100 is not above 80 per cent";
    EXPECT_EQ(dead->Update(t0 + 600 * 81 + 599, nullptr), 1);
    EXPECT_EQ(dead->m_iHitPoints, 81);
    EXPECT_EQ(dead->m_sLifeState, 1);
    EXPECT_EQ(dead->m_iRegenRate, 1);
    EXPECT_EQ(dead->m_iHostileMode, 1);
    EXPECT_EQ(dead->Events().Count(), 0);
}

TEST(Species, TheUndeadNeverDivideByAZeroInterval) {
    struct Row {
        const char* what;
        int32_t maxHp, rate;
    };
    const std::vector<Row> rows = {
        {"an interval below one unit", 100000, 10},
        {"no maximum at all", 0, 10},
        {"a rate of zero", 100, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        World world;
        std::unique_ptr<Species> dead = MakeOf("Skeleton");
        dead->m_iOwn = {r.rate, r.rate};
        dead->m_iMaxHitPoints = r.maxHp;
        dead->m_iHitPoints = 0;
        dead->m_sLifeState = -3;
        EXPECT_EQ(dead->Update(100, nullptr), 1);
        EXPECT_EQ(dead->Update(200, nullptr), 1);
        EXPECT_LE(dead->m_iHitPoints, std::max(r.maxHp, 0));
        EXPECT_GE(dead->m_iHitPoints, 0);
    }
    std::unique_ptr<Species> gone = MakeOf("Skeleton");
    gone->m_sLifeState = -10;
    gone->m_iHitPoints = 0;
    EXPECT_EQ(gone->Update(100, nullptr), 1);
    EXPECT_EQ(gone->Update(100000, nullptr), 1);
    EXPECT_EQ(gone->m_iHitPoints, 0) << "below -9 nothing rises";
}

TEST(Species, AGolemSlowsAsItsStrengthGoes) {
    struct Row {
        const char* what;
        int32_t bonus, strength, speed;
    };
    const std::vector<Row> rows = {
        {"its strength still whole", 1, 50, 80},
        {"its strength spent", 0, 50, 10},
        {"no strength left at all", 0, 0, 40},
        {"a bonus above one", 2, 50, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        World world;
        std::unique_ptr<Species> golem = MakeOf("GolemStone");
        golem->m_iStrengthBonus = r.bonus;
        golem->m_iStrength = r.strength;
        golem->Update(100, nullptr);
        EXPECT_EQ(golem->m_iSpeed, r.speed);
        EXPECT_EQ(golem->m_iLoadedSpeed, r.speed);
    }
    std::unique_ptr<Species> still = MakeOf("GolemStone");
    still->m_bInactive = 1;
    still->m_iStrengthBonus = 0;
    EXPECT_EQ(still->Update(100, nullptr), 0);
    EXPECT_EQ(still->m_iSpeed, 80) << "an inactive golem keeps its speed";
}

TEST(Species, UseCountsFollowTheLivingCreatures) {
    const SpeciesRow& row = *Species::FindRow("Gel");
    const int before = Species::UseCount(row);
    {
        std::unique_ptr<Player> a = Species::Make("Gel");
        std::unique_ptr<Player> b = Species::Make("Gel");
        EXPECT_EQ(Species::UseCount(row), before + 2);
    }
    EXPECT_EQ(Species::UseCount(row), before);
}

// The start of play: every look and count is forgotten, the looks' file is
// "PlayerImages.dat" again, and a creature that goes afterwards leaves the
// counts at 0.
TEST(Species, TheStartOfPlayForgetsEveryLookAndCount) {
    const SpeciesRow& gel = *Species::FindRow("Gel");
    std::unique_ptr<Player> blob = Species::Make("Gel");
    auto woman = std::make_unique<Human>();
    const int32_t female = 1;
    woman->SetSex(&female);
    CreatureImageSet::s_strImageFile = "Other.dat";
    InitCreatureImages();
    EXPECT_EQ((std::vector{Species::UseCount(gel), Human::UseCount(0), Human::UseCount(1)}),
              (std::vector{0, 0, 0}));
    blob.reset();
    woman.reset();
    EXPECT_EQ((std::vector{Species::UseCount(gel), Human::UseCount(1)}), (std::vector{0, 0}));
    EXPECT_EQ((std::vector{Species::ClassImages(gel), Human::SexImages(0), Human::SexImages(1)}),
              (std::vector<CreatureImageSet*>{nullptr, nullptr, nullptr}));
    EXPECT_EQ(CreatureImageSet::s_strImageFile, "PlayerImages.dat");
}

}  // namespace
