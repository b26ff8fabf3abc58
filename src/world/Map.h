#pragma once
// The running world map: a torus of worldcellx x worldcelly cells of 160 x 112
// pixels, of which a window of wide x high cells around the focus is held in
// memory. Every placed object stands in the window through its holder, listed
// in each window cell its image touches, in drawing order (back to front).
//
// The map also answers the movement and sight questions (MapMove.cpp) and
// keeps the light of the cells around the focus (MapLight.cpp).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/Persistent.h"
#include "world/ObjectHolder.h"

class Object;
class CDDObject;
class CDIBitmap;
class Land;
class LandInfo;
class MapLamp;
class LandGraph;
namespace qv {
class Archive;
class ReadAhead;
class Surface;
}  // namespace qv

// A cell of the world or of the window (column, row).
using CellPoint = qv::Point;
// A rectangle of cells; left > right (or top > bottom) straddles the seam.
using CellRect = qv::Rect;

// The objects a test or a placement must ignore.
using ObjectIgnoreList = std::vector<Object*>;

// Asks memory for the line at p without waiting for it. The empty statement
// beside it keeps the compiler from dropping a loop that only prefetches,
// which it otherwise may.
inline void PrefetchLine(const void* p) {
    __builtin_prefetch(p);
    asm volatile("" : : "r"(p));
}

// The map's step test (MapMaster::IsStepBlocked) reads the cells' terrain
// codes, their edge pieces and their drawbridges. Every change of what it
// reads is counted here, so that an answer worked out from them (a planned
// walk) can be known to hold while the count stays the same. The map counts
// what it changes itself (a terrain code set, an edge piece or a platform
// placed or taken away, the window moved or emptied) and an object counts a
// change of its state (a door opened or closed); code that sets a placed
// wall piece's or drawbridge's flags directly counts it with NoteStepChange.
uint64_t StepEpoch();
void NoteStepChange();

// A number the step test reads (a cell's terrain code, a wall piece's or a
// drawbridge's flag): setting it to another value counts as a change of the
// map's steps. It reads and compares as the number it holds.
class StepValue {
public:
    StepValue(int32_t v = 0) : m_value(v) {}  // NOLINT: it stands for the number
    StepValue(const StepValue&) = default;
    StepValue& operator=(const StepValue& other) { return *this = other.m_value; }
    StepValue& operator=(int32_t v) {
        if (v != m_value) {
            m_value = v;
            NoteStepChange();
        }
        return *this;
    }
    operator int32_t() const { return m_value; }  // NOLINT: read as the number it is
    // Stores or loads the number as a stored record's 32-bit field.
    void Exchange(qv::Archive& ar);

private:
    int32_t m_value;
};

// Holders in drawing order, back to front. Kept by map cells and platforms;
// the list never owns the holders. A short list lives inside the list itself
// (so inside its map cell), which spares a move one memory fetch per cell it
// looks at; a longer one moves to the heap.
class ObjectHolderList {
public:
    ObjectHolderList() = default;
    ObjectHolderList(const ObjectHolderList& other) { Assign(other); }
    ObjectHolderList(ObjectHolderList&& other) noexcept { Take(other); }
    ObjectHolderList& operator=(const ObjectHolderList& other) {
        if (&other != this) Assign(other);
        return *this;
    }
    ObjectHolderList& operator=(ObjectHolderList&& other) noexcept {
        if (&other != this) {
            Release();
            Take(other);
        }
        return *this;
    }
    ~ObjectHolderList() { Release(); }

    bool Find(const ObjectHolder* holder) const;
    // Takes the holder out; true when it was listed.
    bool Remove(const ObjectHolder* holder);
    void Copy(const ObjectHolderList& other);
    // Inserts in drawing order relative to world cell (cellx, celly).
    // wrapx and wrapy (the world in pixels) let an object across the seam be
    // measured the short way; 0 measures plainly.
    void InsertSorted(ObjectHolder* holder, int32_t cellx, int32_t celly, int32_t wrapx = 0,
                      int32_t wrapy = 0);
    void Append(ObjectHolder* holder) { InsertAt(m_size, holder); }
    void Clear() { m_size = 0; }

