#include "editor/PlayerPropertySheet.h"

#include <imgui.h>

#include <array>
#include <utility>

#include "creatures/Human.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "windows/CombatPrefsDlg.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// The six fighting choices in the pages' order, with the values their
// controls stand for (attack whom 4 has none, but a creature may hold it).
struct CombatChoice {
    const char* name;
    int32_t high;
};
constexpr std::array<CombatChoice, 6> kCombatChoices{{{"Mode of Combat", 1},
                                                      {"Attack Whom", 5},
                                                      {"Flee when Badly Wounded", 1},
                                                      {"Magic Use Priority", 2},
                                                      {"Attack Preference", 2},
                                                      {"Attack Method", 2}}};

}  // namespace

CPlayerPropertySheet::CPlayerPropertySheet(Play& play, Player& creature)
    : CPropertyDialog(play, "Creature Properties", {460, 440}), m_pCreature(&creature) {
    creature.FillPropertyPages(m_Pages);
}

CPlayerPropertySheet::~CPlayerPropertySheet() = default;

Player* CPlayerPropertySheet::Creature() const {
    return qv::DynamicCast<Player>(m_pCreature.Get());
}

bool CPlayerPropertySheet::Validate() {
    if (!Creature()) return Refused("The creature is gone.");
    for (size_t i = 0; i < kCombatChoices.size(); ++i)
        if (m_Pages.combat[i] < 0 || m_Pages.combat[i] > kCombatChoices[i].high)
            return Refused(qv::Format("\"%s\" must lie from 0 to %d: %d is refused.",
                                      kCombatChoices[i].name, kCombatChoices[i].high,
                                      m_Pages.combat[i]));
    if (const MapMaster* map = m_Play.m_World.map_master.get(); map && map->worldcellx > 0) {
        const int64_t w = int64_t{map->worldcellx} * MapMaster::CellWidth;
        const int64_t h = int64_t{map->worldcelly} * MapMaster::CellHeight;
        if (m_Pages.x < 0 || m_Pages.x >= w || m_Pages.y < 0 || m_Pages.y >= h)
            return Refused(qv::Format(
                "The place (%d, %d) lies outside the world of %lld x %lld "
                "pixels.",
                m_Pages.x, m_Pages.y, static_cast<long long>(w), static_cast<long long>(h)));
    }
    if (m_Pages.hasColourPage && !ValidColours()) return false;
    if (m_Pages.playerNumber < -1 || m_Pages.playerNumber > Player::kMaxPlayerNumber)
        return Refused(qv::Format("\"Player Number\" must lie from -1 to %d: %d is refused.",
                                  Player::kMaxPlayerNumber, m_Pages.playerNumber));
    return true;
}

bool CPlayerPropertySheet::ValidColours() {
    static const char* const kParts[] = {"red", "green", "blue"};
    struct Colour {
        const char* name;
        const std::array<int32_t, 3>& parts;
        int32_t low;
    };
    const Colour colours[] = {{"Hair", m_Pages.hair, -Human::kColourReach},
                              {"Shirt", m_Pages.shirt, Human::kLeastShirtColour},
                              {"Pants", m_Pages.pants, -Human::kColourReach}};
    for (const Colour& c : colours)
        for (size_t i = 0; i < c.parts.size(); ++i)
            if (c.parts[i] < c.low || c.parts[i] > Human::kColourReach)
                return Refused(qv::Format("The %s of \"%s\" must lie from %d to %d: %d is refused.",
                                          kParts[i], c.name, c.low, Human::kColourReach,
                                          c.parts[i]));
    return true;
}

void CPlayerPropertySheet::Apply() {
    Player* creature = Creature();
    if (!creature) return;
    const Position to{m_Pages.x, m_Pages.y, creature->m_Position.z};
    const bool moves = to.x != creature->m_Position.x || to.y != creature->m_Position.y;
    for (const Order& order : Editing::CreatureSheetOrders(creature, m_Pages)) m_Play.Give(order);
    if (moves && creature->m_pHolder) {
        Order order = Order::At(Order::Kind::Move, to);
        order.target = creature->m_pHolder;
        m_Play.Give(order);
    }
}

void CPlayerPropertySheet::ToCombatPreferences(CCombatPrefsDlg& dialog) const {
    dialog.m_iModeOfCombat = m_Pages.combat[0];
    dialog.m_iAttackWhom = m_Pages.combat[1];
    dialog.m_bFlee = m_Pages.combat[2];
    dialog.m_iMagicPriority = m_Pages.combat[3];
    dialog.m_iAttackPreference = m_Pages.combat[4];
    dialog.m_iAttackMethod = m_Pages.combat[5];
}

void CPlayerPropertySheet::FromCombatPreferences(const CCombatPrefsDlg& dialog) {
    m_Pages.combat = {dialog.m_iModeOfCombat,  dialog.m_iAttackWhom,       dialog.m_bFlee,
                      dialog.m_iMagicPriority, dialog.m_iAttackPreference, dialog.m_iAttackMethod};
}

