#include "items/Missile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "items/ItemPictures.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "structures/LightSource.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(LRWeapon, Weapon, 1, true)
QV_IMPLEMENT_SERIAL(Bow, LRWeapon, 1, true)
QV_IMPLEMENT_SERIAL(Longbow, LRWeapon, 1, true)
QV_IMPLEMENT_SERIAL(Missile, Weapon, 2, true)
QV_IMPLEMENT_SERIAL(MagicMissile, Missile, 1, true)
QV_IMPLEMENT_SERIAL(FiredMissile, Object, 1, true)

namespace {

// What the missile constructors put in m_iSpare1, and the move mode of
// whatever flies.
constexpr int kMissileMark = 2;
constexpr uint8_t kFlyingMoveMode = 4;

constexpr LauncherRow kLaunchers[] = {
    // name      speed range base stun weight value kind    picture
    {"Bow", 40, 7, 2, 20, 17, 100, kBow, kItemBow},
    {"Longbow", 30, 10, 3, 40, 23, 150, kLongbow, kItemLongbow},
};

CDDObject& LauncherImage(int32_t kind) {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject images[2];
    return images[kind == kLongbow ? 1 : 0];
}

CDDObject& MissileImage() {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    return image;
}

CDDObject& MagicMissileImage() {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    return image;
}

const ItemLook kMissileLook{kBitmapMissile, 16, 16, 8, 8, kMissileDirections, 1, 4};
const ItemLook kMagicMissileLook{kBitmapMagicMissile,  16, 16, 8, 8, kMissileDirections,
                                 kMagicMissileColours, 1};

}  // namespace

// ---- LRWeapon and the bows

LRWeapon::LRWeapon(int32_t speed, int32_t damageRange, int32_t damageBase, int32_t stun,
                   int32_t value, const std::string& name)
    : Weapon(speed, damageRange, damageBase, -1, stun, name), m_iLauncherValue(value) {}

QV_SERIALIZE_BASE_ONLY(LRWeapon, Weapon)

Object* LRWeapon::Clone() {
    Object* copy = Weapon::Clone();
    if (auto* l = qv::DynamicCast<LRWeapon>(copy)) l->m_iLauncherValue = m_iLauncherValue;
    return copy;
}

int LRWeapon::Launch(Player* shooter, Player* target, int32_t now) {
    if (!shooter || !target) return 0;
    return LaunchMissile(new Missile(shooter, this), shooter, target->m_Position, now,
                         FiredMissile::kCombatStepPeriod)
               ? 1
               : 0;
}

bool LaunchMissile(Missile* missile, Player* shooter, const Position& to, int32_t now,
                   int32_t stepPeriod) {
    if (!missile) return false;
    World* world = GetWorld();
    MapMaster* map = GetMapMaster();
    const Position from = shooter ? shooter->m_Position : to;
    auto* holder = new ObjectHolder(from, missile);
    Position at = from;
    // The shooter does not stand in the way of its own missile.
    ObjectIgnoreList self{shooter};
    if (!world || !map || !shooter || map->AddHolder(at, holder, &self) != 1) {
        DeleteHolderWithObject(holder);
        return false;
    }
    world->m_FlyingObjects.push_back(
        std::make_unique<FiredMissile>(missile, shooter->m_iPlayerNumber, qv::Point{from.x, from.y},
                                       qv::Point{to.x, to.y}, now, stepPeriod, holder));
    return true;
}

const LauncherRow& LauncherTable(int32_t kind) {
    return kLaunchers[kind == kLongbow ? 1 : 0];
}

Launcher::Launcher(int32_t kind, int32_t value)
    : LRWeapon(LauncherTable(kind).speed, LauncherTable(kind).damageRange,
               LauncherTable(kind).damageBase, LauncherTable(kind).stun, value,
               LauncherTable(kind).name),
      m_iKind(LauncherTable(kind).kind) {
    const LauncherRow& row = LauncherTable(kind);
    m_iLightSampling = 1;
    m_iWeight = row.weight;
    // A bow takes both hands: the bow hand and the shield arm.
    m_LocationList.emplace_back(BodySlot::BowHand);
    m_LocationList.emplace_back(BodySlot::ShieldArm);
    m_iValue = row.value;
    DressItem(*this, LauncherImage(m_iKind),
              ItemLook{kBitmapItemGround + row.picture, 32, 24, 16, 16, 1, 1, 4});
}

