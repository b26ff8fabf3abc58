#pragma once
// The main frame: the window, its surfaces, popups, sound, music and message
// line, and the one World it shows. Subsystems add their members in blocks of
// their own.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
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
#include "shell/GameAsk.h"
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
    // The player's answers to play's questions: the game's own windows.
    GameAsk m_Ask;

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
    int m_bMidiOutput = 0;  // a MIDI output exists (a sound device and the sound font)
    std::unique_ptr<CMIDIStream> m_pMidi;
    CDDEdit m_MessageLine;  // the message line under the map view

    // ---- The game loop (MainFrmUpdate.cpp, MainFrmDraw.cpp) ----
    // The loop's timer: id, and the real time between ticks.
    static constexpr int kTimerId = 5000;
    static constexpr uint32_t kTickMs = 50;
    static constexpr int32_t kNormalTickStep = 100;  // game time of one tick
    static constexpr int32_t kFastTimeFactor = 10;
    static constexpr int32_t kPauseBankMax = 13000;
    static constexpr int32_t kPauseBarLength = 119;   // pixels of a full bank
    static constexpr int32_t kHeldScrollDelay = 200;  // game time before holding scrolls
    static constexpr int32_t kMusicInterval = 5000;
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
    void UpdateTick(int32_t* now);
    void RunWorld(int32_t* now);
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
    int PauseBarFill() const { return PauseBudget * kPauseBarLength / kPauseBankMax; }
    // Whether an object at cell offset (cx, cy) from the focus cell is drawn
    // see-through, so that the party shows behind it.
    static bool IsSeeThrough(int cx, int cy, Object* object);
    // The world point under a client point of the map view.
    Position ViewToWorld(qv::Point client) const;
    qv::Point GetViewPoint(qv::Point client) const {
        return {client.x - m_ptViewOrigin.x, client.y - m_ptViewOrigin.y};
    }
    // Flips the pause (not while a target is being picked).
    void TogglePause();
    // The text of a drawing error, and of a failed restore, for the message
    // box; empty for 0.
    static std::string DDErrorString(unsigned code);
    static std::string DDRestoreErrorString(unsigned code);
    void DDErrorText(unsigned code);
    void DDRestoreErrorText(unsigned code);

    // ---- The party and moving between lands (MainFrmParty.cpp, MainFrmLand.cpp) ----
    // Puts the view and the party back in order after the map changed under
    // them: the window around the focus, the party read back from "players"
    // after a world was read or written, a new character's attributes and
    // names, the spells of the dead, the groups' leaders, the waiting events
    // and the formation. Leaves m_bPlacingParty and m_bLoadingGame clear and
    // the leader controlled.
    int MoveToLand();
    // Gives every creature of the group (nested groups too, in list order) a
    // new placement on the map; *counter counts the creatures placed. While
    // the party is placed (m_bPlacingParty) and not kept where it was stored,
    // creature n stands at the focus + ((n mod 3) * 20 + 10, (n div 3) * 20 + 10).
    int PlaceGroup(Group* group, int32_t* counter);
    // Takes the party to cell (x, y) of another world file of the working
    // folder; 0 (nothing done) without a leader or for a name that is not a
    // plain file name of the working folder.
    int GoToWorld(const std::string& worldFile, int32_t x, int32_t y);
    // The editor's ways to make and extend worlds. Their dialogs are the
    // editor's: until it exists (and in tests) they are reached through the
    // choosers below, and a missing chooser answers as a cancelled dialog.
    void AddLand(std::unique_ptr<Land> land, const std::string& fileName);
    int NewWorld();     // 1, or 2 when a dialog was cancelled (nothing changed)
    int OnLoadWorld();  // 1, or 2 when the file dialog was cancelled
    int AskLandFileName(std::string& name);  // 1 when a name was chosen
    struct FileDialogRequest {
        bool save = false;  // a save dialog (else an open dialog)
        std::string extension, proposed, filter;
    };
    // Answers the chosen file's name (a folder before it is dropped), or
    // nothing when cancelled.
    std::function<std::optional<std::string>(const FileDialogRequest&)> m_ChooseFile;
    struct NewWorldRequest {
        std::string name;
        int32_t width = 500, height = 500;
    };
    // Fills in the new world's name and size; false when cancelled.
    std::function<bool(NewWorldRequest&)> m_AskNewWorld;
    int m_bReloadWithoutAsking = 0;  // the editor's reload of the world it works on
    int m_bPlacingParty = 0;
    int m_bNoPlayersFile = 0;  // the editor: "players" is not read
    int m_bNewCharacterPending = 0;
    int32_t m_iNewStrength = 50, m_iNewIntelligence = 50, m_iNewDexterity = 50;

    // The party's slots and the script commands that move, split and rejoin it.
    int FindPartySlot(const Player* creature) const { return m_World.FindPartySlot(creature); }
    Player* GetPartyMember(const int32_t* slot) const;
    bool GetPartySlot(Player* creature, int32_t& slot, int32_t& row) const {
        return m_World.GetPartySlot(creature, slot, row);
    }
    // The party to the centre of a cell, in rows of three 20 pixels apart.
    void TravelTo(qv::Point cell);
    // The leader goes on alone; the others wait, held, in the kept-aside group.
    void MakeGroup();
    // The kept-aside members rejoin the leader's group; each takes the next
    // free party slot of 1 to 5, and those beyond rejoin without a slot.
    void ReGroup();
    // The leader trades with the store of that id, when there is one.
    void OpenTradeWindow(const int32_t* storeId, int32_t mode);
    // The stores are kept as read until the trading window comes: it installs
    // how a store's id is read and how its window opens.
    struct TradeWindowHooks {
        std::function<bool(qv::Persistent& store, int32_t id)> isStore;
        std::function<void(qv::Persistent& store, int32_t mode)> open;
    } m_TradeWindow;
    // Takes a member's placement off the map and deletes it; the member stays.
    void TakeHolderOffMap(Member* member);
    // Where the n-th member placed around `focus` stands: three to a row,
    // 20 pixels apart, from 10 pixels right of and below it.
    static Position PartySpot(qv::Point focus, int32_t n);

