#include "editor/LandTreeDlg.h"

#include <imgui.h>

#include "play/Order.h"
#include "play/Play.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

void Walk(const LandGraph* node, int depth, std::vector<CLandTreeDlg::Line>& lines) {
    if (!node) return;
    if (node->info) lines.push_back({depth, node->info->landname, node->info->filename});
    for (const auto& child : node->children) Walk(child.get(), depth + 1, lines);
}

}  // namespace

CLandTreeDlg::CLandTreeDlg(Play& play) : CPropertyDialog(play, "Lands", {420, 340}) {}

CLandTreeDlg::~CLandTreeDlg() = default;

std::vector<CLandTreeDlg::Line> CLandTreeDlg::Lines() const {
    std::vector<Line> lines;
    if (const MapMaster* map = m_Play.m_World.map_master.get()) Walk(map->landgraph, 0, lines);
    return lines;
}

bool CLandTreeDlg::Remove(size_t line) {
    const std::vector<Line> lines = Lines();
    if (line >= lines.size()) return Refused("Choose a land to remove.");
    if (lines[line].depth == 0) return Refused("The world's own land holds every other.");
    Order order = Order::Of(Order::Kind::RemoveLand);
    order.text = lines[line].file;
    m_iSelected = -1;
    return m_Play.Give(order) == 1;
}

CAddLandDlg& CLandTreeDlg::OpenAddLand() {
    m_pAddLand = std::make_unique<CAddLandDlg>(m_Play);
    return *m_pAddLand;
}

CModifyLandDlg* CLandTreeDlg::OpenModifyLand(size_t line) {
    const std::vector<Line> lines = Lines();
    if (line >= lines.size()) {
        Refused("Choose a land to modify.");
        return nullptr;
    }
    LandInfo* info = m_Play.Editor().FindLandInfo(lines[line].file);
    if (!info || !info->land) {
        Refused("\"" + lines[line].name + "\" is not in memory: go near it first.");
        return nullptr;
    }
    m_pModifyLand = std::make_unique<CModifyLandDlg>(m_Play, *info->land);
    return m_pModifyLand.get();
}

void CLandTreeDlg::DrawFields() {
    const std::vector<Line> lines = Lines();
    if (ImGui::BeginListBox("##lands")) {
        for (size_t i = 0; i < lines.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            ImGui::Indent(static_cast<float>(lines[i].depth) * 12.0f + 1.0f);
            const std::string text = lines[i].name + "  (" + lines[i].file + ")";
            if (ImGui::Selectable(text.c_str(), m_iSelected == static_cast<int>(i)))
                m_iSelected = static_cast<int>(i);
            ImGui::Unindent(static_cast<float>(lines[i].depth) * 12.0f + 1.0f);
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    if (ImGui::Button("Add Land"))
        Later([this] {
            m_Run(OpenAddLand());
            m_pAddLand.reset();
        });
    ImGui::SameLine();
    if (ImGui::Button("Remove") && m_iSelected >= 0) Remove(static_cast<size_t>(m_iSelected));
    ImGui::SameLine();
    if (ImGui::Button("Modify") && m_iSelected >= 0)
        Later([this] {
            if (CModifyLandDlg* dlg = OpenModifyLand(static_cast<size_t>(m_iSelected))) m_Run(*dlg);
            m_pModifyLand.reset();
        });
}
