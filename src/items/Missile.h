#pragma once
// Missile weapons. A launcher (Bow, Longbow) is held and answers IsRanged. A
// Missile is the weapon that flies: a shot makes one with the launcher's
// numbers, and a spell makes a MagicMissile with a colour, a damage kind and
// a light of its own. A FiredMissile is the projectile in flight: it carries
// the missile from the shooter toward the aimed point two pixels a step,
// hits the first thing in its way, or lands.
//
// Who owns what while a missile flies: the map owns the missile (the object of
// the holder it stands on), the world's list of flying objects owns the
// projectile. The projectile that ends takes the holder off the map and
// deletes both; a missile that goes first (its land was unloaded) leaves its
// projectile behind, which then ends at its next step without touching the
// map. A projectile read from a file with its missile belongs to the missile
// until the missile is placed again, when it takes to the air once more.

#include <cstdint>
#include <memory>

#include "creatures/LineRoute.h"
#include "items/Weapon.h"
#include "platform/Handle.h"
#include "world/ObjectHolder.h"

class FiredMissile;

// A held weapon that shoots.
class LRWeapon : public Weapon {
    QV_DECLARE_CLASS(LRWeapon)
public:
    explicit LRWeapon(int32_t speed = 100, int32_t damageRange = 1, int32_t damageBase = 1,
                      int32_t stun = 50, int32_t value = 0, const std::string& name = "LRWeapon");
    void Serialize(qv::Archive& ar) override;
    Object* Clone() override;
    int IsRanged() override { return 1; }
    // Shoots a missile with this launcher's numbers from the shooter at the
    // target: 1 once it flies.
    int Launch(Player* shooter, Player* target, int32_t now) override;
    int32_t m_iLauncherValue;  // given by its maker; not stored
};

// The bows, by their kind.
enum LauncherKind : int32_t { kBow = 21, kLongbow = 22 };
struct LauncherRow {
    const char* name;
    int32_t speed, damageRange, damageBase, stun, weight, value, kind;
    int picture;
};
const LauncherRow& LauncherTable(int32_t kind);

class Launcher : public LRWeapon {
public:
    Launcher(int32_t kind, int32_t value);
    int GetWeaponKind() override { return m_iKind; }
    // As the named hand weapons: one picture while it bears its kind's name,
    // another once it carries a name of its own.
    CDDObject* GetImage() override;
    void GetImageFrame(int* x, int* y) override;

private:
    int32_t m_iKind;
};

class Bow : public Launcher {
    QV_DECLARE_CLASS(Bow)
public:
    explicit Bow(int32_t value = 0);
    void Serialize(qv::Archive& ar) override;
};

class Longbow : public Launcher {
    QV_DECLARE_CLASS(Longbow)
public:
    explicit Longbow(int32_t value = 0);
    void Serialize(qv::Archive& ar) override;
};

class Missile : public Weapon {
    QV_DECLARE_CLASS(Missile)
public:
    // Takes the launcher's numbers when there is one.
    explicit Missile(Player* shooter = nullptr, Weapon* launcher = nullptr);
    ~Missile() override;
    Missile(const Missile&) = delete;
    Missile& operator=(const Missile&) = delete;

    // The weapon part, then the projectile that carries it (null when none).
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 0; }
    // Placed on the map: a projectile read with it takes to the air again,
    // with the holder it now stands on.
    void SetPosition(MapCell* windowCell, Position* pos) override;
    int GetWeaponKind() override { return 23; }
    int IsRanged() override { return 1; }

    // The projectile carrying it; not owned once it flies.
    FiredMissile* GetFlight() const { return m_pFired; }

    qv::Handle<Player> m_pShooter;   // not owned
    qv::Handle<Weapon> m_pLauncher;  // not owned; may be null

private:
    friend class FiredMissile;
    FiredMissile* m_pFired = nullptr;
    // A projectile read with the missile, held until the missile is placed.
    std::unique_ptr<FiredMissile> m_pGrounded;
};

class MagicMissile : public Missile {
    QV_DECLARE_CLASS(MagicMissile)
public:
    // Takes over the light (may be null).
    explicit MagicMissile(int32_t colour = 0, Player* shooter = nullptr, int32_t value = 0,
                          int32_t damageKind = 0, Object* light = nullptr);
    ~MagicMissile() override;
    void Serialize(qv::Archive& ar) override;
    Object* GetLightSource() override { return m_pLight.get(); }
    // The colour's row; a colour the picture has no row for shows row 0.
    void GetImageFrame(int* x, int* y) override;
    Object* Clone() override;

    int32_t m_iColour;
    int32_t m_iMissileValue;  // given by its maker; not stored
    std::unique_ptr<Object> m_pLight;
};

// Sends `missile` (owned from now on by its flight) from where `shooter`
// stands toward `to` at game time `now`, one step every `stepPeriod`: it
// stands on a holder of its own beside the shooter and its flight joins the
// world's flying objects. False, with the missile deleted, when there is no
// world or map to fly in.
bool LaunchMissile(Missile* missile, Player* shooter, const Position& to, int32_t now,
                   int32_t stepPeriod);

class FiredMissile : public Object {
    QV_DECLARE_CLASS(FiredMissile)
public:
    FiredMissile();
    // Launches `missile` (which it carries from now on) from `from` toward
    // `to` at game time `now`, one step every `stepPeriod`; `holder` is the
    // holder the missile stands on.
    FiredMissile(Missile* missile, int32_t shooterId, qv::Point from, qv::Point to, int32_t now,
                 int32_t stepPeriod, ObjectHolder* holder);
    // Takes the holder off the map and deletes it with the missile.
    ~FiredMissile() override;
    FiredMissile(const FiredMissile&) = delete;
    FiredMissile& operator=(const FiredMissile&) = delete;

    void Serialize(qv::Archive& ar) override;
    // One tick of flight: 0 on the way, -2 when it hit or landed (or lost
    // its missile), for the list's owner to delete it.
    int Update(int32_t now, MapMaster* map) override;
    // What the missile does to the holder it met (null: it landed).
    virtual void Hit(ObjectHolder* holder);

    Missile* GetMissile() const { return m_pMissile; }
    ObjectHolder* GetHolder() const { return m_pFlightHolder.Get(); }
    bool HasLanded() const { return m_Line.AtEnd(); }
    // The direction 0..7 of a shot with these deltas, for its picture; -1
    // for a shot at its own point, which keeps the direction it had.
    static int DirectionOf(int64_t dx, int64_t dy);

    qv::Point m_ptCurrent;  // the point the flight has reached
    qv::Point m_ptAimed;
    int32_t m_iLastStep = -1;  // game time of the last step; -1 before the first update
    int32_t m_iStepPeriod = kCombatStepPeriod;
    BresenhamLine m_Line;
    int32_t m_iShooter = -1;  // actor number; -1 none
    Position m_Position;

    // The step period a shot of combat takes, and the one a stored period
    // that could not step stands for.
    static constexpr int32_t kCombatStepPeriod = 10;
    // How far from the origin a flight's points may lie (far beyond any world).
    static constexpr int64_t kMaxReach = int64_t{1} << 29;

private:
    friend class Missile;
    // Sets the line up from the current point to the aimed point.
    void StartLine();
    // The missile goes first: the flight ends without touching it.
    void ForgetMissile();

    Missile* m_pMissile = nullptr;  // deleted with the projectile
    qv::Handle<ObjectHolder> m_pFlightHolder;
};
