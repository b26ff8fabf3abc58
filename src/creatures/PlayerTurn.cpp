// The creature's turn: once per game tick every creature loses alertness,
// regenerates (or, poisoned, loses) hit points and mana, wakes from idling
// when something calls for it, and hands each due event of its queue to its
// handler.

#include <algorithm>

#include "creatures/KeySignal.h"
#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/GameTime.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace {

// Puts the step time back on every way out of the turn, unless the creature
// went away during it (a land or world move deletes creatures).
class StepTimeGuard {
public:
    explicit StepTimeGuard(Player* p) : m_self(p), m_saved(p->m_iStepTime) {}
    ~StepTimeGuard() {
        if (Player* p = m_self.Get()) p->m_iStepTime = m_saved;
    }
    StepTimeGuard(const StepTimeGuard&) = delete;
    StepTimeGuard& operator=(const StepTimeGuard&) = delete;

private:
    qv::Handle<Player> m_self;
    int32_t m_saved;
};

// Whole intervals elapsed from `last` to `now` (wrapping game time).
uint32_t IntervalsSince(int32_t now, int32_t last, int32_t interval) {
    return qv::TimeElapsed(now, last) / static_cast<uint32_t>(interval);
}

// The distance measure from the view centre: dx * dx + (dy * dy) / 2 of the
// wrapped difference.
int64_t FocusDistanceSq(MapMaster* map, const Position& a, const Position& b) {
    if (map) return map->PixelDistanceSq(a, b);
    int64_t dx = int64_t{b.x} - a.x;
    int64_t dy = int64_t{b.y} - a.y;
    return dx * dx + (dy * dy) / 2;
}

// `last` moved on by n whole intervals, wrapping.
int32_t Advance(int32_t last, uint32_t n, int32_t interval) {
    return qv::TimeAdd(last, static_cast<int32_t>(n * static_cast<uint32_t>(interval)));
}

}  // namespace

int32_t Player::FirstThoughtDelay(int32_t number, int32_t stepTime) {
    if (number == -1 || stepTime <= 0) return 0;
    const uint32_t magnitude =
        number < 0 ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
    return static_cast<int32_t>(magnitude % static_cast<uint32_t>(stepTime));
}

void Player::SpreadFirstThought(int32_t now) {
    m_bFirstTurn = false;
    // Only the thought the creature was made with, still alone in the queue;
    // the party thinks at once, under the player's eyes.
    if (m_iPartySlot != 0 || m_pEvents->Count() != 1) return;
    const ObjectEvent& first = m_pEvents->At(0);
    if (first.m_iType != ObjectEventType::THINK || first.m_iTime != 0) return;
    const int32_t delay = FirstThoughtDelay(m_iPlayerNumber, m_iStepTime);
    if (delay == 0) return;
    m_pEvents->PopFront();
    m_pEvents->Post(ObjectEventType::THINK, qv::TimeAdd(now, delay));
}

