#include "editor/MonsterCreatorDlg.h"

#include <imgui.h>

#include <memory>

#include "creatures/MonsterGenerator.h"
#include "creatures/Species.h"
#include "play/Play.h"
#include "world/Group.h"

CMonsterCreatorDlg::CMonsterCreatorDlg(Play& play, MonsterGenerator& generator)
    : CPropertyDialog(play, "Monster Creator", {400, 400}), m_pGenerator(&generator) {
    m_iMode = generator.m_iMode;
    m_iExitX = generator.m_iExitX;
    m_iExitY = generator.m_iExitY;
    m_iKeyNumber = generator.m_iKeyNumber;
    m_bSendParty = generator.m_bSendParty;
}

MonsterGenerator* CMonsterCreatorDlg::Target() const {
    return qv::DynamicCast<MonsterGenerator>(m_pGenerator.Get());
}

std::vector<CMonsterCreatorDlg::Field> CMonsterCreatorDlg::Fields() {
    using P = Play::Property;
    MonsterGenerator* g = Target();
    if (!g) return {};
    return {{P::kMode, &m_iMode, g->m_iMode},
            {P::kExitX, &m_iExitX, g->m_iExitX},
            {P::kExitY, &m_iExitY, g->m_iExitY},
            {P::kSignalKey, &m_iKeyNumber, g->m_iKeyNumber},
            {P::kSendParty, &m_bSendParty, g->m_bSendParty}};
}

std::vector<std::string> CMonsterCreatorDlg::TemplateLines() const {
    std::vector<std::string> lines;
    MonsterGenerator* g = Target();
    if (g && g->m_pTemplates)
        for (Member* member : g->m_pTemplates->Members()) lines.push_back(member->m_strSpecialName);
    return lines;
}

bool CMonsterCreatorDlg::AddTemplate(size_t species) {
    MonsterGenerator* g = Target();
    const auto table = SpeciesTable();
    if (!g || species >= table.size()) return Refused("Choose a species.");
    std::unique_ptr<Player> creature(MakeSpeciesCreature(table[species]));
    if (!creature) return Refused("That species makes no creature.");
    if (!AddItem(g, creature.get())) return Refused("The creature cannot be a template.");
    (void)creature.release();  // the templates' group holds it now
    return true;
}

bool CMonsterCreatorDlg::DeleteTemplate(size_t line) {
    MonsterGenerator* g = Target();
    if (!g || !g->m_pTemplates) return false;
    const auto& members = g->m_pTemplates->Members();
    if (line >= members.size()) return Refused("Choose a template to delete.");
    auto it = members.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(line));
    m_iSelected = -1;
    return DeleteItem(g, *it);
}

bool CMonsterCreatorDlg::Validate() {
    MonsterGenerator* g = Target();
    if (!g) return Refused("The generator is gone.");
    return AllowsChanged(g, Fields());
}

void CMonsterCreatorDlg::Apply() {
    MonsterGenerator* g = Target();
    if (!g) return;
    SetChanged(g, Fields());
}

void CMonsterCreatorDlg::DrawFields() {
    FlagField("Mode", &m_iMode);
    IntField("Exit X", &m_iExitX);
    IntField("Exit Y", &m_iExitY);
    IntField("Key Number", &m_iKeyNumber);
    FlagField("Send Party to Exit", &m_bSendParty);
    ImGui::TextUnformatted("Templates");
    ListField("##templates", TemplateLines(), &m_iSelected);
    SpeciesField(&m_iSpecies);
    if (ImGui::Button("Add")) AddTemplate(static_cast<size_t>(m_iSpecies));
    ImGui::SameLine();
    if (ImGui::Button("Delete") && m_iSelected >= 0)
        DeleteTemplate(static_cast<size_t>(m_iSelected));
}
