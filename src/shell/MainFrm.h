#pragma once
// The main frame: the one owner of the world. Subsystems add their members in
// blocks of their own.

#include <memory>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "world/TimeOfDay.h"

class Group;
class KeyStorage;
class MapMaster;
class Object;
class ObjectHolder;
class Player;

class CMainFrame {
public:
    CMainFrame();
    ~CMainFrame();
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
    int m_bAssertShowing = 0;                 // an assertion box is up
    std::string m_strGameFolder;              // ends in a backslash
    std::string m_strMessageLine;             // text of the message line
    int m_bQuitRequested = 0;
    int m_iQuitCode = 0;

    // The world's clock and the script variables whose hour timers it counts down.
    std::unique_ptr<CTimeOfDay> m_pTimeOfDay = std::make_unique<CTimeOfDay>();
    std::vector<std::unique_ptr<Object>> m_ScriptVariableList;
};
