#include "items/Useable.h"

#include "items/ItemPictures.h"
#include "platform/Archive.h"
#include "world/Global.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Useable, Object, 1, true)

Useable::Useable(const std::string& name) : Object(name) {
    m_bMoveable = 1;
}

QV_SERIALIZE_BASE_ONLY(Useable, Object)

Object* Useable::Clone() {
    Object* copy = Object::Clone();
    if (copy) CopyObjectFields(*copy, *this);
    return copy;
}

void CopyObjectFields(Object& to, const Object& from) {
    to.m_strGeneralName = from.m_strGeneralName;
    to.m_strSpecialName = from.m_strSpecialName;
    to.m_iXImageNum = from.m_iXImageNum;
    to.m_iYImageNum = from.m_iYImageNum;
    to.m_iWeight = from.m_iWeight;
    to.m_iValue = from.m_iValue;
    to.m_iSpare1 = from.m_iSpare1;
    to.m_iState = from.m_iState;
    to.m_iBulkNum = from.m_iBulkNum;
    to.m_bStackable = from.m_bStackable;
    to.m_bInteract = from.m_bInteract;
    to.m_iOwner = from.m_iOwner;
    to.m_bMoveable = from.m_bMoveable;
    to.m_iItemNum = from.m_iItemNum;
    if (to.m_iItemNum >= 0)
        if (World* world = GetWorld()) world->AddToKeyStorage(&to);
}

void Useable::GetImageFrame(int* x, int* y) {
    const bool askedX = x && *x >= 0, askedY = y && *y >= 0;
    Object::GetImageFrame(x, y);
    KeepInGrid(m_pDDImage, askedX, askedY, x, y);
}
