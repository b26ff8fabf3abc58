#include "editor/KeyListDlg.h"

#include <imgui.h>

#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/KeyStorage.h"
#include "world/Object.h"
#include "world/World.h"

CKeyListDlg::CKeyListDlg(Play& play, Object* chosen)
    : CPropertyDialog(play, "Key List", {400, 340}), m_pChosen(chosen) {}

CKeyListDlg::~CKeyListDlg() = default;

std::vector<CKeyListDlg::Line> CKeyListDlg::Lines() const {
    std::vector<Line> lines;
    for (const auto& record : m_Play.m_World.m_KeyStorageList) {
        lines.push_back(
            {qv::Format("Key %d: %s", record->m_iKeyNum, record->m_strName.c_str()), nullptr});
        for (const auto& listed : record->m_ObjectList)
            if (Object* object = listed.Get())
                lines.push_back({"    " + object->m_strSpecialName, object});
    }
    return lines;
}

bool CKeyListDlg::Remove(size_t line) {
    const std::vector<Line> lines = Lines();
    if (line >= lines.size() || !lines[line].object) return Refused("Choose a thing to remove.");
    Order order = Order::Of(Order::Kind::RemoveKey);
    order.object = lines[line].object;
    m_iSelected = -1;
    return m_Play.Give(order) == 1;
}

CAddKeyDlg* CKeyListDlg::OpenAddKey() {
    if (!m_pChosen) return nullptr;
    m_pAddKey = std::make_unique<CAddKeyDlg>(m_Play, *m_pChosen.Get());
    return m_pAddKey.get();
}

void CKeyListDlg::DrawFields() {
    const std::vector<Line> lines = Lines();
    if (ImGui::BeginListBox("##keys")) {
        for (size_t i = 0; i < lines.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            if (ImGui::Selectable(lines[i].text.c_str(), m_iSelected == static_cast<int>(i)))
                m_iSelected = static_cast<int>(i);
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    if (m_pChosen && ImGui::Button("Add"))
        Later([this] {
            if (CAddKeyDlg* add = OpenAddKey()) m_Run(*add);
            m_pAddKey.reset();
        });
    ImGui::SameLine();
    if (ImGui::Button("Remove") && m_iSelected >= 0) Remove(static_cast<size_t>(m_iSelected));
}
