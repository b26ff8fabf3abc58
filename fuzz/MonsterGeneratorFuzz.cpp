// A stored monster generator with its template group, and tokens and their
// takers (the seeds hold each).
#include "RoundTrip.h"
#include "creatures/MonsterGenerator.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Object>)
