#pragma once
// Traps: things on the floor that act on a creature stepping onto them:
// caltrops strewn about hurt its feet; a shooter's trigger plate sets off a
// blast where the shooter stands.

#include <string>

#include "world/Object.h"

// A trap kind: a mover steps onto it (1), and a living creature sets it off;
// without a mover, 0.
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

// What caltrops do to a creature stepping onto them: plain damage.
struct CaltropsRules {
    static constexpr int kDamageBase = 1;
    static constexpr int kDamageRange = 6;
    static constexpr int kDamageKind = 0;
};

#undef QV_TRAP_KIND
