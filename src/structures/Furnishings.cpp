#include "structures/Furnishings.h"

#include <algorithm>
#include <array>

#include "items/ItemPictures.h"
#include "items/Useable.h"
#include "media/Resources.h"
#include "structures/Looks.h"
#include "world/ObjectHolder.h"

namespace {

// Hot spots: standing things stand on a point near the foot of their
// picture; things lying flat lie about their middle; a small carried thing
// lies as every item on the ground does.
constexpr int kItemHotX = 16, kItemHotY = 16;

// The lights' strength at their centre and their reach in pixels.
constexpr int kCampFireLight = 120, kCampFireReach = 280;
constexpr int kTorchLight = 100, kTorchReach = 200;
constexpr int kCandleLight = 60, kCandleReach = 120;
constexpr int kHearthLight = 128, kHearthReach = 320;
constexpr int kCandelabraLight = 80, kCandelabraReach = 180;
constexpr int kCandelabra2Light = 100, kCandelabra2Reach = 240;

constexpr bool kBlocks = true, kFlat = false;
constexpr bool kCarried = true, kPlaced = false;

constexpr ObjectKind kKinds[] = {
    // name, picture, variants, hot spot, blocks, light, reach, carried, value, weight
    {"Net", kBitmapNet, 1, 24, 38, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Rope", kBitmapRope, 1, 32, 22, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Sign", kBitmapSign, 1, 16, 38, kBlocks, 0, 0, kPlaced, 0, 1},
    {"BookCase", kBitmapBookCase, 1, 24, 62, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Table", kBitmapTable, 1, 28, 34, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Bench", kBitmapBench, 1, 28, 22, kBlocks, 0, 0, kPlaced, 0, 1},
    {"FloorChange", kBitmapFloorChange, 1, 24, 14, kFlat, 0, 0, kPlaced, 0, 1},
    {"Gas", kBitmapGas, 1, 24, 16, kFlat, 0, 0, kPlaced, 0, 1},
    {"CampFire", kBitmapCampFire, 1, 20, 28, kBlocks, kCampFireLight, kCampFireReach, kPlaced, 0,
     1},
    {"Torch", kBitmapTorch, 1, kItemHotX, kItemHotY, kFlat, kTorchLight, kTorchReach, kCarried, 2,
     2},
    {"Candle", kBitmapCandle, 1, 6, 18, kFlat, kCandleLight, kCandleReach, kCarried, 1, 1},
    {"WallTorch", kBitmapWallTorch, 1, 8, 38, kFlat, kTorchLight, kTorchReach, kPlaced, 0, 1},
    {"Hearth", kBitmapHearth, 1, 32, 54, kBlocks, kHearthLight, kHearthReach, kPlaced, 0, 1},
    {"Candelabra", kBitmapCandelabra, 1, 12, 46, kBlocks, kCandelabraLight, kCandelabraReach,
     kPlaced, 0, 1},
    {"Candelabra2", kBitmapCandelabra2, 1, 16, 54, kBlocks, kCandelabra2Light, kCandelabra2Reach,
     kPlaced, 0, 1},
    {"Column", kBitmapColumn, 1, 12, 78, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Fountain", kBitmapFountain, 1, 32, 40, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Forge", kBitmapForge, 1, 28, 44, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Picture", kBitmapPicture, kPictureVariants, 14, 22, kFlat, 0, 0, kPlaced, 0, 1},
    {"Altar", kBitmapAltar, 1, 28, 34, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Target", kBitmapTarget, 1, 16, 38, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Clock", kBitmapClock, 1, 12, 62, kBlocks, 0, 0, kPlaced, 0, 1},
    {"Blocks", kBitmapBlocks, 1, 20, 36, kBlocks, 0, 0, kPlaced, 0, 1},
    {"SpriteTest", kBitmapSpriteTest, 1, 16, 24, kFlat, 0, 0, kPlaced, 0, 1},
    {"Book", kBitmapItemGround + kItemBook, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 10, 2},
    {"Letter", kBitmapLetter, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 0, 1},
    {"Whistle", kBitmapWhistle, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 5, 1},
    {"Trash", kBitmapTrash, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 0, 1},
    {"SnakeSkin", kBitmapSnakeSkin, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 8, 1},
    {"Gem", kBitmapGem, kGemVariants, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 50, 1},
    {"BandAid", kBitmapBandAid, 1, kItemHotX, kItemHotY, kFlat, 0, 0, kCarried, 10, 1},
};

// The collision kinds: placed by the picture and blocking through it; an
// item; a thing placed as a point that never blocks.
constexpr int kCollidesByPicture = 2, kCollidesAsItem = 1, kCollidesNever = 0;

}  // namespace

std::span<const ObjectKind> ObjectKinds() {
    return kKinds;
}

const ObjectKind* FindObjectKind(std::string_view name) {
    const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                                 [&](const ObjectKind& k) { return name == k.name; });
    return it == std::end(kKinds) ? nullptr : &*it;
}

