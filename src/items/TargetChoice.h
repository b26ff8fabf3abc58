#pragma once
// The choice of a target for an item or a spell that acts on one. A potion,
// scroll, power cube or known spell that is picked for use asks the rules of
// the world's play (WorldRules::BeginTargetChoice, which Play answers) to
// wait for the click that picks its target; the message line says what is
// wanted and the mouse cursor carries the item's picture meanwhile. Play then
// hands the target to the item's Use.

#include <string>

class CDDObject;
class Object;
class Player;

// Select modes and pauses of the uses that wait for a target.
struct UseSelect {
    static constexpr int kToken = 1;  // tokens and power cubes
    static constexpr int kSpell = 2;  // a known spell
    static constexpr int kItem = 3;   // a potion or a scroll
    static constexpr int kPause = 1;  // an item's pause
    static constexpr int kSpellPause = 2;
    static constexpr int kKeepPause = -1;  // the game goes on, or stays paused, as it was
};

// Starts the choice of a target for `item`: the world's rules told (a world
// without them only shows `prompt` on the message line) and the item's
// picture, or `cursor` when one is given, on the cursor. Answers 2 (a target
// is awaited).
int BeginTargetChoice(Object& item, Player* user, int selectMode, int pause,
                      const std::string& prompt, CDDObject* cursor = nullptr);
// After a use: the pause it began ends.
void EndUsePause();
