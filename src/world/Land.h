#pragma once
// Lands: a rectangle of world cells with content of its own (a picture whose
// pixels give each cell's code, the objects placed in it, the groups that may
// be met there, its light, music and ambient sounds), kept in a land file of
// its own. The world keeps only an index of its lands: a tree of LandGraph
// nodes whose LandInfo names each land's file and rectangle; a land's node
// lies under the node of the smallest land that contains it. The map reads
// and writes lands as its window moves (Mapio.cpp).
//
// Ownership:
// - A LandGraph node owns its LandInfo and its child nodes; the map owns the
//   root.
// - While a land is in memory the map's `loadedlands` owns it; its LandInfo
//   only names it.
// - A land owns the holders in its `holders` list and their objects: those
//   are its objects that are not on the map. Placed on the map, a holder
//   leaves the list and the map's cells own it (with its object) until the
//   cells are written back into their land.
// - A land owns its random encounters, and each encounter its group.

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "world/Map.h"
#include "world/Object.h"

class CDIBitmap;
class CDSound;
class LandInfo;
class ObjectHolder;
class RandomEncounter;

class Land : public Object {
    QV_DECLARE_CLASS(Land)
public:
    // The schemas a land file may carry: older ones lack the light fields
    // (before 5) and the ambient switch (before 6).
    static constexpr uint32_t kOldestSchema = 4;
    // The largest world a position can address, in cells.
    static constexpr int32_t kMaxWorldCellsX = INT32_MAX / MapMaster::CellWidth;
    static constexpr int32_t kMaxWorldCellsY = INT32_MAX / MapMaster::CellHeight;
    // Refuses, with the archive's error naming the file, a rectangle read
    // from a file whose edges are not cells of a world of w x h cells: each
    // edge lies from 0 to the world's size (the right and bottom edges are
    // exclusive, and a left edge past the right one straddles the seam).
    static void CheckBounds(qv::Archive& ar, const CellRect& rect, int32_t w, int32_t h,
                            const std::string& what);
    // Whether every edge of the rectangle is a cell edge of a world of
    // w x h cells (the test CheckBounds makes).
    static bool InsideWorld(const CellRect& rect, int32_t w, int32_t h);
    static constexpr uint32_t kLightSchema = 5;
    static constexpr uint32_t kAmbientSchema = 6;

    // The class-wide sounds: the ambient loop first.
    static constexpr int kSoundIds[5] = {1036, 1043, 1044, 1045, 1057};
    static constexpr int kAmbientVolume = -2000;
    static constexpr int kAmbientChance = 300;  // one in this many ticks per sound

    explicit Land(const std::string& name = "Land");
    // Deletes the holders still in the list with their objects, the picture
    // and the encounters.
    ~Land() override;
    Land(const Land&) = delete;
    Land& operator=(const Land&) = delete;

    void Serialize(qv::Archive& ar) override;
    int Type() override { return LAND; }

    // ---- the operations a land adds, in their fixed order
    using Object::Update;
    virtual int GetLandReserved() { return 0; }
    // Every tick for the land under the focus: ambient sounds, then random
    // encounters. 1, or 0 when an encounter could not be placed.
    virtual int Update(int32_t now);
    // The code of world cell (wx, wy) for this land, or -1 where the land
    // leaves the cell to another.
    virtual int GetCellCode(int32_t wx, int32_t wy, MapMaster* map);
    // With a picture: the bounds become the picture's rectangle at `origin`,
    // brought into the world.
    virtual void ComputeBounds(int wrapped);

    // The code of a picture pixel: -1 for pixels that leave the cell to an
    // enclosing land.
    static int CellCodeOfPixel(int pixel);

    int StopAmbientSound();
    // Loads the picture from `path`; 0 on failure, when *why (if given) has
    // the reader's reason, else a message shows it.
    int LoadBitmap(const std::string& path, std::string* why = nullptr);
    // A name a land may give its picture: none (empty), or a plain file name
    // of the "Images\" folder; a name that leads out of it is refused.
    static bool IsPictureName(const std::string& name);
    // The pictures a land may take: the bitmap files of the game folder's
    // "Images\" folder whose names IsPictureName allows, sorted; none when
    // the folder cannot be read.
    static std::vector<std::string> PictureChoices();
    // Why the picture of that name in the "Images\" folder would not load
    // (the reader's reason, naming the file); empty when it loads.
    static std::string PictureRefusal(const std::string& name);
    // Takes the picture of that name (IsPictureName) from the "Images\"
    // folder; 0 when the name is refused or the picture cannot be loaded
    // (*why, if given, says why), and then the land keeps the picture it had.
    int ChooseBitmap(const std::string& name, std::string* why = nullptr);
    // The picture's path: the game folder's "Images\" and `bitmapname`.
    std::string BitmapPath() const;
    // The game folder's "Images\" folder, where a land's picture lies.
    static std::string PictureFolder();
    // Loads the picture a land read from a file names, its bytes given by
    // `read` (a whole file by its name); qv::FileError naming the picture
    // when it cannot be read.
    using FileReader = std::function<std::vector<uint8_t>(const std::string&)>;
    void LoadNamedBitmap(const FileReader& read = qv::ReadWholeFile);

