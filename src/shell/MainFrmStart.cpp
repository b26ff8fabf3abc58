// Start-up: the window's creation in its order, the settings file in place
// of the registry, the game and working folders, the slot table, the intro,
// the start of play with its image worker, and the start world.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <system_error>
#include <thread>

#include "creatures/Species.h"
#include "items/ObjectCatalogueBuild.h"
#include "media/DDObjects.h"
#include "media/DSound.h"
#include "media/DirectDraw.h"
#include "media/LoadingBar.h"
#include "media/MouseCursor.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "platform/Settings.h"
#include "platform/Window.h"
#include "shell/BuildTools.h"
#include "shell/GameApp.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "world/Global.h"
#include "world/Map.h"

namespace {

// A setting's number as the registry kept it, a 32-bit value; the game uses
// its low byte. Answers false for anything else.
bool SettingByte(const qv::Settings& settings, const char* key, int* out) {
    const std::string text = settings.GetString(key);
    if (text.empty()) return false;
    // Decimal, or hexadecimal after "0x" as a registry editor shows it; a
    // leading zero never turns the number octal ("08" is eight).
    const bool hex = text.starts_with("0x") || text.starts_with("0X") || text.starts_with("-0x") ||
                     text.starts_with("-0X");
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > int64_t{UINT32_MAX}) return false;
    *out = static_cast<int>(static_cast<uint64_t>(v) & 0xFF);
    return true;
}

// An image the frame makes at its creation: bitmap, frame size, hot spot and
// grid.
struct FrameImage {
    int bitmap, width, height, hotX, hotY, columns;
};

// The software cursor's nine images: the eight scroll arrows, whose hot spots
// lie on the picture's edges clockwise from the top, then the pointer.
constexpr FrameImage kSoftwareCursorImages[CMouseCursor::kImageCount] = {
    {668, 75, 56, 37, 10, 1}, {669, 75, 56, 55, 15, 1}, {671, 75, 56, 66, 27, 1},
    {672, 75, 56, 60, 43, 1}, {673, 75, 56, 37, 51, 1}, {674, 75, 56, 15, 43, 1},
    {675, 75, 56, 8, 27, 1},  {676, 75, 56, 18, 14, 1}, {873, 18, 19, 0, 0, 7},
};
constexpr int kPointerTransparentIndex = 9;
// The frame's own cursor pictures (pointers, hands, cross-hairs, the arrow).
constexpr FrameImage kFrameCursorImages[9] = {
    {644, 32, 30, 5, 7, 1},   {645, 32, 30, 5, 7, 1},   {647, 32, 30, 5, 7, 1},
    {646, 32, 30, 5, 7, 1},   {649, 32, 30, 16, 28, 1}, {648, 32, 30, 16, 28, 1},
    {650, 32, 30, 15, 15, 1}, {651, 32, 30, 15, 15, 1}, {679, 32, 32, 0, 0, 1},
};
constexpr FrameImage kHoldGroundButton{892, 28, 17, 0, 0, 2};
constexpr FrameImage kPauseBarFrame{969, 125, 25, 0, 0, 1};
constexpr FrameImage kPauseBarFill{970, 125, 25, 0, 0, 1};
// Where the software cursor may go: full screen, and windowed with its clip.
constexpr qv::Rect kFullScreenCursorLimits{0, 0, 632, 472};
constexpr qv::Rect kWindowedCursorLimits{0, 0, 1144, 856};
constexpr qv::Rect kWindowedCursorClip{0, 0, 1152, 864};

std::unique_ptr<CDDObject> MakeImage(const FrameImage& made) {
    auto image = std::make_unique<CDDObject>();
    image->Create(made.width, made.height, made.hotX, made.hotY, &made.bitmap, made.columns, 1);
    return image;
}

