#pragma once
// The game's own window toolkit: popup windows drawn on the screen surface in
// the bitmap alphabet, and their controls (buttons, text fields, gauges).
//
// A CDDWnd is a popup. Making one registers it as the popup chain's modal popup
// and keeps the popup that was registered before, which comes back when this
// one is destroyed. Popup() shows the window and runs it modally: a nested
// message loop hands it the input and draws it, while the game stands still;
// EndPopup(code) closes it and Popup() answers that code.
//
// Controls are placed in their window's coordinates; a window lies on the
// screen at m_rcWindow.

#include <memory>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/Surface.h"

class CDDObject;
class CDDWnd;

// The chain of popups over the game: the newest popup and whether one is up.
// The main frame keeps it; GetPopupChain() answers the frame's, or null
// without a frame (a window made then is not registered).
struct CPopupChain {
    CDDWnd* m_pModalPopup = nullptr;
    int m_bModalPopup = 0;
};
CPopupChain* GetPopupChain();

// Palette colours of the toolkit's own drawing.
inline constexpr int kColourText = 255;
inline constexpr int kColourTextDim = 245;     // gold: the start-up windows' second colour
inline constexpr int kColourTextDisabled = 8;  // mid grey: a button that cannot be pressed
inline constexpr int kColourPanel = 250;       // dark wood, as the windows' pictures

// Draws text in the bitmap alphabet (9 x 16 cells), one line per '\n', in a
// palette colour, clipped to clip.
void DrawGameText(qv::Surface* surface, qv::Point at, const std::string& text, int colour,
                  const qv::Rect& clip);
inline constexpr int kCharWidth = 9;
inline constexpr int kCharHeight = 16;

// The text broken into lines of at most `columns` characters: a line too long
// breaks at its last space that fits (the space is dropped), a word longer than
// a line is cut where the line ends. Lines of the text stay lines.
std::string WrapText(const std::string& text, int columns);

// A control of a popup window.
class CDDControl {
public:
    CDDControl(const qv::Rect& rect, CDDWnd* parent);
    virtual ~CDDControl();
    CDDControl(const CDDControl&) = delete;
    CDDControl& operator=(const CDDControl&) = delete;

    // Draws the control; origin is its window's top-left on the surface.
    virtual void Draw(qv::Surface* surface, qv::Point origin) = 0;
    // Mouse input in window coordinates; true when the control took it.
    virtual bool OnButtonDown(qv::Point) { return false; }
    virtual bool OnButtonUp(qv::Point) { return false; }
    virtual bool OnChar(int) { return false; }
    virtual bool WantsFocus() const { return false; }

    qv::Rect m_rcWindow;  // in the window's coordinates
    CDDWnd* m_pParent;
    int m_bVisible = 1;
};

// An owner-drawn button with up to three pictures: normal, pressed, disabled.
class CDDButton : public CDDControl {
public:
    CDDButton(const qv::Rect& rect, CDDWnd* parent, int commandId, int normalImage = 0,
              int pressedImage = 0, int disabledImage = 0);
    ~CDDButton() override;

    // 0 normal, 1 pressed, 3 disabled.
    void SetState(int state) { m_iState = state; }
    int GetState() const { return m_iState; }
    void SetText(const std::string& text) { m_strText = text; }
    const std::string& GetText() const { return m_strText; }
    void SetImages(int normalImage, int pressedImage, int disabledImage);
    int GetCommandId() const { return m_iCommandId; }

    void Draw(qv::Surface* surface, qv::Point origin) override;
    bool OnButtonDown(qv::Point p) override;
    bool OnButtonUp(qv::Point p) override;

private:
    int m_iCommandId;
    int m_iState = 0;
    bool m_bHeld = false;  // pressed by the mouse, not yet let go
    std::string m_strText;
    std::unique_ptr<CDDObject> m_pImages[3];
};

// A text field in the bitmap alphabet. The frame's message line is one; in a
// popup it can be made editable and takes the typed characters.
class CDDEdit : public CDDControl {
public:
    CDDEdit();
    ~CDDEdit() override;

    // Places the field at rect of parent (the screen when parent is null).
    void Create(const qv::Rect& rect, CDDWnd* parent);
    // Sizes the field for lines of characters.
    void Resize(int lines, int characters);
    // Sets the text and its colours (palette indices of the text and the
    // background), then redraws.
    void FormatText(const std::string& text, int textColour, int backColour);
    void SetText(const std::string& text);
    const std::string& GetText() const { return m_strText; }
    // Draws the field again where it lies: on the frame's drawing surface when
    // it has no window.
    void Redraw();
    void SetEditable(bool editable) { m_bEditable = editable; }

    void Draw(qv::Surface* surface, qv::Point origin) override;
    bool OnButtonDown(qv::Point p) override;
    bool OnChar(int ch) override;
    bool WantsFocus() const override { return m_bEditable; }

    std::string m_strText;
    int m_iLines = 1;
    int m_iChars = 20;
    int m_iTextColour = kColourText;
    int m_iBackColour = 0;

private:
    bool m_bEditable = false;
};

// A bar gauge: a filled part for a value out of a maximum.
class CDDProgressBar {
public:
    void Create(const qv::Rect& rect, int fillColour, int backColour);
    void SetRange(int maximum) { m_iMax = maximum; }
    void SetPos(int value) { m_iPos = value; }
    int GetPos() const { return m_iPos; }
    // Width of the filled part: pos / max of the bar, within 0..width.
    int FilledWidth() const;
    void Draw(qv::Surface* surface) const;

