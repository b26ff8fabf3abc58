#pragma once
// The game's own resource store: pictures, sounds and cursors by resource id.
//
// Nothing here comes from files: every picture is painted by our own code the
// first time it is asked for, in the game's palette, and every sound is
// synthesised; both are kept for the rest of the run. The store is safe to
// use from the worker thread that loads the images at the start of play.
//
// Ids the game's own code names (283 for a plain object, 892, 969, 970, the
// scroll and pointer cursors, window pictures, buttons, portraits, spell
// icons, ...) keep their numbers. Pictures that the code is free to number
// (terrain, random-population scenery, items) get the ids below.

#include <cstdint>
#include <memory>
#include <vector>

#include "media/DIBitmap.h"

// Terrain pictures: kBitmapTerrain + cell code (0..44), each 160 x 112; the
// water picture (code 3) holds four animation steps side by side.
inline constexpr int kBitmapTerrain = 3000;
inline constexpr int kTerrainPictureCount = 45;
inline constexpr int kTerrainWidth = 160;
inline constexpr int kTerrainHeight = 112;
inline constexpr int kWaterAnimationSteps = 4;

// Random-population scenery.
inline constexpr int kBitmapLivePine = 3100;       // 64 x 96, hot spot (32, 90)
inline constexpr int kBitmapLivePineSmall = 3101;  // 40 x 64, hot spot (20, 60)
inline constexpr int kBitmapDeadPine = 3102;       // 64 x 96, hot spot (32, 90)
inline constexpr int kBitmapShrub = 3103;          // 5 x 1 cells of 32 x 28, hot spot (16, 24)
// The mountains stand on a whole cell from its top-left corner; on the screen
// a cell leans 112 pixels to the left from top to bottom.
inline constexpr int kBitmapBigMountain = 3104;  // 272 x 150, hot spot (112, 38)
inline constexpr int kBitmapIceMountain = 3105;  // 272 x 150, hot spot (112, 38)
inline constexpr int kBitmapRocks = 3106;        // 40 x 24, hot spot (20, 16)
inline constexpr int kBitmapRocks2 = 3107;       // 56 x 30, hot spot (28, 20)
inline constexpr int kBitmapDarkPatch = 3108;    // 60 x 30, hot spot (30, 15)
inline constexpr int kBitmapFlower = 3109;       // 12 x 12, hot spot (6, 10)
inline constexpr int kBitmapFlowers = 3110;      // 30 x 20, hot spot (15, 14)

