#include "editor/PlayerMovesDlg.h"

#include <imgui.h>

#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "play/Order.h"
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

namespace {

// The order that changes the creature's scripted moves.
Order MovesOrder(Object* creature, int32_t change, int32_t line, qv::Point cell = {}) {
    Order order = Order::At(Order::Kind::ScriptedMove, Position(cell.x, cell.y, 0));
    order.object = creature;
    order.mode = change;
    order.value = line;
    return order;
}

}  // namespace

CCoordinatesDlg& CPlayerMovesDlg::NewMove() {
    m_pCoordinates = std::make_unique<CCoordinatesDlg>(m_Play, 0, 0);
    m_pCoordinates->m_OnOk = [&play = m_Play, creature = m_pCreature](int32_t x, int32_t y) {
        play.Give(MovesOrder(creature.Get(), Editing::kMoveAdd, 0, {x, y}));
    };
    return *m_pCoordinates;
}

CCoordinatesDlg* CPlayerMovesDlg::EditMove(size_t line) {
    const Player* creature = Creature();
    if (!creature || line >= creature->m_MoveList.size()) return nullptr;
    const auto* move = qv::DynamicCast<PlayerMoveTo>(creature->m_MoveList[line].get());
    if (!move) return nullptr;  // only a move to a cell has a cell to edit
    m_pCoordinates = std::make_unique<CCoordinatesDlg>(m_Play, move->x, move->y);
    const auto at = static_cast<int32_t>(line);
    m_pCoordinates->m_OnOk = [&play = m_Play, creature = m_pCreature, at](int32_t x, int32_t y) {
        play.Give(MovesOrder(creature.Get(), Editing::kMoveSet, at, {x, y}));
    };
    return m_pCoordinates.get();
}

bool CPlayerMovesDlg::DeleteMove(size_t line) {
    Player* creature = Creature();
    if (!creature || line >= creature->m_MoveList.size()) return false;
    if (!m_Play.Give(MovesOrder(creature, Editing::kMoveDelete, static_cast<int32_t>(line))))
        return false;
    m_iSelected = -1;
    return true;
}

int CPlayerMovesDlg::RandomList() {
    Player* creature = Creature();
    if (!creature) return 0;
    return m_Play.Give(MovesOrder(creature, Editing::kMoveRandom, 0));
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
