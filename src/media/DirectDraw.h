#pragma once
// The screen: the frame's surfaces and the window they are shown in.
//
// The game composes its pictures in plain-memory surfaces: the primary
// surface (what the window shows), the back buffer (where frames are composed
// in full screen) and the screen picture (the furniture around the map view).
// Presenting copies a rectangle of the primary surface into the window. A
// "flip" in full screen swaps the roles of the back buffer and the primary.

#include <string>

#include "platform/Surface.h"

// The surface to draw on: 1 the primary surface, -1 the back buffer, 0 the
// one the frame chooses (the back buffer while full-screen play runs with no
// popup up, else the primary). Sets the software cursor's two flags as it
// chooses. Null before the surfaces exist.
qv::Surface* GetDrawSurface(int which);
// The software cursor's flip-mode flag.
int IsFlipMode();
// Flips at every page flip: which page is shown.
int GetFlipParity();

// The surface popups draw on (the primary), null when there is none.
qv::Surface* GetPopupSurface();
// Shows a rectangle of the primary surface in the window.
void PresentScreen(const qv::Rect& rect);

// Lets the program's message boxes (failed checks, file errors, warnings)
// show in the game's window as the game's own message window; without a
// window they keep their headless behaviour.
void InstallGameMessageBoxes();

// The DirectDraw error codes the game's error texts know.
enum : unsigned {
    kDDErrGeneric = 0x80004005u,
    kDDErrSurfaceLost = 0x887601C2u,
    kDDErrInvalidObject = 0x88760082u,
};

// The text of a drawing error, and of a failed restore, for the message box;
// empty for 0.
std::string DDErrorString(unsigned code);
std::string DDRestoreErrorString(unsigned code);
