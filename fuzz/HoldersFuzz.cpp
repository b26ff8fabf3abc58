// A stored holder with the object it places.
#include "RoundTrip.h"
#include "world/ObjectHolder.h"

QV_FUZZ_TARGET(fuzz::StoredObject<ObjectHolder>)
