// The start world the data program writes: the slot folder "original" with
// its world file, lands, pictures, "Position" and "players", which the game
// brings into play as a new player meets it: every wall, door, lamp, shrub
// and creature where the data program put it and drawn with a picture, the
// yard's door opening for the hero, and a first view lit but for what lies
// behind the yard's wall.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/PowerCube.h"
#include "items/Store.h"
#include "media/Resources.h"
#include "platform/Surface.h"
#include "structures/GlobalImages.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "structures/Walls.h"
#include "support/GameFolder.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/RandomEncounter.h"

namespace {

namespace fs = std::filesystem;
using game_test::FrameOn;
using game_test::GameFolder;

// A game folder with the start world written into it.
struct WrittenWorld : GameFolder {
    WrittenWorld() : GameFolder("startworld", true) {}
    // Where the party's leader starts, as "players" keeps it.
    Position Start() const {
        World scratch;
        scratch.CreateRootGroups();
        const std::unique_ptr<Group> party = savefile::ReadPlayersFrom(File("players"), "players");
        const Position start = party->Members().front()->m_Position;
        party->RemoveFromMap();
        return start;
    }
};

// How near a thing may come to a wall piece's line or the party's start.
constexpr int32_t kClear = 24;

// The game as it starts on a game folder: the start world read, the shared
// pictures handed to the map (so that the map scatters its scenery as in
// play), the window filled around the focus, and the first tick run.
struct StartedGame : FrameOn {
    CMainFrame& frame = FrameOn::frame;
    MapMaster* map = frame.m_World.map_master.get();
    explicit StartedGame(const fs::path& game) : FrameOn(game, true) {
        EXPECT_EQ(frame.m_Play.Saves().OpenStartWorld(), 1);
        // As the start of play's worker leaves them: built and filled.
        LoadGlobalImages(nullptr);
        ReloadGlobalImages(&frame.m_World);
        EXPECT_TRUE(frame.m_Play.Saves().TryReloadWindowAtFocus());
        frame.m_iStage = 3;
        frame.RunTick();
        EXPECT_EQ(frame.m_Play.m_iStartState, 0);
    }
    // Every holder listed in the window's cells, once.
    std::set<ObjectHolder*> Placed() const {
        std::set<ObjectHolder*> holders;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map->GetCell(i, j).holders) holders.insert(h);
        return holders;
    }
    // The yard's door.
    FrontDoorBrick* Door() const {
        for (ObjectHolder* h : Placed())
            if (auto* d = dynamic_cast<FrontDoorBrick*>(h->m_pObject)) return d;
        return nullptr;
    }
    // The client point of the view that shows a world point.
    qv::Point ClientPointOf(const Position& p) const {
        const CellPoint d =
            map->PixelDeltaOf(Position(frame.m_World.m_ptFocus.x, frame.m_World.m_ptFocus.y, 0), p);
        return {frame.m_View.m_ptViewOrigin.x + frame.m_View.m_ptViewCentre.x + d.x - d.y,
                frame.m_View.m_ptViewOrigin.y + frame.m_View.m_ptViewCentre.y + d.y};
    }
};

// What a land file holds: the class, name and place of each of its objects.
struct Kept {
    std::string kind, name;
    Position pos;
};

std::vector<Kept> KeptIn(const std::vector<uint8_t>& bytes, const std::string& file) {
    World scratch;
    scratch.CreateRootGroups();
    std::vector<Kept> kept;
    const std::unique_ptr<Land> land = Land::FromBytes(bytes, file);
    for (ObjectHolder* h : land->holders)
        kept.push_back(
            {h->m_pObject->GetRuntimeClass()->name, h->m_pObject->m_strSpecialName, h->pos});
    return kept;
}

// How many pixels an object paints when drawn at full light, hot spot in the
// middle of a surface that starts see-through.
int PaintedPixels(Object* object, const Position& pos) {
    qv::Surface surface(600, 600);
    surface.Fill(0);
    object->Draw(&surface, {300, 400}, surface.Bounds(), pos, 1);
    int painted = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x) painted += surface.GetPixel(x, y) != 0;
    return painted;
}

