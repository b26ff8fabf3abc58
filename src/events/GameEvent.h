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

    int32_t m_iTrigger = 0;
    int32_t m_iStatus = 0;
};

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
    // Opens the conversation of the actor, when it exists, through the rules
    // of the world's play (WorldRules::OpenConversation), and is finished.
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
    // Gives the moves to the actor, when it exists, and is finished.
    int Execute() override;

    // Adds a move to each cell, in order, to the creature's scripted moves.
    static void FillMoves(Player* creature, const std::vector<qv::Point>& cells);

    int32_t m_iActor = -1;
    std::vector<qv::Point> m_Cells;  // cells to visit, in order
};
