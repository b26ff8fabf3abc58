// Map lighting and daylight. The cells around the focus are cut into 5 x 8
// pieces of 32 x 14 pixels; each frame every piece gets an amount of light
// (0 black, 128 full, -1 out of the focus's sight) from the daylight, the
// light sources in sight of it and the shadows of the creatures standing on
// it. The computation is kept apart from the drawing of the floor.

#include "world/MapLight.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "media/DDObjects.h"
#include "media/DDString.h"
#include "platform/Format.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/MapStructures.h"
#include "world/Object.h"

namespace {

// The first of the seven lit columns of each lit row, relative to the focus
// column minus 4: the cells that cover the screen under the oblique view.
constexpr int32_t kRowShift[6] = {-1, 0, 0, 1, 2, 3};

// The pieces of the mixed cells 15..29 drawn from the second picture: eight
// rows of five pieces each, 'x' marked.
constexpr const char* kMixedPieces[15][8] = {
    {".xxx.", ".xxx.", "xxxxx", "xxxxx", "xxxxx", "xxxxx", ".xxx.", ".xxx."},  // 15 crossing
    {".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx."},  // 16
    {".....", ".....", "xxxxx", "xxxxx", "xxxxx", "xxxxx", ".....", "....."},  // 17
    {".....", ".....", "xxxxx", "xxxxx", "xxxxx", "xxxxx", ".xxx.", ".xxx."},  // 18
    {".xxx.", ".xxx.", "xxxxx", "xxxxx", "xxxxx", "xxxxx", ".....", "....."},  // 19
    {".xxx.", ".xxx.", "xxxx.", "xxxx.", "xxxx.", "xxxx.", ".xxx.", ".xxx."},  // 20
    {".xxx.", ".xxx.", ".xxxx", ".xxxx", ".xxxx", ".xxxx", ".xxx.", ".xxx."},  // 21
    {".....", ".....", ".xxxx", ".xxxx", ".xxxx", ".xxxx", ".xxx.", ".xxx."},  // 22
    {".xxx.", ".xxx.", "xxxx.", "xxxx.", "xxxx.", "xxxx.", ".....", "....."},  // 23
    {".xxx.", ".xxx.", ".xxxx", ".xxxx", ".xxxx", ".xxxx", ".....", "....."},  // 24
    {".....", ".....", "xxxx.", "xxxx.", "xxxx.", "xxxx.", ".xxx.", ".xxx."},  // 25
    {".....", ".....", "..x..", ".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx."},  // 26
    {".xxx.", ".xxx.", ".xxx.", ".xxx.", ".xxx.", "..x..", ".....", "....."},  // 27
    {".....", ".....", "..xxx", ".xxxx", ".xxxx", "..xxx", ".....", "....."},  // 28
    {".....", ".....", "xxx..", "xxxx.", "xxxx.", "xxx..", ".....", "....."},  // 29
};

bool IsMountain(int32_t terrain) {
    return terrain == 8 || terrain == 14;
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) {
    return std::max(lo, std::min(v, hi));
}

// The darkness of a sample: 0 at full light (128 or more), 127 at none.
int32_t DarknessOf(int32_t sample) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{128} - sample, 0, 127));
}

}  // namespace

int ScaleDarkness(int darkness, int levels) {
    if (darkness < 0) return -1;
    return std::max(0, std::min(darkness * levels / 128, levels - 1));
}

int ScaleLightAt(const Position& pos, int levels) {
    MapMaster* map = GetMapMaster();
    if (!map) return 0;
    return ScaleDarkness(map->GetLightAt(pos), levels);
}

int ScaleByMapLight(const ObjectHolder* holder, int levels) {
    MapMaster* map = GetMapMaster();
    if (!map || !holder) return 0;
    return ScaleDarkness(map->GetLight(holder), levels);
}

bool MapMaster::IsMixedPiece(int32_t code, int32_t i, int32_t j) {
    if (code >= 30 && code <= 44) code -= 15;
    if (code < 15 || code > 29 || i < 0 || i >= SamplesX || j < 0 || j >= SamplesY) return false;
    return kMixedPieces[code - 15][j][i] == 'x';
}

int MapMaster::DaylightForHour(int hour) {
    switch (hour) {
        case 4:
        case 19:
            return 20;
        case 5:
        case 18:
            return 40;
        case 6:
        case 17:
            return 60;
        case 7:
        case 16:
            return 80;
        default:
            return hour >= 8 && hour <= 15 ? 100 : 0;
    }
}

