#include "structures/LightSource.h"

#include <algorithm>
#include <cmath>

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "structures/Looks.h"
#include "world/Global.h"
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

int LightSource::CanBeUsedBy(Player* user) {
    if (!user) return 0;
    const auto& slots = user->m_BodySlotList;
    if (std::none_of(slots.begin(), slots.end(),
                     [](const ItemUse& slot) { return slot.m_iLocation == 1; }))
        return 0;
    World* frame = GetWorld();
    const int hour = frame && frame->m_pTimeOfDay ? frame->m_pTimeOfDay->m_sHour : 12;
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

void MageLight::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&LightSource::classInfo);
    LightSource::Serialize(ar);
    ar.Exchange(m_iSpellSerial);
}

Explosion::Explosion(const std::string& name) : LightSource(name) {
    m_iState = 2;  // set off
    m_iStrength = 1000;
}

QV_SERIALIZE_BASE_ONLY(Explosion, LightSource)
