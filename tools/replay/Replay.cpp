// quorvale_replay RECORDING OUT_FOLDER: plays a recorded game again without a
// window. The game's data (the start world, its networks, the creatures'
// looks) is written into OUT_FOLDER, a game folder of its own; the recorded orders are given at
// their ticks while the world runs the ticks the game ran, and the game is then saved into
// OUT_FOLDER's quick-save slot. The game writes its recording when QV_RECORD names the file.

#include <cstdio>
#include <memory>
#include <string>

#include "data/CreatureArt.h"
#include "data/StartWorld.h"
#include "data/Training.h"
#include "items/ObjectCatalogueBuild.h"
#include "platform/Files.h"
#include "play/OrderFile.h"
#include "play/Play.h"
#include "structures/GlobalImages.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// Nobody answers: a quantity is taken whole, as the window offers it, a
// question is answered no, and what play says is shown on the output.
class QuietAsk : public AskPlayer {
public:
    int Quantity(int amount) override { return amount; }
    bool YesNo(const std::string& question) override {
        std::printf("asked: %s (no)\n", question.c_str());
        return false;
    }
    void Tell(const std::string& text) override { std::printf("told: %s\n", text.c_str()); }
};

// The start of play, as the frame makes it once the world is read: the
// world maker's catalogue (whose spells take their serial numbers then), the
// shared pictures and the map's window around the focus.
bool StartPlay(World& world, Play& play) {
    BuildObjectCatalogue(world.m_Catalogue);
    return LoadGlobalImages(&world) != 0 && play.Saves().TryReloadWindowAtFocus();
}

bool Replay(const OrderRecording& recording, const std::string& folder) {
    bool saved = false;
    {
        World world;
        world.map_master = std::make_unique<MapMaster>();
        world.CreateRootGroups();
        QuietAsk ask;
        Play play(world);
        play.Attach(&ask, nullptr);
        play.Saves().UseGameFolder(folder + "\\");
        // A recording made from the start of the program begins with the new
        // game; one without it begins in the start world at once.
        bool newGame = false;
        for (const TimedOrder& timed : recording.orders)
            newGame = newGame || timed.order.kind == Order::Kind::NewGame;
        bool started =
            !newGame && play.Saves().StartInOriginalWorld() == 1 && StartPlay(world, play);
        size_t next = 0;
        while (play.m_iTickCount < recording.ticks) {
            while (next < recording.orders.size() &&
                   recording.orders[next].tick <= play.m_iTickCount) {
                const Order& order = recording.orders[next++].order;
                if (order.kind == Order::Kind::EndPlay) continue;
                if (play.Give(order) && order.kind == Order::Kind::NewGame)
                    started = StartPlay(world, play);
            }
            const int32_t step = Play::kNormalTickStep;
            play.Tick(world.m_bFastTime ? step * Play::kFastTimeFactor : step);
        }
        saved = started && play.Give(Order::Of(Order::Kind::QuickSave)) == 1;
        world.DeleteGroups();
    }
    // The shared pictures go once the map that held them has gone.
    InvalidateGlobalImages();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorvale_replay RECORDING OUT_FOLDER\n");
        return 2;
    }
    OrderRecording recording;
    std::string error;
    if (!LoadOrderFile(argv[1], recording, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string folder = argv[2];
    // The game folder as the data program writes it: the start world with
    // its trained networks, and the creatures' looks.
    try {
        qv::MakeFolder(folder);
        WriteStartWorld(folder);
    } catch (const qv::FileError& e) {
        std::fprintf(stderr, "%s: the start world cannot be written (%s)\n", folder.c_str(),
                     e.what());
        return 1;
    }
    training::Report trained;
    if (!training::WriteNetworks(folder + "/original/", trained, error) ||
        !art::WriteCreatureImages(folder + "/Images/", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!Replay(recording, folder)) {
        std::fprintf(stderr, "%s: the replayed game could not be saved\n", argv[1]);
        return 1;
    }
    std::printf("replayed %zu orders over %u ticks; saved in %s/quicksave\n",
                recording.orders.size(), recording.ticks, folder.c_str());
    return 0;
}
