// A stored key record.
#include "RoundTrip.h"
#include "world/KeyStorage.h"

QV_FUZZ_TARGET(fuzz::StoredObject<KeyStorage>)