// The start of play's image worker: made idle, started at most once, and
// always joined by its one owner before anything reads what it loaded. A
// worker that was never started just goes.
class ImageWorker {
public:
    ImageWorker(int (*proc)(CMainFrame*), CMainFrame* frame) : m_proc(proc), m_frame(frame) {}
    ~ImageWorker() { Wait(); }
    ImageWorker(const ImageWorker&) = delete;
    ImageWorker& operator=(const ImageWorker&) = delete;
    void Start() {
        try {
            m_thread = std::thread([this] { m_result = m_proc(m_frame); });
        } catch (const std::system_error&) {
            m_result = -1;
        }
    }
    // Waits for the worker to end; its exit code (-1 when it never ran).
    int Wait() {
        if (m_thread.joinable()) m_thread.join();
        return m_result;
    }

private:
    int (*m_proc)(CMainFrame*);
    CMainFrame* m_frame;
    int m_result = -1;
    std::thread m_thread;
};

}  // namespace

std::string CMainFrame::ApplySettings(const qv::Settings& settings, const std::string& fileName) {
    std::string folder = settings.GetString("Path");
    const bool chosen = !folder.empty();
    if (!chosen) folder = CGameSettings::DefaultGameFolder();
    if (folder.back() != '/' && folder.back() != '\\') folder += '\\';

    struct Switch {
        const char* key;
        int* member;
    };
    int sound = m_bSoundOn;
    const Switch switches[] = {{"Sound", &sound},
                               {"Midi", &m_bMusicOn},
                               {"Windows", &m_bWindowed},
                               {"Build", &m_bBuildMode}};
    for (const Switch& s : switches) {
        if (!settings.Has(s.key)) continue;
        if (!SettingByte(settings, s.key, s.member)) {
            const std::string text = qv::Format(
                "The setting \"%s\" in %s is not a number (\"%s\"); it keeps "
                "its default.",
                s.key, fileName.c_str(), settings.GetString(s.key).c_str());
            qv::ShowMessage(text, qv::MessageButtons::Ok);
            m_Settings.m_SettingsNotices.push_back(text);
        }
    }
    // "Sound" is the frame's switch and the program's, which every sound
    // asks before it plays.
    m_bSoundOn = g_bSoundEnabled = sound;

    if (!qv::FolderExists(folder)) {
        if (chosen)
            return qv::Format("The game folder %s (the setting \"Path\" in %s) does not exist.",
                              qv::ToSlashes(folder).c_str(), fileName.c_str());
        try {
            qv::MakeFolder(folder);
        } catch (const qv::FileError& error) {
            return qv::Format("The game folder %s cannot be made: %s",
                              qv::ToSlashes(folder).c_str(), error.what());
        }
    }
    m_Play.Saves().UseGameFolder(folder);
    return {};
}

int CMainFrame::Create() {
    return OnCreate() == 0 ? 2 : 0;
}