    // ---- random encounters (RandomEncounter.cpp)
    void ComputeEncounterRate();
    int UpdateEncounters(int32_t now);

    // ---- land files
    // The land a .lnd file holds, its picture loaded and its encounter rate
    // computed. Any fault raises qv::FileError or qv::ArchiveError naming the
    // file, and nothing is kept.
    static std::unique_ptr<Land> ReadFile(const std::string& name,
                                          const FileReader& read = qv::ReadWholeFile);
    // The land that a land file's bytes hold, without its picture; `name`
    // names the file in errors. The bytes must hold one land and nothing else.
    static std::unique_ptr<Land> FromBytes(const std::vector<uint8_t>& bytes,
                                           const std::string& name);
    // Writes the land to the file, replacing it only once the whole file is
    // written; qv::FileError when it cannot be written (the old file stays).
    void WriteFile(const std::string& name) const;
    // The land file's bytes.
    std::vector<uint8_t> StoreBytes() const;

    // Gives the land a holder (with its object) to keep off the map.
    void KeepHolder(ObjectHolder* holder) { holders.push_back(holder); }
    // Takes a holder out of the list; true when it was there.
    bool ReleaseHolder(ObjectHolder* holder);

    std::vector<std::unique_ptr<RandomEncounter>> encounters;
    double encounterinterval = 0;
    int64_t encountertotal = 0;  // sum of 2000 x time over the usable encounters
    int32_t nextencounter = 0;
    int32_t terraincode = 0;
    std::vector<ObjectHolder*> holders;  // owned, with their objects
    CellPoint origin{0, 0};
    CellRect bounds{0, 0, 0, 0};
    LandInfo* landinfo = nullptr;
    std::unique_ptr<CDIBitmap> bitmap;
    std::string bitmapname;
    int32_t hasbitmap = 0;
    int32_t ambient = 0;
    int32_t tune = 1;
    int32_t combattune = 1;
    int32_t sunlight = 0;
    int32_t lightlevel = 0;
    // The size of the land's file as read or written last: the next writing
    // makes its room at once (a land of many creatures takes megabytes).
    mutable size_t storedsize = 0;

private:
    static int s_useCount;
    static std::unique_ptr<CDSound> s_sounds[5];
};

// A land's entry in the world's index.
class LandInfo : public qv::Persistent {
    QV_DECLARE_CLASS(LandInfo)
public:
    LandInfo() = default;
    // Names the land's file and writes the land to it.
    LandInfo(const std::string& filename, Land* land);
    void Serialize(qv::Archive& ar) override;

    // Copies the land's bounds and name and writes the land to its file (of
    // that name in `folder` when one is given); 0 without a land.
    // qv::FileError when the file cannot be written.
    int SaveLand(const std::string& folder = {});
    // Where the land file lies: the working folder "tmp\" of the game folder.
    // A name read from a world file is a plain file name.
    std::string FilePath() const;
    // Refuses, with the archive's error naming `file`, a land read from this
    // entry's file whose rectangle is not the entry's: the game keeps the two
    // alike, and the world's size (the root's rectangle) is written from the
    // land when the world is saved, with the explored cells of the size read.
    void CheckAgrees(const Land& land, const std::string& file) const;

    Land* land = nullptr;  // the land while in memory; not owned
    CellRect bounds{0, 0, 0, 0};
    std::string filename;
    std::string landname;
};

// A node of the land tree: the node owns its LandInfo and its children.
class LandGraph : public qv::Persistent {
    QV_DECLARE_CLASS(LandGraph)
public:
    LandGraph() = default;
    explicit LandGraph(std::unique_ptr<LandInfo> landInfo) : info(std::move(landInfo)) {}
    void Serialize(qv::Archive& ar) override;

    // Whether land bounds `outer` hold `inner` whole (right and bottom are
    // exclusive; either may straddle the world's seam).
    static bool Contains(const CellRect& outer, const CellRect& inner, int32_t worldw,
                         int32_t worldh);

    // Inserts a land under the smallest node that contains it, starting here.
    // With adopt, the former children of that node that the new land contains
    // move, with their subtrees, under the new node; an empty node with adopt
    // takes the land itself.
    void Insert(std::unique_ptr<LandInfo> landInfo, MapMaster* map, int adopt);
    void Insert(std::unique_ptr<LandGraph> node, MapMaster* map, int adopt);
    // Takes the land out of the tree (its children go to its parent), out of
    // the map, and deletes the land, its LandInfo and its node.
    void Remove(LandInfo* landInfo, MapMaster* map);
    // Takes a land's node out of the tree below this one, its children going
    // to its parent, and hands it over childless; null when the land has no
    // node below this one.
    std::unique_ptr<LandGraph> Detach(const LandInfo* landInfo, MapMaster* map);
    // Puts a land whose bounds changed where they now belong: its node taken
    // out as Detach does, then inserted again from this node.
    void Reinsert(const LandInfo* landInfo, MapMaster* map);
    // Deletes every node below this one.
    void DeleteTree() { children.clear(); }

    // The node of a LandInfo below (or at) this one, and its parent.
    LandGraph* Find(const LandInfo* landInfo, LandGraph** parent = nullptr);

    std::unique_ptr<LandInfo> info;
    std::vector<std::unique_ptr<LandGraph>> children;
};
