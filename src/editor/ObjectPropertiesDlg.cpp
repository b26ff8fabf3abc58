#include "editor/ObjectPropertiesDlg.h"

#include <imgui.h>

#include "play/Play.h"
#include "world/Object.h"

CObjectPropertiesDlg::CObjectPropertiesDlg(Play& play, Object& object)
    : CPropertyDialog(play, "Object properties", {400, 330}), m_pObject(&object) {
    m_strSpecialName = object.m_strSpecialName;
    m_strGeneralName = object.m_strGeneralName;
    m_iValue = object.m_iValue;
    m_iColumn = object.m_iXImageNum;
    m_iRow = object.m_iYImageNum;
    m_iKeyNumber = object.m_iItemNum;
    m_iAmount = object.m_iBulkNum;
    m_bInteract = object.m_bInteract;
    m_bMoveable = object.m_bMoveable;
    m_iOwner = object.m_iOwner;
    const std::vector<Field> fields = Fields();
    for (size_t i = 0; i < fields.size(); ++i) m_iOld[i] = *fields[i].value;
}

std::vector<CObjectPropertiesDlg::Field> CObjectPropertiesDlg::Fields() {
    using P = Play::Property;
    return {{P::kValue, &m_iValue, m_iOld[0]},       {P::kFrameColumn, &m_iColumn, m_iOld[1]},
            {P::kFrameRow, &m_iRow, m_iOld[2]},      {P::kKeyNumber, &m_iKeyNumber, m_iOld[3]},
            {P::kAmount, &m_iAmount, m_iOld[4]},     {P::kInteract, &m_bInteract, m_iOld[5]},
            {P::kMoveable, &m_bMoveable, m_iOld[6]}, {P::kOwner, &m_iOwner, m_iOld[7]}};
}

bool CObjectPropertiesDlg::Validate() {
    Object* object = m_pObject.Get();
    if (!object) return Refused("The object is gone.");
    return AllowsChanged(object, Fields());
}

void CObjectPropertiesDlg::Apply() {
    Object* object = m_pObject.Get();
    if (!object) return;
    using P = Play::Property;
    if (m_strSpecialName != object->m_strSpecialName)
        SetText(object, P::kSpecialName, m_strSpecialName);
    if (m_strGeneralName != object->m_strGeneralName)
        SetText(object, P::kGeneralName, m_strGeneralName);
    SetChanged(object, Fields());
}

void CObjectPropertiesDlg::DrawFields() {
    TextField("Special Name", m_strSpecialName);
    TextField("General Name", m_strGeneralName);
    IntField("Value", &m_iValue);
    IntField("Frame Column", &m_iColumn);
    IntField("Frame Row", &m_iRow);
    IntField("Key Number (Item Number)", &m_iKeyNumber);
    IntField("Amount", &m_iAmount);
    FlagField("Interact", &m_bInteract);
    FlagField("Moveable", &m_bMoveable);
    IntField("Owned By", &m_iOwner);
}
