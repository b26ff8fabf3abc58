#include "items/Useable.h"

#include "platform/Archive.h"

QV_IMPLEMENT_SERIAL(Useable, Object, 1, true)

Useable::Useable(const std::string& name) : Object(name) {
    m_bMoveable = 1;
}

void Useable::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
}