TEST(StartWorld, TheOriginalSlotHoldsAWorldThatStartUpBringsIntoPlay) {
    const WrittenWorld written;
    const fs::path& dir = written.dir;
    for (const char* file :
         {"start.qvr", "Position", "players", "world.lnd", "Meadow.lnd", "Shore.lnd", "Woods.lnd",
          "NNAttack.dat", "NNDefense.dat", "NNEvade.dat", "NNSPAS.dat", "NNDSS.dat", "NNES.dat"})
        EXPECT_TRUE(fs::exists(dir / "original" / file)) << file;
    EXPECT_TRUE(fs::exists(dir / "Images" / "Meadow.bmp"));
    EXPECT_TRUE(fs::exists(dir / "Books.smb"));
    {  // the woods' encounters: rats and a snake, times 30 and 60
        World scratch;
        scratch.CreateRootGroups();
        auto woods = Land::FromBytes(written.File("Woods.lnd"), "Woods.lnd");
        woods->ComputeEncounterRate();
        EXPECT_EQ(std::tuple(woods->encounters[0]->GetDisplayName(), woods->encounterinterval),
                  std::tuple("Rats [30]", 40000.0));
    }
    EXPECT_FALSE(fs::exists(dir / "saved"));
    EXPECT_FALSE(fs::exists(dir / "start-world.part"));
    // Written again, the slot is replaced whole.
    WriteStartWorld(dir.string());
    EXPECT_FALSE(fs::exists(dir / "original.old"));

    FrameOn on(dir);
    CMainFrame& frame = on.frame;
    ASSERT_EQ(frame.m_Play.Saves().OpenStartWorld(), 1);
    EXPECT_EQ(std::tuple(frame.m_Play.Saves().WorldFile(), frame.m_Play.PartyChoices().PlayerName(),
                         frame.m_Play.PartyChoices().DogName()),
              std::tuple("start.qvr", "Korr", "Kaleb"));
    // The default formation: slot 1 stands 25 pixels down and right.
    EXPECT_EQ(std::tuple(frame.m_Play.PartyChoices().FormationOffsets()[1],
                         frame.m_Play.PartyChoices().FormationOffsets()[5]),
              std::tuple(qv::Point{25, 25}, qv::Point{55, -40}));
    MapMaster& map = *frame.m_World.map_master;
    EXPECT_EQ(std::tuple(map.worldcellx, map.worldcelly), std::tuple(100, 80));
    // The party waits in "players" for its first move into its land: a
    // character and its dog, actors 234 and 235, the dog in party slot 1.
    const auto party =
        savefile::ReadPlayersFrom(qv::ReadWholeFile((dir / "tmp" / "players").string()), "players");
    ASSERT_EQ(std::tuple(party->Members().size(), party->m_iOwnGroupNum), std::tuple(2u, 1));
    const auto* character = dynamic_cast<Player*>(party->Members().front());
    const auto* dog = dynamic_cast<Player*>(party->Members().back());
    ASSERT_TRUE(character && dog);
    EXPECT_EQ(std::tuple(character->m_iPlayerNumber, character->m_strSpecialName),
              std::tuple(234, "Korr"));
    EXPECT_EQ(std::tuple(dog->m_iPlayerNumber, dog->m_strSpecialName, dog->m_iPartySlot),
              std::tuple(235, "Kaleb", 1));
    party->RemoveFromMap();

    // The first move into the land brings the party to its place in the
    // meadow, around the focus, and the leader is the one controlled.
    frame.m_Play.MoveToLand();
    Player* hero = frame.m_World.m_pLeader.Get();
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->m_strSpecialName, "Korr");
    EXPECT_EQ(frame.m_World.m_pControlPlayer.Get(), hero);
    // Armed and dressed, with a spare knife and a purse of 60 gold in the
    // pack.
    ASSERT_TRUE(hero->m_pMeleeWeapon.Get() && hero->m_WornList.size() == 1u &&
                hero->m_pBag->Items().size() == 2u);
    EXPECT_EQ(
        std::tuple(hero->m_pMeleeWeapon->m_strSpecialName, hero->m_WornList[0]->m_strSpecialName,
                   hero->m_pBag->Items()[0]->m_strSpecialName, hero->m_pBag->Items()[1]->Type(),
                   Play::GoldOf(hero)),
        std::tuple("Sword", "Leather Shirt", "Dagger", MONEY, int64_t{60}));
    // The shop keeper's stall: two potions of healing, one of mana, a sword,
    // a helm and a shirt, and 100 gold to buy with.
    const Store* stall = frame.m_Play.Trade().FindStore(1);
    ASSERT_NE(stall, nullptr);
    EXPECT_EQ(std::tuple(stall->Items().size(), stall->m_iGold), std::tuple(6u, 100));
    // The hero knows three Earth spells and has the mana for them.
    ASSERT_NE(hero->m_pMagic, nullptr);
    const Magic& magic = *hero->m_pMagic;
    EXPECT_EQ(std::tuple(magic.m_SpellList.size(), magic.m_uMana, magic.m_fEarthSkill),
              std::tuple(3u, 30u, 15.0f));
    for (const auto& spell : magic.m_SpellList) EXPECT_EQ(spell->GetSchool(), SpellSchool::Earth);
    // Followers have their places from the start, turned to the leader's
    // facing.
    EXPECT_EQ(frame.m_World.m_FormationRows[1][1], (qv::Point{-25, 25}));
    ASSERT_NE(hero->m_pHolder, nullptr);
    EXPECT_EQ(std::tuple(hero->m_pHolder->pos.x, hero->m_pHolder->pos.y),
              std::tuple(frame.m_World.m_ptFocus.x + 10, frame.m_World.m_ptFocus.y + 10));
    CellPoint wc;
    ASSERT_TRUE(map.WindowCellOf(hero->m_pHolder->pos, wc));
    ASSERT_NE(map.GetCell(wc.x, wc.y).land, nullptr);
    EXPECT_EQ(map.GetCell(wc.x, wc.y).land->m_strSpecialName, "Meadow");
    EXPECT_TRUE(map.GetCell(wc.x, wc.y).holders.Find(hero->m_pHolder));
    // With the party there, a step of the world lights the meadow by its own
    // steady daylight.
    int32_t now = 100;
    frame.m_Play.RunWorld(&now);
    ASSERT_NE(frame.m_Play.Travelling().CurrentLand(), nullptr);
    EXPECT_EQ(std::tuple(frame.m_Play.Travelling().CurrentLand()->m_strSpecialName, map.daylight),
              std::tuple("Meadow", 100));
}

