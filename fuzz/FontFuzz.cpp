// The alphabet's console font file.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::FontFile)
