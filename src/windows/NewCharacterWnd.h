#pragma once
// The new-character window: the full screen in which a new game begins. The
// player names the character, spends the pool of bonus points on Strength,
// Dexterity and Intelligence, and names the dog; OK hands the choice to the
// game, which begins in the start world with it.

#include <array>
#include <memory>

#include "media/DDWnd.h"
#include "windows/OptionsHost.h"

class CDDObject;

class CNewCharacterWnd : public CDDWnd {
public:
    enum : int {
        kIdOk = 160,
        kIdCancel = 161,
        kIdStrengthUp = 163,
        kIdDexterityUp = 164,
        kIdIntelligenceUp = 165,
        kIdStrengthDown = 1388,
        kIdDexterityDown = 1389,
        kIdIntelligenceDown = 1390,
    };
    // The figures: each starts at its minimum, and the pool holds what is
    // left to spend. They always add up to 160.
    static constexpr int kStartValue = 50;
    static constexpr int kStartBonus = 10;
    static constexpr int kNameLength = 20;  // letters of a name field
    // The layout: the labels' column, the buttons' column, the panel's place.
    static constexpr int kLabelX = 50;
    static constexpr int kButtonX = 200;
    static constexpr qv::Point kPanelAt{30, 30};
    enum Figure { kStrength, kDexterity, kIntelligence, kFigureCount };

    // A window of 640 x 480 at (0, 0) for the game behind `host`.
    explicit CNewCharacterWnd(OptionsHost* host, CDDWnd* parent = nullptr);
    ~CNewCharacterWnd() override;

    // Shows the panel, gives the name field the focus and runs the window:
    // 1 once a new game has begun, 2 when cancelled (nothing changed).
    int Popup() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;

    int GetValue(Figure f) const { return m_Values[static_cast<size_t>(f)]; }
    int GetBonus() const { return m_iBonus; }
    CDDButton* GetButton(int id) const;
    CDDEdit& PlayerName() { return m_PlayerName; }
    CDDEdit& DogName() { return m_DogName; }
    bool HasPanel() const { return m_pPanel != nullptr; }

private:
    // Each "-" only while its figure is above its minimum; each "+" only
    // while points are left.
    void UpdateButtons();
    void Raise(Figure f);
    void Lower(Figure f);
    void Accept();
    void MakePanel();

    OptionsHost* m_pHost;
    CDDEdit m_PlayerName;
    std::unique_ptr<CDDButton> m_pOk, m_pCancel;
    std::array<std::unique_ptr<CDDButton>, kFigureCount> m_pUp, m_pDown;
    CDDEdit m_DogName;
    std::array<int, kFigureCount> m_Values{kStartValue, kStartValue, kStartValue};
    std::array<int, kFigureCount> m_Minimums{kStartValue, kStartValue, kStartValue};
    int m_iBonus = kStartBonus;
    bool m_bClosing = false;  // OK was accepted: the labels are no longer drawn
    std::unique_ptr<CDDObject> m_pBackground;
    std::unique_ptr<CDDObject> m_pPanel;  // while the window is up and not closing
};
