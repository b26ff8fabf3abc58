// A sheet of every creature look as the game draws it, read back from the
// written look file through the game's own reader and drawing forms: a row
// per look with its eight facings standing, its walk, its attack, its fall,
// casting, the changeling's change, and its hit flash. Humans are shown in three sets of colours.

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "creatures/PlayerImages.h"
#include "data/CreatureArt.h"
#include "media/DDString.h"
#include "media/DIBitmap.h"
#include "platform/Surface.h"

namespace art {
namespace {

struct Tile {
    int32_t action, step, facing;
};

// The columns of a row.
const std::vector<Tile>& Tiles() {
    static const std::vector<Tile> tiles = [] {
        std::vector<Tile> t;
        for (int32_t f = 0; f < 8; ++f) t.push_back({ImageAction::STOP, 0, f});
        for (int32_t s = 0; s < 4; ++s) t.push_back({ImageAction::MOVE, s, 1});
        for (int32_t s = 0; s < 3; ++s) t.push_back({ImageAction::ATTACK1, s, 0});
        for (int32_t s = 0; s < 4; ++s) t.push_back({ImageAction::DEAD, s, 2});
        t.push_back({ImageAction::CAST, 1, 2});
        t.push_back({ImageAction::ATTACK3, 1, 1});  // the changeling changing
        t.push_back({ImageAction::ATTACK4, 0, 1});  // and in its shell
        t.push_back({ImageAction::WOUNDED, 1, 1});
        return t;
    }();
    return tiles;
}

// Three sets of human colours: red shirt, blue shirt and dark hair, yellow shirt.
LookColours Sample(int i) {
    LookColours c;
    switch (i % 3) {
        case 0:
            c.shirt = {2, 0, 0};
            c.pants = {1, 0, -3};
            c.hair = {0, 0, 0};
            break;
        case 1:
            c.shirt = {0, 0, 1};
            c.pants = {-3, -3, -3};
            c.hair = {-16, -16, -16};
            break;
        default:
            c.shirt = {1, 1, 0};
            c.pants = {0, -3, -3};
            c.hair = {-9, -7, -9};
            break;
    }
    return c;
}

constexpr int kLabelHeight = 16;
constexpr int kGap = 4;

}  // namespace

bool SavePng(const qv::Surface& s, const std::string& path) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(s.Height()) * (s.Width() * 3 + 1));
    for (int y = 0; y < s.Height(); ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < s.Width(); ++x) {
            int r, g, b;
            SplitScreenPixel(s.GetPixel(x, y), r, g, b);
            raw.push_back(static_cast<uint8_t>(r << 3 | r >> 2));
            raw.push_back(static_cast<uint8_t>(g << 2 | g >> 4));
            raw.push_back(static_cast<uint8_t>(b << 3 | b >> 2));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        return false;
    packed.resize(size);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    auto be32 = [&](uint32_t v) {
        const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
        out.write(b, 4);
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        be32(static_cast<uint32_t>(data.size()));
        out.write(type, 4);
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
        // zlib answers 0 for a null buffer, whatever the sum so far: an empty
        // chunk (IEND) keeps the sum of its type alone.
        if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
        be32(static_cast<uint32_t>(crc));
    };
    out.write("\x89PNG\r\n\x1a\n", 8);
    std::vector<uint8_t> header(13, 0);
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<uint8_t>(s.Width() >> (24 - 8 * i));
        header[4 + i] = static_cast<uint8_t>(s.Height() >> (24 - 8 * i));
    }
    header[8] = 8;  // bits per part
    header[9] = 2;  // RGB
    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out.good();
}

bool WriteContactSheet(const std::string& gameFolder, const std::string& bmpPath,
                       std::string& error) {
    const std::string dat = gameFolder + "Images/" + CreatureImageSet::s_strImageFile;
    std::vector<std::unique_ptr<CreatureImageSet>> sets;
    int width = 0, height = 0;
    for (const CreatureKind& kind : CreatureKinds()) {
        std::string text;
        auto set = std::make_unique<CreatureImageSet>();
        if (!FindImageNodeIn(dat, kind.section, text) ||
            !set->ParseIn(kind.section, text, gameFolder + "Images/")) {
            error = dat + ": the look " + kind.section + " cannot be read back";
            return false;
        }
        width = std::max(width, static_cast<int>(Tiles().size()) * (set->m_iWidth + kGap));
        height += set->m_iHeight + kLabelHeight + kGap;
        sets.push_back(std::move(set));
    }
    qv::Surface sheet(width, height);
    sheet.Fill(MakeScreenPixel(9, 22, 7));
    int y = 0;
    for (size_t k = 0; k < sets.size(); ++k) {
        CreatureImageSet& set = *sets[k];
        const CreatureKind& kind = CreatureKinds()[k];
        CDDString::DrawText(&sheet, {2, y}, sheet.Bounds(),
                            kind.caption + "   (" + kind.section + ")", 255);
        const int top = y + kLabelHeight;
        for (size_t i = 0; i < Tiles().size(); ++i) {
            const Tile& t = Tiles()[i];
            const int left = static_cast<int>(i) * (set.m_iWidth + kGap);
            const qv::Rect cell{left, top, left + set.m_iWidth, top + set.m_iHeight};
            sheet.FillRect(cell, MakeScreenPixel(12, 28, 9));
            const qv::Point at{left + set.m_iHotX, top + set.m_iHotY};
            if (t.action == ImageAction::WOUNDED) {
                CDDObject* flash = set.Image(ImageAction::WOUNDED);
                if (!flash || flash->m_iSurfaceCnt <= t.step) continue;
                flash->m_iWhichSurf = t.step;
                int column = 0, row = 0;
                flash->DrawFrame(&sheet, at, cell, column, row);
                continue;
            }
            int32_t step = t.step;
            CDDObject* image = set.GetFrame(&t.action, &t.facing, &step);
            if (!image) continue;
            if (set.m_bRecoloured)
                set.DrawRecoloured(image, 128, Sample(static_cast<int>(i) / 4));
            else
                set.DrawShaded(image, 128);
            set.DrawWorkImage(&sheet, at, cell, image, 0);
        }
        y = top + set.m_iHeight + kGap;
    }
    const bool png = bmpPath.size() > 4 && bmpPath.substr(bmpPath.size() - 4) == ".png";
    if (!(png ? SavePng(sheet, bmpPath) : sheet.SaveBmp(bmpPath))) {
        error = bmpPath + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace art