CDDObject* Launcher::GetImage() {
    const LauncherRow& row = LauncherTable(m_iKind);
    const bool ownName = GetDisplayName() == row.name;
    return InventoryPicture((ownName ? kBitmapItemInventory : kBitmapItemNamed) + row.picture, 36,
                            33);
}

void Launcher::GetImageFrame(int* x, int* y) {
    if (x && *x >= 0) *x = 0;
    if (y && *y >= 0) *y = 0;
}

Bow::Bow(int32_t value) : Launcher(kBow, value) {}
QV_SERIALIZE_BASE_ONLY(Bow, LRWeapon)
Longbow::Longbow(int32_t value) : Launcher(kLongbow, value) {}
QV_SERIALIZE_BASE_ONLY(Longbow, LRWeapon)

// ---- Missile

Missile::Missile(Player* shooter, Weapon* launcher)
    : Weapon(100, 7, 2, 20, 20, "Missile"), m_pShooter(shooter), m_pLauncher(launcher) {
    m_iValue = 1;
    if (launcher) {
        m_iSpeed = launcher->m_iSpeed;
        m_iParameter = launcher->m_iParameter;
        m_iDamageRange = launcher->m_iDamageRange;
        m_iDamageBase = launcher->m_iDamageBase;
        m_iStun = launcher->m_iStun;
    }
    m_iDamageKind = 0;
    m_bMoveable = 0;
    m_iLightSampling = 1;
    m_iSpare1 = kMissileMark;
    m_iMoveMode = kFlyingMoveMode;
    DressItem(*this, MissileImage(), kMissileLook);
}

Missile::~Missile() {
    // A projectile still carrying it is left to end on its own.
    if (m_pFired && m_pFired != m_pGrounded.get()) m_pFired->ForgetMissile();
    m_pFired = nullptr;
    if (m_pGrounded) {
        m_pGrounded->m_pMissile = nullptr;
        m_pGrounded.reset();
    }
}

void Missile::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Weapon::classInfo);
    Weapon::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_pFired);
        return;
    }
    if (schema < 2) return;
    std::unique_ptr<FiredMissile> flight(ar.ReadObjectOf<FiredMissile>());
    if (!flight) return;
    // A missile is read once, fresh: it carries no other projectile yet.
    flight->m_pMissile = this;
    m_pFired = flight.get();
    m_pGrounded = std::move(flight);
}

void Missile::SetPosition(MapCell*, Position*) {
    if (!m_pFired) return;
    if (m_pHolder) m_pFired->m_pFlightHolder = m_pHolder;
    if (m_pGrounded) {
        if (World* world = GetWorld()) world->AddFlyingObject(m_pGrounded.release());
    }
}

// ---- MagicMissile

MagicMissile::MagicMissile(int32_t colour, Player* shooter, int32_t value, int32_t damageKind,
                           Object* light)
    : Missile(shooter, nullptr), m_iColour(colour), m_iMissileValue(value), m_pLight(light) {
    m_iDamageRange = 7;
    m_iDamageBase = 5;
    m_iDamageKind = damageKind;
    DressItem(*this, MagicMissileImage(), kMagicMissileLook);
    m_iYImageNum = colour;
}

MagicMissile::~MagicMissile() = default;

void MagicMissile::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Missile::classInfo);
    Missile::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_iColour);
        ar.WriteObject(m_pLight.get());
        return;
    }
    m_iColour = ar.ReadInt();
    m_iYImageNum = m_iColour;
    m_pLight.reset(ReadObjectOutsideGroups<LightSource>(ar));
}

void MagicMissile::GetImageFrame(int* x, int* y) {
    const bool row = y && *y >= 0;
    Missile::GetImageFrame(x, y);
    if (row && (*y < 0 || *y >= kMagicMissileColours)) *y = 0;
}

