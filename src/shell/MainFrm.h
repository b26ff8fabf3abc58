#pragma once
// The main frame: the window, its surfaces, popups, sound, music and message
// line, and the one World it shows. Subsystems add their members in blocks of
// their own.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DSound.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/Persistent.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "play/Play.h"
#include "shell/FrameHost.h"
#include "shell/GameSettings.h"
#include "shell/MapView.h"
#include "shell/StartState.h"
#include "windows/GameWindows.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace qv {
class Archive;
class ArchiveError;
class FileError;
class Settings;
}  // namespace qv
class CDDWnd;
class Group;
class Land;
class MapMaster;
class Member;
class MonsterGenerator;
class Object;
class Player;
class Spell;

// The frame receives the window's input, timer ticks and posted commands
// through the handlers of qv::WindowHandler (platform/Events.h), and keeps the
// chain of popups (m_pModalPopup, m_bModalPopup) that media/DDWnd registers in.
class CMainFrame : public qv::WindowHandler, public CPopupChain {
public:
    CMainFrame();
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Asks the program to end with `code` once the current handler returns:
    // the frame stays whole until the event loop has ended and the program
    // tears it down.
    void RequestQuit(int code);

    // The world this frame shows and plays (map, groups, party, time, key
    // records, events), and the rules of play that run it.
    World m_World;
    Play m_Play{m_World};
    // The orders given, each with its tick, kept while QV_RECORD names the
    // file the frame writes them to as it goes (a recording that
    // quorvale_replay plays again).
    std::string m_strRecordFile;
    // The player's answers to play's questions and what the screen does at
    // play's points of a tick.
    CFrameHost m_Host{*this};

    // ---- The in-game windows (MainFrmWindows.cpp): the party panel, the
    // control panel and the windows keep their own state; the frame hands
    // them its commands.
    std::unique_ptr<CGameWindows> m_pGameWindows;
    // The editor's tool palette, while it is up (build mode).
    CDDWnd* m_pToolPalette = nullptr;
    // The member becomes the controlled one and its windows follow it; null
    // keeps the one there is; `force` draws them anew.
    void SetControlPlayer(Player* member, int force);
    // Keys 1 to 4: the member of that party slot becomes the controlled one.
    void OnSelectMember(int slot);
    void OnShowMagic();
    void OnPlayerStats();
    void OnPlayerInfo();

    int m_bAssertShowing = 0;      // an assertion box is up
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
    // Starts the tune; 0 when it cannot be played. A tune file its reader
    // refuses is said once, on the error output and in a message box, with
    // `consequence` (what the failure leads to) after it.
    int PlayMidi(int* tune, const char* consequence = nullptr);
    void SayRefusedTune(const CMIDIStream& stream, const char* consequence);
    void UpdateMidi();
    void DeleteMidi();
    int m_bWindowed = 1;  // windowed (900 x 480) or full screen (640 x 480)
    int m_iBitsPerPixel = 16;
    int m_bFlipParity = 0;  // which page is in front
    std::unique_ptr<qv::Window> m_pWindow;
    std::unique_ptr<qv::Surface> m_pPrimary;     // what the window shows
    std::unique_ptr<qv::Surface> m_pBackBuffer;  // where frames are composed
    qv::Surface* m_pDrawSurface = nullptr;
    std::unique_ptr<CDDObject> m_pScreenImage;  // the furniture around the map view
    int m_bSoundOn = 1;
    int m_bMusicOn = 1;
    int m_bMidiOutput = 0;  // a MIDI output exists (a sound device and the sound font)
    std::unique_ptr<CMIDIStream> m_pMidi;
    // The table of sounds the fights play by number (attack, hurt, death),
    // each made the first time it plays; a number outside it plays nothing.
    static constexpr int kCombatSounds = 20;
    std::array<std::unique_ptr<CDSound>, kCombatSounds> m_CombatSounds;
    void PlayCombatSound(int number, qv::Point at);
    std::vector<std::string> m_RefusedTunes;  // the tune files refused and said
    CDDEdit m_MessageLine;                    // the message line under the map view

    // ---- The game loop (MainFrmUpdate.cpp, MainFrmDraw.cpp) ----
    // The loop's timer: id, and the real time between ticks.
    static constexpr int kTimerId = 5000;
    static constexpr uint32_t kTickMs = 50;
    static constexpr int32_t kPauseBarLength = 119;   // pixels of a full bank
    static constexpr int32_t kHeldScrollDelay = 200;  // game time before holding scrolls
    static constexpr int kSurfaceRetries = 1000;

