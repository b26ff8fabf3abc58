#pragma once
// The stored-class boilerplate, written once. A stored class that adds no
// fields to its base declares, inside its class body,
//
//     QV_STORED_CLASS(Token)
//
// which gives it its run-time class, a constructor taking its name (the class
// name by default; the source defines it) and a Serialize that records only
// its base; its source file then says
//
//     QV_IMPLEMENT_STORED(Token, Object, 1)
//
// which registers it under its class name with a versioned schema and defines
// the Serialize.

#include <string>

#include "platform/Archive.h"
#include "platform/Persistent.h"

#define QV_STORED_CLASS(Name)                       \
    QV_DECLARE_CLASS(Name)                          \
public:                                             \
    explicit Name(const std::string& name = #Name); \
    void Serialize(::qv::Archive& ar) override;

#define QV_IMPLEMENT_STORED(Name, Base, Schema)   \
    QV_IMPLEMENT_SERIAL(Name, Base, Schema, true) \
    QV_SERIALIZE_BASE_ONLY(Name, Base)
