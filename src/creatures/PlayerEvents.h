#pragma once
// The timed events of a creature and the queue that keeps them in order.
//
// Everything a creature does over time (think, step, swing, hit, cast,
// animate, talk) is an ObjectEvent in its own CreatureEventQueue, sorted by
// game time. The creature's turn takes the events that are due and hands each
// to its handler. The time 0 means "at the creature's next turn".

#include <array>
#include <cstdint>
#include <memory>

#include "platform/Handle.h"
#include "platform/Persistent.h"

class Object;
class Spell;

// The event type codes. Any other code is handled as THINK.
struct ObjectEventType {
    static constexpr int32_t THINK = 0;
    static constexpr int32_t MOVE = 1;
    static constexpr int32_t RESERVED = 2;
    static constexpr int32_t ATTACK = 3;
    static constexpr int32_t HIT = 4;
    static constexpr int32_t SPELL = 5;
    static constexpr int32_t ANIMATE = 6;
    static constexpr int32_t TALK = 7;
    static constexpr int32_t REQUEUE = 8;
    static constexpr int32_t SPECIAL = 9;
};

// One timed event. It is a stored class, but stores nothing: queued events are
// never saved, and a loaded creature starts from the event its constructor
// queues.
class ObjectEvent : public qv::Persistent {
    QV_DECLARE_CLASS(ObjectEvent)
public:
    // The values in the order type, time, a0, a3, a1, a2.
    explicit ObjectEvent(int32_t type = 0, int32_t time = 0, Object* a0 = nullptr, int32_t a3 = 0,
                         int32_t a1 = 0, int32_t a2 = 0);
    ~ObjectEvent() override;
    // An event moves with its spell; copies are made with Facts.
    ObjectEvent(ObjectEvent&&) noexcept;
    ObjectEvent& operator=(ObjectEvent&&) noexcept;
    // A SPELL event: the spell goes with the event while it is queued.
    static ObjectEvent MakeSpell(int32_t time, Object* target, std::unique_ptr<Spell> spell);
    // A copy of every value but the spell, which stays where it is.
    ObjectEvent Facts() const;

    void Serialize(qv::Archive&) override {}

    int32_t m_iType;
    int32_t m_iTime;  // game time the event is due; 0 = at once
    // The other object of the event (target, attacker, speaker); not owned,
    // and it may be destroyed while the event waits.
    qv::Handle<Object> m_pObject;
    int32_t m_iArg1;   // MOVE: x of the point; REQUEUE: the delay
    int32_t m_iArg2;   // MOVE: y of the point
    int32_t m_iValue;  // the fourth argument for every type but SPELL
    // SPELL: the spell to cast. While the event is queued the queue owns it;
    // whoever pops the event takes it over.
    std::unique_ptr<Spell> m_pSpell;
};

// The fixed queue of a creature's events. Times never decrease along the
// array; events of equal times keep their order of insertion. Times compare
// across the wrap of game time, and 0 comes before every other time.
class CreatureEventQueue {
public:
    static constexpr int32_t kCapacity = 50;

    CreatureEventQueue() = default;
    ~CreatureEventQueue();
    CreatureEventQueue(const CreatureEventQueue&) = delete;
    CreatureEventQueue& operator=(const CreatureEventQueue&) = delete;

    // 1 when queued, 0 when the queue is full (the event is refused with the
    // overflow messages, and a spell it carries is deleted).
    int Insert(ObjectEvent event);
    int Post(int32_t type, int32_t time, Object* a0 = nullptr, int32_t a3 = 0, int32_t a1 = 0,
             int32_t a2 = 0);
    int PostSpell(int32_t time, Object* target, std::unique_ptr<Spell> spell);

    // True when the first event is due before `now` (an event at `now` waits
    // for the next turn; an event at 0 is due at any later clock).
    bool HasDue(int32_t now) const;
    // The first event; its spell stays the queue's. On an empty queue, the
    // first slot as it lies (all zeros, a THINK at 0, until an event has once
    // been there), so callers check Count first.
    const ObjectEvent& PeekFront() const;
    // Takes the first event out; the caller gets its spell.
    ObjectEvent PopFront();
    // Adds delta to every time but 0; answers the count.
    int ShiftTimes(int32_t delta);
    // The time of the first event of that type, which is removed; 0 when none.
    int32_t RemoveFirstOfType(int32_t type);
    // Removes every event of that type; answers the latest removed time (0 when none).
    int32_t RemoveAllOfType(int32_t type);
    // Removes every event of that type aimed at `object`; the latest removed time.
    int32_t RemoveAllOfTypeFor(int32_t type, const Object* object);
    // Drops every event (their spells are deleted).
    void Clear();

    int32_t Count() const { return m_iCount; }
    const ObjectEvent& At(int32_t i) const { return m_Events[i]; }

    // True when time `a` comes strictly after time `b` in queue order.
    static bool IsLater(int32_t a, int32_t b);
    // The later of two event times.
    static int32_t Latest(int32_t a, int32_t b) { return IsLater(a, b) ? a : b; }

private:
    void RemoveAt(int32_t index);
    template <class Pred>
    int32_t RemoveAllIf(Pred pred);

    int32_t m_iCount = 0;
    std::array<ObjectEvent, kCapacity> m_Events;
};
