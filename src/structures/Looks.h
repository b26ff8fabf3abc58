#pragma once
// The pictures that structure and scenery classes wear. As with Object's own
// picture, a class's picture is one image shared by all its objects, built at
// its first use and released after its last; kinds that name the same bitmap
// share one image.

#include "media/Resources.h"

class CDDObject;
class Object;

struct ClassLook {
    int bitmap;         // the resource picture
    int width, height;  // a cell
    int hotX, hotY;     // the hot spot within a cell
    int across, down;   // the grid of cells
};

// Light levels of every class look: four frames from light to dark.
inline constexpr int kLookLevels = 4;

inline constexpr ClassLook kLivePineLook{kBitmapLivePine, 64, 96, 32, 90, 1, 1};
inline constexpr ClassLook kLivePineSmallLook{kBitmapLivePineSmall, 40, 64, 20, 60, 1, 1};
inline constexpr ClassLook kDeadPineLook{kBitmapDeadPine, 64, 96, 32, 90, 1, 1};
inline constexpr ClassLook kBigMountainLook{kBitmapBigMountain, 272, 150, 112, 38, 1, 1};
inline constexpr ClassLook kIceMountainLook{kBitmapIceMountain, 272, 150, 112, 38, 1, 1};
inline constexpr ClassLook kRocksLook{kBitmapRocks, 40, 24, 20, 16, 1, 1};
inline constexpr ClassLook kRocks2Look{kBitmapRocks2, 56, 30, 28, 20, 1, 1};
inline constexpr ClassLook kDarkPatchLook{kBitmapDarkPatch, 60, 30, 30, 15, 1, 1};
inline constexpr ClassLook kFlowerLook{kBitmapFlower, 12, 12, 6, 10, 1, 1};
inline constexpr ClassLook kFlowersLook{kBitmapFlowers, 30, 20, 15, 14, 1, 1};
inline constexpr ClassLook kShrubLook{kBitmapShrub, 32, 28, 16, 24, 5, 1};

// Wall pieces: what is drawn (columns shut and open, rows whole and cut down)
// and the footprint the map tests moves against (columns shut and open).
inline constexpr ClassLook kFrontWallLook{kBitmapFrontWall,
                                          kFrontWallCellWidth,
                                          kFrontWallCellHeight,
                                          kFrontWallHotX,
                                          kFrontWallHotY,
                                          2,
                                          2};
inline constexpr ClassLook kFrontDoorLook{kBitmapFrontDoor,
                                          kFrontWallCellWidth,
                                          kFrontWallCellHeight,
                                          kFrontWallHotX,
                                          kFrontWallHotY,
                                          2,
                                          2};
inline constexpr ClassLook kFrontFootprint{kBitmapFrontWallFootprint,
                                           kFrontFootprintWidth,
                                           kFrontFootprintHeight,
                                           kFrontFootprintHotX,
                                           kFrontFootprintHotY,
                                           2,
                                           1};
inline constexpr ClassLook kSideWallLook{
    kBitmapSideWall, kSideWallCellWidth, kSideWallCellHeight, kSideWallHotX, kSideWallHotY, 2, 2};
inline constexpr ClassLook kSideDoorLook{
    kBitmapSideDoor, kSideWallCellWidth, kSideWallCellHeight, kSideWallHotX, kSideWallHotY, 2, 2};
inline constexpr ClassLook kSideFootprint{kBitmapSideWallFootprint,
                                          kSideFootprintWidth,
                                          kSideFootprintHeight,
                                          kSideFootprintHotX,
                                          kSideFootprintHotY,
                                          2,
                                          1};
inline constexpr ClassLook kPegLook{
    kBitmapPeg, kPegCellWidth, kPegCellHeight, kPegHotX, kPegHotY, 2, 2};
inline constexpr ClassLook kPegFootprint{kBitmapPegFootprint,
                                         kPegFootprintSize,
                                         kPegFootprintSize,
                                         kPegFootprintHot,
                                         kPegFootprintHot,
                                         2,
                                         1};

// A light source stands as a lamp post.
inline constexpr ClassLook kLampPostLook{
    kBitmapLampPost, kLampPostWidth, kLampPostHeight, kLampPostHotX, kLampPostHotY, 1, 1};

// Takes a use of the look's image, building it at the first use.
CDDObject* UseLook(const ClassLook& look);
// Gives back a use of a look's image; the last use releases its surfaces.
void ReturnLook(CDDObject* image);
// The object wears the look from now on, in place of the picture it had: the
// map places, tests and draws it by the look.
void WearLook(Object& object, const ClassLook& look);
