#pragma once
// "List of Player Moves": a creature's scripted moves, one line each. "New
// Move" asks for a cell (CCoordinatesDlg) and appends a move to it; a cancel
// adds nothing. "Delete Move" drops the chosen move, a double click edits
// it, and "Random List" fills the list with the creature's cell and a few
// reachable cells near it.

#include <memory>
#include <string>
#include <vector>

#include "editor/CoordinatesDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class Player;

class CPlayerMovesDlg : public CPropertyDialog {
public:
    CPlayerMovesDlg(Play& play, Player& creature);
    ~CPlayerMovesDlg() override;

    bool Validate() override { return true; }
    void Apply() override {}

    // "Available Moves": each move's own description, in list order.
    std::vector<std::string> Lines() const;
    // "New Move": the coordinates dialog, at (0, 0); its OK appends the move.
    CCoordinatesDlg& NewMove();
    // The coordinates dialog on the move of line `line`; its OK moves it.
    CCoordinatesDlg* EditMove(size_t line);
    bool DeleteMove(size_t line);
    // "Random List"; the number of moves added.
    int RandomList();
    // The coordinates dialog while it is open.
    CCoordinatesDlg* Coordinates() const { return m_pCoordinates.get(); }

    int m_iSelected = -1;

protected:
    void DrawFields() override;

private:
    Player* Creature() const;
    qv::Handle<Object> m_pCreature;
    std::unique_ptr<CCoordinatesDlg> m_pCoordinates;
};
