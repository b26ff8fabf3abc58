#include "structures/Traps.h"

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/Rand.h"
#include "structures/LightSource.h"
#include "structures/Looks.h"
#include "world/ObjectHolder.h"

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
    QV_SERIALIZE_BASE_ONLY(Name, Object)

QV_TRAP_KIND_IMPL(Caltrops)
QV_TRAP_KIND_IMPL(MissileShooter)

namespace {

// The living creature that sets a trap off, else null.
Player* Victim(Object* mover) {
    auto* p = mover && mover->Type() == PLAYER ? qv::DynamicCast<Player>(mover) : nullptr;
    return p && p->IsAlive() ? p : nullptr;
}

}  // namespace

int Caltrops::StepOn(Position*, Object* mover) {
    if (Player* p = Victim(mover))
        p->TakeDamage(CaltropsRules::kDamageBase + qv::Rand() % CaltropsRules::kDamageRange,
                      CaltropsRules::kDamageKind);
    return mover ? 1 : 0;
}

int MissileShooter::StepOn(Position*, Object* mover) {
    if (Victim(mover) && m_pHolder) SetOffExplosion(m_pHolder->pos);
    return mover ? 1 : 0;
}