int CPlayerPropertySheet::RunCombatPreferences() {
    CCombatPrefsDlg dialog(nullptr);
    ToCombatPreferences(dialog);
    const int result = dialog.Popup();
    if (result == 1) FromCombatPreferences(dialog);
    return result;
}

CPlayerMovesDlg& CPlayerPropertySheet::OpenMoves() {
    m_pMoves = std::make_unique<CPlayerMovesDlg>(m_Play, *Creature());
    return *m_pMoves;
}

std::vector<Object*> CPlayerPropertySheet::InUse() const {
    std::vector<Object*> things;
    if (Player* creature = Creature())
        for (const auto& used : creature->m_InUseList)
            if (used && !Player::IsNaturalItem(used.get())) things.push_back(used.get());
    return things;
}

std::vector<Object*> CPlayerPropertySheet::Carried() const {
    std::vector<Object*> things;
    if (Player* creature = Creature(); creature && creature->m_pBag)
        for (const auto& item : creature->m_pBag->Items()) things.push_back(item.get());
    return things;
}

bool CPlayerPropertySheet::ChangeEquipment(Order::Kind kind, Object* thing) {
    Player* creature = Creature();
    if (!creature) return Refused("The creature is gone.");
    if (!thing) return Refused("Choose a thing.");
    Order order = Order::Of(kind);
    order.object = thing;
    if (kind == Order::Kind::DeleteItem)
        order.into = creature;
    else
        order.actor = creature;
    return m_Play.Give(order) == 1 || Refused("The creature cannot do that with it.");
}

bool CPlayerPropertySheet::AddCarried(CatalogueList list, size_t index) {
    Player* creature = Creature();
    if (!creature) return Refused("The creature is gone.");
    std::unique_ptr<Object> item = m_Play.m_World.m_Catalogue.CloneOf(list, index);
    if (!item) return Refused("There is no such thing to add.");
    if (!AddItem(creature, item.get())) return false;
    (void)item.release();  // the creature's bag holds it now
    return true;
}

namespace {

std::vector<std::string> Names(const std::vector<Object*>& things) {
    std::vector<std::string> names;
    for (Object* thing : things)
        names.push_back(
            thing->m_iBulkNum > 1
                ? qv::Format("%s (%d)", thing->m_strSpecialName.c_str(), thing->m_iBulkNum)
                : thing->m_strSpecialName);
    return names;
}

Object* Chosen(const std::vector<Object*>& things, int line) {
    return line >= 0 && static_cast<size_t>(line) < things.size()
               ? things[static_cast<size_t>(line)]
               : nullptr;
}

}  // namespace

void CPlayerPropertySheet::DrawEquipment() {
    const std::vector<Object*> inUse = InUse();
    const std::vector<Object*> carried = Carried();
    ImGui::TextUnformatted("In Use");
    ListField("##inuse", Names(inUse), &m_iInUse, kListRows);
    if (ImGui::Button("Take Off"))
        ChangeEquipment(Order::Kind::Unequip, Chosen(inUse, m_iInUse)), m_iInUse = -1;
    ImGui::TextUnformatted("Carried");
    ListField("##carried", Names(carried), &m_iCarried, kListRows);
    if (ImGui::Button("Use"))
        ChangeEquipment(Order::Kind::Equip, Chosen(carried, m_iCarried)), m_iCarried = -1;
    ImGui::SameLine();
    if (ImGui::Button("Delete"))
        ChangeEquipment(Order::Kind::DeleteItem, Chosen(carried, m_iCarried)), m_iCarried = -1;
    CatalogueField(&m_iAddList, &m_iAddEntry);
    if (ImGui::Button("Add"))
        AddCarried(static_cast<CatalogueList>(m_iAddList), static_cast<size_t>(m_iAddEntry));
}

void CPlayerPropertySheet::DrawGeneral() {
    TextField("Name", m_Pages.specialName);
    IntField("Hit Points", &m_Pages.hitPoints);
    IntField("X", &m_Pages.x);
    IntField("Y", &m_Pages.y);
    FlagField("Can Be Named", &m_Pages.canName);
    IntField("Life State", &m_Pages.lifeState);
    IntField("Mana", &m_Pages.mana);
    IntField("Alertness", &m_Pages.alertness);
    FlagField("Hostile by Magic", &m_Pages.hostileByMagic);
    FlagField("Inactive", &m_Pages.inactive);
    FlagField("Ghost", &m_Pages.ghost);
    FlagField("Ethereal", &m_Pages.ethereal);
    IntField("Strength", &m_Pages.strength);
    IntField("Dexterity", &m_Pages.dexterity);
    IntField("Intelligence", &m_Pages.intelligence);
    IntField("Sex", &m_Pages.sex);
    IntField("Player Number", &m_Pages.playerNumber);
}

void CPlayerPropertySheet::DrawStats() {
    IntField("Speed", &m_Pages.speed);
    for (size_t pool = 0; pool < kPoolLabels.size(); ++pool) {
        ImGui::InputDouble(kPoolLabels[pool], &m_Pages.experience[pool]);
        Gui().Remember(kPoolLabels[pool]);
    }
}