TEST(StartWorld, TheGameFindsEveryPieceWhereTheDataProgramPutItWithAPicture) {
    // The lands that meet the start's window. A yard of 6 x 6 cells: 11
    // front pieces and the door, 12 side pieces, and a peg on each of the 24
    // corners around it; the yard's two lamps (the shore's beacon lies east
    // of the window), the woods' three wolves, two rats, snake and goblin
    // (group 2), the monster generator among the trees, and three villagers, the miller, the weaver
    // and the shop keeper (group 3). In the yard a chest holding seven things, a barrel, a rain
    // barrel and a bed; outside, two shrubs, three things on the ground, a power cube and the stand
    // that charges it.
    const std::map<std::string, int> kept{{"FrontWall", 11},
                                          {"FrontDoorBrick", 1},
                                          {"SideWall", 12},
                                          {"Peg", 24},
                                          {"LightSource", 2},
                                          {"Shrub", 2},
                                          {"Human", 3},
                                          {"DarkHound", 3},
                                          {"GiantRatGrey", 1},
                                          {"GiantRatBrown", 1},
                                          {"Snake", 1},
                                          {"Goblin", 1},
                                          {"Chest", 1},
                                          {"Bed", 1},
                                          {"Barrel", 2},
                                          {"Shield", 1},
                                          {"Mace", 1},
                                          {"Cape", 1},
                                          {"PowerCube", 1},
                                          {"PowerCubeStand", 1},
                                          {"MonsterGenerator", 1},
                                          {"Sign", 1},
                                          {"Letter", 1}};
    const WrittenWorld written;
    std::vector<Kept> expected;
    for (const char* land : {"Meadow.lnd", "Woods.lnd"})
        for (const Kept& k : KeptIn(written.File(land), land)) expected.push_back(k);
    std::map<std::string, int> kinds;
    for (const Kept& k : expected) ++kinds[k.kind];
    EXPECT_EQ(kinds, kept);
    // Nothing a player finds stands in a wall piece's band or where the
    // party starts: the front walls run along their cells' top edges, the
    // side walls along their left edges.
    const Position start = written.Start();
    for (const Kept& k : expected) {
        if (k.kind.find("Wall") != std::string::npos || k.kind == "FrontDoorBrick" ||
            k.kind == "Peg")
            continue;
        SCOPED_TRACE(k.kind + " at " + std::to_string(k.pos.x) + ", " + std::to_string(k.pos.y));
        EXPECT_FALSE(std::abs(k.pos.x - start.x) < kClear && std::abs(k.pos.y - start.y) < kClear);
        for (const Kept& w : expected) {
            const bool front = w.kind == "FrontWall" || w.kind == "FrontDoorBrick";
            if (!front && w.kind != "SideWall") continue;
            const int32_t halfW = front ? MapMaster::CellWidth / 2 : kClear;
            const int32_t halfH = front ? kClear : MapMaster::CellHeight / 2;
            EXPECT_FALSE(std::abs(k.pos.x - w.pos.x) < halfW && std::abs(k.pos.y - w.pos.y) < halfH)
                << "inside " << w.kind << " at " << w.pos.x << ", " << w.pos.y;
        }
    }

    StartedGame game(written.dir);
    MapMaster& map = *game.map;
    map.SetFullLight(true);
    // No land in memory kept back a piece: all of them fitted.
    for (Land* land : map.loadedlands) {
        SCOPED_TRACE(land->m_strSpecialName);
        for (ObjectHolder* h : land->holders) {
            CellPoint wc;
            EXPECT_FALSE(map.WindowCellOf(h->pos, wc))
                << h->m_pObject->m_strSpecialName << " was refused at " << h->pos.x << ", "
                << h->pos.y;
        }
    }
    // The window holds what the lands keep and nothing more, besides the
    // party and the scenery scattered over the ground.
    const std::set<ObjectHolder*> placed = game.Placed();
    std::map<std::string, int> shown, keptButScenery = kept;
    keptButScenery.erase("Shrub");
    for (ObjectHolder* h : placed) {
        Object* o = h->m_pObject;
        auto* creature = dynamic_cast<Player*>(o);
        if (!o || (creature && creature->m_pGroup && creature->m_pGroup->m_iOwnGroupNum == 1) ||
            (dynamic_cast<Scenery*>(o) && !dynamic_cast<Bed*>(o) && !dynamic_cast<Container*>(o)))
            continue;
        ++shown[o->GetRuntimeClass()->name];
    }
    EXPECT_EQ(shown, keptButScenery);
    int rainBarrels = 0;
    for (const Kept& k : expected) {
        SCOPED_TRACE(k.kind + " " + k.name + " at " + std::to_string(k.pos.x) + ", " +
                     std::to_string(k.pos.y));
        ObjectHolder* found = nullptr;
        for (ObjectHolder* h : placed)
            if (h->m_pObject && h->m_pObject->GetRuntimeClass()->name == k.kind &&
                h->m_pObject->m_strSpecialName == k.name && h->pos == k.pos)
                found = h;
        ASSERT_NE(found, nullptr) << "not where the data program put it";
        Object* o = found->m_pObject;
        if (auto* creature = dynamic_cast<Player*>(o)) {
            // In its group (the villagers 3, the beasts of the clearing 2,
            // those deeper in the woods, from row 44 on, 4); today it shows
            // its hit-point bar.
            ASSERT_NE(creature->m_pGroup, nullptr);
            const int32_t beasts = MapMaster::PixelToCell(k.pos).y < 44 ? 2 : 4;
            EXPECT_EQ(creature->m_pGroup->m_iOwnGroupNum, k.kind == "Human" ? 3 : beasts);
            EXPECT_GT(PaintedPixels(o, found->pos), 0);
            continue;
        }
        if (auto* light = dynamic_cast<LightSource*>(o)) {
            EXPECT_EQ(light->m_bVisible, 1);
        }
        if (auto* chest = dynamic_cast<Chest*>(o)) {
            EXPECT_EQ(chest->GetBag()->Items().size(), 7u);
        }
        if (auto* barrel = dynamic_cast<Barrel*>(o)) rainBarrels += barrel->m_bRainBarrel ? 1 : 0;
        // Whatever a player finds has a picture of its own, not the plain
        // object's; the rest are pieces of the place.
        if (o->Type() == USEABLE || dynamic_cast<Container*>(o) || dynamic_cast<Bed*>(o)) {
            EXPECT_NE(o->GetImage(), nullptr);
            EXPECT_NE(o->GetImage(), &Object::ClassImage());
            continue;
        }
        // The woods' generator, deep among the trees north of the pack and
        // out of the party's reach at the start, shows itself only to the
        // world maker; it sends rats, grey or brown, or snakes.
        if (auto* generator = dynamic_cast<MonsterGenerator*>(o)) {
            EXPECT_EQ(PaintedPixels(o, found->pos), 0);
            EXPECT_EQ(MapMaster::PixelToCell(found->pos), (CellPoint{33, 44}));
            EXPECT_GT(map.PixelDistanceSq(game.frame.m_World.m_pLeader->m_pHolder->pos, found->pos),
                      int64_t{Play::kGeneratorReach} * Play::kGeneratorReach);
            std::set<std::string> sent;
            for (Member* m : generator->m_pTemplates->Members())
                sent.insert(static_cast<Player*>(m)->GetRuntimeClass()->name);
            EXPECT_EQ(sent, (std::set<std::string>{"GiantRatGrey", "GiantRatBrown", "Snake"}));
            continue;
        }
        if (dynamic_cast<PowerCube*>(o) || dynamic_cast<PowerCubeStand*>(o)) {
            EXPECT_NE(o->GetImage(), nullptr);
            continue;
        }
        // Drawn, the piece paints its picture; walls the picture of their own.
        EXPECT_GT(PaintedPixels(o, found->pos), 100);
        if (auto* wall = dynamic_cast<Wall*>(o)) {
            EXPECT_NE(wall->GetLook(), nullptr);
        }
    }
    EXPECT_EQ(rainBarrels, 1);
    map.SetFullLight(false);
}

