#include "items/Useable.h"

#include "platform/Archive.h"

QV_IMPLEMENT_SERIAL(Useable, Object, 1, true)

Useable::Useable(const std::string& name) : Object(name) {
    m_bMoveable = 1;
}

QV_SERIALIZE_BASE_ONLY(Useable, Object)
