// A creature's thinking: what it makes of the creatures it meets.

#include <cstdlib>

#include "creatures/Player.h"
#include "creatures/PlayerMoves.h"
#include "media/DDWnd.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace {

// How far a creature sees another, on the screen's slanted axes.
constexpr qv::Rect kEncounterBox{-210, -150, 210, 150};

bool InDifferentGroups(const Player& a, const Player& b) {
    return a.m_pGroup && b.m_pGroup && a.m_pGroup != b.m_pGroup;
}

}  // namespace

MapCreature* CreatureSide(Player* creature) {
    return creature;
}

void Player::MapTakeHostileMode(int32_t mode) {
    if (mode == 1) m_iActionOption = ActionOption::Attack;
    if (mode != 0) RecomputeLoad();
    if (GetClassImages()) m_iFrame = 0;
    if (mode == 0) {
        // Each opponent lets go of this creature too.
        for (auto& h : m_Opponents)
            if (Player* o = h.Get())
                std::erase_if(o->m_Opponents, [this](const qv::Handle<Player>& x) {
                    return x.Get() == this || !x;
                });
        m_Opponents.clear();
    }
}

void Player::MapPatrol(qv::Point home, const std::vector<qv::Point>& cells) {
    m_ptStay = home;
    AddMovesTo(*this, cells);
}

bool Player::SeesWithinView(const Player& other) const {
    MapMaster* map = GetMapMaster();
    if (!map || !map->IsDeltaInRect(m_Position, other.m_Position, kEncounterBox)) return false;
    CellPoint here, there;
    if (!map->WindowCellOf(m_Position, here) || !map->WindowCellOf(other.m_Position, there))
        return false;
    const CellPoint d = map->CellDelta(MapMaster::PixelToCell(m_Position),
                                       MapMaster::PixelToCell(other.m_Position));
    return map->IsLineClear(here.x, here.y, d.x, d.y) != 0;
}

bool Player::MapMeetsOnlyWithin(qv::Rect& box) {
    box = kEncounterBox;
    return true;
}

int Player::CheckEncounter(Player* other) {
    if (!other || other == this || !IsAlive() || !other->IsAlive() || other->m_bInactive) return 0;
    if (other->m_iActionOption == ActionOption::None && !other->m_bHostileByMagic) return 0;

    if (!SeesWithinView(*other)) return 0;
    if (m_bInvisible && m_pGroup && m_pGroup->AllMembersFlagged() && !GetCurrentGroup()) return 0;

    if (!m_bAttackRandomMonsters && other->m_iActionOption != ActionOption::Attack) {
        if (other->m_iActionOption == ActionOption::Talk) {
            // It comes over to talk, in a hurry.
            other->JoinPlayerSet(m_pHolder);
            other->m_bHasted = 1;
            if (World* world = GetWorld(); world && world->m_pRules) world->m_pRules->TalkerComes();
            other->m_iActionOption = ActionOption::None;
            return 1;
        }
        if (other->m_bHostileByMagic && !other->m_pTarget && m_pGroup &&
            m_pGroup->HasBusyMember() && InDifferentGroups(*this, *other)) {
            ShowGameMessage("The Legions of Light see your use of magic... and attack!");
            return 2;
        }
        return 0;
    }
    return InDifferentGroups(*this, *other) ? 2 : 0;
}
