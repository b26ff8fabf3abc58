#include "editor/EditorDialog.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <utility>

#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/Object.h"

EditorDialog::EditorDialog(Play& play, std::string title)
    : m_Play(play), m_strTitle(std::move(title)) {}

EditorDialog::~EditorDialog() = default;

bool EditorDialog::Ok() {
    m_strMessage.clear();
    if (!Validate()) return false;
    Apply();
    m_iResult = kOk;
    return true;
}

bool EditorDialog::Refuse(const std::string& message) {
    m_strMessage = message;
    return false;
}

bool EditorDialog::Allows(Object* object, const char* property, int32_t value) {
    const std::optional<Play::Limits> limits = m_Play.PropertyLimits(object, property);
    if (!limits) return Refuse(qv::Format("\"%s\" cannot be set here.", property));
    if (limits->Allows(value)) return true;
    return Refuse(qv::Format("\"%s\" must lie from %d to %d: %d is refused.", property, limits->low,
                             limits->high, value));
}

bool EditorDialog::Set(Object* object, const char* property, int32_t value) {
    Order order = Order::Of(Order::Kind::SetProperty);
    order.object = object;
    order.name = property;
    order.value = value;
    return m_Play.Give(order) == 1;
}

bool EditorDialog::SetText(Object* object, const char* property, const std::string& text) {
    Order order = Order::Of(Order::Kind::SetProperty);
    order.object = object;
    order.name = property;
    order.text = text;
    return m_Play.Give(order) == 1;
}

void EditorDialog::IntField(const char* label, int32_t* value) {
    ImGui::InputInt(label, value, 1, 10);
}

void EditorDialog::FlagField(const char* label, int32_t* value) {
    bool on = *value != 0;
    if (ImGui::Checkbox(label, &on)) *value = on ? 1 : 0;
}

void EditorDialog::TextField(const char* label, std::string* value) {
    ImGui::InputText(label, value);
}

void EditorDialog::Draw() {
    if (m_iResult != kOpen) return;
    if (!ImGui::IsPopupOpen(m_strTitle.c_str())) ImGui::OpenPopup(m_strTitle.c_str());
    if (!ImGui::BeginPopupModal(m_strTitle.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize))
        return;
    DrawFields();
    if (!m_strMessage.empty()) {
        ImGui::Separator();
        ImGui::TextWrapped("%s", m_strMessage.c_str());
    }
    ImGui::Separator();
    if (ImGui::Button("OK")) Ok();
    ImGui::SameLine();
    if (ImGui::Button("Cancel")) Cancel();
    if (m_iResult != kOpen) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
}
