// A game played from the start world without a window: a recording of orders
// (walking, a sign read, the hold-ground switch, a pause, a conversation, a
// purchase, a chest opened and a scroll taken from it and read, a move into
// another land, a random encounter and a fight, the quick save), each with the
// tick it is given in, replayed by a World and a Play of their own. The
// quick-save slot it leaves is the same, byte for byte, on every run and with
// every compiler: the files' sizes and digests are kept in
// tests/data/replay/quicksave.digest. A change that means to change what the game stores writes the
// file anew: QV_WRITE_REPLAY_DIGEST=1 ctest -R Replay. The orders are read from
// tests/data/replay/orders.txt, written from the recording below as play keeps it (every thing
// named by its numbers): QV_WRITE_REPLAY_ORDERS=1 writes it anew.
//
// While paused the world does not move: paused ticks leave every stored byte as
// it was. The woods' beasts keep their places until the party comes near.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "PlayFixture.h"
#include "data/StartTalk.h"
#include "data/StartWorld.h"
#include "events/TalkScript.h"
#include "events/TalkScriptFile.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Store.h"
#include "platform/Files.h"
#include "play/OrderFile.h"
#include "play/Play.h"
#include "play/PlayShell.h"
#include "play/PlayTalk.h"
#include "structures/GlobalImages.h"
#include "support/TestFolder.h"
#include "support/TestPaths.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

namespace fs = std::filesystem;
using play_test::ScriptedAsk;
using Files = std::map<std::string, std::vector<uint8_t>>;

Position CellPoint(int cx, int cy) {
    return {cx * MapMaster::CellWidth + MapMaster::CellWidth / 2,
            cy * MapMaster::CellHeight + MapMaster::CellHeight / 2, 0};
}

TimedOrder At(uint32_t tick, Order order) {
    return {tick, std::move(order)};
}

// An order that names a thing of the world by its name, found when it is
// given: what to buy (a store's entry), the container to open or the placed
// thing to go to (by its class), what to take from the open container, what
// to pick for use (a thing carried or a spell known: a spell picked by a Cast
// order is cast on its caster), and the creature a use or an attack is made
// on.
Order Named(Order order, const std::string& name) {
    order.name = name;
    return order;
}

constexpr const char* kHero = "Korr";
constexpr const char* kWolf = "Wolf";
constexpr int32_t kBeastGroup = 2;
constexpr int32_t kDeepGroup = 4;

// The recording: the hero walks along the yard's south wall to the sign by
// its door and reads it, holds its ground no more, waits out a pause, walks on, travels into the
// yard, where the miller's talk event gives the party his task (a conversation that takes its first
// choices), buys a potion at the stall and drinks it, opens the yard's chest, takes a scroll from
// it and reads it, shuts the chest's window, casts Strength on itself, travels to
// the lake shore (another land), walks there, travels to the woods, where two rats of a random
// encounter and then the clearing's beasts fall on the party and the hero strikes at a wolf until
// one side is dead, and the game is saved.
std::vector<TimedOrder> Recording() {
    using Kind = Order::Kind;
    return {
        At(3, Named(Order::Of(Kind::Interact), "Sign")),
        At(30, Order::Of(Kind::HoldGround)),
        At(45, Order::With(Kind::Pause, 1)),
        At(55, Order::With(Kind::Pause, 0)),
        At(60, Order::At(Kind::WalkTo, CellPoint(27, 29))),
        At(70, Order::At(Kind::Travel, Position(24, 22, 0))),
        At(140, Named(Order::With(Kind::Buy, start_talk::kStoreId), "Potion of Healing")),
        At(141, Named(Order::Of(Kind::PickForUse), "Potion of Healing")),
        At(142, Named(Order::Of(Kind::UseOn), kHero)),
        At(143, Named(Order::Of(Kind::Open), "Chest")),
        At(144, Named(Order::Of(Kind::Take), "Scroll of Toughskin")),
        At(145, Named(Order::Of(Kind::PickForUse), "Scroll of Toughskin")),
        At(146, Named(Order::Of(Kind::UseOn), kHero)),
        At(147, Named(Order::Of(Kind::Cast), "Strength")),
        At(148, Order::Of(Kind::Shut)),
        At(150, Order::At(Kind::Travel, Position(50, 20, 0))),
        At(160, Order::At(Kind::WalkTo, CellPoint(52, 21))),
        At(230, Order::At(Kind::Travel, Position(28, 35, 0))),
        At(235, Order::At(Kind::WalkTo, CellPoint(29, 37))),
        At(300, Named(Order::Of(Kind::Attack), kWolf)),
        At(400, Order::Of(Kind::QuickSave)),
    };
}
constexpr uint32_t kTicks = 410;

