#pragma once
// The main frame: the one owner of the world. Subsystems add their members in
// blocks of their own.

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
#include "world/TimeOfDay.h"

class CGameEvent;
class CDDWnd;
class Group;
class KeyStorage;
class MapMaster;
class Object;
class ObjectHolder;
class Player;
class UnusedNumbers;

// The frame receives the window's input, timer ticks and posted commands
// through the handlers of qv::WindowHandler (platform/Events.h).
class CMainFrame : public qv::WindowHandler {
public:
    CMainFrame();
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Asks the program to end with `code` once the current handler returns.
    void RequestQuit(int code);

    // Key records: objects by key number, signalled together.
    void AddToKeyStorage(Object* object);
    void RemoveFromKeyStorage(Object* object);
    std::vector<std::unique_ptr<KeyStorage>> m_KeyStorageList;

    // Accessor state of the world model.
    MapMaster* map_master = nullptr;
    std::vector<Player*> m_PlayerArray;       // indexed by actor number
    Group* m_pRandomEncounters = nullptr;     // "Random Encounters"
    qv::Handle<ObjectHolder> m_pHoverHolder;  // current target candidate
    int m_bEditing = 0;                       // build mode check is on
    int m_bDebugView = 0;                     // invisible creatures are shown
    int m_bAssertShowing = 0;                 // an assertion box is up
    std::string m_strGameFolder;              // ends in a backslash
    std::string m_strMessageLine;             // text of the message line
    int m_bQuitRequested = 0;
    int m_iQuitCode = 0;

    // What the creatures' turns read and their stored records fill in: the
    // game clock, the party, the view centre and the fast-time switch.
    int32_t m_iGameTime = 0;
    int m_bFastTime = 0;
    qv::Point m_ptFocus;
    qv::Handle<Player> m_pLeader;
    qv::Handle<Player> m_pControlPlayer;
    std::array<qv::Handle<Player>, 6> m_Party;  // slot 0 is the leader's

    // Groups: the root of the group tree (owned; "Random Encounters" is one of
    // its members) and the table of groups by number, which does not own them.
    void CreateRootGroups();
    void DeleteGroups();
    // The group of table slot `number`; null for an empty or missing slot.
    Group* GetGroupByNumber(int32_t number) const;
    Group* m_pAllGroups = nullptr;
    std::vector<Group*> m_GroupArray;
    qv::Handle<Group> m_pCurrentGroup;  // the group the editor works on
    // Free member ids for the creatures of random encounters and scripted
    // groups; owned.
    std::unique_ptr<UnusedNumbers> m_pUnusedNumbers;
    // The party slot (0..5) of a creature, or -1.
    int FindPartySlot(Player* creature) const;
    // With a leader and the creature in the party: its slot and the formation
    // row of the leader's facing (0..3); false otherwise, outputs untouched.
    bool GetPartySlot(Player* creature, int32_t* slot, int32_t* row) const;
    // The party formation turned to each quarter of the leader's facing, one
    // offset per slot.
    std::array<std::array<qv::Point, 6>, 4> m_FormationRows{};

    // Scripted events waiting to run and the named script variables; owned.
    std::list<std::unique_ptr<CGameEvent>> m_EventList;
    std::list<std::unique_ptr<Object>> m_ScriptVariableList;

    // The world's clock (owned).
    std::unique_ptr<CTimeOfDay> m_pTimeOfDay = std::make_unique<CTimeOfDay>();

    // Screen, sound, music and popups (media/DirectDraw.cpp, media/DSound.cpp).
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
    int m_bModalPopup = 0;
    CDDWnd* m_pModalPopup = nullptr;
    int m_bSoundOn = 1;
    int m_bMusicOn = 1;
    int m_bMidiOutput = 0;  // a MIDI output exists (never here)
    std::unique_ptr<CMIDIStream> m_pMidi;
    CDDEdit m_MessageLine;  // the message line under the map view
};
