// The explosion's blast: its steps in time, its light, and the creatures of
// the cells around it that it hurts: each once, only in a straight line
// unblocked by anything but things lying about.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "structures/LightSource.h"
#include "world/MapFixture.h"

using namespace maptest;

namespace {

// A creature that remembers the damage it takes.
class Target : public Creature {
public:
    explicit Target(int radius = 6) : Creature(radius) {}
    void TakeDamage(int amount, int kind) override {
        hits.push_back({amount, kind});
        m_hp -= amount;
    }
    struct Hit {
        int amount, kind;
    };
    std::vector<Hit> hits;
};

class ExplosionBlast : public MapFixture {
protected:
    // The blast set off at the centre of world cell (30, 30).
    Explosion* SetOff(Position at = At(30, 30)) {
        auto* blast = Make<Explosion>();
        Position p = at;
        EXPECT_EQ(map.AddHolder(p, Hold(blast)), 1);
        return blast;
    }
    Target* Place(Position at) {
        auto* t = Make<Target>();
        Position p = at;
        EXPECT_EQ(map.AddHolder(p, Hold(t)), 1);
        return t;
    }
    // A solid block of 20 x 20 pixels centred on `at`, of type `type`.
    void Block(Position at, int type) {
        images.push_back(SolidImage(20, 20, 10, 10));
        auto* thing = Make<Thing>(images.back().get(), type);
        Position p = at;
        EXPECT_EQ(map.AddHolder(p, Hold(thing)), 1);
    }
    std::vector<std::unique_ptr<CDDObject>> images;
};

TEST_F(ExplosionBlast, StepsComeAHundredApartAndEndAfterThreeThousand) {
    Explosion* blast = SetOff();
    struct Row {
        const char* rule;
        int32_t now;
        int answer;
        int strength;  // -1: not asked
    };
    const int32_t t0 = 5000;
    const Row rows[] = {
        {"set off: full light", t0, 1, 1000},
        {"99 later: nothing", t0 + 99, 0, 1000},
        {"100 later: a step", t0 + 100, 1,
         static_cast<int>(std::cos(100 * 0.0015707963) * 2900 / 3)},
        {"the next step counts from the last", t0 + 199, 0, -1},
        {"1000 in: the light is out", t0 + 1000, 1, 0},
        {"2000 in: darkness", t0 + 2000, 1, -333},
        {"exactly 3000 in: still a step, light 0", t0 + 3000, 1, 0},
        {"past 3000: over", t0 + 3100, Object::kWorldChanged, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(blast->UpdateState(r.now), r.answer);
        if (r.strength != -1) {
            EXPECT_EQ(blast->m_iStrength, r.strength);
        }
    }
    EXPECT_EQ(blast->m_iState, 1);
    EXPECT_EQ(blast->m_iBlastRadius, 300);
    EXPECT_EQ(blast->m_iPreviousRadius, 200);
}

TEST_F(ExplosionBlast, TheTimeWrapsWithoutEndingTheBlast) {
    Explosion* blast = SetOff();
    const int32_t t0 = INT32_MAX - 50;
    EXPECT_EQ(blast->UpdateState(t0), 1);
    EXPECT_EQ(blast->UpdateState(qv::TimeAdd(t0, 100)), 1);
    EXPECT_EQ(blast->m_iBlastRadius, 10);
}

TEST_F(ExplosionBlast, CreaturesInLineAreHurtByFireOnce) {
    const Position centre = At(30, 30);
    struct Row {
        const char* rule;
        Position at;
        int block;  // -1 none, else the type of a block between
        bool hurt;
    };
    const Row rows[] = {
        {"beside it", {centre.x + 30, centre.y}, -1, true},
        {"in the next cell east", At(31, 30), -1, true},
        {"in the cell diagonally beyond", At(29, 31), -1, true},
        {"two cells away", At(32, 30), -1, false},
        {"behind a wall", {centre.x + 60, centre.y}, 0, false},
        {"behind a thing lying about", {centre.x + 60, centre.y}, USEABLE, true},
        {"behind a scenery piece", {centre.x + 60, centre.y}, SCENERY, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Explosion* blast = SetOff(centre);
        Target* t = Place(r.at);
        if (r.block >= 0) Block({centre.x + 30, centre.y}, r.block);
        qv::SeedRand(99);
        const int want = 10 + qv::Rand() % 20;
        qv::SeedRand(99);
        blast->UpdateState(1000);
        blast->UpdateState(1100);
        blast->UpdateState(1200);
        if (r.hurt) {
            ASSERT_EQ(t->hits.size(), 1u);
            EXPECT_EQ(t->hits[0].amount, want);
            EXPECT_EQ(t->hits[0].kind, 2);
        } else {
            EXPECT_TRUE(t->hits.empty());
        }
        // Clear the map for the next row.
        for (auto& h : owned) map.RemoveHolder(h->pos, h.get());
        owned.clear();
    }
}

TEST_F(ExplosionBlast, ACreatureThatWalksInIsHurtAtTheNextStep) {
    Explosion* blast = SetOff();
    Target* first = Place({At(30, 30).x - 40, At(30, 30).y});
    blast->UpdateState(0);
    ASSERT_EQ(first->hits.size(), 1u);
    Target* late = Place({At(30, 30).x + 40, At(30, 30).y + 20});
    EXPECT_EQ(blast->UpdateState(50), 0);
    EXPECT_TRUE(late->hits.empty()) << "no step yet";
    EXPECT_EQ(blast->UpdateState(100), 1);
    EXPECT_EQ(late->hits.size(), 1u);
    blast->UpdateState(200);
    EXPECT_EQ(late->hits.size(), 1u);
    EXPECT_EQ(first->hits.size(), 1u);
}

TEST_F(ExplosionBlast, DamageRunsInTheOrderOfTheCells) {
    // Columns first, west to east, each north to south: the chance numbers are
    // drawn in that order.
    Explosion* blast = SetOff();
    Target* east = Place(At(31, 30));
    Target* west = Place(At(29, 30));
    Target* northWest = Place(At(29, 29));
    qv::SeedRand(5);
    std::vector<int> draws;
    for (int k = 0; k < 3; ++k) draws.push_back(10 + qv::Rand() % 20);
    qv::SeedRand(5);
    blast->UpdateState(0);
    // Each hurt once (-1 where not), by the draw of its turn.
    const auto hurt = [](const Target* t) { return t->hits.size() == 1 ? t->hits[0].amount : -1; };
    EXPECT_EQ((std::vector<int>{hurt(northWest), hurt(west), hurt(east)}), draws);
}

TEST_F(ExplosionBlast, OutsideTheWindowOnlyTheLightChanges) {
    Explosion blast;
    blast.m_Position = At(5, 5);  // the window starts at cell (10, 10)
    EXPECT_EQ(blast.UpdateState(0), 1);
    EXPECT_EQ(blast.UpdateState(2000), 1);
    EXPECT_EQ(blast.m_iStrength, -333);
}

}  // namespace
