#pragma once
// What play needs of the shell that shows it, at its points of a tick and of a
// long file operation. The shell implements it; headless play (a test, a
// replay) has none, and every point then does nothing (PlayShell itself).

class PlayShell {
public:
    virtual ~PlayShell() = default;
    // The first tick is about to start play: the screen takes its first frame.
    // False: play does not start in this tick.
    virtual bool ReadyToStart() { return true; }
    // The tick's own orders, after the pending moves and before the world's
    // step: what a held button asks (the scroll) and the hover search.
    virtual void TickOrders() {}
    // A land move or a world that was read has been taken in: what the
    // screen showed of the old one goes.
    virtual void WorldTaken() {}
    // The statistics are to be shown: the click modes end (a world that was
    // read, the party going into or out of combat in the editor).
    virtual void ShowStatistics() {}
    // The stairs' world change is over.
    virtual void WorldTravelled() {}
    // The land's tune (or its combat tune) is to play.
    virtual void PlayTune(int /*tune*/) {}
    // A long file operation starts (true) or has ended (false).
    virtual void ShowBusy(bool /*busy*/) {}
    // The program is ending: the tick stops where it is.
    virtual bool Quitting() { return false; }
    // An in-game window that stops the world is up (the container window
    // counted with `countContainer`): the windows keep which are up.
    virtual bool WindowStopsWorld(bool /*countContainer*/) { return false; }
    // The party's inventory window is up: a container opens beside it.
    virtual bool InventoryWindowUp() { return false; }
    // The editor's tool palette is drawn again; false when it is not up.
    virtual bool RedrawToolPalette() { return false; }
    // A creature comes over to talk to the party: the held button's scroll
    // ends and input waits for the conversation.
    virtual void TalkerComes() {}
};
