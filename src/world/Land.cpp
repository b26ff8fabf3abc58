// Lands, their files and the land tree.

#include "world/Land.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "media/DIBitmap.h"
#include "media/DSound.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/ObjectHolder.h"
#include "world/RandomEncounter.h"

QV_IMPLEMENT_SERIAL(Land, Object, 6, true)
QV_IMPLEMENT_SERIAL(LandInfo, qv::Persistent, 1, false)
QV_IMPLEMENT_SERIAL(LandGraph, qv::Persistent, 1, false)

int Land::s_useCount = 0;
std::unique_ptr<CDSound> Land::s_sounds[5];

// ---------------------------------------------------------------------------
// Land

Land::Land(const std::string& name) : Object(name) {
    if (s_useCount++ == 0)
        for (size_t i = 0; i < std::size(kSoundIds); ++i)
            s_sounds[i] = std::make_unique<CDSound>(kSoundIds[i]);
}

Land::~Land() {
    std::vector<ObjectHolder*> kept;
    kept.swap(holders);
    for (ObjectHolder* h : kept) DeleteHolderWithObject(h);
    bitmap.reset();
    encounters.clear();
    if (--s_useCount == 0)
        for (auto& s : s_sounds) s.reset();
}

bool Land::ReleaseHolder(ObjectHolder* holder) {
    auto it = std::find(holders.begin(), holders.end(), holder);
    if (it == holders.end()) return false;
    holders.erase(it);
    return true;
}

void Land::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Object::classInfo);
        Object::Serialize(ar);
        ar.WriteCount(holders.size());
        for (ObjectHolder* h : holders) ar.WriteObject(h);
        ar.WriteInt(terraincode);
        for (int32_t v : {bounds.left, bounds.top, bounds.right, bounds.bottom}) ar.WriteInt(v);
        ar.WriteInt(origin.x);
        ar.WriteInt(origin.y);
        ar.WriteInt(hasbitmap);
        ar.WriteString(bitmapname);
        ar.WriteCount(encounters.size());
        for (const auto& e : encounters) ar.WriteObject(e.get());
        ar.WriteInt(combattune);
        ar.WriteInt(tune);
        ar.WriteInt(sunlight);
        ar.WriteInt(lightlevel);
        ar.WriteInt(ambient);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema < kOldestSchema || schema > classInfo.schema)
        ar.Fail(qv::ArchiveError::BadSchema, "land schema " + std::to_string(schema));
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    // Each holder is the land's as soon as it is read, so that a fault further
    // on deletes it with the land.
    const size_t count = ar.ReadCount();
    for (size_t i = 0; i < count; ++i) {
        auto* h = static_cast<ObjectHolder*>(ar.ReadObject(&ObjectHolder::classInfo));
        if (h) holders.push_back(h);
    }
    terraincode = ar.ReadInt();
    bounds.left = ar.ReadInt();
    bounds.top = ar.ReadInt();
    bounds.right = ar.ReadInt();
    bounds.bottom = ar.ReadInt();
    {
        // A land file belongs to the running world: its rectangle lies in it.
        const MapMaster* map = GetMapMaster();
        const bool sized = map && map->worldcellx > 0 && map->worldcelly > 0;
        CheckBounds(ar, bounds, sized ? map->worldcellx : kMaxWorldCellsX,
                    sized ? map->worldcelly : kMaxWorldCellsY, "the land's");
    }
    origin.x = ar.ReadInt();
    origin.y = ar.ReadInt();
    hasbitmap = ar.ReadInt();
    bitmapname = ar.ReadString();
    if (!IsPictureName(bitmapname))
        ar.Fail(qv::ArchiveError::BadString, "picture name '" + bitmapname + "'");
    const size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<RandomEncounter> e(ar.ReadObjectOf<RandomEncounter>());
        if (e) encounters.push_back(std::move(e));
    }
    combattune = ar.ReadInt();
    tune = ar.ReadInt();
    if (schema >= kLightSchema) {
        sunlight = ar.ReadInt();
        lightlevel = ar.ReadInt();
    }
    if (schema >= kAmbientSchema) ambient = ar.ReadInt();
}

