// Quorvale: opens the game's window and runs the game loop until the player
// quits; the frame, with its world, is torn down after the loop has ended.

#include <cstdio>
#include <memory>

#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "world/Map.h"

int main() {
    int code = 3;
    {
        auto frame = std::make_unique<CMainFrame>();
        const std::string settingsFile = CMainFrame::SettingsFilePath();
        const std::string problem =
            frame->ApplySettings(qv::Settings::Load(settingsFile), settingsFile);
        if (!problem.empty()) {
            qv::ShowMessage(problem, qv::MessageButtons::Ok);
            return 2;
        }
        if (!frame->InitDirectDraw(0)) return code;
        // The empty map and the root groups, then the shared pictures, which
        // the map takes for its terrain.
        frame->m_World.map_master = std::make_unique<MapMaster>();
        frame->m_World.CreateRootGroups();
        if (!LoadGlobalImages(&frame->m_World)) return code;
        // Until the start windows exist, play begins in the start world.
        const std::string original = frame->GameFolderPath(CMainFrame::GetSaveFolder(0));
        if (qv::FolderExists(original)) {
            if (!frame->OpenStartWorld()) return 2;
        } else {
            std::fprintf(stderr, "No start world in %s: the window opens on an empty world.\n",
                         qv::ToSlashes(original).c_str());
        }
        frame->m_iStage = 3;
        code = frame->RunMessageLoop();
    }
    return code;
}