TEST(StartWorld, TheFirstViewIsLitButForWhatLiesBehindTheYardsWall) {
    // The map lights the cells in sight of the focus and leaves the others
    // black (their light samples -1). At the start every cell of the view
    // in sight range is lit but those behind the yard's south wall.
    const WrittenWorld written;
    StartedGame game(written.dir);
    MapMaster& map = *game.map;
    FrontDoorBrick* door = game.Door();
    ASSERT_NE(door, nullptr);
    const int32_t wallRow = door->m_pHolder->pos.y / MapMaster::CellHeight;
    CellPoint focus;
    ASSERT_TRUE(map.CellToWindow(map.focuscell, focus));
    int lit = 0, dark = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -5; dx <= 5; ++dx) {
            // A cell the view shows some of: a corner of it lies in the view.
            const int32_t cx = map.focuscell.x + dx, cy = map.focuscell.y + dy;
            bool shown = false;
            for (int corner = 0; corner < 4; ++corner) {
                const Position p(cx * MapMaster::CellWidth + (corner % 2) * MapMaster::CellWidth,
                                 cy * MapMaster::CellHeight + (corner / 2) * MapMaster::CellHeight,
                                 0);
                shown = shown || game.frame.m_View.m_rcView.Contains(game.ClientPointOf(p));
            }
            if (!shown) continue;
            SCOPED_TRACE("cell offset " + std::to_string(dx) + ", " + std::to_string(dy));
            const int i = focus.x + dx, j = focus.y + dy;
            ASSERT_NE(map.GetCell(i, j).image, nullptr) << "a cell of the view is not filled";
            for (int si = 0; si < MapMaster::SamplesX; ++si)
                for (int sj = 0; sj < MapMaster::SamplesY; ++sj) {
                    const int32_t sample = map.GetSample(i, j, si, sj);
                    const bool behindWall = cy < wallRow;
                    if (sample < 0) {
                        ++dark;
                        EXPECT_TRUE(behindWall) << "a cell before the wall is out of sight";
                    } else {
                        ++lit;
                        EXPECT_GT(sample, 64) << "a lit piece is dim";
                    }
                }
        }
    EXPECT_GT(lit, 3 * dark);
}

