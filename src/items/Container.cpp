#include "items/Container.h"

#include <array>

#include "items/ItemPictures.h"
#include "media/DDObjects.h"
#include "media/DSound.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/ObjectHolder.h"

QV_IMPLEMENT_SERIAL(Container, Scenery, 3, true)
QV_IMPLEMENT_SERIAL(Chest, Container, 2, true)
QV_IMPLEMENT_SERIAL(Coffin, Container, 1, true)
QV_IMPLEMENT_SERIAL(Barrel, Container, 2, true)

namespace {

InventoryWindows* g_pInventoryWindows = nullptr;

// Action code 3 turns a container's lock.
constexpr int kTurnLock = 3;
// The kinds' pictures sample the light at their corners too.
constexpr int kCornerSampling = 2;
constexpr int kPictureLevels = 4;

// The sound a locked lid makes, shared by every container.
CDSound& LockedSound() {
    static CDSound sound(kWaveLocked);
    return sound;
}

enum KindImage { kChestImage, kCoffinImage, kBarrelImage, kKindImages };
CDDObject& KindImage(int which) {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static std::array<CDDObject, kKindImages> images;
    return images[static_cast<size_t>(which)];
}

}  // namespace

InventoryWindows* GetInventoryWindows() {
    return g_pInventoryWindows;
}

void SetInventoryWindows(InventoryWindows* windows) {
    g_pInventoryWindows = windows;
}

// ---- Container

Container::Container(const std::string& name)
    : Scenery(name), m_pBag(std::make_unique<CBag>("Bag")) {
    m_bInteract = 0;
}

Container::~Container() = default;

void Container::SetUpKind(int bitmap, int width, int height, int hotX, int hotY, int across) {
    m_iLightSampling = kCornerSampling;
    m_bMoveable = 0;
    const int which = bitmap == kBitmapChest    ? kChestImage
                      : bitmap == kBitmapCoffin ? kCoffinImage
                                                : kBarrelImage;
    DressItem(*this, KindImage(which),
              ItemLook{bitmap, width, height, hotX, hotY, across, 1, kPictureLevels});
    m_pBag->m_iBagKind = GetBagKind();
}

void Container::EnsureBag() {
    if (!m_pBag) m_pBag = std::make_unique<CBag>("Bag");
    // The bag's kind is its container's.
    m_pBag->m_iBagKind = GetBagKind();
}

void Container::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Scenery::classInfo);
    Scenery::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_pBag ? 1 : 0);
        if (m_pBag) ar.WriteObject(m_pBag.get());
        ar.WriteInt(m_bLocked);
        return;
    }
    if (schema > 1 && ar.ReadInt() != 0) {
        m_pBag.reset(ReadObjectOutsideGroups<CBag>(ar));
        // A marker with no bag behind it leaves an empty bag.
    }
    if (schema > 2) m_bLocked = ar.ReadInt();
    EnsureBag();
    m_bInteract = 0;
}

int Container::Activate(int* action, Player*) {
    if (action && *action == kTurnLock) m_bLocked = m_bLocked ? 0 : 1;
    if (m_bLocked) {
        if (m_pHolder) LockedSound().PlayAt(m_pHolder->pos.x, m_pHolder->pos.y);
        return 0;
    }
    InventoryWindows* windows = GetInventoryWindows();
    if (!windows || !windows->IsInventoryOpen()) return 0;
    EnsureBag();
    windows->ShowContainer(m_pBag.get());
    return 1;
}

void Container::GetImageFrame(int* x, int* y) {
    const bool askedX = x && *x >= 0, askedY = y && *y >= 0;
    Scenery::GetImageFrame(x, y);
    KeepInGrid(m_pDDImage, askedX, askedY, x, y);
}

int Container::Edit() {
    // The "Container" dialog belongs to the editor.
    Object::Edit();
    return 0;
}

const std::vector<std::unique_ptr<Object>>* Container::GetItemList() {
    if (!QV_CHECK_TEXT(m_pBag != nullptr, "m_pBag != NULL")) return nullptr;
    return &m_pBag->Items();
}

// ---- The kinds

Chest::Chest(const std::string& name) : Container(name) {
    SetUpKind(kBitmapChest, 52, 36, 26, 18, 1);
}

void Chest::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Container::classInfo);
    Container::Serialize(ar);
    if (ar.IsStoring() || schema != 1) return;
    // The oldest chests listed their items apart; they join the bag, stacks
    // joined, and what does not fit goes in all the same.
    const size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<Object> item(ReadObjectOutsideGroups<Object>(ar));
        if (!item) continue;
        if (m_pBag->PutItem(item.get(), 1) != 0) {
            item.release();
            continue;
        }
        if (CBag* inner = qv::DynamicCast<CBag>(item.get()); inner && inner->Parent()) continue;
        m_pBag->AddItem(item.release());
        m_pBag->SetItemCount(m_pBag->ItemCount() + 1);
    }
}

Coffin::Coffin(const std::string& name) : Container(name) {
    SetUpKind(kBitmapCoffin, 97, 36, 45, 28, 1);
}

QV_SERIALIZE_BASE_ONLY(Coffin, Container)

Barrel::Barrel(const std::string& name) : Container(name) {
    SetUpKind(kBitmapBarrel, 37, 51, 18, 25, 2);
}

void Barrel::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Container::classInfo);
    Container::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_bRainBarrel);
        return;
    }
    if (schema > 1) m_bRainBarrel = ar.ReadInt();
    if (m_bRainBarrel) SetRainBarrel(m_bRainBarrel);
}

int Barrel::Activate(int* action, Player* actor) {
    if (m_bRainBarrel) return 1;
    return Container::Activate(action, actor);
}

int Barrel::Edit() {
    // The "Container" dialog with its "Rain Barrel" box belongs to the editor.
    Object::Edit();
    return 0;
}

void Barrel::SetRainBarrel(int32_t rain) {
    m_bRainBarrel = rain;
    if (rain) {
        SetName("RainBarrel");
        m_iXImageNum = 1;
    } else {
        SetName("Barrel");
        m_iXImageNum = 0;
    }
}
