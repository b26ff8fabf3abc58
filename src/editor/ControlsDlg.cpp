#include "editor/ControlsDlg.h"

#include <imgui.h>

#include "editor/KeyListDlg.h"
#include "editor/LandTreeDlg.h"
#include "editor/TimeOfDayDlg.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/Raster.h"
#include "platform/Window.h"
#include "shell/MainFrm.h"
#include "world/Map.h"
#include "world/Object.h"
#include "world/TimeOfDay.h"

CControlsDlg::CControlsDlg(CMainFrame& frame, Player* leader)
    : CDialogById(kTemplateId, nullptr, InPlay{}),
      m_frame(frame),
      m_Gui({kPlace.Width(), kPlace.Height()}),
      m_Strip(kPlace.Width(), kPlace.Height()) {
    m_rcWindow = kPlace;
    m_pPlayer = leader;
    m_frame.m_pToolPalette = this;
    m_Gui.SetBuilder([this] { BuildWidgets(); });
    m_Gui.Settle();
}

CControlsDlg::~CControlsDlg() {
    if (m_frame.m_pToolPalette == this) m_frame.m_pToolPalette = nullptr;
}

namespace {
// The material list's height: what is left of the palette's 480 pixels.
constexpr float kMaterialRowsHeight = 162;
}  // namespace

void CControlsDlg::BuildWidgets() {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(
        ImVec2(static_cast<float>(kPlace.Width()), static_cast<float>(kPlace.Height())));
    ImGui::Begin("Controls", nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings);
    bool editing = m_frame.m_Play.IsEditing() != 0;
    if (ImGui::Checkbox("Build Mode", &editing)) SetBuildMode(editing);
    m_Gui.Remember("Build Mode");
    Player* shown = m_pPlayer.Get();
    ImGui::SameLine();
    ImGui::TextUnformatted(shown ? shown->GetDisplayName().c_str() : "(no leader)");

    ImGui::TextUnformatted("List Selection");
    ImGui::BeginChild("lists", ImVec2(0, kListCount * ImGui::GetTextLineHeightWithSpacing() + 12),
                      true);
    for (int i = 0; i < kListCount; ++i) {
        const char* label = ObjectCatalogue::Label(kLists[i]);
        if (ImGui::Selectable(label, m_iList == i) && m_iList != i) {
            m_iList = i;
            m_iMaterial = -1;
        }
        m_Gui.Remember(std::string("list ") + label);
    }
    ImGui::EndChild();

    const ObjectCatalogue::List& list = m_frame.m_World.m_Catalogue.Get(kLists[m_iList]);
    ImGui::BeginChild("materials", ImVec2(0, kMaterialRowsHeight), true);
    for (size_t j = 0; j < list.size(); ++j) {
        const int row = static_cast<int>(j);
        ImGui::PushID(row);
        const std::string name = list[j] ? list[j]->GetDisplayName() : std::string("?");
        if (ImGui::Selectable(name.c_str(), m_iMaterial == row)) m_iMaterial = row;
        // A double click chooses it as well.
        if (m_Gui.DoubleClicked() && ImGui::IsItemHovered()) m_iMaterial = row;
        m_Gui.Remember("material " + std::to_string(j));
        ImGui::PopID();
    }
    ImGui::EndChild();

    int labels = 0;
    if (const MapMaster* map = m_frame.m_World.map_master.get()) labels = map->labelcells;
    ImGui::TextUnformatted("Cell labels");
    const char* names[] = {"Off", "Coordinates", "Rooms"};
    for (int mode = 0; mode < 3; ++mode) {
        if (mode) ImGui::SameLine();
        if (ImGui::RadioButton(names[mode], labels == mode)) SetCellLabels(mode);
        m_Gui.Remember(std::string("labels ") + names[mode]);
    }

    ImGui::Separator();
    if (ImGui::Button("Time", ImVec2(70, 0))) m_Gui.Later([this] { OpenTimeOfDay(); });
    m_Gui.Remember("Time");
    ImGui::SameLine();
    if (ImGui::Button("Par", ImVec2(70, 0))) m_Gui.Later([this] { ReadParameters(); });
    m_Gui.Remember("Par");
    // The key records and the tree of lands, each in its own dialog.
    if (ImGui::Button("Keys", ImVec2(70, 0))) m_Gui.Later([this] { OpenKeyList(); });
    m_Gui.Remember("Keys");
    ImGui::SameLine();
    if (ImGui::Button("Lands", ImVec2(70, 0))) m_Gui.Later([this] { OpenLandTree(); });
    m_Gui.Remember("Lands");
    if (ImGui::Button("Load World", ImVec2(90, 0))) m_Gui.Later([this] { LoadWorld(); });
    m_Gui.Remember("Load World");
    ImGui::SameLine();
    if (ImGui::Button("Save", ImVec2(50, 0))) m_Gui.Later([this] { SaveWorld(); });
    m_Gui.Remember("Save");
    ImGui::End();
}

