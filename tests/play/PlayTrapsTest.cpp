// Traps in play: a party member walking across the floor steps onto caltrops,
// a shooter's plate or a gas cloud; what it sets off hurts it in the world's
// step.

#include <memory>
#include <string>

#include "PlayFixture.h"
#include "platform/Rand.h"
#include "structures/Furnishings.h"
#include "structures/LightSource.h"
#include "structures/Traps.h"

using namespace play_test;

namespace {

class PlayTraps : public PlayFixture {};

TEST_F(PlayTraps, ACreatureSteppingOntoATrapSetsItOffOnce) {
    // Caltrops hurt at once, 1 + a roll of 6 (seed 1's first roll, 41);
    // a shooter's plate and a gas cloud set off a blast that hurts by fire
    // in the world's next step, 10 + a roll of 20 (the first roll again).
    struct Row {
        const char* rule;
        std::function<Object*()> make;
        bool levitating;
        int crossings;
        int32_t lostAtOnce, lostInTheBlast;
        int blasts;
    };
    const Row rows[] = {
        {"caltrops hurt a creature stepping onto them", [] { return new Caltrops; }, false, 1,
         1 + 41 % 6, 0, 0},
        {"caltrops hurt again at each new crossing", [] { return new Caltrops; }, false, 2,
         2 * (1 + 41 % 6), 0, 0},
        {"a levitating creature passes over caltrops", [] { return new Caltrops; }, true, 1, 0, 0,
         0},
        {"a shooter's plate sets off a blast", [] { return new MissileShooter; }, false, 1, 0,
         10 + 41 % 20, 1},
        {"a gas cloud sets off one blast, then is spent", [] { return new Gas; }, false, 2, 0,
         10 + 41 % 20, 1},
        {"a levitating creature passes over a gas cloud", [] { return new Gas; }, true, 1, 0, 0, 0},
    };
    int row = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        // Each row in a window cell of its own, four cells apart.
        const Position trapAt = At(14 + 4 * row, 30 + row % 2 * 8);
        ++row;
        ObjectHolder* trap = Lay(r.make(), trapAt);
        Player* p = PlaceMember(1 + row % 4, {trapAt.x - 40, trapAt.y, 0});
        p->m_iMaxHitPoints = p->m_iHitPoints = 100;
        p->m_bLevitating = r.levitating ? 1 : 0;
        const size_t lightsBefore = map.GetLightHolders().size();
        int32_t now = 1000;
        for (int crossing = 0; crossing < r.crossings; ++crossing) {
            qv::SeedRand(1);
            const int dir = crossing % 2 == 0 ? 1 : -1;
            for (int step = 0; step < 80; ++step)
                p->HandleMoveEvent(now += 10, p->m_Position.x + 2 * dir, trapAt.y, &map, 0);
        }
        EXPECT_EQ(p->m_iHitPoints, 100 - r.lostAtOnce);
        EXPECT_EQ(map.GetLightHolders().size() - lightsBefore, static_cast<size_t>(r.blasts));
        qv::SeedRand(1);
        map.OnNewHour(now, 12);
        EXPECT_EQ(p->m_iHitPoints, 100 - r.lostAtOnce - r.lostInTheBlast);
        // The blast is over after 3000 and leaves the map.
        map.OnNewHour(now + 3001, 12);
        EXPECT_EQ(map.GetLightHolders().size(), lightsBefore);
        EXPECT_NE(trap->m_pObject, nullptr);
    }
}

}  // namespace
