// A stored key record.
#include "RoundTrip.h"
#include "structures/KeyStorage.h"

QV_FUZZ_TARGET(fuzz::StoredObject<KeyStorage>)
