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
                      const std::string& prompt) {
    if (WorldRules* rules = Rules())
        rules->BeginTargetChoice(&item, user, selectMode, pause, prompt);
    else
        SetMessageLine(prompt);
    if (CMouseCursor* cursor = GetMouseCursor())
        if (CDDObject* picture = item.GetImage()) cursor->SetDragImage(picture, 0, 0);
    return 2;
}

void EndUsePause() {
    if (WorldRules* rules = Rules()) rules->EndUsePause();
}