std::vector<std::string> CPlayerPropertySheet::KnownSpellLines() const {
    std::vector<std::string> lines;
    Player* creature = Creature();
    if (creature && creature->m_pMagic)
        for (const auto& spell : creature->m_pMagic->m_SpellList)
            lines.push_back(spell->m_strSpecialName);
    return lines;
}

std::vector<std::string> CPlayerPropertySheet::CatalogueLines(CatalogueList list) const {
    std::vector<std::string> lines;
    for (const auto& entry : m_Play.m_World.m_Catalogue.Get(list))
        lines.push_back(entry->m_strSpecialName);
    return lines;
}

bool CPlayerPropertySheet::ChangeSpells(Order::Kind kind, int32_t index) {
    Player* creature = Creature();
    if (!creature) return Refused("The creature is gone.");
    Order order = Order::With(kind, index);
    order.object = creature;
    if (m_Play.Give(order) == 1) return true;
    return Refused(kind == Order::Kind::LearnSpell ? "Choose a spell the creature does not know."
                                                   : "Choose a spell the creature knows.");
}

void CPlayerPropertySheet::DrawSpells() {
    static const char* const kSchools[] = {"Fire", "Earth", "Air", "Water"};
    for (size_t s = 0; s < m_Pages.skills.size(); ++s)
        ImGui::InputFloat(kSchools[s], &m_Pages.skills[s]);
    ImGui::TextUnformatted("Known Spells");
    ListField("##known", KnownSpellLines(), &m_iKnownSpell, kListRows);
    if (ImGui::Button("Take") && ChangeSpells(Order::Kind::ForgetSpell, m_iKnownSpell))
        m_iKnownSpell = -1;
    Gui().Remember("Take");
    ImGui::TextUnformatted("All Spells");
    ListField("##spells", CatalogueLines(CatalogueList::Spells), &m_iCatalogueSpell, kListRows);
    if (ImGui::Button("Give")) ChangeSpells(Order::Kind::LearnSpell, m_iCatalogueSpell);
    Gui().Remember("Give");
}

void CPlayerPropertySheet::DrawBuildInfo() {
    IntField("Build Info", &m_Pages.buildInfoValue);
    IntField("Store Number", &m_Pages.storeNumber);
    TextField("Message Node", m_Pages.messageNode);
    TextField("Message File", m_Pages.messageFile);
    TextField("Death Node", m_Pages.deathNode);
    IntField("Action", &m_Pages.actionOption);
    FlagField("Attack Random Monsters", &m_Pages.attackRandomMonsters);
    IntField("Defence Cell X", &m_Pages.defenseCell.x);
    IntField("Defence Cell Y", &m_Pages.defenseCell.y);
    IntField("NPC Number", &m_Pages.npcNumber);
    FlagField("Stay", &m_Pages.stay);
    IntField("Stay Cell X", &m_Pages.stayCell.x);
    IntField("Stay Cell Y", &m_Pages.stayCell.y);
    if (ImGui::Button("Combat Preferences")) Later([this] { RunCombatPreferences(); });
    ImGui::SameLine();
    if (ImGui::Button("NPC Moves"))
        Later([this] {
            m_Run(OpenMoves());
            m_pMoves.reset();
        });
}

void CPlayerPropertySheet::DrawChatImage() {
    IntField("Portrait", &m_Pages.portrait);
    TextField("Portrait File", m_Pages.portraitFile);
}

void CPlayerPropertySheet::DrawColours() {
    // Red, green and blue side by side under each colour's name.
    ImGui::InputInt3("Hair", m_Pages.hair.data());
    Gui().Remember("Hair");
    ImGui::InputInt3("Shirt", m_Pages.shirt.data());
    Gui().Remember("Shirt");
    ImGui::InputInt3("Pants", m_Pages.pants.data());
    Gui().Remember("Pants");
}

void CPlayerPropertySheet::DrawFields() {
    if (!ImGui::BeginTabBar("pages")) return;
    using Page = void (CPlayerPropertySheet::*)();
    const std::pair<const char*, Page> pages[] = {
        {"General Info", &CPlayerPropertySheet::DrawGeneral},
        {"Stats", &CPlayerPropertySheet::DrawStats},
        {"Equipment", &CPlayerPropertySheet::DrawEquipment},
        {"Spells", &CPlayerPropertySheet::DrawSpells},
        {"Build Info", &CPlayerPropertySheet::DrawBuildInfo},
        {"Chat Image", &CPlayerPropertySheet::DrawChatImage},
        {"Human - Color", &CPlayerPropertySheet::DrawColours}};
    for (const auto& [name, draw] : pages) {
        // A human's colours only.
        if (draw == &CPlayerPropertySheet::DrawColours && !m_Pages.hasColourPage) continue;
        const bool open = ImGui::BeginTabItem(name);
        Gui().Remember(name);
        if (open) {
            (this->*draw)();
            ImGui::EndTabItem();
        }
    }
    ImGui::EndTabBar();
}
