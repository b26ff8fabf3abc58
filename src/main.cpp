// Quorvale: the application brings the window up (with the world editor for
// build mode), runs the game until the player quits, and takes it down again.

#include "editor/Editor.h"
#include "shell/GameApp.h"
#include "shell/MainFrm.h"

int main() {
    CGameApp app;
    if (!app.InitInstance()) return app.ExitInstance();
    // Build mode's world editor, which the frame asks only in build mode.
    app.SetBuildTools(std::make_unique<CEditor>(*app.GetMainWnd()));
    app.Run();
    return app.ExitInstance();
}
