#include "editor/EditorGui.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "platform/Raster.h"

class EditorGui::Current {
public:
    explicit Current(ImGuiContext* context) : m_previous(ImGui::GetCurrentContext()) {
        ImGui::SetCurrentContext(context);
    }
    ~Current() { ImGui::SetCurrentContext(m_previous); }
    Current(const Current&) = delete;
    Current& operator=(const Current&) = delete;

private:
    ImGuiContext* m_previous;
};

namespace {

// The keys the widgets use, by their virtual-key numbers.
void MapKeys(ImGuiIO& io) {
    io.KeyMap[ImGuiKey_Tab] = qv::VK_TAB;
    io.KeyMap[ImGuiKey_LeftArrow] = qv::VK_LEFT;
    io.KeyMap[ImGuiKey_RightArrow] = qv::VK_RIGHT;
    io.KeyMap[ImGuiKey_UpArrow] = qv::VK_UP;
    io.KeyMap[ImGuiKey_DownArrow] = qv::VK_DOWN;
    io.KeyMap[ImGuiKey_PageUp] = qv::VK_PRIOR;
    io.KeyMap[ImGuiKey_PageDown] = qv::VK_NEXT;
    io.KeyMap[ImGuiKey_Home] = qv::VK_HOME;
    io.KeyMap[ImGuiKey_End] = qv::VK_END;
    io.KeyMap[ImGuiKey_Insert] = qv::VK_INSERT;
    io.KeyMap[ImGuiKey_Delete] = qv::VK_DELETE;
    io.KeyMap[ImGuiKey_Backspace] = qv::VK_BACK;
    io.KeyMap[ImGuiKey_Space] = qv::VK_SPACE;
    io.KeyMap[ImGuiKey_Enter] = qv::VK_RETURN;
    io.KeyMap[ImGuiKey_Escape] = qv::VK_ESCAPE;
    io.KeyMap[ImGuiKey_A] = 'A';
    io.KeyMap[ImGuiKey_C] = 'C';
    io.KeyMap[ImGuiKey_V] = 'V';
    io.KeyMap[ImGuiKey_X] = 'X';
    io.KeyMap[ImGuiKey_Y] = 'Y';
    io.KeyMap[ImGuiKey_Z] = 'Z';
}

// Plain dialogs on the grey face the game's dialogs have always had.
void DialogStyle() {
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    // Hard edges: the 5-6-5 screen shows no soft ones.
    style.AntiAliasedLines = false;
    style.AntiAliasedLinesUseTex = false;
    style.AntiAliasedFill = false;
    style.WindowRounding = 0;
    style.FrameRounding = 0;
    style.WindowBorderSize = 1;
    style.FrameBorderSize = 1;
    style.Colors[ImGuiCol_WindowBg] = ImGui::ColorConvertU32ToFloat4(EditorGui::kDialogGrey);
    style.Colors[ImGuiCol_PopupBg] = ImGui::ColorConvertU32ToFloat4(EditorGui::kDialogGrey);
    style.Colors[ImGuiCol_ChildBg] = ImVec4(1, 1, 1, 1);
    style.Colors[ImGuiCol_FrameBg] = ImVec4(1, 1, 1, 1);
    // Title bars light enough for the black text on them.
    style.Colors[ImGuiCol_TitleBgActive] = ImVec4(0.55f, 0.7f, 0.95f, 1);
    style.Colors[ImGuiCol_TitleBg] = ImVec4(0.55f, 0.7f, 0.95f, 1);
    style.Colors[ImGuiCol_Border] = ImVec4(0.25f, 0.25f, 0.25f, 1);
    style.Colors[ImGuiCol_Text] = ImVec4(0, 0, 0, 1);
}

}  // namespace

EditorGui::EditorGui(qv::Point size) : m_Size(size) {
    ImGuiContext* previous = ImGui::GetCurrentContext();
    m_pContext = ImGui::CreateContext();
    ImGui::SetCurrentContext(m_pContext);
    ImGuiIO& io = ImGui::GetIO();
    // Nothing is read from or written to files: the layout is the code's.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.DisplaySize = ImVec2(static_cast<float>(size.x), static_cast<float>(size.y));
    io.DeltaTime = kFrameSeconds;
    io.ConfigInputTextCursorBlink = false;
    io.ConfigWindowsMoveFromTitleBarOnly = true;
    MapKeys(io);
    DialogStyle();
    // ImGui's own built-in font, as alpha texels the rasteriser reads.
    unsigned char* texels = nullptr;
    io.Fonts->GetTexDataAsAlpha8(&texels, &m_iFontWidth, &m_iFontHeight);
    m_FontTexels.assign(texels, texels + static_cast<size_t>(m_iFontWidth) * m_iFontHeight);
    io.Fonts->ClearTexData();
    io.Fonts->SetTexID(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(1)));
    ImGui::SetCurrentContext(previous);
}

