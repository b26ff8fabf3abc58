#pragma once
// The "Monster Creator" dialog of a monster generator: its mode (1: its fight
// is the world's generator fight), the exit point's offset in cells from its
// own cell, the key number it signals when it fires, whether the party is
// sent to the exit when its fight ends, and its template creatures ("Add"
// takes a new creature of a chosen species, "Delete" drops the chosen one).

#include <cstdint>
#include <string>
#include <vector>

#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class MonsterGenerator;

class CMonsterCreatorDlg : public CPropertyDialog {
public:
    CMonsterCreatorDlg(Play& play, MonsterGenerator& generator);

    bool Validate() override;
    void Apply() override;

    // The template creatures' names, in their group's order.
    std::vector<std::string> TemplateLines() const;
    // A new creature of the species table's row `species` joins the
    // templates at once.
    bool AddTemplate(size_t species);
    bool DeleteTemplate(size_t line);

    int32_t m_iMode = 0;
    int32_t m_iExitX = 0, m_iExitY = 0;
    int32_t m_iKeyNumber = -1;
    int32_t m_bSendParty = 0;
    int m_iSpecies = 0;
    int m_iSelected = -1;

protected:
    void DrawFields() override;

private:
    std::vector<Field> Fields();
    MonsterGenerator* Target() const;
    qv::Handle<Object> m_pGenerator;
};
