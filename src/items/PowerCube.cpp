#include "items/PowerCube.h"

#include "creatures/Player.h"
#include "items/ItemPictures.h"
#include "items/Potions.h"
#include "items/SharedSound.h"
#include "items/Spell.h"
#include "items/TargetChoice.h"
#include "media/DDObjects.h"
#include "media/DSound.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "structures/Walls.h"
#include "world/ObjectHolder.h"

QV_IMPLEMENT_SERIAL(PowerCube, Object, 2, true)
QV_IMPLEMENT_SERIAL(PowerCubeStand, Object, 2, true)

namespace {

SharedSound s_chargeSound(kWaveCharge);
SharedSound s_dischargeSound(kWaveDischarge);
// A door the cube's key does not fit rattles.
SharedSound s_lockedSound(kWaveLocked);

// By stand symbol (and Stars colour) 1 to 5.
constexpr const char* kStandSuffixes[] = {
    "", " - Sun", " - Mighty Oak", " - Hourglass", " - Shield", " - Wavy Lines"};
constexpr const char* kColours[] = {"",
                                    ", glowing red",
                                    ", glowing blue",
                                    ", glowing green",
                                    ", glowing yellow",
                                    ", glowing purple"};
constexpr int32_t kHorsiesColours = 4;  // the colour texts a Horsies cube's value can name

// The cube's picture columns.
constexpr int kEmptyColumn = 0;
constexpr int kChargedColumn = 1;

// The class pictures of the cube and of the stand, made by the first of each.
CDDObject& CubeImage() {
    // The image list outlives the pictures that join it.
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    return image;
}

CDDObject& StandImage() {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    return image;
}

constexpr ItemLook kCubeLook{kBitmapPowerCube, kPowerCubeWidth, kPowerCubeHeight,
                             kPowerCubeHotX,   kPowerCubeHotY,  2};
constexpr ItemLook kStandLook{kBitmapPowerCubeStand, kPowerCubeStandWidth, kPowerCubeStandHeight,
                              kPowerCubeStandHotX,   kPowerCubeStandHotY,  kPowerCubeStandColumns};

bool InRange(int32_t v, int32_t last) {
    return v >= 1 && v <= last;
}

}  // namespace

// ---- The cube

PowerCube::PowerCube() : Object("Cogo'Septem") {
    m_iWeight = kWeight;
    m_iLightSampling = 1;
    DressItem(*this, CubeImage(), kCubeLook);
    s_chargeSound.Take();
    s_dischargeSound.Take();
    s_lockedSound.Take();
    Discharge(false);
}

PowerCube::~PowerCube() {
    s_chargeSound.Give();
    s_dischargeSound.Give();
    s_lockedSound.Give();
}

void PowerCube::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsLoading() && schema < 2) return;
    ar.Exchange(m_iSymbol);
    ar.Exchange(m_iChargeValue);
    ar.Exchange(m_iCharges);
}

std::string PowerCube::GetDisplayName() {
    std::string name = Object::GetDisplayName();
    if (m_iSymbol == CubeSymbol::Horsies) {
        name += " - Horsies";
        if (InRange(m_iChargeValue, kHorsiesColours)) name += kColours[m_iChargeValue];
    } else if (m_iSymbol == CubeSymbol::Stars) {
        name += " - Stars";
        if (InRange(m_iChargeValue, PowerCubeStand::kSymbols)) name += kColours[m_iChargeValue];
    }
    return name;
}

int PowerCube::IsValidTarget(Object* target) {
    if (qv::DynamicCast<PowerCubeStand>(target)) return 1;
    if (qv::DynamicCast<Player>(target)) return m_iSymbol == CubeSymbol::Stars ? 1 : 0;
    if (qv::DynamicCast<FrontDoorBrick>(target) || qv::DynamicCast<SideDoorBrick>(target))
        return m_iSymbol == CubeSymbol::Horsies ? 1 : 0;
    return 0;
}

