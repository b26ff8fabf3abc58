// Conversations: the windows of talk and reading, the conversation scripts
// kept, and the rules that open them.

#include "play/Conversations.h"

#include "creatures/Player.h"
#include "items/Store.h"
#include "play/Play.h"
#include "structures/Furnishings.h"
#include "world/Group.h"
#include "world/World.h"

std::shared_ptr<const TalkScriptFile> Conversations::Script(const std::string& name) {
    return m_TalkScripts.Load(m_Play.GameFolder(), name);
}

bool Conversations::OpenConversation(Player* speaker, const std::string& node) {
    if (!m_OpenConversation) return false;
    m_OpenConversation(nullptr, speaker, node);
    return true;
}

int Conversations::JoinParty(Player* creature) {
    World& w = m_Play.m_World;
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
        m_Play.Ask().Tell("The party is full.");
        return 0;
    }
    if (creature->m_pGroup) creature->m_pGroup->RemoveMember(creature);
    party->AddMemberDirect(creature);
    creature->m_iScriptHold = 0;
    creature->m_iPartySlot = static_cast<int32_t>(slot);
    w.m_Party[slot] = creature;
    m_Play.PartyChoices().RebaseFormation(m_Play.m_World);
    return 1;
}

bool Conversations::ReadText(Object* text) {
    if (!text || !IsReadable(*text) || !m_OpenBook) return false;
    m_OpenBook(*text);
    return true;
}

void Conversations::AskConversation(Player* listener, Player* speaker) {
    if (listener && speaker && m_OpenConversation)
        m_Play.Interacting().AddWaitingTalk(listener, speaker, speaker->m_strMessageNode);
}

void Conversations::OpenWaitingConversations() {
    for (const Interaction::WaitingTalk& talk : m_Play.Interacting().TakeWaitingTalks()) {
        Player* listener = talk.listener.Get();
        Player* speaker = talk.speaker.Get();
        if (listener && speaker && m_OpenConversation)
            m_OpenConversation(listener, speaker, talk.node);
    }
}

bool Conversations::OpenTradeWindow(const int32_t* storeId, int32_t mode) {
    if (!m_Play.m_World.m_pLeader || !storeId) return false;
    Store* store = m_Play.Trade().FindStore(*storeId);
    if (!store) return false;
    if (m_OpenTrade) m_OpenTrade(*store, mode);
    return true;
}
