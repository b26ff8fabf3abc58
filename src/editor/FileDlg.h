#pragma once
// The editor's file dialog: the files of one folder with one extension, and
// a field for the name. OK takes a plain file name (no folder in it), with
// the extension added when it was left out.

#include <string>
#include <vector>

#include "editor/EditorDialog.h"

class CFileDlg : public CEditorDialog {
public:
    // `save`: a name may be new; else it is one of the folder's files.
    CFileDlg(bool save, const std::string& folder, const std::string& extension,
             const std::string& proposed, CDDWnd* parent = nullptr);

    void BuildWidgets() override;
    bool OnOK() override;

    std::string m_strName;             // the field
    std::string m_strChosen;           // as OK took it
    std::vector<std::string> m_Files;  // the folder's files with the extension, sorted

private:
    bool m_bSave;
    std::string m_strExtension;
};
