// A creature's steps are the same whether the search of its walk is kept
// between its thoughts or made anew at each: creatures walk to their
// scripted cells across a world stepped tick by tick whose obstacles move
// (the other walkers, a door opened and shut, ground turned solid and back,
// a drawbridge raised and lowered).

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "platform/Rand.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "support/WorldFixture.h"

namespace {

constexpr int32_t kTick = 100;

Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * 160 + dx, cy * 112 + dy, 0};
}

// The world: a wall down the window's middle with a door in it, a channel of
// water with a drawbridge across, a block of ground that turns solid now and
// then, and creatures on both sides with scripted cells on both sides.
class MovingWorld {
public:
    MovingWorld() {
        qv::SeedRand(31);
        MapMaster& map = small.map;
        const CellPoint o = map.origin;
        for (int j = 0; j < MapMaster::high; ++j) {
            Wall* piece = j == 24 ? static_cast<Wall*>(Make<SideDoorBrick>())
                                  : static_cast<Wall*>(Make<SideWall>());
            if (j == 24) {
                piece->m_iItemNum = 5;
                piece->m_iState = Wall::kDoorClosed;
                door = piece;
            }
            Place(piece, At(o.x + 25, o.y + j, 0, 0));
            map.GetCell(38, j).terrain = 3;  // the channel
        }
        bridge = Make<DrawBridge>(1);
        Place(bridge, At(o.x + 38, o.y + 30));
        for (int k = 0; k < 24; ++k) {
            auto* p = Make<Player>();
            const int side = k % 2 ? 30 : 10;
            Position at = At(o.x + side + qv::Rand() % 12, o.y + 2 + qv::Rand() % 44,
                             20 + qv::Rand() % 120, 20 + qv::Rand() % 70);
            p->m_Position = at;
            if (!Place(p, at)) continue;
            p->m_Position = p->m_pHolder->pos;
            p->m_ptStay = MapMaster::PixelToCell(at);
            for (int m = 0; m < 3; ++m)
                p->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(o.x + 2 + qv::Rand() % 46,
                                                                       o.y + 2 + qv::Rand() % 44));
            walkers.push_back(p);
        }
        small.world.m_ptFocus = {At(o.x + 25, o.y + 24).x, At(o.x + 25, o.y + 24).y};
    }
    ~MovingWorld() {
        for (auto& h : holders) small.map.RemoveHolder(h->pos, h.get());
    }

    // Runs the world for `ticks` ticks and tells where every walker stood
    // after each.
    std::string Run(int ticks) {
        std::ostringstream log;
        MapMaster& map = small.map;
        int32_t now = 1000;
        for (int t = 1; t <= ticks; ++t) {
            now += kTick;
            for (Player* p : walkers) p->Update(now, &map);
            if (t % 40 == 0) {
                int lever = 2;  // opens or shuts it, locked or not
                door->Activate(&lever, nullptr);
            }
            if (t % 55 == 0) {
                MapCell& block = map.GetCell(18, 20);
                block.terrain = block.terrain == 7 ? 0 : 7;
            }
            if (t % 70 == 0) {
                bridge->m_bRaised = !bridge->m_bRaised;
                NoteStepChange();
            }
            for (Player* p : walkers) log << p->m_Position.x << ',' << p->m_Position.y << ' ';
            log << '\n';
        }
        return log.str();
    }

    world_test::SmallWorld small;
    std::vector<Player*> walkers;
    Wall* door = nullptr;
    DrawBridge* bridge = nullptr;

private:
    template <class T, class... Args>
    T* Make(Args&&... args) {
        objects.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        return static_cast<T*>(objects.back().get());
    }
    bool Place(Object* obj, Position at) {
        holders.push_back(std::make_unique<ObjectHolder>(at, obj));
        return small.map.AddHolder(at, holders.back().get()) == 1;
    }

    std::vector<std::unique_ptr<Object>> objects;  // outlive the holders' removal
    std::vector<std::unique_ptr<ObjectHolder>> holders;
};

TEST(WalkReuse, StepsAreTheSameWithAndWithoutTheKeptSearch) {
    constexpr int kTicks = 900;
    std::string fresh, kept;
    int64_t searched = 0, reused = 0;
    {
        RememberedSearch::s_reuse = false;
        MovingWorld world;
        ASSERT_GE(world.walkers.size(), 20u);
        const int64_t r0 = RememberedSearch::s_reuses;
        fresh = world.Run(kTicks);
        EXPECT_EQ(RememberedSearch::s_reuses, r0);  // nothing is kept while off
        RememberedSearch::s_reuse = true;
    }
    {
        MovingWorld world;
        const int64_t s0 = RememberedSearch::s_searches, r0 = RememberedSearch::s_reuses;
        kept = world.Run(kTicks);
        searched = RememberedSearch::s_searches - s0;
        reused = RememberedSearch::s_reuses - r0;
    }
    // Each tick's line of positions, compared one by one so that a failure
    // names the first tick that differs.
    std::istringstream a(fresh), b(kept);
    std::string la, lb;
    int tick = 0;
    while (std::getline(a, la) && std::getline(b, lb)) {
        ++tick;
        ASSERT_EQ(la, lb) << "tick " << tick;
    }
    EXPECT_EQ(tick, kTicks);
    // The walkers did walk by their searches, and many thoughts used the kept
    // one, while new cells and the moving obstacles made them search again.
    EXPECT_GT(searched, 100);
    EXPECT_GT(reused, 50);
}

}  // namespace