Object* MagicMissile::Clone() {
    Object* copy = Missile::Clone();
    if (auto* m = qv::DynamicCast<MagicMissile>(copy)) {
        m->m_iColour = m_iColour;
        m->m_iMissileValue = m_iMissileValue;
        if (m_pLight) m->m_pLight.reset(m_pLight->Clone());
    }
    return copy;
}

// ---- FiredMissile

FiredMissile::FiredMissile() : Object("Object") {
    m_iMoveMode = kFlyingMoveMode;
}

FiredMissile::FiredMissile(Missile* missile, int32_t shooterId, qv::Point from, qv::Point to,
                           int32_t now, int32_t stepPeriod, ObjectHolder* holder)
    : Object("Object"),
      m_ptCurrent(from),
      m_ptAimed(to),
      m_iLastStep(now),
      m_iStepPeriod(stepPeriod < 1 ? kCombatStepPeriod : stepPeriod),
      m_iShooter(shooterId),
      m_Position(from.x, from.y, 0),
      m_pMissile(missile),
      m_pFlightHolder(holder) {
    m_iMoveMode = kFlyingMoveMode;
    if (missile) {
        missile->m_bMoveable = 0;
        missile->m_pFired = this;
    }
    StartLine();
    if (missile) {
        const int direction = DirectionOf(int64_t{to.x} - from.x, int64_t{to.y} - from.y);
        if (direction >= 0) missile->m_iXImageNum = direction;
    }
}

FiredMissile::~FiredMissile() {
    Missile* missile = m_pMissile;
    m_pMissile = nullptr;
    if (missile) missile->m_pFired = nullptr;
    if (ObjectHolder* holder = m_pFlightHolder.Get()) {
        m_pFlightHolder = nullptr;
        MapMaster* map = GetMapMaster();
        const bool removed = map && map->RemoveHolder(holder->pos, holder);
        if (missile && holder->m_pObject == missile) {
            holder->m_pObject = nullptr;
            missile->m_pHolder = nullptr;
        }
        // A holder taken off the map was the flight's; one the map does not
        // list is kept by a land, which drops it once it is empty. Walkers
        // heading for it keep it as a bare target.
        if (removed && holder->m_PlayerSet.empty()) delete holder;
    }
    delete missile;
}

void FiredMissile::ForgetMissile() {
    m_pMissile = nullptr;
    m_pFlightHolder = nullptr;
}

int FiredMissile::DirectionOf(int64_t dx, int64_t dy) {
    const double ddx = static_cast<double>(dx), ddy = static_cast<double>(dy);
    double u = (ddx - ddy) * (ddx - ddy);
    if (ddx - ddy <= 0) u = -u;
    double w = ddy * ddy;
    if (ddy <= 0) w = -w;
    const double s = std::fabs(u) + std::fabs(w);
    if (s == 0.0) return -1;  // a shot at its own point has no direction
    const double a = w / s;
    const double b = u / s;
    if (std::fabs(a) > 0.75) return a < 0 ? 2 : 6;
    if (std::fabs(a) <= 0.25) return b > 0 ? 4 : 0;
    if (a >= 0) return b > 0 ? 5 : 7;
    return b > 0 ? 3 : 1;
}

void FiredMissile::StartLine() {
    // Points far beyond any world (from a file) are brought within reach, so
    // that the line's sums stay inside the integer range.
    auto bound = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, -kMaxReach, kMaxReach));
    };
    m_ptCurrent = {bound(m_ptCurrent.x), bound(m_ptCurrent.y)};
    int64_t dx = int64_t{m_ptAimed.x} - m_ptCurrent.x;
    int64_t dy = int64_t{m_ptAimed.y} - m_ptCurrent.y;
    // The aimed point is reached the short way round the world.
    if (MapMaster* map = GetMapMaster(); map && map->worldpixelx > 0 && map->worldpixely > 0) {
        dx = MapMaster::WrapOffset(bound(dx), map->halfpixelx, map->worldpixelx);
        dy = MapMaster::WrapOffset(bound(dy), map->halfpixely, map->worldpixely);
    }
    const qv::Point to{m_ptCurrent.x + bound(dx), m_ptCurrent.y + bound(dy)};
    m_Line.Start(&m_ptCurrent, &to);
}

