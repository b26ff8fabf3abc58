// Creature looks: reading a section of "PlayerImages.dat" into a set of
// thirteen action images, choosing the frame to draw, and starting actions.
// The drawing forms are in PlayerImagesDraw.cpp.

#include "creatures/PlayerImages.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <string_view>

#include "creatures/Player.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/GameTime.h"
#include "platform/Message.h"
#include "world/Global.h"
#include "world/World.h"

std::string CreatureImageSet::s_strImageFile = kCreatureImageFile;

namespace {

constexpr const char* kActionNames[ImageAction::Count] = {
    "MOVE",    "MOVEBOW", "RUN",     "STOP",    "FIGIT", "ATTACK1", "ATTACK2",
    "ATTACK3", "ATTACK4", "ATTACK5", "WOUNDED", "CAST",  "DEAD"};

constexpr const char* kNoX = "Could not find HotPoint(x) for Image File";
constexpr const char* kNoY = "Could not find HotPoint(y) for Image File";
constexpr const char* kNoValue = "Could not find Number of Actions for Image File";
constexpr const char* kBadAction = "Unrecognized image action";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Reads a section's tokens one by one and reports what is wrong with them,
// naming the file and the section.
class SectionReader {
public:
    SectionReader(std::string_view text, const std::string& section)
        : m_Rest(text), m_Section(section) {}

    bool Empty() const { return Trim(m_Rest).empty(); }

    // The next token; false (after the message) when nothing is left.
    bool Token(std::string& out, const char* missing) {
        std::string_view rest = m_Rest;
        while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
        if (rest.empty()) return Fail(missing);
        size_t end = 0;
        while (end < rest.size() && !IsSpace(rest[end])) ++end;
        out.assign(rest.substr(0, end));
        m_Rest = rest.substr(end);
        return true;
    }

    // The next token as the name of a picture in the creature's folder.
    bool PictureName(std::string& out, const char* missing) {
        if (!Token(out, missing)) return false;
        if (qv::IsNameWithinFolder(out)) return true;
        return Fail(qv::Format("the picture name \"%s\" leads out of the folder", out.c_str()));
    }

    bool Int(int32_t& out, const char* missing, const char* what, int32_t lo, int32_t hi) {
        std::string t;
        if (!Token(t, missing)) return false;
        errno = 0;
        char* end = nullptr;
        const long v = std::strtol(t.c_str(), &end, 10);
        if (end == t.c_str() || *end != '\0' || errno == ERANGE)
            return Fail(qv::Format("%s \"%s\" is not a whole number", what, t.c_str()));
        if (v < lo || v > hi)
            return Fail(qv::Format("%s %ld is outside %d to %d", what, v, lo, hi));
        out = static_cast<int32_t>(v);
        return true;
    }

    bool Double(double& out, const char* what) {
        std::string t;
        if (!Token(t, kNoValue)) return false;
        char* end = nullptr;
        const double v = std::strtod(t.c_str(), &end);
        if (end == t.c_str() || *end != '\0' || !(v > -1e9 && v < 1e9))
            return Fail(qv::Format("%s \"%s\" is not a number", what, t.c_str()));
        out = v;
        return true;
    }

    // A size pair or a hot-spot pair.
    bool Pair(int32_t& x, int32_t& y, const char* what, int32_t loX, int32_t hiX, int32_t loY,
              int32_t hiY) {
        return Int(x, kNoX, what, loX, hiX) && Int(y, kNoY, what, loY, hiY);
    }

    bool Fail(const std::string& why) {
        qv::ShowMessage(
            qv::Format("%s, section \"%s\": %s", CreatureImageSet::s_strImageFile.c_str(),
                       m_Section.c_str(), why.c_str()),
            qv::MessageButtons::Ok);
        return false;
    }

private:
    std::string_view m_Rest;
    std::string m_Section;
};

bool InRange(int32_t action) {
    return action >= 0 && action < ImageAction::Count;
}

// The column of a facing among an action's stored directions.
int32_t ColumnOf(int32_t facing, int32_t directions) {
    if (directions == 4) {
        if (facing <= 1) return 0;
        if (facing <= 3) return 1;
        if (facing <= 6) return 2;
        return 3;
    }
    if (directions == 1) return 0;
    return facing;
}

}  // namespace

const char* ImageAction::Name(int32_t action) {
    return InRange(action) ? kActionNames[action] : nullptr;
}

int32_t ImageAction::FromName(const std::string& keyword) {
    for (int32_t i = 0; i < Count; ++i)
        if (keyword == kActionNames[i]) return i;
    return -1;
}

