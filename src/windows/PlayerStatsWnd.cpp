#include "windows/PlayerStatsWnd.h"

#include <cmath>

#include "creatures/Player.h"
#include "platform/Format.h"
#include "platform/Saturate.h"
#include "play/Play.h"

namespace {

constexpr int kValueColumn = 150;

// Experience as whole points: what has been earned, never rounded up, held
// to the figures a line shows.
int32_t Points(double experience) {
    return qv::TruncateToInt32(std::floor(experience));
}

std::string Pool(int level, double experience, double next) {
    return qv::Format("level %d, %d (next %d)", level, Points(experience), Points(next));
}

// A figure as it stands now, and as it is otherwise ("at rest", "unladen")
// when that differs.
std::string Figure(int now, int otherwise, const char* when = "at rest") {
    return now == otherwise ? qv::Format("%d", now)
                            : qv::Format("%d (%s %d)", now, when, otherwise);
}

}  // namespace

CPlayerStatsWnd::CPlayerStatsWnd(Play& play, Player* member, OpenWindows& open, CDDWnd* parent)
    : CMemberWnd(play, member, &open.m_bStatsOpen, "Statistics", parent) {}

CPlayerStatsWnd::~CPlayerStatsWnd() = default;

std::vector<CMemberWnd::Row> CPlayerStatsWnd::Rows(const Player& p) {
    const auto& xp = p.m_dExperience;
    const double total = xp[0] + xp[1] + xp[2];
    return {
        {"Level", qv::Format("%d", p.m_iLevel)},
        {"Experience", qv::Format("%d (next %d)", Points(total), Points(p.m_dNextLevel))},
        {"Close combat", Pool(p.m_iLevelShortRange, xp[1], p.m_dNextShortRange)},
        {"Ranged combat", Pool(p.m_iLevelLongRange, xp[0], p.m_dNextLongRange)},
        {"Magic", Pool(p.m_iLevelMagic, xp[2], p.m_dNextMagic)},
        {"", ""},
        {"Strength", Figure(p.m_iCurStr, p.m_iStrength)},
        {"Dexterity", Figure(p.m_iCombatDexterity, p.m_iDexterity)},
        {"Intelligence", Figure(p.m_iCurInt, p.m_iIntelligence)},
        {"", ""},
        {"Speed", Figure(p.m_iLoadedSpeed, p.m_iSpeed, "unladen")},
        {"Load", qv::Format("%d", p.m_iLoad)},
    };
}

void CPlayerStatsWnd::PaintMember(qv::Surface* surface, Player& member) {
    PaintRows(surface, kBodyAt, Rows(member), kValueColumn);
}
