// The settings file.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::SettingsFile)