std::string NumberedFrameName(const std::string& stem, int n) {
    return qv::Format("%s_%04d.bmp", stem.c_str(), n);
}

std::string CreatureImageFolder() {
    return GetBaseDirectory() + "Images\\";
}

CreatureImageSet::CreatureImageSet() = default;
CreatureImageSet::~CreatureImageSet() = default;

CDDObject* CreatureImageSet::Image(int32_t action) {
    return InRange(action) ? m_Actions[action].image.get() : nullptr;
}
int32_t CreatureImageSet::FrameCount(int32_t action) const {
    return InRange(action) ? m_Actions[action].frames : 0;
}
int32_t CreatureImageSet::Directions(int32_t action) const {
    return InRange(action) ? m_Actions[action].directions : 0;
}
int32_t CreatureImageSet::Length(int32_t action) const {
    return InRange(action) ? m_Actions[action].length : 0;
}
int32_t CreatureImageSet::Borrowed(int32_t action) const {
    return InRange(action) ? m_Actions[action].borrowed : -1;
}

void CreatureImageSet::Swap(CreatureImageSet& o) {
    std::swap(m_Actions, o.m_Actions);
    std::swap(m_iStopPause, o.m_iStopPause);
    std::swap(m_iSpeed, o.m_iSpeed);
    std::swap(m_dHasteFactor, o.m_dHasteFactor);
    std::swap(m_strName, o.m_strName);
    std::swap(m_bRecoloured, o.m_bRecoloured);
    std::swap(m_iWidth, o.m_iWidth);
    std::swap(m_iHeight, o.m_iHeight);
    std::swap(m_iHotX, o.m_iHotX);
    std::swap(m_iHotY, o.m_iHotY);
}

int CreatureImageSet::Parse(const std::string& name, const std::string& text) {
    return ParseIn(name, text, CreatureImageFolder());
}

namespace {

// Where the cells of one picture file go: cell k of the file (cells of the
// image's size, left to right, then top to bottom) becomes frame first +
// k x stride, for `count` cells.
struct Placement {
    std::string file;
    int32_t first = 0;
    int32_t stride = 1;
    int32_t count = 1;
};

// The pictures a section has read, by file: a picture named again is the
// one read before, and the pixels of them all together are bounded.
struct SectionPictures {
    std::map<std::string, std::shared_ptr<const CDIBitmap>> read;
    int64_t pixels = 0;
};

// The picture of a file, read the first time it is named; null after a message.
std::shared_ptr<const CDIBitmap> ReadPicture(const std::string& file, int64_t most,
                                             SectionPictures& pictures, SectionReader& reader) {
    const std::string path = qv::ResolvePath(file);
    std::string error;
    std::shared_ptr<const CDIBitmap>& known = pictures.read[path];
    if (known) {
        error = CDIBitmap::Oversized(known->Width(), known->Height(), most);
        if (error.empty()) return known;
        reader.Fail(path + ": " + error);
        return nullptr;
    }
    auto bitmap = std::make_shared<CDIBitmap>();
    if (!bitmap->Load(path, &error, most)) {
        reader.Fail(error);
        return nullptr;
    }
    pictures.pixels += int64_t{bitmap->Width()} * bitmap->Height();
    if (pictures.pixels > CreatureImageSet::kMaxSetPicturePixels) {
        reader.Fail(qv::Format("the pictures of the look reach %lld pixels with %s, more than %lld",
                               static_cast<long long>(pictures.pixels), file.c_str(),
                               static_cast<long long>(CreatureImageSet::kMaxSetPicturePixels)));
        return nullptr;
    }
    known = bitmap;
    return bitmap;
}

// Gives the image its frames from the files; false after a message.
bool FillImage(CDDObject& image, int32_t width, int32_t height, int32_t hotX, int32_t hotY,
               int32_t frames, const std::vector<Placement>& files, SectionPictures& pictures,
               SectionReader& reader) {
    image.m_iWidth = width;
    image.m_iHeight = height;
    image.m_iHotX = hotX;
    image.m_iHotY = hotY;
    image.m_iNumLevels = 1;
    int across = 1, down = 1;
    image.SetCellGrid(across, down);
    image.SetFrameCount(frames);
    for (const Placement& p : files) {
        // A sheet holds the cells asked of it, each at most the largest frame.
        const int64_t most = int64_t{std::max(p.count, 1)} * CreatureImageSet::kMaxWidth *
                             CreatureImageSet::kMaxHeight;
        const std::shared_ptr<const CDIBitmap> bitmap = ReadPicture(p.file, most, pictures, reader);
        if (!bitmap) return false;
        const int perRow = std::max(1, bitmap->Width() / width);
        // Every cell asked for lies within the picture: cells left to right,
        // then top to bottom.
        const int64_t rows = p.count > 0 ? (p.count - 1) / perRow + 1 : 0;
        if (p.count > 0 && (bitmap->Width() < width || rows * height > bitmap->Height()))
            return reader.Fail(qv::Format(
                "%s: a picture of %d x %d pixels holds fewer cells of "
                "%d x %d than the %d asked of it",
                p.file.c_str(), bitmap->Width(), bitmap->Height(), width, height, p.count));
        image.SetTransparentColour(bitmap->GetTransparentColour());
        for (int32_t k = 0; k < p.count; ++k)
            image.SetFrameBitmap(p.first + k * p.stride, bitmap, (k % perRow) * width,
                                 (k / perRow) * height);
    }
    if (frames > 0 && !image.Load()) return reader.Fail("the frames could not be made");
    return true;
}

}  // namespace

