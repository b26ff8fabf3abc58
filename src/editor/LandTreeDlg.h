#pragma once
// The land tree: every land of the world under the land that holds it, with
// its file. "Remove" takes the chosen land out of the tree (the lands inside
// it go to its parent); "Add Land" opens CAddLandDlg, whose land play puts
// into the tree under the smallest land that holds it; "Modify" opens
// CModifyLandDlg on the chosen land while it is in memory.

#include <memory>
#include <string>
#include <vector>

#include "editor/AddLandDlg.h"
#include "editor/ModifyLandDlg.h"
#include "editor/PropertyDialog.h"

class CLandTreeDlg : public CPropertyDialog {
public:
    explicit CLandTreeDlg(Play& play);
    ~CLandTreeDlg() override;

    bool Validate() override { return true; }
    void Apply() override {}

    struct Line {
        int depth = 0;
        std::string name, file;
    };
    // The tree, parents before their children.
    std::vector<Line> Lines() const;
    bool Remove(size_t line);
    CAddLandDlg& OpenAddLand();
    // The land dialog of the chosen line's land; null (refused) when it is
    // not in memory.
    CModifyLandDlg* OpenModifyLand(size_t line);

    int m_iSelected = -1;

protected:
    void DrawFields() override;

private:
    std::unique_ptr<CAddLandDlg> m_pAddLand;
    std::unique_ptr<CModifyLandDlg> m_pModifyLand;
};
