// The creature: construction, copying, registration in the player array,
// magic, levels and alertness, and the scheduling of its next step. Its
// thinking and walking, fights, spells and picture have files of their own.

#include "creatures/Player.h"

#include <algorithm>
#include <cmath>

#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "media/DSound.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Player, Member, 44, true)

int Player::s_iUseCount = 0;
std::unique_ptr<CDSound> Player::s_pSound;

namespace {

// The experience the first level has to exceed; each next one is half again.
constexpr double kFirstLevelThreshold = 1000.0;

int32_t RegenIntervalFor(int32_t rate, int32_t maxHitPoints) {
    double d = static_cast<double>(rate) * maxHitPoints;
    if (d < 1.0) return 0;  // no interval: nothing regenerates
    double v = 600000.0 / d;
    return qv::TruncateToInt32(v);
}

}  // namespace

Player::Player() : Member("Player") {
    InitCreature();
}

void Player::InitCreature() {
    if (++s_iUseCount == 1) s_pSound = std::make_unique<CDSound>(kSharedSoundId);
    if (!m_pBag) {
        m_pBag = std::make_unique<CBag>("Bag");
        m_pBag->m_bOwnBag = 1;
    }
    m_pEvents = std::make_unique<CreatureEventQueue>();
    m_pOrder = std::make_unique<ObjectEvent>();
    m_pEvents->Post(ObjectEventType::THINK, 0);
    ResetTimings();
}

void Player::ResetTimings() {
    // Every timing field has a value from the start: the step and attack
    // delays from the speed, the regeneration interval from the hit points.
    m_iStepTime = 5000 / std::max(1, m_iLoadedSpeed);
    m_iAttackTime = 70000 / std::max(1, m_iLoadedSpeed);
    m_iRegenInterval = RegenIntervalFor(m_iRegenRate, m_iMaxHitPoints);
    m_Position.x = m_ptGoal.x;
    m_Position.y = m_ptGoal.y;
}

Player::~Player() {
    m_pNaturalWeapon.reset();
    m_NaturalItems.clear();
    if (--s_iUseCount == 0) s_pSound.reset();
    if (World* world = GetWorld()) {
        // Only the creature's own entries: a number it was never entered
        // under belongs to someone else, and a creature renumbered since it
        // was entered must not stay behind under its old number.
        auto& players = world->m_PlayerArray;
        for (const int32_t n : m_EnteredNumbers)
            if (static_cast<size_t>(n) < players.size() && players[static_cast<size_t>(n)] == this)
                players[static_cast<size_t>(n)] = nullptr;
    }
    // The magic owns the known spells; the usable list only refers to them.
    DropMagic();
    m_UsableList.clear();
    m_WornList.clear();
    m_InUseList.clear();
    m_pBag.reset();
    m_pOrder.reset();
    m_pCombatOrder.reset();
    m_pEvents.reset();
}

int Player::CanBeUsedBy(Player* asker) {
    if (!asker) return 0;
    PlayerType t = asker->GetPlayerType();
    return (t == 10 || t == 1 || t == 18) ? m_bInteract : 0;
}

Object* Player::GetHeldItem() const {
    if (Object* w = m_pWeapon.Get()) return w;
    return m_pNaturalWeapon.get();
}

Object* Player::MapAttackTarget() {
    return m_pTarget.Get();
}

void Player::MapKeepInLand(Object* land) {
    m_pKeptInLand = land;
    if (!land) return;
    m_pEvents->Clear();
    m_pEvents->Post(ObjectEventType::THINK, 0);
}

Object* Player::GetLightSource() {
    // Only something that is itself a light source lights the map.
    Object* held = GetHeldItem();
    if (held && held->GetLightSource() == held) return held;
    return nullptr;
}

