#include "windows/CombatPrefsDlg.h"

#include <algorithm>

#include "platform/Events.h"
#include "windows/WindowPictures.h"

namespace {

constexpr qv::Rect kWindow{36, 60, 604, 420};
constexpr int kRadioWidth = 266;  // the longest label with its mark
constexpr int kRadioHeight = 20;
constexpr int kRowStep = 22;
constexpr int kTitleGap = 20;  // a group's first control below its title
constexpr int kLeftColumn = 14;
constexpr int kRightColumn = 288;
constexpr int kFirstGroupTop = 36;
constexpr int kFleeTop = kFirstGroupTop + 232;
constexpr qv::Rect kOkRect{184, 318, 274, 348};
constexpr qv::Rect kCancelRect{294, 318, 384, 348};

struct Label {
    int id;
    const char* text;
};
constexpr Label kLabels[] = {
    {CCombatPrefsDlg::kIdAttackWhileEvading, "Attack while Evading"},
    {CCombatPrefsDlg::kIdCloseCombat, "Close Combat"},
    {CCombatPrefsDlg::kIdAttackWeakest, "Attack Weakest"},
    {CCombatPrefsDlg::kIdAttackStrongest, "Attack Strongest"},
    {CCombatPrefsDlg::kIdAttackNearest, "Attack Nearest"},
    {CCombatPrefsDlg::kIdAttackNearestToAnother, "Attack Nearest to Another"},
    {CCombatPrefsDlg::kIdAttackRandomly, "Attack Randomly"},
    {CCombatPrefsDlg::kIdProtectParty, "Protect Party"},
    {CCombatPrefsDlg::kIdAttackEnemy, "Attack Enemy"},
    {CCombatPrefsDlg::kIdBalance, "Balance"},
    {CCombatPrefsDlg::kIdFlee, "Flee when Badly Wounded"},
    {CCombatPrefsDlg::kIdAttackEvasive, "Attack Evasive"},
    {CCombatPrefsDlg::kIdPreferCloseCombat, "Close Combat"},
    {CCombatPrefsDlg::kIdAnyone, "Anyone"},
    {CCombatPrefsDlg::kIdDefensive, "Defensive"},
    {CCombatPrefsDlg::kIdNormal, "Normal"},
    {CCombatPrefsDlg::kIdBerserker, "Berserker"},
    {CCombatPrefsDlg::kIdTargetList, "(no list)"},
    {CCombatPrefsDlg::kIdOk, "OK"},
    {CCombatPrefsDlg::kIdCancel, "Cancel"},
};

// The radios that leave the target list greyed, and the one that wakes it.
constexpr int kListClosers[] = {
    CCombatPrefsDlg::kIdAnyone,         CCombatPrefsDlg::kIdAttackNearest,
    CCombatPrefsDlg::kIdAttackRandomly, CCombatPrefsDlg::kIdAttackStrongest,
    CCombatPrefsDlg::kIdAttackWeakest,
};
// Attack whom's value that uses the list.
constexpr int kNearestToAnother = 3;
// Greyed whatever the values.
constexpr int kAlwaysGreyed[] = {CCombatPrefsDlg::kIdFlee, CCombatPrefsDlg::kIdProtectParty,
                                 CCombatPrefsDlg::kIdAttackEnemy, CCombatPrefsDlg::kIdBalance,
                                 CCombatPrefsDlg::kIdAttackNearestToAnother};
constexpr int kMethodIds[] = {CCombatPrefsDlg::kIdDefensive, CCombatPrefsDlg::kIdNormal,
                              CCombatPrefsDlg::kIdBerserker};

const char* LabelOf(int id) {
    for (const Label& l : kLabels)
        if (l.id == id) return l.text;
    return "";
}

bool Contains(const int* first, const int* last, int id) {
    return std::find(first, last, id) != last;
}

}  // namespace

CCombatPrefsDlg::CCombatPrefsDlg(CDDWnd* parent) : CDDWnd(parent) {
    m_rcWindow = kWindow;
    // The toolkit's plain panel: no window picture is as large.
    const int attackWhom[] = {kIdAttackWeakest, kIdAttackStrongest, kIdAttackNearest,
                              kIdAttackNearestToAnother, kIdAttackRandomly};
    m_Groups = {
        {"Modes of Combat",
         {kIdAttackWhileEvading, kIdCloseCombat},
         &m_iModeOfCombat,
         {kLeftColumn, kFirstGroupTop}},
        {"Attack Method",
         {kIdDefensive, kIdNormal, kIdBerserker},
         &m_iAttackMethod,
         {kLeftColumn, kFirstGroupTop + 94}},
        {"Attack Preference",
         {kIdAttackEvasive, kIdPreferCloseCombat, kIdAnyone},
         &m_iAttackPreference,
         {kLeftColumn, kFirstGroupTop + 188}},
        {"Attack",
         {std::begin(attackWhom), std::end(attackWhom)},
         &m_iAttackWhom,
         {kRightColumn, kFirstGroupTop}},
        {"Magic Use",
         {kIdProtectParty, kIdAttackEnemy, kIdBalance},
         &m_iMagicPriority,
         {kRightColumn, kFirstGroupTop + 138}},
    };
    auto add = [this](int id, const qv::Rect& r) {
        m_Controls.push_back(std::make_unique<CDDButton>(r, this, id));
        m_Controls.back()->SetText(LabelOf(id));
    };
    for (const Group& g : m_Groups)
        for (size_t i = 0; i < g.ids.size(); ++i) {
            const int top = g.at.y + kTitleGap + static_cast<int>(i) * kRowStep;
            add(g.ids[i], {g.at.x, top, g.at.x + kRadioWidth, top + kRadioHeight});
        }
    // The list sits under the modes' radios.
    const int listTop = kFirstGroupTop + kTitleGap + 2 * kRowStep;
    add(kIdTargetList, {kLeftColumn, listTop, kLeftColumn + kRadioWidth, listTop + kRadioHeight});
    add(kIdFlee, {kRightColumn, kFleeTop, kRightColumn + kRadioWidth, kFleeTop + kRadioHeight});
    add(kIdOk, kOkRect);
    add(kIdCancel, kCancelRect);
    m_iAbandonCode = kIdCancel;
}

