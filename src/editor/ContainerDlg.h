#pragma once
// The "Container" dialog: the things in a chest, coffin or barrel ("Items in
// Container", with "Add" taking a new one of a chosen kind of the catalogue
// and "Delete" the chosen one), whether it is locked, and for a barrel
// whether it is a rain barrel. "Obj. Prop." opens the object properties of
// the container itself.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/ObjectPropertiesDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"
#include "world/ObjectCatalogue.h"

class Container;

class CContainerDlg : public CPropertyDialog {
public:
    CContainerDlg(Play& play, Container& container);
    ~CContainerDlg() override;

    bool Validate() override;
    void Apply() override;

    // The lines of "Items in Container": each thing's name, in bag order.
    std::vector<std::string> ItemLines() const;
    // "Add": a new one of the catalogue's prototype `index` of `list` goes
    // into the container at once; false, with the reason told, when there
    // is no such prototype or the container has no room.
    bool Add(CatalogueList list, size_t index);
    // "Delete": the thing on line `line` leaves the container and is gone.
    bool Delete(size_t line);
    // "Obj. Prop.": the object properties of the container.
    CObjectPropertiesDlg& OpenObjectProperties();

    // The "Rain Barrel" box is shown for a barrel only.
    bool ShowsRainBarrel() const { return m_bIsBarrel; }
    int32_t m_bLocked = 0;
    int32_t m_bRainBarrel = 0;
    int m_iSelected = -1;  // the chosen line
    // The catalogue list and entry "Add" takes.
    int m_iAddList = static_cast<int>(CatalogueList::Weapons);
    int m_iAddEntry = 0;

protected:
    void DrawFields() override;

private:
    Container* Target() const;
    qv::Handle<Object> m_pContainer;
    bool m_bIsBarrel = false;
    std::unique_ptr<CObjectPropertiesDlg> m_pObjectProperties;
};
