#pragma once
// The world editor's widgets: one Dear ImGui context, fed with the game's own
// input events and drawn by the game's own rasteriser into a surface in plain
// memory, so that the editor's palette and dialogs run alike on the screen
// and headless in tests.
//
// The owner hands a builder (the widgets of one frame, as ImGui calls); every
// input event runs one frame, so that a press and a release always fall into
// frames of their own and no click is lost, and then one more without input,
// so that the last frame, the one drawn, shows what the event did. Widgets a test or a picture
// needs to find are named after they are made (Remember), and their rectangles of the last frame
// are kept.
//
// Nothing outside src/editor sees ImGui: the drawing goes to the platform as
// plain triangles.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Events.h"
#include "platform/Geometry.h"
#include "platform/Surface.h"

struct ImGuiContext;

class EditorGui {
public:
    // A context whose display is `size` pixels.
    explicit EditorGui(qv::Point size);
    ~EditorGui();
    EditorGui(const EditorGui&) = delete;
    EditorGui& operator=(const EditorGui&) = delete;

    qv::Point Size() const { return m_Size; }
    // The widgets of one frame. Called with this context current.
    void SetBuilder(std::function<void()> builder) { m_Builder = std::move(builder); }

    // ---- Input, each followed by a frame. Points are in the display's pixels.
    void MouseMove(qv::Point p);
    // Button 0 left, 1 right.
    void MouseButton(int button, bool down);
    // The second press of a double click (its release follows as usual).
    void MouseDoubleClick(qv::Point p);
    // A virtual key (platform/Events.h) pressed or let go.
    void Key(int vk, bool down);
    // A typed character; control characters are the keys' business.
    void Char(int ch);
    // An event of the game's window, whose display lies at `origin` of the
    // window; answers whether it was one for the widgets (mouse events inside
    // the display, keys and characters).
    bool HandleEvent(const qv::Event& e, qv::Point origin = {});

    // ---- Frames
    // Runs one frame of the builder (laying out and answering the input fed
    // since the last one).
    void Frame();
    // Runs frames until the layout stands (windows that size themselves take
    // a frame to measure).
    void Settle();
    // Draws the last frame into `target` with the display's corner at `at`;
    // answers the number of pixels written.
    size_t Draw(qv::Surface& target, qv::Point at = {}) const;
    int FrameCount() const { return m_iFrames; }

    // ---- What the builder asks
    // Runs `action` once the frame is over: what opens a dialog of its own or
    // changes the world is done outside the widgets' frame.
    void Later(std::function<void()> action) { m_Later.push_back(std::move(action)); }
    // True in the frame that a double click's second press was fed to.
    bool DoubleClicked() const { return m_bDoubleClickFrame; }
    // Keeps the rectangle of the item just made under `name` (widgets, dialog
    // windows), so that tests and pictures find it.
    void Remember(const std::string& name);
    // The rectangle kept under `name` in the last frame that made it.
    std::optional<qv::Rect> Where(const std::string& name) const;
    // How many names starting with `prefix` the last frame made.
    int CountMade(const std::string& prefix) const;
    // Whether the widgets want the mouse or the keys (a field being typed in).
    bool WantsMouse() const;
    bool WantsKeys() const;

    // ---- Driving the widgets as a person would (tests, pictures)
    // Moves there and clicks the left button; false when `name` is unknown.
    void ClickAt(qv::Point p);
    bool Click(const std::string& name);
    void DoubleClickAt(qv::Point p);
    bool DoubleClick(const std::string& name);
    // Types the text, character by character.
    void Type(const std::string& text);
    // Presses and lets go a key.
    void Press(int vk);
    // Clicks into the named field, empties it and types `text`.
    bool Fill(const std::string& name, const std::string& text);

    static constexpr float kFrameSeconds = 1.0f / 60;    // game time does not pass here
    static constexpr uint32_t kDialogGrey = 0xFFC0C0C0;  // the dialogs' face, 0xAABBGGRR

private:
    // Makes this context current for the call's length.
    class Current;
    // The frame that takes an input, and one that shows what it did.
    void Answer();
    void RunFrame(float seconds);
    static constexpr float kShowingSeconds = 1.0f / 60000;
    ImGuiContext* m_pContext = nullptr;
    qv::Point m_Size;
    std::function<void()> m_Builder;
    int m_iFrames = 0;
    bool m_bDoubleClickFrame = false;
    bool m_bDoubleClickPending = false;
    std::map<std::string, qv::Rect> m_Rects, m_RectsBuilding;
    std::vector<std::function<void()>> m_Later;
    std::vector<std::string> m_LastFrameNames;
    // The font's alpha texels, kept with their size.
    std::vector<uint8_t> m_FontTexels;
    int m_iFontWidth = 0, m_iFontHeight = 0;
};
