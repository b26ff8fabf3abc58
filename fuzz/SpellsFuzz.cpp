// A stored spell of any kind of the four schools, with its targets and its own fields.
#include "RoundTrip.h"
#include "items/Spell.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Spell>)
