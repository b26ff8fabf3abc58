#pragma once
// What the world's objects ask of the layers above them, through the world they
// are in: the rules of play (World::m_pRules, answered by Play) and the path
// finder (World::m_pPathFinder, the creatures' A* search, given to the world by
// Play). A world without them has none; each asker says what it does then.

#include <cstdint>
#include <string>

#include "platform/Geometry.h"

class Group;
class MapMaster;
class Object;
class Player;

class WorldRules {
public:
    virtual ~WorldRules() = default;
    // Creature K's turn heads for the holder of its player set: 2 walk on, 1
    // arrived or done (what arriving calls for is carried out once the groups
    // have taken their turns), 0 nothing to do, -3 the world changed. A nonzero
    // flag counts as arrived without the distance test.
    virtual int Approach(Player* creature, int flag) = 0;
    // A scripted event opens a conversation for `speaker` at talk node `node`;
    // false when none can open now (the event then waits).
    virtual bool OpenConversation(Player* speaker, const std::string& node) = 0;
    // A creature's TALK event asks for `speaker`'s conversation, at its own
    // start node, once the groups have taken their turns; a world whose
    // rules open none ignores it.
    virtual void AskConversation(Player* /*listener*/, Player* /*speaker*/) {}
    // The game folder the world's files are found under (ends in a
    // backslash), and whether the editor's build mode check is on
    // (world/Global.h's GetBaseDirectory and IsEditMode).
    virtual std::string GameFolder() const = 0;
    virtual int IsEditing() const = 0;
    // In build mode, an object's own editor dialog opens on it (Object::Edit);
    // 1 when it was closed with OK. A world without an editor opens none.
    virtual int EditObject(Object& /*object*/) { return 0; }
    // A potion, scroll, power cube, token or known spell picked for use
    // waits for the click that picks its target: the game pauses (`pause` 1;
    // 2 for a spell; -1 leaves the pause as it is), the next click in select
    // mode `selectMode` picks the target, `item` with `user` (none for a power
    // cube) is the use that waits for it, and the message line shows `prompt`.
    virtual void BeginTargetChoice(Object* item, Player* user, int selectMode, int pause,
                                   const std::string& prompt) = 0;
    // The pause a use began is over (the use went through).
    virtual void EndUsePause() = 0;
    // A monster generator's reset sends the party to world cell `cell`; a
    // world whose rules move no party ignores it.
    virtual void SendPartyTo(qv::Point /*cell*/) {}
    // Group `group` is about to turn hostile (mode 1) or peaceful (0): the
    // party's fight follows the leader's group. A world without a party
    // ignores it.
    virtual void GroupTurnsHostile(Group* /*group*/, int32_t /*mode*/) {}
    // The leader `creature` has no one left to fight: the party's fight is
    // over once no one of its group is hostile.
    virtual void LeaderOutOfFight(Player* /*creature*/) {}
    // A creature comes over to talk to the party: the view's scroll by the
    // held button ends and input waits for the conversation. A world
    // without a party ignores it.
    virtual void TalkerComes() {}
};

class PathFinder {
public:
    virtual ~PathFinder() = default;
    // Whether a path leads from window cell `from` to window cell `to`.
    virtual bool Reaches(MapMaster& map, qv::Point from, qv::Point to) = 0;
};
