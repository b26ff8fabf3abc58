#pragma once
// The frame as play sees it: the player's answers to play's questions through
// the game's own windows (the quantity window, the yes-or-no box, the message
// box), and what the screen does at play's points of a tick.

#include "play/AskPlayer.h"
#include "play/PlayShell.h"

class CMainFrame;

class CFrameHost : public AskPlayer, public PlayShell {
public:
    explicit CFrameHost(CMainFrame& frame) : m_frame(frame) {}

    int Quantity(int amount) override;
    bool YesNo(const std::string& question) override;
    void Tell(const std::string& text) override;

    // The screen picture on the surfaces, frames composed on the back buffer
    // with the software cursor; false when the screen cannot be shown.
    bool ReadyToStart() override;
    // A let-go left button ends its hold; the held button's scroll step (or
    // the leader's stop); the hover search at the cursor.
    void TickOrders() override;
    // The normal cursor, shown over the frame's own windows.
    void WorldTaken() override;
    void ShowStatistics() override;
    void WorldTravelled() override;
    void PlayTune(int tune) override;
    void ShowBusy(bool busy) override;
    bool Quitting() override;
    // The windows' own record of which are up, and the editor's palette.
    bool WindowStopsWorld(bool countContainer) override;
    bool InventoryWindowUp() override;
    bool RedrawToolPalette() override;
    // The mouse's scroll is cancelled, input locked, the arrival marked.
    void TalkerComes() override;

private:
    CMainFrame& m_frame;
};
