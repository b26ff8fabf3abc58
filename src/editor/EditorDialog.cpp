#include "editor/EditorDialog.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <cctype>

#include "platform/Message.h"

namespace {
constexpr int kScreenWidth = 640, kScreenHeight = 480;
}

CEditorDialog::CEditorDialog(const std::string& title, qv::Point size, CDDWnd* parent)
    : CDDWnd(parent), m_strTitle(title), m_Gui(size) {
    const int left = (kScreenWidth - size.x) / 2, top = (kScreenHeight - size.y) / 2;
    m_rcWindow = {left, top, left + size.x, top + size.y};
    m_Gui.SetBuilder([this] {
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(
            ImVec2(static_cast<float>(m_Gui.Size().x), static_cast<float>(m_Gui.Size().y)));
        ImGui::Begin(m_strTitle.c_str(), nullptr,
                     ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize |
                         ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings);
        BuildWidgets();
        ImGui::End();
    });
}

CEditorDialog::~CEditorDialog() = default;

void CEditorDialog::Open() {
    EndPopup(0);
    // Open as Popup would, without its loop.
    m_Gui.Settle();
}

int CEditorDialog::Popup() {
    m_Gui.Settle();
    return CDDWnd::Popup();
}

void CEditorDialog::OkCancelButtons() {
    ImGui::Separator();
    if (ImGui::Button("OK", ImVec2(80, 0)) && OnOK()) EndPopup(IDOK);
    m_Gui.Remember("OK");
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(80, 0))) OnCancel();
    m_Gui.Remember("Cancel");
}

bool CEditorDialog::ReadNumber(const std::string& text, int64_t low, int64_t high, int64_t& out) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    // Saturates far past any range a dialog asks for: a long row of digits
    // is simply out of range.
    constexpr int64_t kCap = int64_t{1} << 40;
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), kCap);
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    if (negative) value = -value;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

void CEditorDialog::TextField(const char* label, std::string& text) {
    ImGui::InputText(label, &text);
    m_Gui.Remember(label);
}

void CEditorDialog::Refuse(const std::string& message) {
    qv::ShowMessage(message, qv::MessageButtons::Ok);
}

qv::Surface CEditorDialog::Picture() {
    qv::Surface s(m_Gui.Size().x, m_Gui.Size().y);
    m_Gui.Frame();
    m_Gui.Draw(s);
    return s;
}

void CEditorDialog::Paint(qv::Surface* surface) {
    if (!surface) return;
    m_Gui.Draw(*surface, {m_rcWindow.left, m_rcWindow.top});
}

void CEditorDialog::Feed(const qv::Event& e) {
    m_Gui.HandleEvent(e, {m_rcWindow.left, m_rcWindow.top});
    if (IsOpen()) Redraw();
}

void CEditorDialog::OnKeyDown(int vk) {
    // Esc cancels, unless a field is being typed in.
    if (vk == qv::VK_ESCAPE && !m_Gui.WantsKeys()) {
        OnCancel();
        return;
    }
    Feed(qv::Event::Key(true, vk));
}

void CEditorDialog::OnKeyUp(int vk) {
    Feed(qv::Event::Key(false, vk));
}

void CEditorDialog::OnChar(int ch) {
    Feed({qv::EventKind::Char, ch, {}});
}

void CEditorDialog::OnLButtonDown(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::LButtonDown, p.x, p.y));
}

void CEditorDialog::OnLButtonUp(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::LButtonUp, p.x, p.y));
}

void CEditorDialog::OnLButtonDblClk(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::LButtonDblClk, p.x, p.y));
}

void CEditorDialog::OnRButtonDown(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::RButtonDown, p.x, p.y));
}

void CEditorDialog::OnRButtonUp(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::RButtonUp, p.x, p.y));
}

void CEditorDialog::OnMouseMove(qv::Point p) {
    Feed(qv::Event::Mouse(qv::EventKind::MouseMove, p.x, p.y));
}