const ObjectKind& KindNamed(std::string_view name) {
    // Every kind class names a row of the table (the tests walk them all);
    // a name without one would show the first row's picture.
    const ObjectKind* kind = FindObjectKind(name);
    return kind ? *kind : kKinds[0];
}

void WearKind(Object& object, const ObjectKind& kind) {
    int width = 32, height = 32;
    if (auto picture = FindBitmapResource(kind.bitmap)) {
        width = picture->Width() / std::max(1, kind.variants);
        height = picture->Height();
    }
    WearLook(object, {kind.bitmap, width, height, kind.hotX, kind.hotY, kind.variants, 1});
    object.m_iLightSampling =
        kind.blocks ? kCollidesByPicture : (kind.carried ? kCollidesAsItem : kCollidesNever);
    object.m_bMoveable = kind.carried ? 1 : 0;
    object.m_iValue = kind.value;
    object.m_iWeight = kind.weight;
}

// ---- the families

Furnishing::Furnishing(const ObjectKind& kind, const std::string& name) : Scenery(name) {
    m_iPictureBitmap = kind.bitmap;
    WearKind(*this, kind);
}

Object* Furnishing::Clone() {
    Object* copy = Object::Clone();
    if (copy) CopyObjectFields(*copy, *this);
    return copy;
}

void Furnishing::GetImageFrame(int* x, int* y) {
    const bool askedX = x && *x >= 0, askedY = y && *y >= 0;
    Object::GetImageFrame(x, y);
    KeepInGrid(m_pDDImage, askedX, askedY, x, y);
}

Lamp::Lamp(const ObjectKind& kind, const std::string& name) : LightSource(name) {
    WearKind(*this, kind);
    m_iStrength = kind.light;
    m_iRadius = kind.reach;
    m_bVisible = 1;
}

Object* Lamp::Clone() {
    Object* copy = Object::Clone();
    if (!copy) return nullptr;
    CopyObjectFields(*copy, *this);
    if (auto* light = qv::DynamicCast<LightSource>(copy)) {
        light->m_iStrength = m_iStrength;
        light->m_iRadius = m_iRadius;
        light->m_bVisible = m_bVisible;
        light->m_bLit = m_bLit;
        light->m_iDuration = m_iDuration;
    }
    return copy;
}

bool IsReadable(const Object& object) {
    return qv::DynamicCast<Sign>(&object) || qv::DynamicCast<Book>(&object) ||
           qv::DynamicCast<Letter>(&object);
}

PlainKind::PlainKind(const ObjectKind& kind, const std::string& name) : Object(name) {
    WearKind(*this, kind);
}

Object* PlainKind::Clone() {
    Object* copy = Object::Clone();
    if (copy) CopyObjectFields(*copy, *this);
    return copy;
}

void PlaceKeeper::SetPosition(MapCell*, Position* pos) {
    if (pos) m_Position = *pos;
}

int GasCloud::StepOn(Position*, Object* mover) {
    if (!mover || mover->Type() != PLAYER) return mover ? 1 : 0;
    if (m_iState != kSpent && m_pHolder) {
        m_iState = kSpent;
        SetOffExplosion(m_pHolder->pos);
    }
    return 1;
}

// ---- the kinds

QV_IMPLEMENT_OBJECT_KIND(Net, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Rope, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(BookCase, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Table, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Bench, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Column, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Fountain, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Forge, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Altar, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Target, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Clock, Furnishing, Scenery)
QV_IMPLEMENT_OBJECT_KIND(Blocks, Furnishing, Scenery)

QV_IMPLEMENT_OBJECT_KIND(CampFire, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(Torch, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(Candle, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(WallTorch, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(Hearth, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(Candelabra, Lamp, LightSource)
QV_IMPLEMENT_OBJECT_KIND(Candelabra2, Lamp, LightSource)

QV_IMPLEMENT_OBJECT_KIND(Sign, PlainKind, Object)
QV_IMPLEMENT_OBJECT_KIND(Book, PlainKind, Object)
QV_IMPLEMENT_OBJECT_KIND(Letter, PlainKind, Object)
QV_IMPLEMENT_OBJECT_KIND(SpriteTest, PlainKind, Object)
QV_IMPLEMENT_OBJECT_KIND(FloorChange, PlaceKeeper, Object)
QV_IMPLEMENT_OBJECT_KIND(Gas, GasCloud, Object)

QV_IMPLEMENT_STORED(Picture, Scenery, 1)

Picture::Picture(int variant) : Furnishing(KindNamed("Picture"), "Picture") {
    m_iXImageNum = variant;
}