std::string OrdersFile() {
    return test_support::TestDataFolder() + "/replay/orders.txt";
}

// A line of the game's state that the recording's steps change: the book
// node last read, whether a container's window is open, whether the hero
// carries the scroll, the hero's armour bonus, the creatures random encounters brought,
// the party's fight mode and the tune play chose last (-1: none yet).
struct Line {
    std::string read;
    bool chestOpen = false;
    bool scroll = false;
    int32_t armour = 0;
    size_t met = 0;
    bool fighting = false;
    int tune = -1;
    bool operator==(const Line&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Line& l) {
    return out << "read '" << l.read << "' chest " << l.chestOpen << " scroll " << l.scroll
               << " armour " << l.armour << " met " << l.met << " fighting " << l.fighting
               << " tune " << l.tune;
}

// A shell that only keeps the tune play chose last.
struct TuneShell : PlayShell {
    void PlayTune(int tune) override { last = tune; }
    int last = -1;
};

// A game folder of its own with the start world the build ships.
struct GameFolder : test_support::TestFolder {
    explicit GameFolder(const std::string& name) : TestFolder("replay-" + name) {
        WriteStartWorld(dir.string());
    }
    // Every file of a slot folder, by name; none when there is no such slot.
    Files Slot(const char* slot) const {
        Files files;
        if (!fs::is_directory(dir / slot)) return files;
        for (const auto& entry : fs::directory_iterator(dir / slot))
            if (entry.is_regular_file())
                files[entry.path().filename().string()] = qv::ReadWholeFile(entry.path().string());
        return files;
    }
};

// A game begun in the start world as a new game begins, with nobody to see it.
struct Session {
    explicit Session(const GameFolder& folder) {
        world.map_master = std::make_unique<MapMaster>();
        world.CreateRootGroups();
        play.m_pAsk = &ask;
        play.m_pShell = &shell;
        play.Talks().InstallBook([this](Object& text) { read = text.m_strGeneralName; });
        play.Saves().UseGameFolder(folder.dir.string() + "\\");
        ok = play.Saves().StartInOriginalWorld() == 1 && LoadGlobalImages(&world) != 0 &&
             play.Saves().TryReloadWindowAtFocus();
        // Conversations take their first choice until they end.
        play.Talks().InstallConversation(
            [this](Player* listener, Player* speaker, const std::string& node) {
                CTalkScript talk(world, host);
                if (!talk.Open(listener ? listener : world.m_pLeader.Get(), speaker,
                               std::make_shared<const TalkScriptFile>(
                                   LoadTalkScript(play.GameFolder(), speaker->m_strMessageFile)),
                               node))
                    return;
                for (int step = 0; step < kMaxTalkSteps && !talk.IsOver(); ++step) talk.Choose(0);
                ++conversations;
            });
    }
    ~Session() { world.DeleteGroups(); }

    // The creatures the random encounters brought.
    size_t Met() const {
        size_t met = 0;
        if (world.m_pRandomEncounters)
            for (const Member* m : world.m_pRandomEncounters->Members())
                if (const auto* group = dynamic_cast<const Group*>(m))
                    met += group->Members().size();
        return met;
    }
    Line Seen() const {
        const Player* hero = world.m_pLeader.Get();
        const CBag* bag = hero ? hero->m_pBag.get() : nullptr;
        return {read,
                play.Interacting().IsContainerOpen(),
                Named(bag, "Scroll of Toughskin") != nullptr,
                hero ? hero->m_iArmourBonus : 0,
                Met(),
                play.PartyChoices().InCombat(),
                shell.last};
    }

