#pragma once
// The saved games' windows, opened from the options window: the load window
// lists the ten games and the quick save and brings the one chosen into play;
// the save window lists the ten games and saves the running one into the slot
// chosen, under a description the player types. Both show the chosen slot's
// description beside the list, and end with 1 after a load or a save, 2
// otherwise.

#include <memory>
#include <string>
#include <vector>

#include "media/DDWnd.h"
#include "windows/OptionsHost.h"

// What the two windows share: the list of slot buttons, the description field
// and the two buttons under it.
class CSlotsWnd : public CDDWnd {
public:
    enum : int { kIdFirstSlot = 1093, kIdConfirm = 160, kIdCancel = 161 };
    // The window's size, and where it opens: under the title at start, at
    // the top of the screen in play.
    static constexpr qv::Point kSize{404, 346};
    static constexpr qv::Point kStartPlace{119, 110};
    static constexpr qv::Point kPlayPlace{119, 8};
    // The slot buttons: the first at (20, 60), each next one 25 lower.
    static constexpr int kSlotX = 20;
    static constexpr int kFirstSlotY = 60;
    static constexpr int kSlotStep = 25;
    static constexpr qv::Rect kDescriptionRect{252, 134, 353, 219};
    static constexpr qv::Rect kConfirmRect{220, 250, 360, 289};
    static constexpr qv::Rect kCancelRect{220, 300, 360, 339};

    ~CSlotsWnd() override;
    // A slot button chooses its slot, the confirming button loads or saves,
    // Cancel ends with 2.
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    virtual void Select(int index) = 0;
    void Paint(qv::Surface* surface) override;

    // The slot index chosen, -1 for none.
    int GetSelection() const { return m_iSelected; }
    int GetSlotCount() const { return static_cast<int>(m_Slots.size()); }
    CDDButton* GetSlotButton(int index) const;
    CDDButton* GetConfirmButton() const { return m_pConfirm.get(); }
    CDDButton* GetCancelButton() const { return m_pCancel.get(); }
    CDDEdit& Description() { return m_Description; }
    // A slot's label: "Game %d" with index + 1, and "QuickSave".
    static std::string SlotLabel(int index);
    // Where the button of slot `index` lies in the window: sized to its label.
    static qv::Rect SlotRect(int index);

protected:
    CSlotsWnd(OptionsHost* host, qv::Point at, int slotCount, int picture, std::string title,
              CDDWnd* parent);
    OptionsHost::Slot Slot(int index) const;
    // Load or Save.
    virtual void Confirm() = 0;

    OptionsHost* m_pHost;
    int m_iSelected = -1;
    std::vector<std::unique_ptr<CDDButton>> m_Slots;
    CDDEdit m_Description;
    std::unique_ptr<CDDButton> m_pConfirm, m_pCancel;
    std::string m_strTitle;
};

class CLoadGameWnd : public CSlotsWnd {
public:
    CLoadGameWnd(OptionsHost* host, qv::Point at, CDDWnd* parent = nullptr);
    int Popup() override;
    // A slot button: a used slot becomes the choice and shows its
    // description; an unused one shows "[Empty]" and keeps the choice.
    void Select(int index) override;

private:
    // The chosen slot's button pressed, the other used ones up, the unused
    // ones disabled.
    void UpdateButtons();
    void Confirm() override;
};

class CSaveLoadWnd : public CSlotsWnd {
public:
    CSaveLoadWnd(OptionsHost* host, qv::Point at, CDDWnd* parent = nullptr);
    int Popup() override;
    // A slot button: any slot becomes the choice; its description can be
    // typed over, and Save can be pressed.
    void Select(int index) override;

private:
    void Confirm() override;
};
