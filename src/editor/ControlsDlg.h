#pragma once
// The editor's tool palette, beside the game's picture at (640, 0) of the
// window: the "Build Mode" check, the catalogue's material lists under
// "List Selection" (a material chosen there is put down by a double click in
// the map view), the cell labels of the map, "Time", "Par", "Load World" and
// "Save".
//
// It lies beside play, never in the popup chain; the frame hands it the mouse
// events over it and asks it to refresh itself every tick and when painting.
// What its buttons open or change is done after the widgets' frame.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "editor/EditorGui.h"
#include "platform/Surface.h"
#include "shell/BuildTools.h"
#include "world/ObjectCatalogue.h"

class CEditorDialog;
class CMainFrame;
class Object;

class CControlsDlg : public CDialogById {
public:
    static constexpr int kTemplateId = 226;
    static constexpr qv::Rect kPlace{640, 0, 900, 480};  // in the window
    // The lists under "List Selection", in their order.
    static constexpr CatalogueList kLists[] = {CatalogueList::Walls,   CatalogueList::Traps,
                                               CatalogueList::Weapons, CatalogueList::Armour,
                                               CatalogueList::Magic,   CatalogueList::Misc};
    static constexpr int kListCount = 6;

    CControlsDlg(CMainFrame& frame, Player* leader);
    ~CControlsDlg() override;

    EditorGui& Gui() { return m_Gui; }
    // A frame of the widgets (not from painting), then the palette drawn.
    void Refresh(int fromPaint);
    // A mouse event of the game's window: true when it was over the palette.
    bool OnInput(const qv::Event& e);
    // A copy of the chosen material put down at the world point under the
    // client point of the map view; false when no material is chosen.
    bool PlaceChosenMaterial(qv::Point client);

    // The buttons' work.
    void SetBuildMode(bool on);
    void OpenTimeOfDay();
    void OpenKeyList();
    void OpenLandTree();
    void ReadParameters();
    void LoadWorld();
    void SaveWorld();
    void SetCellLabels(int mode);

    // Runs the dialogs the buttons open (null: modally on the screen; a test
    // answers them itself).
    std::function<int(CEditorDialog&)> m_RunDialog;

    int m_iList = 0;       // the list shown, an index of kLists
    int m_iMaterial = -1;  // the chosen entry of that list; -1 none
    // The palette's picture, as last drawn.
    const qv::Surface& Strip() const { return m_Strip; }

    void Paint(qv::Surface* surface) override;
    void OnKeyDown(int vk) override;

private:
    void BuildWidgets();
    CMainFrame& m_frame;
    EditorGui m_Gui;
    qv::Surface m_Strip;
};
