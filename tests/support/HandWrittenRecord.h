#pragma once
// Stored records written by hand, as older versions of the game wrote them:
// the class record of the real class with an older schema, then whatever the
// test writes as the object's data.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Archive.h"

namespace record_test {

using Bytes = std::vector<uint8_t>;

// Stands in for an object of another class while its record is written by hand.
class HandWritten : public qv::Persistent {
public:
    HandWritten(const qv::RuntimeClass& cls, const std::function<void(qv::Archive&)>& body)
        : m_cls(cls), m_body(body) {}
    const qv::RuntimeClass* GetRuntimeClass() const override { return &m_cls; }
    void Serialize(qv::Archive& ar) override { m_body(ar); }

private:
    const qv::RuntimeClass& m_cls;
    const std::function<void(qv::Archive&)>& m_body;
};

// A stored object of class `cls` at `schema`, its data written by `body`.
inline Bytes Record(const qv::RuntimeClass& cls, uint16_t schema,
                    const std::function<void(qv::Archive&)>& body) {
    qv::Archive ar;
    HandWritten record(cls, body);
    ar.WriteObject(&record);
    Bytes bytes = ar.TakeBytes();
    bytes[2] = static_cast<uint8_t>(schema);
    bytes[3] = static_cast<uint8_t>(schema >> 8);
    return bytes;
}

// The record of an object as it is stored now.
inline Bytes StoreObject(qv::Persistent& object) {
    qv::Archive out;
    out.WriteObject(&object);
    return out.TakeBytes();
}

}  // namespace record_test
