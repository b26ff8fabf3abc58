#include "media/Resources.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_StoreMutex;

}  // namespace

std::shared_ptr<const CDIBitmap> FindBitmapResource(int id) {
    std::lock_guard lock(g_StoreMutex);
    static std::map<int, std::shared_ptr<const CDIBitmap>> cache;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    return nullptr;
}

std::shared_ptr<const WaveResource> FindWaveResource(int) {
    return nullptr;
}

std::vector<int> BitmapResourceIds() {
    return {};
}
std::vector<int> WaveResourceIds() {
    return {};
}
