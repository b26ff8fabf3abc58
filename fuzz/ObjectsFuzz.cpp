// A stored object of any kind placed in the world: walls, scenery, platforms, lights, keys, items,
// events.
#include "RoundTrip.h"
#include "world/Object.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Object>)