EditorGui::~EditorGui() {
    ImGuiContext* previous = ImGui::GetCurrentContext();
    ImGui::DestroyContext(m_pContext);
    if (previous != m_pContext) ImGui::SetCurrentContext(previous);
}

void EditorGui::Frame() {
    RunFrame(kFrameSeconds);
}

void EditorGui::Answer() {
    RunFrame(kFrameSeconds);
    // A widget answers its input in the frame that saw it, after it was laid
    // out: a frame without new input lays it out as it now is, so that what
    // is drawn shows what the input did. It takes next to no time, so that
    // a held button is not held longer by it.
    RunFrame(kShowingSeconds);
}

void EditorGui::RunFrame(float seconds) {
    {
        Current current(m_pContext);
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = seconds;
        m_bDoubleClickFrame = m_bDoubleClickPending;
        m_bDoubleClickPending = false;
        m_RectsBuilding.clear();
        ImGui::NewFrame();
        if (m_Builder) m_Builder();
        ImGui::Render();
        // What this frame made replaces what the last one made under the
        // same names; names this frame did not make keep their last place.
        for (auto& [name, rect] : m_RectsBuilding) m_Rects[name] = rect;
        m_LastFrameNames.clear();
        for (auto& [name, rect] : m_RectsBuilding) m_LastFrameNames.push_back(name);
        m_bDoubleClickFrame = false;
        ++m_iFrames;
    }
    // The frame is over (and no context of ours is current): what it asked
    // for is done now, in order.
    std::vector<std::function<void()>> actions;
    actions.swap(m_Later);
    for (auto& action : actions) action();
}

void EditorGui::Settle() {
    for (int i = 0; i < 3; ++i) Frame();
}

void EditorGui::MouseMove(qv::Point p) {
    {
        Current current(m_pContext);
        ImGui::GetIO().MousePos = ImVec2(static_cast<float>(p.x), static_cast<float>(p.y));
    }
    Answer();
}

void EditorGui::MouseButton(int button, bool down) {
    if (button < 0 || button > 1) return;
    {
        Current current(m_pContext);
        ImGui::GetIO().MouseDown[button] = down;
    }
    Answer();
}

void EditorGui::MouseDoubleClick(qv::Point p) {
    {
        Current current(m_pContext);
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = ImVec2(static_cast<float>(p.x), static_cast<float>(p.y));
        io.MouseDown[0] = true;
    }
    m_bDoubleClickPending = true;
    Answer();
}

void EditorGui::Key(int vk, bool down) {
    {
        Current current(m_pContext);
        ImGuiIO& io = ImGui::GetIO();
        if (vk == qv::VK_CONTROL) io.KeyCtrl = down;
        if (vk == qv::VK_SHIFT) io.KeyShift = down;
        if (vk == qv::VK_MENU) io.KeyAlt = down;
        if (vk > 0 && vk < static_cast<int>(IM_ARRAYSIZE(io.KeysDown))) io.KeysDown[vk] = down;
    }
    Answer();
}

void EditorGui::Char(int ch) {
    if (ch < 32 || ch >= 127) return;
    {
        Current current(m_pContext);
        ImGui::GetIO().AddInputCharacter(static_cast<unsigned>(ch));
    }
    Answer();
}

bool EditorGui::HandleEvent(const qv::Event& e, qv::Point origin) {
    const qv::Point p{e.pt.x - origin.x, e.pt.y - origin.y};
    const bool inside = qv::Rect{0, 0, m_Size.x, m_Size.y}.Contains(p);
    switch (e.kind) {
        case qv::EventKind::MouseMove:
            MouseMove(p);
            return inside;
        case qv::EventKind::LButtonDown:
        case qv::EventKind::LButtonUp:
        case qv::EventKind::RButtonDown:
        case qv::EventKind::RButtonUp: {
            const bool left =
                e.kind == qv::EventKind::LButtonDown || e.kind == qv::EventKind::LButtonUp;
            const bool down =
                e.kind == qv::EventKind::LButtonDown || e.kind == qv::EventKind::RButtonDown;
            // A press outside the display is not the widgets'; its release
            // still is, so that no button stays held.
            if (down && !inside) return false;
            {
                Current current(m_pContext);
                ImGui::GetIO().MousePos = ImVec2(static_cast<float>(p.x), static_cast<float>(p.y));
            }
            MouseButton(left ? 0 : 1, down);
            return inside;
        }
        case qv::EventKind::LButtonDblClk:
            if (!inside) return false;
            MouseDoubleClick(p);
            return true;
        case qv::EventKind::KeyDown:
        case qv::EventKind::KeyUp:
            Key(e.code, e.kind == qv::EventKind::KeyDown);
            return true;
        case qv::EventKind::Char:
            Char(e.code);
            return true;
        default:
            return false;
    }
}

