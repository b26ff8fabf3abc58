#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace qv {

namespace {

Window* g_current = nullptr;

SDL_Window* Sdl(void* w) {
    return static_cast<SDL_Window*>(w);
}

std::string g_createError;

bool VideoUp() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_createError = std::string("The video cannot be started: ") + SDL_GetError();
        return false;
    }
    if (!Window::OnADisplay(SDL_GetCurrentVideoDriver(), SDL_getenv("SDL_VIDEODRIVER"))) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        // SDL fell back to a driver that shows nothing: each display named
        // is asked for by its own driver to learn why it could not be opened.
        std::vector<Window::NamedDisplay> displays;
        for (auto [variable, driver] :
             {std::pair{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}}) {
            const char* name = SDL_getenv(variable);
            if (!name || !*name) continue;
            std::string reason = "no reason given";
            if (SDL_VideoInit(driver) == 0)
                SDL_VideoQuit();
            else if (*SDL_GetError())
                reason = SDL_GetError();
            displays.push_back({variable, name, reason});
        }
        g_createError = Window::NoDisplayMessage(displays);
        return false;
    }
    return true;
}

}  // namespace

Window* Window::Current() {
    return g_current;
}

Window::~Window() {
    Destroy();
}

std::string Window::CreateError() {
    return g_createError;
}

std::string Window::NoDisplayMessage(const std::vector<NamedDisplay>& displays) {
    if (displays.empty())
        return "There is no display to open the game's window on (neither DISPLAY nor "
               "WAYLAND_DISPLAY is set): start the game on a desktop.";
    std::string text;
    for (const NamedDisplay& d : displays)
        text += (text.empty() ? "" : "; ") + ("The display \"" + d.name + "\" (" + d.variable +
                                              ") cannot be opened: " + d.reason);
    return text + ". Start the game on a desktop it can reach.";
}

bool Window::OnADisplay(const char* driver, const char* asked) {
    if (!driver) return false;
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    if (!asked) return false;
    // The names asked for, separated by commas.
    std::string list = asked;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        if (SDL_strcasecmp(list.substr(start, end - start).c_str(), driver) == 0) return true;
        start = end + 1;
    }
    return false;
}

bool Window::Create(const std::string& title, int width, int height, bool fullScreen) {
    Destroy();
    g_createError = "The window cannot be opened.";
    if (width <= 0 || height <= 0 || !VideoUp()) return false;
    Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN : 0;
    SDL_Window* w = SDL_CreateWindow(title.c_str(), 0, 0, width, height, flags);
    if (!w) {
        g_createError = std::string("The window cannot be opened: ") + SDL_GetError();
        return false;
    }
    m_window = w;
    m_width = width;
    m_height = height;
    m_fullScreen = fullScreen;
    m_picture.assign(static_cast<size_t>(width) * height, 0);
    m_shown = false;
    g_current = this;
    MessageLoop::Instance().SetSource(this);
    MessageLoop::Instance().SetCaptureListener([this](bool on) { SetMouseCaptured(on); });
    SDL_StartTextInput();
    return true;
}

void Window::Destroy() {
    if (!m_window) return;
    if (g_current == this) {
        g_current = nullptr;
        MessageLoop& loop = MessageLoop::Instance();
        loop.SetSource(nullptr);
        loop.SetCaptureListener(nullptr);
    }
    SDL_DestroyWindow(Sdl(m_window));
    m_window = nullptr;
    m_picture.clear();
    m_width = m_height = 0;
}

std::string Window::Title() const {
    return m_window ? SDL_GetWindowTitle(Sdl(m_window)) : "";
}

