// Writes the fuzz targets' seed corpora with the game's own writers: stored
// objects of every kind, a settings file, pictures, font files and the tunes
// the data program composes. Each seed is checked as the targets check their
// input before it is written.
//
//   qv_fuzz_seeds fuzz/corpus

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "RoundTrip.h"
#include "creatures/Changeling.h"
#include "creatures/Human.h"
#include "creatures/MonsterGenerator.h"
#include "creatures/NeuralNet.h"
#include "creatures/Player.h"
#include "creatures/PlayerEvents.h"
#include "creatures/Species.h"
#include "creatures/TrainingRecords.h"
#include "data/Intro.h"
#include "data/Music.h"
#include "data/StartTalk.h"
#include "events/TalkScriptFile.h"
#include "items/Armour.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/Missile.h"
#include "items/Potions.h"
#include "items/Skill.h"
#include "items/Spell.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "items/Store.h"
#include "items/Token.h"
#include "items/Useable.h"
#include "items/Weapon.h"
#include "media/DDString.h"
#include "media/DIBitmap.h"
#include "media/MidiFile.h"
#include "media/Resources.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "play/OrderFile.h"
#include "structures/LightSource.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Member.h"
#include "world/UnusedNumbers.h"

namespace {

std::filesystem::path g_root;
int g_written = 0;

void Seed(const std::string& target, const std::string& name, const fuzz::Bytes& bytes,
          fuzz::Reader reader) {
    fuzz::CheckRoundTrip(bytes, reader, (target + "/" + name).c_str());
    if (!reader(bytes)) {
        std::fprintf(stderr, "%s/%s: the seed is refused\n", target.c_str(), name.c_str());
        std::exit(1);
    }
    std::filesystem::create_directories(g_root / target);
    qv::WriteWholeFile((g_root / target / ("seed-" + name)).string(), bytes);
    ++g_written;
}

fuzz::Bytes Stored(const qv::Persistent& object) {
    qv::Archive out("seed");
    out.WriteObject(&object);
    return out.TakeBytes();
}

template <class T>
void SeedObject(const std::string& target, const std::string& name, const qv::Persistent& object) {
    Seed(target, name, Stored(object), fuzz::StoredObject<T>);
}

// One object of each stored kind that the world places, as its class makes it.
void SeedObjects() {
    const char* kinds[] = {"Object",
                           "Wall",
                           "FrontWall",
                           "SideWall",
                           "Peg",
                           "Tile",
                           "FrontDoorBrick",
                           "SideDoorBrick",
                           "Scenery",
                           "Bed",
                           "Shrub",
                           "StatueBow",
                           "Traversable",
                           "DrawBridge",
                           "Ship",
                           "Mast",
                           "LightSource",
                           "MageLight",
                           "Explosion",
                           "Key",
                           "Lever",
                           "Stairs",
                           "Spell",
                           "CBag",
                           "Useable",
                           "CGameEvent",
                           "CTalkEvent",
                           "CMovePatternEvent",
                           "Weapon",
                           "Axe",
                           "Bow",
                           "Missile",
                           "MagicMissile",
                           "FiredMissile",
                           "Armour",
                           "Boots",
                           "Amulet",
                           "Chest",
                           "Coffin",
                           "Barrel",
                           "Money",
                           "Potion",
                           "Scroll",
                           "PowerCube",
                           "PowerCubeStand",
                           "PegBrick",
                           "FrontWallBrick",
                           "SideWallBrick",
                           "Net",
                           "Rope",
                           "Sign",
                           "Whistle",
                           "Trash",
                           "SnakeSkin",
                           "Gem",
                           "BookCase",
                           "Book",
                           "Letter",
                           "Table",
                           "Bench",
                           "FloorChange",
                           "Gas",
                           "CampFire",
                           "Torch",
                           "Candle",
                           "WallTorch",
                           "Hearth",
                           "Candelabra",
                           "Candelabra2",
                           "Column",
                           "Fountain",
                           "Forge",
                           "Picture",
                           "Altar",
                           "Target",
                           "Clock",
                           "Blocks",
                           "SpriteTest",
                           "BandAid"};
    for (const char* kind : kinds) {
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kind);
        if (!cls) continue;
        fuzz::FreshWorld world;
        std::unique_ptr<qv::Persistent> object(cls->CreateObject());
        SeedObject<Object>("objects", kind, *object);
    }
}

