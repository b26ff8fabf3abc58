#include "structures/Traversable.h"

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "structures/Scenery.h"
#include "world/Global.h"
#include "world/MapImage.h"

QV_IMPLEMENT_SERIAL(Traversable, Object, 1, true)
QV_IMPLEMENT_SERIAL(DrawBridge, Traversable, 1, true)
QV_IMPLEMENT_SERIAL(Ship, Traversable, 1, true)
QV_IMPLEMENT_SERIAL(Mast, Object, 1, true)

Traversable::Traversable(const std::string& name) : Object(name) {
    m_iLightSampling = 2;
    m_bMoveable = 0;
    m_iMoveMode = 3;  // platforms lie on water and on land
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
    m_iXImageNum = direction;
}

void DrawBridge::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Traversable::classInfo);
    Traversable::Serialize(ar);
    m_iDirection.Exchange(ar);
    m_bRaised.Exchange(ar);
}

Ship::Ship(const std::string& name) : Traversable(name) {}

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
