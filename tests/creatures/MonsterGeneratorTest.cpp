// Monster generators: how many monsters a creature meets, firing a levelled
// group once, the reset after the fight, the stored record; and tokens.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/MonsterGenerator.h"
#include "creatures/Species.h"
#include "items/Bag.h"
#include "items/Token.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/KeyStorage.h"

namespace {

using record_test::Bytes;

TEST(MonsterGenerator, HowManyMonstersAreMet) {
    struct Row {
        const char* what;
        int32_t level, n;
        int count;
    };
    const std::vector<Row> rows = {
        {"a match for its level", 5, 5, 1},
        {"one level below", 5, 4, 2},
        {"two levels below", 5, 3, 3},
        {"three levels below", 5, 2, 4},
        {"four levels below: one again", 5, 1, 1},
        {"above its level", 5, 6, 1},
        {"level 1 always meets one", 1, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(MonsterGenerator::MonsterCount(r.level, r.n), r.count);
    }
}

struct GeneratorWorld {
    GeneratorWorld() { small.world.CreateRootGroups(); }
    world_test::SmallWorld small;
    MonsterGenerator generator;
    std::unique_ptr<Player> hero = Species::Make("Human");

    void GiveTemplates(std::initializer_list<const char*> kinds) {
        generator.m_pTemplates = std::make_unique<Group>("Templates");
        generator.m_pTemplates->m_bGrouped = 1;
        for (const char* k : kinds)
            generator.m_pTemplates->AddMemberDirect(Species::Make(k).release());
    }
    int Fire() {
        int code = 0;
        return generator.Activate(&code, hero.get());
    }
};

TEST(MonsterGenerator, NothingFiresWithoutACreatureOrATemplate) {
    struct Row {
        const char* what;
        std::function<void(GeneratorWorld&)> setUp;
        bool noActor;
    };
    const std::vector<Row> rows = {
        {"no templates", [](GeneratorWorld&) {}, false},
        {"an empty template group", [](GeneratorWorld& g) { g.GiveTemplates({}); }, false},
        {"a template group of groups only",
         [](GeneratorWorld& g) {
             g.GiveTemplates({});
             g.generator.m_pTemplates->AddMemberDirect(new Group("Inner"));
         },
         false},
        {"no creature set it off", [](GeneratorWorld& g) { g.GiveTemplates({"Goblin"}); }, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        GeneratorWorld g;
        g.hero->m_Position = Position(2000, 1500, 0);
        r.setUp(g);
        int code = 0;
        EXPECT_EQ(g.generator.Activate(&code, r.noActor ? nullptr : g.hero.get()), 0);
        EXPECT_EQ(g.generator.m_pSpawned.Get(), nullptr);
    }
}

// The level roll (0..6 less 3) gives the monsters' level n, never below 1;
// they stand at the creature's corners one after another from a drawn one,
// whole and out to attack, and the generator fires once while they live.
TEST(MonsterGenerator, ACreatureMeetsLevelledMonstersAtSuccessiveCorners) {
    struct Row {
        const char* what;
        const char* kind;
        int32_t level, roll;
        int count;
        int32_t monsterLevel;
    };
    const std::vector<Row> rows = {
        {"level 1 meets one of its level", "Goblin", 1, 0, 1, 1},
        {"level 1 with the lowest roll: still level 1", "Goblin", 1, -3, 1, 1},
        {"level 5 rolled two below: three of level 3", "GiantRat", 5, -2, 3, 3},
        {"level 5 rolled above: one of level 7", "GiantRat", 5, 2, 1, 7},
    };
    static constexpr int kCorners[4][2] = {{-160, -112}, {160, -112}, {-160, 112}, {160, 112}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        GeneratorWorld g;
        g.GiveTemplates({r.kind});
        g.hero->m_Position = Position(14 * 160 + 80, 14 * 112 + 56, 0);
        g.hero->SetLevel(r.level);
        g.hero->UpdateLevel();
        ASSERT_EQ(g.hero->m_iLevel, r.level);
        uint32_t seed = 1;
        for (;; ++seed) {
            qv::SeedRand(seed);
            if (qv::Rand() % 7 - 3 == r.roll) break;
        }
        qv::SeedRand(seed);
        qv::Rand();  // the level roll
        qv::Rand();  // the template
        int corner = qv::Rand() % 4;
        qv::SeedRand(seed);
        const int before = g.small.world.m_pRandomEncounters->GetMemberCount();
        ASSERT_EQ(g.Fire(), Object::kWorldChanged);
        EXPECT_EQ(g.small.world.m_pRandomEncounters->GetMemberCount(), before + 1);
        Group* spawned = g.generator.m_pSpawned.Get();
        ASSERT_NE(spawned, nullptr);
        ASSERT_EQ(spawned->GetMemberCount(), r.count);
        for (Member* m : spawned->Members()) {
            auto* p = static_cast<Player*>(m);
            SCOPED_TRACE(corner);
            EXPECT_STREQ(p->GetRuntimeClass()->name, r.kind);
            EXPECT_EQ(p->m_Position.x - g.hero->m_Position.x, kCorners[corner][0]);
            EXPECT_EQ(p->m_Position.y - g.hero->m_Position.y, kCorners[corner][1]);
            EXPECT_EQ(p->m_iHitPoints, p->m_iMaxHitPoints);
            EXPECT_EQ(p->m_iActionOption, ActionOption::Attack);
            p->UpdateLevel();
            EXPECT_EQ(p->m_iLevel, r.monsterLevel);
            corner = (corner + 1) % 4;
        }
        EXPECT_EQ(g.Fire(), 0) << "while its group lives it does not fire again";
    }
}

TEST(MonsterGenerator, TheResetRevivesTheFallenAndLetsTheGroupGo) {
    GeneratorWorld g;
    g.GiveTemplates({"Gel"});
    g.generator.m_iMode = 1;
    g.generator.m_iKeyNumber = 42;  // a key number without a record signals nothing
    ASSERT_EQ(g.Fire(), Object::kWorldChanged);
    EXPECT_EQ(g.small.world.m_pActiveGenerator.Get(), &g.generator);
    Group party("Party");
    Player* man = Species::Make("Human").release();
    Player* dog = Species::Make("Dog").release();
    party.AddMemberDirect(man);
    party.AddMemberDirect(dog);
    man->m_sLifeState = 0;
    man->m_iHitPoints = 0;
    dog->m_iPoison = 4;
    g.generator.CheckReset(&party);
    EXPECT_NE(g.generator.m_pSpawned.Get(), nullptr) << "the dog still stands";
    dog->m_sLifeState = 0;
    g.generator.CheckReset(&party);
    EXPECT_EQ(g.generator.m_pSpawned.Get(), nullptr);
    EXPECT_EQ(man->m_sLifeState, 1);
    EXPECT_EQ(man->m_iHitPoints, 1);
    EXPECT_EQ(man->m_pBag->m_iBagKind, 1);
    EXPECT_EQ(dog->m_pBag->m_iBagKind, 2);
    EXPECT_EQ(dog->m_iPoison, 0);
    EXPECT_EQ(g.small.world.m_pActiveGenerator.Get(), nullptr);
    // Idle again: it fires anew.
    EXPECT_EQ(g.Fire(), Object::kWorldChanged);
}

TEST(MonsterGenerator, ItsRecordLaidOutByHand) {
    World world;
    MonsterGenerator g;
    g.m_iMode = 1;
    g.m_iExitX = -2;
    g.m_iExitY = 3;
    g.m_iKeyNumber = 7;
    g.m_bSendParty = 1;
    const Bytes stored = record_test::StoreObject(g);
    // The head: the class and its schema 3.
    const Bytes head{0xFF, 0xFF, 3,   0,   16,  0,   'M', 'o', 'n', 's', 't',
                     'e',  'r',  'G', 'e', 'n', 'e', 'r', 'a', 't', 'o', 'r'};
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + static_cast<long>(head.size())), head);
    // The tail: no templates (a null tag), then the five values.
    Bytes tail;
    record_test::PutBytes(
        tail, {0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0});
    EXPECT_EQ(Bytes(stored.end() - static_cast<long>(tail.size()), stored.end()), tail);
    std::unique_ptr<Object> back = record_test::LoadObject<Object>(stored);
    ASSERT_NE(qv::DynamicCast<MonsterGenerator>(back.get()), nullptr);
    EXPECT_EQ(record_test::StoreObject(*back), stored);
    // A schema-2 record ends after the templates: the rest keep their defaults.
    Bytes old = stored;
    old.resize(old.size() - 20);
    old[2] = 2;
    std::unique_ptr<Object> older = record_test::LoadObject<Object>(old);
    auto* o = qv::DynamicCast<MonsterGenerator>(older.get());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->m_iMode, 0);
    EXPECT_EQ(o->m_iExitX, 0);
    EXPECT_EQ(o->m_iKeyNumber, -1);
    EXPECT_EQ(o->m_bSendParty, 0);
    // Every cut of the five values is refused.
    for (size_t cut = stored.size() - 19; cut < stored.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(record_test::RefusalOf<Object>(
                      Bytes(stored.begin(), stored.begin() + static_cast<long>(cut))),
                  qv::ArchiveError::EndOfFile);
    }
}

