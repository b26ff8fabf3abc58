#include "creatures/PlayerMove.h"

#include <memory>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "platform/Rand.h"
#include "world/Map.h"

QV_IMPLEMENT_SERIAL(PlayerMove, qv::Persistent, 1, true)
QV_IMPLEMENT_SERIAL(PlayerMoveTo, PlayerMove, 1, false)

void PlayerMove::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
}

void PlayerMove::Describe(std::string* text) {
    *text = "PlayerMove";
}

// Record: the PlayerMove part under its own class, then x and y.
void PlayerMoveTo::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&PlayerMove::classInfo);
    PlayerMove::Serialize(ar);
    ar.Exchange(m_iX);
    ar.Exchange(m_iY);
}

void PlayerMoveTo::Describe(std::string* text) {
    *text = qv::Format("Move to:  %d, %d", m_iX, m_iY);
}

namespace {

constexpr int kRandomTries = 2000;

bool HasMoveTo(const Player& creature, qv::Point cell) {
    for (const auto& m : creature.m_MoveList) {
        const auto* to = qv::DynamicCast<PlayerMoveTo>(m.get());
        if (to && to->m_iX == cell.x && to->m_iY == cell.y) return true;
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
        qv::Point start, goal;
        AStar::StartAndGoal(map, own, cell, &start, &goal);
        AStar search;
        search.FindPath(start.x, start.y, goal.x, goal.y, &map, nullptr);
        if (!search.Found() || HasMoveTo(creature, cell)) continue;
        creature.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(cell.x, cell.y));
        ++added;
    }
    return added;
}

void InstallScriptedMoves() {
    CMovePatternEvent::SetFiller([](Player* creature, const std::vector<qv::Point>& cells) {
        for (const qv::Point& c : cells)
            creature->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(c.x, c.y));
    });
}