    size_t Count() const { return m_size; }
    bool IsEmpty() const { return m_size == 0; }
    ObjectHolder* operator[](size_t i) const { return m_data[i]; }
    ObjectHolder* const* begin() const { return m_data; }
    ObjectHolder* const* end() const { return m_data + m_size; }

private:
    static constexpr uint32_t kInline = 5;
    bool IsInline() const { return m_data == m_inline; }
    void InsertAt(size_t at, ObjectHolder* holder);
    void Assign(const ObjectHolderList& other);
    void Take(ObjectHolderList& other);
    void Release();

    ObjectHolder** m_data = m_inline;
    uint32_t m_size = 0;
    uint32_t m_capacity = kInline;
    ObjectHolder* m_inline[kInline] = {};
};

// Whether a is drawn in front of b, relative to world cell (cx, cy).
bool IsHolderInFrontOf(const ObjectHolder& a, const ObjectHolder& b, int32_t cx, int32_t cy,
                       int32_t wrapx = 0, int32_t wrapy = 0);

// One cell of the map's window. What a move reads of it, the terrain and the
// holder list with its first holders, shares the cell's first cache line.
class alignas(64) MapCell {
public:
    StepValue terrain = 0;     // movement code 0..14
    int32_t imagetype = 0;     // picture code 0..44 (15..44 mixed)
    ObjectHolderList holders;  // every holder touching the cell, drawing order
    int32_t room = -1;
    CDDObject* image = nullptr;   // the cell's picture; null while not filled
    Land* land = nullptr;         // the land that owns the cell while loaded
    ObjectHolderList transients;  // standing random scenery, owned
    ObjectHolderList decals;      // flat random scenery, owned, drawn with the floor
    int32_t worldindex = 0;
    ObjectHolder* northwall = nullptr;
    ObjectHolder* westwall = nullptr;
    ObjectHolder* corner = nullptr;

    // The wall piece for an edge code: 1 north, 2 west, 3 corner; else null.
    ObjectHolder* GetEdgeList(int code) const;
    bool IsFilled() const { return image != nullptr; }
    // Deletes the owned random scenery (never the shared prototypes).
    void Reset();
    // Lands (Mapio.cpp): gives every holder of the cell back to a land, the
    // land of the cell it stands in, else this cell's, else the root's.
    void WriteBack(MapMaster& map);
    // Sets the terrain (unless -1) and populates the cell.
    void SetTerrain(CellPoint worldcell, int32_t code, MapMaster& map);
};

class MapMaster : public qv::Persistent {
    QV_DECLARE_CLASS(MapMaster)
public:
    static constexpr int32_t wide = 51;
    static constexpr int32_t high = 48;
    static constexpr int32_t CellWidth = 160;
    static constexpr int32_t CellHeight = 112;
    static constexpr int32_t SamplesX = 5;  // light pieces of 32 x 14 pixels
    static constexpr int32_t SamplesY = 8;
    static constexpr int32_t SamplesPerCell = SamplesX * SamplesY;

    MapMaster();
    explicit MapMaster(const Position* startpos);
    ~MapMaster() override;
    MapMaster(const MapMaster&) = delete;
    MapMaster& operator=(const MapMaster&) = delete;

    // ---- world size and window ----
    // The most cells a world may have. Its explored bits (a bit a cell), its
    // lands' pictures (a pixel a cell) and every cell's index in the world
    // are held in memory or in an int; a file that asks for more is refused
    // before anything is made for it.
    static constexpr int64_t kMaxWorldCells = int64_t{1} << 24;
    // Whether a world of w x h cells can be held: each side at least a cell,
    // its pixels within a position's range, and kMaxWorldCells cells at most.
    static bool FitsLargestWorld(int32_t w, int32_t h);
    // 0, changing nothing, for a size no world can have.
    int SetWorldSize(int32_t w, int32_t h);
    // Centres the window on the focus cell, across the world's seam if need be.
    void RecentreWindow();
    // Puts the window's top-left corner at world cell `origin`, without any
    // land streaming (the cells keep what they list).
    void SetOrigin(CellPoint origin);