    // As in a game just begun, the shared pictures are not loaded yet when
    // the start world is read; the game's are forgotten once its world has
    // gone, so that nothing of it reaches a later game.
    struct FreshPictures {
        FreshPictures() { InvalidateGlobalImages(); }
        ~FreshPictures() { InvalidateGlobalImages(); }
    } pictures;
    // Runs the ticks 0 to ticks - 1, each after the orders given in it.
    void Run(const std::vector<TimedOrder>& orders, uint32_t ticks) {
        size_t next = 0;
        while (play.m_iTickCount < ticks) {
            while (next < orders.size() && orders[next].tick <= play.m_iTickCount)
                play.Give(Found(orders[next++].order));
            // The miller's talk event: he asks the party for help.
            if (millerTalks && play.m_iTickCount == kMillerTalkTick)
                for (Player* p : world.m_PlayerArray)
                    if (p && p->m_strMessageNode == start_talk::kMillerNode)
                        play.OpenConversation(p, p->m_strMessageNode);
            play.Tick(Play::kNormalTickStep);
            if (watch) watch();
        }
    }

    // A named order with what its name finds (an order recorded in another
    // game names what that game had: it is found again here).
    Order Found(Order order) const {
        using Kind = Order::Kind;
        Player* hero = world.m_pLeader.Get();
        const std::string& name = order.name;
        if (name.empty()) return order;
        if (order.kind == Kind::Buy) {
            if (Store* store = play.Trade().FindStore(order.value))
                for (const auto& item : store->Items())
                    if (item->m_strSpecialName == name) order.object = item.get();
        } else if (order.kind == Kind::Open || order.kind == Kind::Interact) {
            order.target = Placed(name);
        } else if (order.kind == Kind::Take) {
            order.object =
                Named(qv::DynamicCast<CBag>(play.Interacting().ShownContainer().Get()), name);
        } else if ((order.kind == Kind::PickForUse || order.kind == Kind::Cast) && hero) {
            order.object = Named(hero->m_pBag.get(), name);
            if (!order.object && hero->m_pMagic)
                for (const auto& spell : hero->m_pMagic->m_SpellList)
                    if (spell->GetDisplayName() == name) order.object = spell.get();
        } else if (order.kind == Kind::UseOn || order.kind == Kind::Attack) {
            // The living creature of that name nearest the hero.
            if (Player* p = Nearest(hero, name)) order.target = p->m_pHolder;
        }
        return order;
    }
    // The placed thing of that class on the map (its window's cells).
    ObjectHolder* Placed(const std::string& name) const {
        const MapMaster& map = *world.map_master;
        for (int32_t i = 0; i < MapMaster::wide; ++i)
            for (int32_t j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h && h->m_pObject && h->m_pObject->GetRuntimeClass()->name == name)
                        return h;
        return nullptr;
    }
    static Object* Named(const CBag* bag, const std::string& name) {
        if (bag)
            for (const auto& item : bag->Items())
                if (item->GetDisplayName() == name) return item.get();
        return nullptr;
    }
    Player* Nearest(const Player* from, const std::string& name) const {
        Player* best = nullptr;
        int64_t bestD = 0;
        for (Player* p : world.m_PlayerArray) {
            if (!p || !p->IsAlive() || !p->m_pHolder || p->GetDisplayName() != name) continue;
            const int64_t dx = from ? p->m_Position.x - from->m_Position.x : 0;
            const int64_t dy = from ? p->m_Position.y - from->m_Position.y : 0;
            if (!best || dx * dx + dy * dy < bestD) best = p, bestD = dx * dx + dy * dy;
        }
        return best;
    }

    std::function<void()> watch;  // after each tick
    static constexpr int kMaxTalkSteps = 10;
    static constexpr uint32_t kMillerTalkTick = 72;
    bool millerTalks = false;  // the recording of the yard has his talk event
    TuneShell shell;
    std::string read;  // the book node last read
    World world;
    Play play{world};
    ScriptedAsk ask;
    PlayTalkHost host{play};
    int conversations = 0;
    bool ok = false;
};

// FNV-1a, 64 bits: a digest that every compiler computes alike.
uint64_t Digest(const std::vector<uint8_t>& bytes) {
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 1099511628211ull;
    }
    return h;
}