int FiredMissile::Update(int32_t now, MapMaster* map) {
    // Without its missile (gone with its land) the flight is over.
    if (!m_pMissile) return Object::kLeaveGroup;
    if (m_iLastStep == -1) m_iLastStep = now;
    const int32_t elapsed = qv::TimeDiff(now, m_iLastStep);
    if (elapsed < m_iStepPeriod) return 0;
    const int32_t steps = elapsed / m_iStepPeriod;
    m_iLastStep = qv::TimeAdd(m_iLastStep, steps * m_iStepPeriod);
    if (!map) map = GetMapMaster();

    ObjectIgnoreList ignore;
    if (Player* shooter = m_pMissile->m_pShooter.Get()) ignore.push_back(shooter);
    bool landedEarly = false;
    for (int32_t i = 0; i < steps; ++i) {
        if (m_Line.AtEnd()) {
            landedEarly = true;
            break;
        }
        m_Line.Next(&m_ptCurrent);
        if (!map) continue;
        if (ObjectHolder* met = map->CheckMove(
                m_pMissile, Position(m_ptCurrent.x, m_ptCurrent.y, 0), &ignore, 1, 0)) {
            Hit(met);
            return Object::kLeaveGroup;
        }
    }
    if (landedEarly) Hit(nullptr);
    if (m_Line.AtEnd()) return Object::kLeaveGroup;

    Position to(m_ptCurrent.x, m_ptCurrent.y, 0);
    if (map) {
        map->WrapPosition(to);
        m_ptCurrent = {to.x, to.y};
        if (ObjectHolder* holder = m_pFlightHolder.Get())
            map->MoveHolder(holder->pos, to, holder, &ignore);
    }
    m_Position = to;
    return 0;
}

void FiredMissile::Hit(ObjectHolder* holder) {
    if (!holder || !m_pMissile) return;
    Object* target = holder->m_pObject;
    if (!target) return;
    if (target->Type() != PLAYER) {
        target->TakeDamage(m_pMissile->GetDamage(nullptr, nullptr, 0), m_pMissile->m_iDamageKind);
        return;
    }
    auto* creature = qv::DynamicCast<Player>(target);
    if (!creature || creature->m_sLifeState < 1) return;
    Player* shooter = m_iShooter == -1 ? nullptr : ResolveActor(m_iShooter);
    const int chance = m_pMissile->GetHitChance(shooter, creature, IsDebugView());
    if (!CombatRules::Hits(qv::Rand() % 100, chance + CombatRules::kChanceBonus)) return;
    // The hit holds the creature up as a close hit does.
    creature->Events().ShiftTimes(
        CombatRules::StunDelay(m_pMissile->m_iStun, creature->m_iStepTime));
    creature->TakeDamage(m_pMissile->GetDamage(nullptr, creature, 0), m_pMissile->m_iDamageKind);
}

void FiredMissile::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsStoring()) {
        for (int32_t v : {m_ptCurrent.x, m_ptCurrent.y, m_ptAimed.x, m_ptAimed.y, m_iStepPeriod,
                          m_Position.x, m_Position.y, m_iShooter})
            ar.WriteInt(v);
        return;
    }
    m_ptCurrent.x = ar.ReadInt();
    m_ptCurrent.y = ar.ReadInt();
    m_ptAimed.x = ar.ReadInt();
    m_ptAimed.y = ar.ReadInt();
    m_iStepPeriod = ar.ReadInt();
    m_Position.x = ar.ReadInt();
    m_Position.y = ar.ReadInt();
    m_iShooter = ar.ReadInt();
    // A period that could never step stands for the combat's own.
    if (m_iStepPeriod < 1) m_iStepPeriod = kCombatStepPeriod;
    StartLine();
    m_iLastStep = -1;
}