    MapCell& GetCell(int32_t i, int32_t j) { return m_cells[static_cast<size_t>(i * high + j)]; }
    const MapCell& GetCell(int32_t i, int32_t j) const {
        return m_cells[static_cast<size_t>(i * high + j)];
    }
    static bool IsWindowCell(int32_t i, int32_t j) {
        return i >= 0 && i < wide && j >= 0 && j < high;
    }

    // ---- coordinates ----
    static CellPoint PixelToCell(const Position& pos) {
        return {pos.x / CellWidth, pos.y / CellHeight};
    }
    static Position CellCentre(CellPoint cell) {
        return Position(cell.x * CellWidth + 80, cell.y * CellHeight + 56, 0);
    }
    void WrapPosition(Position& pos) const {
        if (pos.x >= worldpixelx) pos.x -= worldpixelx;
        if (pos.x < 0) pos.x += worldpixelx;
        if (pos.y >= worldpixely) pos.y -= worldpixely;
        if (pos.y < 0) pos.y += worldpixely;
    }
    void WrapCell(CellPoint& cell) const;
    void WrapRect(CellRect& rect) const;
    // An offset brought into [-half, half) by one world step either way, so
    // that what lies across the world's seam is measured the short way.
    static int32_t WrapOffset(int32_t d, int32_t half, int32_t world) {
        if (d >= half) d -= world;
        if (d < -half) d += world;
        return d;
    }
    // Wrapped differences b - a, in [-half, half); also left in `delta`.
    CellPoint PixelDelta(const Position& a, const Position& b);
    CellPoint CellDelta(CellPoint a, CellPoint b);
    // (Kept here, with the spacing and the window cell below, so that the
    // walks over a cell's holders work them out without a call each.)
    CellPoint PixelDeltaOf(const Position& a, const Position& b) const {
        return {WrapOffset(b.x - a.x, halfpixelx, worldpixelx),
                WrapOffset(b.y - a.y, halfpixely, worldpixely)};
    }
    int64_t CellDistanceSq(const Position& a, const Position& b) const;
    // dx * dx + (dy * dy) / 2 of the wrapped difference: creature spacing.
    // Wide enough that half a large world's width squared does not overflow.
    int64_t PixelDistanceSq(const Position& a, const Position& b) const {
        const CellPoint d = PixelDeltaOf(a, b);
        const int64_t dx = d.x, dy = d.y;
        return dx * dx + (dy * dy) / 2;
    }
    bool IsDeltaInRect(const Position& a, const Position& b, const CellRect& rect) const;
    void WorldToScreen(const Position& pos, int32_t& sx, int32_t& sy) const;
    bool CellToWindow(CellPoint cell, CellPoint& out) const;
    // The window cell of a world pixel position into `windowcell`.
    bool LocateInWindow(const Position& pos);
    bool IsInWindowAlways(const Position& pos) {
        LocateInWindow(pos);
        return true;
    }
    // The window cell of a position without touching `windowcell`; false outside.
    bool WindowCellOf(const Position& pos, CellPoint& out) const {
        const CellPoint c = PixelToCell(pos);
        out = {c.x - origin.x, c.y - origin.y};
        if (out.x < 0) out.x += worldcellx;
        if (out.y < 0) out.y += worldcelly;
        // Positions must be wrapped into the world; anything else is not in
        // the window.
        if (pos.x < 0 || pos.y < 0 || pos.x >= worldpixelx || pos.y >= worldpixely) return false;
        return out.x >= 0 && out.x < wide && out.y >= 0 && out.y < high;
    }
    bool RectsOverlap(const CellRect& a, const CellRect& b) const;
    bool RectContains(const CellRect& outer, const CellRect& inner) const;