TEST(MonsterGenerator, TemplatesComeBackWithTheirSpecies) {
    GeneratorWorld g;
    g.GiveTemplates({"DarkHound", "Skeleton"});
    const Bytes stored = record_test::StoreObject(g.generator);
    std::unique_ptr<Object> back = record_test::LoadObject<Object>(stored);
    auto* read = qv::DynamicCast<MonsterGenerator>(back.get());
    ASSERT_NE(read, nullptr);
    ASSERT_NE(read->m_pTemplates, nullptr);
    std::vector<std::string> names;
    for (Member* m : read->m_pTemplates->Members()) names.push_back(m->GetRuntimeClass()->name);
    EXPECT_EQ(names, (std::vector<std::string>{"DarkHound", "Skeleton"}));
}

TEST(Token, GivenToATakerItSwitchesTheLever) {
    World world;
    Token token;
    token.m_iBulkNum = 2;
    TokenTaker taker;
    Lever plain;
    std::unique_ptr<Player> user = Species::Make("Human");
    EXPECT_EQ(token.IsValidTarget(&taker), 1);
    EXPECT_EQ(token.IsValidTarget(&plain), 0);
    EXPECT_EQ(token.Use(user.get(), &plain), 0) << "a token used on anything else stays";
    EXPECT_EQ(token.m_iBulkNum, 2);
    EXPECT_EQ(token.Use(nullptr, &taker), 0);
    const int before = taker.m_iState;
    EXPECT_EQ(token.Use(user.get(), &taker), 0);
    EXPECT_EQ(token.m_iBulkNum, 1);
    EXPECT_NE(taker.m_iState, before);
    EXPECT_EQ(token.Use(user.get(), &taker), 1) << "the last token goes";
    int other = 2;
    EXPECT_EQ(taker.Activate(&other, user.get()), 0) << "only a token switches a taker";
    EXPECT_EQ(token.Type(), TOKEN);
    EXPECT_EQ(taker.Type(), TOKENTAKER);
}

}  // namespace
