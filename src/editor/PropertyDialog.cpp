#include "editor/PropertyDialog.h"

#include <imgui.h>

#include <utility>

#include "creatures/Species.h"
#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/Object.h"

CPropertyDialog::CPropertyDialog(Play& play, const std::string& title, qv::Point size)
    : CEditorDialog(title, size), m_Play(play) {}

CPropertyDialog::~CPropertyDialog() = default;

bool CPropertyDialog::OnOK() {
    m_strMessage.clear();
    if (!Validate()) return false;
    Apply();
    return true;
}

bool CPropertyDialog::Ok() {
    if (!OnOK()) return false;
    EndPopup(IDOK);
    return true;
}

bool CPropertyDialog::Refused(const std::string& message) {
    m_strMessage = message;
    Refuse(message);
    return false;
}

bool CPropertyDialog::Allows(Object* object, const char* property, int32_t value) {
    const std::optional<Play::Limits> limits = m_Play.PropertyLimits(object, property);
    if (!limits) return Refused(qv::Format("\"%s\" cannot be set here.", property));
    if (limits->Allows(value)) return true;
    return Refused(qv::Format("\"%s\" must lie from %d to %d: %d is refused.", property,
                              limits->low, limits->high, value));
}

bool CPropertyDialog::Set(Object* object, const char* property, int32_t value) {
    Order order = Order::Of(Order::Kind::SetProperty);
    order.object = object;
    order.name = property;
    order.value = value;
    return m_Play.Give(order) == 1;
}

bool CPropertyDialog::SetText(Object* object, const char* property, const std::string& text) {
    Order order = Order::Of(Order::Kind::SetProperty);
    order.object = object;
    order.name = property;
    order.text = text;
    return m_Play.Give(order) == 1;
}

void CPropertyDialog::IntField(const char* label, int32_t* value) {
    ImGui::InputInt(label, value, 1, 10);
    Gui().Remember(label);
}

void CPropertyDialog::FlagField(const char* label, int32_t* value) {
    bool on = *value != 0;
    if (ImGui::Checkbox(label, &on)) *value = on ? 1 : 0;
    Gui().Remember(label);
}

bool CPropertyDialog::AllowsChanged(Object* object, const std::vector<Field>& fields) {
    for (const Field& f : fields)
        if (*f.value != f.old && !Allows(object, f.property, *f.value)) return false;
    return true;
}

void CPropertyDialog::SetChanged(Object* object, const std::vector<Field>& fields) {
    for (const Field& f : fields)
        if (*f.value != f.old) Set(object, f.property, *f.value);
}

void CPropertyDialog::ListField(const char* id, const std::vector<std::string>& lines,
                                int* selected, float rows) {
    const ImVec2 size(rows > 0 ? -1.0f : 0.0f, rows * ImGui::GetTextLineHeightWithSpacing());
    if (!ImGui::BeginListBox(id, size)) return;
    for (size_t i = 0; i < lines.size(); ++i) {
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::Selectable(lines[i].c_str(), *selected == static_cast<int>(i)))
            *selected = static_cast<int>(i);
        ImGui::PopID();
    }
    ImGui::EndListBox();
}

void CPropertyDialog::SpeciesField(int* species) {
    const auto table = SpeciesTable();
    const char* chosen =
        static_cast<size_t>(*species) < table.size() ? table[*species].displayName : "";
    if (ImGui::BeginCombo("Species", chosen)) {
        for (size_t i = 0; i < table.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            if (ImGui::Selectable(table[i].displayName, *species == static_cast<int>(i)))
                *species = static_cast<int>(i);
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
}

bool CPropertyDialog::AddItem(Object* into, Object* item) {
    Order order = Order::Of(Order::Kind::AddItem);
    order.object = item;
    order.into = into;
    return m_Play.Give(order) == 1;
}

bool CPropertyDialog::DeleteItem(Object* from, Object* item) {
    Order order = Order::Of(Order::Kind::DeleteItem);
    order.object = item;
    order.into = from;
    return m_Play.Give(order) == 1;
}

void CPropertyDialog::BuildWidgets() {
    DrawFields();
    if (!m_strMessage.empty()) {
        ImGui::Separator();
        ImGui::TextWrapped("%s", m_strMessage.c_str());
    }
    OkCancelButtons();
}
