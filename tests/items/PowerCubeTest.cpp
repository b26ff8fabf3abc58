#include <gtest/gtest.h>

#include "items/PowerCube.h"
#include "items/SpellFixture.h"
#include "structures/Walls.h"

namespace {

using spell_test::SpellWorld;

PowerCubeStand Stand(int32_t symbol) {
    PowerCubeStand s;
    s.m_iSymbol = symbol;
    return s;
}

TEST(PowerCube, Charging) {
    constexpr int32_t kNone = -1;  // no second stand
    struct Row {
        const char* rule;
        int32_t symbol, stand, second, value, charges;
        const char* name;
    };
    const Row rows[] = {
        {"a Stars cube twice at the Sun", CubeSymbol::Stars, 1, 1, 1, 2,
         "Cogo'Septem - Stars, glowing red"},
        {"at the Sun, then the Mighty Oak: the last colour", CubeSymbol::Stars, 1, 2, 2, 2,
         "Cogo'Septem - Stars, glowing blue"},
        {"a Stars cube at the Wavy Lines", CubeSymbol::Stars, 5, kNone, 5, 1,
         "Cogo'Septem - Stars, glowing purple"},
        {"a Horsies cube takes a key, and its name no colour", CubeSymbol::Horsies, 2, kNone, 1002,
         1, "Cogo'Septem - Horsies"},
        {"a Horsies cube is not charged at the Wavy Lines", CubeSymbol::Horsies, 5, kNone, 0, 0,
         "Cogo'Septem - Horsies"},
        {"stands of no symbol charge nothing", CubeSymbol::Stars, 0, 6, 0, 0,
         "Cogo'Septem - Stars"},
        {"a cube of no symbol is never charged", CubeSymbol::None, 1, kNone, 0, 0, "Cogo'Septem"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        PowerCube cube;
        cube.m_iSymbol = r.symbol;
        for (int32_t symbol : {r.stand, r.second}) {
            if (symbol == kNone) continue;
            PowerCubeStand stand = Stand(symbol);
            EXPECT_EQ(cube.Use(nullptr, &stand), 0);
        }
        EXPECT_EQ(cube.m_iChargeValue, r.value);
        EXPECT_EQ(cube.m_iCharges, r.charges);
        EXPECT_EQ(cube.m_iXImageNum, r.charges > 0 ? 1 : 0);
        EXPECT_EQ(cube.GetDisplayName(), r.name);
    }
}

TEST(PowerCube, AStarsCubeOnACreature) {
    struct Row {
        const char* rule;
        int32_t colour;
        int32_t Player::*figure;
        int32_t want;
        size_t inEffect;
    };
    const Row rows[] = {
        {"red heals", 1, &Player::m_iHitPoints, 50 + 10 + 41 % 10, 0},
        {"blue strengthens", 2, &Player::m_iCurStr, 60, 1},
        {"green hastens", 3, &Player::m_iSpeedState, 1, 1},
        {"yellow toughens", 4, &Player::m_iArmourBonus, 1, 1},
        {"purple restores no mana to a creature without magic", 5, &Player::m_iHitPoints, 50, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& target = w.Creature(2);
        target.m_iMaxHitPoints = 100;
        target.m_iHitPoints = 50;
        PowerCube cube;
        cube.m_iSymbol = CubeSymbol::Stars;
        PowerCubeStand stand = Stand(r.colour);
        cube.Use(nullptr, &stand);
        cube.Use(nullptr, &stand);
        EXPECT_EQ(cube.Use(nullptr, &target), 0);
        EXPECT_EQ(target.*r.figure, r.want);
        EXPECT_EQ(w.spells.Count(), r.inEffect);
        EXPECT_EQ(cube.m_iCharges, 1);  // a charge spent either way
        cube.Use(nullptr, &target);
        EXPECT_EQ(cube.m_iCharges, 0);
        EXPECT_EQ(cube.m_iChargeValue, 0);
        EXPECT_EQ(cube.GetDisplayName(), "Cogo'Septem - Stars");
        // Empty, it does nothing.
        const int32_t before = target.*r.figure;
        cube.Use(nullptr, &target);
        if (r.figure == &Player::m_iHitPoints) {
            EXPECT_EQ(target.*r.figure, before);
        }
        EXPECT_EQ(cube.m_iCharges, 0);
    }
}

TEST(PowerCube, AHorsiesCubeOpensTheDoorOfItsKey) {
    struct Row {
        const char* rule;
        int32_t stand, doorKey;
        int32_t state;  // the door's after
        int32_t charges;
    };
    const Row rows[] = {
        {"its own door opens", 2, 1002, Wall::kDoorOpen, 0},
        {"another stays shut and still costs a charge", 2, 1001, Wall::kDoorClosed, 0},
        {"an empty cube does nothing, even at a door of key 0", 0, 0, Wall::kDoorClosed, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        FrontDoorBrick door;
        door.m_iItemNum = r.doorKey;
        door.m_iState = Wall::kDoorClosed;
        PowerCube cube;
        cube.m_iSymbol = CubeSymbol::Horsies;
        if (r.stand) {
            PowerCubeStand stand = Stand(r.stand);
            cube.Use(nullptr, &stand);
        }
        EXPECT_EQ(cube.IsValidTarget(&door), 1);
        EXPECT_EQ(cube.Use(nullptr, &door), 0);
        EXPECT_EQ(door.m_iState, r.state);
        EXPECT_EQ(cube.m_iCharges, r.charges);
    }
}

TEST(PowerCube, Targets) {
    SpellWorld w;
    Player& p = w.Creature(1);
    FrontDoorBrick front;
    SideDoorBrick side;
    Wall wall;
    PowerCubeStand stand;
    struct Row {
        const char* rule;
        Object* target;
        int stars, horsies;
    };
    const Row rows[] = {
        {"a stand, for either", &stand, 1, 1},       {"a creature, for Stars", &p, 1, 0},
        {"a front door, for Horsies", &front, 0, 1}, {"a side door, for Horsies", &side, 0, 1},
        {"a plain wall, for neither", &wall, 0, 0},  {"nothing", nullptr, 0, 0},
    };
    PowerCube stars, horsies;
    stars.m_iSymbol = CubeSymbol::Stars;
    horsies.m_iSymbol = CubeSymbol::Horsies;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(stars.IsValidTarget(r.target), r.stars);
        EXPECT_EQ(horsies.IsValidTarget(r.target), r.horsies);
    }
}

TEST(PowerCube, StandNames) {
    const char* names[] = {"Nutrio'Septem",
                           "Nutrio'Septem - Sun",
                           "Nutrio'Septem - Mighty Oak",
                           "Nutrio'Septem - Hourglass",
                           "Nutrio'Septem - Shield",
                           "Nutrio'Septem - Wavy Lines",
                           "Nutrio'Septem"};
    for (int32_t symbol = 0; symbol <= 6; ++symbol) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(Stand(symbol).GetDisplayName(), names[symbol]);
    }
    EXPECT_EQ(Stand(-1).GetDisplayName(), "Nutrio'Septem");
}

}  // namespace