    // ---- placement ----
    // Places a holder at a world pixel position: 1 when placed, 0 when not.
    // The position may change in place (a wall snaps to its edge, a creature
    // is pushed east off an obstacle); on success the holder's position is it.
    int AddHolder(Position& pos, ObjectHolder* holder, ObjectIgnoreList* blockers = nullptr,
                  int keepcarrier = 1);
    // Takes a holder out of every cell it was entered in: 1 when it was listed.
    int RemoveHolder(const Position& pos, ObjectHolder* holder);
    // Moves a placed holder; 1 and pos = newpos on success. On refusal the
    // holder is put back where it stood and 0 is returned.
    int MoveHolder(Position& pos, const Position& newpos, ObjectHolder* holder,
                   ObjectIgnoreList* blockers = nullptr);
    // Enters a holder in the window cell of pos; pushes a creature east
    // (anchor only) until it fits. 1 when entered, else 0 with pos unchanged.
    int PlaceInCell(Position& pos, ObjectHolder* holder, ObjectIgnoreList* blockers,
                    int keepcarrier, bool anchor = true);
    // Whether a holder is listed in any window cell (for checks and tests).
    bool IsListedAnywhere(const ObjectHolder* holder) const;
    // Takes every holder off the map, deleting each, with its object, once.
    void DeleteAllHolders();

    // ---- movement and sight (MapMove.cpp) ----
    ObjectHolder* CheckMove(Object* mover, const Position& pos, const ObjectIgnoreList* ignore,
                            int keepcarrier, int platformsblock);
    ObjectHolder* CheckMoveInList(Object* mover, const Position& pos,
                                  const ObjectIgnoreList* ignore, int keepcarrier,
                                  const ObjectHolderList& list);
    int IsStepBlocked(CellPoint from, CellPoint to, int doorsopen) const;
    // What IsStepBlocked reads of one world cell, read once: whether it lies
    // in the window, whether nothing may step out of it, whether it is water
    // and which drawbridges carry a step out of it, and whether its own west
    // and north edge pieces block a step (doors opened when doorsopen).
    enum StepBit : uint8_t {
        kStepInWindow = 1,
        kStepSourceBlocked = 2,  // solid, or no step leaves it
        kStepWater = 4,
        kStepBridgeAcross = 8,  // a lowered drawbridge carries steps east and west
        kStepBridgeAlong = 16,  // one carries steps north and south
        kStepWestBlocks = 32,
        kStepNorthBlocks = 64,
    };
    uint8_t StepBits(CellPoint cell, int doorsopen) const;
    // The same for window cell (i, j), which must lie in the window.
    uint8_t StepBitsAt(int32_t i, int32_t j, int doorsopen) const;
    // IsStepBlocked from the bits of the two cells of a step between world
    // neighbours, `from` lying dx, dy (one of them +-1, the other 0) from
    // `to`. It holds only while the world is larger than the window on both
    // axes (StepBitsApply), where world neighbours are window neighbours.
    static bool IsStepBlockedByBits(uint8_t from, uint8_t to, int32_t dx, int32_t dy) {
        if (!(from & kStepInWindow) || !(to & kStepInWindow)) return true;
        if (from & kStepSourceBlocked) return true;
        if ((from & kStepWater) && !(from & (dx != 0 ? kStepBridgeAcross : kStepBridgeAlong)))
            return true;
        // The edge crossed: the west or north piece of the cell east of it or
        // south of it.
        if (dx > 0) return (from & kStepWestBlocks) != 0;
        if (dx < 0) return (to & kStepWestBlocks) != 0;
        if (dy > 0) return (from & kStepNorthBlocks) != 0;
        return (to & kStepNorthBlocks) != 0;
    }
    bool StepBitsApply() const { return worldcellx > wide && worldcelly > high; }
    int IsEdgeBlocked(int32_t x, int32_t y, int direction, int sight, int doorsopen) const;
    int IsLineClear(int32_t x, int32_t y, int32_t dx, int32_t dy) const;
    ObjectHolder* GetBlocker() const { return blocker; }

