// Travel: the moves of the party that wait for the next tick.

#include "play/Travel.h"

#include "world/Object.h"

void Travel::SetPendingWorld(Object* stairs) {
    m_pPendingWorld = stairs;
}