void SeedHolders() {
    fuzz::FreshWorld world;
    Useable stick("Stick");
    stick.m_iItemNum = 12;
    ObjectHolder holder(Position(100, 200), &stick);
    SeedObject<ObjectHolder>("holders", "stick", holder);
    std::unique_ptr<qv::Persistent> lever(qv::RuntimeClass::Find("Lever")->CreateObject());
    ObjectHolder leverHolder(Position(-5, 70000), static_cast<Object*>(lever.get()));
    SeedObject<ObjectHolder>("holders", "lever", leverHolder);
}

void SeedGroups() {
    fuzz::FreshWorld world;
    // A party of three: a member, a creature and a nested group of one.
    Group party;
    party.m_bGrouped = 1;
    party.m_iOwnGroupNum = 2;
    party.m_iLeaderId = 17;
    auto* scouts = new Group;
    scouts->m_bGrouped = 1;
    scouts->m_iOwnGroupNum = -3;
    auto* scout = new Member("scout");
    scout->m_iGroupNum = -3;
    scouts->AddMember(scout);
    party.AddMember(scouts);
    party.AddMember(new Member("guard"));
    party.AddMember(new Player);
    SeedObject<Group>("groups", "party", party);
    Group plain;
    SeedObject<Group>("groups", "empty", plain);
}

void SeedCreatures() {
    fuzz::FreshWorld world;
    // A named party member with a spell, a bag, something in use and orders.
    Player p;
    p.m_strSpecialName = "Mira";
    p.m_iPartySlot = 1;
    p.m_strMessageNode = "HELLO";
    p.m_iHitPoints = 21;
    p.AddSpell(Spell("Light"));
    p.m_pBag->AddItem(new Useable("Rope"));
    p.m_pBag->SetItemCount(1);
    p.m_InUseList.emplace_back(new Useable("Torch"));
    p.m_iCombatSettings = {1, 2, 3, 4, 5, 6, 7};
    SeedObject<Player>("creatures", "mira", p);
    Player plain;
    SeedObject<Player>("creatures", "plain", plain);
    // A fighter with a sword, a shield and a ring in use and a spare axe.
    Player fighter;
    fighter.m_strSpecialName = "Brann";
    fighter.EquipObject(new Sword);
    fighter.EquipObject(new Shield(5));
    fighter.EquipObject(new Ring(1));
    fighter.AddToBag(new Axe, 0);
    SeedObject<Player>("creatures", "fighter", fighter);
    // A creature of every species, humans and changelings with their own fields.
    for (const SpeciesRow& row : SpeciesTable()) {
        std::unique_ptr<Player> c = Species::Make(row.className);
        c->SetLevel(2);
        c->m_strSpecialName = std::string("A ") + row.displayName;
        SeedObject<Player>("creatures", std::string("species-") + row.className, *c);
    }
    Human woman;
    const int32_t female = 1;
    woman.SetSex(&female);
    woman.m_iHairColor = {-16, -16, 3};
    SeedObject<Player>("creatures", "human-woman", woman);
    Changeling changed;
    changed.m_iChangeState = Changeling::kChanged;
    changed.m_strCopiedImages = "Goblin";
    changed.m_strCopiedName = "Gob";
    SeedObject<Player>("creatures", "changeling-changed", changed);
}

void SeedGenerators() {
    fuzz::FreshWorld world;
    MonsterGenerator generator;
    generator.m_pTemplates = std::make_unique<Group>("Wolves");
    generator.m_pTemplates->m_bGrouped = 1;
    generator.m_pTemplates->AddMemberDirect(Species::Make("DarkHound").release());
    generator.m_pTemplates->AddMemberDirect(Species::Make("GiantRat").release());
    generator.m_iMode = 1;
    generator.m_iExitX = -2;
    generator.m_iExitY = 3;
    generator.m_iKeyNumber = 7;
    generator.m_bSendParty = 1;
    SeedObject<Object>("monster_generator", "two-templates", generator);
    MonsterGenerator bare;
    SeedObject<Object>("monster_generator", "bare", bare);
    Token token;
    token.m_iBulkNum = 3;
    SeedObject<Object>("monster_generator", "token", token);
    TokenTaker taker;
    SeedObject<Object>("monster_generator", "token-taker", taker);
}

