#include "editor/PlayerMovesDlg.h"

#include <imgui.h>

#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "creatures/PlayerMoves.h"
#include "play/Play.h"
#include "world/Map.h"
#include "world/World.h"

CPlayerMovesDlg::CPlayerMovesDlg(Play& play, Player& creature)
    : CPropertyDialog(play, "List of Player Moves", {360, 300}), m_pCreature(&creature) {}

CPlayerMovesDlg::~CPlayerMovesDlg() = default;

Player* CPlayerMovesDlg::Creature() const {
    return qv::DynamicCast<Player>(m_pCreature.Get());
}

std::vector<std::string> CPlayerMovesDlg::Lines() const {
    std::vector<std::string> lines;
    if (Player* creature = Creature())
        for (const auto& move : creature->m_MoveList) {
            std::string text;
            move->Describe(text);
            lines.push_back(text);
        }
    return lines;
}

CCoordinatesDlg& CPlayerMovesDlg::NewMove() {
    m_pCoordinates = std::make_unique<CCoordinatesDlg>(m_Play, 0, 0);
    qv::Handle<Object> creature = m_pCreature;
    m_pCoordinates->m_OnOk = [creature](int32_t x, int32_t y) {
        if (auto* p = qv::DynamicCast<Player>(creature.Get())) p->AddScriptedMove(x, y);
    };
    return *m_pCoordinates;
}

CCoordinatesDlg* CPlayerMovesDlg::EditMove(size_t line) {
    Player* creature = Creature();
    if (!creature || line >= creature->m_MoveList.size()) return nullptr;
    auto* move = qv::DynamicCast<PlayerMoveTo>(creature->m_MoveList[line].get());
    if (!move) return nullptr;  // only a move to a cell has a cell to edit
    m_pCoordinates = std::make_unique<CCoordinatesDlg>(m_Play, move->x, move->y);
    qv::Handle<Object> handle = m_pCreature;
    m_pCoordinates->m_OnOk = [handle, line](int32_t x, int32_t y) {
        if (auto* p = qv::DynamicCast<Player>(handle.Get())) p->SetScriptedMove(line, x, y);
    };
    return m_pCoordinates.get();
}

bool CPlayerMovesDlg::DeleteMove(size_t line) {
    Player* creature = Creature();
    if (!creature || !creature->DeleteScriptedMove(line)) return false;
    m_iSelected = -1;
    return true;
}

int CPlayerMovesDlg::RandomList() {
    Player* creature = Creature();
    MapMaster* map = m_Play.m_World.map_master.get();
    if (!creature || !map) return 0;
    return AddRandomMoves(*creature, *map);
}

void CPlayerMovesDlg::DrawFields() {
    const std::vector<std::string> lines = Lines();
    ImGui::TextUnformatted("Available Moves");
    if (ImGui::BeginListBox("##moves")) {
        for (size_t i = 0; i < lines.size(); ++i) {
            ImGui::PushID(static_cast<int>(i));
            if (ImGui::Selectable(lines[i].c_str(), m_iSelected == static_cast<int>(i),
                                  ImGuiSelectableFlags_AllowDoubleClick)) {
                m_iSelected = static_cast<int>(i);
                if (ImGui::IsMouseDoubleClicked(0))
                    Later([this, i] {
                        if (CCoordinatesDlg* edit = EditMove(i)) m_Run(*edit);
                        m_pCoordinates.reset();
                    });
            }
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    if (ImGui::Button("New Move"))
        Later([this] {
            m_Run(NewMove());
            m_pCoordinates.reset();
        });
    ImGui::SameLine();
    if (ImGui::Button("Delete Move") && m_iSelected >= 0)
        DeleteMove(static_cast<size_t>(m_iSelected));
    ImGui::SameLine();
    if (ImGui::Button("Random List")) RandomList();
}
