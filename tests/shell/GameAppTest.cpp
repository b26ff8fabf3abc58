// The application from its start to play and back out, headless: the
// window's creation step by step, the intro's two commands, the start of play
// with its image worker, the 50 ms timer, and the shut-down order. Run under
// the sanitizers, a leak or a race at any step fails the run.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "creatures/Human.h"
#include "creatures/Player.h"
#include "data/Intro.h"
#include "data/StartWorld.h"
#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "media/MouseCursor.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "platform/Settings.h"
#include "shell/GameApp.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "support/Figures.h"
#include "support/TestFolder.h"
#include "windows/NewCharacterWnd.h"
#include "windows/OptionsWnd.h"
#include "windows/SaveLoadWnd.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

namespace fs = std::filesystem;
using Steps = std::vector<std::string>;

// What the stand-in image workers saw.
std::atomic<int> g_workerRuns{0};
std::atomic<bool> g_workerOnOtherThread{false};
std::thread::id g_mainThread;

int CountingWorker(CMainFrame* frame) {
    ++g_workerRuns;
    g_workerOnOtherThread = std::this_thread::get_id() != g_mainThread;
    return CMainFrame::LoadImagesOnWorker(frame);
}

int FailingWorker(CMainFrame*) {
    ++g_workerRuns;
    return -1;
}

