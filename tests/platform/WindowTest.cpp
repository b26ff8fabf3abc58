#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace {

using qv::EventKind;
using qv::MessageLoop;

class Collector : public qv::WindowHandler {
public:
    std::vector<std::string> log;
    void OnKeyDown(int vk) override { log.push_back("kd" + std::to_string(vk)); }
    void OnKeyUp(int vk) override { log.push_back("ku" + std::to_string(vk)); }
    void OnChar(int c) override { log.push_back(std::string("ch") + static_cast<char>(c)); }
    void OnLButtonDown(qv::Point p) override { log.push_back("ld" + Pt(p)); }
    void OnLButtonUp(qv::Point p) override { log.push_back("lu" + Pt(p)); }
    void OnLButtonDblClk(qv::Point p) override { log.push_back("l2" + Pt(p)); }
    void OnRButtonDown(qv::Point) override { log.push_back("rd"); }
    void OnRButtonUp(qv::Point) override { log.push_back("ru"); }
    void OnRButtonDblClk(qv::Point) override { log.push_back("r2"); }
    void OnMouseMove(qv::Point p) override { log.push_back("mv" + Pt(p)); }
    void OnActivateApp(bool a) override { log.push_back(a ? "on" : "off"); }
    void OnMinimise(bool m) override { log.push_back(m ? "min" : "restore"); }
    static std::string Pt(qv::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageLoop::Instance().Reset();
        MessageLoop::Instance().SetMainHandler(&frame);
        ASSERT_TRUE(window.Create("Quorvale", 900, 480, false));
        // Drop what the window system says about the new window itself.
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        window.Destroy();
        MessageLoop::Instance().Reset();
    }
    static void PushButton(bool down, int button, int clicks, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = static_cast<Uint8>(button);
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = static_cast<Uint8>(clicks);
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    static void PushKey(bool down, SDL_Keycode key) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    qv::Window window;
    Collector frame;
};

TEST_F(WindowTest, OpensHeadlessWithTitleAndSize) {
    EXPECT_EQ(window.Title(), "Quorvale");
    EXPECT_EQ(window.Width(), 900);
    EXPECT_EQ(window.Height(), 480);
    EXPECT_EQ(qv::Window::Current(), &window);
    EXPECT_EQ(window.Picture().size(), 900u * 480u);
}

TEST_F(WindowTest, DoubleClickArrivesAsDownUpDoubleClickUp) {
    PushButton(true, SDL_BUTTON_LEFT, 1, 5, 6);
    PushButton(false, SDL_BUTTON_LEFT, 1, 5, 6);
    PushButton(true, SDL_BUTTON_LEFT, 2, 5, 6);
    PushButton(false, SDL_BUTTON_LEFT, 2, 5, 6);
    PushButton(true, SDL_BUTTON_RIGHT, 1, 0, 0);
    PushButton(false, SDL_BUTTON_RIGHT, 1, 0, 0);
    PushButton(true, SDL_BUTTON_RIGHT, 2, 0, 0);
    PushButton(false, SDL_BUTTON_RIGHT, 2, 0, 0);
    // A third press starts a new click.
    PushButton(true, SDL_BUTTON_LEFT, 3, 7, 8);
    PushButton(true, SDL_BUTTON_MIDDLE, 1, 7, 8);
    MessageLoop::Instance().PumpAll();
    EXPECT_EQ(frame.log, (std::vector<std::string>{"ld5,6", "lu5,6", "l25,6", "lu5,6", "rd", "ru",
                                                   "r2", "ru", "ld7,8"}));
}

TEST_F(WindowTest, KeysArriveAsVirtualKeyNumbers) {
    PushKey(true, SDLK_SPACE);
    PushKey(true, SDLK_ESCAPE);
    PushKey(true, SDLK_TAB);
    PushKey(true, SDLK_F5);
    PushKey(true, SDLK_q);
    PushKey(false, SDLK_q);
    PushKey(true, SDLK_3);
    PushKey(true, SDLK_LSHIFT);
    PushKey(true, SDLK_RCTRL);
    PushKey(true, SDLK_RETURN);
    MessageLoop::Instance().PumpAll();
    EXPECT_EQ(frame.log,
              (std::vector<std::string>{"kd32", "kd27", "ch\x1b", "kd9", "kd116", "kd81", "ku81",
                                        "kd51", "kd16", "kd17", "kd13", "ch\r"}));
    EXPECT_EQ(qv::Window::VirtualKey(SDLK_F2), qv::VK_F2);
    EXPECT_EQ(qv::Window::VirtualKey(SDLK_KP_5), 0x65);
}

TEST_F(WindowTest, TypedTextArrivesAsCharactersAndMovesAsTheNewOrigin) {
    SDL_Event t{};
    t.type = SDL_TEXTINPUT;
    std::snprintf(t.text.text, sizeof t.text.text,
                  "Ko\xc3\xa9r");  // a letter outside ASCII is dropped
    SDL_PushEvent(&t);
    SDL_Event m{};
    m.type = SDL_WINDOWEVENT;
    m.window.event = SDL_WINDOWEVENT_MOVED;
    m.window.data1 = 40;
    m.window.data2 = 30;
    SDL_PushEvent(&m);
    struct Mover : Collector {
        void OnMove(qv::Point p) override { log.push_back("move" + Pt(p)); }
    } mover;
    MessageLoop::Instance().SetMainHandler(&mover);
    MessageLoop::Instance().PumpAll();
    EXPECT_EQ(mover.log, (std::vector<std::string>{"chK", "cho", "chr", "move40,30"}));
}

TEST_F(WindowTest, FocusMinimiseAndCloseBecomeActivationAndQuit) {
    auto push = [](Uint8 what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        SDL_PushEvent(&e);
    };
    push(SDL_WINDOWEVENT_FOCUS_LOST);
    push(SDL_WINDOWEVENT_MINIMIZED);
    push(SDL_WINDOWEVENT_RESTORED);
    push(SDL_WINDOWEVENT_FOCUS_GAINED);
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
    MessageLoop::Instance().SetMainHandler(&frame);
    EXPECT_EQ(MessageLoop::Instance().Run(), 0);
    EXPECT_TRUE(MessageLoop::Instance().IsQuitting());
    EXPECT_EQ(frame.log, (std::vector<std::string>{"off", "min", "restore", "on"}));
}

TEST_F(WindowTest, PresentsClippedRectanglesAndSavesThePicture) {
    std::vector<uint16_t> pic(640 * 480, 0xF800);               // red
    for (int x = 0; x < 640; ++x) pic[100 * 640 + x] = 0x07E0;  // a green row
    ASSERT_TRUE(window.Present(pic.data(), 640, 480, 640, {0, 0, 640, 480}, {0, 0}));
    EXPECT_EQ(window.Picture()[0], 0xF800);
    EXPECT_EQ(window.Picture()[100 * 900 + 639], 0x07E0);
    EXPECT_EQ(window.Picture()[100 * 900 + 640], 0);  // the palette room stays black
    // A rectangle partly off the window is clipped, not written past its end.
    std::vector<uint16_t> blue(50 * 50, 0x001F);
    ASSERT_TRUE(window.Present(blue.data(), 50, 50, 50, {0, 0, 50, 50}, {880, 470}));
    EXPECT_EQ(window.Picture()[479 * 900 + 899], 0x001F);
    EXPECT_EQ(window.Picture()[469 * 900 + 899], 0);

    std::string path = testing::TempDir() + "window_picture.bmp";
    ASSERT_TRUE(window.SavePicture(path));
    SDL_Surface* back = SDL_LoadBMP(path.c_str());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->w, 900);
    EXPECT_EQ(back->h, 480);
    SDL_FreeSurface(back);
    std::remove(path.c_str());
}

}  // namespace

