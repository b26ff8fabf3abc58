#include "platform/Persistent.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace qv {

const RuntimeClass Persistent::classInfo = {"Persistent", 0xFFFF, false, nullptr, nullptr};

namespace {
std::map<std::string, const RuntimeClass*, std::less<>>& Registry() {
    static std::map<std::string, const RuntimeClass*, std::less<>> registry;
    return registry;
}
}  // namespace

bool RuntimeClass::IsDerivedFrom(const RuntimeClass* other) const {
    for (const RuntimeClass* c = this; c; c = c->base)
        if (c == other) return true;
    return false;
}

const RuntimeClass* RuntimeClass::Find(std::string_view name) {
    auto& reg = Registry();
    auto it = reg.find(name);
    return it == reg.end() ? nullptr : it->second;
}

void RuntimeClass::Register(const RuntimeClass* cls) {
    auto [it, added] = Registry().emplace(cls->name, cls);
    if (!added && it->second != cls) {
        // Files name classes: two under one name would load as whichever won.
        std::fprintf(stderr, "two classes registered as '%s'\n", cls->name);
        std::abort();
    }
}

}  // namespace qv
