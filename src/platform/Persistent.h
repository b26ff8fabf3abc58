#pragma once
// Run-time classes and the serialisable base of every stored class.
//
// Each stored class is registered under its name with a schema number; the
// archive finds classes by name on loading and records the most derived class
// with its schema on storing. A class without the versioned mark accepts only
// its own schema from a file.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Handle.h"

namespace qv {

class Archive;
class Persistent;

struct RuntimeClass {
    const char* name;
    uint32_t schema;
    bool versioned;
    Persistent* (*create)();  // null for classes that cannot be made from a file
    const RuntimeClass* base;

    bool IsDerivedFrom(const RuntimeClass* other) const;
    Persistent* CreateObject() const { return create ? create() : nullptr; }

    // The class registered under that exact name, or null.
    static const RuntimeClass* Find(std::string_view name);
    // Registers a class by name; called from static initialisers. A second
    // class under a name already taken ends the program at start-up.
    static void Register(const RuntimeClass* cls);
};

class Persistent : public Trackable {
public:
    static const RuntimeClass classInfo;
    virtual ~Persistent() = default;
    virtual const RuntimeClass* GetRuntimeClass() const { return &classInfo; }
    virtual void Serialize(Archive&) {}
    // Consistency check and debug listing of a stored class; every game class
    // keeps their places ahead of its own operations, and the game's own
    // classes neither check nor list anything through them.
    virtual void AssertValid() const {}
    virtual void Dump() const {}

    bool IsKindOf(const RuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
};

// Registers a class at start-up; one instance per registered class.
struct ClassRegistration {
    explicit ClassRegistration(const RuntimeClass* cls) { RuntimeClass::Register(cls); }
};

template <class T>
T* DynamicCast(Persistent* p) {
    return p && p->IsKindOf(&T::classInfo) ? static_cast<T*>(p) : nullptr;
}
template <class T>
const T* DynamicCast(const Persistent* p) {
    return p && p->IsKindOf(&T::classInfo) ? static_cast<const T*>(p) : nullptr;
}

}  // namespace qv

// In a class body: its run-time class and the override that answers it.
#define QV_DECLARE_CLASS(Name)                                   \
public:                                                          \
    static const ::qv::RuntimeClass classInfo;                   \
    const ::qv::RuntimeClass* GetRuntimeClass() const override { \
        return &classInfo;                                       \
    }

// In the class's source file. The versioned flag lets older schemas be read.
// A class made from a file is built with its default constructor.
#define QV_IMPLEMENT_SERIAL(Name, Base, Schema, Versioned)                                        \
    const ::qv::RuntimeClass Name::classInfo = {#Name, (Schema), (Versioned),                     \
                                                []() -> ::qv::Persistent* { return new Name(); }, \
                                                &Base::classInfo};                                \
    static const ::qv::ClassRegistration qv_registration_##Name(&Name::classInfo);

// A class that is never made from a file (abstract or built only in code).
#define QV_IMPLEMENT_DYNAMIC(Name, Base) \
    const ::qv::RuntimeClass Name::classInfo = {#Name, 0xFFFF, false, nullptr, &Base::classInfo};