void SeedItems() {
    fuzz::FreshWorld world;
    CBag bag("Pack");
    bag.AddItem(new Useable("Stick"));
    bag.AddItem(new Spell("Spark"));
    auto* pouch = new CBag("Pouch");
    pouch->AddItem(new Useable("Coin"));
    bag.AddItem(pouch);
    SeedObject<CBag>("items", "pack", bag);
    CBag empty;
    SeedObject<CBag>("items", "empty", empty);

    // A pack of every kind of thing a player carries: hand weapons, a bow
    // and its missile in flight, a thrown stone, armour of several materials,
    // a stack of arrows, a pouch inside, and a chest with a barrel in it.
    CBag gear("Gear");
    gear.AddItem(new Sword);
    gear.AddItem(new Spear);
    auto* bow = new Bow;
    gear.AddItem(bow);
    auto* arrow = new Missile(nullptr, bow);
    world.world.AddFlyingObject(new FiredMissile(arrow, 4, {100, 100}, {260, 180}, 0, 10, nullptr));
    gear.AddItem(arrow);
    gear.AddItem(new MagicMissile(2, nullptr, 0, 2, new LightSource("LightSource")));
    gear.AddItem(new ThrownMissile(kSmallStone));
    gear.AddItem(new Boots(5));
    gear.AddItem(new Amulet(1));
    auto* arrows = new Weapon(100, 7, 2, 20, 20, "Arrow");
    arrows->m_bStackable = 1;
    arrows->m_iBulkNum = 24;
    auto* quiver = new CBag("Quiver");
    quiver->AddItem(arrows);
    quiver->AddItem(new Ring(7));
    quiver->SetItemCount(2);
    gear.AddItem(quiver);
    gear.SetItemCount(10);
    SeedObject<CBag>("items", "gear", gear);

    CBag store("Store");
    auto* chest = new Chest;
    chest->m_bLocked = 1;
    chest->GetBag()->PutItem(new Shirt(4), 1);
    chest->GetBag()->PutItem(new Helm(8), 1);
    store.AddItem(chest);
    auto* rain = new Barrel;
    rain->SetRainBarrel(1);
    store.AddItem(rain);
    store.AddItem(new Coffin);
    store.SetItemCount(3);
    SeedObject<CBag>("items", "containers", store);
}

// Every spell kind as its class makes it, and a few as casts leave them.
void SeedSpells() {
    std::vector<const char*> kinds = SpellKindNames();
    kinds.insert(kinds.end(), {"FireSpell", "EarthSpell", "AirSpell", "WaterSpell"});
    for (const char* kind : kinds) {
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kind);
        if (!cls) continue;
        fuzz::FreshWorld world;
        std::unique_ptr<qv::Persistent> spell(cls->CreateObject());
        SeedObject<Spell>("spells", kind, *spell);
    }
    fuzz::FreshWorld world;
    SeedObject<Spell>("spells", "Spell", Spell());
    Weaken weaken;
    weaken.m_iAmount = 4;
    weaken.m_Targets = {2, 7};
    weaken.m_iCaster = 1;
    SeedObject<Spell>("spells", "weaken-cast", weaken);
    Toughskin toughskin;
    toughskin.m_Targets = {0};
    SeedObject<Spell>("spells", "toughskin-known", toughskin);
}

void SeedMagic() {
    fuzz::FreshWorld world;
    Magic magic;
    magic.m_uMaxMana = 30;
    magic.m_uMana = 12;
    magic.m_fEarthSkill = 15.5f;
    magic.m_fFireSkill = 3.0f;
    magic.m_SpellList.push_back(std::make_unique<Heal>());
    magic.m_SpellList.push_back(std::make_unique<Fireball>());
    magic.m_SpellList.push_back(std::make_unique<FlameWeapon>());
    magic.m_SpellList.push_back(std::make_unique<Shock>());
    magic.m_SpellList.push_back(std::make_unique<Hesitation>());
    magic.m_SpellList.push_back(std::make_unique<Strength>());
    SeedObject<Magic>("magic", "four-schools", magic);
    SeedObject<Magic>("magic", "none", Magic());
    Skill sword;
    sword.m_strName = "Sword";
    sword.m_dValue = 120.5;
    SeedObject<Skill>("skills", "sword", sword);
    FightSkill fight;
    fight.m_dPractice = 3.0;
    SeedObject<Skill>("skills", "fight", fight);
}