void CControlsDlg::Refresh(int fromPaint) {
    if (!fromPaint) m_Gui.Frame();
    Paint(nullptr);
}

void CControlsDlg::Paint(qv::Surface*) {
    // The palette lies beside the screen picture, in a strip of its own.
    m_Strip.Fill(qv::Pixel565(EditorGui::kDialogGrey));
    m_Gui.Draw(m_Strip);
    if (qv::Window* window = qv::Window::Current(); window && window->IsOpen())
        window->Present(m_Strip.Pixels(), m_Strip.Width(), m_Strip.Height(), m_Strip.Pitch(),
                        m_Strip.Bounds(), {kPlace.left, kPlace.top});
}

void CControlsDlg::OnKeyDown(int) {
    // Nothing of the palette answers a key (Esc comes here while a popup is up).
}

bool CControlsDlg::OnInput(const qv::Event& e) {
    const bool taken = m_Gui.HandleEvent(e, {kPlace.left, kPlace.top});
    if (taken) Paint(nullptr);
    return taken;
}

bool CControlsDlg::PlaceChosenMaterial(qv::Point client) {
    std::unique_ptr<Object> copy = m_iMaterial < 0
                                       ? nullptr
                                       : m_frame.m_World.m_Catalogue.CloneOf(
                                             kLists[m_iList], static_cast<size_t>(m_iMaterial));
    if (!copy) return false;
    Position at = m_frame.m_View.ViewToWorld(client);
    if (MapMaster* map = m_frame.m_World.map_master.get()) map->WrapPosition(at);
    Order drop = Order::At(Order::Kind::Drop, at);
    drop.object = copy.get();
    // 2: the copy itself stands on the map now, which owns it; any other
    // answer leaves it (or what is left of it) to us.
    if (m_frame.m_Play.Give(drop) == 2) copy.release();
    return true;
}

void CControlsDlg::SetBuildMode(bool on) {
    m_frame.m_Play.Give(Order::With(Order::Kind::Editing, on ? 1 : 0));
}

void CControlsDlg::SetCellLabels(int mode) {
    if (MapMaster* map = m_frame.m_World.map_master.get()) map->labelcells = mode;
}

void CControlsDlg::OpenKeyList() {
    // Opened from the palette no thing is chosen: records are looked at and
    // things taken out of them; a thing enters one from its own dialog.
    CKeyListDlg dialog(m_frame.m_Play, nullptr);
    if (m_RunDialog)
        m_RunDialog(dialog);
    else
        dialog.DoModal();
}

void CControlsDlg::OpenLandTree() {
    CLandTreeDlg dialog(m_frame.m_Play);
    if (m_RunDialog)
        m_RunDialog(dialog);
    else
        dialog.DoModal();
}

void CControlsDlg::OpenTimeOfDay() {
    CTimeOfDay* clock = m_frame.m_World.m_pTimeOfDay.get();
    if (!clock) return;
    CTimeOfDayDlg dialog(clock->m_sHour, clock->m_sMinute);
    if ((m_RunDialog ? m_RunDialog(dialog) : dialog.DoModal()) != CEditorDialog::IDOK) return;
    Order set = Order::With(Order::Kind::SetTime, dialog.m_iHour);
    set.mode = dialog.m_iMinute;
    m_frame.m_Play.Give(set);
}

void CControlsDlg::ReadParameters() {
    try {
        m_frame.m_Play.Saves().ReadScriptVariables();
    } catch (const qv::FileError& error) {
        // The variables stay as they were.
        qv::ShowMessage(error.what(), qv::MessageButtons::Ok);
    }
}

void CControlsDlg::LoadWorld() {
    // The world the editor works on is asked for and read without a party.
    m_frame.m_Play.Give(Order::Of(Order::Kind::LoadWorld));
}

void CControlsDlg::SaveWorld() {
    // The world goes into the start world's folder under the name asked.
    m_frame.m_Play.OnSaveGame();
}