bool Window::Present(const uint16_t* pixels, int width, int height, int pitch, Rect src, Point at) {
    if (!m_window || !pixels) return false;
    // Clip the source to its picture, then the destination to the window.
    Rect s = src.Intersect({0, 0, width, height});
    at.x += s.left - src.left;
    at.y += s.top - src.top;
    Rect d =
        Rect{at.x, at.y, at.x + s.Width(), at.y + s.Height()}.Intersect({0, 0, m_width, m_height});
    if (d.IsEmpty()) return true;
    int sx = s.left + (d.left - at.x);
    int sy = s.top + (d.top - at.y);
    // Only the pixels that differ from the picture shown go to the screen
    // again: a frame that changed nothing costs a comparison, not a trip to
    // the window system.
    const int w = d.Width();
    Rect changed{d.right, d.bottom, d.left, d.top};
    for (int y = 0; y < d.Height(); ++y) {
        const uint16_t* from = pixels + static_cast<size_t>(sy + y) * pitch + sx;
        uint16_t* to = &m_picture[static_cast<size_t>(d.top + y) * m_width + d.left];
        const int first = static_cast<int>(std::mismatch(from, from + w, to).first - from);
        if (first == w) continue;
        int last = w;
        while (from[last - 1] == to[last - 1]) --last;
        std::copy(from + first, from + last, to + first);
        changed.left = std::min(changed.left, d.left + first);
        changed.right = std::max(changed.right, d.left + last);
        changed.top = std::min(changed.top, d.top + y);
        changed.bottom = d.top + y + 1;
    }
    if (!m_shown) {
        Show();
        m_shown = true;
    } else if (!changed.IsEmpty()) {
        Show(changed);
    }
    return true;
}

void Window::Show(Rect area) {
    SDL_Surface* target = SDL_GetWindowSurface(Sdl(m_window));
    if (!target) return;
    SDL_Surface* pic = SDL_CreateRGBSurfaceWithFormatFrom(m_picture.data(), m_width, m_height, 16,
                                                          m_width * 2, SDL_PIXELFORMAT_RGB565);
    if (!pic) return;
    if (area.IsEmpty()) area = {0, 0, m_width, m_height};
    SDL_Rect from{area.left, area.top, area.Width(), area.Height()};
    SDL_Rect to = from;
    SDL_BlitSurface(pic, &from, target, &to);
    SDL_FreeSurface(pic);
    SDL_UpdateWindowSurfaceRects(Sdl(m_window), &to, 1);
}

bool Window::SavePicture(const std::string& path) const {
    if (!m_window) return false;
    return SavePicture565(path, m_picture.data(), m_width, m_height, m_width);
}

bool SavePicture565(const std::string& path, const uint16_t* pixels, int width, int height,
                    int pitch) {
    if (!pixels || width <= 0 || height <= 0) return false;
    SDL_Surface* pic = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint16_t*>(pixels), width, height, 16, pitch * 2, SDL_PIXELFORMAT_RGB565);
    if (!pic) return false;
    bool ok = SDL_SaveBMP(pic, path.c_str()) == 0;
    SDL_FreeSurface(pic);
    return ok;
}

int Window::VirtualKey(int key) {
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_PAUSE:
            return VK_PAUSE;
        case SDLK_CAPSLOCK:
            return VK_CAPITAL;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return VK_END;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_KP_0:
            return VK_NUMPAD0;
        case SDLK_KP_MULTIPLY:
            return VK_MULTIPLY;
        case SDLK_KP_PLUS:
            return VK_ADD;
        case SDLK_KP_MINUS:
            return VK_SUBTRACT;
        case SDLK_KP_PERIOD:
            return VK_DECIMAL;
        case SDLK_KP_DIVIDE:
            return VK_DIVIDE;
        case SDLK_SEMICOLON:
            return VK_OEM_1;
        case SDLK_EQUALS:
            return VK_OEM_PLUS;
        case SDLK_COMMA:
            return VK_OEM_COMMA;
        case SDLK_MINUS:
            return VK_OEM_MINUS;
        case SDLK_PERIOD:
            return VK_OEM_PERIOD;
        case SDLK_SLASH:
            return VK_OEM_2;
        case SDLK_BACKQUOTE:
            return VK_OEM_3;
        case SDLK_LEFTBRACKET:
            return VK_OEM_4;
        case SDLK_BACKSLASH:
            return VK_OEM_5;
        case SDLK_RIGHTBRACKET:
            return VK_OEM_6;
        case SDLK_QUOTE:
            return VK_OEM_7;
        default:
            return 0;
    }
}

