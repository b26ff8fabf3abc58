// Reading the land files near the window ahead of need: after every reload
// the files of the lands that the next move of the window may bring in, and
// the pictures they name, are read on a thread of their own, so that the move
// finds their bytes in memory rather than waiting on the disk. What the bytes
// hold is made on the main thread, when the land is brought in, as before.

#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/ReadAhead.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

// The window moves when the focus comes within a few cells of its edge, by
// less than half its size: the lands within this many cells of the window
// are the ones a move may bring in.
constexpr int32_t kReadAheadMargin = 20;

}  // namespace

std::unique_ptr<Land> MapMaster::ReadLandFile(const LandInfo& info) {
    std::unique_ptr<Land> land =
        m_readAhead
            ? Land::ReadFile(info.FilePath(),
                             [this](const std::string& name) { return m_readAhead->Read(name); })
            : Land::ReadFile(info.FilePath());
    if (land->hasbitmap)
        m_landPictures[&info] = land->BitmapPath();
    else
        m_landPictures.erase(&info);
    return land;
}

void MapMaster::ReadLandsAhead() {
    if (!landgraph || worldcellx <= 0 || worldcelly <= 0) return;
    // The window grown by the margin on every side, the whole width or
    // height of the world where it would wrap onto itself.
    CellRect near{0, 0, worldcellx, worldcelly};
    if (wide + 2 * kReadAheadMargin < worldcellx) {
        near.left = origin.x - kReadAheadMargin;
        if (near.left < 0) near.left += worldcellx;
        near.right = near.left + wide + 2 * kReadAheadMargin;
        if (near.right > worldcellx) near.right -= worldcellx;
    }
    if (high + 2 * kReadAheadMargin < worldcelly) {
        near.top = origin.y - kReadAheadMargin;
        if (near.top < 0) near.top += worldcelly;
        near.bottom = near.top + high + 2 * kReadAheadMargin;
        if (near.bottom > worldcelly) near.bottom -= worldcelly;
    }
    std::vector<std::string> wanted;
    std::vector<const LandGraph*> nodes{landgraph};
    while (!nodes.empty()) {
        const LandGraph* node = nodes.back();
        nodes.pop_back();
        for (const auto& child : node->children)
            if (child->info && RectsOverlap(child->info->bounds, near))
                nodes.push_back(child.get());
        const LandInfo* info = node->info.get();
        if (!info || info->land) continue;
        wanted.push_back(info->FilePath());
        if (auto it = m_landPictures.find(info); it != m_landPictures.end())
            wanted.push_back(it->second);
    }
    if (!m_readAhead) {
        if (wanted.empty()) return;
        m_readAhead = std::make_unique<qv::ReadAhead>();
    }
    m_readAhead->Want(wanted);
}

void MapMaster::WaitForReadAhead() {
    if (m_readAhead) m_readAhead->WaitIdle();
}

int64_t MapMaster::ReadAheadHits() const {
    return m_readAhead ? m_readAhead->Hits() : 0;
}

int64_t MapMaster::ReadAheadMisses() const {
    return m_readAhead ? m_readAhead->Misses() : 0;
}