CCombatPrefsDlg::~CCombatPrefsDlg() = default;

CDDButton* CCombatPrefsDlg::GetControl(int id) const {
    for (const auto& c : m_Controls)
        if (c->GetCommandId() == id) return c.get();
    return nullptr;
}

int CCombatPrefsDlg::IsEnabled(int id) const {
    return GetControl(id) && !m_Greyed.count(id) ? 1 : 0;
}

int CCombatPrefsDlg::IsChosen(int id) const {
    return m_Chosen.count(id) ? 1 : 0;
}

const CCombatPrefsDlg::Group* CCombatPrefsDlg::GroupOf(int id) const {
    for (const Group& g : m_Groups)
        if (std::find(g.ids.begin(), g.ids.end(), id) != g.ids.end()) return &g;
    return nullptr;
}

void CCombatPrefsDlg::SetEnabled(int id, bool enabled) {
    if (enabled)
        m_Greyed.erase(id);
    else
        m_Greyed.insert(id);
}

void CCombatPrefsDlg::SetChosen(int id, bool chosen) {
    if (chosen)
        m_Chosen.insert(id);
    else
        m_Chosen.erase(id);
}

void CCombatPrefsDlg::UpdateButtons() {
    // A greyed control keeps its choice (it is read back), drawn greyed.
    // The choice is also written on the button, so that it reads at a glance.
    for (const auto& c : m_Controls) {
        const int id = c->GetCommandId();
        const bool chosen = m_Chosen.count(id) != 0;
        c->SetState(m_Greyed.count(id) ? kGreyed : chosen ? kChosen : kUp);
        if (id == kIdFlee)
            c->SetText(std::string(chosen ? "[x] " : "[ ] ") + LabelOf(id));
        else if (GroupOf(id))
            c->SetText(std::string(chosen ? "(o) " : "( ) ") + LabelOf(id));
    }
}

void CCombatPrefsDlg::ShowValues() {
    // Each radio shows whether its value (its number less its group's
    // first) is the group's value; a value without a radio shows none.
    m_Chosen.clear();
    m_Greyed.clear();
    for (const Group& g : m_Groups)
        for (int id : g.ids) SetChosen(id, id - g.ids.front() == *g.value);
    SetChosen(kIdFlee, m_bFlee != 0);
    for (int id : kAlwaysGreyed) SetEnabled(id, false);
    SetEnabled(kIdTargetList, m_iAttackWhom == kNearestToAnother);
    for (int id : kMethodIds) SetEnabled(id, m_iModeOfCombat != 0);
    UpdateButtons();
}

void CCombatPrefsDlg::ReadValues() {
    // A group with no radio chosen (a value no radio stands for) keeps its
    // value rather than reading as none.
    for (const Group& g : m_Groups)
        for (int id : g.ids)
            if (IsChosen(id)) *g.value = id - g.ids.front();
    m_bFlee = IsChosen(kIdFlee);
}

int CCombatPrefsDlg::Popup() {
    ShowValues();
    const int code = CDDWnd::Popup();
    return code == kIdOk ? 1 : 2;
}

void CCombatPrefsDlg::Choose(int id) {
    const Group* g = GroupOf(id);
    if (!g || !IsEnabled(id)) return;
    for (int other : g->ids) SetChosen(other, other == id);
    if (id == kIdCloseCombat)
        for (int m : kMethodIds) SetEnabled(m, true);
    if (id == kIdAttackWhileEvading)
        for (int m : kMethodIds) SetEnabled(m, false);
    if (id == kIdAttackNearestToAnother) SetEnabled(kIdTargetList, true);
    if (Contains(std::begin(kListClosers), std::end(kListClosers), id))
        SetEnabled(kIdTargetList, false);
}

void CCombatPrefsDlg::OnCommand(int id) {
    switch (id) {
        case kIdOk:
            ReadValues();
            EndPopup(kIdOk);
            return;
        case kIdCancel:
            EndPopup(kIdCancel);
            return;
        case kIdFlee:
            if (IsEnabled(id)) SetChosen(id, !IsChosen(id));
            break;
        default:
            Choose(id);
            break;
    }
    UpdateButtons();
}

void CCombatPrefsDlg::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE) EndPopup(kIdCancel);
    if (vk == qv::VK_RETURN) OnCommand(kIdOk);
}

void CCombatPrefsDlg::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    DrawCentredText(surface, m_rcWindow.left + m_rcWindow.Width() / 2, m_rcWindow.top + 12,
                    "Combat Preferences", kColourTextDim, m_rcWindow);
    for (const Group& g : m_Groups)
        DrawGameText(surface, {m_rcWindow.left + g.at.x, m_rcWindow.top + g.at.y}, g.title,
                     kColourTextDim, m_rcWindow);
}