int CMainFrame::OnCreate() {
    // 1. The game draws its own pointer.
    m_Start.TraceStart("hide the system cursor");
    if (!m_pWindow) m_pWindow = std::make_unique<qv::Window>();
    m_pWindow->ShowSystemCursor(false);
    m_bSystemCursorShown = 0;

    // 2-4. The settings, the folders, "Position" of the start world and the
    // slot table (a bad table leaves every slot free and never stops us).
    m_Start.TraceStart("settings");
    if (m_Settings.m_strSettingsFile.empty())
        m_Settings.m_strSettingsFile = CGameSettings::SettingsFilePath();
    qv::Settings settings;
    try {
        settings = qv::Settings::Load(m_Settings.m_strSettingsFile);
    } catch (const qv::FileError& error) {
        const std::string text = qv::Format(
            "The settings file %s cannot be read (%s); the "
            "defaults hold.",
            m_Settings.m_strSettingsFile.c_str(), error.what());
        qv::ShowMessage(text, qv::MessageButtons::Ok);
        m_Settings.m_SettingsNotices.push_back(text);
    }
    m_Start.TraceStart("folders and slot table");
    const std::string problem = ApplySettings(settings, m_Settings.m_strSettingsFile);
    if (!problem.empty()) {
        // Said on the error output, and in the game's window when it opens,
        // before the game ends.
        qv::ShowMessage(problem, qv::MessageButtons::Ok);
        m_Settings.m_SettingsNotices.push_back(problem);
        if (InitDirectDraw(0)) m_Settings.ShowSettingsNotices();
        return -1;
    }
    // The start world's name; a slot without a readable "Position" is said
    // when the start world is opened.
    try {
        m_Play.Saves().ReadPosition();
    } catch (const qv::FileError&) {
        m_Play.Saves().SetWorldFile("");
    }

    // 5. The screen.
    m_Start.TraceStart("screen");
    if (!InitDirectDraw(0)) {
        qv::ShowMessage("Error Initiating DirectDraw", qv::MessageButtons::Ok);
        return -1;
    }
    m_Settings.ShowSettingsNotices();

    // 6. The hold-ground button, the pause bar and the software cursor,
    // which the application keeps.
    m_Start.TraceStart("frame images and software cursor");
    m_pHoldGroundButton = MakeImage(kHoldGroundButton);
    m_pPauseBarFrame = MakeImage(kPauseBarFrame);
    m_pPauseBarFill = MakeImage(kPauseBarFill);
    std::array<CDDObject*, CMouseCursor::kImageCount> cursorImages{};
    for (int i = 0; i < CMouseCursor::kImageCount; ++i) {
        auto image = MakeImage(kSoftwareCursorImages[i]);
        if (i == CMouseCursor::kPointer) {
            image->SetTransparentColour(kPointerTransparentIndex);
            image->Load();
        }
        cursorImages[static_cast<size_t>(i)] = image.release();
    }
    SetMouseCursor(std::make_unique<CMouseCursor>(cursorImages));
    GetMouseCursor()->m_pSurface = m_pDrawSurface;
    if (!GetMouseCursor()->InitDirectInput(nullptr, m_pWindow.get())) {
        // The window stays; nothing more is set up, so play never starts.
        qv::ShowMessage("Error Initiating DirectInput", qv::MessageButtons::Ok);
        return 0;
    }

    // 7. The frame's cursor pictures.
    m_Start.TraceStart("cursor images");
    for (size_t i = 0; i < m_pCursorImages.size(); ++i)
        m_pCursorImages[i] = MakeImage(kFrameCursorImages[i]);

    // 8-9. An empty map, and "All Groups" with "Random Encounters".
    m_Start.TraceStart("map");
    m_World.map_master = std::make_unique<MapMaster>();
    m_Start.TraceStart("root groups");
    m_World.CreateRootGroups();

    // 10. The frame takes the program's events from here on.
    m_Start.TraceStart("frame window");
    qv::MessageLoop::Instance().SetMainHandler(this);

    // 11-12. Sound, then the first tune; either failing leaves both off.
    m_Start.TraceStart("sound");
    if (!InitDirectSound()) m_bSoundOn = g_bSoundEnabled = m_bMusicOn = 0;
    m_Start.TraceStart("first tune");
    int tune = 0;
    if (!PlayMidi(&tune, "Sound and music are switched off.")) m_bSoundOn = m_bMusicOn = 0;

    // 13. The view and the mini-map from the client area.
    m_Start.TraceStart("view");
    OnMove({0, 0});

    // 14. The intro comes next.
    m_Start.TraceStart("post intro");
    qv::MessageLoop::Instance().PostCommand(kCmdPlayIntro);
    return 0;
}

void CMainFrame::OnCommand(int id) {
    if (id == kCmdPlayIntro) OnPlayIntro();
    if (id == kCmdIntroDone) OnIntroDone();
    if (id == CGameApp::kCmdAppAbout) CGameApp::OnAppAbout();
    OnMenuCommand(id);
}

void CMainFrame::OnIntroDone() {
    m_Start.TraceStart("intro done");
    StartOfPlay();
}

