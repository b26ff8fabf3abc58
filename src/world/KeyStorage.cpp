#include "world/KeyStorage.h"

#include "platform/Archive.h"
#include "world/Member.h"

QV_IMPLEMENT_SERIAL(KeyStorage, qv::Persistent, 1, true)

KeyStorage::KeyStorage(int keyNum, std::string name)
    : m_iKeyNum(keyNum), m_strName(std::move(name)) {}

void KeyStorage::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.Exchange(m_iKeyNum);
    ar.Exchange(m_strName);
    if (ar.IsStoring()) {
        size_t live = 0;
        for (auto& h : m_ObjectList)
            if (h) ++live;
        ar.WriteCount(live);
        for (auto& h : m_ObjectList)
            if (h) ar.WriteObject(h.Get());
    } else {
        size_t n = ar.ReadCount();
        // Doors, levers, keys and platforms: a group or a creature would join
        // the group tree while the archive still holds it.
        for (size_t i = 0; i < n; ++i) ar.ReadObjectUnowned(&Object::classInfo, &Member::classInfo);
    }
}
