#include "shell/BuildTools.h"

namespace {
CBuildTools* g_pBuildTools = nullptr;
}

CBuildTools* GetBuildTools() {
    return g_pBuildTools;
}

void SetBuildTools(CBuildTools* tools) {
    g_pBuildTools = tools;
}
