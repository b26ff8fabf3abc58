// A picture file (.bmp).
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::PictureFile)
