#include "structures/Walls.h"

#include "items/Useable.h"
#include "media/DDObjects.h"
#include "structures/Looks.h"

QV_IMPLEMENT_SERIAL(Wall, Object, 1, true)
QV_IMPLEMENT_SERIAL(FrontWall, Wall, 1, false)
QV_IMPLEMENT_SERIAL(SideWall, Wall, 1, true)
QV_IMPLEMENT_SERIAL(Peg, Wall, 1, false)
QV_IMPLEMENT_SERIAL(Tile, Wall, 1, true)
QV_IMPLEMENT_SERIAL(FrontDoorBrick, FrontWall, 1, true)
QV_IMPLEMENT_SERIAL(SideDoorBrick, SideWall, 1, true)

Wall::Wall(const std::string& name) : Object(name) {
    // Walls are placed by their picture and block through it.
    m_iLightSampling = 2;
    m_bMoveable = 0;
}

Wall::~Wall() {
    ReturnLook(m_pLook);
}

void Wall::WearWallLook(const ClassLook& footprint, const ClassLook& look) {
    WearLook(*this, footprint);
    CDDObject* drawn = UseLook(look);
    ReturnLook(m_pLook);
    m_pLook = drawn;
}

bool Wall::IsOpen() const {
    return m_iItemNum >= 0 && (m_iState == 0 || m_iState == kDoorOpen);
}

void Wall::GetImageFrame(int* x, int* y) {
    if (!m_pLook) return Object::GetImageFrame(x, y);
    if (x && *x >= 0) *x = IsOpen() ? 1 : 0;
    if (y && *y >= 0) *y = 0;
}

int Wall::Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
               int flags) {
    if (!m_pLook) return Object::Draw(surface, screen, view, pos, flags);
    constexpr int kSeeThroughFlag = 2;  // draw modes 2 and 6
    int column = 0, row = 0;
    GetImageFrame(&column, &row);
    if (flags & kSeeThroughFlag) row = 1;
    return DrawLit(m_pLook, column, row, surface, screen, view, pos, flags);
}

void Wall::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    m_bWalkThrough.Exchange(ar);
    ar.Exchange(m_bSeeThrough);
    m_bLocked.Exchange(ar);
}

Object* Wall::Clone() {
    Object* copy = Object::Clone();
    auto* wall = qv::DynamicCast<Wall>(copy);
    if (!wall) return copy;
    CopyObjectFields(*wall, *this);
    wall->m_bWalkThrough = static_cast<int32_t>(m_bWalkThrough);
    wall->m_bSeeThrough = m_bSeeThrough;
    wall->m_bLocked = static_cast<int32_t>(m_bLocked);
    return wall;
}

int Wall::CanInteract() {
    return m_iItemNum >= 0 ? 1 : 0;
}

int Wall::Activate(int* action, Player* actor) {
    if (m_iItemNum < 0 || !action) return Object::Activate(action, actor);
    const bool closed = m_iState == kDoorClosed;
    int wanted = m_iState;
    switch (*action) {
        case -1:
            if (closed && m_bLocked) return 0;
            wanted = closed ? kDoorOpen : kDoorClosed;
            break;
        case 1:
        case 3:
            wanted = kDoorOpen;
            break;
        case 2:
            wanted = closed ? kDoorOpen : kDoorClosed;
            break;
        default:
            return 0;
    }
    // Only a door state (open or closed) is worked: other values always block.
    if (m_iState != kDoorClosed && m_iState != 0 && m_iState != kDoorOpen) return 0;
    if (wanted == m_iState || (wanted == kDoorOpen && m_iState == 0)) return 0;
    SetState(&wanted);
    return 1;
}

void Wall::ResetFrame(int, int) {
    if (m_iItemNum < 0 && m_iXImageNum != 6) m_iXImageNum = 0;
}

FrontWall::FrontWall(const std::string& name) : Wall(name) {
    WearWallLook(kFrontFootprint, kFrontWallLook);
}
QV_SERIALIZE_BASE_ONLY(FrontWall, Wall)

SideWall::SideWall(const std::string& name) : Wall(name) {
    WearWallLook(kSideFootprint, kSideWallLook);
}
QV_SERIALIZE_BASE_ONLY(SideWall, Wall)

Peg::Peg(const std::string& name) : Wall(name) {
    WearWallLook(kPegFootprint, kPegLook);
}
QV_SERIALIZE_BASE_ONLY(Peg, Wall)

Tile::Tile(const std::string& name) : Wall(name) {}
QV_SERIALIZE_BASE_ONLY(Tile, Wall)

FrontDoorBrick::FrontDoorBrick(const std::string& name) : FrontWall(name) {
    WearWallLook(kFrontFootprint, kFrontDoorLook);
}
QV_SERIALIZE_BASE_ONLY(FrontDoorBrick, FrontWall)

SideDoorBrick::SideDoorBrick(const std::string& name) : SideWall(name) {
    WearWallLook(kSideFootprint, kSideDoorLook);
}
QV_SERIALIZE_BASE_ONLY(SideDoorBrick, SideWall)

QV_IMPLEMENT_STORED(PegBrick, Peg, 1)
PegBrick::PegBrick(const std::string& name) : Peg(name) {}

QV_IMPLEMENT_STORED(FrontWallBrick, FrontWall, 1)
FrontWallBrick::FrontWallBrick(const std::string& name) : FrontWall(name) {}

QV_IMPLEMENT_STORED(SideWallBrick, SideWall, 1)
SideWallBrick::SideWallBrick(const std::string& name) : SideWall(name) {}
