// Play itself: the orders it carries out, the party's controlled member and
// Shift flags, and the windows that stop the world.

#include "play/Play.h"

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerEvents.h"
#include "media/MouseCursor.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

bool HeadlessAsk::YesNo(const std::string& question) {
    return qv::ShowMessage(question, qv::MessageButtons::YesNo) == qv::MessageAnswer::Yes;
}

void HeadlessAsk::Tell(const std::string& text) {
    qv::ShowMessage(text, qv::MessageButtons::Ok);
}

namespace {
// The shared chance generator starts from the same seed in every game.
constexpr uint32_t kRandomSeed = 123459876;
}  // namespace

Play::Play(World& world) : m_World(world) {
    qv::SeedRand(kRandomSeed);
    m_World.m_pRules = this;
    m_World.m_pPathFinder = &AStarPaths::Shared();
    SetInventoryWindows(this);
    // A death's conversation waits for the end of the groups' turns.
    m_World.m_OpenDeathTalk = [this](Player* leader, Player* speaker) {
        AskConversation(leader, speaker);
    };
}

Play::~Play() {
    if (m_World.m_pRules == this) m_World.m_pRules = nullptr;
    if (m_World.m_pPathFinder == &AStarPaths::Shared()) m_World.m_pPathFinder = nullptr;
    if (GetInventoryWindows() == this) SetInventoryWindows(nullptr);
    m_World.m_OpenDeathTalk = nullptr;
}

bool Play::OpenConversation(Player* speaker, const std::string& node) {
    if (!m_OpenConversation) return false;
    m_OpenConversation(nullptr, speaker, node);
    return true;
}

AskPlayer& Play::Ask() {
    static HeadlessAsk headless;
    return m_pAsk ? *m_pAsk : headless;
}

