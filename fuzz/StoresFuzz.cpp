// A stored store: its numbers and its stock.
#include "RoundTrip.h"
#include "items/Store.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Store>)
