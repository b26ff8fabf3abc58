// The intro movie of the game folder (an AVI file).
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::MovieFile)