private:
    void BringBackParty();
    void ReadPartyFromPlayers();
    void EndSpellsOfTheDead();
    void RunWaitingEvents();
    void PlaceMembers(Group* group, int32_t* counter, bool atFocus);
    void WritePlayers(Group& party);
    int m_bRunningEvents = 0;  // a move made by an event leaves the walk to it

public:
    // What later parts of the shell fill: the player's windows, the options
    // window after a death and the monster generators' fights. Each answers
    // as the loop expects while the part behind it is missing.
    void SetControlPlayer(Player* creature, int refresh);
    // TRUE when the player goes on playing, FALSE when the player chose to
    // quit there.
    int RunOptionsWindow(int a, int b);
    void RefreshPartyTips() {}
    void OnActivateApp(bool active) override;
    void OnMove(qv::Point origin) override;
    // The view, its rectangle and the mini-map from the client area's origin
    // on the surfaces.
    void PlaceView(qv::Point origin);
    void OnPaint() override;
    // The window is going away: what flies is dropped and the timer stops.
    void OnDestroy();

    int32_t m_iTickStep = kNormalTickStep;
    int32_t m_iNormalTickStep = kNormalTickStep;
    int32_t PauseBudget = 0;
    uint32_t m_nTimerID = 0;
    int32_t m_iMusicTime = 0;
    int32_t m_iButtonHeldTime = 0;
    int m_bMouseWalking = 0;
    qv::Point m_ptCursor{320, 240};
    // The party's formation: an offset per slot, and its four turned copies
    // in the world's m_FormationRows, one per quarter of the leader's facing.
    // The default is set once; rebasing puts the leader's slot at (0, 0).
    void InitFormation();
    void RebaseFormation();
    static qv::Point RotateQuarter(qv::Point offset) { return {-offset.y, offset.x}; }
    std::array<qv::Point, 6> m_FormationOffsets{};
    int m_bFormationSet = 0;
    // Missiles and spell projectiles in flight, and the spells in effect.
    std::list<std::unique_ptr<Object>> m_FlyingObjects;
    std::list<std::unique_ptr<Spell>> m_ActiveSpells;
    int InfoWindowMode = 1;
    int m_bDiagonalToggle = 0;
    qv::Point m_szView{536, 359};
    qv::Point m_ptViewCentre{268, 179};
    qv::Handle<ObjectHolder> m_pDragHolder;  // the placed object the mouse carries
    int m_bTabTarget = 0;
    int m_bBuildMode = 0;
    int m_bStatsMode = 0;
    int m_bTalkMode = 0;
    int m_bTradeMode = 0;
    int m_bCombat = 0;
    int m_bPaused = 0;
    int m_bLeftHeld = 0;
    int m_bRightPause = 0;
    int m_bHoldGround = 1;
    int m_bCtrlDown = 0;
    int m_bPartyInvulnerable = 0;
    CDDWnd* m_pToolPalette = nullptr;
    std::vector<ObjectHolder*> m_DrawnHolders;  // does not own
    int m_bSaving = 0;
    int m_bRefreshPending = 0;
    int m_bLandMovePending = 0;
    Land* m_pCurrentLand = nullptr;
    qv::Rect m_rcView{3, 3, 3 + 536, 3 + 359};
    int m_bFullRedraw = 0;
    qv::Point m_ptViewOrigin{3, 3};
    qv::Point m_ptMinimapOrigin{207, 371};
    int m_bReloadImages = 0;
    std::unique_ptr<CDDObject> m_pHoldGroundButton, m_pPauseBarFrame, m_pPauseBarFill;
    MonsterGenerator* m_pActiveGenerator = nullptr;
    int m_bAppActive = 1;
    int m_nCursorID = 219;
    std::array<std::unique_ptr<CDDObject>, 9> m_pCursorImages;
    CDDWnd* m_pControlPanel = nullptr;
    int m_bOptionsShown = 0;
    qv::Rect m_rcHoldGroundButton{400, 450, 428, 467};
    int m_iStage = 0;

    // Where the map view is composed: the floor and the objects are drawn
    // around the focus at the map's own screen centre, then the view's
    // rectangle of it is copied into place on the drawing surface.
    std::unique_ptr<qv::Surface> m_pViewSurface;
    qv::Point m_ptDrawCorner{52, 61};  // the view's corner on m_pViewSurface
    std::string m_strHoverText;        // the text line of the hovered target
    int m_iTickDepth = 0;              // a tick is running
    // Cells of the visible range already drawn in this frame.
    std::array<uint8_t, 7 * 6> m_CellDrawn{};
    qv::Point m_ptDrawFocusCell{0, 0};  // the focus window cell of the frame being drawn
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
    void SetSelectMode(int mode) { m_Play.m_iSelectMode = mode; }
    void OnToggleSelectMode() {
        m_Play.m_iSelectMode = m_Play.m_iSelectMode == 0 ? Play::kSelectToken : 0;
    }
    void ClearModes();
    void OnTalk();
    void OnTrade();
    void OnShowStatistics();
    void SetCombatMode(int on);
    // Carries a placed object with the mouse (the game stands still), or ends
    // the carry with null.
    void SetDragObject(ObjectHolder* holder);
    // The editor's drag of a placed object's picture from a client point;
    // dropped in the view, the object moves by the drag.
    void DragPlacedObject(ObjectHolder* holder, qv::Point start);
    // Ends a held-button scroll unless keep is set; the input lock becomes
    // the opposite of keep.
    void CancelMouseScroll(int keep);
    // The world point of a client point of the mini-map: the centre of the
    // window cell under it; false outside the mini-map's picture.
    bool MinimapToWorld(qv::Point client, Position& out) const;
    // The text line of a target candidate: its name, with hit points,
    // alertness and mana for a party member.
    std::string TargetText(ObjectHolder* holder) const;
    // Tab: the next object in view that can be acted on becomes the target.
    void PickNextTarget();
    // The objects Tab picks from, in the order it picks them.
    std::vector<ObjectHolder*> TabCandidates() const;
    // A target selection cancelled: the item or spell waiting for it is
    // dropped with it.
    void CancelTargetSelection();
    // F5: the quick save, refused during a fight or with a window open.
    void OnQuickSaveKey();
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
    // The party's windows and panel pages the keys open. The windows come
    // with the in-game windows; until then only the frame's own part is done.
    void SelectPanelPage(int page, int subPage, void (CMainFrame::*withoutPanel)());
    void OnShowItemList() {}
    void OnInventory() {}
    void OnShowMagic() {}
    void OnPlayerStats() {}
    void OnPlayerInfo() {}
    void OnSelectMember1() { SelectMember(0); }
    void OnSelectMember2() { SelectMember(1); }
    void OnSelectMember3() { SelectMember(2); }
    void OnSelectMember4() { SelectMember(3); }
    void SelectMember(int slot);
    int m_bDebugLight = 0;  // the map's light is drawn for checking

    // ---- The world file (MainFrmWorldFile.cpp) ----
    static constexpr uint32_t kWorldVersion = 19;
    static constexpr int kPartySlots = 6;
    // Writes the world when the archive stores and reads it when it loads.
    // Reading raises the archive's error for bad bytes; a file of a later
    // version than this game writes is refused before anything changes.
    void Serialize(qv::Archive& ar);
    // Writes or reads the world file `name` (taken in the current folder);
    // 1, or a qv::FileError or qv::ArchiveError naming the file.
    int SaveWorldFile(const std::string& name);
    int LoadWorldFile(const std::string& name);
    // Marks a group to be stored with its members, nested groups too, and
    // takes its creatures off the map.
    int DetachGroup(Group* group);
    // The "players" file: the party group alone, stored with its members.
    // The reader refuses anything else (qv::ArchiveError); the group it
    // answers belongs to no other group.
    static std::vector<uint8_t> StorePlayers(Group& party);
    static std::unique_ptr<Group> ReadPlayersFrom(const std::vector<uint8_t>& bytes,
                                                  const std::string& name);
    // The explicit current folder (ends in a backslash): names without a
    // folder are taken in it. The working folder whenever the game runs.
    std::string m_strCurrentFolder;
    std::string InCurrentFolder(const std::string& name) const;
    std::string GameFolderPath(const std::string& folder) const { return m_strGameFolder + folder; }
    int32_t m_iWorldVersion = 0;
    int m_bLoadingGame = 0;  // a saved game is read: replace rather than merge
    std::string m_strPlayerName, m_strDogName;
    // The stores of the world, kept and written back as read.
    std::list<std::unique_ptr<qv::Persistent>> m_StoreList;

    // ---- Saved games (MainFrmSaves.cpp) ----
    static constexpr int kSlotCount = 11;    // entries of the slot table
    static constexpr int kQuickSlot = 10;    // the quick save's entry
    static constexpr int kOriginalSlot = 0;  // the start world's slot number
    struct SaveSlotEntry {
        int32_t inUse = 0;
        std::string description;
    };
    std::array<SaveSlotEntry, kSlotCount> m_SaveSlots{};  // entry 10 is the quick save
    std::string m_strSaveFolder, m_strWorkFolder = "tmp\\", m_strWorldFile;
    int m_iCurrentSlot = -1;
    // The folder name of a slot number (index + 1): original, save1 to save10,
    // quicksave, each with its backslash.
    static std::string GetSaveFolder(int slot);
    void CopyOneFile(const std::string& from, const std::string& to);
    int CopyFolder(const std::string& from, const std::string& to);
    int ReadPosition();
    // Saves the running world into a slot folder; 0 when nothing was saved.
    int SaveSlot(int slot);
    // The save of the save window and the quick save; 0 when nothing was saved.
    int SaveGame(int index);
    // F5: the quick save, when no window is open and no one fights the leader.
    int QuickSave();
    // Brings a slot folder into play; 0 when the slot cannot be read.
    int LoadFromSlot(int slot);
    int LoadSlot(int index);
    // The slot table from and to the file "saved" in the game folder; a
    // missing or bad file leaves the table empty.
    int ReadSaveSlots();
    void WriteSaveSlots();
    // Checks that a slot folder holds a readable "Position" naming a world
    // file that is there; the world file's plain name, or a qv::FileError.
    std::string CheckSlot(const std::string& folder) const;
    // The bytes of "saved" and of "Position", and their readers, which
    // refuse anything but exactly what the writers write (qv::ArchiveError).
    static std::vector<uint8_t> StoreSaveSlots(const std::array<SaveSlotEntry, kSlotCount>& slots);
    static std::array<SaveSlotEntry, kSlotCount> ReadSaveSlotsFrom(
        const std::vector<uint8_t>& bytes, const std::string& name);
    static std::vector<uint8_t> StorePosition(const std::string& worldFile);
    static std::string ReadPositionFrom(const std::vector<uint8_t>& bytes, const std::string& name);
    // Refills the map's window around the focus from the land files.
    void ReloadWindowAtFocus();
    // The same, with a land file that cannot be read reported; false then.
    bool TryReloadWindowAtFocus();
    // An archive fault reported as a fault of its file.
    static qv::FileError AsFileError(const qv::ArchiveError& error, const std::string& file);

    // ---- Interaction and placing (play/PlayInteract.cpp, play/PlayPlace.cpp) ----
    // What creature K does about the holder it heads for (Play::InteractWith).
    int InteractWith(Player* creature, int flag) { return m_Play.InteractWith(creature, flag); }
    // A drop of `object` at view point `p` (Play::DropObject at the world
    // point under it).
    using DropResult = Play::DropResult;
    DropResult DropObject(Object* object, qv::Point p) {
        return m_Play.DropObject(object, Position(m_World.m_ptFocus.x + (p.x - m_ptViewCentre.x) +
                                                      (p.y - m_ptViewCentre.y),
                                                  m_World.m_ptFocus.y + (p.y - m_ptViewCentre.y)));
    }
    ObjectHolder* PlaceObjectAt(Object* object, const Position& q) {
        return m_Play.PlaceObjectAt(object, q);
    }
    void RemoveFromMap(ObjectHolder* holder) { m_Play.RemoveFromMap(holder); }
    // The key records (the world keeps them).
    void AddToKeyStorage(Object* object) { m_World.AddToKeyStorage(object); }
    void RemoveFromKeyStorage(Object* object) { m_World.RemoveFromKeyStorage(object); }
    // Replaces the script variables with those of "MessageFile.h" in the
    // current slot folder; on a file that cannot be read the old ones stay
    // and the qv::FileError reaches the caller.
    void ReadScriptVariables();

    // ---- Start-up (MainFrmStart.cpp) ----
    // The settings file: "settings" in the user's configuration folder
    // ($XDG_CONFIG_HOME/quorvale, else ~/.config/quorvale).
    static std::string SettingsFilePath();
    // The game folder the build made, used when the settings name none.
    static std::string DefaultGameFolder();
    // Takes the settings ("Path", "Sound", "Midi", "Windows", "Build"; a
    // missing one keeps its default, a bad number is reported naming the
    // setting and keeps it too), sets the game, working and slot folders and
    // reads the slot table. Answers an empty text, or what stops the game
    // from starting (a game folder that is not there).
    std::string ApplySettings(const qv::Settings& settings, const std::string& fileName);
    // What the settings had to say before the window could show it (it went
    // to the error output): shown again in the game's message box once the
    // screen is up, so that a player who started the game from a desktop
    // sees it too. Emptied as they are shown.
    std::vector<std::string> m_SettingsNotices;
    void ShowSettingsNotices();
    // Brings the start world of "original" into the working folder and
    // reads it; 0 (reported) when it cannot.
    int OpenStartWorld();
    // Play in the start world: TRUE when it was read, or when the game folder
    // has no "original" slot (play then opens on the empty world, said on
    // the error output); FALSE after a reported failure.
    int StartInOriginalWorld();
    // Writes the sound and music switches back as "Sound" and "Midi" into the
    // settings file, keeping its other lines; false, with the reason said,
    // when the file cannot be written (the switches in play stay as set).
    bool WriteSoundSettings(int sound, int music);

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
    // Command 170: plays the intro (there is no movie player on this
    // platform, so the intro ends at once) and posts command 171.
    void OnPlayIntro();
    // Command 171: the intro is over; play starts.
    void OnIntroDone();
    // A key during the intro asks it to stop; only the intro itself ends its
    // player. Answers whether an intro was playing.
    bool StopIntro();
    bool IsIntroPlaying() const { return m_bIntroPlaying.load(); }
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
    // The settings file that OnCreate reads and the sound switches are
    // written to (SettingsFilePath() unless set before).
    std::string m_strSettingsFile;
    // Told the name of each start-up and shut-down step as it is taken, and
    // of every showing of the options window.
    std::function<void(const std::string&)> m_StartTrace;
    void TraceStart(const std::string& step) {
        if (m_StartTrace) m_StartTrace(step);
    }
    // Reads a world file's bytes into a scratch world of its own, as this
    // frame would read them now, and throws the archive's error when they
    // would be refused; the running world, the chance generators and the
    // spell counter are left exactly as they were. Every world read runs
    // this first, so that a refused file changes nothing. With a folder, the
    // land files of the world's index found there are read too (a slot's,
    // before it is copied over the working folder); with `landsRequired`, a
    // land file missing there is refused as well (a world to go to).
    void CheckWorldRead(const std::vector<uint8_t>& bytes, const std::string& name,
                        const std::string& landFolder = {}, bool landsRequired = false) const;
    int m_bSystemCursorShown = 1;
    int m_bWorldMade = 0;  // build mode: the world maker made a world
    // Whether the intro plays, and whether a key asked it to stop: the
    // intro alone sets the first, a key only the second.
    std::atomic<bool> m_bIntroPlaying{false};
    std::atomic<bool> m_bIntroStopAsked{false};

private:
    MapMaster* Map() const { return m_World.map_master.get(); }
    void FirstTick();
    void AfterWorldChange();
    void CheckPartyAlive();
    void PresentWindowed();
    // The land under the focus: its light, its own update and its music.
    void UpdateArea(Land* land, int32_t now);
    // A running monster generator's fight: reset it when a party member
    // falls, and test every tick whether it is over.
    void ResetGeneratorFight(Group* group);
    void CheckGeneratorFight(Group* group);
    void DrawCellObjects(int i, int j, ObjectHolder* stop, int drawRow);
    void DrawHolder(ObjectHolder* holder, int i, int j);
    bool IsInDrawRange(int i, int j) const;
    uint8_t& CellDrawnMark(int i, int j);
    // Copies a rectangle between surfaces, restoring both and trying again
    // after a loss, up to kSurfaceRetries times; the last result.
    int CopyWithRetries(qv::Surface& to, qv::Point at, qv::Surface& from, const qv::Rect& source);
};
