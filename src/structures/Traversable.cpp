#include "structures/Traversable.h"

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "structures/Looks.h"
#include "structures/Scenery.h"
#include "world/Global.h"
#include "world/MapImage.h"

QV_IMPLEMENT_SERIAL(Traversable, Object, 1, true)
QV_IMPLEMENT_SERIAL(DrawBridge, Traversable, 1, true)
QV_IMPLEMENT_SERIAL(Ship, Traversable, 1, true)
QV_IMPLEMENT_SERIAL(Mast, Object, 1, true)

namespace {

// A bridge's decks, by the way it carries: 0 north and south, 1 east and
// west; row 0 lowered, row 1 raised.
constexpr ClassLook kDrawBridgeDecks[2] = {
    {kBitmapDrawBridgeDeck, 2 * kBridgeHalfWidth, 2 * kBridgeHalfSpanY, kBridgeHalfWidth,
     kBridgeHalfSpanY, 1, 2},
    {kBitmapDrawBridgeDeckAcross, 2 * kBridgeHalfSpanX, 2 * kBridgeHalfWidth, kBridgeHalfSpanX,
     kBridgeHalfWidth, 1, 2}};
constexpr ClassLook kDrawBridgeLook{
    kBitmapDrawBridge, kDrawBridgeWidth, kDrawBridgeHeight, kDrawBridgeHotX, kDrawBridgeHotY, 2, 2};
constexpr ClassLook kShipDeck{
    kBitmapShipDeck, kShipDeckWidth, kShipDeckHeight, kShipDeckHotX, kShipDeckHotY, 1, 1};
constexpr ClassLook kShipLook{kBitmapShip, kShipWidth, kShipHeight, kShipHotX, kShipHotY, 1, 1};

}  // namespace

Traversable::Traversable(const std::string& name) : Object(name) {
    m_iLightSampling = 2;
    m_bMoveable = 0;
    m_iMoveMode = 3;  // platforms lie on water and on land
}

Traversable::~Traversable() {
    ReturnLook(m_pLook);
}

void Traversable::WearPlatformLook(const ClassLook& deck, const ClassLook& look) {
    WearLook(*this, deck);
    CDDObject* drawn = UseLook(look);
    ReturnLook(m_pLook);
    m_pLook = drawn;
}

void Traversable::GetLookFrame(int* column, int* row) {
    GetImageFrame(column, row);
}

int Traversable::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                      const Position& pos, int flags) {
    if (!m_pLook) return Object::Draw(surface, screen, view, pos, flags);
    int column = 0, row = 0;
    GetLookFrame(&column, &row);
    return DrawLit(m_pLook, column, row, surface, screen, view, pos, flags);
}

QV_SERIALIZE_BASE_ONLY(Traversable, Object)

int Traversable::StepOn(Position*, Object* mover) {
    if (!mover || !mover->m_pHolder) return 0;
    Carry(mover->m_pHolder);
    // A creature knows the platform it stands on; a ship it stands on moves
    // with its steps.
    if (auto* creature = qv::DynamicCast<Player>(mover)) creature->m_pAboard = this;
    return 1;
}

void Traversable::Carry(ObjectHolder* holder) {
    std::erase_if(m_Carried, [](const auto& h) { return !h; });
    for (const auto& h : m_Carried)
        if (h.Get() == holder) return;
    m_Carried.emplace_back(holder);
}

ObjectHolderList Traversable::GetCarried() const {
    ObjectHolderList live;
    for (const auto& h : m_Carried)
        if (h) live.Append(h.Get());
    return live;
}

void Traversable::SetPosition(MapCell*, Position* pos) {
    if (pos) m_Position = *pos;
}

void Traversable::CollectCarriedObjects() {
    m_Carried.clear();
    MapMaster* map = GetMapMaster();
    ObjectHolder* own = m_pHolder;
    if (!map || !own) return;
    // The cells the platform was entered in: its position and its corners.
    std::vector<CellPoint> cells;
    CellPoint anchor;
    if (map->WindowCellOf(own->pos, anchor)) cells.push_back(anchor);
    for (const ObjectHolder::CellRef& c : own->m_Corners)
        if (c.column >= 0 && c.row >= 0) cells.push_back({c.column, c.row});
    for (const CellPoint& c : cells) {
        for (ObjectHolder* h : map->GetCell(c.x, c.y).holders) {
            if (h == own || !h->m_pObject) continue;
            if (HitCodeOf(this, map->PixelDeltaOf(own->pos, h->pos)) != 2) continue;
            Carry(h);
            if (Mast* mast = qv::DynamicCast<Mast>(h->m_pObject))
                mast->m_pVessel = qv::DynamicCast<Ship>(this);
        }
    }
}

DrawBridge::DrawBridge(int direction) : Traversable("DrawBridge"), m_iDirection(direction) {
    WearPlatformLook(kDrawBridgeDecks[direction == 1 ? 1 : 0], kDrawBridgeLook);
    for (int way = 0; way < 2; ++way) m_pDecks[way] = UseLook(kDrawBridgeDecks[way]);
    m_iXImageNum = direction;
}

DrawBridge::~DrawBridge() {
    for (CDDObject* deck : m_pDecks) ReturnLook(deck);
}

CDDObject* DrawBridge::GetImage() {
    return m_pDecks[m_iDirection == 1 ? 1 : 0];
}

void DrawBridge::GetImageFrame(int* x, int* y) {
    // The deck of the way it carries has one column; its row is raised or not.
    if (x && *x >= 0) *x = 0;
    if (y && *y >= 0) *y = m_bRaised != 0 ? 1 : 0;
}

void DrawBridge::GetLookFrame(int* column, int* row) {
    if (column) *column = m_iDirection == 1 ? 1 : 0;
    if (row) *row = m_bRaised != 0 ? 1 : 0;
}

void DrawBridge::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Traversable::classInfo);
    Traversable::Serialize(ar);
    m_iDirection.Exchange(ar);
    m_bRaised.Exchange(ar);
}

Ship::Ship(const std::string& name) : Traversable(name) {
    WearPlatformLook(kShipDeck, kShipLook);
}

void Ship::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Traversable::classInfo);
    Traversable::Serialize(ar);
    ar.Exchange(m_iDirection);
}

Mast::Mast(const std::string& name) : Object(name) {
    m_iLightSampling = 2;
    m_bMoveable = 0;
}

QV_SERIALIZE_BASE_ONLY(Mast, Object)

bool Mast::ApplyTouchZone(int32_t* dx, int32_t* dy) const {
    if (!IsVesselMoving() || !dx || !dy) return false;
    if (*dx > -kTouchAcross && *dx < kTouchAcross) *dx = 0;
    if (*dy > -kTouchAlong && *dy < kTouchAlong) *dy = 0;
    return true;
}

bool Mast::IsVesselMoving() const {
    const Ship* ship = m_pVessel.Get();
    return ship && ship->m_bMoving != 0;
}