void MapMaster::BuildLightGrid() {
    // Screen points 160 pixels apart per grid row, at y = 112 r - 96, starting
    // between x = -160 and x = -1 (the row shifts left by its y).
    for (int32_t r = 0; r < 7; ++r) {
        const int32_t y = 112 * r - 96;
        int32_t x0 = -y % 160;
        if (x0 >= 0) x0 -= 160;
        for (int32_t c = 0; c < 7; ++c) m_gridPoints[r][c] = {x0 + 160 * c, y};
    }
}

bool MapMaster::IsLitCell(int32_t i, int32_t j) const {
    if (j < m_firstLitRow || j > m_lastLitRow || j < 0 || j >= high) return false;
    return i >= m_litFirstCol[j] && i <= m_litLastCol[j];
}

int MapMaster::GetLightAt(const Position& pos) const {
    if (m_fullLight) return 1;
    Position p = pos;
    WrapPosition(p);
    CellPoint wc;
    if (!WindowCellOf(p, wc) || !IsLitCell(wc.x, wc.y)) return -1;
    const int32_t si = std::min((p.x % CellWidth) / 32, SamplesX - 1);
    const int32_t sj = std::min((p.y % CellHeight) / 14, SamplesY - 1);
    const int32_t s = GetSample(wc.x, wc.y, si, sj);
    if (s == -1) return -1;
    const int32_t d = DarknessOf(s);
    if (!(d < 128)) AssertFailed(__LINE__, __FILE__, "iDist < 128");
    return d;
}

int MapMaster::GetLight(const ObjectHolder* holder) const {
    if (!holder) return -1;
    return GetLightAt(holder->pos);
}

void MapMaster::ComputeLight(const Position& pos, int32_t now) {
    Position p = pos;
    WrapPosition(p);
    focuscell = PixelToCell(p);
    viewcentre = {pos.x, pos.y};
    if (static_cast<uint32_t>(now) - lastflicker > flickerinterval) {
        lastflicker = static_cast<uint32_t>(now);
        flickervalue = qv::Rand();
    }

    for (int32_t j = 0; j < high; ++j) {
        m_litFirstCol[static_cast<size_t>(j)] = 0;
        m_litLastCol[static_cast<size_t>(j)] = -1;
    }
    m_firstLitRow = 0;
    m_lastLitRow = -1;
    CellPoint fw;
    if (!CellToWindow(focuscell, fw)) return;
    focuswindowcell = fw;
    m_firstLitRow = std::max(fw.y - 3, 0);
    m_lastLitRow = std::min(fw.y + 2, high - 1);
    for (int32_t j = m_firstLitRow; j <= m_lastLitRow; ++j) {
        const int32_t shift = kRowShift[j - m_firstLitRow];
        m_litFirstCol[static_cast<size_t>(j)] = Clamp(fw.x + shift - 4, 0, wide - 1);
        m_litLastCol[static_cast<size_t>(j)] = Clamp(fw.x + shift + 2, 0, wide - 1);
    }

    // The lights of this frame, with their window cells; a holder that no
    // longer answers a light is passed over, and so is one more than 3 cells
    // from every lit cell, which could light none of them.
    int32_t firstCol = wide, lastCol = -1;
    for (int32_t j = m_firstLitRow; j <= m_lastLitRow; ++j) {
        firstCol = std::min(firstCol, m_litFirstCol[static_cast<size_t>(j)]);
        lastCol = std::max(lastCol, m_litLastCol[static_cast<size_t>(j)]);
    }
    std::vector<LitLight>& lights = m_frameLights;
    lights.clear();
    for (const auto& h : lightholders) {
        if (!h) continue;
        CellPoint wc;
        if (!WindowCellOf(h->pos, wc) || wc.x < firstCol - 3 || wc.x > lastCol + 3 ||
            wc.y < m_firstLitRow - 3 || wc.y > m_lastLitRow + 3)
            continue;
        if (MapLamp* light = LampOf(h->m_pObject))
            lights.push_back({h.Get(), light, wc, light->MapReach()});
    }

    for (int32_t j = m_firstLitRow; j <= m_lastLitRow; ++j) {
        for (int32_t i = m_litFirstCol[static_cast<size_t>(j)];
             i <= m_litLastCol[static_cast<size_t>(j)]; ++i) {
            if (!GetCell(i, j).IsFilled()) {
                std::fill_n(&m_samples[SampleIndex(i, j, 0, 0)], SamplesPerCell, -1);
                continue;
            }
            ComputeCellLight(i, j, lights);
        }
    }
}

namespace {

// A light's contribution to one sample: its intensity's integer part, held
// to the integer range so that no light can wrap a sum round.
int64_t IntensityPart(double intensity) {
    return qv::TruncateToInt32(intensity);
}

}  // namespace

