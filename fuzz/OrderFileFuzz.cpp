// A recording's order file.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::OrderFile)
