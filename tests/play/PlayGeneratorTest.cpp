// Monster generators in play: a generator within reach of the leader sends
// its group; a running fight is reset when the party is down, and the reset
// sends the party to the exit.

#include <cstdlib>
#include <memory>
#include <tuple>
#include <vector>

#include "PlayFixture.h"
#include "creatures/MonsterGenerator.h"
#include "creatures/Species.h"
#include "platform/Rand.h"

using namespace play_test;

namespace {

constexpr int32_t kReach = Play::kGeneratorReach;

// A world and a play with a placed generator of goblins at cell (30, 30) and
// a leader and a dog in the party.
struct GeneratorPlay : PlayFixture {
    using PlayFixture::map, PlayFixture::PlaceMember, PlayFixture::play, PlayFixture::world;
    void TestBody() override {}
    GeneratorPlay() {
        generator = new MonsterGenerator;
        generator->m_iMode = 1;
        generator->m_pTemplates = std::make_unique<Group>("Group");
        generator->m_pTemplates->m_bGrouped = 1;
        generator->m_pTemplates->AddMemberDirect(Species::Make("Goblin").release());
        Lay(generator, At(30, 30));
        play.m_iStartState = 0;  // play has started
    }
    Player* PlaceLeader(const Position& pos) {
        leader = PlaceMember(0, pos);
        world.m_pLeader = leader;
        world.m_ptFocus = {pos.x, pos.y};  // the view is on the leader
        return leader;
    }
    Position GeneratorAt() const { return generator->m_pHolder->pos; }
    MonsterGenerator* generator = nullptr;
    Player* leader = nullptr;
};

// The reach is measured as the map spaces creatures: dx * dx + dy * dy / 2
// against 480 * 480 = 230400. Across, 480 pixels is the bound; down,
// 678 * 678 / 2 = 229842 is within it and 679 * 679 / 2 = 230520 beyond. A
// fallen leader sets nothing off.
TEST(PlayGenerators, TheLeaderSetsAGeneratorOffWithinItsReach) {
    struct Row {
        const char* what;
        int32_t dx, dy;
        int fires;
        int16_t lifeState = 1;
    };
    const std::vector<Row> rows = {
        {"a pixel inside the reach across", kReach - 1, 0, 1},
        {"at the reach across", kReach, 0, 1},
        {"a pixel beyond the reach across", kReach + 1, 0, 0},
        {"at the reach to the west", -kReach, 0, 1},
        {"within the reach down", 0, 678, 1},
        {"beyond the reach down", 0, 679, 0},
        {"beyond the reach up", 0, -679, 0},
        {"far away", 4 * 160, 4 * 112, 0},
        {"a fallen leader on the generator", 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        GeneratorPlay g;
        const Position at = g.GeneratorAt();
        g.PlaceLeader(Position(at.x + r.dx, at.y + r.dy, 0))->m_sLifeState = r.lifeState;
        qv::SeedRand(1);
        EXPECT_EQ(g.play.SetOffGenerators(), r.fires);
        EXPECT_EQ(g.generator->m_pSpawned.Get() != nullptr, r.fires == 1);
        EXPECT_EQ(g.world.m_pActiveGenerator.Get() == g.generator, r.fires == 1);
    }
}

// The leader walks toward the generator: the tick in which it first comes
// within reach is the tick the group appears.
TEST(PlayGenerators, ThePartyWalksNearAndTheGroupAppearsAroundTheGenerator) {
    GeneratorPlay g;
    const Position gen = g.GeneratorAt();
    g.PlaceLeader(Position(gen.x, gen.y + 8 * 112, 0))->SetLevel(5);
    g.leader->UpdateLevel();
    qv::SeedRand(7);
    ASSERT_EQ(g.play.Give(Order::At(Order::Kind::WalkTo, gen)), 2);
    constexpr int64_t kReachSq = int64_t{kReach} * kReach;
    for (int tick = 0; tick < 400 && !g.generator->m_pSpawned; ++tick) {
        EXPECT_GT(g.map.PixelDistanceSq(g.leader->m_pHolder->pos, gen), kReachSq) << tick;
        g.play.Tick(Play::kNormalTickStep);
    }
    Group* spawned = g.generator->m_pSpawned.Get();
    ASSERT_NE(spawned, nullptr) << "the leader never came near";
    EXPECT_LE(g.map.PixelDistanceSq(g.leader->m_pHolder->pos, gen), kReachSq);
    // Placed on the map at the generator's corners, as many as its level
    // and the leader's give.
    auto* first = static_cast<Player*>(spawned->Members().front());
    first->UpdateLevel();
    EXPECT_EQ(spawned->GetMemberCount(), MonsterGenerator::MonsterCount(5, first->m_iLevel));
    for (Member* m : spawned->Members()) {
        auto* p = static_cast<Player*>(m);
        EXPECT_EQ(std::tuple(std::abs(p->m_Position.x - gen.x), std::abs(p->m_Position.y - gen.y),
                             p->m_pHolder != nullptr),
                  std::tuple(160, 112, true));
    }
}

// Each tick, with a leader and a running fight, the fight ends when every
// member of the leader's group lies at life state 0: a life state above or
// below it keeps the fight on. The shell's check of a member with no life
// left resets a running fight at once; a generator of mode 0 runs no fight,
// and nothing resets it. The reset lets the group go and sends the party to
// the generator's cell plus the exit offsets.
TEST(PlayGenerators, TheTickResetsTheFightOnceThePartyIsDown) {
    struct Row {
        const char* what;
        int16_t leaderState, dogState;
        bool reset;
        int32_t mode = 1;
        bool shell = false;  // the shell's check after the tick
    };
    const std::vector<Row> rows = {
        {"both standing", 1, 1, false},
        {"the dog down, the leader standing", 1, 0, false},
        {"both down", 0, 0, true},
        {"the dog dead beyond reviving", 0, -1, false},
        {"the shell's check of the fallen dog", 1, 0, true, 1, true},
        {"mode 0: no fight runs", 0, 0, false, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        GeneratorPlay g;
        g.generator->m_iMode = r.mode;
        g.generator->m_iExitX = -4;
        g.generator->m_iExitY = -3;
        g.generator->m_bSendParty = 1;
        g.PlaceLeader(g.GeneratorAt());
        Player* dog = g.PlaceMember(1, At(30, 31));
        ASSERT_EQ(g.play.SetOffGenerators(), 1);
        EXPECT_EQ(g.play.ActiveGenerator() != nullptr, r.mode == 1);
        g.leader->m_sLifeState = r.leaderState;
        dog->m_sLifeState = r.dogState;
        g.play.Tick(Play::kNormalTickStep);
        if (r.shell) g.play.ResetGeneratorFight(g.leader->m_pGroup);
        EXPECT_EQ(g.generator->m_pSpawned.Get() == nullptr, r.reset);
        EXPECT_EQ(g.world.m_pActiveGenerator.Get() == nullptr, r.reset || r.mode == 0);
        if (!r.reset) continue;
        // Cell (30, 30) plus (-4, -3): the party stands in cell (26, 27).
        ASSERT_NE(g.leader->m_pHolder, nullptr);
        EXPECT_EQ(MapMaster::PixelToCell(g.leader->m_pHolder->pos), (CellPoint{26, 27}));
    }
}

}  // namespace
