#pragma once
// What the window system hands to the game: keys, mouse buttons, timer ticks,
// posted commands, activation and the quit request, and the handler interface
// through which the frame and the popups receive them.
//
// Keys carry the classic virtual-key numbers the game's handlers test for:
// letters as upper-case ASCII, digits as '0'..'9', and the constants below.

#include <cstdint>

#include "platform/Geometry.h"

namespace qv {

// Virtual-key numbers.
enum : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_LINEFEED = 0x0A,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_OEM_1 = 0xBA,       // ;
    VK_OEM_PLUS = 0xBB,    // =
    VK_OEM_COMMA = 0xBC,   // ,
    VK_OEM_MINUS = 0xBD,   // -
    VK_OEM_PERIOD = 0xBE,  // .
    VK_OEM_2 = 0xBF,       // /
    VK_OEM_3 = 0xC0,       // `
    VK_OEM_4 = 0xDB,       // [
    VK_OEM_5 = 0xDC,       // backslash
    VK_OEM_6 = 0xDD,       // ]
    VK_OEM_7 = 0xDE,       // '
};

enum class EventKind : uint8_t {
    KeyDown,      // code: virtual key
    KeyUp,        // code: virtual key
    Char,         // code: the typed character (for text fields)
    LButtonDown,  // pt: client point
    LButtonUp,
    LButtonDblClk,  // the second press of a double click (down, up, double-click, up)
    RButtonDown,
    RButtonUp,
    RButtonDblClk,
    MouseMove,
    Timer,        // code: timer id
    Command,      // code: command id
    ActivateApp,  // code: 1 gained, 0 lost
    Minimise,
    Restore,
    Move,   // pt: the new client origin on the screen
    Paint,  // the window's picture was lost and wants to be drawn again
    Quit,   // code: exit code
};

struct Event {
    EventKind kind = EventKind::Paint;
    int code = 0;
    Point pt{};

    static Event Key(bool down, int vk) {
        return {down ? EventKind::KeyDown : EventKind::KeyUp, vk, {}};
    }
    static Event Mouse(EventKind k, int x, int y) { return {k, 0, {x, y}}; }
    static Event Tick(int id) { return {EventKind::Timer, id, {}}; }
    static Event Command(int id) { return {EventKind::Command, id, {}}; }
    bool IsInput() const { return kind <= EventKind::MouseMove; }
    bool IsMouse() const { return kind >= EventKind::LButtonDown && kind <= EventKind::MouseMove; }
};

// Receives the events addressed to one window of the game: the main frame or a
// popup. Every handler does nothing by default.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual void OnKeyDown(int /*vk*/) {}
    virtual void OnKeyUp(int /*vk*/) {}
    virtual void OnChar(int /*ch*/) {}
    virtual void OnLButtonDown(Point) {}
    virtual void OnLButtonUp(Point) {}
    virtual void OnLButtonDblClk(Point) {}
    virtual void OnRButtonDown(Point) {}
    virtual void OnRButtonUp(Point) {}
    virtual void OnRButtonDblClk(Point) {}
    virtual void OnMouseMove(Point) {}
    virtual void OnTimer(int /*id*/) {}
    virtual void OnCommand(int /*id*/) {}
    // Focus of the whole program gained (true) or lost (false).
    virtual void OnActivateApp(bool /*active*/) {}
    // The window was minimised (true) or restored (false).
    virtual void OnMinimise(bool /*minimised*/) {}
    virtual void OnMove(Point /*origin*/) {}
    virtual void OnPaint() {}

    // Hands one event to the matching handler above.
    void Dispatch(const Event& e);
};

}  // namespace qv