// Items: a picture lying on the ground (kBitmapItemGround + kind, 32 x 24,
// hot spot (16, 16)) and one for the inventory (kBitmapItemInventory + kind,
// 36 x 33).
enum ItemPicture {
    kItemDagger,
    kItemSword,
    kItemLongSword,
    kItemAxe,
    kItemMace,
    kItemSpear,
    kItemBow,
    kItemCrossbow,
    kItemArrow,
    kItemArmour,
    kItemShield,
    kItemHelmet,
    kItemBoots,
    kItemGloves,
    kItemPotion,
    kItemScroll,
    kItemBag,
    kItemCoins,
    kItemKey,
    kItemBook,
    kItemRing,
    kItemAmulet,
    kItemFood,
    kItemFlail,
    kItemHammer,
    kItemPitchfork,
    kItemScythe,
    kItemWhip,
    kItemLongbow,
    kItemStone,
    kItemCape,
    kItemShirt,
    kItemLeggings,
    kItemDogArmour,
    kItemCount
};
inline constexpr int kBitmapItemGround = 3200;
inline constexpr int kBitmapItemInventory = 3300;
// A weapon that carries a name of its own shows this picture in place of its
// kind's inventory picture: kBitmapItemNamed + kind, 36 x 33.
inline constexpr int kBitmapItemNamed = 3800;
// The armour kinds, one cell of 32 x 24 per material 0..8 across (hot spot
// (16, 16)): kBitmapArmourMaterials + the kind's picture (kItemHelmet, ...).
inline constexpr int kBitmapArmourMaterials = 3900;
inline constexpr int kArmourMaterialCount = 9;
// Inventory pictures per material of the kinds that keep them (boots,
// leggings, amulets): kBitmapArmourInventory + picture * 9 + material, 36 x 33.
inline constexpr int kBitmapArmourInventory = 4000;
// A missile in flight: one 16 x 16 cell per direction 0..7 across (hot spot
// (8, 8)); the magic missile has a row of them per colour 0..7.
inline constexpr int kBitmapMissile = 4500;
inline constexpr int kBitmapMagicMissile = 4501;
inline constexpr int kMissileDirections = 8;
inline constexpr int kMagicMissileColours = 8;
// A power cube, 2 x 1 cells of 18 x 17 (hot spot (8, 14)): column 0 empty,
// column 1 charged.
inline constexpr int kBitmapPowerCube = 4510;
inline constexpr int kPowerCubeWidth = 18;
inline constexpr int kPowerCubeHeight = 17;
inline constexpr int kPowerCubeHotX = 8;
inline constexpr int kPowerCubeHotY = 14;
// A power cube's stand, 6 x 1 cells of 40 x 48 (hot spot (20, 42)): column 0
// bare, columns 1 to 5 carved with the stand's symbol (Sun, Mighty Oak,
// Hourglass, Shield, Wavy Lines).
inline constexpr int kBitmapPowerCubeStand = 4511;
inline constexpr int kPowerCubeStandWidth = 40;
inline constexpr int kPowerCubeStandHeight = 48;
inline constexpr int kPowerCubeStandHotX = 20;
inline constexpr int kPowerCubeStandHotY = 42;
inline constexpr int kPowerCubeStandColumns = 6;
// Pictures of the catalogue's smaller kinds, as each class wears it (cell
// size, hot spot, and the grid where a kind has more than one cell):
// potions, one bottle per potion type 0..6 across;
inline constexpr int kBitmapPotionKinds = 4520;  // 7 x 1 cells of 16 x 24, hot spot (8, 20)
inline constexpr int kPotionKindCount = 7;
inline constexpr int kBitmapMonsterGenerator = 4522;  // 32 x 32, hot spot (16, 24)
// a spell whose kind has no picture of its own shows its school's (1 Fire,
// 2 Earth, 3 Air, 4 Water): kBitmapSpellSchool + school, 36 x 32;
inline constexpr int kBitmapSpellSchool = 4540;
inline constexpr int kSpellSchoolCount = 4;
// a lever, off and on (2 x 1 cells of 24 x 32, hot spot (12, 28));
inline constexpr int kBitmapLever = 4530;
inline constexpr int kBitmapStairs = 4531;          // 64 x 48, hot spot (32, 36)
inline constexpr int kBitmapCaltrops = 4532;        // 32 x 20, hot spot (16, 12)
inline constexpr int kBitmapMissileShooter = 4533;  // 32 x 32, hot spot (16, 24)
// three rugs lying flat, each 80 x 48 (hot spot (40, 24));
inline constexpr int kBitmapRug = 4534;
inline constexpr int kRugKinds = 3;
inline constexpr int kBitmapStatueBow = 4537;  // 40 x 80, hot spot (20, 74)
// The moving platforms. A drawbridge's picture has 2 x 2 cells: columns by
// the way it carries (0 north and south, 1 east and west), rows lowered and
// raised. Its deck is a world footprint, one pixel a world pixel about the
// hot spot, the deck's pixels painted with the deck colour (kPaletteDeck): one
// picture for each way it carries, of one column and two rows, lowered and
// raised (nothing: no one stands on a bridge drawn up). A ship has one cell
// of each.
inline constexpr int kBitmapDrawBridge = 4560;
inline constexpr int kBitmapDrawBridgeDeck = 4561;  // carrying north and south
inline constexpr int kBitmapShip = 4562;
inline constexpr int kBitmapShipDeck = 4563;
inline constexpr int kBitmapDrawBridgeDeckAcross = 4564;  // carrying east and west
// The party panel's effect icons, 11 x 11 each, one picture a lasting
// effect: kBitmapEffectIcons + 0 Protect from Fire, 1 Grounding, 2
// Invisibility, 3 Shock, 4 Levitate.
inline constexpr int kBitmapEffectIcons = 4570;
inline constexpr int kEffectIconPictures = 5;
inline constexpr int kEffectIconSize = 11;
// A lowered bridge's deck spans the cell it stands in the middle of: from
// kBridgeHalfSpanX west to kBridgeHalfSpanX - 1 east, or kBridgeHalfSpanY
// north to kBridgeHalfSpanY - 1 south; kBridgeHalfWidth wide the same way.
inline constexpr int kBridgeHalfSpanX = 80, kBridgeHalfSpanY = 56;
inline constexpr int kBridgeHalfWidth = 24;
inline constexpr int kBridgeRaisedHeight = 96;
inline constexpr int kDrawBridgeWidth = 216, kDrawBridgeHeight = 216;
inline constexpr int kDrawBridgeHotX = 108, kDrawBridgeHotY = 156;
// A ship's deck: kShipHalfLength each way along x, kShipHalfBeam across,
// narrowing to a point over the last kShipBowLength pixels of each end.
inline constexpr int kShipHalfLength = 90, kShipHalfBeam = 36, kShipBowLength = 30;
inline constexpr int kShipWidth = 264, kShipHeight = 150;
inline constexpr int kShipHotX = 132, kShipHotY = 90;
inline constexpr int kShipDeckWidth = 2 * kShipHalfLength + 1;
inline constexpr int kShipDeckHeight = 2 * kShipHalfBeam + 1;
inline constexpr int kShipDeckHotX = kShipHalfLength, kShipDeckHotY = kShipHalfBeam;
inline constexpr int kBitmapChest = 3400;   // 52 x 36
inline constexpr int kBitmapCoffin = 3401;  // 97 x 36
// A barrel, 37 x 51, and beside it (column 1) a rain barrel.
inline constexpr int kBitmapBarrel = 3402;
// A bed (the id the game names), 64 x 48, hot spot (32, 30).
inline constexpr int kBitmapBed = 408;
// A creature body in eight facings (8 x 1 cells of 64 x 64, hot spot (32, 56)),
// for image sets made without picture files.
inline constexpr int kBitmapCreature = 3500;
// A wooden crate, 64 x 64 (hot spot (32, 32)), for plain objects that want one.
inline constexpr int kBitmapCrate = 3501;
// The game's name in large letters on a dusk band, 640 x 120: the title that
// fades in under the options window at start.
inline constexpr int kBitmapTitle = 3700;