TEST(StartWorld, HeldTowardTheWallTheHeroWalksAlongItWhileAClickGoesThroughTheYardsDoor) {
    // The held left button walks the leader a step toward the cursor at a
    // time, stopped by what blocks it and sliding along it; a right click
    // finds a way there, through the yard's door, which opens for the hero.
    struct Row {
        const char* rule;
        bool held;
        bool byDoor;  // the goal beyond the door, else up the view from the hero
        int past;     // the walk ends this far past the wall's line
        int ticks;
        bool inside;  // the hero ends in the yard
    };
    const Row rows[] = {
        {"held: to the wall and along it", true, false, kWallBand, 150, false},
        {"clicked up the view: round by the door", false, false, kWallBand, 150, true},
        {"clicked beyond the door: through it onto the paving", false, true, 39, 200, true},
    };
    const WrittenWorld written;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        StartedGame game(written.dir);
        CMainFrame& frame = game.frame;
        Player* hero = frame.m_World.m_pLeader.Get();
        ASSERT_TRUE(hero && hero->m_pHolder);
        // The door stands shut in the middle of the yard's south wall, in
        // the view, in front of the hero.
        FrontDoorBrick* door = game.Door();
        ASSERT_NE(door, nullptr);
        EXPECT_FALSE(door->IsOpen());
        const Position doorAt = door->m_pHolder->pos;
        const int32_t wallY = doorAt.y;
        EXPECT_TRUE(frame.m_View.m_rcView.Contains(game.ClientPointOf(doorAt)));
        EXPECT_LT(wallY, hero->m_pHolder->pos.y);
        // Beyond the door 60 inside the yard; or straight up the view from
        // the hero: up and to the left in the world, behind the wall west
        // of the door.
        const Position goal = r.byDoor ? Position(doorAt.x, wallY - 60, 0)
                                       : Position(hero->m_pHolder->pos.x - 150, wallY - 40, 0);
        const qv::Point at = game.ClientPointOf(goal);
        ASSERT_TRUE(frame.m_View.m_rcView.Contains(at));
        frame.OnMouseMove(at);
        if (r.held) {
            frame.OnLButtonDown(at);
        } else {
            frame.OnRButtonDown(at);
            frame.RunTick();
            frame.OnRButtonUp(at);
        }
        Position last = hero->m_pHolder->pos;
        int still = 0, longestStill = 0;
        for (int tick = 0; tick < r.ticks; ++tick) {
            frame.m_ptCursor = at;
            frame.RunTick();
            ASSERT_NE(hero->m_pHolder, nullptr);
            still = hero->m_pHolder->pos == last ? still + 1 : 0;
            longestStill = std::max(longestStill, still);
            last = hero->m_pHolder->pos;
            if (hero->m_pHolder->pos.y < wallY - r.past) break;
        }
        if (r.held) {
            frame.OnLButtonUp(at);
            // Never more than a few ticks without a step while held.
            EXPECT_LE(longestStill, 4);
        }
        // Past the wall's line within the yard's width (the held walk has
        // slid along the wall, west of the door, and bumped it open on its way).
        EXPECT_EQ(hero->m_pHolder->pos.y < wallY, r.inside);
        if (!r.inside) continue;
        EXPECT_TRUE(door->IsOpen());
        EXPECT_LT(hero->m_pHolder->pos.y, wallY - r.past) << "the hero stayed outside";
        CellPoint wc;
        ASSERT_TRUE(game.map->WindowCellOf(hero->m_pHolder->pos, wc));
        EXPECT_EQ(game.map->GetCell(wc.x, wc.y).terrain, 2) << "the yard is paved";
    }
}

