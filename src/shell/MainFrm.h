#pragma once
// The main frame: the window, its surfaces, popups, sound, music and message
// line, and the one World it shows. Subsystems add their members in blocks of
// their own.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DSound.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "world/World.h"

class CDDWnd;

// The frame receives the window's input, timer ticks and posted commands
// through the handlers of qv::WindowHandler (platform/Events.h), and keeps the
// chain of popups (m_pModalPopup, m_bModalPopup) that media/DDWnd registers in.
class CMainFrame : public qv::WindowHandler, public CPopupChain {
public:
    CMainFrame();
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Asks the program to end with `code` once the current handler returns.
    void RequestQuit(int code);

    // The world this frame shows and plays (map, groups, party, time, key
    // records, events).
    World m_World;

    int m_bEditing = 0;            // build mode check is on
    int m_bDebugView = 0;          // invisible creatures are shown
    int m_bAssertShowing = 0;      // an assertion box is up
    std::string m_strGameFolder;   // ends in a backslash
    std::string m_strMessageLine;  // text of the message line
    int m_bQuitRequested = 0;
    int m_iQuitCode = 0;

    // Screen, sound and music (shell/MainFrmScreen.cpp, shell/MainFrmSound.cpp).
    int InitDirectDraw(int reload);
    void ReleaseDirectDraw();
    int RestoreSurfaces();
    int UpdateScreen(int reload);
    int Pause(int milliseconds);
    // Full screen: shows the back buffer and swaps it with the primary surface.
    int FlipSurfaces();
    int InitDirectSound();
    void ReleaseSounds();
    int PlayMidi(int* tune);
    void UpdateMidi();
    void DeleteMidi();
    int m_bWindowed = 1;  // windowed (900 x 480) or full screen (640 x 480)
    int m_iBitsPerPixel = 16;
    int m_iStartState = 1;  // 0 while play runs
    int m_bFlipParity = 0;  // which page is in front
    std::unique_ptr<qv::Window> m_pWindow;
    std::unique_ptr<qv::Surface> m_pPrimary;     // what the window shows
    std::unique_ptr<qv::Surface> m_pBackBuffer;  // where frames are composed
    qv::Surface* m_pDrawSurface = nullptr;
    std::unique_ptr<CDDObject> m_pScreenImage;  // the furniture around the map view
    int m_bSoundOn = 1;
    int m_bMusicOn = 1;
    int m_bMidiOutput = 0;  // a MIDI output exists (never here)
    std::unique_ptr<CMIDIStream> m_pMidi;
    CDDEdit m_MessageLine;  // the message line under the map view
};
