#include "world/Global.h"

#include "platform/Files.h"
#include "platform/Format.h"
#include "world/World.h"
#include "world/WorldRules.h"

MapMaster* GetMapMaster() {
    World* w = GetWorld();
    return w ? w->map_master.get() : nullptr;
}

std::vector<Player*>* GetPlayerArray() {
    World* w = GetWorld();
    return w ? &w->m_PlayerArray : nullptr;
}

int IsEditMode() {
    World* w = GetWorld();
    return w && w->m_pRules ? w->m_pRules->IsEditing() : 0;
}

std::string GetBaseDirectory() {
    World* w = GetWorld();
    return w && w->m_pRules ? w->m_pRules->GameFolder() : std::string();
}

int IsDebugView() {
    World* w = GetWorld();
    return w ? w->m_bDebugView : 0;
}

void SetDebugView(int on) {
    if (World* w = GetWorld()) w->m_bDebugView = on ? 1 : 0;
}

int GetDrawEnabled() {
    return 1;
}

std::string FileErrorText(const qv::FileError& error) {
    return error.cause == qv::FileError::NotFound
               ? qv::Format("%s not found.", error.fileName.c_str())
               : qv::Format("Problems with file %s", error.what());
}

void AssertFailed(int line, const char* file, const char* expression) {
    const char* name = file ? file : "";
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    FatalMessage("assertion failed (%d:%s)\n%s", line, name, expression ? expression : "");
}
