// The land under the view and the moves that put the view and the party back
// in order after the map changed under them.

#include <algorithm>

#include "shell/MainFrm.h"
#include "world/Map.h"

#if __has_include("world/Land.h")
#include "world/Land.h"
#define QV_HAVE_LANDS 1
#endif

void CMainFrame::UpdateArea(Land* land, int32_t now) {
    if (!land || !Map()) return;
#ifdef QV_HAVE_LANDS
    if (land != m_pCurrentLand) {
        // The land left behind may have been unloaded meanwhile: only a land
        // still loaded is asked to stop its sound.
        const auto& loaded = Map()->loadedlands;
        if (m_pCurrentLand &&
            std::find(loaded.begin(), loaded.end(), m_pCurrentLand) != loaded.end())
            m_pCurrentLand->StopAmbientSound();
        m_pCurrentLand = land;
    }
    Map()->sunlightmode = land->sunlight;
    if (land->sunlight == 0) Map()->daylight = land->lightlevel + 1;
    land->Update(now);
    if (m_iMusicTime > kMusicInterval) {
        m_iMusicTime = 0;
        int tune = m_bCombat ? land->combattune : land->tune;
        PlayMidi(&tune);
    }
#else
    // The map is not divided into lands yet: no cell has one to follow.
    (void)now;
    m_pCurrentLand = land;
#endif
}

int CMainFrame::MoveToLand() {
    // The lands around the focus are loaded by the land streaming; until
    // then the view keeps the window it has. The land under the view is
    // found again by the next tick.
    m_pCurrentLand = nullptr;
    return 1;
}

int CMainFrame::GoToWorld(Object* stairs) {
    // Travel between world files comes with the saved-game folders.
    (void)stairs;
    return MoveToLand();
}
