#pragma once
// The creature editor: a sheet of pages ("General Info", "Stats",
// "Equipment", "Spells", "Build Info", "Chat Image") that the creature fills
// and reads back itself (Player::FillPropertyPages, ReadPropertyPages). The
// "Build Info" page opens the "Combat Preferences" dialog on the creature's
// six fighting choices and the list of its scripted moves. A human adds its
// "Human - Color" page of hair, shirt and pants colours.

#include <memory>
#include <string>
#include <vector>

#include "creatures/PlayerPropertyPages.h"
#include "editor/PlayerMovesDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class CCombatPrefsDlg;
class Player;

class CPlayerPropertySheet : public CPropertyDialog {
public:
    CPlayerPropertySheet(Play& play, Player& creature);
    ~CPlayerPropertySheet() override;

    // Refuses fighting choices no control of "Combat Preferences" stands
    // for, a place outside the world and a number the world's list of
    // creatures cannot hold, and a human's colour outside what its picture
    // can show.
    bool Validate() override;
    // The creature reads the pages back; a placed creature that is to stand
    // elsewhere is moved by play.
    void Apply() override;

    // "Combat Preferences": the six choices go into the dialog, and come
    // back from it after its OK. A choice the dialog has no control for
    // comes back as it went in.
    void ToCombatPreferences(CCombatPrefsDlg& dialog) const;
    void FromCombatPreferences(const CCombatPrefsDlg& dialog);
    // Runs the dialog itself (modal, on the game's own windows); 1 after OK.
    int RunCombatPreferences();
    // The list of scripted moves: its changes are the creature's at once.
    CPlayerMovesDlg& OpenMoves();

    PlayerPropertyPages m_Pages;
    // What the "Equipment" page lists: the things in use, then the bag's.
    std::vector<std::string> EquipmentLines() const;

protected:
    void DrawFields() override;

private:
    Player* Creature() const;
    void DrawGeneral();
    void DrawStats();
    void DrawSpells();
    void DrawBuildInfo();
    bool ValidColours();
    qv::Handle<Object> m_pCreature;
    std::unique_ptr<CPlayerMovesDlg> m_pMoves;
};
