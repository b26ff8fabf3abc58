#pragma once
// The choice of a target for an item or a spell that acts on one. A potion,
// scroll, power cube or known spell that is picked for use asks play (through
// the TargetChoice play puts in place) to wait for the click that picks its
// target; the message line says what is wanted and the mouse cursor carries
// the item's picture meanwhile. Play then hands the target to the item's Use.

#include <string>

class Object;
class Player;

class TargetChoice {
public:
    virtual ~TargetChoice() = default;
    // The game pauses (`pause` 1; 2 for a spell), the next click in select
    // mode `selectMode` picks the target, `item` with `user` (none for a
    // power cube) is the use that waits for it, and the message line shows
    // `prompt`.
    virtual void BeginTargetChoice(Object* item, Player* user, int selectMode, int pause,
                                   const std::string& prompt) = 0;
    // The pause a use began is over (the use went through).
    virtual void EndUsePause() = 0;
};
TargetChoice* GetTargetChoice();
// Puts the choice in place (null takes it away); the caller keeps it.
void SetTargetChoice(TargetChoice* choice);

// Select modes and pauses of the uses that wait for a target.
struct UseSelect {
    static constexpr int kToken = 1;  // tokens and power cubes
    static constexpr int kSpell = 2;  // a known spell
    static constexpr int kItem = 3;   // a potion or a scroll
    static constexpr int kPause = 1;  // an item's pause
    static constexpr int kSpellPause = 2;
};

// Starts the choice of a target for `item`: play told (with `prompt` for the
// message line) and the item's picture on the cursor. Answers 2 (a target is
// awaited).
int BeginTargetChoice(Object& item, Player* user, int selectMode, int pause,
                      const std::string& prompt);
// After a use: the pause it began ends.
void EndUsePause();