void SeedRecords() {
    SeedObject<UnusedNumbers>("id_pool", "ascending", UnusedNumbers(5, 100, 1));
    SeedObject<UnusedNumbers>("id_pool", "descending", UnusedNumbers(3, -2, 0));
    SeedObject<UnusedNumbers>("id_pool", "empty", UnusedNumbers());
    fuzz::FreshWorld world;
    KeyStorage gate(12, "Gate key");
    Useable key("Key");
    gate.m_ObjectList.emplace_back(&key);
    SeedObject<KeyStorage>("key_records", "gate", gate);
    SeedObject<KeyStorage>("key_records", "empty", KeyStorage());
    Store stall("Yard Stall");
    stall.m_iStoreId = 1;
    stall.m_iGold = 100;
    stall.AddItem(std::make_unique<Potion>(PotionType::Healing));
    auto arrows = std::make_unique<Useable>("Arrow");
    arrows->m_bStackable = 1;
    arrows->m_iBulkNum = 12;
    arrows->m_iValue = 2;
    stall.AddItem(std::move(arrows));
    SeedObject<Store>("stores", "stall", stall);
    SeedObject<Store>("stores", "empty", Store());
}

void SeedFiles() {
    qv::Settings settings;
    settings.SetString("Path", "C:\\Games\\Quorvale\\");
    settings.SetInt("Sound", 1);
    settings.SetInt("Midi", 0);
    settings.SetInt("Windows", 1);
    settings.SetInt("Build", 0);
    fuzz::TempFile file;
    settings.Save(file.Path());
    Seed("settings", "game", file.Read(), fuzz::SettingsFile);

    // Every kind of name a thing of an order has, and texts with a space
    // and a line's end in them.
    OrderRecording recording{500, {}};
    const auto named = [&](uint32_t tick, Order::Kind kind, OrderName::By by,
                           std::array<int32_t, OrderName::kNumbers> n) {
        TimedOrder timed{tick, Order::Of(kind)};
        timed.order.object.name = {by, n};
        recording.orders.push_back(timed);
    };
    named(3, Order::Kind::Take, OrderName::By::Placed, {4080, 3416, 0, 1, 0});
    named(3, Order::Kind::Equip, OrderName::By::Carried, {234, OrderName::kBag, 2, -1, 0});
    named(9, Order::Kind::Cast, OrderName::By::Carried, {234, OrderName::kSpells, 0, -1, 0});
    named(9, Order::Kind::Take, OrderName::By::Stored, {4000, 3300, 0, 0, 4});
    named(10, Order::Kind::Buy, OrderName::By::Entry, {1, 2, 0, 0, 0});
    Order attack = Order::Of(Order::Kind::Attack);
    attack.actor.name = {OrderName::By::Creature, {-7, 0, 0, 0, 0}};
    attack.target.name = {OrderName::By::Creature, {3, 0, 0, 0, 0}};
    recording.orders.push_back({40, attack});
    Order save = Order::With(Order::Kind::Save, 2);
    save.text = "By the mill\nat dusk";
    recording.orders.push_back({500, save});
    recording.orders.push_back({500, Order::At(Order::Kind::WalkTo, Position(-5, 7, 0))});
    Seed("order_file", "orders", WriteOrderFile(recording), fuzz::OrderFile);

    CDIBitmap small(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) small.SetPixel(x, y, static_cast<uint8_t>(x * 40 + y));
    fuzz::TempFile picture;
    small.Save(picture.Path());
    Seed("pictures", "small", picture.Read(), fuzz::PictureFile);
    if (auto button = FindBitmapResource(569)) {
        fuzz::TempFile stored;
        button->Save(stored.Path());
        Seed("pictures", "button", stored.Read(), fuzz::PictureFile);
    }

    CDDAlphabet boxes;
    boxes.LoadFont("");  // no file: the box letters
    Seed("font", "psf2", fuzz::FontFileOf(boxes, 2, false), fuzz::FontFile);
    Seed("font", "psf2-table", fuzz::FontFileOf(boxes, 2, true), fuzz::FontFile);
    Seed("font", "psf1-table", fuzz::FontFileOf(boxes, 1, true), fuzz::FontFile);

    for (int tune : tunes::TuneNumbers())
        Seed("tune_file", "tune" + std::to_string(tune), tunes::Compose(tune).Write(),
             fuzz::TuneFile);
    // The smallest tune: one track, one note.
    MidiFile note;
    note.format = 0;
    note.division = 96;
    MidiFile::Track track;
    MidiFile::Event on, off;
    on.status = 0x90;
    on.data1 = 60;
    on.data2 = 100;
    off.tick = 96;
    off.status = 0x80;
    off.data1 = 60;
    track.events = {on, off};
    track.end = 192;
    note.tracks.push_back(track);
    Seed("tune_file", "note", note.Write(), fuzz::TuneFile);
}

