#include "editor/AddLandDlg.h"

#include <imgui.h>

#include <memory>

#include "editor/ModifyLandDlg.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "world/Land.h"
#include "world/World.h"

CAddLandDlg::CAddLandDlg(Play& play) : CPropertyDialog(play, "Add Land", {400, 380}) {}

bool CAddLandDlg::Validate() {
    if (!qv::IsPlainFileName(m_strFile))
        return Refused("The land file needs a plain file name, such as \"Island.lnd\".");
    if (m_Play.Editor().FindLandInfo(m_strFile))
        return Refused("The world has a land in \"" + m_strFile + "\" already.");
    if (!Land::IsPictureName(m_strPicture)) return Refused(PictureNameRefused(m_strPicture));
    if (!m_strPicture.empty()) return PictureLoads(m_strPicture);  // it sets the rectangle
    if (m_Bounds.left >= m_Bounds.right || m_Bounds.top >= m_Bounds.bottom)
        return Refused(qv::Format("The rectangle (%d, %d) - (%d, %d) holds no cell.", m_Bounds.left,
                                  m_Bounds.top, m_Bounds.right, m_Bounds.bottom));
    const MapMaster* map = m_Play.m_World.map_master.get();
    if (map && !Land::InsideWorld(m_Bounds, map->worldcellx, map->worldcelly))
        return Refused(
            qv::Format("The rectangle (%d, %d) - (%d, %d) lies outside the world of "
                       "%d x %d cells.",
                       m_Bounds.left, m_Bounds.top, m_Bounds.right, m_Bounds.bottom,
                       map->worldcellx, map->worldcelly));
    if (m_iTerrain < 0 || m_iTerrain > Editing::kMaxTerrainCode)
        return Refused(qv::Format("\"Terrain Code\" must lie from 0 to %d: %d is refused.",
                                  Editing::kMaxTerrainCode, m_iTerrain));
    return true;
}

void CAddLandDlg::Apply() {
    // The new land is the dialog's until play takes it.
    auto land = std::make_unique<Land>("Land");
    land->SetName(m_strName);
    land->m_strGeneralName = m_strName;
    land->terraincode = m_iTerrain;
    if (m_strPicture.empty()) {
        land->bounds = m_Bounds;
    } else {
        land->origin = {m_iOriginX, m_iOriginY};
        if (std::string why; !land->ChooseBitmap(m_strPicture, &why)) {
            Refused(why);
            return;
        }
        land->ComputeBounds(1);
    }
    if (!m_Play.AddLand(std::move(land), m_strFile)) Refused("The land was not added.");
}

void CAddLandDlg::DrawFields() {
    TextField("Name", m_strName);
    TextField("Land File", m_strFile);
    PictureField(m_strPicture);
    IntField("Origin X", &m_iOriginX);
    IntField("Origin Y", &m_iOriginY);
    ImGui::TextUnformatted("Without a picture:");
    IntField("Left", &m_Bounds.left);
    IntField("Top", &m_Bounds.top);
    IntField("Right", &m_Bounds.right);
    IntField("Bottom", &m_Bounds.bottom);
    IntField("Terrain Code", &m_iTerrain);
}
