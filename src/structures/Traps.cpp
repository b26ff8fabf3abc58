#include "structures/Traps.h"

#include "platform/Archive.h"

#define QV_TRAP_KIND_IMPL(Name)                          \
    QV_IMPLEMENT_SERIAL(Name, Object, 1, true)           \
    Name::Name(const std::string& name) : Object(name) { \
        m_bMoveable = 0;                                 \
    }                                                    \
    QV_SERIALIZE_BASE_ONLY(Name, Object)                 \
    int Name::StepOn(Position*, Object* mover) {         \
        return mover ? 1 : 0;                            \
    }

QV_TRAP_KIND_IMPL(Caltrops)
QV_TRAP_KIND_IMPL(MissileShooter)
