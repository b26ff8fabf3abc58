#include "items/ItemPictures.h"

#include <map>
#include <memory>
#include <mutex>

#include "media/DDObjects.h"
#include "world/Object.h"

void DressItem(Object& object, CDDObject& image, const ItemLook& look) {
    if (&image == object.m_pDDImage) return;
    if (CDDObject* old = object.m_pDDImage)
        if (old->m_iUseCount > 0 && --old->m_iUseCount == 0) old->Release();
    if (++image.m_iUseCount == 1) {
        int across = look.across, down = look.down;
        image.SetCellGrid(across, down);
        image.SetFrameCount(look.levels);
        image.m_iWidth = look.width;
        image.m_iHeight = look.height;
        image.m_iZOffset = 0;
        image.m_iHotX = look.hotX;
        image.m_iHotY = look.hotY;
        image.m_iNumLevels = look.levels;
        for (int i = 0; i < look.levels; ++i) {
            int levels = look.levels, frame = i, bitmap = look.bitmap;
            image.SetFrameLevels(i, levels);
            image.SetFrameImage(bitmap, 0, 0, frame);
        }
        image.Load();
    }
    object.m_pDDImage = &image;
    object.m_pClassDDImage = &image;
    object.m_iNumLevels = look.levels;
}

CDDObject* InventoryPicture(int bitmap, int width, int height) {
    // The image list outlives the pictures that join it.
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static std::mutex guard;
    static std::map<int, std::unique_ptr<CDDObject>> pictures;
    std::lock_guard lock(guard);
    auto& picture = pictures[bitmap];
    if (!picture) {
        picture = std::make_unique<CDDObject>();
        picture->Create(width, height, width / 2, height * 3 / 4, &bitmap, 1, 1);
    }
    return picture.get();
}

void KeepInGrid(const CDDObject* image, bool askedX, bool askedY, int* x, int* y) {
    if (!image) return;
    if (askedX && x && (*x < 0 || *x >= image->m_iCellsAcross)) *x = 0;
    if (askedY && y && (*y < 0 || *y >= image->m_iCellsDown)) *y = 0;
}
