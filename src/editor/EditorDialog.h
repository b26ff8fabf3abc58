#pragma once
// The base of the world editor's modal dialogs: a popup of the game's window
// toolkit (it joins the popup chain, runs its own loop while the game stands
// still, and puts back the screen under it when it closes) whose face is
// drawn with the editor's widgets.
//
// A dialog says what it shows in BuildWidgets, once a frame; OK runs OnOK,
// which may refuse the values (with a message) and keep the dialog open.
// Tests drive a dialog without its loop: Open(), then the widgets through
// Gui(), then the answer in GetEndCode().

#include <cstdint>
#include <string>

#include "editor/EditorGui.h"
#include "media/DDWnd.h"

class CEditorDialog : public CDDWnd {
public:
    enum : int { IDOK = 1, IDCANCEL = 2 };
    // A dialog of `size` pixels titled `title`, centred in the game's picture.
    CEditorDialog(const std::string& title, qv::Point size, CDDWnd* parent = nullptr);
    ~CEditorDialog() override;

    // Runs the dialog modally; IDOK or IDCANCEL.
    int DoModal() { return Popup(); }
    // Opens it without a loop of its own (a test drives it through Gui()).
    void Open();
    EditorGui& Gui() { return m_Gui; }
    const std::string& Title() const { return m_strTitle; }

    // What the dialog shows, inside its window, once a frame.
    virtual void BuildWidgets() = 0;
    // OK was pressed: true ends the dialog with IDOK, false keeps it open
    // (the dialog has said why).
    virtual bool OnOK() { return true; }
    virtual void OnCancel() { EndPopup(IDCANCEL); }
    // OK and Cancel side by side (remembered as "OK" and "Cancel").
    void OkCancelButtons();

    // A whole number typed into a field, within [low, high]; false for
    // anything else (no digits, other characters, a number out of range,
    // however many digits it has).
    static bool ReadNumber(const std::string& text, int64_t low, int64_t high, int64_t& out);
    // A text field of the dialog, remembered under its label.
    void TextField(const char* label, std::string& text);
    // Refuses a value: the message is shown and the dialog stays open.
    static void Refuse(const std::string& message);

    // The face drawn alone into a surface of the dialog's size (for pictures).
    qv::Surface Picture();

    void Paint(qv::Surface* surface) override;
    int Popup() override;
    void OnKeyDown(int vk) override;
    void OnKeyUp(int vk) override;
    void OnChar(int ch) override;
    void OnLButtonDown(qv::Point p) override;
    void OnLButtonUp(qv::Point p) override;
    void OnLButtonDblClk(qv::Point p) override;
    void OnRButtonDown(qv::Point p) override;
    void OnRButtonUp(qv::Point p) override;
    void OnMouseMove(qv::Point p) override;

private:
    void Feed(const qv::Event& e);
    std::string m_strTitle;
    EditorGui m_Gui;
};
