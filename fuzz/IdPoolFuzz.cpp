// The stored pool of free member ids.
#include "RoundTrip.h"
#include "world/UnusedNumbers.h"

QV_FUZZ_TARGET(fuzz::StoredObject<UnusedNumbers>)