TEST(StartWorld, BesideTheHeroInTheYardTheChestBedAndBarrelsAreDrawn) {
    // Standing on the yard's paving a cell away from each of its things, the
    // hero sees it: its picture changes most of the pixels it covers in the
    // view (the hero may hide a few), against the same frame drawn with the
    // thing passed over (a tagged object is not drawn).
    struct Row {
        const char* kind;
        int rain;      // the barrel's kind; -1 for what is not a barrel
        int32_t side;  // the hero a cell west (-1) or east (+1) of it
    };
    const Row rows[] = {{"Chest", -1, +1}, {"Bed", -1, -1}, {"Barrel", 0, -1}, {"Barrel", 1, +1}};
    constexpr int kDrawnPixels = 600;  // of a picture of about 1,200
    const WrittenWorld written;
    StartedGame game(written.dir);
    CMainFrame& frame = game.frame;
    Player* hero = frame.m_World.m_pLeader.Get();
    ASSERT_TRUE(hero && hero->m_pHolder);
    const auto scene = [&] {
        frame.DrawFrame(0);
        const qv::Surface& s = *frame.m_View.m_pViewSurface;
        return std::vector<uint16_t>(s.Pixels(), s.Pixels() + s.Pitch() * s.Height());
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.kind) + " " + std::to_string(r.rain));
        ObjectHolder* thing = nullptr;
        for (ObjectHolder* h : game.Placed()) {
            auto* barrel = dynamic_cast<Barrel*>(h->m_pObject);
            if (h->m_pObject && h->m_pObject->GetRuntimeClass()->name == std::string(r.kind) &&
                (!barrel || barrel->m_bRainBarrel == r.rain))
                thing = h;
        }
        ASSERT_NE(thing, nullptr);
        const Position beside(thing->pos.x + r.side * MapMaster::CellWidth, thing->pos.y, 0);
        Position from = hero->m_pHolder->pos;
        ASSERT_EQ(game.map->MoveHolder(from, beside, hero->m_pHolder), 1);
        hero->m_Position = hero->m_pHolder->pos;
        frame.m_World.m_ptFocus = {beside.x, beside.y};
        frame.RunTick();
        CellPoint wc;
        ASSERT_TRUE(game.map->WindowCellOf(hero->m_pHolder->pos, wc));
        EXPECT_EQ(game.map->GetCell(wc.x, wc.y).terrain, 2) << "on the yard's paving";
        const std::vector<uint16_t> with = scene();
        EXPECT_EQ(thing->m_pObject->m_bNotDrawn, 0);
        thing->m_pObject->m_iTag = 1;
        const std::vector<uint16_t> without = scene();
        thing->m_pObject->m_iTag = 0;
        int changed = 0;
        for (size_t k = 0; k < with.size(); ++k) changed += with[k] != without[k];
        EXPECT_GT(changed, kDrawnPixels);
    }
}

