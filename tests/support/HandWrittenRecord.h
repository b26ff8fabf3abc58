#pragma once
// Stored records written by hand for the record tests: records as older
// versions of the game wrote them (the class record of the real class with an
// older schema, then whatever the test writes as the object's data), expected
// bytes laid out field by field, and storing, reading back and refusing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
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
inline Bytes StoreObject(const qv::Persistent& object) {
    qv::Archive out;
    out.WriteObject(&object);
    return out.TakeBytes();
}

// The object of class T a record holds; the record must be read to its end.
template <class T>
std::unique_ptr<T> LoadObject(const Bytes& bytes) {
    qv::Archive in(bytes);
    std::unique_ptr<T> object(in.ReadObjectOf<T>());
    EXPECT_EQ(in.Remaining(), 0u);
    return object;
}

// Why a record is refused when it is read as class T; a test failure when it
// is read.
template <class T>
qv::ArchiveError::Cause RefusalOf(const Bytes& bytes) {
    qv::Archive in(bytes);
    try {
        delete in.ReadObjectOf<T>();
    } catch (const qv::ArchiveError& e) {
        return e.cause;
    }
    ADD_FAILURE() << "the record was read";
    return qv::ArchiveError::Generic;
}

// Expected stored bytes, laid out by hand in the archive's little-endian
// encoding.
inline void PutBytes(Bytes& b, std::initializer_list<int> values) {
    for (int v : values) b.push_back(static_cast<uint8_t>(v));
}
inline void PutWord(Bytes& b, uint16_t v) {
    PutBytes(b, {v & 0xFF, v >> 8});
}
inline void PutInt(Bytes& b, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    PutWord(b, static_cast<uint16_t>(u));
    PutWord(b, static_cast<uint16_t>(u >> 16));
}
inline void PutFloat(Bytes& b, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutInt(b, static_cast<int32_t>(bits));
}
// The bytes `b` with the float at `at` written over by `v`.
inline Bytes WithFloatAt(Bytes b, size_t at, float v) {
    Bytes f;
    PutFloat(f, v);
    std::copy(f.begin(), f.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
}
inline void PutInts(Bytes& b, std::initializer_list<int32_t> values) {
    for (int32_t v : values) PutInt(b, v);
}
inline void PutString(Bytes& b, const std::string& s) {
    b.push_back(static_cast<uint8_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}
// A class written for the first time: 0xFFFF, schema, name length, name.
inline void PutNewClass(Bytes& b, const std::string& name, uint16_t schema) {
    PutWord(b, 0xFFFF);
    PutWord(b, schema);
    PutWord(b, static_cast<uint16_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
}
// An Object's own fields as a fresh `Object(name)` stores them: both names
// `name`, every other field at its default.
inline void PutObjectDefaults(Bytes& b, const std::string& name) {
    for (int32_t v : {0, 0, 1, 0}) PutInt(b, v);
    PutString(b, name);
    PutString(b, name);
    for (int32_t v : {-1, 0, 1, 1, 0, 1, -1, -1}) PutInt(b, v);
}

// A group of the group table (not self-contained) joining group `parent` by
// number, as a land file lists it. `tags` names the classes of Group, Member
// and Object by their archive indices when they came earlier (0: first use).
inline void PutTableGroup(Bytes& b, int32_t parent, int32_t own,
                          std::initializer_list<uint16_t> tags = {}) {
    if (tags.size() == 0) {
        PutNewClass(b, "Group", 2);
        PutNewClass(b, "Member", 7);
        PutNewClass(b, "Object", 11);
    } else {
        for (uint16_t t : tags) PutWord(b, static_cast<uint16_t>(0x8000 | t));
    }
    PutObjectDefaults(b, "Group");
    PutInts(b, {0, 10, 0, 0, 0, 0, 0, 0, parent, 0});
    PutInts(b, {own, -1});
}

}  // namespace record_test
