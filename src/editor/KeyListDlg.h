#pragma once
// The key records: every key number with its name and the things that answer
// to it. A chosen thing can leave the records ("Remove"); "Add" enters the
// object the dialog was opened on (CAddKeyDlg).

#include <memory>
#include <string>
#include <vector>

#include "editor/AddKeyDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class CKeyListDlg : public CPropertyDialog {
public:
    // `chosen` is the thing "Add" enters; null: "Add" is not offered.
    CKeyListDlg(Play& play, Object* chosen);
    ~CKeyListDlg() override;

    bool Validate() override { return true; }
    void Apply() override {}

    // One line for each record ("Key 3: Gate") and one for each thing it
    // lists, indented, in record order.
    struct Line {
        std::string text;
        qv::Handle<Object> object;  // null on a record's own line
    };
    std::vector<Line> Lines() const;
    // "Remove": the thing on line `line` leaves every record.
    bool Remove(size_t line);
    // "Add": the dialog that enters the chosen thing; null without one.
    CAddKeyDlg* OpenAddKey();

    int m_iSelected = -1;

protected:
    void DrawFields() override;

private:
    qv::Handle<Object> m_pChosen;
    std::unique_ptr<CAddKeyDlg> m_pAddKey;
};
