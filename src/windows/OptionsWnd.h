#pragma once
// The options window, "Game Play Options": the game's hub outside play.
//
// At start it fills the screen (the start layout) and offers a new game,
// loading a game, the intro and quitting, with the game's title fading in
// under it. During play (Esc, or when a party member has fallen) it is a
// window at the top of the screen (the in-game layout) that also offers
// saving, the sound and music switches and going back to the game. F1 shows
// the about box.
//
// Its answers: 1 play (a game was begun or loaded, or the player goes on), 2
// quit, 3 the new-character window was cancelled from the in-game layout.

#include <array>
#include <memory>

#include "media/DDWnd.h"
#include "windows/OptionsHost.h"

class CDDObject;

class COptionsWnd : public CDDWnd {
public:
    enum : int {
        kIdNewGame = 155,
        kIdNothing = 157,  // shown at start; it does nothing
        kIdIntro = 158,
        kIdQuit = 159,
        kIdContinue = 160,
        kIdSaveGame = 1121,
        kIdLoadGame = 1122,
        kIdSound = 1172,
        kIdMusic = 1173,
    };
    enum : int { kResultPlay = 1, kResultQuit = 2, kResultNewGameCancelled = 3 };
    static constexpr int kPicture = 913;  // 640 x 480; the in-game window shows its part
    static constexpr qv::Rect kStartRect{0, 0, 640, 480};
    static constexpr qv::Rect kPlayRect{119, 8, 523, 354};
    // The fading title, under the start layout's panel.
    static constexpr qv::Rect kTitleRect{0, 360, 640, 480};
    static constexpr const char* kQuitQuestion = "Are you sure you want to Quit?";

    // `startLayout`: no game has been started; `continueAllowed`: the
    // in-game layout may go back to the game; `third`: kept, read by
    // nothing. In its confirming mode (a second window after a new game was
    // cancelled in play) a cancelled new game leaves the window open.
    COptionsWnd(OptionsHost* host, bool startLayout, bool continueAllowed, int third,
                bool confirming = false);
    ~COptionsWnd() override;

    void OnActivate(int state) override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;

    bool IsStartLayout() const { return m_bStartLayout; }
    bool IsContinueAllowed() const { return m_bContinueAllowed; }
    int GetThirdFlag() const { return m_iThird; }
    // A button of the window, null for one its layout does not make.
    CDDButton* GetButton(int id) const;
    // Where a layout's button lies on the screen; empty for one it lacks.
    static qv::Rect ButtonRect(int id, bool startLayout);
    // The fading title (start layout only).
    CFadeWnd* GetTitle() const { return m_pTitle.get(); }

private:
    void NewGame();
    void OpenSlots(bool save);
    void PlayIntro();
    void SwitchSound();
    void SwitchMusic();
    void Quit();
    // The sound and music buttons' pictures and states follow their switches.
    void UpdateSwitches();
    void FadeTitle(bool in);

    OptionsHost* m_pHost;
    bool m_bStartLayout;
    bool m_bContinueAllowed;
    int m_iThird;
    bool m_bConfirming;
    bool m_bTitleFaded = false;                             // the title has faded in once
    std::array<std::unique_ptr<CDDButton>, 10> m_pButtons;  // nine are made
    std::unique_ptr<CDDObject> m_pPicture;
    std::unique_ptr<CFadeWnd> m_pTitle;
};
