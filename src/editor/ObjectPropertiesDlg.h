#pragma once
// The "Object properties" dialog: the special and general names, the value,
// the frame of the picture (column and row within its grid of cells), the
// key number, the amount of a stack, whether it can be interacted with and
// moved, and its owner. Opened on any object in build mode, and from the
// "Obj. Prop." buttons of the other object dialogs.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class CObjectPropertiesDlg : public CPropertyDialog {
public:
    CObjectPropertiesDlg(Play& play, Object& object);

    bool Validate() override;
    void Apply() override;

    std::string m_strSpecialName;
    std::string m_strGeneralName;
    int32_t m_iValue = 0;
    int32_t m_iColumn = 0;
    int32_t m_iRow = 0;
    int32_t m_iKeyNumber = -1;
    int32_t m_iAmount = 1;
    int32_t m_bInteract = 1;
    int32_t m_bMoveable = 1;
    int32_t m_iOwner = -1;

protected:
    void DrawFields() override;

private:
    std::vector<Field> Fields();

    qv::Handle<Object> m_pObject;
    int32_t m_iOld[10] = {};
};
