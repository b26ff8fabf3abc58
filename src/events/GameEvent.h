#pragma once
// Scripted world events. The main frame keeps the events waiting to run in its
// event list; an event with a status above 0 runs after every land move, and
// its trigger number is the key by which the events of a world read without
// replacing the current one are merged.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "world/Object.h"

class World;

class CGameEvent : public Object {
    QV_DECLARE_CLASS(CGameEvent)
public:
    explicit CGameEvent(const std::string& name = "CGameEvent");

    void Serialize(qv::Archive& ar) override;

    // Answers kFinished, kNothingChanged (Object::Answer) or any other value:
    // the event list may have changed; the caller starts its walk of the list
    // again.
    virtual int Execute();

    // Marks the event to fire at the next chance.
    void MarkToFire() { m_iStatus = 1; }

    // Times in one tick that an event may answer that the list changed
    // without finishing; after that it waits for the next tick, so that the
    // walk of the list always ends.
    static constexpr int kMaxChangesPerTick = 3;
    // Whether the event may run again in the tick of game time `tick`, and
    // the count of one more change answered in it.
    bool MayRunInTick(int32_t tick) const {
        return m_iChangeTick != tick || m_iChangesInTick < kMaxChangesPerTick;
    }
    void CountChange(int32_t tick);

    int32_t m_iTrigger = 0;
    int32_t m_iStatus = 0;

private:
    int32_t m_iChangeTick = 0;  // not stored
    int m_iChangesInTick = 0;   // not stored
};

// Runs the world's waiting events, as after every land move: each event of
// the list whose status is above 0, from the head. A finished event is
// removed and deleted; any answer but "nothing changed" starts the walk again
// from the head. An event that has answered a change kMaxChangesPerTick times
// in this tick of game time is passed over, and a walk during which events
// added more than kMaxAddedEventsPerWalk others ends, so that the walk always
// ends.
constexpr size_t kMaxAddedEventsPerWalk = 1000;
void RunWaitingEvents(World& world);

// A conversation that opens when the event runs: the creature with the actor
// number speaks, starting at the talk node.
class CTalkEvent : public CGameEvent {
    QV_DECLARE_CLASS(CTalkEvent)
public:
    CTalkEvent() : CGameEvent("CTalkEvent") {}
    CTalkEvent(const std::string& talkNode, int32_t actor);

    // The event a creature's thinking makes to start a pending talk: named
    // "NPCTalk" and marked to fire.
    static std::unique_ptr<CTalkEvent> MakeNPCTalk(const std::string& talkNode, int32_t actor);

    void Serialize(qv::Archive& ar) override;
    // Opens the conversation of the actor and is finished. While the actor is
    // not in the world (its land is not loaded) or no conversation can open,
    // nothing changes and the event waits for a later run.
    int Execute() override;

    std::string m_strTalkNode;
    int32_t m_iActor = -1;
};

// Fills a creature's list of scripted moves with moves to the given cells.
class CMovePatternEvent : public CGameEvent {
    QV_DECLARE_CLASS(CMovePatternEvent)
public:
    CMovePatternEvent() : CGameEvent("CMovePatternEvent") {}

    void Serialize(qv::Archive& ar) override;
    // Gives the moves to the actor and is finished; while the actor is not in
    // the world, nothing changes and the event waits for a later run.
    int Execute() override;

    // Adds a move to each cell, in order, to the creature's scripted moves.
    static void FillMoves(Player* creature, const std::vector<qv::Point>& cells);

    int32_t m_iActor = -1;
    std::vector<qv::Point> m_Cells;  // cells to visit, in order
};