// Wall pieces, as the structures draw them. A piece stands on its cell's edge
// kWallHeight pixels high; a door's opening, in the middle of its edge, is
// 2 * kDoorHalfWidth + 1 wide and kDoorHeight high. Each picture is a grid of
// 2 x 2 cells: column 0 shut, column 1 open; row 0 the whole piece, row 1 cut
// down to kWallCutHeight so that what stands behind it shows.
inline constexpr int kWallHeight = 60;
inline constexpr int kWallHalfThickness = 5;  // as drawn
inline constexpr int kWallCutHeight = 12;
inline constexpr int kDoorHalfWidth = 21;
inline constexpr int kDoorHeight = 46;
// A front piece stands on a cell's north edge, hot spot at the middle of the
// edge; a side piece on its west edge, slanting on the screen as the edge
// does; a peg, a little higher, on its north-west corner.
inline constexpr int kFrontWallCellWidth = 160 + 2 * kWallHalfThickness + 1;
inline constexpr int kFrontWallCellHeight = kWallHeight + 2 * kWallHalfThickness + 1;
inline constexpr int kFrontWallHotX = 80 + kWallHalfThickness;
inline constexpr int kFrontWallHotY = kWallHeight + kWallHalfThickness;
inline constexpr int kSideWallCellWidth = 112 + 2 * kWallHalfThickness + 1;
inline constexpr int kSideWallCellHeight = 112 + kWallHeight + 1;
inline constexpr int kSideWallHotX = 56 + kWallHalfThickness;
inline constexpr int kSideWallHotY = 56 + kWallHeight;
inline constexpr int kPegHalfWidth = 7;
inline constexpr int kPegHeight = kWallHeight + 4;
inline constexpr int kPegCellWidth = 4 * kPegHalfWidth + 1;
inline constexpr int kPegCellHeight = kPegHeight + 2 * kPegHalfWidth + 1;
inline constexpr int kPegHotX = 2 * kPegHalfWidth;
inline constexpr int kPegHotY = kPegHeight + kPegHalfWidth;

// A piece's footprint: the ground it blocks, in world pixels about its hot
// spot (columns shut and open; the open one leaves the door's opening free).
// The map places a piece by the corners of its footprint's box and refuses it
// where a corner meets another piece or ground nothing stands on, so every
// box stays inside the cells its piece parts and each corner lies where no
// neighbouring piece blocks. A piece blocks along its edge up to kPegClear
// pixels from the corners, and kWallBand pixels across it; the corners
// themselves are the pegs': a peg blocks kPegHalfWidth pixels about its
// corner, closing the joints of a line of pieces and the corners where lines
// meet. Every piece leaves its hot spot's own point free, so that another
// piece (or a tile on a peg's corner) may be laid on the same spot.
inline constexpr int kWallBand = 6;
inline constexpr int kPegClear = kPegHalfWidth + 1;
inline constexpr int kFrontFootprintWidth = 2 * (80 - kPegClear) + 1;
inline constexpr int kFrontFootprintHeight = 2 * kPegClear;
inline constexpr int kFrontFootprintHotX = 80 - kPegClear;
inline constexpr int kFrontFootprintHotY = kPegClear;
inline constexpr int kSideFootprintWidth = 2 * kPegClear;
inline constexpr int kSideFootprintHeight = 2 * (56 - kPegClear) + 1;
inline constexpr int kSideFootprintHotX = kPegClear;
inline constexpr int kSideFootprintHotY = 56 - kPegClear;
inline constexpr int kPegFootprintSize = 2 * kPegClear;
inline constexpr int kPegFootprintHot = kPegClear;
inline constexpr int kBitmapFrontWall = 3510;
inline constexpr int kBitmapFrontDoor = 3511;
inline constexpr int kBitmapFrontWallFootprint = 3512;
inline constexpr int kBitmapSideWall = 3513;
inline constexpr int kBitmapSideDoor = 3514;
inline constexpr int kBitmapSideWallFootprint = 3515;
inline constexpr int kBitmapPeg = 3516;
inline constexpr int kBitmapPegFootprint = 3517;
// A lamp post, the picture of a light source, standing on its hot spot.
inline constexpr int kBitmapLampPost = 3518;
inline constexpr int kLampPostWidth = 21;
inline constexpr int kLampPostHeight = 84;
inline constexpr int kLampPostHotX = 10;
inline constexpr int kLampPostHotY = 80;

