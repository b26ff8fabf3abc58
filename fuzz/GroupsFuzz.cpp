// A stored group with its members and nested groups.
#include "RoundTrip.h"
#include "world/Group.h"

QV_FUZZ_TARGET(fuzz::StoredObject<Group>)
