#include "editor/PropertyDialog.h"

#include <imgui.h>

#include <utility>

#include "creatures/Species.h"
#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/Land.h"
#include "world/Object.h"
#include "world/World.h"

namespace {

// What the picture's choice shows for none.
constexpr const char* kNoPicture = "(none)";

// The catalogue lists whose things can be carried or lie in a container.
constexpr CatalogueList kItemLists[] = {CatalogueList::Weapons, CatalogueList::Armour,
                                        CatalogueList::Magic, CatalogueList::Misc};

}  // namespace

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
    const std::optional<Play::Limits> limits = m_Play.Editor().PropertyLimits(object, property);
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

void CPropertyDialog::CatalogueField(int* list, int* entry) {
    if (ImGui::BeginCombo("List", ObjectCatalogue::Label(static_cast<CatalogueList>(*list)))) {
        for (CatalogueList each : kItemLists)
            if (ImGui::Selectable(ObjectCatalogue::Label(each), *list == static_cast<int>(each)))
                *list = static_cast<int>(each), *entry = 0;
        ImGui::EndCombo();
    }
    const auto& entries = m_Play.m_World.m_Catalogue.Get(static_cast<CatalogueList>(*list));
    const char* chosen = static_cast<size_t>(*entry) < entries.size()
                             ? entries[static_cast<size_t>(*entry)]->m_strSpecialName.c_str()
                             : "";
    if (ImGui::BeginCombo("Thing", chosen)) {
        for (size_t i = 0; i < entries.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            if (ImGui::Selectable(entries[i]->m_strSpecialName.c_str(),
                                  *entry == static_cast<int>(i)))
                *entry = static_cast<int>(i);
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
}

void CPropertyDialog::PictureField(std::string& picture) {
    if (!m_Pictures) {
        m_Pictures = Land::PictureChoices();
        m_Pictures->insert(m_Pictures->begin(), std::string());  // none
    }
    if (ImGui::BeginCombo("Picture", picture.empty() ? kNoPicture : picture.c_str())) {
        for (const std::string& name : *m_Pictures)
            if (ImGui::Selectable(name.empty() ? kNoPicture : name.c_str(), name == picture))
                picture = name;
        ImGui::EndCombo();
    }
    Gui().Remember("Picture");
}

bool CPropertyDialog::PictureLoads(const std::string& picture) {
    const std::string why = Land::PictureRefusal(picture);
    return why.empty() || Refused(why);
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
