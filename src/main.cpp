// Quorvale: opens the game's window and runs the game loop until the player
// quits; the frame, with its world, is torn down after the loop has ended.

#include <memory>

#include "shell/MainFrm.h"

int main() {
    int code = 3;
    {
        auto frame = std::make_unique<CMainFrame>();
        if (!frame->InitDirectDraw(0)) return code;
        frame->m_iStage = 3;
        code = frame->RunMessageLoop();
    }
    return code;
}