Object* PowerCube::Clone() {
    Object* copy = Object::Clone();
    if (auto* cube = qv::DynamicCast<PowerCube>(copy)) {
        cube->m_iSymbol = m_iSymbol;
        cube->m_iChargeValue = m_iChargeValue;
        cube->m_iCharges = m_iCharges;
    }
    return copy;
}

void PowerCube::Charge(int32_t value, int32_t amount) {
    m_iCharges += amount;
    m_iXImageNum = kChargedColumn;
    m_iChargeValue = value;
    s_chargeSound.Play();
}

void PowerCube::Discharge(bool sound) {
    --m_iCharges;
    if (m_iCharges < 1) {
        m_iChargeValue = 0;
        m_iXImageNum = kEmptyColumn;
        m_iCharges = 0;
    }
    if (sound) s_dischargeSound.Play();
}

int PowerCube::GetUsePrompt(Player*, int) {
    // The user of an earlier use must not be handed to a door this cube
    // opens: none is recorded.
    return BeginTargetChoice(*this, nullptr, UseSelect::kToken, UseSelect::kPause,
                             "Use Cogo'Septem on...");
}

int PowerCube::Use(Player* user, Object* target) {
    if (!target) return 0;
    ActOn(user, target);
    EndUsePause();
    return 0;
}

void PowerCube::ActOn(Player* user, Object* target) {
    if (auto* stand = qv::DynamicCast<PowerCubeStand>(target)) {
        const int32_t symbol = stand->m_iSymbol;
        if (m_iSymbol == CubeSymbol::Horsies && InRange(symbol, PowerCubeStand::kKeySymbols))
            Charge(kFirstKey + symbol, 1);
        else if (m_iSymbol == CubeSymbol::Stars && InRange(symbol, PowerCubeStand::kSymbols))
            Charge(symbol, 1);
        return;
    }
    // An empty cube does nothing, whatever it is used on.
    if (m_iChargeValue == 0) return;
    if (Player* p = AsCreature(target)) {
        if (m_iSymbol != CubeSymbol::Stars) return;
        // Colours 1 to 5 in their order.
        static constexpr Boon kBoons[] = {Boon::Healing, Boon::Strength, Boon::Speed,
                                          Boon::Toughskin, Boon::Mana};
        if (!InRange(m_iChargeValue, PowerCubeStand::kSymbols)) return;
        GiveBoon(kBoons[m_iChargeValue - 1], *p);
        Discharge(true);
        return;
    }
    if (target->Type() == WALL && m_iSymbol == CubeSymbol::Horsies) {
        // The door of the cube's key opens; any other stays shut, and the
        // charge is spent either way.
        if (target->m_iItemNum == m_iChargeValue) {
            int open = 3;
            target->Activate(&open, user);
        } else if (CDSound* locked = s_lockedSound.Get(); locked && target->m_pHolder) {
            locked->PlayAt(target->m_pHolder->pos.x, target->m_pHolder->pos.y);
        }
        Discharge(true);
    }
}

// ---- The stand

PowerCubeStand::PowerCubeStand() : Object("Nutrio'Septem") {
    m_bMoveable = 0;
    m_iLightSampling = 1;
    DressItem(*this, StandImage(), kStandLook);
}

void PowerCubeStand::GetImageFrame(int* x, int* y) {
    // The stand shows its own symbol; one outside the five shows the bare
    // stand. Its stored frame stays as it was read.
    if (x && *x >= 0) *x = InRange(m_iSymbol, kSymbols) ? m_iSymbol : 0;
    if (y && *y >= 0) *y = 0;
}

void PowerCubeStand::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsLoading() && schema < 2) return;
    ar.Exchange(m_iSymbol);
}

std::string PowerCubeStand::GetDisplayName() {
    // A symbol outside the five adds nothing.
    return Object::GetDisplayName() +
           (InRange(m_iSymbol, kSymbols) ? kStandSuffixes[m_iSymbol] : "");
}

Object* PowerCubeStand::Clone() {
    Object* copy = Object::Clone();
    if (auto* stand = qv::DynamicCast<PowerCubeStand>(copy)) stand->m_iSymbol = m_iSymbol;
    return copy;
}
