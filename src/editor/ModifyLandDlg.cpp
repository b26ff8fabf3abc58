#include "editor/ModifyLandDlg.h"

#include <imgui.h>

#include <memory>

#include "creatures/Player.h"
#include "creatures/Species.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/RandomEncounter.h"

std::string PictureNameRefused(const std::string& name) {
    return "The picture needs a plain file name of the Images folder, such as \"Island.bmp\": \"" +
           name + "\" is refused.";
}

CModifyLandDlg::CModifyLandDlg(Play& play, Land& land)
    : CPropertyDialog(play, "Modify Land", {420, 470}), m_pLand(&land) {
    m_strPicture = land.bitmapname;
    m_iTerrain = land.terraincode;
    m_iOriginX = land.origin.x;
    m_iOriginY = land.origin.y;
    m_iTune = land.tune;
    m_iCombatTune = land.combattune;
    m_bSunlight = land.sunlight;
    m_iLightLevel = land.lightlevel;
    m_bAmbient = land.ambient;
}

Land* CModifyLandDlg::Target() const {
    return qv::DynamicCast<Land>(m_pLand.Get());
}

std::vector<CModifyLandDlg::Field> CModifyLandDlg::Fields() const {
    using P = Play::Property;
    Land* land = Target();
    if (!land) return {};
    auto* self = const_cast<CModifyLandDlg*>(this);
    return {{P::kTerrain, &self->m_iTerrain, land->terraincode},
            {P::kOriginX, &self->m_iOriginX, land->origin.x},
            {P::kOriginY, &self->m_iOriginY, land->origin.y},
            {P::kTune, &self->m_iTune, land->tune},
            {P::kCombatTune, &self->m_iCombatTune, land->combattune},
            {P::kSunlight, &self->m_bSunlight, land->sunlight},
            {P::kLightLevel, &self->m_iLightLevel, land->lightlevel},
            {P::kAmbient, &self->m_bAmbient, land->ambient}};
}

bool CModifyLandDlg::Validate() {
    Land* land = Target();
    if (!land) return Refused("The land is not in memory any more.");
    if (m_strPicture != land->bitmapname) {
        if (!Land::IsPictureName(m_strPicture)) return Refused(PictureNameRefused(m_strPicture));
        if (!m_strPicture.empty() && !PictureLoads(m_strPicture)) return false;
    }
    return AllowsChanged(land, Fields());
}

void CModifyLandDlg::Apply() {
    Land* land = Target();
    if (!land) return;
    // The picture first: the origin places it.
    if (m_strPicture != land->bitmapname && !SetText(land, Play::Property::kPicture, m_strPicture))
        Refused("The picture \"" + m_strPicture + "\" cannot be loaded; the old one stays.");
    SetChanged(land, Fields());
}

RandomEncounter* CModifyLandDlg::Encounter(size_t line) const {
    Land* land = Target();
    return land && line < land->encounters.size() ? land->encounters[line].get() : nullptr;
}

std::vector<std::string> CModifyLandDlg::EncounterLines() const {
    std::vector<std::string> lines;
    if (Land* land = Target())
        for (const auto& e : land->encounters) lines.push_back(e->GetDisplayName());
    return lines;
}

bool CModifyLandDlg::AddEncounter(size_t species, int32_t count, int32_t time) {
    Land* land = Target();
    const auto table = SpeciesTable();
    if (!land) return Refused("The land is not in memory any more.");
    if (species >= table.size()) return Refused("Choose a species.");
    if (count < 1 || count > kMaxEncounterCreatures)
        return Refused(qv::Format("\"Creatures\" must lie from 1 to %d: %d is refused.",
                                  kMaxEncounterCreatures, count));
    if (time < 1 || time > Editing::kMaxEncounterTime)
        return Refused(qv::Format("\"Time\" must lie from 1 to %d: %d is refused.",
                                  Editing::kMaxEncounterTime, time));
    // The group met is a template, kept whole with its creatures: copies of
    // it turn up, and its creatures fight whoever they meet.
    auto encounter = std::make_unique<RandomEncounter>();
    encounter->time = time;
    encounter->group = new Group("Group");
    encounter->group->SetName(table[species].displayName);
    encounter->group->m_bGrouped = 1;
    for (int32_t i = 0; i < count; ++i) {
        Player* creature = MakeSpeciesCreature(table[species]);
        if (!creature) return Refused("That species makes no creature.");
        creature->m_bGrouped = 1;
        creature->m_iActionOption = ActionOption::Attack;
        encounter->group->AddMemberDirect(creature);
    }
    if (!AddItem(land, encounter.get())) return Refused("The encounter was not added.");
    (void)encounter.release();  // the land's now
    return true;
}

bool CModifyLandDlg::SetEncounterTime(size_t line, int32_t time) {
    RandomEncounter* encounter = Encounter(line);
    if (!encounter) return Refused("Choose an encounter.");
    return Allows(encounter, Play::Property::kEncounterTime, time) &&
           Set(encounter, Play::Property::kEncounterTime, time);
}

bool CModifyLandDlg::DeleteEncounter(size_t line) {
    RandomEncounter* encounter = Encounter(line);
    if (!encounter) return Refused("Choose an encounter.");
    m_iEncounter = -1;
    return DeleteItem(Target(), encounter);
}

namespace {
// The encounters' list shows this many at a time.
constexpr float kEncounterRowsShown = 3.5f;
}  // namespace

void CModifyLandDlg::DrawFields() {
    Land* land = Target();
    if (!land) return;
    ImGui::Text("%s", land->m_strSpecialName.c_str());
    ImGui::Text("Bounds: (%d, %d) - (%d, %d)", land->bounds.left, land->bounds.top,
                land->bounds.right, land->bounds.bottom);
    PictureField(m_strPicture);
    IntField("Origin X", &m_iOriginX);
    IntField("Origin Y", &m_iOriginY);
    IntField("Terrain Code", &m_iTerrain);
    IntField("Tune", &m_iTune);
    IntField("Combat Tune", &m_iCombatTune);
    FlagField("Light Follows the Hour", &m_bSunlight);
    IntField("Light Level", &m_iLightLevel);
    FlagField("Ambient Sounds", &m_bAmbient);
    ImGui::Text("Encounters: %d, one every %.0f", static_cast<int>(land->encounters.size()),
                land->encounterinterval);
    ListField("##encounters", EncounterLines(), &m_iEncounter, kEncounterRowsShown);
    SpeciesField(&m_iSpecies);
    IntField("Creatures", &m_iEncounterCount);
    IntField("Time", &m_iEncounterTime);
    const auto chosen = static_cast<size_t>(m_iEncounter);
    if (ImGui::Button("Add"))
        AddEncounter(static_cast<size_t>(m_iSpecies), m_iEncounterCount, m_iEncounterTime);
    ImGui::SameLine();
    if (ImGui::Button("Set Time") && m_iEncounter >= 0) SetEncounterTime(chosen, m_iEncounterTime);
    ImGui::SameLine();
    if (ImGui::Button("Delete") && m_iEncounter >= 0) DeleteEncounter(chosen);
}
