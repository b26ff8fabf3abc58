// The start world the game ships, made by the game's own classes and writers:
// a world of 100 x 80 cells with a meadow, a lake shore and woods (each with
// its ambient sounds, its calm tune and its battle tune), a walled yard with a
// door, light sources, scenery, two groups of creatures, a monster generator
// and random encounters in the woods and the party, a character and a dog, written into the slot
// folder "original" of a game folder.
//
// Everything is put together in a staging game folder beside it and the
// finished slot folder takes the place of the old one, so a run that fails
// leaves the previous start world, and the game folder's saved games and
// working folder are never touched.

#include "data/StartWorld.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "creatures/Species.h"
#include "creatures/TrainingRecords.h"
#include "data/StartTalk.h"
#include "items/Armour.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/Missile.h"
#include "items/Money.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/Spell.h"
#include "items/SpellsEarth.h"
#include "items/Store.h"
#include "items/Weapon.h"
#include "media/DIBitmap.h"
#include "platform/Files.h"
#include "play/Play.h"
#include "shell/MainFrm.h"
#include "structures/Furnishings.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "structures/Walls.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/RandomEncounter.h"
#include "world/UnusedNumbers.h"

namespace {

constexpr int32_t kWorldW = 100;
constexpr int32_t kWorldH = 80;
// Picture pixels and the cell codes they give (Land::CellCodeOfPixel). Grass
// and the light wood are scattered with shrubs and trees when their cells are
// filled; the lawn and the paving are left as they are, so that nothing the
// map scatters stands where a wall piece goes.
constexpr uint8_t kGrass = 8;      // code 0
constexpr uint8_t kLightWood = 9;  // code 5
constexpr uint8_t kLawn = 11;      // code 12
constexpr uint8_t kSand = 16;      // code 1
constexpr uint8_t kPaving = 24;    // code 2
constexpr uint8_t kWater = 32;     // code 3
// The lands' steady daylight levels (the map's daylight is the level + 1).
constexpr int32_t kBright = 99;
constexpr int32_t kShaded = 60;
const char* const kWorldFile = "start.qvr";
// The hero's mana and Earth skill: enough for six casts, each likely to
// succeed.
constexpr uint32_t kHeroMana = 30;
constexpr float kHeroEarthSkill = 15.0f;
// The tunes the data program writes into "Music": the lands' calm tune and
// their battle tune.
constexpr int32_t kLandTune = 1;
constexpr int32_t kBattleTune = 2;
// The party: the character and its dog (Play::kPlayerActor and kDogActor),
// whose names a new game keeps when the player leaves the new character's
// names empty.
const char* const kCharacterName = "Korr";
const char* const kDogName = "Kaleb";
constexpr int32_t kDogSlot = 1;

// The walled yard: cells kYardLeft to kYardRight - 1 across and kYardTop to
// kYardBottom - 1 down, paved, in a ring of lawn one cell wide; its door in
// the middle of the south wall.
constexpr int kYardLeft = 22, kYardRight = 28, kYardTop = 20, kYardBottom = 26;
constexpr int kDoorColumn = 25;
// The door's key: any key of this number opens it; it is not locked.
constexpr int kDoorKey = 1;
// Where the party starts: south of the door, the wall and its lamps in view.
constexpr int kStartCellX = kDoorColumn, kStartCellY = kYardBottom;
constexpr int kStartX = 80, kStartY = 100;
// The creatures' levels: a creature has its species' hit points a level, and
// one more level's worth (a human 10 a level, a hound or a dog 9).
constexpr int32_t kHeroLevel = 3, kDogLevel = 2, kVillagerLevel = 2, kWolfLevel = 1;
// The woods' monster generator: deep in the trees, north of where the
// pack keeps, out of reach of a fight at the clearing nearest the yard, so
// that only a party going on toward the pack comes near it. It sends a
// group of one of the woods' kinds, and while that fight runs a fallen party
// gets up again instead of ending the game (its mode 1) and wakes at the
// exit, outside the yard's door, out of its reach.
constexpr int kGeneratorCellX = 33, kGeneratorCellY = 44;
constexpr int32_t kGeneratorMode = 1;
constexpr int32_t kGeneratorExitX = kDoorColumn - kGeneratorCellX;
constexpr int32_t kGeneratorExitY = kYardBottom + 1 - kGeneratorCellY;
const char* const kGeneratorKinds[] = {"GiantRatGrey", "GiantRatBrown", "Snake"};
// The woods' random encounters: beasts a new party can beat, one or two at a
// time, each kind met about once in its time x 2000 units of game time.
struct Encounter {
    const char* name;
    const char* kinds[2];  // null: one creature only
    int32_t time;
};
const Encounter kWoodsEncounters[] = {{"Rats", {"GiantRatGrey", "GiantRatBrown"}, 30},
                                      {"Snake", {"Snake", nullptr}, 60}};
// The woods' beasts keep together in two groups: those at the clearing
// nearest the yard, and those deeper in the trees.
constexpr int32_t kBeastGroup = 2;
constexpr int32_t kDeepGroup = 4;
// The character's purse, and the shop keeper's: what it asks and pays, in
// percent of a thing's value, and the gold it pays with.
constexpr int32_t kHeroGold = 60;
constexpr int32_t kStoreSellPercent = 100, kStoreBuyPercent = 50, kStoreGold = 100;

Position CellPos(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * MapMaster::CellWidth + dx, cy * MapMaster::CellHeight + dy, 0};
}

