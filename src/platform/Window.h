#pragma once
// The game's one window on the screen, and the reader of its input.
//
// The game composes its pictures in plain memory as 16-bit 5-6-5 pixels; the
// window keeps a copy of what it shows (its "primary" picture), takes finished
// rectangles into it and presents it. It also turns the window system's input
// into the game's events (see Events.h) and feeds them to the message loop:
// key codes become virtual-key numbers, the second press of a double click
// arrives as a double-click event (down, up, double-click, up), focus and
// minimise become activation events, and closing the window asks to quit with
// code 0.
//
// With SDL's dummy video driver everything works without a display.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/MessageLoop.h"

namespace qv {

class Window : public EventSource {
public:
    Window() = default;
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The open window, null while none is open.
    static Window* Current();

    // Opens the window (width x height client pixels; full screen switches the
    // display to that size) and makes it the message loop's source.
    // False when it cannot, with the reason in CreateError().
    bool Create(const std::string& title, int width, int height, bool fullScreen);
    static std::string CreateError();
    // Whether video runs on a display, given the driver that came up and the
    // one asked for by name (SDL_VIDEODRIVER, perhaps a list; null when not
    // set): a driver that shows nothing (offscreen, dummy) only when asked
    // for, as the tests do. Without a display SDL falls back to them itself.
    static bool OnADisplay(const char* driver, const char* asked);
    // A display named in the environment that could not be opened: the
    // variable ("DISPLAY", "WAYLAND_DISPLAY"), its value and SDL's reason.
    struct NamedDisplay {
        std::string variable, name, reason;
    };
    // What CreateError() says when video came up on no display: each display
    // named that could not be opened, with its reason, or that none is named.
    static std::string NoDisplayMessage(const std::vector<NamedDisplay>& displays);
    void Destroy();
    bool IsOpen() const { return m_window != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsFullScreen() const { return m_fullScreen; }
    std::string Title() const;

    // Copies the `src` rectangle of a 16-bit picture (`pitch` pixels per row)
    // into the window's picture at `at`, clipped to the window, and shows it.
    bool Present(const uint16_t* pixels, int width, int height, int pitch, Rect src, Point at);
    // The picture the window shows, Width() x Height() pixels, rows top down.
    const std::vector<uint16_t>& Picture() const { return m_picture; }
    // Writes the shown picture to a .bmp file.
    bool SavePicture(const std::string& path) const;

    // Reads every waiting event of the window system into the message loop.
    void Fetch(uint32_t waitMs) override;

    // Minimises the window (the program lost the focus in full screen) or
    // brings it back.
    void Minimise();
    void Restore();

    // The system's own mouse pointer.
    void ShowSystemCursor(bool show);
    void SetCursorPos(Point p);
    Point GetCursorPos() const;
    // Keeps the mouse inside the window while it is captured.
    void SetMouseCaptured(bool captured);

    // Translation of one key of the window system to a virtual-key number;
    // 0 for keys the game does not know.
    static int VirtualKey(int sdlKeycode);

private:
    // Shows the picture's `area` (all of it when empty): only what changed is
    // converted to the screen's format.
    void Show(Rect area = {});

    void* m_window = nullptr;  // SDL_Window
    int m_width = 0;
    int m_height = 0;
    bool m_fullScreen = false;
    std::vector<uint16_t> m_picture;
    bool m_shown = false;  // the whole picture has been shown once
};

// Writes a 16-bit 5-6-5 picture to a .bmp file.
bool SavePicture565(const std::string& path, const uint16_t* pixels, int width, int height,
                    int pitch);

}  // namespace qv
