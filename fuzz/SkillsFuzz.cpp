// A stored skill record, plain or a fighting skill.
#include "RoundTrip.h"
#include "items/Skill.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Skill>)