Object* Player::Clone() {
    qv::Persistent* made = GetRuntimeClass()->CreateObject();
    Player* copy = qv::DynamicCast<Player>(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    copy->CopyFrom(*this);
    return copy;
}

void Player::CopyFrom(const Player& o) {
    m_strSpecialName = o.m_strSpecialName;
    m_iHitPoints = o.m_iHitPoints;
    m_iMaxHitPoints = o.m_iMaxHitPoints;
    m_Position = o.m_Position;
    m_iHostileMode = o.m_iHostileMode;
    m_bCanName = o.m_bCanName;
    m_iPartySlot = o.m_iPartySlot;
    m_iActionOption = o.m_iActionOption;
    m_bAttackRandomMonsters = o.m_bAttackRandomMonsters;
    m_ptDefenseCell = o.m_ptDefenseCell;
    m_MoveList.clear();
    for (const auto& move : o.m_MoveList) {
        // A scripted move is copied through its stored record.
        qv::Archive out;
        out.WriteObject(move.get());
        qv::Archive in(out.Bytes());
        if (auto* copy = in.ReadObjectOf<PlayerMove>()) m_MoveList.emplace_back(copy);
    }
    m_iSpeed = o.m_iSpeed;
    m_iLoadedSpeed = o.m_iLoadedSpeed;
    m_iStrength = o.m_iStrength;
    m_iDexterity = o.m_iDexterity;
    m_iIntelligence = o.m_iIntelligence;
    m_iCurStr = o.m_iCurStr;
    m_iCombatDexterity = o.m_iCombatDexterity;
    m_sFacing = o.m_sFacing;
    m_strMessageFile = o.m_strMessageFile;
    m_strMessageNode = o.m_strMessageNode;
    m_strDeathNode = o.m_strDeathNode;
    m_dExperience = o.m_dExperience;
    m_iHPPerLevel = o.m_iHPPerLevel;
    m_iRegenRate = o.m_iRegenRate;
    m_bGhost = o.m_bGhost;
    m_iCombatSettings = o.m_iCombatSettings;
    m_ptGoal = o.m_ptGoal;
    m_ptLastStep = o.m_ptLastStep;
    m_ptStay = o.m_ptStay;
    m_iWaitCount = o.m_iWaitCount;
    m_sLifeState = o.m_sLifeState;
    m_sSpeciesMark = o.m_sSpeciesMark;
    m_iSpeedState = o.m_iSpeedState;
    m_iStoreNumber = o.m_iStoreNumber;
    if (m_pBag && o.m_pBag) m_pBag->CopyItemsFrom(*o.m_pBag);
    if (o.m_pMagic) {
        // A copied creature gets a magic of its own; assigning one changes nothing.
        DropMagic();
        m_pMagic = std::make_unique<Magic>();
        *m_pMagic = *o.m_pMagic;
        m_bHasMagic = 1;
    }
    for (const auto& item : o.m_InUseList)
        if (Object* copy = item->Clone()) EquipStored(copy);
    SetNPCNumber(&o.m_iNPCNumber);
    UpdateLevel();
}

void Player::SetPlayerNumber(int32_t n) {
    World* world = GetWorld();
    if (n == -1) {
        if (!world) return;
        n = static_cast<int32_t>(world->m_PlayerArray.size());
    }
    m_iPlayerNumber = n;
    // Numbers below -1 are member ids of random encounters, never entered;
    // an absurd number is kept but would make the array grow without bound.
    if (!world || n < 0 || n > kMaxPlayerNumber) return;
    auto& players = world->m_PlayerArray;
    if (static_cast<size_t>(n) < players.size()) {
        if (players[n]) return;
    } else {
        players.resize(static_cast<size_t>(n) + 1, nullptr);
    }
    players[n] = this;
    if (std::find(m_EnteredNumbers.begin(), m_EnteredNumbers.end(), n) == m_EnteredNumbers.end())
        m_EnteredNumbers.push_back(n);
}

void Player::AddSpell(const Spell& spell) {
    if (!m_pMagic) m_pMagic = std::make_unique<Magic>();
    m_bHasMagic = 1;
    Object* made = const_cast<Spell&>(spell).Clone();
    Spell* copy = qv::DynamicCast<Spell>(made);
    if (!copy) {
        delete made;
        return;
    }
    m_pMagic->m_SpellList.emplace_back(copy);
    auto it = std::find(m_UsableList.begin(), m_UsableList.end(), copy);
    if (it == m_UsableList.end()) m_UsableList.emplace_back(copy);
}

void Player::RemoveSpell(Spell* spell) {
    std::erase_if(m_UsableList, [spell](const qv::Handle<Object>& h) { return h.Get() == spell; });
    if (m_pMagic) m_pMagic->TakeSpell(spell);  // deleted here
}

void Player::DropMagic() {
    if (m_pMagic) {
        while (!m_pMagic->m_SpellList.empty()) RemoveSpell(m_pMagic->m_SpellList.front().get());
    }
    m_pMagic.reset();
    m_bHasMagic = 0;
}

const int32_t* Player::SetSex(const int32_t* value) {
    m_iSex = *value;
    return value;
}

const int32_t* Player::SetNPCNumber(const int32_t* value) {
    m_iNPCNumber = *value;
    return value;
}

void Player::SetImageFrame(int* x, int* y) {
    // The row picks one of eight row images, so a row past them is never kept;
    // the object part of a record reaches here before the creature's own row.
    int row = y ? *y : -1;
    if (row > 7) row = 0;
    Object::SetImageFrame(x, y ? &row : nullptr);
    if (m_iYImageNum < 0 || m_iYImageNum > 7) m_iYImageNum = 0;
}

void Player::JoinPlayerSet(ObjectHolder* holder) {
    m_iWaitCount = 0;
    World* world = GetWorld();
    PlayerSetMember::JoinPlayerSet(holder, world && world->m_bJoinForbidden);
}

const int16_t* Player::SetFacing(const int16_t* facing) {
    m_sFacing = *facing;
    int x = -1;
    int y = *facing;
    SetImageFrame(&x, &y);
    return facing;
}

int32_t Player::FacingFromDelta(const Position& from, const Position& to) {
    double dx = static_cast<double>(to.x) - from.x;
    double dy = static_cast<double>(to.y) - from.y;
    double d = dx * dx + dy * dy;
    if (d <= 0.0) return 0;
    double nx = dx * dx / d;
    if (nx > 0.75) return dx > 0 ? 0 : 4;
    if (nx < 0.25) return dy > 0 ? 2 : 6;
    if (dx > 0) return dy > 0 ? 1 : 7;
    return dy > 0 ? 3 : 5;
}

// ---- Levels and alertness

int Player::UpdateLevel() {
    auto levelOf = [](double experience, double& threshold) {
        int32_t level = 0;
        threshold = kFirstLevelThreshold;
        while (experience > threshold) {
            threshold *= 1.5;
            ++level;
        }
        return level;
    };
    m_iLevelShortRange = levelOf(m_dExperience[1], m_dNextShortRange);
    m_iLevelLongRange = levelOf(m_dExperience[0], m_dNextLongRange);
    m_iLevelMagic = levelOf(m_dExperience[2], m_dNextMagic);
    m_iLevel = levelOf(m_dExperience[0] + m_dExperience[1] + m_dExperience[2], m_dNextLevel);
    int64_t maxHp = static_cast<int64_t>(m_iHPPerLevel) * (m_iLevel + 1);
    m_iMaxHitPoints = qv::ClampToInt32(maxHp);
    if (m_iHitPoints > m_iMaxHitPoints) m_iHitPoints = m_iMaxHitPoints;
    m_iRegenInterval = RegenIntervalFor(m_iRegenRate, m_iMaxHitPoints);
    return m_iRegenInterval;
}

int Player::SetLevel(int32_t level) {
    // From the first threshold whatever the level now: the level reached is
    // the one asked for, not the sum of the two.
    double t = kFirstLevelThreshold;
    for (int32_t i = 1; i < level && std::isfinite(t); ++i) t *= 1.5;
    m_dExperience[0] = m_dShareLongRange * (t + 1);
    m_dExperience[1] = m_dShareShortRange * (t + 1);
    m_dExperience[2] = m_dShareMagic * (t + 1);
    UpdateLevel();
    return 1;
}

int Player::RestHours(const int32_t* hours, int32_t bonus) {
    if (!IsAlive() || !hours) return 0;
    constexpr int64_t kRestPerHour = 900000;  // game time an hour of rest counts for
    constexpr int64_t kAlertnessPerHour = 100;
    constexpr int64_t kMaxAlertness = 1000;
    const int64_t h = *hours;
    int64_t alert = int64_t{m_iAlertness} + bonus + kAlertnessPerHour * h;
    m_iAlertness = static_cast<int32_t>(std::clamp<int64_t>(alert, INT32_MIN, kMaxAlertness));
    if (h == 0) return m_iAlertness;
    if (m_iRegenInterval > 0) {
        const int64_t regained = kRestPerHour * h / m_iRegenInterval;
        if (regained != 0)
            m_iHitPoints = static_cast<int32_t>(
                std::min<int64_t>(int64_t{m_iHitPoints} + regained, m_iMaxHitPoints));
    }
    if (m_pMagic && m_pMagic->m_iRegenPeriod > 0) {
        const int64_t mana =
            int64_t{m_pMagic->m_uMana} + kRestPerHour * h / m_pMagic->m_iRegenPeriod;
        m_pMagic->m_uMana =
            static_cast<uint32_t>(std::clamp<int64_t>(mana, 0, int64_t{m_pMagic->m_uMaxMana}));
    }
    return m_iAlertness;
}

int Player::AddExperience(int32_t pool, double amount) {
    switch (pool) {
        case 0:
            m_dExperience[0] += amount;
            break;
        case 1:
            m_dExperience[1] += amount;
            break;
        case 4:
            m_dExperience[2] += amount;
            break;
        default:
            break;
    }
    RecomputeLoad();
    return 1;
}

int Player::ReduceAlertness(int32_t amount) {
    if (m_iPartySlot == 0) return m_iAlertness;
    if (amount < 0) amount = 0;
    m_iAlertness = static_cast<int32_t>(std::max<int64_t>(0, int64_t{m_iAlertness} - amount));
    if (m_iAlertness == 0) CancelCastSpells(SpellEffectKind::Any);
    return m_iAlertness;
}

// ---- The next step

int Player::ScheduleMove(int32_t time, int32_t x, int32_t y, int32_t delay) {
    int32_t d = delay != 0 ? delay : m_iStepTime;
    if (m_bHasted && m_dHasteFactor != 0.0) d = static_cast<int32_t>(d / m_dHasteFactor);
    // A step is never due at the time it was planned: otherwise a blocked
    // creature could plan and fail the same step forever within one turn.
    if (d < 1) d = 1;
    m_pEvents->Post(ObjectEventType::MOVE, qv::TimeAdd(time, d), nullptr, 0, x, y);
    return 1;
}