class GameApp : public ::testing::Test {
protected:
    GameApp() {
        qv::MessageLoop::Instance().Reset();
        qv::MessageLoop::Instance().SetClock(&clock);
        settingsFile = (dir / "config" / "quorvale" / "settings").string();
        app.m_strSettingsFile = settingsFile;
        app.m_Trace = [this](const std::string& step) { steps.push_back(step); };
        g_workerRuns = 0;
        g_workerOnOtherThread = false;
        g_mainThread = std::this_thread::get_id();
    }
    ~GameApp() override {
        app.ExitInstance();
        qv::SetMessageHandler({});
        InvalidateGlobalImages();
        qv::MessageLoop::Instance().Reset();
    }
    void Settings(const std::string& lines) {
        fs::create_directories(fs::path(settingsFile).parent_path());
        qv::WriteWholeFile(settingsFile, std::vector<uint8_t>(lines.begin(), lines.end()));
    }
    // A game folder of the test's own, with the start world the game ships.
    std::string GameFolderWithStartWorld() {
        const fs::path game = dir / "game";
        fs::create_directories(game);
        WriteStartWorld(game.string());
        return game.string();
    }
    // The steps from `from` on, up to the end.
    Steps From(const std::string& from) const {
        auto it = std::find(steps.begin(), steps.end(), from);
        return Steps(it, steps.end());
    }
    CMainFrame& Frame() { return *app.GetMainWnd(); }
    static void Inject(const qv::Event& e) { qv::MessageLoop::Instance().Inject(e); }
    static void Click(qv::Point p) {
        Inject(qv::Event::Mouse(qv::EventKind::LButtonDown, p.x, p.y));
        Inject(qv::Event::Mouse(qv::EventKind::LButtonUp, p.x, p.y));
    }
    static void Key(int vk) { Inject(qv::Event::Key(true, vk)); }
    static void Type(const std::string& text) {
        for (char c : text)
            Inject(qv::Event{qv::EventKind::Char, static_cast<unsigned char>(c), {}});
    }
    // The middle of a button of the options window, in play or at start, or
    // of a rect of the load or save window it opens.
    static void ClickOptions(int id, bool start = false) {
        const qv::Rect r = COptionsWnd::ButtonRect(id, start);
        Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    static void ClickSlots(const qv::Rect& r, bool start = false) {
        const qv::Point at = start ? CSlotsWnd::kStartPlace : CSlotsWnd::kPlayPlace;
        Click({at.x + (r.left + r.right) / 2, at.y + (r.top + r.bottom) / 2});
    }
    // The next tick; the first sets up play.
    void Tick() {
        clock.Advance(CMainFrame::kTickMs);
        qv::MessageLoop::Instance().PumpAll();
    }
    // The player's way through the first options window into a new game:
    // New game, every bonus point to Strength, OK.
    static void ClickNewGame() {
        ClickOptions(COptionsWnd::kIdNewGame, true);
        for (int i = 0; i < CNewCharacterWnd::kStartBonus; ++i) Click({219, 209});
        Click({320, 359});
    }
    // A new game begun in the start world and its first tick run.
    CMainFrame& NewGame(const std::string& settings = "") {
        gameFolder = GameFolderWithStartWorld();
        Settings("Path=" + gameFolder + "\n" + settings);
        EXPECT_EQ(Init(app), 1);
        ClickNewGame();
        qv::MessageLoop::Instance().PumpAll();
        Tick();
        return Frame();
    }
    static std::string Text(const fs::path& file) {
        const std::vector<uint8_t> bytes = qv::ReadWholeFile(file.string());
        return std::string(bytes.begin(), bytes.end());
    }
    // Brings the frame up; from then on messages are noted here rather
    // than shown in the game's own boxes, which would wait for a click.
    int Init(CGameApp& which) {
        const int up = which.InitInstance();
        qv::SetMessageHandler({});
        return up;
    }

    test_support::TestFolder folder{"app"};
    const fs::path& dir = folder.dir;
    qv::ManualClock clock;
    qv::ScriptedMessages messages;
    std::string settingsFile, gameFolder;
    Steps steps;
    CGameApp app;
};

TEST_F(GameApp, TheWindowIsMadeInItsOrderAndTheIntroIsPostedLast) {
    Settings("Path=" + dir.string() + "\n");
    ASSERT_EQ(Init(app), 1);
    EXPECT_EQ(steps,
              (Steps{"hide the system cursor", "settings", "folders and slot table", "screen",
                     "frame images and software cursor", "cursor images", "map", "root groups",
                     "frame window", "sound", "first tune", "view", "post intro"}));
    CMainFrame& f = Frame();
    EXPECT_EQ(std::tuple(f.m_iStage, f.m_bSystemCursorShown), std::tuple(0, 0));
    EXPECT_EQ(std::tuple(f.m_Play.Saves().GameFolder(), f.m_Play.Saves().SaveFolder(),
                         f.m_Play.Saves().WorkFolder()),
              std::tuple(dir.string() + "\\", "original\\", "tmp\\"));
    // The frame's images, as the table gives them.
    ASSERT_TRUE(f.m_pHoldGroundButton);
    const CDDObject& hold = *f.m_pHoldGroundButton;
    EXPECT_EQ(std::tuple(hold.m_iWidth, hold.m_iHeight, hold.m_iCellsAcross),
              std::tuple(28, 17, 2));
    ASSERT_TRUE(f.m_pPauseBarFrame && f.m_pPauseBarFill);
    EXPECT_EQ(std::tuple(f.m_pPauseBarFill->m_iWidth, f.m_pPauseBarFill->m_iHeight),
              std::tuple(125, 25));
    const auto hot = [](const CDDObject* o) { return std::tuple(o->m_iHotX, o->m_iHotY); };
    EXPECT_EQ(hot(f.m_pCursorImages[0].get()), std::tuple(5, 7));
    EXPECT_EQ(hot(f.m_pCursorImages[4].get()), std::tuple(16, 28));
    EXPECT_EQ(std::tuple(f.m_pCursorImages[7]->m_iHotX, f.m_pCursorImages[8]->m_iHeight),
              std::tuple(15, 32));
    CMouseCursor* cursor = GetMouseCursor();
    ASSERT_NE(cursor, nullptr);
    // The scroll arrows have their hot spots on the picture's edges,
    // clockwise from the top; the pointer is a strip of seven.
    EXPECT_EQ(hot(cursor->GetImageObject(0)), std::tuple(37, 10));
    EXPECT_EQ(std::tuple(cursor->GetImageObject(2)->m_iHotX, cursor->GetImageObject(4)->m_iHotY),
              std::tuple(66, 51));
    EXPECT_EQ(std::tuple(cursor->GetImageObject(8)->m_iCellsAcross,
                         cursor->GetImageObject(8)->GetTransparentColour()),
              std::tuple(7, 9));
    // The map and the root groups: "All Groups" in table slot 0.
    World& w = f.m_World;
    ASSERT_TRUE(w.map_master && w.m_pAllGroups && w.m_pRandomEncounters);
    EXPECT_EQ(w.m_pRandomEncounters->m_pGroup, w.m_pAllGroups);
    EXPECT_EQ(w.GetGroupByNumber(0), w.m_pAllGroups);
    EXPECT_EQ(qv::MessageLoop::Instance().GetMainHandler(), &f);
    EXPECT_EQ(std::tuple(f.m_View.m_ptViewOrigin, f.m_View.m_ptMinimapOrigin),
              std::tuple(qv::Point{3, 3}, qv::Point{207, 371}));
    // Nothing of the intro has run yet: it waits as a posted command.
    EXPECT_FALSE(qv::MessageLoop::Instance().HasTimer(CMainFrame::kTimerId));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GameApp, AGameFolderThatIsNotThereEndsTheStartSayingWhichAndWhere) {
    Settings("Path=" + (dir / "nowhere").string() + "\nSound=0\n");
    EXPECT_EQ(Init(app), 0);
    // Said on the error output, then again in the game's window, opened for
    // it, so that a player who started the game from a desktop sees it.
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1], messages.shown[0]);
    EXPECT_NE(messages.shown[0].find("nowhere"), std::string::npos) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find("\"Path\""), std::string::npos) << messages.shown[0];
    EXPECT_NE(messages.shown[0].find(settingsFile), std::string::npos) << messages.shown[0];
    EXPECT_EQ(steps.back(), "folders and slot table") << "nothing after the folders is made";
    EXPECT_EQ(GetMouseCursor(), nullptr);
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_EQ(app.ExitInstance(), CGameApp::kStartFailed);
    EXPECT_EQ(GetMainFrame(), nullptr);
}

