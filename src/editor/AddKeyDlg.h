#pragma once
// The dialog that enters an object in the key records: the key number it
// answers to and, for a number no record has yet, the new record's name.

#include <cstdint>
#include <string>

#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class CAddKeyDlg : public CPropertyDialog {
public:
    CAddKeyDlg(Play& play, Object& object);

    bool Validate() override;
    void Apply() override;

    int32_t m_iKeyNumber = 0;
    std::string m_strName;

protected:
    void DrawFields() override;

private:
    qv::Handle<Object> m_pObject;
};
