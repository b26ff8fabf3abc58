#include "creatures/KeySignal.h"

#include <vector>

#include "creatures/Player.h"
#include "platform/Handle.h"
#include "world/Global.h"
#include "world/KeyStorage.h"
#include "world/World.h"

int SignalKey(int32_t key, int code, Player* actor, const Object* except) {
    World* world = GetWorld();
    if (!world) return 0;
    for (const auto& record : world->m_KeyStorageList) {
        if (!record || record->m_iKeyNum != key) continue;
        const std::vector<qv::Handle<Object>> objects = record->m_ObjectList;
        const qv::Handle<Player> who(actor);
        int result = 0;
        for (const auto& h : objects) {
            Object* object = h.Get();
            if (!object || object == except) continue;
            int signal = code;
            result = object->Activate(&signal, actor);
            if (result == Object::kWorldChanged) break;
            if (actor && !who) break;  // the actor went away with the signal
        }
        return result;
    }
    return 0;
}
