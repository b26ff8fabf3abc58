// Play itself: the orders it carries out, the party's controlled member and
// Shift flags, and the windows that stop the world.

#include "play/Play.h"

#include "creatures/Player.h"
#include "platform/Message.h"
#include "world/Map.h"
#include "world/World.h"

bool HeadlessAsk::YesNo(const std::string& question) {
    return qv::ShowMessage(question, qv::MessageButtons::YesNo) == qv::MessageAnswer::Yes;
}

void HeadlessAsk::Tell(const std::string& text) {
    qv::ShowMessage(text, qv::MessageButtons::Ok);
}

Play::Play(World& world) : m_World(world) {
    InstallInteraction();
}

Play::~Play() {
    Player::s_interact = nullptr;
}

AskPlayer& Play::Ask() {
    static HeadlessAsk headless;
    return m_pAsk ? *m_pAsk : headless;
}

MapMaster* Play::Map() const {
    return m_World.map_master.get();
}

bool Play::IsPopupOpen(bool countContainer) const {
    const OpenWindows& w = m_OpenWindows;
    return w.m_pTalkWnd || w.m_pTradeWnd || w.m_bStatsOpen || w.m_bInfoOpen || w.m_pEquipmentWnd ||
           (countContainer && (w.m_bContainerOpen || w.m_pContainerWnd));
}

void Play::SetPartyShiftFlags(int on) {
    for (auto& member : m_World.m_Party)
        if (Player* p = member.Get()) p->m_bShiftFlags = {on, on};
}

void Play::SetControlPlayer(Player* creature) {
    // The party's windows follow the controlled member once they are drawn.
    if (creature) m_World.m_pControlPlayer = creature;
}

int Play::Give(const Order& order) {
    using Kind = Order::Kind;
    Player* actor = order.actor ? order.actor.Get() : m_World.m_pControlPlayer.Get();
    ObjectHolder* target = order.target.Get();
    switch (order.kind) {
        case Kind::WalkTo: {
            if (!actor || !order.hasPoint) return 0;
            // The bare holder belongs to its set: it goes once the set is empty.
            auto* point = new ObjectHolder(order.point, nullptr);
            actor->JoinPlayerSet(point);
            if (actor->m_pPlayerSet != point) {
                delete point;  // joining is forbidden just now
                return 0;
            }
            return InteractWith(actor, 0);
        }
        case Kind::Interact:
            if (actor && target) actor->JoinPlayerSet(target);
            return InteractWith(actor, 0);
        case Kind::Target:
            if (!actor || !target) return 0;
            actor->JoinPlayerSet(target);
            return 1;
        case Kind::ShiftFlags:
            SetPartyShiftFlags(order.value);
            return 1;
        case Kind::Select:
            if (order.actor) {
                SetControlPlayer(order.actor.Get());
                return 1;
            }
            if (order.value < 0 || order.value >= static_cast<int32_t>(m_World.m_Party.size()))
                return 0;
            if (Player* member = m_World.m_Party[static_cast<size_t>(order.value)].Get()) {
                SetControlPlayer(member);
                return 1;
            }
            return 0;
        case Kind::Drop: {
            Object* object = order.object.Get();
            if (!object || !order.hasPoint) return 0;
            const DropResult dropped = DropObject(object, order.point);
            if (!dropped) return 0;
            if (dropped.placedItself) return 2;
            return dropped.stackEmptied ? 3 : 1;
        }
        case Kind::Place: {
            Object* object = order.object.Get();
            if (!object || !order.hasPoint) return 0;
            return PlaceObjectAt(object, order.point) ? 1 : 0;
        }
        default:
            // The kinds whose rules come with the items, combat, magic,
            // conversation, trading and the editor.
            return 0;
    }
}
