// Play itself: the orders it carries out, the party's controlled member and
// Shift flags, and the windows that stop the world.

#include "play/Play.h"

#include <array>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "play/OrderNumbers.h"
#include "world/Map.h"
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
    return m_Talk.OpenConversation(speaker, node);
}

AskPlayer& Play::Ask() {
    static HeadlessAsk headless;
    return m_pAsk ? *m_pAsk : headless;
}

void Play::Attach(AskPlayer* ask, PlayShell* shell) {
    m_pAsk = ask;
    m_pShell = shell;
}

void Play::InstallWindows(std::function<void(Player*, Player*, const std::string&)> conversation,
                          std::function<void(Object&)> book,
                          std::function<void(Store&, int32_t)> trade) {
    m_Talk.InstallConversation(std::move(conversation));
    m_Talk.InstallBook(std::move(book));
    m_Talk.InstallTrade(std::move(trade));
}

PlayShell& Play::Shell() const {
    static PlayShell unseen;
    return m_pShell ? *m_pShell : unseen;
}

MapMaster* Play::Map() const {
    return m_World.map_master.get();
}

bool Play::IsPopupOpen(bool countContainer) const {
    return Shell().WindowStopsWorld(countContainer) || m_Travel.IsChangingWorld() ||
           (countContainer && m_Interaction.IsContainerOpen());
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
    if (m_pRecording && order.kind != Order::Kind::Record)
        m_pRecording->push_back({m_iTickCount, NumberedOrder(*this, order)});
    // An order read back names its things by numbers: one that names
    // nothing the world holds now does nothing.
    Order found = order;
    if (!FindNumberedThings(*this, found)) return 0;
    Player* actor = found.actor.Get() ? found.actor.Get() : m_World.m_pControlPlayer.Get();
    const auto kind = static_cast<size_t>(found.kind);
    if (kind >= Order::kKinds) return 0;
    return (this->*OrderHandlers()[kind])(found, actor);
}

