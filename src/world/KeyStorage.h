#pragma once
// A key record: the objects (doors, levers, keys, platforms) that answer to one
// key number. Signalling the number activates every object of its record.

#include <string>
#include <vector>

#include "platform/Handle.h"
#include "platform/Persistent.h"

class Object;

class KeyStorage : public qv::Persistent {
    QV_DECLARE_CLASS(KeyStorage)
public:
    explicit KeyStorage(int keyNum = 0, std::string name = {});
    // Stores the number, the name and the listed objects as references. On
    // loading a stored list is read and dropped: the records are rebuilt from
    // the objects as they load.
    void Serialize(qv::Archive& ar) override;

    int m_iKeyNum;
    std::string m_strName;
    std::vector<qv::Handle<Object>> m_ObjectList;  // does not own
};
