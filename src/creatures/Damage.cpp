// Wounds and death: a creature loses hit points after its protections, and at
// none it becomes a corpse whose bag holds what it had.

#include <algorithm>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "items/Bag.h"
#include "items/Spell.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/UnusedNumbers.h"
#include "world/World.h"

namespace {

// Fire on a fire-protected creature and shock on a grounded one do a tenth.
constexpr int kProtectedDivisor = 10;
constexpr int32_t kMaxPoison = 10;
// The lowest and highest member ids of the world's pool, which a dead
// creature gives back (-1 is also the number of a creature without one).
constexpr int32_t kPoolLowest = -1000;
constexpr int32_t kPoolHighest = -2;
// The talk node that opens no conversation at a death.
constexpr const char* kNoDeathTalk = "HELLO";
// The picture's column of a corpse without a pose sheet.
constexpr int kCorpseColumn = 2;

// The kind of bag a corpse's bag becomes.
constexpr int32_t kCorpseBagKind = 3;

// A natural weapon or armour (kind 1) stays ready on a corpse.
constexpr int kNaturalKind = 1;

bool IsNaturalGear(Object* object) {
    if (CombatWeapon* w = CombatWeapon::Of(object)) return w->GetWeaponKind() == kNaturalKind;
    if (CombatArmour* a = CombatArmour::Of(object)) return a->GetArmourKind() == kNaturalKind;
    return false;
}

}  // namespace

void Player::TakeDamage(int amount, int kind) {
    if (m_sLifeState < 1 || amount == 0) return;
    if ((kind == DamageKind::Fire && m_bFireProtection) ||
        (kind == DamageKind::Shock && m_bGrounded))
        amount /= kProtectedDivisor;
    if (kind == DamageKind::Poison && m_iPoison < kMaxPoison && (qv::Rand() & 1)) ++m_iPoison;
    World* world = GetWorld();
    if (world && world->m_bPartyInvulnerable && world->FindPartySlot(this) != -1) return;
    if (m_bNoDamage) return;

    const int32_t loss = std::min<int32_t>(amount, m_iHitPoints);
    m_iHitPoints -= loss;
    if (m_pGroup) m_pGroup->LoseHitPoints(loss);
    if (m_bPoseSheet) SetPose(m_iPoseCount - 1);
    qv::Handle<Player> self(this);
    if (m_iHitPoints == 0) Die();
    if (!self) return;
    const int hurt = PlaySecondSound();
    PlayCombatSound(&hurt);
    if (CreatureImageSet* set = GetClassImages()) {
        const int32_t frames = set->FrameCount(ImageAction::WOUNDED);
        if (frames > 0) {
            m_iFlashFrame = qv::Rand() % frames;
            m_iFlashCount = 0;
        }
    }
}

void Player::PutInUseIntoBag() {
    if (!m_pBag) m_pBag = std::make_unique<CBag>("Bag");
    // Once through what was in use: each thing leaves its hand or body and
    // goes into the bag, whatever it is.
    std::vector<Object*> inUse;
    for (const auto& item : m_InUseList) inUse.push_back(item.get());
    for (Object* item : inUse) {
        auto it = std::find_if(m_InUseList.begin(), m_InUseList.end(),
                               [item](const auto& p) { return p.get() == item; });
        if (it == m_InUseList.end()) continue;
        std::unique_ptr<Object> owned = std::move(*it);
        // A full bag: the thing is laid at the creature's feet; with no place
        // there either it stays in use.
        const bool full = !m_pBag->CanHold(item);
        if (full && !DropAtFeet(owned)) {
            *it = std::move(owned);
            continue;
        }
        m_InUseList.erase(it);
        if (m_pWeapon == item) m_pWeapon = nullptr;
        if (m_pMeleeWeapon == item) m_pMeleeWeapon = NaturalMeleeWeapon();
        if (m_pRangedWeapon == item) m_pRangedWeapon = nullptr;
        std::erase_if(m_WornList, [item](const qv::Handle<Object>& h) { return h.Get() == item; });
        for (ItemUse& slot : m_BodySlotList)
            if (slot.m_pOccupant == item) {
                slot.m_bOccupied = 0;
                slot.m_pOccupant = nullptr;
            }
        if (full) continue;  // the map has it now
        if (!m_pBag->PutItem(item, 1)) {
            m_pBag->AddItem(item);
            m_pBag->SetItemCount(m_pBag->ItemCount() + 1);
        }
        owned.release();
    }
    RecomputeLoad();
}

int Player::Die() {
    if (!m_pBag) m_pBag = std::make_unique<CBag>("Bag");
    m_pBag->m_iBagKind = kCorpseBagKind;
    LeaveOpponents(true);
    CancelCastSpells(SpellEffectKind::Any);
    CancelSpellsOn(SpellEffectKind::Any);
    PutInUseIntoBag();
    std::erase_if(m_UsableList,
                  [](const qv::Handle<Object>& h) { return !IsNaturalGear(h.Get()); });

    World* world = GetWorld();
    if (world && world->m_pUnusedNumbers && m_iPlayerNumber >= kPoolLowest &&
        m_iPlayerNumber <= kPoolHighest)
        world->m_pUnusedNumbers->GiveBack(m_iPlayerNumber);

    const int death = PlayThirdSound();
    PlayCombatSound(&death);
    m_sLifeState = 0;
    m_bMoveable = 1;

    if (m_strDeathNode != kNoDeathTalk && world && world->m_pLeader) {
        m_strMessageNode = m_strDeathNode;
        if (world->m_OpenDeathTalk) world->m_OpenDeathTalk(world->m_pLeader.Get(), this);
    }

    if (CreatureImageSet* set = GetClassImages()) {
        int32_t now = 0;
        CreatureImageSet::StartAction(set, this, ImageAction::DEAD, &now, nullptr);
    } else {
        int x = m_bPoseSheet ? m_iPoseCount : kCorpseColumn;
        int y = 0;
        SetImageFrame(&x, &y);
        m_pEvents->Post(ObjectEventType::ANIMATE, 0);
    }
    return m_sLifeState;
}
