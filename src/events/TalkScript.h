#pragma once
// The interpreter of the conversation scripts (events/TalkScriptFile.h). A
// conversation runs between a listener (the party's member) and a speaker,
// from the speaker's start node: each step runs statements until the node
// ends, gathering the lines the speaker says and the choices offered; the
// player's choice starts the next step. The commands write the creatures'
// fields and the world's script variables themselves and ask the rest of the
// game for the operations that move the party and change the map through a
// TalkHost, which the layer of play implements (and the tests imitate).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "events/TalkScriptFile.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"

class Object;
class ObjectHolder;
class Player;
class Position;
class World;

// What a conversation asks of the game beyond the world's own fields.
class TalkHost {
public:
    virtual ~TalkHost() = default;
    // The party to the centre of a world cell, in rows of three.
    virtual void TravelTo(qv::Point cell) = 0;
    // The leader goes on alone; the others wait in the kept-aside group.
    virtual void MakeGroup() = 0;
    // The kept-aside members rejoin the leader.
    virtual void ReGroup() = 0;
    // The creature becomes a member of the party.
    virtual void JoinParty(Player* creature) = 0;
    // The party to cell (x, y) of another world file, at once.
    virtual void GoToWorld(const std::string& worldFile, int32_t x, int32_t y) = 0;
    // The same, taken at the next tick of play.
    virtual void SetPendingWorld(const std::string& worldFile, qv::Point cell) = 0;
    // The map's window and the party put back in order around the focus.
    virtual void MoveToLand() = 0;
    // Takes a placement out of every map cell that lists it; it stays.
    virtual void RemoveFromMap(ObjectHolder* holder) = 0;
    // Places `object` itself on the map at or near `where`: true when placed
    // (the map owns it then), false when nothing changed.
    virtual bool DropObject(Object* object, const Position& where) = 0;
    // The target selection mode (0 off).
    virtual void SetSelectMode(int32_t mode) = 0;
    // The leader trades with the store of that number, when there is one.
    virtual void OpenTradeWindow(int32_t storeId) = 0;
    // A script that cannot be read or run; the conversation is already over.
    virtual void ReportScriptError(const std::string& message) = 0;
};

class CTalkScript {
public:
    // Jumps that one step may take before it is refused as endless.
    static constexpr int kMaxJumpsPerStep = 1000;
    // What one step may run and gather before it is refused: a loop of a few
    // lines could otherwise gather lines and choices by the million. A loop
    // that gathers one of each a pass is stopped by its jumps first.
    static constexpr int kMaxStatementsPerStep = 10000;
    static constexpr size_t kMaxLinesPerStep = 2000;
    static constexpr size_t kMaxChoicesPerStep = 2000;
    // A school skill's amount is written in hundredths.
    static constexpr float kSkillScale = 100.0f;

    CTalkScript(World& world, TalkHost& host);

    // Opens the speaker's conversation with the listener: its script file
    // `m_strMessageFile` of `folder`, from its `m_strMessageNode`. False when
    // the script cannot be read or its first step fails; the fault has been
    // reported and the conversation is over.
    bool Open(Player* listener, Player* speaker, const std::string& folder);
    // The same with a script already read, from `node`.
    bool Open(Player* listener, Player* speaker, std::shared_ptr<const TalkScriptFile> script,
              const std::string& node);

    // What the speaker said in the last step, and the choices offered now.
    const std::vector<std::string>& Lines() const { return m_Lines; }
    std::vector<std::string> Choices() const;
    // The conversation has ended: no choice is offered any more (the last
    // lines may still be shown).
    bool IsOver() const { return m_bOver; }
    // The report of the fault that ended it, empty otherwise.
    const std::string& Fault() const { return m_strFault; }

    // Takes choice `index` of Choices(); false (nothing changes) for one that
    // is not offered.
    bool Choose(size_t index);
    // Ends the conversation where it stands.
    void Close();

    Player* Speaker() const { return m_pSpeaker.Get(); }
    Player* Listener() const { return m_pListener.Get(); }

private:
    struct Offer {
        std::string text;
        std::string target;
    };
    void Run(const TalkNode* node);
    void Fail(const TalkScriptError& error);
    // Fails at the statement's line.
    void Refuse(const TalkStatement& s, const std::string& fault);
    bool Holds(const TalkStatement& s) const;
    // Runs one command; false when the conversation ends with it.
    bool Do(const TalkStatement& s);
    Player* Resolve(const TalkWho& who) const;
    Object* Variable(const std::string& name, bool make);

    World& m_World;
    TalkHost& m_Host;
    std::shared_ptr<const TalkScriptFile> m_pScript;
    qv::Handle<Player> m_pListener, m_pSpeaker;
    std::vector<std::string> m_Lines;
    std::vector<Offer> m_Offers;
    bool m_bOver = true;
    std::string m_strFault;
};
