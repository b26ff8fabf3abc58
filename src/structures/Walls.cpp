#include "structures/Walls.h"

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

void Wall::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    ar.Exchange(m_bWalkThrough);
    ar.Exchange(m_bSeeThrough);
    ar.Exchange(m_bLocked);
}

void Wall::ResetFrame(int, int) {
    if (m_iItemNum < 0 && m_iXImageNum != 6) m_iXImageNum = 0;
}

FrontWall::FrontWall(const std::string& name) : Wall(name) {}
QV_SERIALIZE_BASE_ONLY(FrontWall, Wall)

SideWall::SideWall(const std::string& name) : Wall(name) {}
QV_SERIALIZE_BASE_ONLY(SideWall, Wall)

Peg::Peg(const std::string& name) : Wall(name) {}
QV_SERIALIZE_BASE_ONLY(Peg, Wall)

Tile::Tile(const std::string& name) : Wall(name) {}
QV_SERIALIZE_BASE_ONLY(Tile, Wall)

FrontDoorBrick::FrontDoorBrick(const std::string& name) : FrontWall(name) {}
QV_SERIALIZE_BASE_ONLY(FrontDoorBrick, FrontWall)

SideDoorBrick::SideDoorBrick(const std::string& name) : SideWall(name) {}
QV_SERIALIZE_BASE_ONLY(SideDoorBrick, SideWall)
