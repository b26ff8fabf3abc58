#include "creatures/PlayerMove.h"

#include <memory>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "platform/Format.h"

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

void InstallScriptedMoves() {
    CMovePatternEvent::SetFiller([](Player* creature, const std::vector<qv::Point>& cells) {
        for (const qv::Point& c : cells)
            creature->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(c.x, c.y));
    });
}
