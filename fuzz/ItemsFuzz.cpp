// A stored bag with the items, spells and bags it holds.
#include "RoundTrip.h"
#include "items/Bag.h"

QV_FUZZ_TARGET(fuzz::StoredObject<CBag>)
