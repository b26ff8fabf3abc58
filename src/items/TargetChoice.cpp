#include "items/TargetChoice.h"

#include "media/MouseCursor.h"
#include "world/Global.h"
#include "world/Object.h"

namespace {
TargetChoice* s_pChoice = nullptr;
}  // namespace

TargetChoice* GetTargetChoice() {
    return s_pChoice;
}

void SetTargetChoice(TargetChoice* choice) {
    s_pChoice = choice;
}

int BeginTargetChoice(Object& item, Player* user, int selectMode, int pause,
                      const std::string& prompt) {
    if (TargetChoice* choice = GetTargetChoice())
        choice->BeginTargetChoice(&item, user, selectMode, pause, prompt);
    else
        SetMessageLine(prompt);
    if (CMouseCursor* cursor = GetMouseCursor())
        if (CDDObject* picture = item.GetImage()) cursor->SetDragImage(picture, 0, 0);
    return 2;
}

void EndUsePause() {
    if (TargetChoice* choice = GetTargetChoice()) choice->EndUsePause();
}