int Player::Update(int32_t now, MapMaster* context) {
    if (m_bInactive) return 0;
    World* world = GetWorld();

    if (world && world->m_pLeader.Get() == this && (!m_Opponents.empty() || !m_pPlayerSet))
        world->m_bFastTime = 0;

    if (m_iKeyNumber != -1 && !m_pAboard && world) {
        // The key signal repeats every turn while the conditions hold.
        const qv::Handle<Player> self(this);
        const int r = SignalKey(m_iKeyNumber, 1, this);
        // The world changed under the turn (a land or world move).
        if (r == kWorldChanged) return kWorldChanged;
        if (!self) return r;  // the creature went away with the signal
    }

    if (IsAlive()) {
        LoseAlertness(now);
        RegenerateHitPoints(now);
    } else {
        m_iAction = PlayerAction::Dead;
    }

    if (m_bHasMagic && m_pMagic && IsAlive()) m_pMagic->RegenerateMana(&now, &m_iAlertness);

    if (m_iScriptHold < -5) return 0;

    StepTimeGuard restoreStepTime(this);
    if (world) {
        Position focus(world->m_ptFocus.x, world->m_ptFocus.y);
        if (FocusDistanceSq(context ? context : GetMapMaster(), focus, m_Position) > kFarDistanceSq)
            m_iStepTime *= 10;
    }
    // Spread over the step of this turn: a far creature's is ten times as long.
    if (m_bFirstTurn) SpreadFirstThought(now);

    if (m_pEvents->Count() > 0) {
        const ObjectEvent& front = m_pEvents->At(0);
        if (front.m_iType == ObjectEventType::ANIMATE &&
            (m_iAction == PlayerAction::Stop || m_iAction == PlayerAction::Figit) &&
            WakeFromIdle()) {
            m_pEvents->RemoveAllOfType(ObjectEventType::ANIMATE);
            m_pEvents->Post(ObjectEventType::THINK, 0);
        }
    }
    if (m_pEvents->Count() == 1 && m_pEvents->At(0).m_iType == ObjectEventType::SPECIAL)
        m_pEvents->Post(ObjectEventType::THINK, 0);

    int result = 0;
    if (RunDueEvents(now, context, result) != 0) return result;

    if (m_pEvents->Count() == 0) {
        int column = -1, row = 0;
        GetImageFrame(&column, &row);
        if (!IsAlive()) {
            if (row < 7) m_pEvents->Post(ObjectEventType::ANIMATE, qv::TimeAdd(now, 10000));
        } else {
            // It stands still when its look can show that; otherwise it thinks.
            CreatureImageSet* set = GetClassImages();
            if (!CreatureImageSet::StartAction(set, this, PlayerAction::Stop, &now, nullptr))
                m_pEvents->Post(ObjectEventType::THINK, 0);
        }
    }
    return result;
}

void Player::LoseAlertness(int32_t now) {
    int32_t interval = m_bHasted ? m_iAlertnessInterval / 3 : m_iAlertnessInterval;
    if (interval < 1) return;
    if (m_uLastAlertnessTime == 0) {
        m_uLastAlertnessTime = now;
        return;
    }
    uint32_t n = IntervalsSince(now, m_uLastAlertnessTime, interval);
    if (n == 0) return;
    ReduceAlertness(static_cast<int32_t>(std::min<uint32_t>(n, INT32_MAX)));
    if (m_iAlertness < 0) m_iAlertness = 0;
    m_uLastAlertnessTime = Advance(m_uLastAlertnessTime, n, interval);
}

void Player::RegenerateHitPoints(int32_t now) {
    int64_t interval = m_iRegenInterval;
    if (m_iPoison == 0) {
        if (m_iAlertness < 500) interval *= 2;
        if (m_iAlertness < 250) interval *= 10;
    } else {
        interval /= std::max(1, m_iPoison);
    }
    if (interval < 1 || interval > INT32_MAX) {
        // No usable interval: nothing regenerates, and the clock does not
        // bank time for later.
        m_uLastRegenTime = now;
        return;
    }
    int32_t step = static_cast<int32_t>(interval);
    if (m_uLastRegenTime == 0) {
        m_uLastRegenTime = now;
        return;
    }
    uint32_t n = IntervalsSince(now, m_uLastRegenTime, step);
    if (n == 0) return;
    if (m_iPoison == 0) {
        // Capped at the maximum, also when it stood above it.
        m_iHitPoints =
            static_cast<int32_t>(std::min<int64_t>(int64_t{m_iHitPoints} + n, m_iMaxHitPoints));
    } else {
        m_iHitPoints =
            static_cast<int32_t>(std::max<int64_t>(int64_t{m_iHitPoints} - n, INT32_MIN));
        if (m_iHitPoints < 1) Die();
    }
    m_uLastRegenTime = Advance(m_uLastRegenTime, n, step);
}

bool Player::WakeFromIdle() {
    if (m_pOrder && m_pOrder->m_iType == ObjectEventType::MOVE) {
        if (m_iPartySlot >= 0) m_pOrder->m_iType = 0;
        return true;
    }
    if (m_iTalkState >= 0) return true;
    if (m_pPlayerSet) return true;
    World* world = GetWorld();
    Player* leader = world ? world->m_pLeader.Get() : nullptr;
    if (m_iPartySlot != 0 && leader &&
        ((leader->m_pOrder && leader->m_pOrder->m_iType == ObjectEventType::MOVE) ||
         leader->m_pPlayerSet))
        return true;
    if (m_iHostileMode) return true;
    Group* root = world ? world->m_pAllGroups : nullptr;
    // Only a creature in a group searches for the groups it meets.
    if (root && m_pGroup && (m_bPartyLeader || m_bAttackRandomMonsters) &&
        root->UpdateHostility(this) != 0)
        return true;
    return false;
}

