#include "editor/CoordinatesDlg.h"

#include "platform/Format.h"
#include "play/Play.h"
#include "world/Map.h"
#include "world/World.h"

CCoordinatesDlg::CCoordinatesDlg(Play& play, int32_t x, int32_t y)
    : CPropertyDialog(play, "Coordinates", {240, 140}), m_iX(x), m_iY(y) {}

bool CCoordinatesDlg::Validate() {
    const MapMaster* map = m_Play.m_World.map_master.get();
    if (!map) return Refused("There is no world to walk in.");
    if (m_iX < 0 || m_iX >= map->worldcellx)
        return Refused(
            qv::Format("\"X\" must lie from 0 to %d: %d is refused.", map->worldcellx - 1, m_iX));
    if (m_iY < 0 || m_iY >= map->worldcelly)
        return Refused(
            qv::Format("\"Y\" must lie from 0 to %d: %d is refused.", map->worldcelly - 1, m_iY));
    return true;
}

void CCoordinatesDlg::DrawFields() {
    IntField("X", &m_iX);
    IntField("Y", &m_iY);
}