PlayShell& Play::Shell() {
    static PlayShell unseen;
    return m_pShell ? *m_pShell : unseen;
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
    if (m_pRecording) m_pRecording->push_back({m_iTickCount, order});
    using Kind = Order::Kind;
    World& w = m_World;
    Player* actor = order.actor ? order.actor.Get() : w.m_pControlPlayer.Get();
    Player* leader = w.m_pLeader.Get();
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
        case Kind::UseOn: {
            // The click that picks the target of the use waiting for one.
            if (actor && target) actor->JoinPlayerSet(target);
            const int answer = InteractWith(actor, 0);
            m_bPaused = 0;
            m_iSelectMode = 0;
            return answer;
        }
        case Kind::Target:
            if (!actor || !target) return 0;
            actor->JoinPlayerSet(target);
            return 1;
        case Kind::Attack: {
            // In a fight only an outsider with nothing to say is attacked.
            auto* creature = target && target->Type() == PLAYER
                                 ? qv::DynamicCast<Player>(target->m_pObject)
                                 : nullptr;
            if (!actor || !creature) return 0;
            if (creature->m_strMessageNode != "HELLO" || creature->m_iPartySlot != 0) return 0;
            actor->m_pTarget = creature;
            if (actor->m_pRangedWeapon) return 1;  // it shoots from where it stands
            actor->JoinPlayerSet(target);
            return InteractWith(actor, 0);
        }
        case Kind::LeadTo:
            if (!leader) return 0;
            if (!order.hasPoint) {
                if (leader->m_pOrder) *leader->m_pOrder = ObjectEvent();
                return 1;
            }
            if (!leader->m_pOrder) leader->m_pOrder = std::make_unique<ObjectEvent>();
            *leader->m_pOrder =
                ObjectEvent(ObjectEventType::MOVE, 0, nullptr, 0, order.point.x, order.point.y);
            return 1;
        case Kind::View: {
            if (!order.hasPoint) return 0;
            Position focus = order.point;
            if (Map()) Map()->WrapPosition(focus);
            w.m_ptFocus = {focus.x, focus.y};
            if (Map() && Map()->CheckFocusEdge(focus) == Group::kWorldChanged) MoveToLand();
            return 1;
        }
        case Kind::Stop:
            // The party stops where it is; a walk toward a double-clicked
            // point ends.
            if (leader && leader->m_cRouteMode == 'C') leader->m_cRouteMode = 'B';
            for (auto& member : w.m_Party) {
                Player* p = member.Get();
                if (!p) continue;
                p->LeavePlayerSet();
                p->ClearRoute();
            }
            if (order.value) SetPartyShiftFlags(1);
            return 1;
        case Kind::ShiftFlags:
            SetPartyShiftFlags(order.value);
            return 1;
        case Kind::EndWalk:
            if (leader) leader->RecomputeLoad();
            return 1;
        case Kind::Select:
            if (order.actor) {
                SetControlPlayer(order.actor.Get());
                return 1;
            }
            if (order.value < 0 || order.value >= static_cast<int32_t>(w.m_Party.size())) return 0;
            if (Player* member = w.m_Party[static_cast<size_t>(order.value)].Get()) {
                SetControlPlayer(member);
                return 1;
            }
            return 0;
        case Kind::Take: {
            // Without a placed thing: `object` from the open container, at once.
            if (!target) return TakeFromContainer(actor, order.object.Get());
            // Only a thing that can be carried off; the actor takes it on
            // arriving, as when it is clicked.
            Object* thing = target ? target->m_pObject : nullptr;
            if (!actor || !thing || m_bEditing || thing->m_bMoveable != 1 || IsCreature(target))
                return 0;
            actor->JoinPlayerSet(target);
            return InteractWith(actor, 0);
        }
        case Kind::Talk: {
            // Only someone with something to say: a talk never starts a fight.
            auto* creature =
                IsCreature(target) ? qv::DynamicCast<Player>(target->m_pObject) : nullptr;
            if (!actor || !creature || !creature->IsAlive() || !HasSomethingToSay(actor, creature))
                return 0;
            actor->JoinPlayerSet(target);
            return InteractWith(actor, 0);
        }
        case Kind::Trade:
            return OpenTradeWindow(&order.value, order.mode) ? 1 : 0;
        case Kind::Buy:
            return Buy(actor, FindStore(order.value), order.object.Get());
        case Kind::Sell:
            return Sell(actor, FindStore(order.value), order.object.Get());
        case Kind::Delete:
            // A creature belongs to its group, which alone deletes it.
            if (!target || IsCreature(target)) return 0;
            RemoveFromMap(target);
            // Gone, it opens nothing: out of its key record first.
            if (target->m_pObject) m_World.RemoveFromKeyStorage(target->m_pObject);
            DeleteHolderWithObject(target);
            return 1;
        case Kind::Drop: {
            Object* object = order.object.Get();
            if (!object || !order.hasPoint) return 0;
            // What the actor carries leaves its hands; anything else is the
            // caller's.
            if (actor && actor->Owns(object)) return DropFrom(actor, object, order.point);
            const DropResult dropped = DropObject(object, order.point);
            if (!dropped) return 0;
            if (dropped.placedItself) return 2;
            return dropped.stackEmptied ? 3 : 1;
        }
        case Kind::Give: {
            auto* receiver = target ? qv::DynamicCast<Player>(target->m_pObject) : nullptr;
            return GiveTo(actor, order.object.Get(), receiver);
        }
        case Kind::Equip:
            return Equip(actor, order.object.Get());
        case Kind::Unequip:
            return Unequip(actor, order.object.Get());
        case Kind::PutIn:
            return PutIn(actor, order.object.Get(), order.into.Get());
        case Kind::Open:
            return Open(actor, target, order.value);
        case Kind::Rest:
            return Rest(actor, target);
        case Kind::Cast:
            return CastKnownSpell(actor, order.object.Get(), target);
        case Kind::PickForUse:
            return PickForUse(actor, order.object.Get());
        case Kind::Stance:
            return SetCombatChoice(actor, order.value, order.mode);
        case Kind::Place: {
            Object* object = order.object.Get();
            if (!object || !order.hasPoint) return 0;
            return PlaceObjectAt(object, order.point) ? 1 : 0;
        }
        case Kind::Move:
            return target && order.hasPoint ? MovePlaced(target, order.point) : 0;
        case Kind::Edit:
            return target && target->m_pObject ? target->m_pObject->Edit() : 0;
        case Kind::SetProperty: {
            Object* object = order.object ? order.object.Get()
                             : target     ? target->m_pObject
                                          : nullptr;
            return SetProperty(object, order.name, order.value, order.text);
        }
        case Kind::AddItem:
            return AddItem(order.into.Get(), order.object.Get());
        case Kind::DeleteItem:
            return DeleteItem(order.into.Get(), order.object.Get());
        case Kind::AddKey:
            return AddKey(order.object.Get(), order.value, order.text);
        case Kind::RemoveKey:
            return RemoveKey(order.object.Get());
        case Kind::RemoveLand:
            return RemoveLand(order.text);
        case Kind::Carry:
            SetDragObject(target);
            return 1;
        case Kind::Bring:
            return BringPlaced(target, order.into.Get());
        case Kind::Pause:
            if (order.value == Order::kToggle)
                TogglePause();
            else
                m_bPaused = order.value ? 1 : 0;
            return 1;
        case Kind::HoldGround:
            m_World.m_bHoldGround = !m_World.m_bHoldGround;
            return 1;
        case Kind::Invulnerable:
            m_World.m_bPartyInvulnerable = !m_World.m_bPartyInvulnerable;
            return 1;
        case Kind::DebugView:
            m_World.m_bDebugView =
                order.value == Order::kToggle ? !m_World.m_bDebugView : (order.value ? 1 : 0);
            return 1;
        case Kind::Combat:
            SetCombatMode(order.value);
            return 1;
        case Kind::SelectMode:
            m_iSelectMode = order.value;
            return 1;
        case Kind::CancelTarget:
            m_bPaused = 0;
            m_iSelectMode = 0;
            // What waited for the target goes with the selection: nothing
            // used later may pick it up by chance.
            DropPendingUse();
            if (CMouseCursor* cursor = GetMouseCursor()) cursor->RestoreImage();
            return 1;
        case Kind::QuickSave:
            return QuickSave();
        case Kind::SetTime: {
            CTimeOfDay* clock = w.m_pTimeOfDay.get();
            if (!clock || order.value < 0 || order.value > kLastHour || order.mode < 0 ||
                order.mode > kLastSetMinute)
                return 0;
            clock->m_sHour = static_cast<int16_t>(order.value);
            clock->m_sMinute = static_cast<int16_t>(order.mode);
            clock->Format();
            return 1;
        }
        case Kind::Travel:
            if (!order.hasPoint) return 0;
            TravelTo({order.point.x, order.point.y});
            return 1;
        default:
            // The kinds whose rules come with the items, combat, magic,
            // conversation, trading and the editor.
            return 0;
    }
}

int Play::MovePlaced(ObjectHolder* holder, const Position& point) {
    MapMaster* map = Map();
    if (!map) return 0;
    qv::Handle<ObjectHolder> moved(holder);
    const Position from = holder->pos;
    Position to = point;
    map->WrapPosition(to);
    map->RemoveHolder(from, holder);
    if (map->AddHolder(to, holder) == 1) {
        // A creature stays in its new cell when left alone.
        if (auto* creature = qv::DynamicCast<Player>(holder->m_pObject)) {
            const CellPoint home = MapMaster::PixelToCell(holder->pos);
            creature->m_ptStay = {home.x, home.y};
        }
        return 1;
    }
    Position back = from;
    ObjectIgnoreList none;
    if (map->AddHolder(back, holder, &none, 1) != 1) {
        // Neither place takes it: it is off every cell, so nothing would
        // ever own it again. It goes, as a drag onto another window would
        // take it away.
        Ask().Tell("Problems putting object back where it came from.\n  :(");
        if (moved) DeleteHolderWithObject(holder);
    }
    return 0;
}
