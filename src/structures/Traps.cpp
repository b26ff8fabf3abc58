#include "structures/Traps.h"

#include "platform/Archive.h"
#include "structures/Looks.h"

namespace {
constexpr ClassLook kCaltropsLook{kBitmapCaltrops, 32, 20, 16, 12, 1, 1};
constexpr ClassLook kMissileShooterLook{kBitmapMissileShooter, 32, 32, 16, 24, 1, 1};
}  // namespace

#define QV_TRAP_KIND_IMPL(Name)                          \
    QV_IMPLEMENT_SERIAL(Name, Object, 1, true)           \
    Name::Name(const std::string& name) : Object(name) { \
        m_bMoveable = 0;                                 \
        WearLook(*this, k##Name##Look);                  \
    }                                                    \
    QV_SERIALIZE_BASE_ONLY(Name, Object)                 \
    int Name::StepOn(Position*, Object* mover) {         \
        return mover ? 1 : 0;                            \
    }

QV_TRAP_KIND_IMPL(Caltrops)
QV_TRAP_KIND_IMPL(MissileShooter)