    // The window timer's tick: advances the world one step and shows it.
    void OnTimer(int id) override;
    // One whole tick as the timer delivers it; what tests and benchmarks step.
    void RunTick() { OnTimer(static_cast<int>(m_nTimerID ? m_nTimerID : kTimerId)); }
    // Starts the 50 ms timer (the running loop); false when none can be set.
    bool StartTimer();
    void StopTimer();
    // Takes the program's events with the timer running until the quit
    // request; answers its exit code (3 when no timer can be set).
    int RunMessageLoop();
    // The held left button's step of the view (or of the leader) toward the
    // cursor.
    void ScrollStep();
    // The tick runs the world: the program is active and no popup is up.
    bool IsQuiet() const { return m_bAppActive && !m_Play.IsPopupOpen(); }
    int DrawFrame(int skipMap);
    int RedrawMapCell(int unused);
    void HoverText(int x, int y);
    void DrawPauseBar();
    void DrawHoldGroundButton();
    // The pause bar's filled length for the bank as it stands.
    int PauseBarFill() const {
        return m_Play.m_iPauseBudget * kPauseBarLength / Play::kPauseBankMax;
    }

    // The options window (shell/MainFrmOptions.cpp): the start layout at its
    // first showing, else the in-game one, where `b` lets the player go back
    // to the game. TRUE when the player goes on playing (a game was begun or
    // loaded, or play goes on), FALSE when the player chose to quit there.
    int RunOptionsWindow(int a, int b);
    void OnActivateApp(bool active) override;
    void OnMove(qv::Point origin) override;
    void OnPaint() override;
    // The window is going away: what flies is dropped and the timer stops.
    void OnDestroy();

    int32_t m_iTickStep = Play::kNormalTickStep;
    int32_t m_iNormalTickStep = Play::kNormalTickStep;
    uint32_t m_nTimerID = 0;
    int32_t m_iButtonHeldTime = 0;
    int m_bMouseWalking = 0;
    qv::Point m_ptCursor{320, 240};
    int m_bDiagonalToggle = 0;
    int m_bBuildMode = 0;
    int m_bStatsMode = 0;
    int m_bTalkMode = 0;
    int m_bTradeMode = 0;
    int m_bLeftHeld = 0;
    int m_bTalkArrival = 0;  // a creature came over to talk to the party
    int m_bRightPause = 0;
    int m_bCtrlDown = 0;
    int m_bFullRedraw = 0;
    int m_bReloadImages = 0;
    std::unique_ptr<CDDObject> m_pHoldGroundButton, m_pPauseBarFrame, m_pPauseBarFill;
    int m_bAppActive = 1;
    int m_nCursorID = 219;
    std::array<std::unique_ptr<CDDObject>, 9> m_pCursorImages;
    CDDWnd* m_pControlPanel = nullptr;
    qv::Rect m_rcHoldGroundButton{400, 461, 428, 478};
    int m_iStage = 0;

    // The map view: its place, the scene it is composed on, what is drawn.
    CMapView m_View{m_World};
    std::string m_strHoverText;  // the text line of the hovered target
    int m_iTickDepth = 0;        // a tick is running
    static constexpr int kCursorNormal = 214;
    static constexpr int kCursorWait = 219;
    static constexpr int kCursorTarget = 218;
    static constexpr int kCursorNoTarget = 216;

    // ---- Mouse and keyboard (MainFrmInput.cpp, MainFrmKeys.cpp) ----
    // Menu commands.
    static constexpr int kCmdShowStatistics = 32776;
    static constexpr int kCmdNothing = 32787;
    static constexpr int kCmdPause = 32788;
    static constexpr int kCmdTalk = 32793;
    static constexpr int kCmdTrade = 32796;
    static constexpr int kCmdToggleSelectMode = 32799;
    // Mouse input waits while this holds: the lock is set, or the leader is
    // in (or about to start) a conversation.
    int IsInputBlocked() const;
    void ClearModes();
    void OnTalk();
    void OnTrade();
    void OnShowStatistics();
    // The mouse carries a placed object (Play::SetDragObject); the held
    // button lets go of the view.
    void SetDragObject(ObjectHolder* holder);
    // The editor's drag of a placed object's picture from a client point;
    // dropped in the view, the object moves by the drag; on a list of
    // things, that list's bag takes it; anywhere else it is deleted.
    void DragPlacedObject(ObjectHolder* holder, qv::Point start);
    // Ends a held-button scroll unless keep is set; the input lock becomes
    // the opposite of keep.
    void CancelMouseScroll(int keep);
    // Play's conversations end the held button's scroll as they open.
    void EndScrollWhenTalking();
    // Tab: the next object in view that can be acted on becomes the target.
    void PickNextTarget();
    // A target selection cancelled: the item or spell waiting for it is
    // dropped with it.
    void CancelTargetSelection();
    // Esc, in its order: windows first, then the target selection, then the
    // options window.
    void OnEscape();
    // The menu commands above (OnCommand hands them on).
    void OnMenuCommand(int id);
    void OnKeyDown(int vk) override;
    void OnKeyUp(int vk) override;
    void OnLButtonDown(qv::Point point) override;
    void OnLButtonUp(qv::Point point) override;
    void OnLButtonDblClk(qv::Point point) override;
    void OnRButtonDown(qv::Point point) override;
    void OnRButtonUp(qv::Point point) override;
    void OnRButtonDblClk(qv::Point) override {}
    void OnMouseMove(qv::Point point) override;
    int m_bDebugLight = 0;  // the map's light is drawn for checking