void SeedNetworks() {
    Seed("weight_file", "attack", NNAttack().StoreWeights(), fuzz::WeightFile);
    Seed("weight_file", "defense", NNDefense().StoreWeights(), fuzz::WeightFile);
    Seed("weight_file", "evade", NNEvade().StoreWeights(), fuzz::WeightFile);

    TrainingRecordList list;
    auto attack = std::make_unique<SinglePlayerAttackInfo>();
    attack->m_f1 = 2.5f;
    attack->m_f4 = 75;
    attack->m_f9 = 60;
    attack->m_f17 = 140;
    attack->m_f18 = 1;
    list.Add(std::move(attack));
    auto defense = std::make_unique<DefenseSpellInfo>();
    defense->m_f13 = 1;
    list.Add(std::move(defense));
    list.Add(std::make_unique<EvadeInfo>());
    list.Add(std::make_unique<InputInfo>());
    qv::Archive out("seed");
    list.Serialize(out);
    Seed("training_records", "four", out.TakeBytes(), fuzz::TrainingRecordFile);
    qv::Archive empty("seed");
    TrainingRecordList().Serialize(empty);
    Seed("training_records", "empty", empty.TakeBytes(), fuzz::TrainingRecordFile);
}

// Conversation scripts as the writer spells them: every statement, a
// village's conversations with conditions, jumps and choices, and loops that
// gather lines and choices up to a step's bounds and beyond.
void SeedScripts() {
    const std::pair<const char*, const char*> scripts[] = {
        {"every-statement",
         "node ALL\n"
         "say Good day.\nsay\nchoice OTHER Who are you?\nchoice end Farewell.\n"
         "if Wolf >= 2 if Gold != -1 goto OTHER\nset Wolf 1\nadd Gold -5\ntimer Wolf 24\n"
         "hold speaker -10\ntalkstate listener 3\nwait 17 2\ntravel 12 4\nmakegroup\n"
         "regroup\njoin -3\npendingworld Caves.qvr 3 4\nmovetoland\nremove leader\n"
         "drop speaker Iron Key\nselect 2\nschool listener water 1.25\ntrade 7\n"
         "gotoworld Caves.qvr 3 4\nend\n"
         "node OTHER\nif a < 1 if b <= 1 if c > 1 if d = 1 say x\n"},
        {"village",
         "# the miller\nnode MILLER\n    if Wolf = 2 goto PAID\n    say A wolf!\n"
         "    if Wolf = 0 choice TASK Can I help?\n    choice end Farewell.\n"
         "node TASK\n    set Wolf 1\n    timer Wolf 24\n    goto MILLER\n"
         "node PAID\n    drop speaker Purse\n    set Wolf 3\n"},
        {"empty", ""},
        {"loop-gathering",
         "node A\nadd n 1\nsay x\nchoice B y\nif n < 3 goto A\n"
         "node B\nif n < 200 goto A\nsay done\n"},
        {"loop-over-the-bounds",
         "node A\nadd a 1\nsay x\nsay x\nsay x\nif a < 2000 goto A\n"
         "node B\nadd b 1\nchoice end x\nchoice end x\nchoice end x\nif b < 2000 goto B\n"
         "node C\nadd c 1\nif c < 0 end\nif c < 0 end\nif c < 0 end\nif c < 0 end\n"
         "if c < 0 end\nif c < 0 end\nif c < 0 end\nif c < 0 end\nif c < 0 end\n"
         "if c < 0 end\nif c < 2000 goto C\n"},
    };
    for (const auto& [name, text] : scripts) {
        const std::string s(text);
        const TalkScriptFile script = ReadTalkScript({s.begin(), s.end()}, name);
        Seed("talk_script", name, StoreTalkScript(script), fuzz::TalkScriptText);
    }
    // The start world's book script, read by the same reader.
    const std::string books = start_talk::BookScript();
    const TalkScriptFile script = ReadTalkScript({books.begin(), books.end()}, "books");
    Seed("talk_script", "books", StoreTalkScript(script), fuzz::TalkScriptText);
}

// The intro as the data program makes it, in small: a corner of the title in
// three pictures, and its sound.
void SeedMovie() {
    std::string error, note;
    Seed("movie", "title", intro::Movie(3, 32, 24, error, note), fuzz::MovieFile);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    g_root = argv[1];
    fuzz::Prepare();
    SeedObjects();
    SeedHolders();
    SeedGroups();
    SeedCreatures();
    SeedItems();
    SeedSpells();
    SeedMagic();
    SeedGenerators();
    SeedRecords();
    SeedFiles();
    SeedNetworks();
    SeedScripts();
    SeedMovie();
    std::printf("%d seeds written under %s\n", g_written, argv[1]);
    return 0;
}
