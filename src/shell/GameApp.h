#pragma once
// The application: brings the main frame up, runs the program's events until
// the quit request, and takes everything down again in its order. The frame
// goes first, with its world; the software cursor, which the application
// keeps, goes last.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CBuildTools;
class CMainFrame;

class CGameApp {
public:
    CGameApp();
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Makes the frame and its window; TRUE when the frame is up, FALSE when
    // the program is to end (a message has said why).
    int InitInstance();
    // Runs the program's events until the quit request; its exit code.
    int Run();
    // Deletes the frame (when it still exists), then the software cursor;
    // answers the program's exit code.
    int ExitInstance();

    CMainFrame* GetMainWnd() const { return m_pMainWnd.get(); }
    // The about command (57664): the about box, run modally.
    static constexpr int kCmdAppAbout = 57664;
    static int OnAppAbout();

    // The clock's time when InitInstance began.
    uint32_t m_dwStartTime = 0;
    // The settings file the frame reads (the user's, unless set before).
    std::string m_strSettingsFile;
    // Told the name of each step of start-up and shut-down; handed to the
    // frame as it is made.
    std::function<void(const std::string&)> m_Trace;
    int m_iExitCode = 0;
    // The world editor of build mode, made for the frame once it is up (it
    // goes before the frame).
    void SetBuildTools(std::unique_ptr<CBuildTools> tools);
    // The exit code of a program whose frame could not be made.
    static constexpr int kStartFailed = 2;

private:
    std::unique_ptr<CBuildTools> m_pBuildTools;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