struct Maker {
    CMainFrame& frame;
    MapMaster& map;
    LandGraph* tree;
    std::string stage;
    int32_t nextPlayerNumber = 0;

    // A land of w x h cells at `origin`, its picture filled with `ground`
    // and painted by `paint`, kept in its file once `fill` has given it its
    // objects.
    template <class Paint, class Fill>
    void AddLand(const std::string& name, CellPoint origin, int w, int h, uint8_t ground,
                 int32_t light, Paint paint, Fill fill) {
        CDIBitmap picture(w, h);
        picture.FillRect(0, 0, w, h, ground);
        paint(picture);
        if (!picture.Save(stage + "Images/" + name + ".bmp"))
            throw qv::FileError(qv::FileError::Other, name + ".bmp");
        Land land(name);
        land.bitmapname = name + ".bmp";
        land.hasbitmap = 1;
        land.lightlevel = light;  // a steady daylight of light + 1
        land.tune = kLandTune;
        land.combattune = kBattleTune;
        // Where the party walks, the wind blows and birds and owls call.
        land.ambient = 1;
        land.origin = origin;
        land.bounds = {origin.x, origin.y, origin.x + w, origin.y + h};
        fill(land);
        auto info = std::make_unique<LandInfo>(name + ".lnd", &land);
        info->land = nullptr;
        tree->Insert(std::move(info), &map, 1);
    }
    // A creature kept in a land stays about its cell when left alone, as one
    // put down by the editor does.
    static void Keep(Land& land, Object* object, const Position& pos) {
        if (auto* creature = dynamic_cast<Player*>(object)) {
            const CellPoint home = MapMaster::PixelToCell(pos);
            creature->m_ptStay = {home.x, home.y};
        }
        land.KeepHolder(new ObjectHolder(pos, object));
    }
    // A creature kept whole with its template group, as a random encounter's
    // and a generator's are: no player number of the world's is theirs. It
    // attacks whoever comes near.
    static Player* TemplateBeast(const char* kind) {
        Player* p = Species::Make(kind).release();
        p->m_bGrouped = 1;
        p->m_iActionOption = ActionOption::Attack;
        p->SetLevel(kWolfLevel);
        p->m_iHitPoints = p->m_iMaxHitPoints;
        return p;
    }
    // A beast of the woods: it attacks whoever comes near.
    Player* Beast(const std::string& name, const std::string& kind, int32_t group) {
        Player* p = Creature(name, group, kWolfLevel, kind);
        p->m_iActionOption = ActionOption::Attack;
        return p;
    }
    // A creature of the species stored under `kind` (a plain creature when
    // there is none), of the level given and unhurt, as the game keeps it:
    // reading a creature derives its level, maximum hit points and
    // experience pools from the pools, so these are written as that makes
    // them (a level below 1 would be read as level 1), and it gives a
    // creature without a player number the next free one, so each has its
    // own.
    Player* Creature(const std::string& name, int32_t group, int32_t level,
                     const std::string& kind = "Human") {
        Player* p = Species::Make(kind).release();
        if (!p) p = new Player;
        p->SetName(name);
        p->m_iGroupNum = group;
        p->m_iPlayerNumber = nextPlayerNumber++;
        p->SetLevel(std::max(level, 1));
        p->m_iHitPoints = p->m_iMaxHitPoints;
        return p;
    }
};

