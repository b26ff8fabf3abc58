#pragma once
// The shared pictures built at the start of play: the 45 terrain pictures
// (one per cell code 0..44), the scenery prototypes of random population and
// the windows' pictures.
//
// LoadGlobalImages runs on the start-of-play worker thread while the main
// thread waits; it touches nothing of the window system. It hands the terrain
// pictures and the prototypes to the world's map when there is one.
//
// The prototype table has five rows of five slots; row r, slot s (both
// counted from 1) is prototypes[r - 1][s - 1] of the map:
//   row 1: LivePine, LivePineSmall, DeadPine, then a LivePine and a LivePineSmall;
//   row 2: BigMountain, IceMountain, Rocks, Rocks2, then Rocks;
//   row 3: DarkPatch, Flower, Flowers, Rocks, Rocks2 (not asked for by population);
//   row 4: five shrubs, looks 0 to 4;
//   row 5: DarkPatch, Flower, Flowers, then a Flower and Flowers.
// Every prototype is marked m_bMoveable 2: cells reference it, nothing
// deletes it but the loader.

#include <array>

class CDDObject;
class Object;
class World;

using SceneryPrototypeTable = std::array<std::array<Object*, 5>, 5>;

// Builds every shared picture and the prototypes; nonzero on success.
int LoadGlobalImages(World* world);
// Refills the surfaces of the shared pictures from their bitmaps (after the
// screen was lost, or when the frame asks on its first tick); nonzero on
// success. Builds them first when they do not exist.
int ReloadGlobalImages(World* world);
// Releases the surfaces of every shared picture (the screen is going away);
// the pictures and prototypes stay, and ReloadGlobalImages refills them.
void ReleaseGlobalImages();
// Forgets the shared pictures and prototypes, deleting them; the map must
// not hold them any more (the frame clears its map's references first).
void InvalidateGlobalImages();

// The terrain picture of a cell code (0..44), or null before loading.
CDDObject* GetTerrainPicture(int code);
// The prototype table (nulls before loading).
const SceneryPrototypeTable& GetSceneryPrototypes();
// The picture of a window or button bitmap id that the loader keeps (the
// options window 913, the save and load windows 568 and 576, the new
// character window 1089 and 1090, the intro 960, 943 and 961, the sound and
// music buttons 577 to 584), or null.
CDDObject* GetWindowPicture(int bitmapId);

// The source rectangle of floor piece (i, j) (32 x 14 pixels, i 0..4 across,
// j 0..7 down) of a terrain picture. Water has one frame per animation step
// (kWaterAnimationSteps), chosen with the picture's m_iWhichSurf.
struct TerrainPiece {
    int left, top, right, bottom;
};
TerrainPiece TerrainPieceSource(int i, int j);