int CMainFrame::LoadImagesOnWorker(CMainFrame* frame) {
    if (!frame || frame != GetMainFrame()) return -1;
    // The world maker's catalogue first, with the loading bar on the screen
    // (the main thread only waits meanwhile), then the shared pictures.
    BuildObjectCatalogue(frame->m_World.m_Catalogue, [](int percent) {
        DrawLoadingProgress(GetDrawSurface(0), percent, kLoadingBarFillColour);
    });
    if (!LoadGlobalImages(nullptr)) return -1;
    return ReloadGlobalImages(nullptr) ? 0 : -1;
}

void CMainFrame::StartOfPlay() {
    m_Start.TraceStart("start of play");
    ImageWorker worker(m_pImageWorkerProc, this);
    // 2. The creatures' looks start afresh; each is read with the first
    // creature that wears it.
    InitCreatureImages();
    auto runWorker = [&] {
        m_Start.TraceStart("worker started");
        worker.Start();
        m_iImageWorkerResult = worker.Wait();
        m_Start.TraceStart("worker ended");
        // The loading bar as the worker left it.
        PresentScreen(kLoadingBarFrame);
        if (m_iImageWorkerResult == 0) return true;
        qv::ShowMessage("Could not Initiate DirectDraw Objects!", qv::MessageButtons::Ok,
                        "DirectDraw Error");
        ReleaseDirectDraw();
        OnDestroy();
        RequestQuit(kQuitStartFailed);
        return false;
    };
    if (m_bBuildMode) {
        if (!runWorker()) return;
        if (m_pWindow) m_pWindow->ShowSystemCursor(true);
        m_bSystemCursorShown = 1;
        // The world maker: the editor's world-creation dialog; without the
        // editor build mode opens on the start world.
        m_Start.TraceStart("world maker");
        CBuildTools* tools = GetBuildTools();
        m_bWorldMade = tools ? tools->RunWorldCreation() : m_Play.Saves().StartInOriginalWorld();
    } else {
        if (m_pWindow) m_pWindow->ShowSystemCursor(true);
        m_bSystemCursorShown = 1;
        m_Play.Give(Order::With(Order::Kind::OptionsShown, 0));
        if (!RunOptionsWindow(1, 1)) {
            // The worker never runs.
            m_Start.TraceStart("quit from options");
            OnDestroy();
            RequestQuit(kQuitFromOptions);
            return;
        }
        if (!runWorker()) return;
    }
    if (m_bQuitRequested) return;
    // The pictures are loaded and the worker is gone: the map takes them.
    LoadGlobalImages(&m_World);

    // 5. The software cursor draws on the back buffer, within its limits.
    if (CMouseCursor* cursor = GetMouseCursor()) {
        cursor->m_pSurface = m_pBackBuffer.get();
        cursor->m_rcLimits = m_bWindowed ? kWindowedCursorLimits : kFullScreenCursorLimits;
        if (m_bWindowed) cursor->m_rcClip = kWindowedCursorClip;
    }

    // 6. The window of the map around the focus, with the pictures it now
    // has, and the screen picture on both pages.
    m_bReloadImages = 0;
    m_Play.Give(Order::With(Order::Kind::OptionsShown, 1));
    if (m_World.map_master && m_World.map_master->landgraph) {
        // A land of the start world that cannot be read is said, and the
        // program ends as for any other failed start: play never begins on a
        // half-filled map.
        if (!m_Play.Saves().TryReloadWindowAtFocus()) {
            m_Start.TraceStart("map not filled");
            OnDestroy();
            RequestQuit(kQuitStartFailed);
            return;
        }
    }
    if (const qv::Surface* picture = m_pScreenImage ? m_pScreenImage->GetFrameSurface(0) : nullptr;
        picture && m_pPrimary && m_pBackBuffer) {
        m_pPrimary->Blt({0, 0}, *picture, picture->Bounds());
        m_pBackBuffer->Blt({0, 0}, *picture, picture->Bounds());
    }

    // 7. The 50 ms timer: play begins with its first tick.
    if (!StartTimer()) {
        m_Start.TraceStart("no timer");
        OnDestroy();
        RequestQuit(kQuitStartFailed);
        return;
    }
    m_iStage = 3;
    m_Start.TraceStart("timer set");
}