std::string DigestText(const Files& files) {
    std::ostringstream out;
    for (const auto& [name, bytes] : files) {
        char line[160];
        std::snprintf(line, sizeof line, "%s %zu %016llx\n", name.c_str(), bytes.size(),
                      static_cast<unsigned long long>(Digest(bytes)));
        out << line;
    }
    return out.str();
}

// The steps of the recording of the yard, each with the line of state it
// leaves once its tick has run.
constexpr int kLandTune = 1, kBattleTune = 2;  // the start world's lands' tunes
struct Step {
    uint32_t tick;
    const char* what;
    Line seen;
};
const char* const kSign = start_talk::kYardSignNode;
const Step kSteps[] = {
    {3, "at the start", {"", false, false, 0, 0, false, -1}},
    {39, "on the way to the sign", {"", false, false, 0, 0, false, -1}},
    {40, "the sign by the yard's door read", {kSign, false, false, 0, 0, false, -1}},
    {61, "the land's tune chosen", {kSign, false, false, 0, 0, false, kLandTune}},
    {144, "the yard's chest opened", {kSign, true, false, 0, 0, false, kLandTune}},
    {145,
     "the scroll taken from it into the hero's bag",
     {kSign, true, true, 0, 0, false, kLandTune}},
    {147,
     "the scroll read: gone from the bag, its Toughskin on the hero",
     {kSign, true, false, 1, 0, false, kLandTune}},
    {149, "the chest's window shut", {kSign, false, false, 1, 0, false, kLandTune}},
    {231, "two rats met at the woods' edge", {kSign, false, false, 1, 2, false, kLandTune}},
    {253, "the rats not on the party yet", {kSign, false, false, 1, 2, false, kLandTune}},
    {254,
     "the rats fall on the party: fight mode, the battle tune",
     {kSign, false, false, 1, 2, true, kBattleTune}},
    {324,
     "the rats dead: fight mode off, the land's tune again",
     {kSign, false, false, 1, 2, false, kLandTune}},
    {329,
     "the clearing's beasts fall on the party: fight mode again",
     {kSign, false, false, 1, 2, true, kBattleTune}},
    {347, "the Toughskin worn off", {kSign, false, false, 0, 2, true, kBattleTune}},
};

// Plays the orders from the start world and answers the quick-save slot it
// leaves; the orders given are kept in `recording` when one is given. The
// recording of the yard (`yard`) has the miller's talk event too.
Files PlayRecording(const char* name, const std::vector<TimedOrder>& orders, uint32_t ticks,
                    std::vector<TimedOrder>* recording = nullptr, bool yard = false) {
    GameFolder folder(name);
    Files slot;
    {
        Session game(folder);
        EXPECT_TRUE(game.ok);
        if (!game.ok) return slot;
        game.play.m_pRecording = recording;
        game.millerTalks = yard;
        // Each step of the recording of the yard, seen in the line of state
        // it leaves once its tick has run.
        size_t step = 0;
        if (yard)
            game.watch = [&] {
                for (; step < std::size(kSteps) && kSteps[step].tick <= game.play.m_iTickCount;
                     ++step)
                    if (kSteps[step].tick == game.play.m_iTickCount) {
                        EXPECT_EQ(game.Seen(), kSteps[step].seen) << kSteps[step].what;
                    }
            };
        game.Run(orders, ticks);
        game.play.m_pRecording = nullptr;
        game.watch = nullptr;
        EXPECT_EQ(step, yard ? std::size(kSteps) : 0u);
        EXPECT_EQ(game.ask.told, (std::vector<std::string>{"QuickSave completed."}));
        if (!yard) return folder.Slot("quicksave");
        // The miller's task was taken, a potion bought at the stall and drunk
        // (its bottle is left), the chest's scroll read, and the hero's fight in the
        // woods ended with one side dead.
        EXPECT_EQ(game.conversations, 1);
        int32_t wolves = 0;
        for (const auto& v : game.world.m_ScriptVariableList)
            if (v->m_strSpecialName == start_talk::kTaskVariable) wolves = v->m_iValue;
        const Store* stall = game.play.Trade().FindStore(start_talk::kStoreId);
        EXPECT_EQ(std::tuple(wolves, stall ? stall->m_iGold : 0), std::tuple(1, 110));
        const Player* hero = nullptr;
        int deadBeasts = 0;
        for (Player* p : game.world.m_PlayerArray) {
            if (p && p->GetDisplayName() == kHero) hero = p;
            if (p && p->m_iGroupNum == kBeastGroup && !p->IsAlive()) ++deadBeasts;
        }
        if (!hero) ADD_FAILURE() << "no hero";
        if (!hero) return slot;
        EXPECT_NE(Session::Named(hero->m_pBag.get(), "Empty potion"), nullptr);
        EXPECT_EQ(Session::Named(hero->m_pBag.get(), "Scroll of Toughskin"), nullptr);
        EXPECT_TRUE(!hero->IsAlive() || deadBeasts > 0);
        EXPECT_TRUE(hero->m_Opponents.empty());
    }
    return folder.Slot("quicksave");
}