bool Land::InsideWorld(const CellRect& rect, int32_t w, int32_t h) {
    auto within = [](int32_t v, int32_t size) { return v >= 0 && v <= size; };
    return within(rect.left, w) && within(rect.right, w) && within(rect.top, h) &&
           within(rect.bottom, h);
}

void Land::CheckBounds(qv::Archive& ar, const CellRect& rect, int32_t w, int32_t h,
                       const std::string& what) {
    if (InsideWorld(rect, w, h)) return;
    ar.Fail(qv::ArchiveError::BadIndex,
            what + " rectangle (" + std::to_string(rect.left) + ", " + std::to_string(rect.top) +
                ") - (" + std::to_string(rect.right) + ", " + std::to_string(rect.bottom) +
                ") lies outside a world of " + std::to_string(w) + " x " + std::to_string(h) +
                " cells");
}

int Land::CellCodeOfPixel(int p) {
    if (p < 8) return -1;
    const int g = p / 8 - 1;
    const int s = p % 8;
    switch (g) {
        case 0:
            return s == 0 ? 0 : s == 1 ? 5 : s == 2 ? 6 : 12;
        case 1:
        case 4:
            return s == 0 ? 1 : 4;
        case 2:
            return 2;
        case 3:
            return 3;
        case 5:
            return 8;
        case 6:
            return 10;
        case 7:
            return 11;
        case 8:
            return 15 + s;
        case 9:
            return s == 7 ? -1 : 23 + s;
        case 10:
            return 30 + s;
        case 11:
            return s == 7 ? -1 : 38 + s;
        case 13:
            return s == 0 ? 13 : s == 1 ? 14 : -1;
        default:
            return -1;
    }
}

int Land::GetCellCode(int32_t wx, int32_t wy, MapMaster* map) {
    if (!bitmap || bitmap->IsEmpty()) {
        if (terraincode == 11 && map) {
            CellPoint wc;
            if (map->CellToWindow({wx, wy}, wc)) map->PlotMinimapCell(wc.x, wc.y, 0, 4);
        }
        return terraincode;
    }
    // Wide enough for any origin a land file holds.
    int64_t dx = int64_t{wx} - origin.x;
    int64_t dy = int64_t{wy} - origin.y;
    if (map) {
        if (dx < 0) dx += map->worldcellx;
        if (dx >= map->worldcellx) dx -= map->worldcellx;
        if (dy < 0) dy += map->worldcelly;
        if (dy >= map->worldcelly) dy -= map->worldcelly;
    }
    if (dx < 0 || dy < 0 || dx > bitmap->Width() - 1 || dy > bitmap->Height() - 1) return -1;
    return CellCodeOfPixel(bitmap->GetPixel(static_cast<int>(dx), static_cast<int>(dy)));
}

void Land::ComputeBounds(int /*wrapped*/) {
    if (!bitmap || bitmap->IsEmpty()) return;
    bounds = {origin.x, origin.y, origin.x + bitmap->Width(), origin.y + bitmap->Height()};
    if (MapMaster* map = GetMapMaster()) map->WrapRect(bounds);
}

int Land::Update(int32_t now) {
    if (ambient == 1) {
        if (CDSound* loop = s_sounds[0].get()) loop->Play(0, kAmbientVolume, 1);
        for (auto& s : s_sounds) {
            if (qv::Rand() % kAmbientChance != 0) continue;
            const int pan = qv::Rand() % 20000 - 10000;
            const int volume = qv::Rand() % 5000 - 6000;
            if (s) s->Play(pan, volume, 0);
        }
    }
    return UpdateEncounters(now);
}

int Land::StopAmbientSound() {
    if (ambient == 1 && s_sounds[0]) s_sounds[0]->Stop();
    return 1;
}

