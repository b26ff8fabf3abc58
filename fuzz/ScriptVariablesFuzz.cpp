// The script variables file of the editor, read from a file as the frame
// reads it.
#include "RoundTrip.h"
#include "platform/Files.h"
#include "world/ScriptVariables.h"

namespace {

std::optional<fuzz::Bytes> ScriptVariablesFile(const fuzz::Bytes& input) {
    fuzz::TempFile in(input);
    auto variables = ParseScriptVariables(qv::ReadWholeFile(in.Path()));
    return StoreScriptVariables(variables);
}

}  // namespace

QV_FUZZ_TARGET(ScriptVariablesFile)
