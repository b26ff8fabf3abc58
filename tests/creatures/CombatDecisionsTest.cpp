// A creature's decision in a fight: the end of a fight, its combat orders,
// the choice of target, evading, and the choice between a strike, a shot, a
// spell and standing.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "creatures/FightSupport.h"
#include "items/Magic.h"
#include "items/Spell.h"

namespace {

using fight_test::FightFixture;
using fight_test::TestWeapon;

// A creature that records which attack it chose instead of making it.
class Chooser : public Player {
public:
    int MeleeAttack(int32_t, MapMaster*) override {
        ++melee;
        return 1;
    }
    int RangedAttack(int32_t, MapMaster*) override {
        ++ranged;
        return 1;
    }
    int CastSpell(std::unique_ptr<Spell>, Object* target, int32_t) override {
        ++casts;
        castOn = target;
        return 1;
    }
    int melee = 0, ranged = 0, casts = 0;
    Object* castOn = nullptr;
};

// A spell of a chosen weight and target kind.
class WeighedSpell : public Spell {
public:
    WeighedSpell(int weight = 10, int targetKind = SpellTargetKind::AnyLiving)
        : weight(weight), targetKind(targetKind) {}
    int GetCastWeight(Player*) override { return weight; }
    int GetTargetKind() override { return targetKind; }
    Object* Clone() override { return new WeighedSpell(weight, targetKind); }
    int weight, targetKind;
};

class Decisions : public FightFixture {
protected:
    Chooser* Fighter(Position at) {
        auto* p = Make<Chooser>();
        Put(p, at);
        p->m_iMaxHitPoints = p->m_iHitPoints = 20;
        p->m_iRadius = 0;
        p->Events().Clear();
        return p;
    }
    Position East(int dx, int dy = 0) const { return {At(20, 20).x + dx, At(20, 20).y + dy, 0}; }
    int32_t now = 10000;
};

TEST_F(Decisions, AFightWithoutOpponentsEndsAndTheLevelIsCounted) {
    Chooser* p = Fighter(East(0));
    Player* foe = Place(East(40));
    Pair(p, foe);
    p->m_pTarget = foe;
    p->m_pCombatOrder = std::make_unique<ObjectEvent>(static_cast<int32_t>(CombatOrderType::Hold));
    p->m_dExperience = {1500, 0, 0};  // one level's worth
    foe->TakeDamage(100, 0);          // its death parts them
    EXPECT_EQ(p->Attack(now, &map), 0);
    EXPECT_EQ(p->m_pCombatOrder, nullptr);
    EXPECT_EQ(p->m_pTarget.Get(), nullptr);
    EXPECT_EQ(p->m_iHostileMode, 0);
    EXPECT_EQ(p->m_iLevel, 1);
}

TEST_F(Decisions, AWalkOrderIsDoneNearItsPoint) {
    struct Row {
        const char* rule;
        int dx;
        bool walks;
    };
    const Row rows[] = {{"2 pixels away: done, it fights on", 2, false},
                        {"3 pixels away (9): done", 3, false},
                        {"4 pixels away: it walks", 4, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Player* foe = Place(East(40, 200));
        Pair(p, foe);
        Arm(p, std::make_unique<TestWeapon>(50, 2));
        p->m_pCombatOrder =
            std::make_unique<ObjectEvent>(static_cast<int32_t>(CombatOrderType::WalkTo), 0, nullptr,
                                          0, p->m_Position.x + r.dx, p->m_Position.y);
        EXPECT_EQ(p->Attack(now, &map), 1);
        EXPECT_EQ(p->m_pCombatOrder != nullptr, r.walks);
        EXPECT_EQ(p->melee, r.walks ? 0 : 1);
        Unplace(2);
    }
}

TEST_F(Decisions, AnAttackOrderStrikesWithTheWeaponItNames) {
    struct Row {
        const char* rule;
        StrikeWeapon which;
        bool hasBow;
        int dx, melee, ranged;
    };
    const Row rows[] = {
        {"the melee weapon", StrikeWeapon::Melee, true, 300, 1, 0},
        {"the bow", StrikeWeapon::Ranged, true, 30, 0, 1},
        {"no bow: a strike", StrikeWeapon::Ranged, false, 300, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Player* foe = Place(East(r.dx));
        Player* other = Place(East(20, 100));
        Pair(p, foe);
        Pair(p, other);
        Arm(p, std::make_unique<TestWeapon>(50, 2));
        if (r.hasBow) Arm(p, std::make_unique<TestWeapon>(50, 2, 0, 21, true));
        p->m_pCombatOrder =
            std::make_unique<ObjectEvent>(static_cast<int32_t>(CombatOrderType::AttackWith), 0, foe,
                                          static_cast<int32_t>(r.which));
        EXPECT_EQ(p->Attack(now, &map), 1);
        EXPECT_EQ(p->m_pTarget.Get(), foe);
        EXPECT_EQ(p->melee, r.melee);
        EXPECT_EQ(p->ranged, r.ranged);
        EXPECT_NE(p->m_pCombatOrder, nullptr) << "the order stays for the next thought";
        foe->TakeDamage(100, 0);
        p->Attack(now, &map);
        EXPECT_EQ(p->m_pCombatOrder, nullptr) << "a dead target ends it";
        Unplace(3);
    }
}

TEST_F(Decisions, TheNearestBecomesTheTargetWhenItComesClose) {
    // Close is nearer than 4000 (squared); a target that close is kept.
    struct Row {
        const char* rule;
        bool targeted;  // the farther one is the target beforehand
        int tdx, tdy, ndx, ndy;
        bool nearest;  // the nearest is the target afterwards
    };
    const Row rows[] = {
        {"no target: the nearest", false, -200, 0, 150, 0, true},
        {"both beyond 4000: the target stays", true, -200, 0, 150, 0, false},
        {"a close one (3600) takes over", true, -200, 0, 0, 60, true},
        {"the nearest at 3994: close, it takes over", true, -200, 0, 63, 5, true},
        {"the nearest exactly at 4000: not close, the target stays", true, -200, 0, 60, 20, false},
        {"the nearest at 4001: the target stays", true, -200, 0, 40, 49, false},
        {"a target at 3994 is close itself: it stays", true, 63, 5, 0, 60, false},
        {"a target exactly at 4000 gives way to a close one", true, 60, 20, 0, 60, true},
        {"a target at 4001 gives way", true, 40, 49, 0, 60, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Arm(p, std::make_unique<TestWeapon>(50, 2));
        Player* held = Place(East(r.tdx, r.tdy));
        Player* nearest = Place(East(r.ndx, r.ndy));
        Pair(p, held);
        Pair(p, nearest);
        if (r.targeted) p->m_pTarget = held;
        p->Attack(now, &map);
        EXPECT_EQ(p->m_pTarget.Get(), r.nearest ? nearest : held);
        Unplace(3);
    }
}

TEST_F(Decisions, AnArcherStrikesUpCloseAndShootsFromAfar) {
    struct Row {
        const char* rule;
        int dx;
        int32_t rangedMode;
        bool hold;
        int melee, ranged, moves;
        int32_t method = 0;  // the seventh combat setting
        bool armed = true;
        int dy = 0;
    };
    const Row rows[] = {
        {"50 pixels (2500): a strike", 50, 2, false, 1, 0, 0},
        {"70 pixels (4900): a shot", 70, 2, false, 0, 1, 0},
        {"ranged mode 1 shoots even up close", 50, 1, false, 0, 1, 0},
        {"ranged mode 0 still shoots from afar with method 0", 70, 0, false, 0, 1, 0},
        {"with any other method ranged mode 0 strikes", 70, 0, false, 1, 0, 0, 1},
        {"and mode 2 shoots", 70, 2, false, 0, 1, 0, 1},
        {"holding: no shot, and no strike at 50 pixels (2500)", 50, 2, true, 0, 0, 1},
        {"holding: a strike at 44 pixels (1936)", 44, 2, true, 1, 0, 0},
        {"holding: a strike at 1997 (29, 34)", 29, 2, true, 1, 0, 0, 0, true, 34},
        {"holding: no strike exactly at 2000 (44, 8)", 44, 2, true, 0, 0, 1, 0, true, 8},
        {"holding: no strike at 2005 (41, 18)", 41, 2, true, 0, 0, 1, 0, true, 18},
        {"without a weapon it stands", 30, 2, false, 0, 0, 1, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Player* foe = Place(East(r.dx, r.dy));
        Pair(p, foe);
        world.m_pLeader = p;  // in the leader's group: no strike for want of a bow
        if (r.armed) {
            Arm(p, std::make_unique<TestWeapon>(50, 2));
            Arm(p, std::make_unique<TestWeapon>(50, 2, 0, 21, true));
        }
        p->m_iRangedMode = r.rangedMode;
        p->m_iCombatSettings[6] = r.method;
        if (r.hold)
            p->m_pCombatOrder =
                std::make_unique<ObjectEvent>(static_cast<int32_t>(CombatOrderType::Hold));
        EXPECT_EQ(p->Attack(now, &map), 1);
        EXPECT_EQ(p->melee, r.melee);
        EXPECT_EQ(p->ranged, r.ranged);
        int moves = 0;
        for (int i = 0; i < p->Events().Count(); ++i)
            moves += p->Events().At(i).m_iType == ObjectEventType::MOVE;
        EXPECT_EQ(moves, r.moves) << "standing is a step on the spot";
        if (!r.armed) {
            EXPECT_EQ(p->Events().Count(), 1) << "the step alone";
        }
        if (r.moves) {
            EXPECT_EQ(p->m_iFightMode, 3);
        }
        world.m_pLeader = nullptr;
        Unplace(2);
    }
}

TEST_F(Decisions, AnEvadingCreatureStepsAwayFromTheOpponent) {
    // The opponent 50 pixels straight east: the +y step goes first (a delta
    // of 0 counts as positive, and the smaller distance is along y), then
    // the east step; it steps west or north.
    std::set<std::pair<int, int>> seen;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        qv::SeedRand(seed);
        Chooser* p = Fighter(At(20, 20));
        Player* foe = Place({At(20, 20).x + 50, At(20, 20).y, 0});
        Pair(p, foe);
        Arm(p, std::make_unique<TestWeapon>(50, 2));
        p->m_bEvading = 1;
        EXPECT_EQ(p->Attack(now, &map), 1);
        EXPECT_EQ(p->melee, 0);
        ASSERT_EQ(p->Events().Count(), 1);
        const ObjectEvent& step = p->Events().At(0);
        ASSERT_EQ(step.m_iType, ObjectEventType::MOVE);
        const int dx = step.m_iArg1 - p->m_Position.x, dy = step.m_iArg2 - p->m_Position.y;
        EXPECT_TRUE((dx < 0 && dy == 0) || (dx == 0 && dy < 0)) << dx << "," << dy;
        seen.insert({dx < 0 ? -1 : 0, dy < 0 ? -1 : 0});
        Unplace(2);
    }
    EXPECT_EQ(seen.size(), 2u) << "both ways away are taken";
}

TEST_F(Decisions, AnEvadingCreatureInACornerDropsTheStepAlongTheSmallerDistanceFirst) {
    // In the window's first cell only the east and south steps are free; the
    // step toward the opponent along the smaller distance goes, and the one
    // left is taken. Equal distances count y as the smaller.
    for (auto [rule, dx, dy, east] :
         {std::tuple{"equal distances: the south step goes", 40, 40, true},
          {"y the smaller: the south step goes", 40, 39, true},
          {"x the smaller: the east step goes", 39, 40, false}}) {
        SCOPED_TRACE(rule);
        Chooser* p = Fighter(At(10, 10));
        Player* foe = Place({At(10, 10).x + dx, At(10, 10).y + dy, 0});
        Pair(p, foe);
        p->m_bEvading = 1;
        EXPECT_EQ(p->Attack(now, &map), 1);
        ASSERT_EQ(p->Events().Count(), 1);
        const ObjectEvent& step = p->Events().At(0);
        EXPECT_EQ(step.m_iArg1 > p->m_Position.x, east);
        EXPECT_EQ(step.m_iArg2 > p->m_Position.y, !east);
        Unplace(2);
    }
}

TEST_F(Decisions, AMonsterCastsByTheWeightOfItsSpells) {
    struct Row {
        const char* rule;
        bool armed;
        int casts;  // of 3000 decisions
        int tolerance;
    };
    // Spells of 50 in all beside 100 for attacking: a third of the time.
    const Row rows[] = {{"armed: about a third", true, 1000, 120},
                        {"unarmed: always", false, 3000, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Player* foe = Place(East(30));
        Pair(p, foe);
        if (r.armed) Arm(p, std::make_unique<TestWeapon>(50, 2));
        p->m_pMagic = std::make_unique<Magic>();
        p->m_pMagic->m_SpellList.push_back(std::make_unique<WeighedSpell>(20));
        p->m_pMagic->m_SpellList.push_back(
            std::make_unique<WeighedSpell>(30, SpellTargetKind::PartyMember));
        for (int i = 0; i < 3000; ++i) {
            p->Events().Clear();
            p->Attack(now, &map);
        }
        EXPECT_NEAR(p->casts, r.casts, r.tolerance);
        EXPECT_EQ(p->casts + p->melee, 3000);
        Unplace(2);
    }
}

TEST_F(Decisions, AFriendlySpellIsCastOnItselfAndAnotherOnTheTarget) {
    struct Row {
        const char* rule;
        int targetKind;
        bool onSelf;
    };
    const Row rows[] = {{"a party spell: on itself", SpellTargetKind::PartyMember, true},
                        {"any other: on the target", SpellTargetKind::AnyLiving, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Chooser* p = Fighter(East(0));
        Player* foe = Place(East(30));
        Pair(p, foe);
        p->m_pMagic = std::make_unique<Magic>();
        p->m_pMagic->m_SpellList.push_back(std::make_unique<WeighedSpell>(10, r.targetKind));
        p->m_iAttackTime = 700;
        EXPECT_EQ(p->Attack(now, &map), 1);
        EXPECT_EQ(p->casts, 1);
        EXPECT_EQ(p->castOn, r.onSelf ? static_cast<Object*>(p) : foe);
        ASSERT_EQ(p->Events().Count(), 1);
        EXPECT_EQ(p->Events().At(0).m_iType, ObjectEventType::THINK);
        EXPECT_EQ(p->Events().At(0).m_iTime, now + 700);
        Unplace(2);
    }
}

TEST_F(Decisions, ACastOrderQueuesItsSpellAndEnds) {
    Chooser* p = Fighter(East(0));
    Player* foe = Place(East(30));
    Pair(p, foe);
    auto order = std::make_unique<ObjectEvent>(
        ObjectEvent::MakeSpell(0, foe, std::make_unique<WeighedSpell>()));
    order->m_iType = static_cast<int32_t>(CombatOrderType::CastOn);
    p->m_pCombatOrder = std::move(order);
    p->Attack(now, &map);
    EXPECT_EQ(p->m_pCombatOrder, nullptr);
    int spells = 0;
    for (int i = 0; i < p->Events().Count(); ++i)
        if (p->Events().At(i).m_iType == ObjectEventType::SPELL) {
            ++spells;
            EXPECT_EQ(p->Events().At(i).m_pObject.Get(), foe);
        }
    EXPECT_EQ(spells, 1);
}

}  // namespace