void MapMaster::ComputeCellLight(int32_t i, int32_t j, const std::vector<LitLight>& lights) {
    int32_t* s = &m_samples[SampleIndex(i, j, 0, 0)];
    const MapCell& cell = GetCell(i, j);
    if (IsMountain(cell.terrain)) {
        std::fill_n(s, SamplesPerCell, 128);
        return;
    }
    std::fill_n(s, SamplesPerCell, m_fullLight ? 128 : daylight);
    if (m_fullLight) return;

    CellPoint world{i + origin.x, j + origin.y};
    WrapCell(world);
    const int32_t baseX = world.x * CellWidth;
    const int32_t baseY = world.y * CellHeight;
    // Sums in 64 bits: many lights, or strong ones, must not wrap a sample.
    std::array<int64_t, SamplesPerCell> sum;
    std::fill(sum.begin(), sum.end(), int64_t{s[0]});
    bool lit = false;
    // Whether each of the 7 x 7 cells around is in sight, worked out once
    // per cell however many lights stand there (0 not yet known).
    std::array<int8_t, 49> sight{};
    for (const LitLight& l : lights) {
        const int32_t dx = l.cell.x - i;
        const int32_t dy = l.cell.y - j;
        if (std::abs(dx) > 3 || std::abs(dy) > 3) continue;
        // The sample points taken the short way from the light, so that a
        // light across the world's seam reaches them.
        const Position& at = l.holder->pos;
        const CellPoint d = PixelDeltaOf(at, Position(baseX + 16, baseY + 4, 0));
        // Out of reach of every sample point of the cell: nothing to add.
        const int64_t nearX = std::max<int64_t>({0, d.x, -(d.x + 32 * (SamplesX - 1))});
        const int64_t nearY = std::max<int64_t>({0, d.y, -(d.y + 14 * (SamplesY - 1))});
        const int64_t reach = l.reach;
        if (nearX * nearX + nearY * nearY >= reach * reach) continue;
        int8_t& seen = sight[static_cast<size_t>((dy + 3) * 7 + dx + 3)];
        if (seen == 0) seen = IsLineClear(i, j, dx, dy) ? 1 : -1;
        if (seen < 0) continue;
        lit = true;
        for (int32_t sj = 0; sj < SamplesY; ++sj) {
            for (int32_t si = 0; si < SamplesX; ++si) {
                const Position point(at.x + d.x + 32 * si, at.y + d.y + 14 * sj, 0);
                sum[static_cast<size_t>(sj * SamplesX + si)] +=
                    IntensityPart(l.light->MapIntensityAt(point));
            }
        }
    }
    if (lit)
        for (size_t k = 0; k < sum.size(); ++k) s[k] = qv::ClampToInt32(sum[k]);
    const int32_t fdx = focuswindowcell.x - i;
    const int32_t fdy = focuswindowcell.y - j;
    if (std::abs(fdx) > 3 || std::abs(fdy) > 3 || !IsLineClear(i, j, fdx, fdy))
        std::fill_n(s, SamplesPerCell, -1);
    // Out of sight too: a creature there learns it stands unseen (-1), and
    // its shadow still falls on the lit cells next to it.
    CastShadows(i, j);
}

void MapMaster::CastShadows(int32_t i, int32_t j) {
    const MapCell& cell = GetCell(i, j);
    // Caps a sample at 128 and, when positive, dims it by factor / 128; a
    // neighbour across the cell's edge only when that cell is lit. Answers
    // the capped sample before dimming.
    auto dim = [this](int32_t ci, int32_t cj, int32_t si, int32_t sj, int32_t factor) {
        if (si < 0) {
            --ci;
            si += SamplesX;
        } else if (si >= SamplesX) {
            ++ci;
            si -= SamplesX;
        }
        if (sj < 0) {
            --cj;
            sj += SamplesY;
        } else if (sj >= SamplesY) {
            ++cj;
            sj -= SamplesY;
        }
        if (!IsLitCell(ci, cj)) return int32_t{-1};
        int32_t& v = m_samples[SampleIndex(ci, cj, si, sj)];
        v = std::min(v, 128);
        const int32_t capped = v;
        if (v > 0) v = v * factor / 128;
        return capped;
    };
    for (ObjectHolder* h : cell.holders) {
        MapCreature* creature = AsMapCreature(h->m_pObject);
        if (!creature || creature->MapIsRemoved()) continue;
        // Only a creature standing in this cell: one whose picture merely
        // reaches into it casts its shadow where it stands.
        CellPoint own;
        if (!WindowCellOf(h->pos, own) || own.x != i || own.y != j) continue;
        const int32_t si = std::min((h->pos.x % CellWidth) / 32, SamplesX - 1);
        const int32_t sj = std::min((h->pos.y % CellHeight) / 14, SamplesY - 1);
        creature->MapSetLightExposure(dim(i, j, si, sj, 105));
        dim(i, j, si - 1, sj, 120);
        dim(i, j, si + 1, sj, 120);
        dim(i, j, si, sj - 1, 120);
        dim(i, j, si, sj + 1, 120);
    }
}

