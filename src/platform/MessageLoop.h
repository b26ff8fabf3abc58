#pragma once
// The game's message pump: the one place where input, timer ticks, posted
// commands and the quit request are put in order and handed to the windows.
//
// Nothing here knows about SDL. The real program plugs in an EventSource that
// reads the window system (see Window.h) and the system clock; tests leave the
// source out, put events in with Inject and move a ManualClock by hand, so a
// test drives the game event by event and tick by tick without the wall clock.
//
// Order of delivery, as the game's handlers expect it:
//  1. posted events (commands, the quit request), in the order posted, always
//     after the handler that posted them has returned;
//  2. input, in the order it happened;
//  3. timer ticks, at most one waiting per timer (a late timer is not caught up).
//
// A modal popup runs a nested loop (RunModal): input goes to the popup (or to
// whoever holds the mouse capture), activation still reaches the main window,
// posted commands wait until the popup has closed, and the main window's timers
// are not delivered, so no game tick runs while a popup is up.

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "platform/Events.h"

namespace qv {

// Milliseconds since some start, wrapping like the system's tick counter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Now() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// A clock that moves only when told to; Sleep moves it at once.
class ManualClock : public Clock {
public:
    uint32_t Now() override { return m_now; }
    void Sleep(uint32_t ms) override { m_now += ms; }
    void Advance(uint32_t ms) { m_now += ms; }

private:
    uint32_t m_now = 0;
};

// Reads the window system: hands every waiting event to MessageLoop::Inject,
// waiting at most `waitMs` for the first one.
class EventSource {
public:
    virtual ~EventSource() = default;
    virtual void Fetch(uint32_t waitMs) = 0;
};

// A window that can be run modally.
class ModalWindow : public WindowHandler {
public:
    // True once the window has been ended and the nested loop may return.
    virtual bool IsModalDone() const = 0;
    // Called before each event of the nested loop: the window draws itself.
    virtual void OnModalDraw() {}
    // The nested loop stopped without the window ending: the program is quitting,
    // or (in a test) no more events will come.
    virtual void OnModalAbandoned() {}
};

class MessageLoop {
public:
    // The program's one loop.
    static MessageLoop& Instance();

    MessageLoop();
    // Drops every queued event, timer, handler, capture and quit request and
    // goes back to the built-in system clock (tests start from here).
    void Reset();

    void SetClock(Clock* clock);  // null: the system clock
    Clock& GetClock() { return *m_clock; }
    void SetSource(EventSource* source) { m_source = source; }

    void SetMainHandler(WindowHandler* handler) { m_main = handler; }
    WindowHandler* GetMainHandler() const { return m_main; }

    // Input from the window system (or from a test).
    void Inject(const Event& e) { m_input.push_back(e); }
    // Queued for delivery after the current handler has returned.
    void Post(const Event& e) { m_posted.push_back(e); }
    void PostCommand(int id) { Post(Event::Command(id)); }
    void PostQuit(int exitCode) { Post({EventKind::Quit, exitCode, {}}); }
    bool IsQuitting() const { return m_quit; }
    int ExitCode() const { return m_exitCode; }

    // A periodic timer of `owner` (the main handler when null); answers the id,
    // 0 when it cannot be set. Setting an id again restarts it.
    int SetTimer(int id, uint32_t intervalMs, WindowHandler* owner = nullptr);
    bool KillTimer(int id);
    bool HasTimer(int id) const;

    // Delivers one event; false when nothing waits (or, with a source, nothing
    // came within `waitMs`).
    bool PumpOne(uint32_t waitMs = 0);
    // Delivers events until nothing waits; answers how many were delivered.
    int PumpAll();
    // Runs until the quit request; answers its exit code. Without a source it
    // also returns when nothing more waits (IsQuitting() then stays false).
    int Run();

    // Runs `window` modally until it has ended, the program quits or, without a
    // source, no more events come.
    void RunModal(ModalWindow& window);
    int ModalDepth() const { return static_cast<int>(m_modal.size()); }
    ModalWindow* TopModal() const { return m_modal.empty() ? nullptr : m_modal.back(); }
    // Called when a nested loop has nothing left to deliver and no source: a
    // test may inject more and answer true to go on.
    void SetIdleHook(std::function<bool()> hook) { m_idleHook = std::move(hook); }

    // Whether waiting input holds an event of this kind; nothing is removed.
    bool PeekInput(EventKind kind);
    // Waits up to `ms` on the clock; true, with the key press taken out of the
    // input, as soon as one of `keys` is pressed. Other input stays waiting.
    bool WaitForKeys(uint32_t ms, std::initializer_list<int> keys);

    // Mouse capture: captured mouse input goes to `handler` whoever is on top.
    void SetCapture(WindowHandler* handler);
    void ReleaseCapture() { SetCapture(nullptr); }
    WindowHandler* GetCapture() const { return m_capture; }
    // Told of every capture change (the window system confines the mouse).
    void SetCaptureListener(std::function<void(bool)> f) { m_captureListener = std::move(f); }

    // A handler that is going away: nothing more is delivered to it.
    void Forget(WindowHandler* handler);

private:
    struct Timer {
        int id;
        uint32_t interval;
        uint32_t due;
        WindowHandler* owner;
    };

    bool TakeNext(Event& out, WindowHandler*& target, uint32_t waitMs);
    bool TakePosted(Event& out, WindowHandler*& target);
    bool TakeInput(Event& out, WindowHandler*& target);
    bool TakeTimer(Event& out, WindowHandler*& target);
    uint32_t UntilNextTimer();
    WindowHandler* InputTarget(const Event& e) const;

    Clock* m_clock;
    EventSource* m_source = nullptr;
    WindowHandler* m_main = nullptr;
    WindowHandler* m_capture = nullptr;
    std::deque<Event> m_input;
    std::deque<Event> m_posted;
    std::vector<Timer> m_timers;
    std::vector<ModalWindow*> m_modal;
    std::function<bool()> m_idleHook;
    std::function<void(bool)> m_captureListener;
    bool m_quit = false;
    int m_exitCode = 0;
};

}  // namespace qv
