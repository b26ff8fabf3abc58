// How fast the search for what lies under the pointer runs: 1,000 pointer
// places over the whole map view with a crowd of creatures and things in the
// visible cells, each found by its picture's pixels and given its text line.
// Beside it, a plain reference: the same places tested against every picture's
// box in one flat list, without pixels, cells or order.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "shell/MainFrm.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"

namespace {

constexpr int kHoversPerRun = 1000;
constexpr int kGridAcross = 40, kGridDown = 25;  // 1,000 places over the view

// A picture of one cell whose pixels are solid inside an ellipse and
// transparent around it, like a sprite's silhouette.
std::unique_ptr<CDDObject> Silhouette(int w, int h, int hotX, int hotY) {
    auto image = std::make_unique<CDDObject>();
    image->Create(w, h, hotX, hotY, nullptr, 1, 1);
    auto bitmap = std::make_shared<CDIBitmap>(w, h);
    Palette palette{};
    palette[1] = {200, 120, 40};
    bitmap->SetPalette(palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
            bitmap->SetPixel(x, y, dx * dx + dy * dy <= 1.0 ? 1 : 0);
        }
    image->SetFrameBitmap(0, bitmap);
    image->Load();
    return image;
}

class Prop : public Object {
public:
    Prop(CDDObject* image, const std::string& name) : Object(name), m_image(image) {
        m_iLightSampling = 1;
    }
    CDDObject* GetImage() override { return m_image; }
    int CanInteract() override { return 1; }
    CDDObject* m_image;
};

class Figure : public Player {
public:
    CDDObject* image = nullptr;
    CDDObject* GetImage() override { return image; }
};

uint32_t Hash(uint32_t k) {
    k ^= k >> 16;
    k *= 0x7feb352dU;
    k ^= k >> 15;
    k *= 0x846ca68bU;
    return k ^ (k >> 16);
}

struct Crowd {
    CMainFrame frame;
    CDDObject floor;
    std::unique_ptr<CDDObject> body = Silhouette(48, 80, 24, 74);
    std::unique_ptr<CDDObject> barrel = Silhouette(40, 40, 20, 34);
    Group* group = nullptr;
    std::vector<ObjectHolder*> placed;
    std::vector<qv::Point> places;
    MapMaster* map = nullptr;
    bool ok = false;

    Crowd() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ok = frame.InitDirectDraw(0) != 0;
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        group = new Group;
        group->SetGroupNumber(-1);
        frame.m_World.m_pAllGroups->AddMember(group);
        map = frame.m_World.map_master.get();
        map->SetWorldSize(100, 80);
        map->SetOrigin({10, 10});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map->GetCell(i, j).image = &floor;
        const Position focus(35 * 160 + 80, 34 * 112 + 56, 0);
        frame.m_World.m_ptFocus = {focus.x, focus.y};
        frame.m_Play.m_iStartState = 0;
        // 40 creatures and 200 things over the visible cells and a cell
        // beyond them on every side.
        for (uint32_t k = 0; k < 240; ++k) {
            const uint32_t h = Hash(k + 1);
            Position at(focus.x - 5 * 160 + static_cast<int32_t>(h % (11 * 160)),
                        focus.y - 4 * 112 + static_cast<int32_t>((h >> 12) % (9 * 112)), 0);
            Object* obj;
            if (k < 40) {
                auto* f = new Figure;
                f->image = body.get();
                f->SetName("Townsman");
                group->AddMember(f);
                obj = f;
            } else {
                obj = new Prop(barrel.get(), "Barrel");
            }
            auto* holder = new ObjectHolder(at, obj);
            if (map->AddHolder(at, holder) == 1) {
                placed.push_back(holder);
            } else {
                delete holder;
                if (k >= 40) delete obj;  // a creature goes with its group
            }
        }
        frame.m_Play.LightAndExplore();  // the light a tick leaves for the drawing
        frame.DrawFrame(0);              // the visible range of a drawn frame
        const qv::Rect& v = frame.m_View.m_rcView;
        for (int j = 0; j < kGridDown; ++j)
            for (int i = 0; i < kGridAcross; ++i)
                places.push_back({v.left + 3 + i * (v.Width() - 6) / (kGridAcross - 1),
                                  v.top + 3 + j * (v.Height() - 6) / (kGridDown - 1)});
    }
};

void BM_HoverSearch(benchmark::State& state) {
    Crowd crowd;
    if (!crowd.ok) {
        state.SkipWithError("no window");
        return;
    }
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const qv::Point& p : crowd.places) {
            crowd.frame.HoverText(p.x, p.y);
            found += crowd.frame.m_World.m_pHoverHolder.Get() != nullptr;
        }
        benchmark::DoNotOptimize(crowd.frame.m_strHoverText.data());
    }
    state.counters["placed"] = static_cast<double>(crowd.placed.size());
    state.counters["found_per_1000"] = found;
    state.counters["us_per_hover"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kHoversPerRun / 1e6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HoverSearch)->Unit(benchmark::kMicrosecond);

// The plain reference: every picture's box in one list, nearest the viewer
// last, no pixels read.
void BM_HoverPlainBoxes(benchmark::State& state) {
    Crowd crowd;
    if (!crowd.ok) {
        state.SkipWithError("no window");
        return;
    }
    const CMainFrame& f = crowd.frame;
    const Position focus(f.m_World.m_ptFocus.x, f.m_World.m_ptFocus.y, 0);
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const qv::Point& p : crowd.places) {
            ObjectHolder* hit = nullptr;
            for (ObjectHolder* h : crowd.placed) {
                const CellPoint d = crowd.map->PixelDelta(focus, h->pos);
                const qv::Point rel{
                    p.x - (f.m_View.m_ptViewOrigin.x + f.m_View.m_ptViewCentre.x + d.x - d.y),
                    p.y - (f.m_View.m_ptViewOrigin.y + f.m_View.m_ptViewCentre.y + d.y)};
                if (h->m_pObject->GetImage()->BoxContains(rel)) hit = h;
            }
            found += hit != nullptr;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found_per_1000"] = found;
    state.counters["us_per_hover"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kHoversPerRun / 1e6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HoverPlainBoxes)->Unit(benchmark::kMicrosecond);

}  // namespace