// Each setting reaches the frame; a settings file that is not there or cannot
// be read keeps the defaults. Before the window is up a message goes to the
// error output only; each is shown again in the window's box once the screen
// is made, in order.
TEST_F(GameApp, EachSettingReachesTheFrameAndWhatTheSettingsSayIsShownOnceTheWindowIsUp) {
    const std::string path = "Path=" + dir.string() + "\n";
    struct Row {
        const char* rule;
        const char* lines;  // nullptr: no file; "/": a folder where the file should be
        bool defaultFolder;
        int sound, windowed, build;     // sound -1: not looked at (no first tune, no sound)
        std::vector<std::string> said;  // what each message says, before the window
    };
    // Without a file, or with a folder in its place (said), the defaults
    // hold; bad values are said in order; good settings say nothing.
    const Row rows[] = {
        {"no settings file", nullptr, true, -1, 1, 0, {}},
        {"each setting", "Sound=0\nMidi=1\nWindows=257\nBuild=1\n", false, 0, 1, 1, {}},
        {"a folder where the file should be", "/", true, -1, 1, 0, {settingsFile}},
        {"bad values", "Sound=loud\nBuild=x\n", false, -1, 1, 0, {"\"Sound\"", "\"Build\""}},
        {"good settings", "Sound=0\n", false, 0, 1, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        fs::remove_all(fs::path(settingsFile).parent_path());
        if (r.lines && *r.lines == '/')
            fs::create_directories(settingsFile);
        else if (r.lines)
            Settings(path + r.lines);
        messages.shown.clear();
        CGameApp run;
        run.m_strSettingsFile = settingsFile;
        ASSERT_EQ(Init(run), 1);
        CMainFrame& f = *run.GetMainWnd();
        if (r.defaultFolder) {
            EXPECT_EQ(f.m_Play.Saves().GameFolder(), CGameSettings::DefaultGameFolder());
        }
        EXPECT_EQ(std::tuple(r.sound < 0 ? -1 : f.m_bSoundOn, f.m_bWindowed, f.m_bBuildMode),
                  std::tuple(r.sound, r.windowed, r.build));
        ASSERT_EQ(messages.shown.size(), 2 * r.said.size());
        for (size_t i = 0; i < r.said.size(); ++i) {
            EXPECT_NE(messages.shown[i].find(r.said[i]), std::string::npos) << messages.shown[i];
            EXPECT_EQ(messages.shown[i + r.said.size()], messages.shown[i]);
        }
        EXPECT_TRUE(f.m_Settings.m_SettingsNotices.empty());
        // Reading the settings writes nothing.
        if (!r.lines) {
            EXPECT_FALSE(fs::exists(settingsFile));
        }
        run.ExitInstance();
    }
}

TEST_F(GameApp, Command170EndsTheIntroAndPostsCommand171WhichStartsPlay) {
    Settings("Path=" + dir.string() + "\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    steps.clear();
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    // The intro: stage 1, then 2 with no movie to play, and 171 posted.
    ASSERT_TRUE(loop.PumpOne());
    EXPECT_EQ(steps, Steps{"intro"});
    EXPECT_EQ(std::tuple(Frame().m_iStage, Frame().m_Start.IsIntroPlaying()), std::tuple(2, false));
    EXPECT_FALSE(Frame().m_Start.StopIntro()) << "a key with no intro playing stops nothing";
    // 171: the start of play, up to the timer.
    ASSERT_TRUE(loop.PumpOne());
    EXPECT_EQ(steps, (Steps{"intro", "intro done", "start of play", "options window",
                            "worker started", "worker ended", "timer set"}));
    EXPECT_EQ(std::tuple(Frame().m_iStage, loop.HasTimer(CMainFrame::kTimerId), Frame().m_nTimerID,
                         Frame().m_Play.m_bOptionsShown, Frame().m_iImageWorkerResult),
              std::tuple(3, true, static_cast<uint32_t>(CMainFrame::kTimerId), 1, 0));
    EXPECT_FALSE(loop.IsQuitting());
}

// With a movie in the game folder, command 170 plays it before play starts:
// to its end, or until a key stops it and the frame has waited; a broken
// movie is said on the terminal and skipped.
TEST_F(GameApp, TheIntroMoviePlaysToItsEndOrUntilAKeyAndABrokenOneIsSkipped) {
    std::string error, note;
    const std::vector<uint8_t> movie = intro::Movie(6, 640, 480, error, note);
    ASSERT_FALSE(movie.empty()) << error;
    const std::string file = (dir / "Intro.avi").string();
    struct Row {
        const char* rule;
        std::vector<uint8_t> bytes;
        bool key;
        Steps steps;
        uint32_t ms;  // on the loop's clock
        int shown;    // the picture left on the screen (-1: not looked at)
        bool said;    // the file is named on the terminal
    };
    const Row rows[] = {
        {"the movie plays to its end", movie, false, {"intro", "intro movie"}, 600, 5, false},
        {"a key stops it at its first picture",
         movie,
         true,
         {"intro", "intro movie", "intro stopped"},
         500,
         0,
         false},
        {"a broken movie",
         {'R', 'I', 'F', 'F'},
         false,
         {"intro", "intro movie refused"},
         0,
         -1,
         true},
    };
    Settings("Path=" + dir.string() + "\n");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::WriteWholeFile(file, r.bytes);
        qv::MessageLoop& loop = qv::MessageLoop::Instance();
        loop.Reset();
        loop.SetClock(&clock);
        CGameApp run;
        run.m_strSettingsFile = settingsFile;
        run.m_Trace = [this](const std::string& step) { steps.push_back(step); };
        ASSERT_EQ(Init(run), 1);
        steps.clear();
        if (r.key) Key(qv::VK_SPACE);
        const uint32_t before = clock.Now();
        testing::internal::CaptureStderr();
        ASSERT_TRUE(loop.PumpOne());
        const std::string said = testing::internal::GetCapturedStderr();
        const CMainFrame& f = *run.GetMainWnd();
        EXPECT_EQ(steps, r.steps);
        EXPECT_EQ(clock.Now() - before, r.ms);
        EXPECT_EQ(std::tuple(f.m_iStage, f.m_Start.IsIntroPlaying(), f.m_Start.m_pAviPlayer.get()),
                  std::tuple(2, false, nullptr));
        const std::string name =
            qv::ResolvePath(f.m_Play.Saves().GameFolderPath(f.kIntroMovieName));
        EXPECT_EQ(said.find(name) != std::string::npos, r.said) << said;
        if (r.shown >= 0) {
            const qv::Surface picture = intro::Picture(r.shown, 6, 640, 480);
            for (const qv::Point p :
                 {qv::Point{100, 240}, qv::Point{320, 200}, qv::Point{320, 20}}) {
                int a[3], b[3];
                SplitScreenPixel(f.m_pPrimary->GetPixel(p.x, p.y), a[0], a[1], a[2]);
                SplitScreenPixel(picture.GetPixel(p.x, p.y), b[0], b[1], b[2]);
                for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 4) << p.x << "," << p.y;
            }
        }
        run.ExitInstance();
    }
}