void MapMaster::DrawFloor(qv::Surface& surface, int32_t now) {
    const qv::Rect screen{0, 0, 640, 480};
    for (int32_t j = m_firstLitRow; j <= m_lastLitRow; ++j) {
        for (int32_t i = m_litFirstCol[static_cast<size_t>(j)];
             i <= m_litLastCol[static_cast<size_t>(j)]; ++i) {
            MapCell& cell = GetCell(i, j);
            if (!cell.IsFilled()) continue;
            CellPoint world{i + origin.x, j + origin.y};
            WrapCell(world);
            const Position base(world.x * CellWidth, world.y * CellHeight, 0);
            if (!IsMountain(cell.terrain)) {
                const int32_t t = cell.terrain;
                const bool own = t == 1 || t == 2 || t == 3 || t == 4 || t == 13;
                CDDObject* basePicture = m_terrainPictures[static_cast<size_t>(own ? t : 0)];
                const int32_t mixed = cell.imagetype;
                CDDObject* second = nullptr;
                if (mixed >= 15 && mixed <= 29) second = m_terrainPictures[1];
                if (mixed >= 30 && mixed <= 44) second = m_terrainPictures[2];
                for (int32_t sj = 0; sj < SamplesY; ++sj) {
                    for (int32_t si = 0; si < SamplesX; ++si) {
                        const int32_t s = GetSample(i, j, si, sj);
                        CDDObject* picture = basePicture;
                        if (second && IsMixedPiece(mixed, si, sj)) picture = second;
                        if (s == 0) picture = m_terrainPictures[0];
                        if (!picture) continue;
                        if (picture == m_terrainPictures[3] && picture->m_iSurfaceCnt > 1)
                            picture->m_iWhichSurf =
                                static_cast<int>((static_cast<uint32_t>(now) / 250) %
                                                 static_cast<uint32_t>(picture->m_iSurfaceCnt));
                        const int32_t d = DarknessOf(s);
                        const Position corner(base.x + 32 * si, base.y + 14 * sj, 0);
                        CellPoint at;
                        WorldToScreen(corner, at.x, at.y);
                        const qv::Rect source{32 * si, 14 * sj, 32 * si + 32, 14 * sj + 14};
                        picture->DrawPiece(&surface, {at.x, at.y}, screen, source, d * 32 / 128);
                    }
                }
            }
            for (ObjectHolder* h : cell.decals) {
                if (!h->m_pObject) continue;
                CellPoint at;
                WorldToScreen(h->pos, at.x, at.y);
                h->m_pObject->Draw(&surface, {at.x, at.y}, screen, h->pos, 0);
            }
            if (labelcells == 1 || labelcells == 2) {
                // Editor overlays: the cell's window and world coordinates, or its room.
                CellPoint at;
                WorldToScreen(Position(base.x + 40, base.y + 40, 0), at.x, at.y);
                const std::string text =
                    labelcells == 1
                        ? qv::Format("%d, %d", i, j) + "\n" + qv::Format("%d, %d", world.x, world.y)
                        : qv::Format("%d", cell.room);
                CDDString::DrawText(&surface, {at.x, at.y}, screen, text, 255);
            }
        }
    }
}

void MapMaster::UpdateLight(const Position& pos, int32_t now, qv::Surface* surface) {
    ComputeLight(pos, now);
    if (surface) DrawFloor(*surface, now);
}

int MapMaster::OnNewHour(int32_t now, int hour) {
    if (sunlightmode == 1) daylight = DaylightForHour(hour);
    // The timed updates may remove and delete lights (a burnt-out one, or
    // through an explosion's damage a creature's carried light) and may even
    // refill the window: walk a copy, and check each entry is still listed.
    const std::vector<qv::Handle<ObjectHolder>> walk = lightholders;
    const uint32_t reloads = m_reloads;
    for (const auto& entry : walk) {
        if (m_reloads != reloads) break;
        ObjectHolder* holder = entry.Get();
        if (!holder) continue;
        if (std::none_of(lightholders.begin(), lightholders.end(),
                         [holder](const auto& h) { return h.Get() == holder; }))
            continue;
        Object* obj = holder->m_pObject;
        MapLamp* light = LampOf(obj);
        if (!light) continue;
        if (light->MapUpdate(now) != Object::kWorldChanged) continue;
        if (m_reloads != reloads || !entry) break;
        // Only a light that stands on the map by itself goes with its holder;
        // a carried light that is over is left to its carrier.
        if (obj->GetMapLamp() != light) continue;
        RemoveHolder(holder->pos, holder);
        delete obj;
        delete holder;
    }
    return 1;
}