int CreatureImageSet::ParseIn(const std::string& name, const std::string& text,
                              const std::string& folder) {
    SectionReader in(text, name);
    SectionPictures pictures;
    CreatureImageSet set;
    set.m_strName = name;
    if (!in.Int(set.m_bRecoloured, kNoValue, "the recoloured flag", INT32_MIN, INT32_MAX) ||
        !in.Int(set.m_iSpeed, kNoValue, "the speed", INT32_MIN, INT32_MAX) ||
        !in.Double(set.m_dHasteFactor, "the haste factor") ||
        !in.Pair(set.m_iWidth, set.m_iHeight, "the image size", 1, kMaxWidth, 1, kMaxHeight) ||
        !in.Pair(set.m_iHotX, set.m_iHotY, "the hot spot", -kMaxHotSpot, kMaxHotSpot, -kMaxHotSpot,
                 kMaxHotSpot))
        return 0;

    while (!in.Empty()) {
        std::string keyword;
        in.Token(keyword, kNoValue);
        const int32_t a = ImageAction::FromName(keyword);
        if (a < 0) {
            in.Fail(qv::Format("%s \"%s\"", kBadAction, keyword.c_str()));
            return 0;
        }
        const std::string what = keyword;
        auto label = [&](const char* field) { return field + (" of " + what); };
        if (a == ImageAction::STOP || a == ImageAction::FIGIT) {
            if (!in.Int(set.m_iStopPause, kNoValue, label("the stop pause").c_str(), 0, kMaxLength))
                return 0;
        }
        Action& act = set.m_Actions[a];
        int32_t layout = 0;
        if (!in.Int(layout, kNoValue, label("the layout").c_str(), 0, 3) ||
            !in.Int(act.directions, kNoValue, label("the directions").c_str(), 1, kFacings) ||
            !in.Int(act.frames, kNoValue, label("the frame count").c_str(), 0, kMaxFrames) ||
            !in.Int(act.length, kNoValue, label("the length").c_str(), 0, kMaxLength))
            return 0;
        if (act.directions != 1 && act.directions != 4 && act.directions != 8) {
            in.Fail(qv::Format("%s %d must be 8, 4 or 1", label("the directions").c_str(),
                               act.directions));
            return 0;
        }
        act.borrowed = -1;
        std::vector<Placement> files;
        int32_t width = set.m_iWidth, height = set.m_iHeight;
        int32_t hotX = set.m_iHotX, hotY = set.m_iHotY;
        std::string file;
        if (a == ImageAction::WOUNDED) {
            // The flash shows the same strip whichever way the creature faces.
            act.directions = 1;
            if (!in.PictureName(file, kNoValue)) return 0;
            files.push_back({folder + file, 0, 1, act.frames});
        } else if (layout == 3) {
            std::string other;
            if (!in.Token(other, kNoValue)) return 0;
            act.borrowed = ImageAction::FromName(other);
            if (act.borrowed == a) act.borrowed = -1;
            continue;
        } else {
            if (layout == 1 || layout == 2) {
                if (!in.Pair(width, height, label("the image size").c_str(), 1, kMaxWidth, 1,
                             kMaxHeight) ||
                    !in.Pair(hotX, hotY, label("the hot spot").c_str(), -kMaxHotSpot, kMaxHotSpot,
                             -kMaxHotSpot, kMaxHotSpot))
                    return 0;
            }
            if (layout == 0) {
                for (int32_t f = 0; f < act.frames; ++f) {
                    if (!in.PictureName(file, kNoValue)) return 0;
                    files.push_back({folder + file, f * act.directions, 1, act.directions});
                }
            } else if (layout == 1) {
                for (int32_t d = 0; d < act.directions; ++d) {
                    if (!in.PictureName(file, kNoValue)) return 0;
                    files.push_back({folder + file, d, act.directions, act.frames});
                }
            } else {
                std::string stem;
                if (!in.PictureName(stem, kNoValue)) return 0;
                const std::string base = folder + stem + "\\";
                for (int32_t n = 1; n <= act.frames * act.directions; ++n)
                    files.push_back({base + NumberedFrameName(stem, n), n - 1, 1, 1});
            }
        }
        const int32_t count = act.frames * act.directions;
        // Each field is bounded, their product over the look as well.
        int64_t pixels = int64_t{count} * width * height;
        for (int32_t other = 0; other < ImageAction::Count; ++other)
            if (other != a)
                pixels += int64_t{set.m_Actions[other].image->m_iSurfaceCnt} *
                          set.m_Actions[other].image->m_iWidth *
                          set.m_Actions[other].image->m_iHeight;
        if (pixels > kMaxSetPixels) {
            in.Fail(qv::Format("the frames of the look reach %lld pixels with %s, more than %lld",
                               static_cast<long long>(pixels), what.c_str(),
                               static_cast<long long>(kMaxSetPixels)));
            return 0;
        }
        act.image = std::make_unique<CDDObject>();
        if (!FillImage(*act.image, width, height, hotX, hotY, count, files, pictures, in)) return 0;
        BuildPlanes(act);
    }
    Swap(set);
    return 1;
}