// The same files, byte for byte (a difference names the file, not its bytes).
void ExpectSameFiles(const Files& a, const Files& b) {
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) EXPECT_TRUE(b.count(name) && b.at(name) == bytes) << name;
}

// The recording as its file keeps it, every thing named by its numbers.
OrderRecording KeptRecording() {
    OrderRecording kept;
    std::string error;
    EXPECT_TRUE(LoadOrderFile(OrdersFile(), kept, error)) << error;
    return kept;
}

TEST(Replay, TheRecordingGivesTheSameQuickSaveOnEveryRunAndWithEveryCompiler) {
    const OrderRecording orders = KeptRecording();
    ASSERT_EQ(std::tuple(orders.orders.size(), orders.ticks),
              std::tuple(Recording().size(), kTicks));
    const Files first = PlayRecording("first", orders.orders, orders.ticks, nullptr, true);
    ASSERT_FALSE(first.empty());
    for (const char* file : {"Position", "players", "start.qvr", "Shore.lnd"})
        EXPECT_EQ(first.count(file), 1u) << file;
    ExpectSameFiles(first, PlayRecording("again", orders.orders, orders.ticks, nullptr, true));

    const std::string digest = DigestText(first);
    const std::string kept = test_support::TestDataFolder() + "/replay/quicksave.digest";
    if (std::getenv("QV_WRITE_REPLAY_DIGEST")) {
        std::ofstream(kept) << digest;
        GTEST_SKIP() << "wrote " << kept;
    }
    std::ifstream in(kept);
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(digest, expected.str())
        << "the saved game differs from the kept one (" << kept << ")";
}

TEST(Replay, ARecordingOfOrdersGivenInPlayReplaysToTheSameGame) {
    // The orders are given as a game is played, and kept with their ticks.
    std::vector<TimedOrder> recorded;
    const Files played = PlayRecording("recorded", Recording(), kTicks, &recorded, true);
    ASSERT_EQ(recorded.size(), Recording().size());
    for (size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].tick, Recording()[i].tick) << i;
        EXPECT_EQ(recorded[i].order.kind, Recording()[i].order.kind) << i;
    }
    ExpectSameFiles(played, PlayRecording("replayed", recorded, kTicks, nullptr, true));
    // Written out (without the names the test found things by), it is the
    // file the replay reads.
    for (TimedOrder& timed : recorded) timed.order.name.clear();
    const std::vector<uint8_t> written = WriteOrderFile({kTicks, recorded});
    if (std::getenv("QV_WRITE_REPLAY_ORDERS")) qv::WriteWholeFile(OrdersFile(), written);
    EXPECT_EQ(written, qv::ReadWholeFile(OrdersFile()));
}

TEST(Replay, APausedTickLeavesEveryStoredByteAsItWas) {
    // The same game, saved at once when the pause begins (with the hero on
    // its way and 60 ticks banked), and saved after forty paused ticks: the
    // saves are alike.
    using Kind = Order::Kind;
    std::vector<TimedOrder> walk = {
        At(3, Order::At(Kind::WalkTo, CellPoint(25, 31))),
        At(45, Order::At(Kind::WalkTo, CellPoint(21, 30))),
        At(60, Order::With(Kind::Pause, 1)),
    };
    std::vector<TimedOrder> atOnce = walk;
    atOnce.push_back(At(60, Order::Of(Kind::QuickSave)));
    std::vector<TimedOrder> later = walk;
    later.push_back(At(100, Order::Of(Kind::QuickSave)));
    ExpectSameFiles(PlayRecording("paused-at-once", atOnce, 61),
                    PlayRecording("paused-later", later, 101));
}

