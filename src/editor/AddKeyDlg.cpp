#include "editor/AddKeyDlg.h"

#include "platform/Format.h"
#include "play/Order.h"
#include "play/Play.h"
#include "world/Object.h"

CAddKeyDlg::CAddKeyDlg(Play& play, Object& object)
    : CPropertyDialog(play, "Add Key", {300, 150}), m_pObject(&object) {
    m_iKeyNumber = object.m_iItemNum < 0 ? 0 : object.m_iItemNum;
}

bool CAddKeyDlg::Validate() {
    Object* object = m_pObject.Get();
    if (!object) return Refused("The object is gone.");
    // A key record's number is 0 or more; -1 stands for no key at all.
    if (m_iKeyNumber < 0)
        return Refused(qv::Format("A key number is 0 or more: %d is refused.", m_iKeyNumber));
    return Allows(object, Play::Property::kKeyNumber, m_iKeyNumber);
}

void CAddKeyDlg::Apply() {
    Order order = Order::Of(Order::Kind::AddKey);
    order.object = m_pObject.Get();
    order.value = m_iKeyNumber;
    order.text = m_strName;
    if (m_Play.Give(order) != 1) Refused("The key records list no things of this kind.");
}

void CAddKeyDlg::DrawFields() {
    IntField("Key Number", &m_iKeyNumber);
    TextField("Name", m_strName);
}
