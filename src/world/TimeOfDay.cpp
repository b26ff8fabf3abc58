#include "world/TimeOfDay.h"

#include "platform/Archive.h"
#include "platform/Format.h"
#include "world/Global.h"
#include "world/Object.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(CTimeOfDay, qv::Persistent, 1, false)

CTimeOfDay::CTimeOfDay() {
    Format();
}

void CTimeOfDay::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteShort(m_sHour);
        ar.WriteShort(m_sMinute);
    } else {
        m_sHour = ar.ReadShort();
        m_sMinute = ar.ReadShort();
        Normalise();
    }
}

void CTimeOfDay::Normalise() {
    int hour = m_sHour % 24;
    if (hour < 0) hour += 24;
    int minute = m_sMinute % 60;
    if (minute < 0) minute += 60;
    m_sHour = static_cast<int16_t>(hour);
    m_sMinute = static_cast<int16_t>(minute - minute % 5);
}

void CTimeOfDay::Format() {
    m_strTime = qv::Format(m_sHour >= 10 ? "%d" : "0%d", m_sHour) +
                qv::Format(m_sMinute >= 10 ? ":%d" : ":0%d", m_sMinute);
}

void CTimeOfDay::CountDownHour(std::list<std::unique_ptr<Object>>& variables, int v) {
    for (auto& var : variables) {
        if (!var || var->m_iBulkNum < 2) continue;
        if (--var->m_iBulkNum == 1) var->m_iValue = v;
    }
}

void CTimeOfDay::NewHour(int v) {
    if (World* world = GetWorld()) CountDownHour(world->m_ScriptVariableList, v);
}

void CTimeOfDay::Advance(int32_t now) {
    m_bChanged = 0;
    // Unsigned difference: correct across the wrap of game time.
    uint32_t steps = (static_cast<uint32_t>(now) - m_dwLastTick) / kStepTime;
    while (steps-- > 0) {
        m_sMinute = static_cast<int16_t>(m_sMinute + 5);
        m_bChanged = 1;
        m_dwLastTick += kStepTime;
        if (m_sMinute > 59) {
            m_sMinute = static_cast<int16_t>(m_sMinute - 60);
            m_sHour = static_cast<int16_t>(m_sHour + 1);
            if (m_sHour >= 24) m_sHour = 0;
            NewHour(0);
        }
    }
    Format();
}

void CTimeOfDay::AdvanceHours(int n) {
    for (int i = 0; i < n; ++i) {
        m_sHour = static_cast<int16_t>(m_sHour + 1);
        if (m_sHour >= 24) m_sHour = 0;
        NewHour(-1);
    }
    Format();
}
