#pragma once
// The "Combat Preferences" dialog: six fighting choices of a creature, which
// its opener (the creature's properties in build mode) sets before showing it
// and reads back after OK. Radio buttons are the toolkit's buttons, the one
// chosen of each group drawn pressed; a greyed one cannot be chosen.

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "media/DDWnd.h"

class CCombatPrefsDlg : public CDDWnd {
public:
    // The dialog's controls by their numbers.
    enum : int {
        kIdOk = 1,
        kIdCancel = 2,
        kIdAttackWhileEvading = 1237,  // mode of combat 0
        kIdCloseCombat = 1238,         // mode of combat 1
        kIdAttackWeakest = 1239,       // attack whom 0 .. 5 (4 has no control)
        kIdAttackStrongest = 1240,
        kIdAttackNearest = 1241,
        kIdAttackNearestToAnother = 1242,
        kIdAttackRandomly = 1244,
        kIdProtectParty = 1245,  // magic use priority 0 .. 2
        kIdAttackEnemy = 1246,
        kIdBalance = 1247,
        kIdFlee = 1248,           // the check box
        kIdAttackEvasive = 1249,  // attack preference 0 .. 2
        kIdPreferCloseCombat = 1250,
        kIdAnyone = 1251,
        kIdDefensive = 1327,  // attack method 0 .. 2
        kIdNormal = 1328,
        kIdBerserker = 1329,
        kIdTargetList = 1331,  // the combo box of the "Modes of Combat" group
    };
    // Button states of the toolkit.
    static constexpr int kUp = 0;
    static constexpr int kChosen = 1;
    static constexpr int kGreyed = 3;

    explicit CCombatPrefsDlg(CDDWnd* parent = nullptr);
    ~CCombatPrefsDlg() override;

    // Shows the six values and runs the dialog: 1 after OK (the values are
    // then those chosen), 2 when cancelled (the values as they were).
    int Popup() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;

    // Puts the six values into the controls, greyed as they allow.
    void ShowValues();
    // Reads the six values back from the controls: a group with nothing
    // chosen keeps its value.
    void ReadValues();
    CDDButton* GetControl(int id) const;
    // 1 when the control can be used, 0 when greyed.
    int IsEnabled(int id) const;
    // 1 when the radio or check box is chosen (greyed or not).
    int IsChosen(int id) const;

    int m_iModeOfCombat = 0;
    int m_iAttackWhom = 0;
    int m_bFlee = 0;
    int m_iMagicPriority = 0;
    int m_iAttackPreference = 0;
    int m_iAttackMethod = 0;

private:
    struct Group {
        const char* title;
        std::vector<int> ids;  // radios, in order; their values from the first's number
        int* value;
        qv::Point at;
    };
    void Choose(int id);
    void SetEnabled(int id, bool enabled);
    void SetChosen(int id, bool chosen);
    // The buttons' states from what is chosen and what is greyed.
    void UpdateButtons();
    const Group* GroupOf(int id) const;

    std::set<int> m_Chosen;  // radios and the check box that are chosen
    std::set<int> m_Greyed;  // controls that cannot be used

    std::vector<Group> m_Groups;
    std::vector<std::unique_ptr<CDDButton>> m_Controls;
};