    // ---- light (MapLight.cpp) ----
    // Recomputes the light of the cells around the focus at pos (no drawing).
    void ComputeLight(const Position& pos, int32_t now);
    // Draws the lit floor pieces and decals of the last computed light.
    void DrawFloor(qv::Surface& surface, int32_t now);
    // Both, as every frame does.
    void UpdateLight(const Position& pos, int32_t now, qv::Surface* surface = nullptr);
    int GetLight(const ObjectHolder* holder) const;
    int GetLightAt(const Position& pos) const;
    int OnNewHour(int32_t now, int hour);
    static int DaylightForHour(int hour);
    void SetFullLight(bool on) { m_fullLight = on; }
    // A sample of window cell (i, j): piece (si, sj); for tests and drawing.
    int32_t GetSample(int32_t i, int32_t j, int32_t si, int32_t sj) const {
        return m_samples[SampleIndex(i, j, si, sj)];
    }
    bool IsLitCell(int32_t i, int32_t j) const;
    // Whether piece (i, j) of mixed-cell code c is drawn from the second picture.
    static bool IsMixedPiece(int32_t code, int32_t i, int32_t j);
    // The picture drawn for terrain/picture code (the floor's pictures, 45).
    void SetTerrainPictures(const std::array<CDDObject*, 45>& pictures) {
        m_terrainPictures = pictures;
    }

    // ---- exploring and the mini-map ----
    void ExploreAroundFocus();
    bool IsExplored(CellPoint cell) const;
    void SetExplored(CellPoint cell);
    void PlotMinimapCell(int32_t dx, int32_t dy, int32_t colour, int which);
    static int32_t MinimapColour(int32_t imagetype);
    // Palette index of mini-map pixel (x, y) counted from the top.
    uint8_t GetMinimapPixel(int32_t x, int32_t y) const;
    void FillMinimap(uint8_t colour);
    // The mini-map picture, 2 x 2 pixels per window cell; Load it again to
    // show what was plotted since.
    CDDObject& GetMinimap() { return *minimap; }
    int CheckFocusEdge(const Position& pos);

    // ---- lands and the map's record (Mapio.cpp) ----
    // The land tree and the explored bits; loading replaces the world only
    // once the whole record has been read and checked.
    void Serialize(qv::Archive& ar) override;
    // Drops every land, holder and object, and the land tree.
    void DeleteContents();
    // Empties the window, centres it on world cell (cx, cy) and streams the
    // lands around it. A land file that cannot be read raises its error.
    int ReloadWindowAt(int32_t cx, int32_t cy);
    void StreamLands(LandGraph* node, int overlaps);
    // Empties every window cell, giving its holders back to the lands.
    void ResetCells();
    // Scatters the scenery of a cell's terrain, always alike for one cell.
    virtual int PopulateRandomly(CellPoint worldcell, MapCell& cell);
    // The land that covers the whole world, when it is in memory.
    Land* GetRootLand() const;
    // Time spent reading and writing land files since the last reset (ns).
    int64_t landFileNanos = 0;
    // The land files near the window are read ahead, off the main thread,
    // after every reload (MapReadAhead.cpp). This waits until they are read
    // (the ticks between two moves of the window give it the time), and the
    // counts tell the land and picture files a reload found read and those it
    // had to read itself.
    void WaitForReadAhead();
    int64_t ReadAheadHits() const;
    int64_t ReadAheadMisses() const;

    // ---- the holder lists of the map ----
    const std::vector<qv::Handle<ObjectHolder>>& GetLightHolders() const { return lightholders; }
    // Counts the times the window was refilled or emptied: a walk over the
    // cells that may cause a reload compares it before going on.
    uint32_t ReloadCount() const { return m_reloads; }
    const std::vector<qv::Handle<ObjectHolder>>& GetFixtures() const { return fixtures; }

    // ---- fields ----
    CellPoint viewcentre{320, 240};
    CellPoint windowcell{0, 0};
    std::array<std::array<Object*, 5>, 5> prototypes{};
    CellPoint focuscell{0, 0};
    CellPoint focuswindowcell{0, 0};
    int32_t labelcells = 0;
    std::array<uint8_t, 8> bitmask{1, 2, 4, 8, 16, 32, 64, 128};
    uint32_t lastflicker = 0;
    uint32_t flickerinterval = 250;
    int32_t flickervalue = 1;
    CellRect windowrect{};
    int32_t worldpixelx = 0, worldpixely = 0;
    int32_t halfpixelx = 0, halfpixely = 0;
    int32_t worldcellx = 0, worldcelly = 0;
    int32_t halfcellx = 0, halfcelly = 0;
    CellPoint delta{0, 0};
    CellPoint origin{-10001, -10001};
    CellPoint oldorigin{-10001, -10001};
    int32_t lightmarginx = 3;
    int32_t lightmarginy = 3;
    std::vector<Land*> loadedlands;
    LandGraph* landgraph = nullptr;
    // Where the map's record, as it is written, puts the lands in memory
    // (empty: their own files in the working folder). A save writes them
    // beside its slot, so that the working folder changes only once it is
    // whole.
    std::string landwritefolder;
    int32_t sunlightmode = 0;
    int32_t daylight = 1;