// The number of the first byte where two files differ, or -1 when equal.
long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

TEST(StartWorld, ReadAndWrittenAgainByTheGameEveryFileStaysAsItWas) {
    // What the data program writes is what the game keeps: each file read by
    // the game's reader and written again by its writer comes out byte for
    // byte as it was, so that no value the reader derives differs from the
    // one written (the creatures' levels, hit points and experience).
    const WrittenWorld written;
    {
        SCOPED_TRACE("players");
        World world;
        world.CreateRootGroups();
        const std::vector<uint8_t> bytes = written.File("players");
        std::unique_ptr<Group> party = savefile::ReadPlayersFrom(bytes, "players");
        EXPECT_EQ(FirstDifference(savefile::StorePlayers(*party), bytes), -1);
        party->RemoveFromMap();
    }
    {
        SCOPED_TRACE("start.qvr");
        // Read and written by a frame whose working folder holds a copy of
        // the slot (writing the world writes its lands as well).
        const fs::path work = written.dir / "work";
        fs::create_directories(work);
        for (const auto& entry : fs::directory_iterator(written.dir / "original"))
            fs::copy_file(entry.path(), work / entry.path().filename());
        FrameOn on(written.dir);
        CMainFrame& frame = on.frame;
        frame.m_Play.Saves().SetGameFolder(written.dir.string() + "/");
        frame.m_Play.Saves().SetCurrentFolder(work.string() + "/");
        frame.m_Play.Saves().SetLoadingGame(1);
        ASSERT_EQ(frame.m_Play.Saves().LoadWorldFile("start.qvr"), 1);
        ASSERT_EQ(frame.m_Play.Saves().SaveWorldFile("again.qvr"), 1);
        EXPECT_EQ(FirstDifference(qv::ReadWholeFile((work / "again.qvr").string()),
                                  written.File("start.qvr")),
                  -1);
        for (const char* land : {"world.lnd", "Meadow.lnd", "Shore.lnd", "Woods.lnd"})
            EXPECT_EQ(
                FirstDifference(qv::ReadWholeFile((work / land).string()), written.File(land)), -1)
                << land;
    }
    for (const char* file : {"world.lnd", "Meadow.lnd", "Shore.lnd", "Woods.lnd"}) {
        SCOPED_TRACE(file);
        World world;
        world.CreateRootGroups();
        const std::vector<uint8_t> bytes = written.File(file);
        const std::unique_ptr<Land> land = Land::FromBytes(bytes, file);
        EXPECT_EQ(FirstDifference(land->StoreBytes(), bytes), -1);
    }
}

}  // namespace