namespace {

TEST(WindowDisplay, ADriverThatShowsNothingIsTakenOnlyWhenAskedForByName) {
    // Without a display SDL falls back to the offscreen or dummy driver on
    // its own: the game then has no window anyone can see and says so.
    struct Row {
        const char* rule;
        const char* driver;
        const char* asked;
        bool onADisplay;
    };
    const Row rows[] = {
        {"x11, nothing asked", "x11", nullptr, true},
        {"wayland, x11 asked", "wayland", "x11", true},
        {"offscreen, nothing asked", "offscreen", nullptr, false},
        {"dummy, nothing asked", "dummy", nullptr, false},
        {"dummy asked", "dummy", "dummy", true},
        {"dummy asked in capitals", "dummy", "DUMMY", true},
        {"offscreen, x11 asked", "offscreen", "x11", false},
        {"offscreen last of a list asked", "offscreen", "x11,offscreen", true},
        {"offscreen, an empty name asked", "offscreen", "", false},
        {"no driver", nullptr, nullptr, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(qv::Window::OnADisplay(r.driver, r.asked), r.onADisplay);
    }
}

TEST(WindowDisplay, ADisplayNamedButNotOpenedIsSaidWithSDLsReason) {
    const std::string tail = ". Start the game on a desktop it can reach.";
    const std::pair<std::vector<qv::Window::NamedDisplay>, std::string> rows[] = {
        {{{"DISPLAY", ":77", "x11 not available"}},
         "The display \":77\" (DISPLAY) cannot be opened: x11 not available" + tail},
        {{{"DISPLAY", ":1", "a"}, {"WAYLAND_DISPLAY", "w-9", "b"}},
         "The display \":1\" (DISPLAY) cannot be opened: a; The display \"w-9\" "
         "(WAYLAND_DISPLAY) cannot be opened: b" +
             tail},
    };
    for (const auto& [displays, want] : rows)
        EXPECT_EQ(qv::Window::NoDisplayMessage(displays), want);
}

TEST_F(WindowTest, OnlyWhatChangedIsShownAgain) {
    SDL_Window* sdl = nullptr;
    for (Uint32 id = 1; !sdl && id < 4096; ++id) sdl = SDL_GetWindowFromID(id);
    ASSERT_NE(sdl, nullptr);
    SDL_Surface* screen = SDL_GetWindowSurface(sdl);
    ASSERT_TRUE(screen && screen->format->BytesPerPixel == 4);
    const Uint32 blue = SDL_MapRGB(screen->format, 0, 0, 255);
    auto shown = [screen](int x, int y) {
        return static_cast<const Uint32*>(screen->pixels)[y * screen->pitch / 4 + x];
    };
    std::vector<uint16_t> frame(640 * 480, 0xF800);  // red
    ASSERT_TRUE(window.Present(frame.data(), 640, 480, 640, {0, 0, 640, 480}, {0, 0}));
    // Each row: the colour given to the pixel at (300, 200) (0: none), and
    // whether the screen, painted blue behind the game's back, takes it again.
    const struct {
        const char* what;
        uint16_t colour;
        bool shownThere;
    } rows[] = {
        {"the same frame again: nothing is shown again", 0, false},
        {"one pixel changed: it alone is shown", 0x07E0, true},
        {"the pixel back as it was: it alone is shown", 0xF800, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SDL_FillRect(screen, nullptr, blue);
        if (r.colour) frame[200 * 640 + 300] = r.colour;
        ASSERT_TRUE(window.Present(frame.data(), 640, 480, 640, {0, 0, 640, 480}, {0, 0}));
        EXPECT_EQ(shown(300, 200) != blue, r.shownThere);
        EXPECT_EQ(shown(10, 10), blue);
        EXPECT_EQ(shown(301, 200), blue);
    }
}

}  // namespace
