#include "creatures/PlayerMove.h"

#include "platform/Archive.h"
#include "platform/Format.h"

QV_IMPLEMENT_SERIAL(PlayerMove, qv::Persistent, 1, true)
QV_IMPLEMENT_SERIAL(PlayerMoveTo, PlayerMove, 1, false)

void PlayerMove::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
}

int PlayerMove::GetMoveType() {
    return 0;
}

void PlayerMove::Describe(std::string& text) {
    text = "PlayerMove";
}

void PlayerMoveTo::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&PlayerMove::classInfo);
    PlayerMove::Serialize(ar);
    ar.Exchange(x);
    ar.Exchange(y);
}

int PlayerMoveTo::GetMoveType() {
    return 1;
}

void PlayerMoveTo::Describe(std::string& text) {
    text = qv::Format("Move to:  %d, %d", x, y);
}
