#pragma once
// The image object: a picture cut into a grid of cells, held as frames.
//
// An image has a number of frames, each a 16-bit surface of its own built from
// an 8-bit source picture (a bitmap from the resource store by id, a .bmp
// file, or a picture handed in). Each frame holds the whole grid of cells
// (cells across x cells down, each m_iWidth x m_iHeight pixels); the cell
// drawn is chosen by column and row.
//
// Frames serve two purposes:
//  - light levels: an image with m_iNumLevels > 1 has one frame per level, all
//    from the same picture, frame i darkened to brightness level/64 where
//    SetFrameLevels gave level (n-1-i)*64/(n-1): frame 0 is the lightest and
//    the last black. The frame drawn is m_iWhichSurf + m_iLightLevel (the light
//    level is clamped to 0..m_iNumLevels-1), so objects set m_iLightLevel from
//    the map light and leave m_iWhichSurf at 0.
//  - animation: creature image sets select a frame with m_iWhichSurf.
//
// Frames given the same resource id share the picture; a frame with the same
// id and light level as an earlier one also shares that frame's surface and
// does not own it.
//
// Drawing modes (DrawFrame, DrawAt, DrawPiece): 0 draws the picture as it
// is; kDrawModeHover (38, what objects pass when they are under the cursor)
// draws it brightened, every colour part raised halfway to its largest
// value, so that the hovered object stands out. Other modes draw as 0.
//
// The transparent colour is a palette index; a frame's pixels of that index
// are not drawn and read 0 in HitTest. Darkened pixels that would come out
// equal to the key are raised by one so they stay visible.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/DIBitmap.h"
#include "platform/Surface.h"

inline constexpr int kDrawModePlain = 0;
inline constexpr int kDrawModeHover = 38;

class CDDObject {
public:
    CDDObject();
    ~CDDObject();
    CDDObject(const CDDObject&) = delete;
    CDDObject& operator=(const CDDObject&) = delete;

    // One frame of frameWidth x frameHeight cells in a grid of columns x rows,
    // hot spot (hotX, hotY), from the bitmap resource *bitmapId (a blank
    // picture when bitmapId is null), loaded at once. Nonzero on success.
    int Create(int frameWidth, int frameHeight, int hotX, int hotY, const int* bitmapId,
               int columns, int rows);

    // The grid of cells of every frame. Values below 1 count as 1.
    void SetCellGrid(int& across, int& down);
    // n empty frames (the old ones are released); the image joins the global
    // image list that RestoreAllImages walks.
    void SetFrameCount(int n);
    // Gives frame its light level among n levels: (n-1-frame)*64/(n-1), 64 when
    // n is 1.
    void SetFrameLevels(int frame, int& n);
    // Frame's picture is the bitmap resource bitmapId; its grid starts at
    // (srcX, srcY) of that picture. Frames of one id share the picture.
    void SetFrameImage(int& bitmapId, int srcX, int srcY, int& frame);
    // Frame's picture comes from a .bmp file. A file larger than one frame's
    // grid is cut into grids left to right, top to bottom, which fill frame,
    // frame + 1, ... up to the frame count. False (and a message in error)
    // when the file cannot be read.
    bool SetFrameImageFile(int frame, const std::string& path, std::string* error = nullptr);
    // Frame's picture is the given one (the mini-map draws into such a
    // picture and calls Load again to show it).
    void SetFrameBitmap(int frame, std::shared_ptr<const CDIBitmap> bitmap, int srcX = 0,
                        int srcY = 0);

    // Fills every frame surface from its picture; nonzero on success. A frame
    // without a picture gets a blank (transparent) one of the grid's size.
    int Load();
    // Releases the frame surfaces that the image owns (pictures stay).
    void Release();
    // Restores lost surfaces and refills them from their pictures; nonzero on
    // success.
    int Restore();
    bool IsLoaded() const;

    // Takes effect when the frames are next filled (Load).
    void SetTransparentColour(int paletteIndex);
    int GetTransparentColour() const { return m_iTransparentIndex; }

