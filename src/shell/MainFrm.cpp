#include "shell/MainFrm.h"

#include "creatures/AStar.h"
#include "creatures/PlayerMoves.h"
#include "events/GameEvent.h"
#include "platform/MessageLoop.h"
#include "structures/KeyStorage.h"
#include "world/Global.h"
#include "world/Object.h"
#include "world/UnusedNumbers.h"

extern CMainFrame* g_pMainFrame;

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
    // The world code reaches the path finder and the scripted moves through
    // these hooks.
    InstallPathFinder();
    InstallScriptedMoves();
}

CMainFrame::~CMainFrame() {
    // Nothing more is delivered to a frame that is going away.
    qv::MessageLoop::Instance().Forget(this);
    // The screen goes with the frame; the software cursor, which outlives it,
    // lets go of its surfaces.
    ReleaseDirectDraw();
    // The groups go first: their creatures leave the map while it still exists.
    DeleteGroups();
    // From here on the accessors answer as if there were no frame.
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

void CMainFrame::RequestQuit(int code) {
    m_bQuitRequested = 1;
    m_iQuitCode = code;
    qv::MessageLoop::Instance().PostQuit(code);
}

void CMainFrame::AddToKeyStorage(Object* object) {
    if (!QV_CHECK(object != nullptr)) return;
    KeyStorage* record = nullptr;
    for (auto& k : m_KeyStorageList)
        if (k->m_iKeyNum == object->m_iItemNum) {
            record = k.get();
            break;
        }
    if (!record) {
        m_KeyStorageList.push_back(
            std::make_unique<KeyStorage>(object->m_iItemNum, "Lost or Temp Key"));
        record = m_KeyStorageList.back().get();
    }
    record->m_ObjectList.emplace_back(object);
}

void CMainFrame::RemoveFromKeyStorage(Object* object) {
    if (!object) return;
    for (auto& k : m_KeyStorageList) {
        if (k->m_iKeyNum != object->m_iItemNum) continue;
        auto& list = k->m_ObjectList;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->Get() == object) {
                list.erase(it);
                break;
            }
        return;
    }
}
