#pragma once
// Build mode's first dialog: the game folder to work in, then a world loaded
// from it or a new one made. A folder that does not exist is refused; the
// folder used is kept as the setting "Path". The dialog ends once a world was
// loaded or made (a cancelled load or new world keeps it open) or when it is
// cancelled itself.

#include <string>

#include "editor/EditorDialog.h"

class CMainFrame;

class CWorldCreationDlg : public CEditorDialog {
public:
    explicit CWorldCreationDlg(CMainFrame& frame, CDDWnd* parent = nullptr);

    void BuildWidgets() override;
    // The folder in the field becomes the game folder (and "Path"); false,
    // said, when it is no folder.
    bool TakeFolder();
    void LoadWorld();
    void NewWorld();

    std::string m_strFolder;
    int m_bWorldMade = 0;

private:
    CMainFrame& m_frame;
};