    qv::Rect m_rcBar;
    int m_iMax = 100;
    int m_iPos = 0;
    int m_iFillColour = 0;
    int m_iBackColour = 0;
};

class CDDWnd : public qv::ModalWindow {
public:
    explicit CDDWnd(CDDWnd* parent = nullptr);
    // A window that lies on the screen beside play (the party panel, the
    // control panel, the inventory): it never joins the popup chain, and the
    // frame hands it input and draws it with every tick.
    struct InPlay {};
    CDDWnd(CDDWnd* parent, InPlay);
    ~CDDWnd() override;
    CDDWnd(const CDDWnd&) = delete;
    CDDWnd& operator=(const CDDWnd&) = delete;

    // Shows the window and runs it modally; answers the code given to EndPopup.
    virtual int Popup();
    // Ends the window with code; Popup then returns it.
    void EndPopup(int code);
    bool IsOpen() const { return m_bOpen; }
    int GetEndCode() const { return m_iEndCode; }
    virtual void OnActivate(int state);

    // The window's picture: a bitmap resource drawn at the window's corner
    // (a plain panel when the store has none).
    void SetPicture(int bitmapId);
    // Draws the window and its controls on a surface.
    virtual void Paint(qv::Surface* surface);
    // Draws the window where it lies and shows it.
    void Redraw();

    // Button commands.
    void OnCommand(int id) override;

    void OnLButtonDown(qv::Point p) override;
    void OnLButtonUp(qv::Point p) override;
    void OnLButtonDblClk(qv::Point p) override { OnLButtonDown(p); }
    void OnMouseMove(qv::Point p) override { m_ptMouse = p; }
    void OnChar(int ch) override;

    bool IsModalDone() const override { return !m_bOpen; }
    void OnModalDraw() override { Redraw(); }
    void OnModalAbandoned() override;

    void AddControl(CDDControl* control);
    void RemoveControl(CDDControl* control);
    void SetFocus(CDDControl* control) { m_pFocus = control; }
    CDDControl* GetFocus() const { return m_pFocus; }

    qv::Rect m_rcWindow{0, 0, 640, 480};  // on the screen
    CDDWnd* m_pParent;
    CDDWnd* m_pPreviousPopup = nullptr;  // the frame's modal popup before this one

protected:
    // Draws the controls over what the window has drawn (Paint draws the
    // picture, then calls this): a window that draws more under its
    // controls paints that and then calls it.
    void PaintControls(qv::Surface* surface);

    // What Popup answers when the loop stops without the window ending.
    int m_iAbandonCode = 2;

private:
    std::vector<CDDControl*> m_Controls;
    CDDControl* m_pFocus = nullptr;
    CDDControl* m_pPressed = nullptr;
    std::unique_ptr<CDDObject> m_pPicture;
    qv::Surface m_Under;  // the screen under the window while it is up
    qv::Point m_ptMouse{-1000, -1000};
    bool m_bOpen = false;
    int m_iEndCode = 0;
    bool m_bRegistered = false;
};

// The title window of the options window's start layout: fades its picture in
// or out while its popup runs.
class CFadeWnd : public CDDWnd {
public:
    static constexpr int kSteps = 10;
    static constexpr int kStepMs = 80;

    explicit CFadeWnd(CDDWnd* parent = nullptr, int bitmapId = 0);
    // Whether the next popup fades in (true) or out.
    void SetFadeIn(bool in) { m_bFadeIn = in; }
    bool GetFadeIn() const { return m_bFadeIn; }
    // Runs the fade, one step every kStepMs on the program's clock; answers 1.
    int Popup() override;
    // Brightness of the picture now, 0 (black) to kSteps (full).
    int GetLevel() const { return m_iLevel; }
    void Paint(qv::Surface* surface) override;

private:
    bool m_bFadeIn = true;
    int m_iLevel = 0;
};

// The game's message window: the text and OK, or Yes and No (style 4).
class CMessageWnd : public CDDWnd {
public:
    enum : int { kIdOk = 1, kIdCancel = 2, kIdRetry = 4, kIdYes = 6, kIdNo = 7 };
    enum class Buttons { Ok, YesNo, RetryCancel };

    CMessageWnd(const std::string& text, Buttons buttons, const std::string& caption = "");
    ~CMessageWnd() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;
    const std::string& GetText() const { return m_strText; }
    CDDButton* GetButton(int i) const { return m_pButtons[i].get(); }

private:
    std::string m_strText;
    std::string m_strShown;  // the text wrapped to the window's width
    std::string m_strCaption;
    Buttons m_Buttons;
    std::unique_ptr<CDDButton> m_pButtons[2];
};

// Shows text with OK in the game's message window.
int ShowGameMessage(const std::string& text);
// Shows text in the game's message window; style 4 asks yes or no and answers
// 6 for yes and 2 when the player declines. Other styles show OK and answer 1.
int ShowGameMessageBox(const std::string& text, int style);

// Asks for a number from 0 to an amount, starting at the amount.
class CQuantityWnd : public CDDWnd {
public:
    enum : int { kIdOk = 1, kIdCancel = 2, kIdMore = 3, kIdLess = 4 };

    explicit CQuantityWnd(int* amount, CDDWnd* parent = nullptr);
    ~CQuantityWnd() override;
    // 1 when the player confirmed; the chosen number is then m_iAmount.
    int Popup() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void OnChar(int ch) override;
    void Paint(qv::Surface* surface) override;

    int m_iAmount;
    int m_iMaximum;

private:
    bool m_bTyped = false;  // digits typed replace the number
    std::unique_ptr<CDDButton> m_pButtons[4];
};
