#include "items/Potions.h"

#include <algorithm>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/SharedSound.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/TargetChoice.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/Rand.h"
#include "structures/Looks.h"
#include "world/Global.h"

QV_IMPLEMENT_SERIAL(Potion, Useable, 1, true)

namespace {

SharedSound s_drinkSound(kWaveDrink);

constexpr const char* kPotionNames[PotionType::Count] = {
    "Empty potion",    "Potion of Healing",   "Potion of Restore Mana", "Potion of Strength",
    "Potion of Speed", "Potion of Toughskin", "Potion of Cure Poison"};

bool IsPotionType(int32_t type) {
    return type >= 0 && type < PotionType::Count;
}

}  // namespace

// ---- What potions, scrolls and cubes give

namespace {

// `value` up by the roll, never past `maximum` and never down.
template <class T>
T Raised(T value, T maximum) {
    const int64_t raised =
        std::min<int64_t>(static_cast<int64_t>(value) + kBoonBase + qv::Rand() % kBoonSpread,
                          static_cast<int64_t>(maximum));
    return raised > static_cast<int64_t>(value) ? static_cast<T>(raised) : value;
}

template <class S>
void LayWithoutCaster(Player& target) {
    auto spell = std::make_unique<S>();
    spell->ApplyEffect(nullptr, &target);
    SettleSpell(std::move(spell));
}

}  // namespace

bool GiveBoon(Boon boon, Player& creature) {
    switch (boon) {
        case Boon::Healing:
            creature.m_iHitPoints = Raised(creature.m_iHitPoints, creature.m_iMaxHitPoints);
            return true;
        case Boon::Mana:
            if (Magic* magic = creature.m_pMagic.get()) {
                magic->m_uMana = Raised(magic->m_uMana, magic->m_uMaxMana);
                return true;
            }
            return false;
        case Boon::Strength:
            LayWithoutCaster<Strength>(creature);
            return true;
        case Boon::Speed:
            LayWithoutCaster<Haste>(creature);
            return true;
        case Boon::Toughskin:
            LayWithoutCaster<Toughskin>(creature);
            return true;
        case Boon::CurePoison:
            LayWithoutCaster<CurePoison>(creature);
            return true;
        case Boon::Invisibility:
            LayWithoutCaster<Invisibility>(creature);
            return true;
    }
    return false;
}

// ---- Potion

Potion::Potion(int32_t type) : Useable("Potion") {
    m_iValue = kValue;
    m_iLightSampling = 1;
    WearLook(*this, {kBitmapPotionKinds, 16, 24, 8, 20, kPotionKindCount, 1});
    s_drinkSound.Take();
    SetPotionType(type);
}

Potion::~Potion() {
    s_drinkSound.Give();
}

void Potion::SetPotionType(int32_t type) {
    m_iPotionType = type;
    // The picture has one frame a type; another type shows the empty bottle.
    m_iXImageNum = IsPotionType(type) ? type : PotionType::Empty;
    if (!IsPotionType(type)) return;
    SetName(kPotionNames[type]);
    m_iWeight = type == PotionType::Empty ? kWeightEmpty : kWeightFull;
}

void Potion::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Useable::classInfo);
    Useable::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_iPotionType);
        return;
    }
    SetPotionType(ar.ReadInt());
}

int Potion::GetUsePrompt(Player* user, int) {
    if (m_iPotionType == PotionType::Empty) {
        SetMessageLine("Empty potion...");
        return 2;
    }
    return BeginTargetChoice(*this, user, UseSelect::kItem, UseSelect::kPause, "Use Potion on...");
}

int Potion::IsValidTarget(Object* target) {
    const Player* p = qv::DynamicCast<Player>(target);
    return p && p->IsAlive() && p->m_iPartySlot != 0 ? 1 : 0;
}

Object* Potion::Clone() {
    Object* copy = Object::Clone();
    if (auto* potion = qv::DynamicCast<Potion>(copy)) potion->SetPotionType(m_iPotionType);
    return copy;
}

int Potion::Use(Player* user, Object* target) {
    if (!QV_CHECK_TEXT(user != nullptr && target != nullptr, "pUsing != NULL && pUsedOn != NULL"))
        return 0;
    Player* p = AsCreature(target);
    if (!p) return 0;
    // Types 1 to 6 in their order; an empty potion is named so again.
    static constexpr Boon kBoons[] = {Boon::Healing, Boon::Mana,      Boon::Strength,
                                      Boon::Speed,   Boon::Toughskin, Boon::CurePoison};
    bool used = false;
    if (m_iPotionType == PotionType::Empty)
        SetName(kPotionNames[PotionType::Empty]);
    else if (IsPotionType(m_iPotionType))
        used = GiveBoon(kBoons[m_iPotionType - 1], *p);
    EndUsePause();
    if (used) {
        s_drinkSound.Play();
        SetPotionType(PotionType::Empty);
    }
    return 0;
}