    // Draws cell (column, row) of the current frame with the hot spot at the
    // screen point, clipped to the view rectangle and the surface. A column or
    // row outside the grid draws nothing. Remembers column and row as the
    // current cell. Answers kDrawOk or another kDraw result.
    int DrawFrame(qv::Surface* surface, qv::Point screen, const qv::Rect& view, int& column,
                  int& row, int mode = kDrawModePlain, int reserved = 0);
    // Draws source (a rectangle of the current frame's surface; the current
    // cell when null) with its top-left at position, clipped to clip.
    int DrawAt(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
               const qv::Rect* source = nullptr, int mode = kDrawModePlain);
    // Draws source of the current frame's surface with its top-left at
    // position, darkened by darkness 0 (as it is) to 31 (nearly black) in 32
    // steps, without a transparent colour: the map's floor pieces.
    int DrawPiece(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
                  const qv::Rect& source, int darkness);

    // The current cell's rectangle relative to the object's position:
    // (-hotX, -hotY - z, width - hotX, height - hotY - z).
    qv::Rect GetCellRect() const;
    // The pixel under a point relative to the object's position, in the
    // current cell of the given frame; 0 when transparent or outside.
    int HitTest(qv::Point point, int frame) const;
    // Whether a point relative to the object's position lies in the cell
    // rectangle.
    bool BoxContains(qv::Point point) const { return GetCellRect().Contains(point); }

    // The rectangle of cell (column, row) in a frame surface.
    qv::Rect CellSource(int column, int row) const;
    // The frame drawn now: m_iWhichSurf plus the clamped light level.
    int CurrentFrame() const;
    // A frame's surface, or null.
    const qv::Surface* GetFrameSurface(int frame) const;
    qv::Surface* GetFrameSurface(int frame);
    int GetFrameLevel(int frame) const;
    // A frame's transparent colour as a pixel of its surface (0 without one).
    int GetFrameKey(int frame) const { return FrameIndexOk(frame) ? m_Frames[frame].key : 0; }

    // Restores every image of the global image list (after a lost screen).
    static int RestoreAllImages();
    static size_t GlobalImageCount();

    // Fields the game reads and sets.
    int m_iUseCount = 0;  // live users of a class-wide image
    int m_iWidth = 0;     // cell (frame) size
    int m_iHeight = 0;
    int m_iHotX = 0;  // hot spot within a cell
    int m_iHotY = 0;
    int m_iZOffset = 0;      // drawn this much higher than the position
    int m_iNumLevels = 1;    // light-level frames
    int m_iLightLevel = 0;   // current light level, 0 the lightest
    int m_iCellsAcross = 1;  // grid
    int m_iCellsDown = 1;
    int m_iCurrentColumn = 0;  // last cell drawn
    int m_iCurrentRow = 0;
    int32_t m_iPose = 0;    // pose field written by combat
    int m_iWhichSurf = 0;   // selected frame
    int m_iSurfaceCnt = 0;  // number of frames

private:
    struct Frame {
        int bitmapId = -1;  // resource id, or -1
        std::string file;   // .bmp path when from a file
        int level = 64;     // brightness 0..64
        int srcX = 0;
        int srcY = 0;
        std::shared_ptr<const CDIBitmap> bitmap;
        std::shared_ptr<qv::Surface> surface;  // shared with an earlier frame when not owned
        bool owned = true;
        int key = -1;  // the transparent colour as a pixel of this frame
    };

    int DrawSource(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
                   const qv::Rect& source, int mode);
    bool FrameIndexOk(int frame) const { return frame >= 0 && frame < m_iSurfaceCnt; }
    void FillFrame(Frame& f);
    // The pixel size of the whole grid of cells; (0, 0) when it is too large.
    qv::Point GridSize() const;
    void JoinGlobalList();
    void LeaveGlobalList();

    std::vector<Frame> m_Frames;
    int m_iTransparentIndex = 0;
    bool m_bListed = false;
};
