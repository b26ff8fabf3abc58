// How fast creatures draw: 500 walking humans, each in its own colours, into
// a 640 x 480 frame, stepping their walk every call as the game loop does.
// The target is under 2 ms a frame on one core (compare BM_DrawFullScreen,
// the whole plain frame).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "data/CreatureArt.h"
#include "media/Painter.h"
#include "shell/MainFrm.h"

namespace {

// A human whose look is the class's: recoloured with its own colours.
class Walker : public Player {
public:
    static inline std::unique_ptr<CreatureImageSet> s_pLook;
    CreatureImageSet* GetClassImages() override { return s_pLook.get(); }
    void SetClassImages(CreatureImageSet* set) override {
        if (set && set != s_pLook.get()) s_pLook.reset(set);
    }
    PlayerType GetPlayerType() override { return 10; }
    int GetLookColours(LookColours* out) override {
        *out = colours;
        return 1;
    }
    LookColours colours;
};

struct Crowd {
    std::string folder;
    CMainFrame frame;
    qv::Surface back{640, 480};
    std::vector<std::unique_ptr<Walker>> walkers;
    std::vector<qv::Point> at;
    bool ok = false;

    explicit Crowd(const char* look) {
        folder = (std::filesystem::temp_directory_path() /
                  ("quorvale_looks_bench_" + std::to_string(::getpid())))
                     .string() +
                 "/";
        std::string error;
        if (!art::WriteCreatureImages(folder + "Images/", error)) return;
        frame.m_Play.Saves().SetGameFolder(folder);
        for (int k = 0; k < 500; ++k) {
            auto w = std::make_unique<Walker>();
            if (!w->LoadImages(look)) return;
            const uint32_t h = Painter::Hash(k, 29, 5);
            w->colours.shirt = {static_cast<int32_t>(h % 4), static_cast<int32_t>(h / 4 % 4), 1};
            w->colours.pants = {static_cast<int32_t>(h / 16 % 5) - 3, -1, -2};
            w->colours.hair = {-static_cast<int32_t>(h / 80 % 16), -5, -9};
            w->m_iAction = ImageAction::MOVE;
            const int16_t facing = static_cast<int16_t>(k % 8);
            w->SetFacing(&facing);
            w->m_iFrame = k % 4;
            w->m_iStepCount = k % 3;
            w->m_iHitPoints = 1 + k % 120;
            at.push_back({static_cast<int>(h % 700) - 30, static_cast<int>((h >> 10) % 540) - 30});
            walkers.push_back(std::move(w));
        }
        ok = true;
    }
    ~Crowd() {
        walkers.clear();
        Walker::s_pLook.reset();
        std::filesystem::remove_all(folder);
    }

    void Draw() {
        const qv::Rect view = back.Bounds();
        for (size_t k = 0; k < walkers.size(); ++k) {
            Walker& w = *walkers[k];
            w.AdvanceFrame();
            w.m_iDrawLight = 64 + static_cast<int>(k % 65);  // as the lighting pass leaves it
            w.Draw(&back, at[k], view, Position(0, 0, 0), 0);
        }
    }
};

void BM_DrawCreatureCrowd(benchmark::State& state) {
    Crowd crowd("HumanMale");
    if (!crowd.ok) {
        state.SkipWithError("no creature looks");
        return;
    }
    for (auto _ : state) {
        crowd.Draw();
        benchmark::DoNotOptimize(crowd.back.Pixels());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCreatureCrowd)->Unit(benchmark::kMillisecond);

}  // namespace
