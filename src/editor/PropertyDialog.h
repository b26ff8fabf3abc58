#pragma once
// What every dialog of the world editor shares. A dialog is a plain object
// that holds the values it shows, filled from what it edits when it is made.
// Validate refuses a value outside what its property allows, with a message,
// and changes nothing; Apply hands the values to play as orders (the editor
// never sets a field of a thing itself). Draw shows the dialog as a modal
// window of Dear ImGui within the frame being built; its "OK" validates and
// applies, its "Cancel" leaves everything as it was.

#include <cstdint>
#include <string>

class Object;
class Play;

class EditorDialog {
public:
    // How the dialog stands: still open, closed with OK, or cancelled.
    enum Result : int { kOpen = 0, kOk = 1, kCancelled = 2 };

    EditorDialog(Play& play, std::string title);
    virtual ~EditorDialog();
    EditorDialog(const EditorDialog&) = delete;
    EditorDialog& operator=(const EditorDialog&) = delete;

    // True when every value may be applied; otherwise Message() says which
    // value is refused and why.
    virtual bool Validate() = 0;
    // Hands the values to play; only after Validate answered true.
    virtual void Apply() = 0;
    // OK: validates and applies; false (the dialog stays open) when refused.
    bool Ok();
    void Cancel() { m_iResult = kCancelled; }
    // Draws the dialog in the current frame: its title bar, its fields (the
    // dialog's own DrawFields), the refusal message and OK and Cancel.
    void Draw();

    int GetResult() const { return m_iResult; }
    const std::string& Message() const { return m_strMessage; }
    const std::string& Title() const { return m_strTitle; }

protected:
    virtual void DrawFields() = 0;
    // True when play lets the property of `object` take the value; otherwise
    // the refusal is the dialog's message.
    bool Allows(Object* object, const char* property, int32_t value);
    // The value refused, told as the property's limits.
    bool Refuse(const std::string& message);
    // Play sets the property (an order); true when it was set.
    bool Set(Object* object, const char* property, int32_t value);
    bool SetText(Object* object, const char* property, const std::string& text);
    // A field for a whole number, or a check box, over an int.
    static void IntField(const char* label, int32_t* value);
    static void FlagField(const char* label, int32_t* value);
    static void TextField(const char* label, std::string* value);

    Play& m_Play;

private:
    std::string m_strTitle;
    std::string m_strMessage;
    int m_iResult = kOpen;
};
