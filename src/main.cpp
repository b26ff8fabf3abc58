// Quorvale: the application brings the window up, runs the game until the
// player quits, and takes it down again.

#include "shell/GameApp.h"

int main() {
    CGameApp app;
    if (!app.InitInstance()) return app.ExitInstance();
    app.Run();
    return app.ExitInstance();
}
