#pragma once
// The software cursor: the game draws its own pointer into the picture.
//
// It has nine images: eight arrows, one for each edge of the screen toward
// which a held button scrolls (clockwise from the top), and the pointer
// itself (image 8, a strip of cells). While an item or a spell waits for its
// target the cursor carries that picture instead (SetDragImage).
//
// Drawing keeps the pixels under the cursor so that HideNow can put them
// back. In full screen the two pages each keep their own; ToggleImage, called
// before each flip, switches to the other page's.

#include <array>
#include <memory>

#include "platform/Surface.h"

class CDDObject;

class CMouseCursor {
public:
    static constexpr int kImageCount = 9;
    static constexpr int kPointer = 8;

    // Takes the nine images (any may be null) and owns them.
    explicit CMouseCursor(const std::array<CDDObject*, kImageCount>& images);
    ~CMouseCursor();
    CMouseCursor(const CMouseCursor&) = delete;
    CMouseCursor& operator=(const CMouseCursor&) = delete;

    // Nothing to set up: the window delivers the mouse. Answers TRUE.
    int InitDirectInput(void* instance, void* window);

    // Follows the mouse: takes its position from the window (inside the
    // limits) and draws the cursor there when it is shown.
    void Update();
    // Puts the cursor at a point (inside the limits) and draws it there.
    void MoveTo(qv::Point p);
    // Switches to the other page's saved pixels (full screen, before a flip).
    void ToggleImage();
    // Takes the cursor out of the picture at once.
    void HideNow();
    // The surfaces are going away: forgets the pixels kept under the cursor on
    // both pages without putting them back, and the drawing surface with them.
    void LoseSurfaces();
    // Back to the normal pointer; a carried picture is dropped.
    void RestoreImage();
    // Shows or hides the system's own pointer.
    void ShowSystemCursor(int show);
    // Draws the cursor into its clip rectangle of its surface.
    void DrawImageInRect();
    // After rect of the surface was drawn over: draws the cursor again when it
    // lies in rect (always with force).
    void RedrawCursorInRect(const qv::Rect& rect, int force);
    // Carries image (hot spot hotX, hotY) in place of the pointer; null ends it.
    void SetDragImage(CDDObject* image, int hotX, int hotY);
    CDDObject* GetDragImage() const { return m_pDragImage; }
    // Paints the cursor's image at p of surface, clipped to clip, keeping
    // nothing: for pictures that are drawn whole again each time (popups).
    void PaintAt(qv::Surface* surface, qv::Point p, const qv::Rect& clip) const;
    // Chooses one of the nine images.
    void SetImage(int index);
    int GetImage() const { return m_iImage; }
    CDDObject* GetImageObject(int index) const;
    // Restores and reloads the nine images (after the screen was lost).
    void ReloadImages();

    // The rectangle the cursor covers now, in surface coordinates.
    qv::Rect CursorRect() const;
    bool IsDrawn() const { return m_Under[m_iPage].drawn; }

    // Set by the frame.
    int m_bShown = 0;
    qv::Surface* m_pSurface = nullptr;
    qv::Rect m_rcLimits{0, 0, 640, 480};
    qv::Rect m_rcClip{0, 0, 640, 480};
    // Set by GetDrawSurface: frames are drawn for a page flip; the second
    // flag is cleared while a conversation is open.
    int m_bFlipMode = 0;
    int m_bFlipDraw = 0;
    qv::Point m_ptPos{320, 240};

private:
    struct Under {
        qv::Surface pixels;
        qv::Rect rect;  // where they came from
        qv::Surface* from = nullptr;
        bool drawn = false;
    };
    void Draw();   // keeps the pixels under the cursor, then paints it
    void Paint();  // paints the cursor over its kept box

    std::array<std::unique_ptr<CDDObject>, kImageCount> m_Images;
    int m_iImage = kPointer;
    CDDObject* m_pDragImage = nullptr;
    int m_iDragHotX = 0;
    int m_iDragHotY = 0;
    Under m_Under[2];
    int m_iPage = 0;
};

// The program's software cursor, kept by the application; null when none.
CMouseCursor* GetMouseCursor();
// The application hands over its cursor (null deletes it).
void SetMouseCursor(std::unique_ptr<CMouseCursor> cursor);