// Furnishings, lights and small carried things, one picture a kind (the
// kinds that come in variants have a cell per variant across). Each picture's
// size is its recipe's (FurnishingArt.cpp); its hot spot is its kind's.
inline constexpr int kBitmapNet = 4600;
inline constexpr int kBitmapRope = 4601;
inline constexpr int kBitmapSign = 4602;
inline constexpr int kBitmapBookCase = 4603;
inline constexpr int kBitmapTable = 4604;
inline constexpr int kBitmapBench = 4605;
inline constexpr int kBitmapFloorChange = 4606;
inline constexpr int kBitmapGas = 4607;
inline constexpr int kBitmapCampFire = 4608;
inline constexpr int kBitmapTorch = 4609;
inline constexpr int kBitmapCandle = 4610;
inline constexpr int kBitmapWallTorch = 4611;
inline constexpr int kBitmapHearth = 4612;
inline constexpr int kBitmapCandelabra = 4613;
inline constexpr int kBitmapCandelabra2 = 4614;
inline constexpr int kBitmapColumn = 4615;
inline constexpr int kBitmapFountain = 4616;
inline constexpr int kBitmapForge = 4617;
inline constexpr int kBitmapPicture = 4618;  // one framed painting a variant
inline constexpr int kPictureVariants = 6;
inline constexpr int kBitmapAltar = 4619;
inline constexpr int kBitmapTarget = 4620;
inline constexpr int kBitmapClock = 4621;
inline constexpr int kBitmapBlocks = 4622;
inline constexpr int kBitmapSpriteTest = 4623;
inline constexpr int kBitmapWhistle = 4624;
inline constexpr int kBitmapTrash = 4625;
inline constexpr int kBitmapSnakeSkin = 4626;
inline constexpr int kBitmapGem = 4627;  // one stone a variant
inline constexpr int kGemVariants = 8;
inline constexpr int kBitmapLetter = 4628;
inline constexpr int kBitmapBandAid = 4629;

// Sounds the code is free to number.
inline constexpr int kWaveDrink = 3600;      // a potion drunk
inline constexpr int kWaveRead = 3601;       // a scroll read
inline constexpr int kWaveCharge = 3602;     // a power cube charging
inline constexpr int kWaveDischarge = 3603;  // a power cube discharging
inline constexpr int kWaveLocked = 3604;     // a locked lid or door that does not give
inline constexpr int kWaveExplosion = 3620;  // a blast
// The main frame's twenty combat sounds, by combat sound number: 2 dying
// (177), 3 a human's attack (180), 4 a human hurt (178), the others ours.
inline constexpr int kCombatSoundIds[20] = {175, 176, 177, 180, 178, 179, 181, 182, 183, 184,
                                            185, 186, 187, 188, 189, 190, 191, 192, 193, 194};

// The picture of a bitmap resource id, or null when the store has none (the
// image object then makes a blank frame of the size asked for).
std::shared_ptr<const CDIBitmap> FindBitmapResource(int id);

// A sound of the store: mono 16-bit signed PCM.
struct WaveResource {
    int sampleRate = 22050;
    std::vector<int16_t> samples;
};

// The sound of a WAVE resource id, or null when the store has none.
std::shared_ptr<const WaveResource> FindWaveResource(int id);

// A cursor resource: its picture (index 0 see-through) and hot spot.
struct CursorResource {
    std::shared_ptr<const CDIBitmap> picture;
    int hotX = 0;
    int hotY = 0;
};
// Cursors 214 (pointer), 216 (pointer while choosing), 218 (over a target)
// and 219 (wait); an empty picture for other ids.
CursorResource FindCursorResource(int id);

// The bitmap resource ids the store paints, in increasing order.
std::vector<int> BitmapResourceIds();
// The WAVE resource ids the store makes, in increasing order.
std::vector<int> WaveResourceIds();
