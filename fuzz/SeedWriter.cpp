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
#include "data/Music.h"
#include "events/TalkScriptFile.h"
#include "items/Bag.h"
#include "items/Spell.h"
#include "items/Token.h"
#include "items/Useable.h"
#include "media/DDString.h"
#include "media/DIBitmap.h"
#include "media/MidiFile.h"
#include "media/Resources.h"
#include "platform/Files.h"
#include "platform/Settings.h"
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
    const char* kinds[] = {"Object",      "Wall",       "FrontWall",      "SideWall",
                           "Peg",         "Tile",       "FrontDoorBrick", "SideDoorBrick",
                           "Scenery",     "Bed",        "Shrub",          "StatueBow",
                           "Traversable", "DrawBridge", "Ship",           "Mast",
                           "LightSource", "MageLight",  "Explosion",      "Key",
                           "Lever",       "Stairs",     "Spell",          "CBag",
                           "Useable",     "CGameEvent", "CTalkEvent",     "CMovePatternEvent"};
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
    p.m_pBag->m_iItemCount = 1;
    p.m_InUseList.emplace_back(new Useable("Torch"));
    p.m_iCombatSettings = {1, 2, 3, 4, 5, 6, 7};
    SeedObject<Player>("creatures", "mira", p);
    Player plain;
    SeedObject<Player>("creatures", "plain", plain);
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

// Conversation scripts as the writer spells them: every statement, and a
// village's conversations with conditions, jumps and choices.
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
    };
    for (const auto& [name, text] : scripts) {
        const std::string s(text);
        const TalkScriptFile script = ReadTalkScript({s.begin(), s.end()}, name);
        Seed("talk_script", name, StoreTalkScript(script), fuzz::TalkScriptText);
    }
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
    SeedGenerators();
    SeedRecords();
    SeedFiles();
    SeedNetworks();
    SeedScripts();
    std::printf("%d seeds written under %s\n", g_written, argv[1]);
    return 0;
}