std::string Land::PictureFolder() {
    return GetBaseDirectory() + "Images\\";
}

std::string Land::BitmapPath() const {
    return PictureFolder() + bitmapname;
}

bool Land::IsPictureName(const std::string& name) {
    return name.empty() || qv::IsPlainFileName(name);
}

int Land::ChooseBitmap(const std::string& name, std::string* why) {
    if (!qv::IsPlainFileName(name)) {  // none, or a name that leads out
        if (why) *why = "\"" + name + "\" is no plain file name of the Images folder.";
        return 0;
    }
    const std::string old = bitmapname;
    bitmapname = name;
    if (LoadBitmap(BitmapPath(), why)) return 1;
    bitmapname = old;
    return 0;
}

namespace {

// A bitmap file's name: it ends in ".bmp", in any case.
bool IsBitmapFileName(const std::string& name) {
    constexpr std::string_view kSuffix = ".bmp";
    if (name.size() <= kSuffix.size()) return false;
    return std::equal(
        kSuffix.begin(), kSuffix.end(), name.end() - kSuffix.size(),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::vector<std::string> Land::PictureChoices() {
    std::vector<std::string> names;
    try {
        for (const std::string& name : qv::ListFiles(qv::ResolvePath(PictureFolder())))
            if (IsPictureName(name) && IsBitmapFileName(name)) names.push_back(name);
    } catch (const qv::FileError&) {
        // A folder that cannot be read offers nothing.
    }
    return names;
}

namespace {

static_assert(MapMaster::kMaxWorldCells <= CDIBitmap::kMaxPixels,
              "the picture of a land that spans the largest world can be read");

// A land's picture gives each cell a pixel: it has no more pixels than the
// running world has cells, or the largest world where none runs.
int64_t LandPicturePixels() {
    const MapMaster* map = GetMapMaster();
    if (map && map->worldcellx > 0 && map->worldcelly > 0)
        return int64_t{map->worldcellx} * map->worldcelly;
    return MapMaster::kMaxWorldCells;
}

}  // namespace

namespace {

// Reads a land's picture; the reason, naming the file, when it cannot.
std::unique_ptr<CDIBitmap> ReadPicture(const std::string& path, std::string* why) {
    auto picture = std::make_unique<CDIBitmap>();
    std::string error;
    if (picture->Load(qv::ResolvePath(path), &error, LandPicturePixels())) return picture;
    *why = "The land's picture cannot be read: " + error;
    return nullptr;
}

}  // namespace

std::string Land::PictureRefusal(const std::string& name) {
    std::string why;
    ReadPicture(PictureFolder() + name, &why);
    return why;
}

int Land::LoadBitmap(const std::string& path, std::string* why) {
    std::string refusal;
    std::unique_ptr<CDIBitmap> picture = ReadPicture(path, &refusal);
    if (!picture) {
        if (why)
            *why = refusal;
        else
            qv::ShowMessage(refusal, qv::MessageButtons::Ok);
        return 0;
    }
    bitmap = std::move(picture);
    hasbitmap = 1;
    return 1;
}

void Land::LoadNamedBitmap(const FileReader& read) {
    const std::string path = BitmapPath();
    auto picture = std::make_unique<CDIBitmap>();
    const std::vector<uint8_t> bytes = read(path);  // a missing picture is reported as such
    std::string why;
    if (!picture->LoadBytes(bytes, qv::ResolvePath(path), &why, LandPicturePixels()))
        throw qv::FileError(qv::FileError::Other, path, why);
    bitmap = std::move(picture);
}

std::vector<uint8_t> Land::StoreBytes() const {
    qv::Archive ar;
    ar.Reserve(storedsize + storedsize / 8);
    ar.WriteObject(this);
    std::vector<uint8_t> bytes = ar.TakeBytes();
    storedsize = bytes.size();
    return bytes;
}

void Land::WriteFile(const std::string& name) const {
    qv::WriteWholeFile(name, StoreBytes());
}

std::unique_ptr<Land> Land::FromBytes(const std::vector<uint8_t>& bytes, const std::string& name) {
    qv::Archive ar(bytes, name);
    std::unique_ptr<Land> land(ar.ReadObjectOf<Land>());
    if (!land) ar.Fail(qv::ArchiveError::BadClass, "no land in the file");
    if (ar.Remaining() != 0) ar.Fail(qv::ArchiveError::Generic, "bytes after the land");
    land->storedsize = bytes.size();
    return land;
}

std::unique_ptr<Land> Land::ReadFile(const std::string& name, const FileReader& read) {
    std::unique_ptr<Land> land = FromBytes(read(name), name);
    if (land->hasbitmap) land->LoadNamedBitmap(read);
    land->ComputeEncounterRate();
    return land;
}

// ---------------------------------------------------------------------------
// LandInfo

LandInfo::LandInfo(const std::string& name, Land* l) : land(l), filename(name) {
    SaveLand();
}

std::string LandInfo::FilePath() const {
    return GetBaseDirectory() + "tmp\\" + filename;
}

void LandInfo::CheckAgrees(const Land& l, const std::string& file) const {
    if (l.bounds == bounds) return;
    auto text = [](const CellRect& r) {
        return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" +
               std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
    };
    throw qv::ArchiveError(qv::ArchiveError::BadIndex, file,
                           "the land's rectangle " + text(l.bounds) +
                               " is not its entry's in the world's index, " + text(bounds));
}

int LandInfo::SaveLand(const std::string& folder) {
    if (!land) return 0;
    bounds = land->bounds;
    landname = land->GetDisplayName();
    land->WriteFile(folder.empty() ? FilePath() : folder + filename);
    return 1;
}

void LandInfo::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        // The land in memory goes to its own file first (or where the map
        // writes its lands).
        const MapMaster* map = GetMapMaster();
        SaveLand(map ? map->landwritefolder : std::string());
        for (int32_t v : {bounds.left, bounds.top, bounds.right, bounds.bottom}) ar.WriteInt(v);
        ar.WriteString(filename);
        ar.WriteString(landname);
        return;
    }
    ar.GetObjectSchema();
    bounds.left = ar.ReadInt();
    bounds.top = ar.ReadInt();
    bounds.right = ar.ReadInt();
    bounds.bottom = ar.ReadInt();
    // The world's size is known only once the whole index is read (the
    // map checks each entry against it then).
    Land::CheckBounds(ar, bounds, Land::kMaxWorldCellsX, Land::kMaxWorldCellsY,
                      "the index entry's");
    filename = ar.ReadString();
    if (!qv::IsPlainFileName(filename))
        ar.Fail(qv::ArchiveError::BadString, "land file name '" + filename + "'");
    landname = ar.ReadString();
}

// ---------------------------------------------------------------------------
// LandGraph

void LandGraph::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(children.size());
        for (const auto& c : children) ar.WriteObject(c.get());
        ar.WriteObject(info.get());
        return;
    }
    ar.GetObjectSchema();
    const size_t count = ar.ReadCount();
    for (size_t i = 0; i < count; ++i) {
        std::unique_ptr<LandGraph> child(ar.ReadObjectOf<LandGraph>());
        if (child) children.push_back(std::move(child));
    }
    info.reset(ar.ReadObjectOf<LandInfo>());
}

