#include "structures/Looks.h"

#include <map>
#include <memory>
#include <mutex>

#include "media/DDObjects.h"
#include "world/Object.h"

namespace {

// The looks' images by bitmap, for the whole run (the images themselves keep
// their surfaces only while used). The start of play builds its scenery
// prototypes on a worker thread, hence the lock.
std::mutex g_LooksMutex;

// Never destroyed: scenery prototypes that wear a look may outlive every
// other static at the program's end, and give their use back then.
std::map<int, std::unique_ptr<CDDObject>>& Images() {
    static auto* images = new std::map<int, std::unique_ptr<CDDObject>>;
    return *images;
}

}  // namespace

CDDObject* UseLook(const ClassLook& look) {
    std::lock_guard lock(g_LooksMutex);
    auto& image = Images()[look.bitmap];
    if (!image) image = std::make_unique<CDDObject>();
    if (++image->m_iUseCount == 1) {
        int across = look.across, down = look.down;
        image->SetCellGrid(across, down);
        image->SetFrameCount(kLookLevels);
        image->m_iWidth = look.width;
        image->m_iHeight = look.height;
        image->m_iHotX = look.hotX;
        image->m_iHotY = look.hotY;
        image->m_iZOffset = 0;
        image->m_iNumLevels = kLookLevels;
        for (int frame = 0; frame < kLookLevels; ++frame) {
            int levels = kLookLevels, f = frame, id = look.bitmap;
            image->SetFrameLevels(f, levels);
            image->SetFrameImage(id, 0, 0, f);
        }
        image->Load();
    }
    return image.get();
}

void ReturnLook(CDDObject* image) {
    if (!image) return;
    std::lock_guard lock(g_LooksMutex);
    if (image->m_iUseCount <= 0) return;
    if (--image->m_iUseCount == 0) image->Release();
}

void WearLook(Object& object, const ClassLook& look) {
    // The new use first: a look worn again keeps its surfaces.
    CDDObject* image = UseLook(look);
    object.Object::ReleaseImages();
    object.m_pDDImage = image;
    object.m_pClassDDImage = image;
    object.m_iNumLevels = image->m_iNumLevels;
}
