#include "windows/PlayerInfoWnd.h"

#include <cmath>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "platform/Format.h"
#include "platform/Saturate.h"
#include "play/Play.h"

namespace {

constexpr int kValueColumn = 150;
// Letters a value's line holds beside its label.
constexpr int kValueColumns = (CMemberWnd::kSize.x - 24 - 24 - kValueColumn) / kCharWidth;
// Alertness runs to 1000 and is shown out of 100, as the target line shows it.
constexpr int kAlertnessScale = 10;
constexpr int kAlertnessShownMax = 100;
constexpr float kPercent = 100.0f;

std::string NameOf(Object* object, const char* none) {
    return object ? object->GetDisplayName() : std::string(none);
}

}  // namespace

CPlayerInfoWnd::CPlayerInfoWnd(Play& play, Player* member, OpenWindows& open, CDDWnd* parent)
    : CMemberWnd(play, member, &open.m_bInfoOpen, "Information", parent) {}

CPlayerInfoWnd::~CPlayerInfoWnd() = default;

std::vector<std::string> CPlayerInfoWnd::Effects(const Player& p) {
    std::vector<std::string> out;
    if (p.m_iPoison > 0) out.push_back(qv::Format("poisoned (%d)", p.m_iPoison));
    if (p.m_iStrengthBonus > 0) out.push_back(qv::Format("strength +%d", p.m_iStrengthBonus));
    if (p.m_iStrengthBonus < 0) out.push_back(qv::Format("weakened %d", p.m_iStrengthBonus));
    if (p.m_iArmourBonus != 0) out.push_back(qv::Format("skin armour %+d", p.m_iArmourBonus));
    if (p.m_bFireProtection) out.push_back("protected from fire");
    if (p.m_bGrounded) out.push_back("grounded");
    if (p.m_bShockStrike) out.push_back("shock strike");
    if (p.m_bLevitating) out.push_back("levitating");
    if (p.m_bInvisible) out.push_back("invisible");
    if (p.m_bMindSense) out.push_back("mind sense");
    if (p.m_bHesitation) out.push_back("hesitating");
    if (p.m_bHasted) out.push_back("hasted");
    if (p.m_iLight) out.push_back("giving light");
    return out;
}

std::vector<CMemberWnd::Row> CPlayerInfoWnd::Rows(const Player& p) {
    std::vector<Row> rows;
    rows.push_back({"Condition", p.IsAlive() ? "alive" : "dead"});
    rows.push_back({"Hit points", qv::Format("%d / %d", p.m_iHitPoints, p.m_iMaxHitPoints)});
    rows.push_back(
        {"Alertness", qv::Format("%d / %d", p.m_iAlertness / kAlertnessScale, kAlertnessShownMax)});
    const Magic* magic = p.m_pMagic.get();
    rows.push_back({"Mana", magic ? qv::Format("%u / %u", magic->m_uMana, magic->m_uMaxMana)
                                  : std::string("none")});
    const struct {
        const char* label;
        int school;
    } schools[] = {{"Fire skill", SpellSchool::Fire},
                   {"Earth skill", SpellSchool::Earth},
                   {"Air skill", SpellSchool::Air},
                   {"Water skill", SpellSchool::Water}};
    for (const auto& s : schools) {
        // Skills grow by fractions; the whole points are what the casting
        // rules compare with a spell's level (held to the figures shown).
        const int skill =
            magic ? qv::TruncateToInt32(std::floor(magic->GetSchoolSkill(s.school))) : 0;
        rows.push_back({s.label, qv::Format("%d", skill)});
    }
    // The weapon of close combat, else what the body fights with (teeth).
    Object* weapon = p.m_pMeleeWeapon.Get();
    rows.push_back({"Weapon", NameOf(weapon ? weapon : p.GetHeldItem(), "none")});
    rows.push_back({"Ranged weapon", NameOf(p.m_pRangedWeapon.Get(), "none")});
    std::string worn;
    for (const auto& thing : p.m_WornList)
        if (Object* o = thing.Get()) worn += (worn.empty() ? "" : ", ") + o->GetDisplayName();
    rows.push_back({"Worn", worn.empty() ? "nothing" : worn});
    rows.push_back({"Armour", qv::Format("%d%%", static_cast<int>(
                                                     std::lround(p.m_dArmourFactor * kPercent)))});
    std::string effects;
    for (const std::string& e : Effects(p)) effects += (effects.empty() ? "" : ", ") + e;
    rows.push_back({"Effects", effects.empty() ? "none" : WrapText(effects, kValueColumns)});
    return rows;
}

void CPlayerInfoWnd::PaintMember(qv::Surface* surface, Player& member) {
    PaintRows(surface, kBodyAt, Rows(member), kValueColumn);
}
