#include "structures/LightSource.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "creatures/LineRoute.h"
#include "creatures/Player.h"
#include "media/DSound.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "structures/Looks.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(LightSource, Object, 1, true)
QV_IMPLEMENT_SERIAL(MageLight, LightSource, 1, true)
QV_IMPLEMENT_SERIAL(Explosion, LightSource, 1, true)

LightSource* LightOf(Object* obj) {
    return obj ? qv::DynamicCast<LightSource>(obj->GetLightSource()) : nullptr;
}

LightSource::LightSource(const std::string& name) : Object(name) {
    WearLook(*this, kLampPostLook);
}

void LightSource::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    ar.Exchange(m_iStrength);
    ar.Exchange(m_iRadius);
    ar.Exchange(m_bVisible);
    ar.Exchange(m_bLit);
    ar.Exchange(m_iDuration);
}

namespace {

// Whether the creature has a hand to carry a light in (a body slot of
// location 1).
bool HasHand(const Player* user) {
    if (!user) return false;
    const auto& slots = user->m_BodySlotList;
    return std::any_of(slots.begin(), slots.end(),
                       [](const ItemUse& slot) { return slot.m_iLocation == 1; });
}

}  // namespace

int LightSource::CanBeUsedBy(Player* user) {
    if (!HasHand(user)) return 0;
    World* world = GetWorld();
    const int hour = world && world->m_pTimeOfDay ? world->m_pTimeOfDay->m_sHour : 12;
    const bool day = hour >= 5 && hour <= 15;
    return (day ? m_bLit != 0 : m_bLit == 0) ? 1 : 0;
}

void LightSource::SetPosition(MapCell*, Position* pos) {
    if (pos) m_Position = *pos;
}

int LightSource::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                      const Position& pos, int flags) {
    if (!IsEditMode() && !m_bVisible) return 0;
    return Object::Draw(surface, screen, view, pos, flags);
}

double LightSource::GetIntensityAt(const Position& point) {
    if (!m_bLit || m_iRadius <= 0) return 0.0;
    const double dx = point.x - m_Position.x;
    const double dy = point.y - m_Position.y;
    const double d2 = dx * dx + dy * dy;
    const double r = m_iRadius;
    if (d2 >= r * r) return 0.0;
    return m_iStrength * (1.0 - std::sqrt(d2) / r);
}

int LightSource::UpdateState(int32_t now) {
    if (m_iDuration <= 0) return 0;
    if (!m_bLit) return kWorldChanged;
    if (!m_bTiming) {
        m_bTiming = true;
        m_uLitSince = static_cast<uint32_t>(now);
    }
    if (static_cast<uint32_t>(now) - m_uLitSince >= static_cast<uint32_t>(m_iDuration)) {
        m_bLit = 0;  // burnt out: it gives no more light, whoever holds it
        return kWorldChanged;
    }
    return 0;
}

MageLight::MageLight(int spellSerial) : LightSource("MageLight"), m_iSpellSerial(spellSerial) {}

std::pair<int, int> MageLight::GetUseRange(Player* creature) {
    return {HasHand(creature) ? 0 : kCannotCarry, 0};
}

void MageLight::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&LightSource::classInfo);
    LightSource::Serialize(ar);
    ar.Exchange(m_iSpellSerial);
}

// ---- Explosion

namespace {

// The blast sounds, made with the first explosion that is set off and
// released with the last explosion; a blast plays the first that is not
// already playing.
std::array<std::unique_ptr<CDSound>, Explosion::kSoundCount>& BlastSounds() {
    static std::array<std::unique_ptr<CDSound>, Explosion::kSoundCount> sounds;
    return sounds;
}

}  // namespace

int Explosion::s_iUseCount = 0;

Explosion::Explosion(const std::string& name) : LightSource(name) {
    m_iState = 2;  // set off
    m_iStrength = 1000;
    ++s_iUseCount;
}

Explosion::~Explosion() {
    if (--s_iUseCount == 0)
        for (auto& sound : BlastSounds()) sound.reset();
}

QV_SERIALIZE_BASE_ONLY(Explosion, LightSource)

