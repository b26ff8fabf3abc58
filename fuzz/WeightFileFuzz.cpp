// A network's weight file.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::WeightFile)
