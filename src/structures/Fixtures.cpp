#include "structures/Fixtures.h"

#include <algorithm>
#include <vector>

#include "creatures/KeySignal.h"
#include "platform/Archive.h"
#include "structures/Looks.h"
#include "structures/Scenery.h"
#include "world/Global.h"
#include "world/KeyStorage.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Key, Object, 1, true)
QV_IMPLEMENT_SERIAL(Lever, Key, 1, true)
QV_IMPLEMENT_SERIAL(Stairs, Object, 1, true)

Key::Key(const std::string& name) : Object(name) {
    WearLook(*this, {kBitmapItemGround + kItemKey, 32, 24, 16, 16, 1, 1});
}

QV_SERIALIZE_BASE_ONLY(Key, Object)

Lever::Lever(const std::string& name) : Key(name) {
    WearLook(*this, {kBitmapLever, 24, 32, 12, 28, 2, 1});
    m_bMoveable = 0;
}

void Lever::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Key::classInfo);
    Key::Serialize(ar);
    ar.Exchange(m_iMode);
}

int Lever::Activate(int* action, Player* actor) {
    if (!action || *action != 2) return -1;
    if (m_iMode == 1 && !actor) return 0;
    m_iState = m_iState == 1 ? 2 : 1;
    // A lever reached by the signal of another lever of its key takes its
    // other state but does not signal again: two levers of one door would
    // otherwise work each other for ever.
    static std::vector<int> signalling;
    if (std::find(signalling.begin(), signalling.end(), m_iItemNum) != signalling.end()) return 0;
    signalling.push_back(m_iItemNum);
    struct Done {
        ~Done() { signalling.pop_back(); }
    } done;
    return SignalKey(m_iItemNum, 2, actor, this);
}

Stairs::Stairs(const std::string& name) : Object(name) {
    m_iLightSampling = 2;
    WearLook(*this, {kBitmapStairs, 64, 48, 32, 36, 1, 1});
    m_bMoveable = 0;
}

int Stairs::StepOn(Position*, Object* mover) {
    return mover ? 1 : 0;
}

void Stairs::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    ar.Exchange(m_strWorldFile);
    ar.Exchange(m_iTargetX);
    ar.Exchange(m_iTargetY);
}
