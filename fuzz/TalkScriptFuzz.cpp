// The conversation scripts of the game folder.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::TalkScriptText)
