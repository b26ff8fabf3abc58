// Interaction: what the player's touches of the world have under way.

#include "play/Interaction.h"

#include <utility>

#include "creatures/Player.h"

void Interaction::SetPendingItem(Object* item) {
    m_pPendingItem = item;
}

void Interaction::SetPendingItemUser(Player* user) {
    m_pPendingItemUser = user;
}

void Interaction::SetDragHolder(ObjectHolder* holder) {
    m_pDragHolder = holder;
}

void Interaction::DropPendingUse() {
    m_pPendingItem = nullptr;
    m_pPendingItemUser = nullptr;
}

void Interaction::ShowContainer(Object* container) {
    m_pOpenContainer = container;
    m_bContainerOpen = container ? 1 : 0;
}

void Interaction::AddArrival(Player* creature, ObjectHolder* target) {
    m_Arrivals.push_back({creature, target});
}

std::vector<Interaction::Arrival> Interaction::TakeArrivals() {
    std::vector<Arrival> arrivals = std::move(m_Arrivals);
    m_Arrivals.clear();
    return arrivals;
}

void Interaction::AddWaitingTalk(Player* listener, Player* speaker, const std::string& node) {
    m_WaitingTalks.push_back({listener, speaker, node});
}

std::vector<Interaction::WaitingTalk> Interaction::TakeWaitingTalks() {
    std::vector<WaitingTalk> waiting;
    waiting.swap(m_WaitingTalks);
    return waiting;
}