int Player::RunDueEvents(int32_t now, MapMaster* context, int& result) {
    qv::Handle<Player> self(this);
    int32_t latest = 0;
    for (int handled = 0; handled < kMaxEventsPerTurn && m_pEvents->HasDue(now); ++handled) {
        ObjectEvent event = m_pEvents->PopFront();
        latest = CreatureEventQueue::Latest(latest, event.m_iTime);
        const int32_t T = latest == 0 ? now : latest;
        if (!IsAlive() && event.m_iType != ObjectEventType::ANIMATE) {
            event.m_pSpell.reset();
            result = -1;
            continue;
        }
        Object* a0 = event.m_pObject.Get();
        switch (event.m_iType) {
            case ObjectEventType::MOVE:
                result = HandleMoveEvent(T, event.m_iArg1, event.m_iArg2, context, 0);
                if (result == kWorldChanged) return 1;
                break;
            case ObjectEventType::RESERVED:
                result = HandleReservedEvent(T, a0, context);
                break;
            case ObjectEventType::ATTACK:
                result = StartAttack(T, a0, static_cast<StrikeWeapon>(event.m_iValue));
                break;
            case ObjectEventType::HIT:
                result = ResolveHit(a0, static_cast<StrikeWeapon>(event.m_iValue));
                break;
            case ObjectEventType::SPELL:
                result = CastSpell(std::move(event.m_pSpell), a0, 0);
                break;
            case ObjectEventType::ANIMATE:
                if (HandleAnimate(event, T, context, result) != 0) return 1;
                break;
            case ObjectEventType::TALK:
                // The conversation between this creature and a0, opened once
                // the groups' turns are over.
                if (auto* speaker = qv::DynamicCast<Player>(a0)) {
                    World* world = GetWorld();
                    if (world && world->m_pRules) world->m_pRules->AskConversation(this, speaker);
                }
                break;
            case ObjectEventType::REQUEUE:
                result = m_pEvents->Post(ObjectEventType::THINK, qv::TimeAdd(now, event.m_iArg1));
                break;
            case ObjectEventType::SPECIAL: {
                int32_t a1 = event.m_iArg1;
                result = HandleSpecialEvent(T, &a1);
                break;
            }
            default:  // THINK, and any unknown code
                result = HandleThinkEvent(T, context);
                if (result == kWorldChanged) return 1;
                break;
        }
        // A creature deleted by its own handler ends its turn untouched.
        if (!self) return 1;
    }
    return 0;
}

int Player::HandleAnimate(const ObjectEvent&, int32_t T, MapMaster* context, int& result) {
    CreatureImageSet* set = GetClassImages();
    if (set && set->FrameCount(m_iAction) > 0 && m_iNPCNumber == 0) {
        // Walking and running frames advance with the steps instead.
        if (m_iAction == PlayerAction::Move || m_iAction == PlayerAction::Run) return 0;
        if (m_iFrame + 1 < set->FrameCount(m_iAction)) {
            ++m_iFrame;
            result = m_pEvents->Post(ObjectEventType::ANIMATE, qv::TimeAdd(T, m_iFrameTime));
            return 0;
        }
        if (!IsAlive()) {
            result = -1;  // the last frame of its fall stays
            return 0;
        }
        result = HandleThinkEvent(T, context);
        return result == -3 ? 1 : 0;
    }
    int column = 0, row = 0;
    if (m_iNPCNumber == 1) {
        // A three-frame cycle through the columns.
        GetImageFrame(&column, &row);
        column = (column + 1) % 3;
        row = -1;
        SetImageFrame(&column, &row);
        result = m_pEvents->Post(ObjectEventType::ANIMATE, qv::TimeAdd(T, 1000));
        return 0;
    }
    // Numbered frames down the rows, up to the seventh.
    GetImageFrame(&column, &row);
    ++row;
    column = -1;
    SetImageFrame(&column, &row);
    if (row < 7) {
        result = m_pEvents->Post(ObjectEventType::ANIMATE, qv::TimeAdd(T, 50000));
    } else if (m_bGrouped) {
        result = -2;
        return 1;
    }
    return 0;
}
