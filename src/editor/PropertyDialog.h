#pragma once
// The base of the editor's dialogs that edit a thing of the world: an object,
// a container, a land, a creature, a monster generator, the key records and
// the land tree. The dialog holds the values it shows, filled from what it
// edits when it is made. Validate refuses a value outside what its property
// allows, with a message, and changes nothing; Apply hands the values to play
// as orders (the editor never sets a field of a thing itself). OK runs both.
// A dialog opened from one of these (the object properties of a container,
// a scripted move's cell) runs through m_Run, modally unless a test answers.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditorDialog.h"

class Object;
class Play;

class CPropertyDialog : public CEditorDialog {
public:
    CPropertyDialog(Play& play, const std::string& title, qv::Point size);
    ~CPropertyDialog() override;

    // True when every value may be applied; otherwise Message() says which
    // value is refused and why.
    virtual bool Validate() = 0;
    // Hands the values to play; only after Validate answered true.
    virtual void Apply() = 0;
    // OK as its button does: validates and applies, and ends the dialog;
    // false (the dialog stays open, nothing changed) when refused.
    bool Ok();
    void Cancel() { OnCancel(); }
    const std::string& Message() const { return m_strMessage; }

    // The dialog's fields, its refusal and OK and Cancel.
    void BuildWidgets() override;
    bool OnOK() override;

    // Runs a dialog opened from this one; IDOK or IDCANCEL.
    std::function<int(CEditorDialog&)> m_Run = [](CEditorDialog& d) { return d.DoModal(); };

protected:
    virtual void DrawFields() = 0;
    // True when play lets the property of `object` take the value; otherwise
    // the refusal is the dialog's message.
    bool Allows(Object* object, const char* property, int32_t value);
    // Refuses: keeps the message, shows it and answers false.
    bool Refused(const std::string& message);
    // Play sets the property (an order); true when it was set.
    bool Set(Object* object, const char* property, int32_t value);
    bool SetText(Object* object, const char* property, const std::string& text);
    // A field for a whole number, or a check box, over an int, remembered
    // under its label.
    void IntField(const char* label, int32_t* value);
    void FlagField(const char* label, int32_t* value);
    // A number of the dialog beside the property it sets and the value the
    // thing has now: only a changed value is checked and set.
    struct Field {
        const char* property;
        int32_t* value;
        int32_t old;
    };
    // True when play lets every changed field's value be set on `object`;
    // otherwise the first refusal is the dialog's message.
    bool AllowsChanged(Object* object, const std::vector<Field>& fields);
    // Play sets every changed field's value on `object`.
    void SetChanged(Object* object, const std::vector<Field>& fields);
    // A list of lines to choose one of (`selected`, -1 for none), `rows`
    // lines high (0: ImGui's usual height).
    void ListField(const char* id, const std::vector<std::string>& lines, int* selected,
                   float rows = 0);
    // A choice of a thing of the catalogue to add: one of the lists of
    // things ("List", a CatalogueList) and one of its entries ("Thing").
    void CatalogueField(int* list, int* entry);
    // A land's picture, none or one chosen from the pictures of the game
    // folder's "Images" folder (Land::PictureChoices), under "Picture".
    void PictureField(std::string& picture);
    // True when the picture of that name loads; otherwise the reader's
    // reason is the refusal.
    bool PictureLoads(const std::string& picture);
    // A choice of a row of the species table, under "Species".
    void SpeciesField(int* species);
    // Play puts the new `item` into `into` (an AddItem order; true when it
    // is theirs now), or takes `item` out of it and deletes it (DeleteItem).
    bool AddItem(Object* into, Object* item);
    bool DeleteItem(Object* from, Object* item);
    // Runs `action` once the frame is over (a dialog opened from a button).
    void Later(std::function<void()> action) { Gui().Later(std::move(action)); }

    Play& m_Play;

private:
    std::string m_strMessage;
    // The pictures offered, none first; read at the first showing.
    std::optional<std::vector<std::string>> m_Pictures;
};
