// Levels and experience: the thresholds, the level a pool gives, the overall
// level, hit points and the regeneration interval, setting a level, and the
// pools experience goes to.

#include <gtest/gtest.h>

#include "creatures/Player.h"

namespace {

struct PoolRow {
    const char* what;
    double experience;
    int32_t level;
    double next;
};

const PoolRow kPools[] = {
    {"nothing yet", 1.0, 0, 1000.0},
    {"exactly 1000: not above the first threshold", 1000.0, 0, 1000.0},
    {"1000.5: level 1", 1000.5, 1, 1500.0},
    {"exactly 1500: still level 1", 1500.0, 1, 1500.0},
    {"1501: level 2", 1501.0, 2, 2250.0},
    {"3375.5: level 4", 3375.5, 4, 5062.5},
};

TEST(PlayerLevels, ThePoolsLevels) {
    for (const PoolRow& row : kPools) {
        SCOPED_TRACE(row.what);
        Player p;
        p.m_dExperience = {1.0, row.experience, 1.0};  // the short-range pool
        p.UpdateLevel();
        EXPECT_EQ(p.m_iLevelShortRange, row.level);
        EXPECT_DOUBLE_EQ(p.m_dNextShortRange, row.next);
        p.m_dExperience = {row.experience, 1.0, 1.0};  // the long-range pool
        p.UpdateLevel();
        EXPECT_EQ(p.m_iLevelLongRange, row.level);
        EXPECT_DOUBLE_EQ(p.m_dNextLongRange, row.next);
        p.m_dExperience = {1.0, 1.0, row.experience};  // magic
        p.UpdateLevel();
        EXPECT_EQ(p.m_iLevelMagic, row.level);
        EXPECT_DOUBLE_EQ(p.m_dNextMagic, row.next);
    }
}

struct OverallRow {
    const char* what;
    double pools[3];
    int32_t hpPerLevel, rate, hitPoints;
    int32_t level, maxHp, hpAfter, interval;
};

const OverallRow kOverall[] = {
    {"after SetLevel(1): level 1", {150.15, 700.7, 150.15}, 10, 1, 5, 1, 20, 5, 30000},
    {"the sum decides, not one pool", {400.0, 400.0, 400.0}, 10, 1, 5, 1, 20, 5, 30000},
    {"2501.5 in all is above 2250: level 3", {1000.5, 1501.0, 0.0}, 10, 1, 5, 3, 40, 5, 15000},
    {"a lower maximum pulls the hit points down", {1.0, 1.0, 1.0}, 10, 1, 40, 0, 10, 10, 60000},
    {"10 hit points at rate 1: one a 60000", {1.0, 1.0, 1.0}, 10, 1, 3, 0, 10, 3, 60000},
    {"rate 3: a third of the interval", {1.0, 1.0, 1.0}, 10, 3, 3, 0, 10, 3, 20000},
    {"rate 0: nothing regenerates", {1.0, 1.0, 1.0}, 10, 0, 3, 0, 10, 3, 0},
    {"no hit points a level: nothing regenerates", {1.0, 1.0, 1.0}, 0, 1, 3, 0, 0, 0, 0},
};

TEST(PlayerLevels, TheOverallLevelHitPointsAndInterval) {
    for (const OverallRow& row : kOverall) {
        SCOPED_TRACE(row.what);
        Player p;
        p.m_dExperience = {row.pools[0], row.pools[1], row.pools[2]};
        p.m_iHPPerLevel = row.hpPerLevel;
        p.m_iRegenRate = row.rate;
        p.m_iHitPoints = row.hitPoints;
        EXPECT_EQ(p.UpdateLevel(), row.interval);
        EXPECT_EQ(p.m_iLevel, row.level);
        EXPECT_EQ(p.m_iMaxHitPoints, row.maxHp);
        EXPECT_EQ(p.m_iHitPoints, row.hpAfter);
        EXPECT_EQ(p.m_iRegenInterval, row.interval);
    }
}

struct SetLevelRow {
    const char* what;
    int32_t from;  // the level the creature has first
    int32_t level;
    double sum;  // of the pools afterwards
};

const SetLevelRow kSetLevels[] = {
    {"level 1 on a new creature: 1001", 0, 1, 1001.0},
    {"level 0 is level 1's pools", 0, 0, 1001.0},
    {"level 3: 2251", 0, 3, 2251.0},
    {"level 3 on a level-2 creature is level 3, not 5", 2, 3, 2251.0},
    {"level 1 on a level-4 creature", 4, 1, 1001.0},
};

TEST(PlayerLevels, SetLevel) {
    for (const SetLevelRow& row : kSetLevels) {
        SCOPED_TRACE(row.what);
        Player p;
        if (row.from > 0) p.SetLevel(row.from);
        EXPECT_EQ(p.m_iLevel, row.from);
        EXPECT_EQ(p.SetLevel(row.level), 1);
        EXPECT_EQ(p.m_iLevel, row.level == 0 ? 1 : row.level);
        EXPECT_DOUBLE_EQ(p.m_dExperience[0], 0.15 * row.sum);
        EXPECT_DOUBLE_EQ(p.m_dExperience[1], 0.7 * row.sum);
        EXPECT_DOUBLE_EQ(p.m_dExperience[2], 0.15 * row.sum);
    }
    // A level beyond any count ends (the pools at the largest double).
    Player huge;
    huge.SetLevel(2000000000);
    EXPECT_GT(huge.m_iLevel, 1000);
}

struct ExperienceRow {
    int32_t pool;
    double pools[3];
};

const ExperienceRow kExperience[] = {
    {0, {26.0, 1.0, 1.0}}, {1, {1.0, 26.0, 1.0}}, {4, {1.0, 1.0, 26.0}},
    {2, {1.0, 1.0, 1.0}},  {3, {1.0, 1.0, 1.0}},  {-1, {1.0, 1.0, 1.0}},
};

TEST(PlayerLevels, ExperienceGoesToItsPool) {
    for (const ExperienceRow& row : kExperience) {
        SCOPED_TRACE(row.pool);
        Player p;
        EXPECT_EQ(p.AddExperience(row.pool, 25.0), 1);
        EXPECT_DOUBLE_EQ(p.m_dExperience[0], row.pools[0]);
        EXPECT_DOUBLE_EQ(p.m_dExperience[1], row.pools[1]);
        EXPECT_DOUBLE_EQ(p.m_dExperience[2], row.pools[2]);
        EXPECT_EQ(p.m_iLevel, 0) << "the levels wait for UpdateLevel";
    }
}

}  // namespace
