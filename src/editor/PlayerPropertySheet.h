#pragma once
// The creature editor: a sheet of pages ("General Info", "Stats",
// "Equipment", "Spells", "Build Info", "Chat Image") that the creature fills
// and reads back itself (Player::FillPropertyPages, ReadPropertyPages). The
// "Build Info" page opens the "Combat Preferences" dialog on the creature's
// six fighting choices and the list of its scripted moves. A human adds its
// "Human - Color" page of hair, shirt and pants colours.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "creatures/PlayerPropertyPages.h"
#include "editor/PlayerMovesDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"
#include "play/Order.h"
#include "world/ObjectCatalogue.h"

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
    // The "Stats" page's three experience pools, in the pages' order.
    static constexpr std::array<const char*, 3> kPoolLabels{"Long-Range", "Short-Range", "Magic"};

    // The "Equipment" page: the things in use (its natural weapon aside) and
    // the things in its bag. Play takes a thing off, puts one on or deletes
    // it, and puts a new one of the catalogue into its bag; false, with the
    // refusal said, when it does not.
    std::vector<Object*> InUse() const;
    std::vector<Object*> Carried() const;
    bool ChangeEquipment(Order::Kind kind, Object* thing);
    bool AddCarried(CatalogueList list, size_t index);
    // The "Spells" page: the spells it knows and those of the catalogue.
    // Play teaches it the catalogue's spell at an index (LearnSpell) or makes
    // it forget the known one (ForgetSpell); false, with the refusal said,
    // when it does not.
    std::vector<std::string> KnownSpellLines() const;
    std::vector<std::string> CatalogueLines(CatalogueList list) const;
    bool ChangeSpells(Order::Kind kind, int32_t index);

protected:
    void DrawFields() override;

private:
    Player* Creature() const;
    void DrawGeneral();
    void DrawStats();
    void DrawSpells();
    void DrawEquipment();
    void DrawChatImage();
    void DrawColours();
    void DrawBuildInfo();
    bool ValidColours();
    qv::Handle<Object> m_pCreature;
    std::unique_ptr<CPlayerMovesDlg> m_pMoves;
    // The lines chosen in the pages' lists (-1 none) and the thing to add.
    static constexpr float kListRows = 4.5f;
    int m_iKnownSpell = -1;
    int m_iCatalogueSpell = -1;
    int m_iInUse = -1;
    int m_iCarried = -1;
    int m_iAddList = static_cast<int>(CatalogueList::Weapons);
    int m_iAddEntry = 0;
};
