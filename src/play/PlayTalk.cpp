// Conversations as play sees them: what their scripts ask of the game, and
// the order to talk.

#include "play/PlayTalk.h"

#include <vector>

#include "creatures/Player.h"
#include "play/Play.h"
#include "structures/Furnishings.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

// Where a thing dropped at a creature's feet may land: the point, then a
// step beside it each way.
constexpr int32_t kStep = 24;
constexpr qv::Point kBeside[] = {{0, 0}, {kStep, 0}, {0, kStep}, {-kStep, 0}, {0, -kStep}};

}  // namespace

void PlayTalkHost::TravelTo(qv::Point cell) {
    m_Play.TravelTo(cell);
}

void PlayTalkHost::MakeGroup() {
    m_Play.MakeGroup();
}

void PlayTalkHost::ReGroup() {
    m_Play.ReGroup();
}

void PlayTalkHost::JoinParty(Player* creature) {
    m_Play.Talks().JoinParty(creature);
}

void PlayTalkHost::GoToWorld(const std::string& worldFile, int32_t x, int32_t y) {
    m_Play.GoToWorld(worldFile, x, y);
}

void PlayTalkHost::SetPendingWorld(const std::string& worldFile, qv::Point cell) {
    m_Play.Travelling().SetPendingScriptWorld(Travel::ScriptWorld{worldFile, cell});
}

void PlayTalkHost::MoveToLand() {
    m_Play.MoveToLand();
}

void PlayTalkHost::RemoveFromMap(ObjectHolder* holder) {
    m_Play.RemoveFromMap(holder);
}

bool PlayTalkHost::DropObject(Object* object, const Position& where) {
    // The thing itself, a whole stack too: the map owns it once placed. The
    // one who drops it stands on the point itself, so the ground beside it
    // is tried next, a step to each side.
    for (const qv::Point step : kBeside) {
        const Position at(where.x + step.x, where.y + step.y, where.z);
        const Play::DropResult dropped = m_Play.DropObject(object, at, true);
        if (dropped) return dropped.placedItself;
    }
    return false;
}

void PlayTalkHost::SetSelectMode(int32_t mode) {
    m_Play.Interacting().SetSelectMode(mode);
}

void PlayTalkHost::OpenTradeWindow(int32_t storeId) {
    m_Play.Talks().OpenTradeWindow(&storeId, 0);
}

void PlayTalkHost::ReportScriptError(const std::string& message) {
    m_Play.Ask().Tell(message);
}

// ---- The order to talk

int Play::GiveTalk(const Order& order, Player* actor) {
    // Only someone with something to say: a talk never starts a fight.
    ObjectHolder* target = order.target.Get();
    auto* creature = IsCreature(target) ? qv::DynamicCast<Player>(target->m_pObject) : nullptr;
    if (!actor || !creature || !creature->IsAlive() || !HasSomethingToSay(actor, creature))
        return 0;
    actor->JoinPlayerSet(target);
    return InteractWith(actor, 0);
}
