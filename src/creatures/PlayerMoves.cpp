#include "creatures/PlayerMoves.h"

#include <memory>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "platform/Rand.h"
#include "world/Map.h"

namespace {

constexpr int kRandomTries = 2000;

bool HasMoveTo(const Player& creature, qv::Point cell) {
    for (const auto& m : creature.m_MoveList) {
        const auto* to = qv::DynamicCast<PlayerMoveTo>(m.get());
        if (to && to->x == cell.x && to->y == cell.y) return true;
    }
    return false;
}

}  // namespace

int AddRandomMoves(Player& creature, MapMaster& map) {
    Position at = creature.m_Position;
    map.WrapPosition(at);
    const qv::Point own = MapMaster::PixelToCell(at);
    creature.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(own.x, own.y));
    int added = 1;
    const int wanted = 2 + qv::Rand() % 3;
    for (int tries = 0; tries < kRandomTries && added - 1 < wanted; ++tries) {
        qv::Point cell;
        cell.y = own.y + qv::Rand() % 8 - 4;
        cell.x = own.x + qv::Rand() % 8 - 4;
        map.WrapCell(cell);
        // A cell already listed (the creature's own among them) needs no search.
        if (HasMoveTo(creature, cell)) continue;
        qv::Point start, goal;
        AStar::StartAndGoal(map, own, cell, &start, &goal);
        AStar search;
        search.FindPath(start.x, start.y, goal.x, goal.y, &map, nullptr);
        if (!search.Found()) continue;
        creature.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(cell.x, cell.y));
        ++added;
    }
    return added;
}

void AddMovesTo(Player& creature, const std::vector<qv::Point>& cells) {
    for (const qv::Point& c : cells)
        creature.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(c.x, c.y));
}