    static constexpr int32_t MinimapWidth = 102;
    static constexpr int32_t MinimapHeight = 96;

private:
    static size_t SampleIndex(int32_t i, int32_t j, int32_t si, int32_t sj) {
        return static_cast<size_t>((i * high + j) * SamplesPerCell + sj * SamplesX + si);
    }
    void BuildLightGrid();
    void ForgetHolder(ObjectHolder* holder);
    // Takes a size FitsLargestWorld allows and explored bits made for it.
    void TakeWorldSize(int32_t w, int32_t h, std::vector<std::vector<uint8_t>> bits);
    // Lands (Mapio.cpp).
    void DeleteLands();
    // Reads the lands below `node` that meet `rect` and are not in memory.
    void PrefetchLands(LandGraph* node, const CellRect& rect);
    void FillCellsFrom(Land* land);
    void PlaceLandHolders(Land* land);
    // Enters a creature's holder in the cell of its position without the
    // collision test, so that it stays on the map.
    bool ForceIntoCell(ObjectHolder* holder);
    bool PlaceImageCorners(Position& pos, ObjectHolder* holder, ObjectIgnoreList& blockers,
                           int keepcarrier);
    bool EdgePieceBlocks(const ObjectHolder* piece, int sight, int doorsopen) const;
    struct LitLight {
        ObjectHolder* holder;
        MapLamp* light;
        CellPoint cell;  // window cell
        int reach;       // pixels
    };
    void ComputeCellLight(int32_t i, int32_t j, const std::vector<LitLight>& lights);
    int LineClearFrom(int32_t x, int32_t y, int32_t dx, int32_t dy) const;
    int DiagonalClearFrom(int32_t x, int32_t y, int32_t dx, int32_t dy) const;
    void CastShadows(int32_t i, int32_t j);

    Object* m_blockerObject = nullptr;
    ObjectHolder* blocker = nullptr;
    std::vector<MapCell> m_cells;
    std::vector<std::vector<uint8_t>> explored;
    std::unique_ptr<CDDObject> minimap;
    std::shared_ptr<CDIBitmap> m_minimapBits;  // the 8-bit picture behind it
    std::vector<qv::Handle<ObjectHolder>> fixtures;
    std::vector<qv::Handle<ObjectHolder>> lightholders;

    // Light: samples per window cell; lit rows and per row the lit columns.
    std::vector<int32_t> m_samples;
    int32_t m_firstLitRow = -1;
    int32_t m_lastLitRow = -2;
    std::array<int32_t, high> m_litFirstCol{};
    std::array<int32_t, high> m_litLastCol{};
    std::array<std::array<CellPoint, 7>, 7> m_gridPoints{};  // screen points per grid row
    std::vector<LitLight> m_frameLights;
    bool m_fullLight = false;
    std::array<CDDObject*, 45> m_terrainPictures{};
    uint32_t m_reloads = 0;  // bumped when the window is refilled or emptied
    // The answers of the diagonal sub-walks of the line being tested, by
    // window cell: the line's stamp shifted left once, and the answer.
    mutable std::array<uint32_t, wide * high> m_lineMemo{};
    mutable uint32_t m_lineStamp = 0;
    std::vector<std::unique_ptr<Land>> m_prefetched;  // lands read ahead of a reload
    // Reading ahead (MapReadAhead.cpp): a land's file, its bytes read ahead
    // when they were; the files of the lands near the window asked for; the
    // reader, made with the first wish; the pictures the lands read so far
    // named.
    std::unique_ptr<Land> ReadLandFile(const LandInfo& info);
    void ReadLandsAhead();
    std::unique_ptr<qv::ReadAhead> m_readAhead;
    std::unordered_map<const LandInfo*, std::string> m_landPictures;
};
