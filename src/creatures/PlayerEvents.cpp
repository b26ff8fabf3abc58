#include "creatures/PlayerEvents.h"

#include <cstdio>
#include <utility>

#include "items/Spell.h"
#include "platform/GameTime.h"
#include "platform/Message.h"
#include "world/Object.h"

QV_IMPLEMENT_SERIAL(ObjectEvent, qv::Persistent, 1, true)

ObjectEvent::ObjectEvent(int32_t type, int32_t time, Object* a0, int32_t a3, int32_t a1, int32_t a2)
    : m_iType(type), m_iTime(time), m_pObject(a0), m_iArg1(a1), m_iArg2(a2), m_iValue(a3) {}

ObjectEvent::~ObjectEvent() = default;
ObjectEvent::ObjectEvent(ObjectEvent&&) noexcept = default;
ObjectEvent& ObjectEvent::operator=(ObjectEvent&&) noexcept = default;

ObjectEvent ObjectEvent::MakeSpell(int32_t time, Object* target, std::unique_ptr<Spell> spell) {
    ObjectEvent e(ObjectEventType::SPELL, time, target);
    e.m_pSpell = std::move(spell);
    return e;
}

ObjectEvent ObjectEvent::Facts() const {
    return ObjectEvent(m_iType, m_iTime, m_pObject.Get(), m_iValue, m_iArg1, m_iArg2);
}

namespace {

// The overflow report goes to the plain message box, one line a box.
void Show(const char* format, auto... args) {
    char text[96];
    std::snprintf(text, sizeof text, format, args...);
    qv::ShowMessage(text, qv::MessageButtons::Ok);
}

}  // namespace

CreatureEventQueue::~CreatureEventQueue() {
    Clear();
}

bool CreatureEventQueue::IsLater(int32_t a, int32_t b) {
    if (a == 0) return false;
    if (b == 0) return true;
    return qv::TimeDiff(a, b) > 0;
}

int CreatureEventQueue::Insert(ObjectEvent event) {
    int32_t index = m_iCount;
    for (int32_t i = 0; i < m_iCount; ++i) {
        if (IsLater(m_Events[i].m_iTime, event.m_iTime)) {
            index = i;
            break;
        }
    }
    if (m_iCount + 1 > kCapacity) {
        Show("Surpassed event buffer of size %d", kCapacity);
        for (int32_t i = 0; i + 1 < m_iCount; ++i)
            Show("%d %d I%u", i, m_Events[i].m_iType, static_cast<uint32_t>(m_Events[i].m_iTime));
        return 0;  // the refused event takes its spell with it
    }
    for (int32_t i = m_iCount; i > index; --i) m_Events[i] = std::move(m_Events[i - 1]);
    m_Events[index] = std::move(event);
    ++m_iCount;
    return 1;
}

int CreatureEventQueue::Post(int32_t type, int32_t time, Object* a0, int32_t a3, int32_t a1,
                             int32_t a2) {
    return Insert(ObjectEvent(type, time, a0, a3, a1, a2));
}

int CreatureEventQueue::PostSpell(int32_t time, Object* target, std::unique_ptr<Spell> spell) {
    return Insert(ObjectEvent::MakeSpell(time, target, std::move(spell)));
}

bool CreatureEventQueue::HasDue(int32_t now) const {
    if (m_iCount == 0) return false;
    int32_t t = m_Events[0].m_iTime;
    // 0 comes before every other time, so it is due at any clock but 0 itself.
    if (t == 0) return now != 0;
    return qv::TimeDiff(now, t) > 0;
}

const ObjectEvent& CreatureEventQueue::PeekFront() const {
    return m_Events[0];
}

ObjectEvent CreatureEventQueue::PopFront() {
    if (m_iCount == 0) return m_Events[0].Facts();
    ObjectEvent front = m_Events[0].Facts();
    front.m_pSpell = std::move(m_Events[0].m_pSpell);  // the caller has it now
    RemoveAt(0);
    return front;
}

void CreatureEventQueue::RemoveAt(int32_t index) {
    for (int32_t i = index; i + 1 < m_iCount; ++i) {
        m_Events[i] = m_Events[i + 1].Facts();
        m_Events[i].m_pSpell = std::move(m_Events[i + 1].m_pSpell);
    }
    --m_iCount;
    // The vacated slot keeps its values (the first slot is read as it lies when
    // the queue is empty) but no longer owns a spell.
    m_Events[m_iCount].m_pSpell.reset();
}

int CreatureEventQueue::ShiftTimes(int32_t delta) {
    for (int32_t i = 0; i < m_iCount; ++i)
        if (m_Events[i].m_iTime != 0) m_Events[i].m_iTime = qv::TimeAdd(m_Events[i].m_iTime, delta);
    return m_iCount;
}

template <class Pred>
int32_t CreatureEventQueue::RemoveAllIf(Pred pred) {
    int32_t latest = 0;
    for (int32_t i = 0; i < m_iCount;) {
        if (pred(m_Events[i])) {
            latest = Latest(latest, m_Events[i].m_iTime);
            m_Events[i].m_pSpell.reset();
            RemoveAt(i);
        } else {
            ++i;
        }
    }
    return latest;
}

int32_t CreatureEventQueue::RemoveFirstOfType(int32_t type) {
    for (int32_t i = 0; i < m_iCount; ++i) {
        if (m_Events[i].m_iType == type) {
            int32_t time = m_Events[i].m_iTime;
            m_Events[i].m_pSpell.reset();
            RemoveAt(i);
            return time;
        }
    }
    return 0;
}

int32_t CreatureEventQueue::RemoveAllOfType(int32_t type) {
    return RemoveAllIf([type](const ObjectEvent& e) { return e.m_iType == type; });
}

int32_t CreatureEventQueue::RemoveAllOfTypeFor(int32_t type, const Object* object) {
    return RemoveAllIf([type, object](const ObjectEvent& e) {
        return e.m_iType == type && e.m_pObject == object;
    });
}

void CreatureEventQueue::Clear() {
    for (int32_t i = 0; i < m_iCount; ++i) m_Events[i].m_pSpell.reset();
    m_iCount = 0;
}