    // ---- Dropping on the view (play/PlayPlace.cpp) ----
    // A drop of `object` at view point `p` (Play::DropObject at the world
    // point under it).
    using DropResult = Play::DropResult;
    DropResult DropObject(Object* object, qv::Point p) {
        return m_Play.DropObject(object,
                                 Position(m_World.m_ptFocus.x + (p.x - m_View.m_ptViewCentre.x) +
                                              (p.y - m_View.m_ptViewCentre.y),
                                          m_World.m_ptFocus.y + (p.y - m_View.m_ptViewCentre.y)));
    }

    // ---- Start-up (MainFrmStart.cpp) ----
    // Takes the settings ("Path", "Sound", "Midi", "Windows", "Build"; a
    // missing one keeps its default, a bad number is reported naming the
    // setting and keeps it too), sets the game, working and slot folders and
    // reads the slot table. Answers an empty text, or what stops the game
    // from starting (a game folder that is not there).
    std::string ApplySettings(const qv::Settings& settings, const std::string& fileName);
    // The settings file, its notices and the writing back of the switches.
    CGameSettings m_Settings;

    // The commands the frame posts to itself: the intro, then its end.
    static constexpr int kCmdPlayIntro = 170;
    static constexpr int kCmdIntroDone = 171;
    // Exit codes of a start that does not reach play: the player quit from
    // the first options window; the images, the map or the timer failed.
    static constexpr int kQuitFromOptions = 2;
    static constexpr int kQuitStartFailed = 3;
    // Makes the window: answers 2 when the frame may live, 0 when not.
    int Create();
    // The window's creation, in order: settings, folders, the slot table,
    // the screen, the frame's images and the software cursor, the map and the
    // root groups, sound and the first tune, the view, then the intro is
    // posted. 0 when the frame may live, -1 when not.
    int OnCreate();
    void OnCommand(int id) override;
    // Command 170: plays the intro movie, when the game folder has one, and
    // posts command 171 once it is over.
    void OnPlayIntro();
    // The intro movie of the game folder.
    static constexpr const char* kIntroMovieName = "\\Intro.avi";
    // A key that stops the intro waits this long before the game goes on.
    static constexpr int kIntroStopPauseMs = 500;
    // Plays the movie `file` until it ends or a key stops it; a file that
    // cannot be played is skipped, said on the terminal.
    void PlayIntroMovie(const std::string& file);
    // A key stopped the intro: the movie ends, the frame waits, the player goes.
    void StopIntroMovie();
    // Shows a picture of the intro movie: onto the back buffer, then on the
    // screen (copied in a window, flipped in full screen).
    void PresentMovieFrame(const qv::Surface& frame);
    // Command 171: the intro is over; play starts.
    void OnIntroDone();
    // Loads the shared pictures on a worker thread while this thread waits,
    // runs the first options window (or the world maker in build mode) and
    // sets the 50 ms timer: play begins with the next tick.
    void StartOfPlay();
    // The worker's procedure: 0 when the shared pictures are loaded, -1 when
    // not (or when `frame` is not the main frame). It touches nothing but the
    // shared pictures, which nothing reads until it has ended.
    static int LoadImagesOnWorker(CMainFrame* frame);
    int (*m_pImageWorkerProc)(CMainFrame*) = &LoadImagesOnWorker;
    int m_iImageWorkerResult = 0;  // the last worker's exit code
    int m_bSystemCursorShown = 1;
    int m_bWorldMade = 0;  // build mode: the world maker made a world
    // The start-up's trace of its steps and the intro's state.
    CStartState m_Start;

private:
    void CheckPartyAlive();
    void PresentWindowed();
};