namespace {

// The start and length of a bound pair on a ring of `size`: right is
// exclusive, and left > right straddles the seam.
struct Span {
    int64_t start;
    int64_t length;
};

Span SpanOf(int32_t left, int32_t right, int32_t size) {
    int64_t length = int64_t{right} - left;
    if (length < 0) length += size;
    int64_t start = left;
    if (size > 0) start = ((start % size) + size) % size;
    return {start, length};
}

bool SpanContains(Span outer, Span inner, int32_t size) {
    if (size <= 0)
        return inner.start >= outer.start &&
               inner.start + inner.length <= outer.start + outer.length;
    if (outer.length >= size) return true;
    if (inner.length > outer.length) return false;
    const int64_t offset = ((inner.start - outer.start) % size + size) % size;
    return offset + inner.length <= outer.length;
}

}  // namespace

bool LandGraph::Contains(const CellRect& outer, const CellRect& inner, int32_t worldw,
                         int32_t worldh) {
    return SpanContains(SpanOf(outer.left, outer.right, worldw),
                        SpanOf(inner.left, inner.right, worldw), worldw) &&
           SpanContains(SpanOf(outer.top, outer.bottom, worldh),
                        SpanOf(inner.top, inner.bottom, worldh), worldh);
}

void LandGraph::Insert(std::unique_ptr<LandInfo> landInfo, MapMaster* map, int adopt) {
    if (!landInfo) return;
    Insert(std::make_unique<LandGraph>(std::move(landInfo)), map, adopt);
}

