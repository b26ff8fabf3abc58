#include "editor/ContainerDlg.h"

#include <imgui.h>

#include "items/Container.h"
#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/World.h"

CContainerDlg::CContainerDlg(Play& play, Container& container)
    : CPropertyDialog(play, "Container", {420, 400}), m_pContainer(&container) {
    m_bLocked = container.m_bLocked;
    if (auto* barrel = qv::DynamicCast<Barrel>(&container)) {
        m_bIsBarrel = true;
        m_bRainBarrel = barrel->m_bRainBarrel;
    }
}

CContainerDlg::~CContainerDlg() = default;

Container* CContainerDlg::Target() const {
    return qv::DynamicCast<Container>(m_pContainer.Get());
}

std::vector<std::string> CContainerDlg::ItemLines() const {
    std::vector<std::string> lines;
    Container* container = Target();
    const auto* items = container ? container->GetItemList() : nullptr;
    if (!items) return lines;
    for (const auto& item : *items)
        lines.push_back(item->m_iBulkNum > 1 ? qv::Format("%s (%d)", item->m_strSpecialName.c_str(),
                                                          item->m_iBulkNum)
                                             : item->m_strSpecialName);
    return lines;
}

bool CContainerDlg::Add(CatalogueList list, size_t index) {
    Container* container = Target();
    if (!container) return Refused("The container is gone.");
    std::unique_ptr<Object> item = m_Play.m_World.m_Catalogue.CloneOf(list, index);
    if (!item) return Refused("There is no such thing to add.");
    Order order = Order::Of(Order::Kind::AddItem);
    order.object = item.get();
    order.into = container;
    if (m_Play.Give(order) != 1) return Refused("The container has no room for it.");
    (void)item.release();  // the container's bag holds it now
    return true;
}

bool CContainerDlg::Delete(size_t line) {
    Container* container = Target();
    const auto* items = container ? container->GetItemList() : nullptr;
    if (!items || line >= items->size()) return Refused("Choose a thing to delete.");
    Order order = Order::Of(Order::Kind::DeleteItem);
    order.object = (*items)[line].get();
    order.into = container;
    if (m_Play.Give(order) != 1) return false;
    m_iSelected = -1;
    return true;
}

CObjectPropertiesDlg& CContainerDlg::OpenObjectProperties() {
    m_pObjectProperties = std::make_unique<CObjectPropertiesDlg>(m_Play, *Target());
    return *m_pObjectProperties;
}

bool CContainerDlg::Validate() {
    Container* container = Target();
    if (!container) return Refused("The container is gone.");
    if (!Allows(container, Play::Property::kLocked, m_bLocked)) return false;
    if (m_bIsBarrel && !Allows(container, Play::Property::kRainBarrel, m_bRainBarrel)) return false;
    return true;
}

void CContainerDlg::Apply() {
    Container* container = Target();
    if (!container) return;
    Set(container, Play::Property::kLocked, m_bLocked);
    if (m_bIsBarrel) Set(container, Play::Property::kRainBarrel, m_bRainBarrel);
}

void CContainerDlg::DrawFields() {
    ImGui::TextUnformatted("Items in Container");
    ListField("##items", ItemLines(), &m_iSelected);
    CatalogueField(&m_iAddList, &m_iAddEntry);
    if (ImGui::Button("Add"))
        Add(static_cast<CatalogueList>(m_iAddList), static_cast<size_t>(m_iAddEntry));
    ImGui::SameLine();
    if (ImGui::Button("Delete") && m_iSelected >= 0) Delete(static_cast<size_t>(m_iSelected));
    FlagField("Locked", &m_bLocked);
    if (m_bIsBarrel) FlagField("Rain Barrel", &m_bRainBarrel);
    if (ImGui::Button("Obj. Prop."))
        Later([this] {
            m_Run(OpenObjectProperties());
            m_pObjectProperties.reset();
        });
}