TEST_F(GameApp, TheWorkerLoadsThePicturesOnItsOwnThreadAndEndsBeforePlayBegins) {
    const std::string game = GameFolderWithStartWorld();
    Settings("Path=" + game + "\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    Frame().m_pImageWorkerProc = &CountingWorker;
    // The window's creation read the start world's name from "Position".
    EXPECT_EQ(Frame().m_Play.Saves().WorldFile(), "start.qvr");
    EXPECT_EQ(GetTerrainPicture(0), nullptr);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.PumpAll();
    EXPECT_EQ(std::tuple(g_workerRuns.load(), g_workerOnOtherThread.load()), std::tuple(1, true));
    // The options window (where the player began a new game in the start
    // world) comes before the worker; the worker ends before the timer is set.
    EXPECT_EQ(From("options window"),
              (Steps{"options window", "worker started", "worker ended", "timer set"}));
    CMainFrame& f = Frame();
    EXPECT_EQ(std::tuple(f.m_Play.Saves().WorldFile(), f.m_Play.Saves().CurrentFolder()),
              std::tuple("start.qvr", game + "\\tmp\\"));
    // The pictures are whole and the map has them.
    for (int code = 0; code < 45; ++code) {
        ASSERT_NE(GetTerrainPicture(code), nullptr) << code;
        EXPECT_TRUE(GetTerrainPicture(code)->IsLoaded()) << code;
    }
    EXPECT_NE(f.m_World.map_master->prototypes[0][0], nullptr);
    // The cursor draws on the back buffer within the window's limits.
    const CMouseCursor& cursor = *GetMouseCursor();
    EXPECT_EQ(
        std::tuple(cursor.m_pSurface, cursor.m_rcLimits, cursor.m_rcClip),
        std::tuple(f.m_pBackBuffer.get(), qv::Rect{0, 0, 1144, 856}, qv::Rect{0, 0, 1152, 864}));

    // The first tick sets up play and the ones after run the world.
    clock.Advance(CMainFrame::kTickMs);
    ASSERT_TRUE(loop.PumpOne());
    EXPECT_EQ(f.m_Play.m_iStartState, 0);
    const int32_t time = f.m_World.m_iGameTime;
    clock.Advance(CMainFrame::kTickMs);
    ASSERT_TRUE(loop.PumpOne());
    EXPECT_EQ(f.m_World.m_iGameTime - time, Play::kNormalTickStep);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GameApp, AWorkerThatFailsEndsTheProgramWithCode3AndPlayNeverStarts) {
    Settings("Path=" + dir.string() + "\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    Frame().m_pImageWorkerProc = &FailingWorker;
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.PumpAll();
    EXPECT_EQ(std::tuple(g_workerRuns.load(), Frame().m_iImageWorkerResult), std::tuple(1, -1));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(std::tuple(messages.shown[0], messages.captions[0]),
              std::tuple("Could not Initiate DirectDraw Objects!", "DirectDraw Error"));
    EXPECT_NE(Frame().m_iStage, 3);
    EXPECT_EQ(std::tuple(loop.HasTimer(CMainFrame::kTimerId), loop.IsQuitting()),
              std::tuple(false, true));
    EXPECT_EQ(app.Run(), CMainFrame::kQuitStartFailed);
    EXPECT_EQ(From("worker ended"), Steps{"worker ended"});
}

TEST_F(GameApp, AStartWorldLandThatCannotBeReadIsSaidAndPlayNeverBegins) {
    // The slot's check passes (a land file that is not there is not tried),
    // but the map cannot be filled around the focus. In build mode the world
    // maker's failure lets the start of play go on to the map.
    const std::string game = GameFolderWithStartWorld();
    std::string gone;
    for (const auto& entry : fs::directory_iterator(fs::path(game) / "original"))
        if (entry.path().extension() == ".lnd") gone = entry.path().filename().string();
    ASSERT_FALSE(gone.empty());
    for (const char* slot : {"original", "tmp"}) fs::remove(fs::path(game) / slot / gone);
    Settings("Path=" + game + "\nBuild=1\n");
    ASSERT_EQ(Init(app), 1);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.PumpAll();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_NE(messages.shown.back().find(gone), std::string::npos) << messages.shown.back();
    EXPECT_NE(Frame().m_iStage, 3);
    EXPECT_FALSE(loop.HasTimer(CMainFrame::kTimerId));
    EXPECT_NE(app.Run(), 0) << "a start that failed is no normal end";
}

TEST_F(GameApp, QuittingFromTheFirstOptionsWindowNeverLetsTheWorkerRun) {
    // The start world's slot is there but cannot be read: the new game
    // begun in the options window fails, and the program ends.
    const std::string game = GameFolderWithStartWorld();
    fs::remove(fs::path(game) / "original" / "Position");
    Settings("Path=" + game + "\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    Frame().m_pImageWorkerProc = &CountingWorker;
    EXPECT_EQ(Frame().m_Play.Saves().WorldFile(), "") << "nothing is said while the window is made";
    EXPECT_TRUE(messages.shown.empty());
    qv::MessageLoop::Instance().PumpAll();
    EXPECT_EQ(g_workerRuns, 0);
    EXPECT_EQ(From("options window"), (Steps{"options window", "quit from options"}));
    EXPECT_EQ(app.Run(), CMainFrame::kQuitFromOptions);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_NE(messages.shown[0].find("Position"), std::string::npos) << messages.shown[0];
}

TEST_F(GameApp, InBuildModeTheWorkerRunsFirstAndNoOptionsWindowIsShown) {
    Settings("Path=" + dir.string() + "\nBuild=1\n");
    ASSERT_EQ(Init(app), 1);
    qv::MessageLoop::Instance().PumpAll();
    EXPECT_EQ(From("start of play"), (Steps{"start of play", "worker started", "worker ended",
                                            "world maker", "timer set"}));
    EXPECT_EQ(Frame().m_iStage, 3);
}

TEST_F(GameApp, InFullScreenTheCursorStaysInsideTheScreen) {
    Settings("Path=" + dir.string() + "\nWindows=0\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    EXPECT_EQ(Frame().m_bWindowed, 0);
    qv::MessageLoop::Instance().PumpAll();
    ASSERT_EQ(Frame().m_iStage, 3);
    EXPECT_EQ(GetMouseCursor()->m_rcLimits, (qv::Rect{0, 0, 632, 472}));
    EXPECT_EQ(GetMouseCursor()->m_rcClip, (qv::Rect{0, 0, 640, 480})) << "as it was made";
}

TEST_F(GameApp, TheWorkerAnswersMinusOneForAnyFrameButTheMainOne) {
    EXPECT_EQ(CMainFrame::LoadImagesOnWorker(nullptr), -1);
    Settings("Path=" + dir.string() + "\n");
    ASSERT_EQ(Init(app), 1);
    EXPECT_EQ(CMainFrame::LoadImagesOnWorker(&Frame()), 0);
}

TEST_F(GameApp, ShutDownTakesTheFrameWithItsWorldThenTheCursorLast) {
    const std::string game = GameFolderWithStartWorld();
    Settings("Path=" + game + "\n");
    ASSERT_EQ(Init(app), 1);
    ClickNewGame();
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.PumpAll();
    clock.Advance(CMainFrame::kTickMs);
    loop.PumpOne();
    ASSERT_NE(GetWorld(), nullptr);
    Frame().RequestQuit(0);
    EXPECT_EQ(app.Run(), 0);
    steps.clear();
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(steps, (Steps{"frame destroyed", "software cursor deleted"}));
    EXPECT_TRUE(!app.GetMainWnd() && !GetMainFrame() && !GetWorld() && !GetMouseCursor() &&
                !loop.GetMainHandler());
    // A second exit finds nothing left to take down.
    steps.clear();
    app.ExitInstance();
    EXPECT_EQ(steps, Steps{"software cursor deleted"});
}

// The options window writes the sound switches back; the next start reads
// them, and every other line of the user's file stays.
TEST_F(GameApp, SoundAndMusicAreWrittenBackAndReadAtTheNextStart) {
    Settings("# my settings\nPath = " + dir.string() + "\nSound=1\nExtra=keep me\nSound=7\n");
    ASSERT_EQ(Init(app), 1);
    ASSERT_TRUE(Frame().m_Settings.WriteSoundSettings(0, 1));
    const std::vector<uint8_t> bytes = qv::ReadWholeFile(settingsFile);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "# my settings\nPath = " + dir.string() + "\nSound=0\nExtra=keep me\nMidi=1\n");
    app.ExitInstance();

    CGameApp next;
    next.m_strSettingsFile = settingsFile;
    ASSERT_EQ(Init(next), 1);
    EXPECT_EQ(next.GetMainWnd()->m_bSoundOn, 0);
    next.ExitInstance();
}

TEST(SettingsFile, ValuesAreWrittenIntoTheirLinesOrAddedAndTheFolderIsMade) {
    const test_support::TestFolder folder("settings");
    const fs::path& dir = folder.dir;
    const std::string file = (dir / "a" / "b" / "settings").string();
    // No file and no folder yet.
    qv::Settings::WriteValues(file, {{"Sound", "0"}, {"Midi", "1"}});
    std::vector<uint8_t> bytes = qv::ReadWholeFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Sound=0\nMidi=1\n");
    // A comment that looks like a key stays a comment; blanks around a key
    // still name it; a line without '=' stays.
    const std::string text = "#Midi=5\n  Midi  = 0\njunk line\nPath=/x\n";
    qv::WriteWholeFile(file, std::vector<uint8_t>(text.begin(), text.end()));
    qv::Settings::WriteValues(file, {{"Sound", "1"}, {"Midi", "1"}});
    bytes = qv::ReadWholeFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "#Midi=5\nMidi=1\njunk line\nPath=/x\nSound=1\n");
    const qv::Settings read = qv::Settings::Load(file);
    EXPECT_EQ(read.GetInt("Sound"), 1);
    EXPECT_EQ(read.GetInt("Midi"), 1);
    EXPECT_EQ(read.GetString("Path"), "/x");
    // A file that cannot be written leaves the old one whole.
    fs::permissions(dir / "a" / "b", fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_THROW(qv::Settings::WriteValues(file, {{"Sound", "0"}}), qv::FileError);
        bytes = qv::ReadWholeFile(file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
                  "#Midi=5\nMidi=1\njunk line\nPath=/x\nSound=1\n");
    }
    fs::permissions(dir / "a" / "b", fs::perms::owner_all);
}

// A byte-order mark hides no key; written values take the file's line ends.
TEST(SettingsFile, AByteOrderMarkAndTheFilesLineEndsStay) {
    struct Row {
        const char *rule, *text, *want;
    };
    const Row rows[] = {
        {"a mark: the first key is read and changed in place", "\xEF\xBB\xBFSound=1\nPath=/x\n",
         "\xEF\xBB\xBFSound=0\nPath=/x\nMidi=1\n"},
        {"CRLF: a changed line and an added one end as the file's", "Path=/x\r\nMidi=0\r\n",
         "Path=/x\r\nMidi=1\r\nSound=0\r\n"},
        {"CRLF and a last line without an end", "Path=/x\r\nMidi=0",
         "Path=/x\r\nMidi=1\r\nSound=0\r\n"},
        {"a mark and CRLF", "\xEF\xBB\xBFPath=/x\r\n",
         "\xEF\xBB\xBFPath=/x\r\nSound=0\r\nMidi=1\r\n"},
    };
    const test_support::TestFolder folder("settings-ends");
    const std::string file = (folder.dir / "settings").string();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::WriteWholeFile(file, std::vector<uint8_t>(r.text, r.text + std::strlen(r.text)));
        EXPECT_EQ(qv::Settings::Load(file).GetString("Path"), "/x");
        qv::Settings::WriteValues(file, {{"Sound", "0"}, {"Midi", "1"}});
        const std::vector<uint8_t> bytes = qv::ReadWholeFile(file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.want);
    }
}

// Start-up as a player goes through it: the options window, the new
// character with its names and figures, and play in the start world with the
// party of two. Names left empty keep those of the start world's character
// and dog rather than becoming empty.
TEST_F(GameApp, ANewGameBringsTheCharacterChosenAndItsDogIntoTheStartWorld) {
    gameFolder = GameFolderWithStartWorld();
    Settings("Path=" + gameFolder + "\n");
    struct Row {
        const char *rule, *name, *dog, *pluses;  // the "+" clicked: s, d, i
        const char *wantName, *wantDog;
        int str, dex, intel;
    };
    const Row rows[] = {
        {"names typed", "Mira", "Rex", "dddiiiiiii", "Mira", "Rex", 50, 53, 57},
        {"names left empty", "", "", "ssssssssss", "Korr", "Kaleb", 60, 50, 50},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CGameApp run;
        run.m_strSettingsFile = settingsFile;
        ASSERT_EQ(Init(run), 1);
        ClickOptions(COptionsWnd::kIdNewGame, true);
        Type("\b\b\b\b" + std::string(r.name));  // the name field has the focus
        for (const char* c = r.pluses; *c; ++c)
            Click({219, *c == 's' ? 209 : *c == 'd' ? 249 : 289});
        Click({60, 405});  // the dog's name
        Type("\b\b\b\b\b" + std::string(r.dog));
        Click({320, 359});  // OK
        qv::MessageLoop::Instance().PumpAll();
        CMainFrame& f = *run.GetMainWnd();
        ASSERT_EQ(f.m_iStage, 3);
        EXPECT_TRUE(f.m_Play.PartyChoices().IsNewCharacterPending())
            << "given to the party at its first move";
        Tick();
        EXPECT_FALSE(f.m_Play.PartyChoices().IsNewCharacterPending());
        Player* leader = f.m_World.m_pLeader.Get();
        ASSERT_NE(leader, nullptr);
        EXPECT_NE(dynamic_cast<Human*>(leader), nullptr) << "the character is one of the people";
        EXPECT_EQ(leader->m_strSpecialName, r.wantName);
        EXPECT_EQ(creature_test::Figures(*leader),
                  std::make_tuple(r.str, r.dex, r.intel, r.str, r.dex, r.intel));
        EXPECT_EQ(f.m_World.m_pControlPlayer.Get(), leader);
        ASSERT_EQ(leader->m_pGroup->Members().size(), 2u);
        auto* dog = dynamic_cast<Player*>(leader->m_pGroup->Members().back());
        ASSERT_NE(dog, nullptr);
        EXPECT_EQ(
            std::tuple(dog->m_strSpecialName, dog->m_strMessageNode,
                       f.m_Play.PartyChoices().PlayerName(), f.m_Play.PartyChoices().DogName()),
            std::tuple(r.wantDog, "DOGHELLO", r.wantName, r.wantDog));
        // Both stand on the map, the dog beside its master.
        ASSERT_TRUE(leader->m_pHolder && dog->m_pHolder);
        EXPECT_NE(dog->m_pHolder->pos.x, leader->m_pHolder->pos.x) << "side by side, not on it";
        EXPECT_TRUE(messages.shown.empty());
        run.ExitInstance();
    }
}

// Through the in-game options window: the music switch is written into its
// own line of the settings file, the others kept; a save to slot 3, a change
// of the world, and a load of slot 3 bring the world back as it was saved. A
// quick save, and a quit from the window leaves the settings and the saves as
// they were, byte for byte; after a restart the load window brings the quick
// save back.
TEST_F(GameApp, SwitchesSavesAndLoadsGoThroughTheWindowsAndAQuickSaveOutlivesAQuit) {
    CMainFrame& f = NewGame("# mine\nSound=1\n");
    ASSERT_EQ(f.m_iStage, 3);
    f.m_bMidiOutput = 1;  // a synthesiser is there
    f.m_bMusicOn = 1;
    ClickOptions(COptionsWnd::kIdMusic);
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(f.RunOptionsWindow(1, 1), 1);
    EXPECT_EQ(f.m_bMusicOn, 0);
    const std::string settings = "Path=" + gameFolder + "\n# mine\nSound=1\nMidi=0\n";
    EXPECT_EQ(Text(settingsFile), settings);

    ClickOptions(COptionsWnd::kIdSaveGame);
    ClickSlots(CSlotsWnd::SlotRect(2));
    Type("by the yard");
    ClickSlots(CSlotsWnd::kConfirmRect);
    EXPECT_EQ(f.RunOptionsWindow(1, 1), 1);
    EXPECT_EQ(
        std::tuple(f.m_Play.Saves().Slots()[2].inUse, f.m_Play.Saves().Slots()[2].description),
        std::tuple(1, "by the yard"));
    const fs::path table = fs::path(gameFolder) / "saved", slot3 = fs::path(gameFolder) / "save3";
    const std::string saved = Text(table), world = Text(slot3 / "start.qvr");
    Tick();  // the party written with the world comes back
    ASSERT_NE(f.m_World.m_pLeader.Get(), nullptr);
    f.m_World.m_pLeader->m_iStrength = 12;
    f.m_World.m_pLeader->SetName("Changed");
    ClickOptions(COptionsWnd::kIdLoadGame);
    ClickSlots(CSlotsWnd::SlotRect(2));
    ClickSlots(CSlotsWnd::kConfirmRect);
    EXPECT_EQ(f.RunOptionsWindow(1, 1), 1);
    ASSERT_NE(f.m_World.m_pLeader.Get(), nullptr);
    EXPECT_EQ(std::tuple(f.m_World.m_pLeader->m_iStrength, f.m_World.m_pLeader->m_strSpecialName),
              std::tuple(60, "Korr"));
    EXPECT_EQ(Text(table), saved) << "a load leaves the table as it was";

    ASSERT_EQ(f.m_Play.Saves().QuickSave(), 1);
    Tick();
    ASSERT_NE(f.m_World.m_pLeader.Get(), nullptr);
    const Position quickAt = f.m_World.m_pLeader->m_pHolder->pos;
    const std::string quickTable = Text(table);
    messages.answers = {qv::MessageAnswer::Yes};
    ClickOptions(COptionsWnd::kIdQuit);
    EXPECT_EQ(f.RunOptionsWindow(1, 1), 0);
    EXPECT_EQ(messages.shown.back(), "Are you sure you want to Quit?");
    f.RequestQuit(0);
    EXPECT_EQ(app.Run(), 0);
    app.ExitInstance();
    EXPECT_EQ(std::tuple(Text(settingsFile), Text(table), Text(slot3 / "start.qvr")),
              std::tuple(settings, quickTable, world));

    qv::MessageLoop::Instance().Reset();  // the quit is over
    qv::MessageLoop::Instance().SetClock(&clock);
    CGameApp next;
    next.m_strSettingsFile = settingsFile;
    ASSERT_EQ(Init(next), 1);
    ClickOptions(COptionsWnd::kIdLoadGame, true);
    ClickSlots(CSlotsWnd::SlotRect(OptionsHost::kQuickSlot), true);
    ClickSlots(CSlotsWnd::kConfirmRect, true);
    qv::MessageLoop::Instance().PumpAll();
    CMainFrame& g = *next.GetMainWnd();
    ASSERT_EQ(g.m_iStage, 3);
    Tick();
    Player* back = g.m_World.m_pLeader.Get();
    ASSERT_TRUE(back && back->m_pHolder);
    EXPECT_EQ(std::tuple(back->m_strSpecialName, back->m_iStrength), std::tuple("Korr", 60));
    EXPECT_EQ(back->m_pHolder->pos, quickAt) << "a loaded game keeps its places";
    EXPECT_EQ(g.m_Play.Saves().Slots()[OptionsHost::kQuickSlot].description, "QuickSave");
    next.ExitInstance();
}

// A saved game with one of its files cut, loaded through the load window in
// play: the window names the file at fault and stays open, and the game in
// play, the working folder, every slot and the table are as they were; play
// goes on. Each file the load reads, cut at its start, after one byte, in
// the middle and one byte short.
TEST_F(GameApp, ACutSlotLoadedThroughTheWindowIsSaidAndChangesNothing) {
    CMainFrame& f = NewGame();
    ASSERT_EQ(f.m_iStage, 3);
    ClickOptions(COptionsWnd::kIdSaveGame);
    ClickSlots(CSlotsWnd::SlotRect(2));
    Type("whole");
    ClickSlots(CSlotsWnd::kConfirmRect);
    ASSERT_EQ(f.RunOptionsWindow(1, 1), 1);
    Tick();
    ASSERT_NE(f.m_World.m_pLeader.Get(), nullptr);
    f.m_World.m_pLeader->m_iStrength = 12;
    f.m_World.m_pLeader->SetName("Changed");

    const fs::path game(gameFolder), slot3 = game / "save3";
    auto now = [&] {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(game))
            if (e.is_regular_file()) files[fs::relative(e.path(), game).string()] = Text(e.path());
        const Player* leader = f.m_World.m_pLeader.Get();
        return std::tuple(files, f.m_Play.Saves().WorldFile(), f.m_Play.Saves().CurrentSlot(),
                          leader ? leader->m_strSpecialName : "", leader ? leader->m_iStrength : 0,
                          leader && leader->m_pHolder ? leader->m_pHolder->pos : Position{},
                          GetWorld() == &f.m_World);
    };
    std::vector<std::string> read = {"Position", "start.qvr", "players"};
    for (const auto& e : fs::directory_iterator(slot3))
        if (e.path().extension() == ".lnd") read.push_back(e.path().filename().string());
    ASSERT_GT(read.size(), 3u) << "the start world has lands";
    for (const std::string& name : read) {
        const std::string whole = Text(slot3 / name);
        for (size_t n : {size_t(0), size_t(1), whole.size() / 2, whole.size() - 1}) {
            SCOPED_TRACE(name + " cut to " + std::to_string(n) + " of " +
                         std::to_string(whole.size()));
            qv::WriteWholeFile((slot3 / name).string(),
                               std::vector<uint8_t>(whole.begin(), whole.begin() + long(n)));
            const auto before = now();
            messages.shown.clear();
            messages.captions.clear();
            ClickOptions(COptionsWnd::kIdLoadGame);
            ClickSlots(CSlotsWnd::SlotRect(2));
            ClickSlots(CSlotsWnd::kConfirmRect);  // refused: the window stays
            ClickSlots(CSlotsWnd::kCancelRect);
            Key(qv::VK_ESCAPE);  // back to the game
            EXPECT_EQ(f.RunOptionsWindow(1, 1), 1);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_NE(messages.shown[0].find(name), std::string::npos) << messages.shown[0];
            EXPECT_EQ(messages.captions[0], "Load Error");
            EXPECT_TRUE(now() == before);
            EXPECT_EQ(f.m_bQuitRequested, 0);
            const int32_t time = f.m_World.m_iGameTime;
            Tick();
            EXPECT_NE(f.m_World.m_iGameTime, time) << "play goes on";
            ASSERT_NE(f.m_World.m_pLeader.Get(), nullptr);
            EXPECT_NE(f.m_World.m_pLeader->m_pHolder, nullptr);
        }
        qv::WriteWholeFile((slot3 / name).string(),
                           std::vector<uint8_t>(whole.begin(), whole.end()));
    }
}

}  // namespace