void Explosion::PlayBlastSound(const Position& at) {
    for (auto& sound : BlastSounds()) {
        if (!sound) sound = std::make_unique<CDSound>(kWaveExplosion);
        if (sound->PlayAt(at.x, at.y, 0) != 2) return;
    }
}

int SetOffExplosion(const Position& at) {
    MapMaster* map = GetMapMaster();
    if (!map) return 0;
    auto blast = std::make_unique<Explosion>();
    auto holder = std::make_unique<ObjectHolder>(at, blast.get());
    Position place = at;
    if (!map->AddHolder(place, holder.get())) return 0;
    blast.release();
    holder.release();
    return 1;
}

bool Explosion::WasHit(const Object* creature) const {
    return std::any_of(m_HitList.begin(), m_HitList.end(),
                       [creature](const qv::Handle<Object>& h) { return h.Get() == creature; });
}

bool Explosion::IsShielded(MapMaster& map, const Position& from, ObjectHolder* target) {
    // The short way round the world, in two-pixel steps.
    const CellPoint d = map.PixelDeltaOf(from, target->pos);
    const qv::Point a{from.x, from.y};
    const qv::Point b{from.x + d.x, from.y + d.y};
    BresenhamLine line;
    line.Start(&a, &b);
    const ObjectIgnoreList ignore{this};
    while (!line.AtEnd()) {
        qv::Point p;
        line.Next(&p);
        ObjectHolder* hit = map.CheckMove(nullptr, Position(p.x, p.y, from.z), &ignore, 1, 0);
        if (!hit) continue;
        if (hit->Type() == USEABLE) continue;  // things lying about do not shield
        return hit != target;
    }
    return false;
}

int Explosion::UpdateState(int32_t now) {
    const Position at = m_pHolder ? m_pHolder->pos : m_Position;
    if (m_iState == 2) {
        m_uStartTime = m_uLastStep = static_cast<uint32_t>(now);
        m_iState = 1;
        PlayBlastSound(at);
    } else if (m_iState == 1) {
        if (qv::TimeElapsed(now, static_cast<int32_t>(m_uLastStep)) < kStepInterval) return 0;
        m_uLastStep = static_cast<uint32_t>(now);
    } else {
        return 0;
    }
    const uint32_t elapsed = qv::TimeElapsed(now, static_cast<int32_t>(m_uStartTime));
    if (elapsed > kDuration) return kWorldChanged;
    // A flare that has turned to darkness by a third of the way and fades out.
    const double e = elapsed;
    m_iStrength = static_cast<int>(std::cos(e * 0.0015707963) * (kDuration - e) / 3);
    m_iPreviousRadius = m_iBlastRadius;
    m_iBlastRadius = static_cast<int32_t>(elapsed / 10);

    MapMaster* map = GetMapMaster();
    if (!map) return 1;
    CellPoint centre;
    if (!map->CellToWindow(MapMaster::PixelToCell(at), centre)) return 1;
    // The creatures first, then the damage: a death may change the cells'
    // lists, and a conversation it opens may even refill the window.
    std::vector<qv::Handle<ObjectHolder>> reached;
    for (int32_t i = -1; i <= 1; ++i) {
        for (int32_t j = -1; j <= 1; ++j) {
            const int32_t x = centre.x + i, y = centre.y + j;
            if (x < 0 || x >= MapMaster::wide || y < 0 || y >= MapMaster::high) continue;
            for (ObjectHolder* h : map->GetCell(x, y).holders) {
                if (h->Type() != PLAYER || WasHit(h->m_pObject)) continue;
                if (std::none_of(reached.begin(), reached.end(),
                                 [h](const auto& r) { return r.Get() == h; }))
                    reached.emplace_back(h);
            }
        }
    }
    const qv::Handle<Explosion> self(this);
    const uint32_t reloads = map->ReloadCount();
    for (const auto& entry : reached) {
        ObjectHolder* h = entry.Get();
        if (!h || h->Type() != PLAYER) continue;
        Object* creature = h->m_pObject;
        if (WasHit(creature) || IsShielded(*map, at, h)) continue;
        m_HitList.emplace_back(creature);
        creature->TakeDamage(kDamageBase + qv::Rand() % kDamageRange, kDamageKind);
        if (!self || map->ReloadCount() != reloads) return 1;
    }
    return 1;
}
