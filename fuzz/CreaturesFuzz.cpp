// A stored creature with its bag, spells, orders and scripted moves, of any
// species: the seeds hold one of each, a woman and a changed changeling.
#include "RoundTrip.h"
#include "creatures/Player.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Player>)
