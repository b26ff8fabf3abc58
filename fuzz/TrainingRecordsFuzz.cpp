// A list of training records.
#include "RoundTrip.h"

QV_FUZZ_TARGET(fuzz::TrainingRecordFile)