const std::array<Play::OrderHandler, Order::kKinds>& Play::OrderHandlers() {
    using Kind = Order::Kind;
    struct Entry {
        Kind kind;
        OrderHandler handler;
    };
    static constexpr Entry kEntries[] = {
        {Kind::None, &Play::GiveNothing},
        {Kind::WalkTo, &Play::GiveWalkTo},
        {Kind::Interact, &Play::GiveInteract},
        {Kind::Target, &Play::GiveTarget},
        {Kind::Attack, &Play::GiveAttack},
        {Kind::UseOn, &Play::GiveUseOn},
        {Kind::LeadTo, &Play::GiveLeadTo},
        {Kind::View, &Play::GiveView},
        {Kind::Stop, &Play::GiveStop},
        {Kind::ShiftFlags, &Play::GiveShiftFlags},
        {Kind::EndWalk, &Play::GiveEndWalk},
        {Kind::Select, &Play::GiveSelect},
        {Kind::Take, &Play::GiveTake},
        {Kind::Drop, &Play::GiveDrop},
        {Kind::Give, &Play::GiveGive},
        {Kind::Equip, &Play::GiveEquip},
        {Kind::Unequip, &Play::GiveUnequip},
        {Kind::PutIn, &Play::GivePutIn},
        {Kind::Open, &Play::GiveOpen},
        {Kind::Rest, &Play::GiveRest},
        {Kind::Cast, &Play::GiveCast},
        {Kind::PickForUse, &Play::GivePickForUse},
        {Kind::Stance, &Play::GiveStance},
        {Kind::EndEffect, &Play::GiveEndEffect},
        {Kind::Talk, &Play::GiveTalk},
        {Kind::Trade, &Play::GiveTrade},
        {Kind::Place, &Play::GivePlace},
        {Kind::Move, &Play::GiveMove},
        {Kind::Delete, &Play::GiveDelete},
        {Kind::SetProperty, &Play::GiveSetProperty},
        {Kind::Edit, &Play::GiveEdit},
        {Kind::AddItem, &Play::GiveAddItem},
        {Kind::DeleteItem, &Play::GiveDeleteItem},
        {Kind::AddKey, &Play::GiveAddKey},
        {Kind::RemoveKey, &Play::GiveRemoveKey},
        {Kind::RemoveLand, &Play::GiveRemoveLand},
        {Kind::Carry, &Play::GiveCarry},
        {Kind::Bring, &Play::GiveBring},
        {Kind::Pause, &Play::GivePause},
        {Kind::HoldGround, &Play::GiveHoldGround},
        {Kind::Invulnerable, &Play::GiveInvulnerable},
        {Kind::DebugView, &Play::GiveDebugView},
        {Kind::Combat, &Play::GiveCombat},
        {Kind::SelectMode, &Play::GiveSelectMode},
        {Kind::CancelTarget, &Play::GiveCancelTarget},
        {Kind::QuickSave, &Play::GiveQuickSave},
        {Kind::Travel, &Play::GiveTravel},
        {Kind::SetTime, &Play::GiveSetTime},
        {Kind::TabTarget, &Play::GiveTabTarget},
        {Kind::NewCharacter, &Play::GiveNewCharacter},
        {Kind::NewGame, &Play::GiveNewGame},
        {Kind::Save, &Play::GiveSave},
        {Kind::ScriptedMove, &Play::GiveScriptedMove},
        {Kind::InputLock, &Play::GiveInputLock},
        {Kind::OptionsShown, &Play::GiveOptionsShown},
        {Kind::EndPlay, &Play::GiveEndPlay},
        {Kind::Editing, &Play::GiveEditing},
        {Kind::LoadWorld, &Play::GiveLoadWorld},
        {Kind::LearnSpell, &Play::GiveLearnSpell},
        {Kind::ForgetSpell, &Play::GiveForgetSpell},
        {Kind::Shut, &Play::GiveShut},
        {Kind::Record, &Play::GiveRecord},
        {Kind::Buy, &Play::GiveBuy},
        {Kind::Sell, &Play::GiveSell},
    };
    // Every kind has its one handler: a kind added without one, or named
    // twice, does not build.
    static constexpr bool kEachOnce = [] {
        std::array<int, Order::kKinds> named{};
        for (const Entry& entry : kEntries) ++named[static_cast<size_t>(entry.kind)];
        for (int n : named)
            if (n != 1) return false;
        return true;
    }();
    static_assert(kEachOnce, "every kind of order has exactly one handler");
    static constexpr auto kTable = [] {
        std::array<OrderHandler, Order::kKinds> table{};
        for (const Entry& entry : kEntries) table[static_cast<size_t>(entry.kind)] = entry.handler;
        return table;
    }();
    return kTable;
}

int Play::GiveNothing(const Order&, Player*) {
    return 0;
}

int Play::GivePause(const Order& order, Player*) {
    if (order.value == Order::kToggle)
        TogglePause();
    else
        m_bPaused = order.value ? 1 : 0;
    return 1;
}

int Play::GiveSelectMode(const Order& order, Player*) {
    m_Interaction.SetSelectMode(order.value);
    return 1;
}

int Play::GiveTabTarget(const Order& order, Player*) {
    m_Interaction.SetTabTarget(order.value != 0);
    return 1;
}

int Play::GiveInputLock(const Order& order, Player*) {
    m_bInputLock = order.value ? 1 : 0;
    return 1;
}

int Play::GiveOptionsShown(const Order& order, Player*) {
    m_bOptionsShown = order.value ? 1 : 0;
    return 1;
}

int Play::GiveEndPlay(const Order&, Player*) {
    m_iStartState = 2;
    m_Interaction.SetDragHolder(nullptr);
    return 1;
}

int Play::GiveRecord(const Order& order, Player*) {
    if (order.value) {
        m_Recorded.clear();
        m_pRecording = &m_Recorded;
    } else if (m_pRecording == &m_Recorded) {
        m_pRecording = nullptr;
    }
    return 1;
}
