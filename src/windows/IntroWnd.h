#pragma once
// The intro window of the options window's Intro button: a parchment rises
// through a carved frame over the landscape, one pixel every 17 ms for 489
// frames (about 8.3 seconds), and the window stays until the player presses a
// key or clicks.
//
// The frames are drawn by a timer of the window's own on the program's one
// loop, so nothing else draws on the screen while a frame is drawn.

#include <cstdint>
#include <memory>

#include "media/DDWnd.h"

class CDDObject;

class CIntroWnd : public CDDWnd {
public:
    static constexpr int kFrames = 489;
    static constexpr uint32_t kFrameMs = 17;
    static constexpr int kTimerId = 7001;  // the animation's timer
    static constexpr int kIdDone = 160;
    // The frame picture stands centred on the screen; the parchment shows in
    // the band from 83 to 340 pixels below the frame's top, its own top at
    // 340 - counter below it.
    static constexpr qv::Point kFrameSize{334, 423};
    static constexpr qv::Point kScrollSize{260, 487};
    static constexpr int kBandTop = 83;
    static constexpr int kBandBottom = 340;

    explicit CIntroWnd(CDDWnd* parent = nullptr);
    ~CIntroWnd() override;

    // Makes the pictures, runs the animation and the window; answers 1.
    int Popup() override;
    void OnTimer(int id) override;
    void OnKeyDown(int vk) override;
    void OnLButtonDown(qv::Point p) override;
    void OnCommand(int id) override;
    void Paint(qv::Surface* surface) override;

    // Frames drawn so far.
    int GetFrameCounter() const { return m_iCounter; }
    bool IsAnimating() const { return m_bAnimating; }
    // Where the frame picture's top-left and the parchment's top-left stand
    // on the screen for a counter.
    static qv::Point FrameCorner();
    static qv::Point ScrollCorner(int counter);

private:
    void StopAnimation();

    std::unique_ptr<CDDObject> m_pBackground, m_pFrame, m_pScroll;
    int m_iCounter = 0;
    bool m_bAnimating = false;
};
