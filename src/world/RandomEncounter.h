#pragma once
// Randomness that fills the world without being stored in it: the groups that
// may be met in a land (RandomEncounter, with the land's encounter check), and
// the scenery scattered over each cell as it is filled, drawn from a sequence
// seeded by the cell's place so that a cell looks the same at every load.

#include <cstdint>
#include <memory>
#include <string>

#include "world/Object.h"
#include "world/ObjectHolder.h"

class Group;

// A group that may be met in a land; `time` is its weight and the unit of its
// mean interval. The encounter owns its group.
class RandomEncounter : public Object {
    QV_DECLARE_CLASS(RandomEncounter)
public:
    RandomEncounter();
    ~RandomEncounter() override;
    RandomEncounter(const RandomEncounter&) = delete;
    RandomEncounter& operator=(const RandomEncounter&) = delete;

    void Serialize(qv::Archive& ar) override;
    std::string GetDisplayName() override;
    // Whether the encounter can be met: it has a group and a time of 1 or more.
    bool IsUsable() const { return group != nullptr && time >= 1; }

    Group* group = nullptr;  // owned
    int32_t time = 0;
};

// Game time units per unit of an encounter's time.
inline constexpr int32_t kEncounterTimeUnit = 2000;
// Bounds of the wait between two encounter checks, in game time.
inline constexpr int32_t kEncounterWaitMin = 20000;
inline constexpr int32_t kEncounterWaitMax = 300000;
// Half-axes of the ellipse around the view centre where groups turn up.
inline constexpr int32_t kEncounterReachX = 300;
inline constexpr int32_t kEncounterReachY = 200;

// A point of the cell whose top-left pixel is `pos`, at least `margin` pixels
// from its edges, with even coordinates.
Position RandomPointInCell(const Position& pos, int32_t margin);
