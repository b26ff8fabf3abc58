// A creature's stored magic (its known spells, mana and school skills).
#include "RoundTrip.h"
#include "items/Magic.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Magic>)