TEST(Replay, AHeroStandingStillSeesAStillView) {
    // Whatever the yard's people do, the cells in sight of a hero who stands
    // still and the cells explored stay as they are, tick after tick.
    struct Row {
        const char* where;
        Position goal;  // where the hero is sent at tick 3 (none: it stays)
    };
    const Row rows[] = {
        {"at the start, south of the yard's door", Position()},
        {"in the doorway, inside the yard", Position(25 * 160 + 80, 26 * 112 - 46, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        GameFolder folder("still");
        Session game(folder);
        ASSERT_TRUE(game.ok);
        std::vector<TimedOrder> walk;
        if (r.goal.x) walk.push_back(At(3, Order::At(Order::Kind::WalkTo, r.goal)));
        game.Run(walk, 100);
        const MapMaster& map = *game.world.map_master;
        Player* hero = game.world.m_pLeader.Get();
        ASSERT_TRUE(hero);
        const Position still = hero->m_Position;
        // The pieces out of sight (-1) of the lit cells, and the explored cells.
        const auto view = [&] {
            std::vector<int> v;
            for (int j = 0; j < MapMaster::high; ++j)
                for (int i = 0; i < MapMaster::wide; ++i) {
                    for (int k = 0; k < MapMaster::SamplesPerCell && map.IsLitCell(i, j); ++k)
                        v.push_back(map.GetSample(i, j, k % 5, k / 5) == -1);
                    v.push_back(map.IsExplored({map.origin.x + i, map.origin.y + j}));
                }
            return v;
        };
        const std::vector<int> first = view();
        for (uint32_t tick = 100; tick < 700; ++tick) {
            game.Run({}, tick + 1);
            ASSERT_EQ(hero->m_Position, still);
            ASSERT_EQ(view(), first) << "tick " << tick;
        }
    }
}

TEST(Replay, TheWoodsBeastsKeepTheirPlacesUntilThePartyComesNearThenFallOnIt) {
    using Kind = Order::Kind;
    GameFolder folder("woods");
    Session game(folder);
    ASSERT_TRUE(game.ok);
    const auto beasts = [&](int32_t group) {
        std::vector<std::pair<Player*, qv::Point>> found;  // with the cell each stands in
        for (Player* p : game.world.m_PlayerArray)
            if (p && p->m_iGroupNum == group)
                found.emplace_back(p, MapMaster::PixelToCell(p->m_Position));
        return found;
    };
    // At the edge of the woods, three cells north of the clearing, for fifty
    // ticks: every beast where it was, and none hostile.
    game.Run({At(3, Order::At(Kind::Travel, Position(28, 35, 0)))}, 4);
    const auto homes = beasts(kBeastGroup);
    const auto deeper = beasts(kDeepGroup);
    ASSERT_EQ(std::tuple(homes.size(), deeper.size()), std::tuple(2u, 5u));
    game.Run({}, 54);
    EXPECT_EQ(beasts(kBeastGroup), homes);
    for (const auto& [b, cell] : homes) EXPECT_EQ(b->m_iHostileMode, 0) << b->GetDisplayName();
    // Into the clearing: every beast of the clearing turns on the party and
    // is paired with both of its members; those deeper in the woods keep
    // their places, out of the fight.
    game.Run({At(54, Order::At(Kind::WalkTo, CellPoint(29, 37)))}, 55);
    const auto paired = [&] {
        return std::all_of(homes.begin(), homes.end(),
                           [](const auto& h) { return h.first->m_Opponents.size() == 2u; });
    };
    while (game.play.m_iTickCount < 154 && !paired()) game.Run({}, game.play.m_iTickCount + 1);
    for (const auto& [b, cell] : homes) {
        SCOPED_TRACE(b->GetDisplayName());
        EXPECT_EQ(std::tuple(b->m_iHostileMode, b->m_Opponents.size()), std::tuple(1, 2u));
    }
    EXPECT_EQ(beasts(kDeepGroup), deeper);
    for (const auto& [b, cell] : deeper) EXPECT_EQ(b->m_iHostileMode, 0) << b->GetDisplayName();
}

}  // namespace
