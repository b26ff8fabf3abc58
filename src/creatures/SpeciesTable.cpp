// The species of the world, one row each, in the order of their numbers.
// Numbers 21 and 23 belong to no species.

#include "creatures/Combat.h"
#include "creatures/Species.h"
#include "items/Useable.h"

namespace {

using B = SpeciesBehaviour;

// Body-type codes and body-slot locations of the kinds that share them.
constexpr std::array<int32_t, 8> kBiped{3, 5, 6, 8, 9, 4, 7, 7};
constexpr std::array<int32_t, 8> kStalker{3, 5, 6, 8, 9, 4};
constexpr std::array<int32_t, 8> kHound{11, 12, 4};
constexpr std::array<int32_t, 8> kRat{11, 12};
constexpr std::array<int32_t, 8> kNone{};
constexpr std::array<int32_t, 4> kHands{BodySlot::Hand, BodySlot::OtherHand, BodySlot::BowHand,
                                        BodySlot::ShieldArm};
constexpr std::array<int32_t, 4> kMouth{5};
constexpr std::array<int32_t, 4> kNoSlots{};
constexpr std::array<int32_t, 3> kDefault{};
constexpr std::array<int32_t, 3> kHoundAbilities{50, 70, 40};

SpeciesRow Row(const char* cls, const char* base, int32_t number, const char* name,
               NaturalWeaponRow weapon, int32_t speed, int32_t hp, std::array<int32_t, 3> abil,
               std::array<int32_t, 8> traits, std::array<int32_t, 4> slots, const char* look) {
    SpeciesRow r{cls, base, number, name, weapon, speed, hp, abil, traits, slots, look};
    return r;
}

// A slime or a mold: a body of radius 6 that only damage of `hurtKind` hurts
// (any other feeds its growth, its own integers counting from 0 up to the
// growth threshold).
void Growing(SpeciesRow& r, int32_t hurtKind) {
    r.behaviour = B::Growing;
    r.smallInt = 1;
    r.own = {0, Species::kGrowthThreshold};
    r.radius = 6;
    r.hurtKind = hurtKind;
}

std::array<SpeciesRow, 32> BuildTable() {
    const NaturalWeaponRow none{};
    const NaturalWeaponRow hands{"Hands", 1, 100, 3, 1, 1, 20};
    const NaturalWeaponRow houndTeeth{"Teeth", 1, 90, 10, 3, 1, 50};
    std::array<SpeciesRow, 32> t{};
    size_t i = 0;
    auto add = [&](SpeciesRow r) -> SpeciesRow& { return t[i++] = r; };

    SpeciesRow* r = &add(
        Row("Dog", nullptr, 1, "Dog", houndTeeth, 150, 9, kHoundAbilities, kHound, kMouth, "Dog"));
    r->smallInt = 1;
    r->portraits = {1082, 1086};
    r->ownSound = true;

    r = &add(Row("FloatingEye", nullptr, 2, "Floating Eye", {"RedEye", 1, 150, 1, 1, 3, 50}, 0, 12,
                 kDefault, kNone, kNoSlots, "FloatingEye"));
    r->spell = "LightningBolt";
    r->experience = {1000, 1000, 10000};

    add(Row("Gel", nullptr, 3, "Gel", {"Cells", 1, 150, 3, 1, 3, 20}, 0, 5, kDefault, kNone,
            kNoSlots, "Gel"));
    r = &add(Row("Giant", nullptr, 4, "Giant", {"Hands", 1, 100, 10, 3, 1, 20}, 0, 15, kDefault,
                 kBiped, kHands, "Giant"));
    r->ownSound = true;
    add(Row("GiantChild", nullptr, 5, "Giant Child", {"Hands", 1, 100, 5, 1, 1, 20}, 0, 9, kDefault,
            kBiped, kHands, "GiantChild"));
    r = &add(Row("GiantRat", nullptr, 6, "Giant Rat", {"Teeth", 1, 150, 7, 3, 1, 20}, 130, 7,
                 kDefault, kRat, kMouth, "GiantRat"));
    r->smallInt = 1;
    add(Row("GiantRatGrey", "GiantRat", 7, "Giant Rat - Grey", none, 130, 0, kDefault, kNone,
            kNoSlots, "GiantRatGrey"));
    add(Row("GiantRatBrown", "GiantRat", 8, "Giant Rat - Brown", none, 130, 0, kDefault, kNone,
            kNoSlots, "GiantRatBrown"));
    r = &add(Row("Goblin", nullptr, 9, "Goblin", hands, 0, 0, kDefault, kBiped, kHands, "Goblin"));
    r->hostile = 1;
    r->poseCount = 9;

    r = &add(Row("Human", nullptr, 10, "Human", hands, 0, 0, kDefault, kBiped, kHands, "Human"));
    r->behaviour = B::Human;
    r->cycleLimit = 4;
    r->beforePortrait = 3;
    r->poseCount = 11;
    r->portraits = {1081, 1085};
    r->speciesMark = 1;
    r->ownSound = true;

    add(Row("Mushroom", nullptr, 11, "Mushroom", {"Spores", 1, 150, 1, 1, 1, 10}, 10, 3, kDefault,
            kNone, kNoSlots, "Mushroom"));
    add(Row("MushroomWhite", "Mushroom", 12, "Mushroom - White", none, 0, 0, kDefault, kNone,
            kNoSlots, "MushroomWhite"));
    add(Row("MushroomRed", "Mushroom", 13, "Mushroom - Red", none, 0, 0, kDefault, kNone, kNoSlots,
            "MushroomRed"));
    add(Row("MushroomGrey", "Mushroom", 14, "Mushroom - Grey", none, 0, 0, kDefault, kNone,
            kNoSlots, "MushroomGrey"));
    add(Row("NightRunner", nullptr, 15, "NightRunner", {"Hands", 1, 100, 5, 2, 1, 20}, 0, 12,
            kDefault, kBiped, kHands, "NightRunner"));
    r = &add(Row("Scorpion", nullptr, 16, "Scorpion", {"Tail", 1, 150, 12, 3, 3, 50}, 0, 11,
                 kDefault, kNone, kNoSlots, "Scorpion"));
    r->radius = 4;
    r = &add(Row("Shambles", nullptr, 17, "Shambles", hands, 90, 11, kDefault, kBiped, kHands,
                 "Shambles"));
    r->poseCount = 7;
    r->speciesMark = 1;
    r = &add(Row("Skeleton", "Undead", 18, "Undead", {"Claws", 1, 150, 7, 3, 1, 30}, 130, 7,
                 kDefault, kBiped, kHands, "Skeleton"));
    r->behaviour = B::Undead;
    r->regenRate = 3;
    r = &add(Row("Snake", nullptr, 19, "Snake", {"Bite", 1, 90, 4, 1, 1, 10}, 0, 5, {30, 70, 20},
                 kNone, kNoSlots, "Snake"));
    r->radius = 2;
    r->ownSound = true;
    r = &add(Row("SnakeHuge", nullptr, 20, "Huge Snake", {"Bite", 1, 100, 12, 3, 3, 40}, 0, 11,
                 kDefault, kNone, kNoSlots, "SnakeHuge"));
    r->radius = 4;
    r = &add(Row("Undead", nullptr, 22, "Undead", none, 0, 0, kDefault, kNone, kNoSlots, "Undead"));
    r->behaviour = B::Undead;
    r->smallInt = 1;
    r->own = {10, 10};
    r = &add(Row("SlimeGreen", nullptr, 24, "Green Slime", {"Slime", 1, 120, 5, 3, 1, 30}, 50, 7,
                 kDefault, kNone, kNoSlots, "SlimeGreen"));
    Growing(*r, DamageKind::Fire);
    r->grounded = true;
    r = &add(Row("GolemStone", nullptr, 25, "Stone Golem", {"Fists", 1, 120, 15, 7, 1, 50}, 80, 12,
                 kDefault, kNone, kNoSlots, "GolemStone"));
    r->behaviour = B::Golem;
    r->smallInt = 1;
    r = &add(Row("SnowPuff", nullptr, 26, "SnowPuff", none, 150, 9, kDefault, kNone, kNoSlots,
                 "SnowPuff"));
    r->behaviour = B::Elemental;
    r->smallInt = 1;
    r->experience = {1000, 1000, 10000};
    r->healKind = DamageKind::Cold;
    r->doubleKind = DamageKind::Shock;
    r = &add(Row("MoldYellow", nullptr, 27, "Yellow Mold", {"Mold", 1, 120, 5, 3, 1, 30}, 50, 7,
                 kDefault, kNone, kNoSlots, "MoldYellow"));
    Growing(*r, DamageKind::Shock);
    r->fireProtection = true;
    r = &add(Row("DarkHound", nullptr, 28, "DarkHound", houndTeeth, 150, 9, kHoundAbilities, kHound,
                 kMouth, "DarkHound"));
    r->smallInt = 1;
    r->carriesLight = true;
    r->ownSound = true;
    r = &add(Row("InvisibleStalker", nullptr, 29, "Invisible Stalker", hands, 150, 0, kDefault,
                 kStalker, kHands, "InvisibleStalker"));
    r->smallInt = 1;
    r->invisible = true;
    r->portraits = {380, 378};
    r = &add(Row("FireHound", nullptr, 30, "FireHound", houndTeeth, 150, 9, kHoundAbilities, kHound,
                 kMouth, "FireHound"));
    r->behaviour = B::Elemental;
    r->smallInt = 1;
    r->carriesLight = true;
    r->spell = "FlameDart";
    r->experience = {500, 500, 2500};
    r->ownSound = true;
    r->healKind = DamageKind::Fire;
    r->doubleKind = DamageKind::Cold;
    r = &add(Row("ClearHound", nullptr, 31, "ClearHound", houndTeeth, 150, 9, kHoundAbilities,
                 kHound, kMouth, "ClearHound"));
    r->smallInt = 1;
    r->invisible = true;
    r->ownSound = true;
    r = &add(Row("WatchSpider", nullptr, 32, "Brown Spider", {"Teeth", 1, 100, 10, 3, 1, 50}, 150,
                 6, {60, 80, 30}, kNone, kNoSlots, "WatchSpider"));
    r->smallInt = 1;
    r = &add(Row("Changeling", nullptr, 33, "Changeling", {"Teeth", 1, 100, 10, 3, 1, 50}, 150, 6,
                 {60, 80, 30}, {5}, kNoSlots, "Changeling"));
    r->behaviour = B::Changeling;
    r->smallInt = 1;
    r = &add(Row("Ug", nullptr, 34, "Ug", {"Fists", 1, 90, 20, 6, 1, 50}, 90, 9, {95, 50, 10},
                 kNone, kNoSlots, "Ug"));
    r->smallInt = 1;
    r->ownSound = true;
    return t;
}

}  // namespace

std::span<const SpeciesRow> SpeciesTable() {
    static const std::array<SpeciesRow, 32> table = BuildTable();
    return table;
}