void Window::Fetch(uint32_t waitMs) {
    MessageLoop& loop = MessageLoop::Instance();
    SDL_Event ev;
    bool got = waitMs > 0 ? SDL_WaitEventTimeout(&ev, static_cast<int>(waitMs)) != 0
                          : SDL_PollEvent(&ev) != 0;
    while (got) {
        switch (ev.type) {
            case SDL_QUIT:
                loop.Inject({EventKind::Quit, 0, {}});
                break;  // in turn with the input
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                int vk = VirtualKey(ev.key.keysym.sym);
                if (vk) loop.Inject(Event::Key(ev.type == SDL_KEYDOWN, vk));
                // Enter, Backspace and Esc also arrive as typed characters.
                if (ev.type == SDL_KEYDOWN && (vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE))
                    loop.Inject({EventKind::Char, vk, {}});
                break;
            }
            case SDL_TEXTINPUT:
                for (const char* c = ev.text.text; *c; ++c)
                    if (static_cast<unsigned char>(*c) >= 32 &&
                        static_cast<unsigned char>(*c) < 127)
                        loop.Inject({EventKind::Char, *c, {}});
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                bool down = ev.type == SDL_MOUSEBUTTONDOWN;
                // The second press of a double click comes as a double-click.
                bool dbl = down && ev.button.clicks >= 2 && ev.button.clicks % 2 == 0;
                EventKind k;
                if (ev.button.button == SDL_BUTTON_LEFT)
                    k = dbl    ? EventKind::LButtonDblClk
                        : down ? EventKind::LButtonDown
                               : EventKind::LButtonUp;
                else if (ev.button.button == SDL_BUTTON_RIGHT)
                    k = dbl    ? EventKind::RButtonDblClk
                        : down ? EventKind::RButtonDown
                               : EventKind::RButtonUp;
                else
                    break;
                loop.Inject(Event::Mouse(k, ev.button.x, ev.button.y));
                break;
            }
            case SDL_MOUSEMOTION:
                loop.Inject(Event::Mouse(EventKind::MouseMove, ev.motion.x, ev.motion.y));
                break;
            case SDL_WINDOWEVENT:
                switch (ev.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        loop.Inject({EventKind::ActivateApp, 1, {}});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        loop.Inject({EventKind::ActivateApp, 0, {}});
                        break;
                    case SDL_WINDOWEVENT_MINIMIZED:
                        loop.Inject({EventKind::Minimise, 0, {}});
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                        loop.Inject({EventKind::Restore, 0, {}});
                        break;
                    case SDL_WINDOWEVENT_MOVED:
                        loop.Inject({EventKind::Move, 0, {ev.window.data1, ev.window.data2}});
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        if (m_window) Show();
                        loop.Inject({EventKind::Paint, 0, {}});
                        break;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
        got = SDL_PollEvent(&ev) != 0;
    }
}

void Window::Minimise() {
    if (m_window) SDL_MinimizeWindow(Sdl(m_window));
}

void Window::Restore() {
    if (m_window) SDL_RestoreWindow(Sdl(m_window));
}

void Window::ShowSystemCursor(bool show) {
    if (VideoUp()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void Window::SetCursorPos(Point p) {
    if (m_window) SDL_WarpMouseInWindow(Sdl(m_window), p.x, p.y);
}

Point Window::GetCursorPos() const {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    return {x, y};
}

void Window::SetMouseCaptured(bool captured) {
    if (m_window) SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

}  // namespace qv
