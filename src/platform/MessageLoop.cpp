#include "platform/MessageLoop.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qv {

namespace {

class SystemClock : public Clock {
public:
    uint32_t Now() override {
        auto d = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

SystemClock g_systemClock;

bool Reached(uint32_t now, uint32_t when) {
    return static_cast<int32_t>(now - when) >= 0;
}

// How long a loop with a source waits for input when no timer is due sooner.
constexpr uint32_t kIdleWait = 50;

}  // namespace

void WindowHandler::Dispatch(const Event& e) {
    switch (e.kind) {
        case EventKind::KeyDown:
            OnKeyDown(e.code);
            break;
        case EventKind::KeyUp:
            OnKeyUp(e.code);
            break;
        case EventKind::Char:
            OnChar(e.code);
            break;
        case EventKind::LButtonDown:
            OnLButtonDown(e.pt);
            break;
        case EventKind::LButtonUp:
            OnLButtonUp(e.pt);
            break;
        case EventKind::LButtonDblClk:
            OnLButtonDblClk(e.pt);
            break;
        case EventKind::RButtonDown:
            OnRButtonDown(e.pt);
            break;
        case EventKind::RButtonUp:
            OnRButtonUp(e.pt);
            break;
        case EventKind::RButtonDblClk:
            OnRButtonDblClk(e.pt);
            break;
        case EventKind::MouseMove:
            OnMouseMove(e.pt);
            break;
        case EventKind::Timer:
            OnTimer(e.code);
            break;
        case EventKind::Command:
            OnCommand(e.code);
            break;
        case EventKind::ActivateApp:
            OnActivateApp(e.code != 0);
            break;
        case EventKind::Minimise:
            OnMinimise(true);
            break;
        case EventKind::Restore:
            OnMinimise(false);
            break;
        case EventKind::Move:
            OnMove(e.pt);
            break;
        case EventKind::Paint:
            OnPaint();
            break;
        case EventKind::Quit:
            break;
    }
}

MessageLoop& MessageLoop::Instance() {
    static MessageLoop loop;
    return loop;
}

MessageLoop::MessageLoop() : m_clock(&g_systemClock) {}

void MessageLoop::Reset() {
    m_clock = &g_systemClock;
    m_source = nullptr;
    m_main = nullptr;
    m_capture = nullptr;
    m_input.clear();
    m_posted.clear();
    m_timers.clear();
    m_modal.clear();
    m_idleHook = nullptr;
    m_captureListener = nullptr;
    m_quit = false;
    m_exitCode = 0;
}

void MessageLoop::SetClock(Clock* clock) {
    m_clock = clock ? clock : &g_systemClock;
    uint32_t now = m_clock->Now();
    for (Timer& t : m_timers) t.due = now + t.interval;
}

int MessageLoop::SetTimer(int id, uint32_t intervalMs, WindowHandler* owner) {
    if (id == 0 || intervalMs == 0) return 0;
    KillTimer(id);
    m_timers.push_back({id, intervalMs, m_clock->Now() + intervalMs, owner});
    return id;
}

bool MessageLoop::KillTimer(int id) {
    auto it =
        std::find_if(m_timers.begin(), m_timers.end(), [id](const Timer& t) { return t.id == id; });
    if (it == m_timers.end()) return false;
    m_timers.erase(it);
    return true;
}

bool MessageLoop::HasTimer(int id) const {
    return std::any_of(m_timers.begin(), m_timers.end(),
                       [id](const Timer& t) { return t.id == id; });
}

void MessageLoop::SetCapture(WindowHandler* handler) {
    bool changed = (handler != nullptr) != (m_capture != nullptr);
    m_capture = handler;
    if (changed && m_captureListener) m_captureListener(handler != nullptr);
}

void MessageLoop::Forget(WindowHandler* handler) {
    if (!handler) return;
    if (m_main == handler) m_main = nullptr;
    if (m_capture == handler) SetCapture(nullptr);
    std::erase_if(m_timers, [handler](const Timer& t) { return t.owner == handler; });
}

WindowHandler* MessageLoop::InputTarget(const Event& e) const {
    switch (e.kind) {
        case EventKind::ActivateApp:
        case EventKind::Minimise:
        case EventKind::Restore:
        case EventKind::Move:
        case EventKind::Paint:
            // Activation and the window's own state reach the main window even
            // while a popup is up.
            return m_main;
        case EventKind::Timer:
            // A tick put in by hand belongs to the main window's timers, which
            // stand still under a popup.
            return m_modal.empty() ? m_main : nullptr;
        default:
            break;
    }
    if (!m_modal.empty()) return m_modal.back();
    if (e.IsMouse() && m_capture) return m_capture;
    return m_main;
}

bool MessageLoop::TakePosted(Event& out, WindowHandler*& target) {
    if (m_posted.empty()) return false;
    if (m_modal.empty()) {
        out = m_posted.front();
        m_posted.pop_front();
        target = m_main;
        return true;
    }
    // Under a popup only the quit request goes through; commands for the main
    // window wait until the popup has closed.
    auto it = std::find_if(m_posted.begin(), m_posted.end(),
                           [](const Event& e) { return e.kind == EventKind::Quit; });
    if (it == m_posted.end()) return false;
    out = *it;
    m_posted.erase(it);
    target = nullptr;
    return true;
}

bool MessageLoop::TakeInput(Event& out, WindowHandler*& target) {
    if (m_input.empty()) return false;
    out = m_input.front();
    m_input.pop_front();
    target = InputTarget(out);
    return true;
}

bool MessageLoop::TakeTimer(Event& out, WindowHandler*& target) {
    uint32_t now = m_clock->Now();
    for (Timer& t : m_timers) {
        if (!Reached(now, t.due)) continue;
        t.due += t.interval;
        if (Reached(now, t.due)) t.due = now + t.interval;  // late: no catching up
        WindowHandler* owner = t.owner ? t.owner : m_main;
        bool deliver = m_modal.empty() ? true : owner == m_modal.back();
        if (!deliver) continue;
        out = Event::Tick(t.id);
        target = owner;
        return true;
    }
    return false;
}

uint32_t MessageLoop::UntilNextTimer() {
    uint32_t now = m_clock->Now();
    uint32_t wait = kIdleWait;
    for (const Timer& t : m_timers) {
        if (Reached(now, t.due)) return 0;
        wait = std::min(wait, t.due - now);
    }
    return wait;
}

bool MessageLoop::TakeNext(Event& out, WindowHandler*& target, uint32_t waitMs) {
    if (TakePosted(out, target)) return true;
    if (m_source && m_input.empty()) m_source->Fetch(0);
    if (TakeInput(out, target) || TakeTimer(out, target)) return true;
    if (!m_source || waitMs == 0) return false;
    m_source->Fetch(std::min(waitMs, UntilNextTimer()));
    return TakeInput(out, target) || TakeTimer(out, target);
}

bool MessageLoop::PumpOne(uint32_t waitMs) {
    Event e;
    WindowHandler* target = nullptr;
    if (!TakeNext(e, target, waitMs)) return false;
    if (e.kind == EventKind::Quit) {
        m_quit = true;
        m_exitCode = e.code;
        return true;
    }
    if (target) target->Dispatch(e);
    return true;
}

int MessageLoop::PumpAll() {
    int n = 0;
    while (!m_quit && PumpOne(0)) ++n;
    return n;
}

int MessageLoop::Run() {
    while (!m_quit) {
        if (!PumpOne(kIdleWait) && !m_source) break;
    }
    return m_exitCode;
}

void MessageLoop::RunModal(ModalWindow& window) {
    m_modal.push_back(&window);
    while (!window.IsModalDone() && !m_quit) {
        window.OnModalDraw();
        if (PumpOne(kIdleWait)) continue;
        if (m_source) continue;
        if (m_idleHook && m_idleHook()) continue;
        break;
    }
    if (!window.IsModalDone()) window.OnModalAbandoned();
    auto it = std::find(m_modal.rbegin(), m_modal.rend(), &window);
    if (it != m_modal.rend()) m_modal.erase(std::next(it).base());
}

bool MessageLoop::PeekInput(EventKind kind) {
    if (m_source) m_source->Fetch(0);
    return std::any_of(m_input.begin(), m_input.end(),
                       [kind](const Event& e) { return e.kind == kind; });
}

bool MessageLoop::WaitForKeys(uint32_t ms, std::initializer_list<int> keys) {
    uint32_t deadline = m_clock->Now() + ms;
    for (;;) {
        if (m_source) m_source->Fetch(0);
        auto it = std::find_if(m_input.begin(), m_input.end(), [&keys](const Event& e) {
            return e.kind == EventKind::KeyDown &&
                   std::find(keys.begin(), keys.end(), e.code) != keys.end();
        });
        if (it != m_input.end()) {
            m_input.erase(it);
            return true;
        }
        uint32_t now = m_clock->Now();
        if (Reached(now, deadline)) return false;
        m_clock->Sleep(std::min<uint32_t>(10, deadline - now));
    }
}

}  // namespace qv
