// A stored creature with its bag, spells, orders and scripted moves.
#include "RoundTrip.h"
#include "creatures/Player.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Player>)
