#pragma once
// Light-emitting objects. A light source adds its intensity to the map's light
// samples around it: m_iStrength at its own point, falling off in a straight
// line to nothing at m_iRadius pixels; a negative strength darkens.

#include <string>
#include <vector>

#include "creatures/Combat.h"
#include "platform/Handle.h"
#include "world/MapStructures.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"

class MapMaster;

class LightSource : public Object, public MapLamp {
    QV_DECLARE_CLASS(LightSource)
public:
    explicit LightSource(const std::string& name = "LightSource");
    void Serialize(qv::Archive& ar) override;
    Object* GetLightSource() override { return this; }
    int CanInteract() override { return 1; }
    // 1 only for a creature with a hand slot: by day (hours 5 to 15) only
    // while the light is on, by night only while it is off.
    int CanBeUsedBy(Player* user) override;
    void SetPosition(MapCell* windowCell, Position* pos) override;
    // Shown, as a lamp post, only in build mode or when the visible flag is
    // set.
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override;

    // The light amount at a world pixel (relative to the light's own position).
    virtual double GetIntensityAt(const Position& point);
    // The distance in pixels beyond which GetIntensityAt answers 0 (the map
    // skips the cells out of reach); 0 when it gives no light at all.
    virtual int GetReach() { return m_bLit ? m_iRadius : 0; }
    // The timed update of every running tick: kWorldChanged when the light is
    // over.
    virtual int UpdateState(int32_t now);

    // What the map reads of the light.
    MapLamp* GetMapLamp() override { return this; }
    double MapIntensityAt(const Position& point) override { return GetIntensityAt(point); }
    int MapReach() override { return GetReach(); }
    int MapUpdate(int32_t now) override { return UpdateState(now); }
    void MapPlaced(MapCell* windowCell, Position* pos) override { SetPosition(windowCell, pos); }

    int m_iStrength = 128;  // light at the centre; the missile spells set it
    int m_iRadius = 320;    // pixels to nothing
    int m_bVisible = 0;     // drawn outside build mode
    int m_bLit = 1;         // on
    int m_iDuration = 0;    // game time it burns; 0 forever
    uint32_t m_uLitSince = 0;
    bool m_bTiming = false;  // m_uLitSince holds the first timed update
    Position m_Position;
};

// The light a Light spell puts on a creature, which carries it as a light in
// hand.
class MageLight : public LightSource {
    QV_DECLARE_CLASS(MageLight)
public:
    explicit MageLight(int spellSerial = 0);
    void Serialize(qv::Archive& ar) override;
    int GetKind() override { return 2; }
    // A creature with a hand carries it (0); any other cannot.
    std::pair<int, int> GetUseRange(Player* creature) override;
    static constexpr int kCannotCarry = 2;
    int m_iSpellSerial = 0;
};

// A blast that a gas cloud or a trap sets off: a light that flares and then
// darkens, hurting the creatures near it (its timed update works on the map).
class Explosion : public LightSource {
    QV_DECLARE_CLASS(Explosion)
public:
    explicit Explosion(const std::string& name = "Explosion");
    ~Explosion() override;
    Explosion(const Explosion&) = delete;
    Explosion& operator=(const Explosion&) = delete;
    void Serialize(qv::Archive& ar) override;
    // Set off (state 2): the blast sounds. Then every 100 units of game time
    // a step: the light flares and turns to darkness, and every creature of
    // the nine window cells around it that the blast reaches in a straight
    // line is hurt by fire, once. 0 when no step was due, 1 after a step,
    // kWorldChanged when the blast is over (3000 units after it was set off).
    int UpdateState(int32_t now) override;

    static constexpr uint32_t kStepInterval = 100;
    static constexpr uint32_t kDuration = 3000;
    static constexpr int kSoundCount = 5;
    static constexpr int kDamageKind = DamageKind::Fire;
    static constexpr int kDamageBase = 10;
    static constexpr int kDamageRange = 20;

    uint32_t m_uStartTime = 0;
    uint32_t m_uLastStep = 0;
    int32_t m_iBlastRadius = 0;
    int32_t m_iPreviousRadius = 0;
    std::vector<qv::Handle<Object>> m_HitList;  // the creatures already hurt

private:
    bool WasHit(const Object* creature) const;
    // Whether something other than an item stands between the blast and the
    // creature's holder.
    bool IsShielded(MapMaster& map, const Position& from, ObjectHolder* target);
    void PlayBlastSound(const Position& at);

    static int s_iUseCount;
};

// Sets off a new explosion on the map at `at`: 1 when it was placed, 0 when
// there was no room or no map (then nothing is left behind).
int SetOffExplosion(const Position& at);

// The light source of a placed object, when what it answers really is one.
LightSource* LightOf(Object* obj);
