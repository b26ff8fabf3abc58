#include "platform/Persistent.h"

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
    Registry()[cls->name] = cls;
}

}  // namespace qv