CDDObject* CreatureImageSet::GetFrame(const int32_t* action, const int32_t* facing, int32_t* step) {
    if (!action || !facing || !step || !InRange(*action)) return nullptr;
    if (*facing < 0 || *facing >= kFacings) return nullptr;
    const Action& own = m_Actions[*action];
    const Action& shown = own.borrowed >= 0 ? m_Actions[own.borrowed] : own;
    if (*step > own.frames - 1) *step = own.frames - 1;
    if (*step < 0) return nullptr;
    CDDObject* image = shown.image.get();
    const int32_t frame = ColumnOf(*facing, shown.directions) + shown.directions * *step;
    if (frame >= image->m_iSurfaceCnt) return nullptr;
    image->m_iWhichSurf = frame;
    return image;
}

int CreatureImageSet::StartAction(CreatureImageSet* set, Player* creature, int32_t action,
                                  const int32_t* start, const int32_t* duration) {
    if (!set || !creature || set->FrameCount(action) < 1) return 0;
    const int32_t frames = set->FrameCount(action);
    creature->m_iAction = action;
    const uint32_t total =
        duration ? static_cast<uint32_t>(*duration) : static_cast<uint32_t>(set->Length(action));
    creature->m_iFrameTime = static_cast<int32_t>(total / static_cast<uint32_t>(frames));
    creature->m_iFrame = 0;
    int32_t from = start ? *start : 0;
    if (from == 0) {
        World* world = GetWorld();
        from = world ? world->m_iGameTime : 0;
    }
    const int32_t delay = action == ImageAction::STOP ? set->m_iStopPause : creature->m_iFrameTime;
    creature->Events().Post(ObjectEventType::ANIMATE, qv::TimeAdd(from, delay));
    return 1;
}

// ---- The section file

int FindImageNodeIn(const std::string& path, const std::string& name, std::string& text) {
    std::vector<uint8_t> bytes;
    try {
        bytes = qv::ReadWholeFile(path);
    } catch (const qv::FileError&) {
        return 0;
    }
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string found;
    bool inside = false, matched = false;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, 4) == "NODE") {
            inside = Trim(line.size() > 5 ? line.substr(5) : std::string_view()) == name;
            matched = matched || inside;
            continue;
        }
        if (line.substr(0, 3) == "END") {
            if (inside) break;  // the first section of the name is the one
            continue;
        }
        if (inside) {
            found.append(line);
            found.push_back(' ');
        }
    }
    if (!matched) return 0;
    text = std::move(found);
    return 1;
}

int FindImageNode(const std::string& name, std::string& text) {
    return FindImageNodeIn(
        qv::ResolvePath(CreatureImageFolder() + CreatureImageSet::s_strImageFile), name, text);
}
