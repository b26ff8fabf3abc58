// Conversations as play sees them: what their scripts ask of the game, the
// party joined by a creature a script names, and the conversations of the
// creatures that died during the groups' turns.

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
    m_Play.JoinParty(creature);
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
    m_Play.OpenTradeWindow(&storeId, 0);
}

void PlayTalkHost::ReportScriptError(const std::string& message) {
    m_Play.Ask().Tell(message);
}

int Play::JoinParty(Player* creature) {
    World& w = m_World;
    Player* leader = w.m_pLeader.Get();
    if (!creature || !leader || !creature->IsAlive() || w.FindPartySlot(creature) >= 0) return 0;
    Group* party = leader->m_pGroup;
    if (!party || creature->m_pGroup == party) return 0;
    size_t slot = 0;
    for (size_t s = 1; s < w.m_Party.size(); ++s)
        if (!w.m_Party[s]) {
            slot = s;
            break;
        }
    if (slot == 0) {
        Ask().Tell("The party is full.");
        return 0;
    }
    if (creature->m_pGroup) creature->m_pGroup->RemoveMember(creature);
    party->AddMemberDirect(creature);
    creature->m_iScriptHold = 0;
    creature->m_iPartySlot = static_cast<int32_t>(slot);
    w.m_Party[slot] = creature;
    m_Party.RebaseFormation(m_World);
    return 1;
}

bool Play::ReadText(Object* text) {
    if (!text || !IsReadable(*text) || !m_OpenBook) return false;
    m_OpenBook(*text);
    return true;
}

void Play::AskConversation(Player* listener, Player* speaker) {
    if (listener && speaker && m_OpenConversation)
        m_Interaction.AddWaitingTalk(listener, speaker, speaker->m_strMessageNode);
}

void Play::OpenWaitingConversations() {
    for (const Interaction::WaitingTalk& talk : m_Interaction.TakeWaitingTalks()) {
        Player* listener = talk.listener.Get();
        Player* speaker = talk.speaker.Get();
        if (listener && speaker && m_OpenConversation)
            m_OpenConversation(listener, speaker, talk.node);
    }
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
