#pragma once
// The player's answers to play's questions through the game's own windows: the
// quantity window, the yes-or-no box and the message box.

#include "play/AskPlayer.h"

class GameAsk : public AskPlayer {
public:
    int Quantity(int amount) override;
    bool YesNo(const std::string& question) override;
    void Tell(const std::string& text) override;
};
