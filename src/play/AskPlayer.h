#pragma once
// The questions play asks the player, and what it tells the player: how many of
// a stack, yes or no, and a message to read. The shell answers them with the
// game's windows; a test answers them itself. Without one, Play answers as a
// game without a window would (HeadlessAsk).

#include <string>

class AskPlayer {
public:
    virtual ~AskPlayer() = default;
    // How many of `amount` (0 to amount, the window starting at amount); 0
    // when the player cancels.
    virtual int Quantity(int amount) = 0;
    // A question answered yes (true) or no.
    virtual bool YesNo(const std::string& question) = 0;
    // A message for the player to read.
    virtual void Tell(const std::string& text) = 0;
};

// The answers of a game shown nowhere: the whole amount is taken, and the
// questions and messages go to the program's message boxes (platform/Message.h),
// which answer headless from their script (no when none is scripted).
class HeadlessAsk : public AskPlayer {
public:
    int Quantity(int amount) override { return amount; }
    bool YesNo(const std::string& question) override;
    void Tell(const std::string& text) override;
};
