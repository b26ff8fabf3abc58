// A tune of the game folder's "Music" (a standard MIDI file).
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::TuneFile)