// The yard's walls: front pieces on the north edges of its top and bottom
// rows, the door among them, side pieces on the west edges of its left and
// right columns, and a peg on every corner of every piece, which closes the
// joints. Each piece is kept where the map would snap it.
void MakeYard(Land& land) {
    for (int x = kYardLeft; x < kYardRight; ++x) {
        Wall* south = x == kDoorColumn ? new FrontDoorBrick : new FrontWall;
        if (x == kDoorColumn) {
            south->m_iItemNum = kDoorKey;
            south->m_iState = Wall::kDoorClosed;
            // The yard's people leave the door alone: a door they worked
            // at idle would shut the view of whoever stands by it.
            south->m_bInteract = 0;
        }
        Maker::Keep(land, south, CellPos(x, kYardBottom, 80, 0));
        Maker::Keep(land, new FrontWall, CellPos(x, kYardTop, 80, 0));
    }
    for (int y = kYardTop; y < kYardBottom; ++y)
        for (int x : {kYardLeft, kYardRight}) Maker::Keep(land, new SideWall, CellPos(x, y, 0, 56));
    for (int x = kYardLeft; x <= kYardRight; ++x)
        for (int y = kYardTop; y <= kYardBottom; ++y)
            if (x == kYardLeft || x == kYardRight || y == kYardTop || y == kYardBottom)
                Maker::Keep(land, new Peg, CellPos(x, y, 0, 0));
}

}  // namespace