void EditorGui::Remember(const std::string& name) {
    if (ImGui::GetCurrentContext() != m_pContext) return;
    const ImVec2 min = ImGui::GetItemRectMin(), max = ImGui::GetItemRectMax();
    m_RectsBuilding[name] = {
        static_cast<int32_t>(std::floor(min.x)), static_cast<int32_t>(std::floor(min.y)),
        static_cast<int32_t>(std::ceil(max.x)), static_cast<int32_t>(std::ceil(max.y))};
}

std::optional<qv::Rect> EditorGui::Where(const std::string& name) const {
    auto it = m_Rects.find(name);
    if (it == m_Rects.end()) return std::nullopt;
    return it->second;
}

int EditorGui::CountMade(const std::string& prefix) const {
    int n = 0;
    for (const std::string& name : m_LastFrameNames) n += name.rfind(prefix, 0) == 0;
    return n;
}

bool EditorGui::WantsMouse() const {
    Current current(m_pContext);
    return ImGui::GetIO().WantCaptureMouse;
}

bool EditorGui::WantsKeys() const {
    Current current(m_pContext);
    return ImGui::GetIO().WantTextInput;
}

size_t EditorGui::Draw(qv::Surface& target, qv::Point at) const {
    Current current(m_pContext);
    const ImDrawData* data = ImGui::GetDrawData();
    if (!data || !data->Valid) return 0;
    const qv::RasterTexture font{m_iFontWidth, m_iFontHeight, m_FontTexels.data()};
    std::vector<qv::RasterVertex> vertices;
    std::vector<uint32_t> indices;
    size_t written = 0;
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        vertices.resize(static_cast<size_t>(list->VtxBuffer.Size));
        for (int i = 0; i < list->VtxBuffer.Size; ++i) {
            const ImDrawVert& v = list->VtxBuffer[i];
            vertices[static_cast<size_t>(i)] = {v.pos.x, v.pos.y, v.uv.x, v.uv.y, v.col};
        }
        for (const ImDrawCmd& cmd : list->CmdBuffer) {
            if (cmd.UserCallback || cmd.ElemCount == 0) continue;
            indices.resize(cmd.ElemCount);
            for (unsigned i = 0; i < cmd.ElemCount; ++i)
                indices[i] = cmd.VtxOffset + list->IdxBuffer[static_cast<int>(cmd.IdxOffset + i)];
            const qv::Rect clip{static_cast<int32_t>(std::floor(cmd.ClipRect.x)) + at.x,
                                static_cast<int32_t>(std::floor(cmd.ClipRect.y)) + at.y,
                                static_cast<int32_t>(std::ceil(cmd.ClipRect.z)) + at.x,
                                static_cast<int32_t>(std::ceil(cmd.ClipRect.w)) + at.y};
            written += qv::DrawTriangles(target, vertices.data(), vertices.size(), indices.data(),
                                         indices.size(), font, clip, at);
        }
    }
    return written;
}

// ---- Driving

void EditorGui::ClickAt(qv::Point p) {
    MouseMove(p);
    MouseButton(0, true);
    MouseButton(0, false);
    Frame();
}

namespace {
qv::Point Centre(const qv::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
}  // namespace

bool EditorGui::Click(const std::string& name) {
    const std::optional<qv::Rect> r = Where(name);
    if (!r) return false;
    ClickAt(Centre(*r));
    return true;
}

void EditorGui::DoubleClickAt(qv::Point p) {
    MouseMove(p);
    MouseButton(0, true);
    MouseButton(0, false);
    MouseDoubleClick(p);
    MouseButton(0, false);
    Frame();
}

bool EditorGui::DoubleClick(const std::string& name) {
    const std::optional<qv::Rect> r = Where(name);
    if (!r) return false;
    DoubleClickAt(Centre(*r));
    return true;
}

void EditorGui::Type(const std::string& text) {
    for (char c : text) Char(static_cast<unsigned char>(c));
}

void EditorGui::Press(int vk) {
    Key(vk, true);
    Key(vk, false);
}

bool EditorGui::Fill(const std::string& name, const std::string& text) {
    // A field's label stands right of it: click near its left edge.
    const std::optional<qv::Rect> r = Where(name);
    if (!r) return false;
    ClickAt({r->left + 4, (r->top + r->bottom) / 2});
    Key(qv::VK_CONTROL, true);
    Press('A');
    Key(qv::VK_CONTROL, false);
    Press(qv::VK_BACK);
    Type(text);
    Frame();
    return true;
}
