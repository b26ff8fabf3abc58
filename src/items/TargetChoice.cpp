#include "items/TargetChoice.h"

#include "media/MouseCursor.h"
#include "world/Global.h"
#include "world/Object.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace {
WorldRules* Rules() {
    World* world = GetWorld();
    return world ? world->m_pRules : nullptr;
}
}  // namespace

int BeginTargetChoice(Object& item, Player* user, int selectMode, int pause,
                      const std::string& prompt, CDDObject* cursor) {
    if (WorldRules* rules = Rules())
        rules->BeginTargetChoice(&item, user, selectMode, pause, prompt);
    else
        SetMessageLine(prompt);
    if (CMouseCursor* mouse = GetMouseCursor())
        if (CDDObject* picture = cursor ? cursor : item.GetImage())
            mouse->SetDragImage(picture, 0, 0);
    return 2;
}

void EndUsePause() {
    if (WorldRules* rules = Rules()) rules->EndUsePause();
}