void LandGraph::Insert(std::unique_ptr<LandGraph> node, MapMaster* map, int adopt) {
    if (!node || !node->info) return;
    if (!info && adopt) {
        // An empty root takes the land itself.
        info = std::move(node->info);
        for (auto& c : node->children) children.push_back(std::move(c));
        return;
    }
    const int32_t w = map ? map->worldcellx : 0;
    const int32_t h = map ? map->worldcelly : 0;
    const CellRect& rect = node->info->bounds;
    LandGraph* current = this;
    for (bool descended = true; descended;) {
        descended = false;
        for (auto& c : current->children)
            if (c->info && Contains(c->info->bounds, rect, w, h)) {
                current = c.get();
                descended = true;
                break;
            }
    }
    LandGraph* added = node.get();
    if (!adopt) {
        current->children.push_back(std::move(node));
        return;
    }
    // The former children are inserted again below the node they were under,
    // so that those the new land contains move under it with their subtrees.
    std::vector<std::unique_ptr<LandGraph>> former;
    former.swap(current->children);
    current->children.push_back(std::move(node));
    for (auto& f : former) {
        if (f->info && Contains(rect, f->info->bounds, w, h)) {
            added->Insert(std::move(f), map, 0);
        } else {
            current->children.push_back(std::move(f));
        }
    }
}

LandGraph* LandGraph::Find(const LandInfo* landInfo, LandGraph** parent) {
    for (auto& c : children) {
        if (c->info.get() == landInfo) {
            if (parent) *parent = this;
            return c.get();
        }
        if (LandGraph* found = c->Find(landInfo, parent)) return found;
    }
    return nullptr;
}

std::unique_ptr<LandGraph> LandGraph::Detach(const LandInfo* landInfo, MapMaster* map) {
    LandGraph* parent = nullptr;
    // Searched through the whole tree, so that trees stored under any rule of
    // containment are served.
    LandGraph* node = Find(landInfo, &parent);
    if (!node || !parent) return nullptr;
    std::unique_ptr<LandGraph> owned;
    for (auto it = parent->children.begin(); it != parent->children.end(); ++it)
        if (it->get() == node) {
            owned = std::move(*it);
            parent->children.erase(it);
            break;
        }
    std::vector<std::unique_ptr<LandGraph>> lifted;
    lifted.swap(owned->children);
    for (auto& c : lifted) parent->Insert(std::move(c), map, 1);
    return owned;
}

void LandGraph::Reinsert(const LandInfo* landInfo, MapMaster* map) {
    if (std::unique_ptr<LandGraph> owned = Detach(landInfo, map)) Insert(std::move(owned), map, 1);
}

void LandGraph::Remove(LandInfo* landInfo, MapMaster* map) {
    std::unique_ptr<LandGraph> owned = Detach(landInfo, map);
    if (!owned) return;
    if (Land* land = owned->info->land) {
        if (map) {
            std::erase(map->loadedlands, land);
            map->ResetCells();
        }
        land->landinfo = nullptr;
        owned->info->land = nullptr;
        delete land;
    }
}