void WriteStartWorld(const std::string& gameFolder) {
    std::string game = gameFolder;
    if (game.empty() || (game.back() != '/' && game.back() != '\\')) game += '/';
    const std::string stage = game + "start-world.part/";
    qv::RemoveFolder(stage);
    qv::MakeFolder(stage + "Images");
    qv::MakeFolder(stage + "tmp");

    // The start world is the same whenever it is written: its spells are
    // numbered from 0, and the running game's counter is given back after
    // (a world read raises it past every serial it holds).
    struct SpellSerials {
        uint32_t kept = g_iNextSpellSerial;
        SpellSerials() { g_iNextSpellSerial = 0; }
        ~SpellSerials() { g_iNextSpellSerial = kept; }
    } serials;
    {
        CMainFrame frame;
        frame.m_Play.Saves().SetGameFolder(stage);
        frame.m_Play.Saves().SetCurrentFolder(stage + "tmp/");
        frame.m_World.CreateRootGroups();
        frame.m_World.map_master = std::make_unique<MapMaster>();
        MapMaster& map = *frame.m_World.map_master;
        map.SetWorldSize(kWorldW, kWorldH);
        Maker make{frame, map, new LandGraph, stage};
        map.landgraph = make.tree;

        auto root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorldW, kWorldH};
        root->lightlevel = kBright;
        root->tune = kLandTune;
        root->combattune = kBattleTune;
        root->ambient = 1;  // the open land between the others sounds as they do
        {
            auto info = std::make_unique<LandInfo>("world.lnd", root.get());
            info->land = nullptr;
            make.tree->Insert(std::move(info), &map, 1);
        }

        frame.m_World.AddNumberedGroup(2, "Wolves");
        frame.m_World.AddNumberedGroup(3, "Villagers");
        frame.m_World.AddNumberedGroup(kDeepGroup, "Pack");

        // The meadow: the walled yard with its door and lamps, shrubs on its
        // lawn, and the villagers inside.
        make.AddLand(
            "Meadow", {10, 10}, 30, 24, kGrass, kBright,
            [](CDIBitmap& p) {
                for (int x = 0; x < 30; x += 3) p.SetPixel(x, 23 - x % 5, kSand);
                // The world's cell (x, y) is the picture's (x - 10, y - 10).
                p.FillRect(kYardLeft - 11, kYardTop - 11, kYardRight - 9, kYardBottom - 9, kLawn);
                p.FillRect(kYardLeft - 10, kYardTop - 10, kYardRight - 10, kYardBottom - 10,
                           kPaving);
            },
            [&](Land& land) {
                MakeYard(land);
                for (int dx : {-70, 70}) {
                    auto* lamp = new LightSource("Lamp");
                    lamp->m_iStrength = 110;
                    lamp->m_iRadius = 400;
                    lamp->m_bVisible = 1;
                    Maker::Keep(land, lamp, CellPos(kDoorColumn, kYardBottom, 80 + dx, 24));
                }
                for (int k = 0; k < 2; ++k)
                    Maker::Keep(land, new Shrub(k + 1),
                                CellPos(kYardLeft + 1 + 4 * k, kYardBottom, 80, 60));
                // The yard's people talk (their script is the game folder's
                // "lauriston.smb"): the miller has a task for the party,
                // the weaver joins it once the task is taken, the shop
                // keeper trades.
                Player* miller = make.Creature("Miller", 3, kVillagerLevel);
                miller->m_strMessageNode = start_talk::kMillerNode;
                miller->AddToBag(new Potion(PotionType::Healing), 0);
                Maker::Keep(land, miller, CellPos(24, 22));
                Player* weaver = make.Creature("Weaver", 3, kVillagerLevel);
                const int32_t woman = 1;
                weaver->SetSex(&woman);
                weaver->m_strMessageNode = start_talk::kWeaverNode;
                Maker::Keep(land, weaver, CellPos(26, 24));
                Player* keeper = make.Creature("Shop keeper", 3, kVillagerLevel);
                keeper->m_strMessageNode = start_talk::kShopKeeperNode;
                Maker::Keep(land, keeper, CellPos(23, 24));
                // In the yard: a chest of things to find (a potion and a
                // scroll among them), a bed to rest in, a barrel of spare
                // arrows and a rain barrel by the wall.
                auto* chest = new Chest;
                for (Object* item :
                     {static_cast<Object*>(new Helm(1)), static_cast<Object*>(new Boots(1)),
                      static_cast<Object*>(new Dagger), static_cast<Object*>(new Bow),
                      static_cast<Object*>(new Ring(0)),
                      static_cast<Object*>(new Potion(PotionType::Healing)),
                      static_cast<Object*>(new Scroll(ScrollType::Toughskin))})
                    chest->GetBag()->PutItem(item, 1);
                Maker::Keep(land, chest, CellPos(23, 21, 60, 40));
                Maker::Keep(land, new Bed, CellPos(27, 21, 80, 40));
                auto* barrel = new Barrel;
                auto* arrows = new ThrownMissile(kThrownDagger);
                arrows->m_bStackable = 1;
                arrows->m_iBulkNum = 6;
                barrel->GetBag()->PutItem(arrows, 1);
                Maker::Keep(land, barrel, CellPos(27, 25, 100, 60));
                auto* rain = new Barrel;
                rain->SetRainBarrel(1);
                Maker::Keep(land, rain, CellPos(22, 25, 40, 60));
                // By the door a sign, and on the meadow south of the start a
                // letter from the miller; their texts are the book script's.
                auto* sign = new Sign;
                sign->m_strGeneralName = start_talk::kYardSignNode;
                Maker::Keep(land, sign, CellPos(kDoorColumn - 1, kYardBottom, 110, 80));
                auto* letter = new Letter;
                letter->m_strGeneralName = start_talk::kLetterNode;
                Maker::Keep(land, letter, CellPos(kStartCellX, kStartCellY + 1, 40, 30));
                // On the meadow by the start: a shield, a mace and a cape.
                Maker::Keep(land, new Shield(1), CellPos(24, 29, 60, 30));
                Maker::Keep(land, new Mace, CellPos(26, 29, 100, 40));
                Maker::Keep(land, new Cape(0), CellPos(25, 30, 80, 30));
                // Outside the door: a power cube and the Sun stand that
                // charges it.
                auto* cube = new PowerCube;
                cube->m_iSymbol = CubeSymbol::Stars;
                Maker::Keep(land, cube, CellPos(23, 28, 60, 40));
                auto* stand = new PowerCubeStand;
                stand->m_iSymbol = 1;
                Maker::Keep(land, stand, CellPos(21, 28, 80, 40));
            });
        // The lake shore: rough ground along the water's edge and a lamp.
        make.AddLand(
            "Shore", {45, 12}, 20, 16, kWater, kBright,
            [](CDIBitmap& p) { p.FillRect(0, 10, 20, 16, kSand); },
            [&](Land& land) {
                auto* lamp = new LightSource("Beacon");
                lamp->m_iRadius = 600;
                lamp->m_bVisible = 1;
                Maker::Keep(land, lamp, CellPos(54, 24));
            });
        // The woods south of the meadow: at the clearing nearest the yard a
        // wolf and a rat that a new party can beat; deeper in the trees, in
        // a group of their own that a fight at the clearing leaves be, the
        // pack's other wolves with a rat, a snake and a goblin.
        make.AddLand(
            "Woods", {18, 34}, 30, 18, kLightWood, kShaded,
            [](CDIBitmap& p) { p.FillRect(8, 2, 15, 7, kGrass); },
            [&](Land& land) {
                struct Beast {
                    const char *name, *kind;
                    int32_t group;
                    int cx, cy;
                };
                const Beast beasts[] = {{"Wolf", "DarkHound", kBeastGroup, 29, 38},
                                        {"Rat", "GiantRatGrey", kBeastGroup, 27, 37},
                                        {"Rat", "GiantRatBrown", kDeepGroup, 33, 47},
                                        {"Wolf", "DarkHound", kDeepGroup, 35, 46},
                                        {"Wolf", "DarkHound", kDeepGroup, 36, 47},
                                        {"Snake", "Snake", kDeepGroup, 34, 48},
                                        {"Goblin", "Goblin", kDeepGroup, 37, 48}};
                for (const Beast& b : beasts)
                    Maker::Keep(land, make.Beast(b.name, b.kind, b.group), CellPos(b.cx, b.cy));
                // The generator and its template group: one creature of each
                // kind it may send, copied and levelled when it fires.
                auto* generator = new MonsterGenerator;
                generator->m_iMode = kGeneratorMode;
                generator->m_iExitX = kGeneratorExitX;
                generator->m_iExitY = kGeneratorExitY;
                generator->m_bSendParty = 1;
                generator->m_pTemplates = std::make_unique<Group>("Group");
                generator->m_pTemplates->m_bGrouped = 1;
                for (const char* kind : kGeneratorKinds)
                    generator->m_pTemplates->AddMemberDirect(Maker::TemplateBeast(kind));
                Maker::Keep(land, generator, CellPos(kGeneratorCellX, kGeneratorCellY));
                for (const Encounter& e : kWoodsEncounters) {
                    auto encounter = std::make_unique<RandomEncounter>();
                    encounter->time = e.time;
                    encounter->group = new Group("Group");
                    encounter->group->SetName(e.name);
                    encounter->group->m_bGrouped = 1;
                    for (const char* kind : e.kinds)
                        if (kind) encounter->group->AddMemberDirect(Maker::TemplateBeast(kind));
                    land.encounters.push_back(std::move(encounter));
                }
            });

        // The party waits in "players" for the first move into its land.
        Group party;
        party.m_bGrouped = 1;
        party.m_iOwnGroupNum = 1;
        party.m_strSpecialName = "Party";
        // A member joins at the head of its group: the dog first, so that the
        // character leads the list.
        const Position start = CellPos(kStartCellX, kStartCellY, kStartX, kStartY);
        Player* dog = make.Creature(kDogName, 1, kDogLevel, "Dog");
        dog->m_Position = {start.x + 20, start.y + 20, 0};
        dog->m_iPartySlot = kDogSlot;
        dog->SetPlayerNumber(Play::kDogActor);
        dog->m_strMessageNode = start_talk::kDogNode;
        party.AddMember(dog);
        Player* hero = make.Creature(kCharacterName, 1, kHeroLevel);
        hero->m_Position = start;
        hero->m_iPartySlot = -1;  // the leader
        hero->SetPlayerNumber(Play::kPlayerActor);
        // The character sets out with a sword and a leather shirt, a spare
        // knife in the pack.
        hero->EquipObject(new Sword);
        hero->EquipObject(new Shirt(1));
        hero->AddToBag(new Dagger, 0);
        auto* purse = new Money;
        purse->m_iBulkNum = kHeroGold;
        hero->AddToBag(purse, 0);
        // The hero knows a few spells of the Earth school, and has the mana
        // and the skill to cast them more often than not.
        Heal heal;
        Toughskin toughskin;
        Strength strength;
        for (Spell* spell : {static_cast<Spell*>(&heal), static_cast<Spell*>(&toughskin),
                             static_cast<Spell*>(&strength)})
            hero->AddSpell(*spell);
        hero->m_pMagic->m_uMaxMana = hero->m_pMagic->m_uMana = kHeroMana;
        hero->m_pMagic->AddSchoolSkill(SpellSchool::Earth, kHeroEarthSkill);
        party.AddMember(hero);
        qv::WriteWholeFile(stage + "tmp/players", savefile::StorePlayers(party));
        party.RemoveFromMap();

        // The shop keeper's stall: a few potions, a blade and leather.
        auto store = std::make_unique<Store>("Yard Stall");
        store->m_iStoreId = start_talk::kStoreId;
        store->m_iSellPercent = kStoreSellPercent;
        store->m_iBuyPercent = kStoreBuyPercent;
        store->m_iGold = kStoreGold;
        for (Object* item : {static_cast<Object*>(new Potion(PotionType::Healing)),
                             static_cast<Object*>(new Potion(PotionType::Healing)),
                             static_cast<Object*>(new Potion(PotionType::RestoreMana)),
                             static_cast<Object*>(new Sword), static_cast<Object*>(new Helm(2)),
                             static_cast<Object*>(new Shirt(2))})
            store->AddItem(std::unique_ptr<Object>(item));
        frame.m_Play.Trade().AddStore(std::move(store));

        frame.m_World.m_ptFocus = {start.x, start.y};
        auto name = [&](const char* attribute, const std::string& text) {
            Order order = Order::Of(Order::Kind::NewCharacter);
            order.name = attribute;
            order.text = text;
            frame.m_Play.Give(order);
        };
        name(Play::NewCharacterAttribute::kPlayerName, kCharacterName);
        name(Play::NewCharacterAttribute::kDogName, kDogName);
        // The party keeps its default formation: the dog, and whoever
        // joins later, stands beside the character, not on it.
        frame.m_Play.PartyChoices().InitFormation();
        frame.m_Play.Saves().SetWorldFile(kWorldFile);
        frame.m_Play.Saves().SaveWorldFile(kWorldFile);
        qv::WriteWholeFile(stage + "tmp/Position", savefile::StorePosition(kWorldFile));
        // The networks' weight files, which every world read takes: fresh
        // ones here, which the data program's training writes over.
        const std::pair<const char*, std::vector<uint8_t>> weights[] = {
            {NNAttack::kDefaultFile, NNAttack().StoreWeights()},
            {NNDefense::kDefaultFile, NNDefense().StoreWeights()},
            {NNEvade::kDefaultFile, NNEvade().StoreWeights()},
            {NetworkSet::kSecondAttackFile, NNAttack().StoreWeights()},
            {NetworkSet::kSecondDefenseFile, NNDefense().StoreWeights()},
            {NetworkSet::kSecondEvadeFile, NNEvade().StoreWeights()}};
        for (const auto& [name, bytes] : weights) qv::WriteWholeFile(stage + "tmp/" + name, bytes);
        map.DeleteContents();
        frame.m_World.DeleteGroups();
    }

    // The finished slot and the pictures take their places.
    qv::MakeFolder(game + "Images");
    for (const std::string& name : qv::ListFiles(stage + "Images/"))
        qv::WriteWholeFile(game + "Images/" + name, qv::ReadWholeFile(stage + "Images/" + name));
    const std::string original = game + "original/";
    const std::string old = game + "original.old/";
    qv::RemoveFolder(old);
    if (qv::FolderExists(original)) qv::RenameFolder(original, old);
    qv::RenameFolder(stage + "tmp/", original);
    qv::RemoveFolder(old);
    qv::RemoveFolder(stage);
    // The people's talk, read from the game folder as they speak.
    const std::string talk = start_talk::Script();
    qv::WriteWholeFile(game + start_talk::kScriptFile,
                       std::vector<uint8_t>(talk.begin(), talk.end()));
    // What the signs, books and letters say, read as they are.
    const std::string books = start_talk::BookScript();
    qv::WriteWholeFile(game + kBookScript, std::vector<uint8_t>(books.begin(), books.end()));
}
