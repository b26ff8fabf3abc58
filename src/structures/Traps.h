#pragma once
// Traps: things on the floor that act on a creature stepping onto them
// (caltrops strewn about, a shooter's trigger plate).

#include <string>

#include "world/Object.h"

// A trap kind: a mover steps onto it (1); without a mover, 0.
#define QV_TRAP_KIND(Name)                                 \
    class Name : public Object {                           \
        QV_DECLARE_CLASS(Name)                             \
    public:                                                \
        explicit Name(const std::string& name = #Name);    \
        void Serialize(qv::Archive& ar) override;          \
        int StepOn(Position* pos, Object* mover) override; \
    };

QV_TRAP_KIND(Caltrops)
QV_TRAP_KIND(MissileShooter)

#undef QV_TRAP_KIND
