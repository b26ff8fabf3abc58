// The editor's dialogs on a world and its play: each value at its limits and
// either side of them (a refused one changes nothing and says why; an
// accepted one changes the thing), the things of a container, key records,
// a creature's sheet and scripted moves, and a monster generator.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "creatures/Human.h"
#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "editor/AddKeyDlg.h"
#include "editor/AddLandDlg.h"
#include "editor/ContainerDlg.h"
#include "editor/CoordinatesDlg.h"
#include "editor/DialogFixture.h"
#include "editor/KeyListDlg.h"
#include "editor/LandTreeDlg.h"
#include "editor/MonsterCreatorDlg.h"
#include "editor/ObjectEditing.h"
#include "editor/ObjectPropertiesDlg.h"
#include "editor/PlayerMovesDlg.h"
#include "editor/PlayerPropertySheet.h"
#include "editor/WeaponDlg.h"
#include "items/Container.h"
#include "items/Weapon.h"
#include "platform/Message.h"
#include "windows/CombatPrefsDlg.h"
#include "world/Group.h"
#include "world/KeyStorage.h"

namespace {

using editor_test::CheckRanges;
using editor_test::DialogFixture;
using editor_test::Keyed;
using editor_test::Range;
using ObjectDialogs = DialogFixture;

// ---- Object properties

TEST_F(ObjectDialogs, ObjectPropertiesTakeOnlyValuesInsideTheirLimits) {
    using D = CObjectPropertiesDlg;
    CheckRanges<D, Object>(
        play,
        {{"amount", &D::m_iAmount, &Object::m_iBulkNum, 1, 1000000},
         {"frame column: the picture's only one", &D::m_iColumn, &Object::m_iXImageNum, 0, 0},
         {"frame row", &D::m_iRow, &Object::m_iYImageNum, 0, 0},
         {"key number: -1 is none", &D::m_iKeyNumber, &Object::m_iItemNum, -1, INT32_MAX},
         {"interact", &D::m_bInteract, &Object::m_bInteract, 0, 1},
         {"moveable: 2 is for prototypes only", &D::m_bMoveable, &Object::m_bMoveable, 0, 1},
         {"owner: -1 is nobody", &D::m_iOwner, &Object::m_iOwner, -1, INT32_MAX},
         {"value: a debt is a value", &D::m_iValue, &Object::m_iValue, INT32_MIN, INT32_MAX}},
        [&]() -> Object& {
            auto* thing = new Object("Object");
            thing->m_iBulkNum = 3;
            thing->m_iOwner = 2;
            Lay(thing, play_test::At(20, 20));
            return *thing;
        });
}

TEST_F(ObjectDialogs, TheAmountIsTypedIntoItsFieldAndOkTakesItOrShowsWhyNot) {
    auto* thing = new Object("Object");
    Lay(thing, play_test::At(20, 20));
    qv::ScriptedMessages messages;
    CObjectPropertiesDlg dialog(play, *thing);
    dialog.Open();
    ASSERT_TRUE(dialog.Gui().Fill("Amount", "0"));
    ASSERT_TRUE(dialog.Gui().Click("OK"));
    EXPECT_EQ(dialog.GetEndCode(), 0);  // refused: said, and the dialog stays
    EXPECT_EQ(thing->m_iBulkNum, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "\"Amount\" must lie from 1 to 1000000: 0 is refused.");
    ASSERT_TRUE(dialog.Gui().Fill("Amount", "12"));
    ASSERT_TRUE(dialog.Gui().Click("OK"));
    EXPECT_EQ(dialog.GetEndCode(), int{CEditorDialog::IDOK});
    EXPECT_EQ(thing->m_iBulkNum, 12);
}

// ---- Containers

TEST_F(ObjectDialogs, TheContainersItemsAreAddedAndDeletedUpToItsRoom) {
    for (const char* name : {"Sword", "Axe"}) {
        auto sword = std::make_unique<Weapon>();
        sword->m_strSpecialName = name;
        world.m_Catalogue.Add(CatalogueList::Weapons, std::move(sword));
    }
    auto* chest = new Chest;
    Lay(chest, play_test::At(20, 20));
    CContainerDlg dialog(play, *chest);
    EXPECT_FALSE(dialog.ShowsRainBarrel());
    using Lines = std::vector<std::string>;
    struct Step {
        const char* what;
        std::function<bool()> act;
        bool done;
        Lines lines;
    };
    const Step steps[] = {
        {"add the first prototype", [&] { return dialog.Add(CatalogueList::Weapons, 0); }, true,
         Lines{"Axe"}},
        {"add the second", [&] { return dialog.Add(CatalogueList::Weapons, 1); }, true,
         Lines{"Axe", "Sword"}},
        {"no such prototype", [&] { return dialog.Add(CatalogueList::Weapons, 2); }, false,
         Lines{"Axe", "Sword"}},
        {"delete the first line", [&] { return dialog.Delete(0); }, true, Lines{"Sword"}},
        {"delete a line past the list", [&] { return dialog.Delete(1); }, false, Lines{"Sword"}},
        {"delete the last", [&] { return dialog.Delete(0); }, true, Lines{}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.act(), s.done);
        EXPECT_EQ(dialog.ItemLines(), s.lines);
    }
    // Full, it refuses the next thing and keeps nothing of it.
    const int room = chest->GetBag()->Capacity();
    for (int i = 0; i < room; ++i) ASSERT_TRUE(dialog.Add(CatalogueList::Weapons, 0)) << i;
    EXPECT_FALSE(dialog.Add(CatalogueList::Weapons, 0));
    EXPECT_EQ(dialog.Message(), "The container has no room for it.");
    EXPECT_EQ(dialog.ItemLines().size(), static_cast<size_t>(room));
    dialog.m_bLocked = 1;
    ASSERT_TRUE(dialog.Ok());
    EXPECT_EQ(chest->m_bLocked, 1);
    // "Obj. Prop." edits the container itself.
    CObjectPropertiesDlg& props = dialog.OpenObjectProperties();
    props.m_strSpecialName = "Strongbox";
    ASSERT_TRUE(props.Ok());
    EXPECT_EQ(chest->m_strSpecialName, "Strongbox");
}

TEST_F(ObjectDialogs, ABarrelShowsItsRainBoxAndBecomesARainBarrel) {
    auto* barrel = new Barrel;
    Lay(barrel, play_test::At(20, 20));
    CContainerDlg dialog(play, *barrel);
    EXPECT_TRUE(dialog.ShowsRainBarrel());
    dialog.m_bRainBarrel = 1;
    ASSERT_TRUE(dialog.Ok());
    EXPECT_EQ(barrel->m_bRainBarrel, 1);
    EXPECT_EQ(barrel->m_strSpecialName, "RainBarrel");
    EXPECT_EQ(barrel->m_iXImageNum, 1);
}

// ---- Keys

TEST_F(ObjectDialogs, KeyRecordsNeverListADeletedObject) {
    auto* door = new Object("Object");
    door->m_strSpecialName = "Door";
    auto* key = new Object("Object");
    key->m_strSpecialName = "Key";
    ObjectHolder* doorAt = Lay(door, play_test::At(20, 20));
    Lay(key, play_test::At(22, 20));
    for (Object* keyed : {door, key}) {
        CAddKeyDlg add(play, *keyed);
        add.m_iKeyNumber = 9;
        add.m_strName = "Gate";
        ASSERT_TRUE(add.Ok());
    }
    CAddKeyDlg refused(play, *key);
    refused.m_iKeyNumber = -1;
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(key->m_iItemNum, 9);

    CKeyListDlg list(play, nullptr);
    auto texts = [&] {
        std::vector<std::string> out;
        for (const auto& line : list.Lines()) out.push_back(line.text);
        return out;
    };
    EXPECT_EQ(texts(), (std::vector<std::string>{"Key 9: Gate", "    Door", "    Key"}));
    // A new key number moves the object to that number's record.
    CObjectPropertiesDlg renumber(play, *door);
    renumber.m_iKeyNumber = 4;
    ASSERT_TRUE(renumber.Ok());
    EXPECT_EQ(Keyed(world, 4), std::set<std::string>{"Door"});
    EXPECT_EQ(Keyed(world, 9), std::set<std::string>{"Key"});
    // The door goes from the map: it leaves its record with it.
    ASSERT_EQ(play.Give(Order::On(Order::Kind::Delete, doorAt)), 1);
    EXPECT_TRUE(Keyed(world, 4).empty());
    const std::string made = "Key 4: Lost or Temp Key";  // the record the number made
    EXPECT_EQ(texts(), (std::vector<std::string>{"Key 9: Gate", "    Key", made}));
    // "Remove" takes the key out, and a record's own line is no thing.
    EXPECT_FALSE(list.Remove(0));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(texts(), (std::vector<std::string>{"Key 9: Gate", made}));
    EXPECT_EQ(key->m_iItemNum, -1);
}

// ---- Monster generators

TEST_F(ObjectDialogs, TheMonsterCreatorTakesOnlyValuesInsideTheirLimits) {
    using D = CMonsterCreatorDlg;
    using G = MonsterGenerator;
    CheckRanges<D, G>(play,
                      {{"mode: 1 is the world's fight", &D::m_iMode, &G::m_iMode, 0, 1},
                       {"key number", &D::m_iKeyNumber, &G::m_iKeyNumber, -1, INT32_MAX},
                       {"send party", &D::m_bSendParty, &G::m_bSendParty, 0, 1},
                       {"exit x", &D::m_iExitX, &G::m_iExitX, INT32_MIN, INT32_MAX},
                       {"exit y", &D::m_iExitY, &G::m_iExitY, INT32_MIN, INT32_MAX}},
                      [&]() -> G& {
                          auto* generator = new G;
                          Lay(generator, play_test::At(20, 20));
                          return *generator;
                      });
}

TEST_F(ObjectDialogs, AGeneratorIsSetUpWithTemplatesAndLosesAnEmptyGroup) {
    auto* generator = new MonsterGenerator;
    Lay(generator, play_test::At(20, 20));
    CMonsterCreatorDlg dialog(play, *generator);
    // Opening the dialog gives the generator no empty group to draw from.
    EXPECT_EQ(generator->m_pTemplates, nullptr);
    ASSERT_TRUE(dialog.AddTemplate(0));
    ASSERT_TRUE(dialog.AddTemplate(1));
    EXPECT_EQ(dialog.TemplateLines().size(), 2u);
    EXPECT_FALSE(dialog.AddTemplate(100000));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_NE(generator->m_pTemplates, nullptr);
    EXPECT_EQ(generator->m_pTemplates->Members().size(), 2u);
    EXPECT_TRUE(dialog.DeleteTemplate(0));
    EXPECT_FALSE(dialog.DeleteTemplate(1));
    EXPECT_TRUE(dialog.DeleteTemplate(0));
    EXPECT_EQ(generator->m_pTemplates, nullptr);
    // Only a creature becomes a template.
    auto thing = std::make_unique<Object>("Object");
    Order order = Order::Of(Order::Kind::AddItem);
    order.object = thing.get();
    order.into = generator;
    EXPECT_EQ(play.Give(order), 0);
}

// ---- Creatures

TEST_F(ObjectDialogs, AScriptedMoveIsAddedThroughTheCoordinatesDialog) {
    Player* walker = PlaceMember(1, play_test::At(20, 20));
    CPlayerMovesDlg moves(play, *walker);
    const std::vector<std::string> two{"Move to:  12, 30", "Move to:  99, 79"};
    struct Step {
        const char* what;
        int32_t x, y;
        bool ok;  // OK, else Cancel
        bool accepted;
        std::vector<std::string> lines;
    };
    const Step steps[] = {
        {"a cell of the world", 12, 30, true, true, {"Move to:  12, 30"}},
        {"the last cell of the world", 99, 79, true, true, two},
        {"x one past the world", 100, 5, true, false, two},
        {"y below the world", 5, -1, true, false, two},
        {"cancelled: nothing added", 4, 4, false, false, two},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        CCoordinatesDlg& cell = moves.NewMove();
        EXPECT_EQ(cell.m_iX, 0);
        EXPECT_EQ(cell.m_iY, 0);
        cell.m_iX = s.x;
        cell.m_iY = s.y;
        if (s.ok)
            EXPECT_EQ(cell.Ok(), s.accepted);
        else
            cell.Cancel();
        EXPECT_EQ(moves.Lines(), s.lines);
    }
    // A move is edited and deleted.
    CCoordinatesDlg* edit = moves.EditMove(0);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->m_iX, 12);
    edit->m_iY = 31;
    ASSERT_TRUE(edit->Ok());
    EXPECT_TRUE(moves.DeleteMove(1));
    EXPECT_FALSE(moves.DeleteMove(1));
    EXPECT_EQ(moves.Lines(), std::vector<std::string>{"Move to:  12, 31"});
}

TEST_F(ObjectDialogs, TheSheetKeepsAChoiceCombatPreferencesHasNoControlFor) {
    Player* fighter = PlaceMember(1, play_test::At(20, 20));
    fighter->m_iCombatSettings[1] = 4;  // attack whom 4: no radio stands for it
    CPlayerPropertySheet sheet(play, *fighter);
    CCombatPrefsDlg prefs(nullptr);
    sheet.ToCombatPreferences(prefs);
    prefs.ShowValues();
    prefs.ReadValues();
    sheet.FromCombatPreferences(prefs);
    ASSERT_TRUE(sheet.Ok());
    EXPECT_EQ(fighter->m_iCombatSettings[1], 4);
}

TEST_F(ObjectDialogs, TheSheetsChoicesAndColoursStayInsideTheirRanges) {
    // The sheet's numbers by their place: the six fighting choices, then the
    // red, green and blue of hair, shirt and pants; and where each is stored.
    constexpr size_t kNumbers = 15;
    auto page = [](PlayerPropertyPages& p, size_t i) -> int32_t& {
        return i < 6 ? p.combat[i]
                     : (*std::array{&p.hair, &p.shirt, &p.pants}[(i - 6) / 3])[(i - 6) % 3];
    };
    auto stored = [](const Human& h) {
        std::array<int32_t, kNumbers> out{};
        constexpr size_t kSettingOf[] = {0, 1, 2, 3, 5, 6};
        for (size_t i = 0; i < 6; ++i) out[i] = h.m_iCombatSettings[kSettingOf[i]];
        for (size_t i = 0; i < 3; ++i) {
            out[6 + i] = h.m_iHairColor[i];
            out[9 + i] = h.m_iShirtColor[i];
            out[12 + i] = h.m_iPantsColor[i];
        }
        return out;
    };
    struct Row {
        const char* what;
        size_t first, count;
        int32_t least, most;
    };
    const Row rows[] = {
        {"mode of combat", 0, 1, 0, 1},
        {"attack whom: 5 is randomly", 1, 1, 0, 5},
        {"flee", 2, 1, 0, 1},
        {"magic priority: 2 is balance", 3, 1, 0, 2},
        {"attack preference", 4, 1, 0, 2},
        {"attack method: 2 is berserker", 5, 1, 0, 2},
        {"hair colour", 6, 3, -64, 64},
        {"shirt colour: no part below none", 9, 3, 0, 64},
        {"pants colour", 12, 3, -64, 64},
    };
    for (const Row& r : rows)
        for (size_t i = r.first; i < r.first + r.count; ++i)
            for (const auto& [value, inside] : editor_test::Edges(r.least, r.most)) {
                SCOPED_TRACE(std::string(r.what) + " " + std::to_string(i - r.first) + ": " +
                             std::to_string(value));
                qv::ScriptedMessages messages;
                auto* man = new Human;
                man->m_iHairColor = {1, 2, 3};
                man->m_iShirtColor = {2, 2, 0};
                man->m_iPantsColor = {-3, -2, 1};
                Lay(man, play_test::At(20, 20));
                std::array<int32_t, kNumbers> expected = stored(*man);
                CPlayerPropertySheet sheet(play, *man);
                ASSERT_TRUE(sheet.m_Pages.hasColourPage);
                page(sheet.m_Pages, i) = value;
                sheet.m_Pages.specialName = "Renamed";
                EXPECT_EQ(sheet.Ok(), inside);
                if (inside) expected[i] = value;
                EXPECT_EQ(stored(*man), expected);
                EXPECT_EQ(man->m_strSpecialName == "Renamed", inside);
                EXPECT_EQ(sheet.Message().empty(), inside) << sheet.Message();
            }
}

TEST_F(ObjectDialogs, TheSheetMovesAPlacedCreatureThroughPlay) {
    Player* walker = PlaceMember(1, play_test::At(20, 20));
    const Position to = play_test::At(22, 21);
    struct Row {
        const char* what;
        int32_t x;
        bool accepted;
    };
    for (const Row& r : {Row{"a place in the world", to.x, true},
                         Row{"a place outside the world is refused", 100 * 160, false}}) {
        SCOPED_TRACE(r.what);
        CPlayerPropertySheet sheet(play, *walker);
        sheet.m_Pages.x = r.x;
        sheet.m_Pages.y = to.y;
        EXPECT_EQ(sheet.Ok(), r.accepted);
        ASSERT_NE(walker->m_pHolder, nullptr);
        EXPECT_EQ(walker->m_pHolder->pos.x, to.x);
        EXPECT_EQ(walker->m_pHolder->pos.y, to.y);
    }
}

// "Stats": each pool's field edits that pool, in the pages' order.
TEST_F(ObjectDialogs, TheStatsPageEditsEachExperiencePoolUnderItsName) {
    const struct {
        const char* label;
        size_t pool;
    } rows[] = {{"Long-Range", 0}, {"Short-Range", 1}, {"Magic", 2}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        Player* fighter = PlaceMember(1, play_test::At(20 + static_cast<int>(r.pool), 20));
        fighter->m_dExperience = {1.0, 1.0, 1.0};
        CPlayerPropertySheet sheet(play, *fighter);
        OpenAndDraw(sheet);
        ASSERT_TRUE(sheet.Gui().Click("Stats"));
        ASSERT_TRUE(sheet.Gui().Fill(r.label, "250"));
        ASSERT_TRUE(sheet.Ok());
        std::array<double, 3> expected{1.0, 1.0, 1.0};
        expected[r.pool] = 250.0;
        EXPECT_EQ(fighter->m_dExperience, expected);
    }
}

// "Equipment": a thing of the catalogue goes into the bag, is put on, taken
// off and deleted, each through play.
TEST_F(ObjectDialogs, TheEquipmentPageAddsPutsOnTakesOffAndDeletes) {
    world.m_Catalogue.Add(CatalogueList::Weapons, std::make_unique<Weapon>());
    auto* man = new Human;
    Lay(man, play_test::At(20, 20));
    CPlayerPropertySheet sheet(play, *man);
    ASSERT_TRUE(sheet.AddCarried(CatalogueList::Weapons, 0));
    using K = Order::Kind;
    const struct {
        const char* what;
        K kind;
        bool fromInUse, done;
        size_t inUse, carried;
    } rows[] = {{"put on", K::Equip, false, true, 1, 0},
                {"nothing carried to put on", K::Equip, false, false, 1, 0},
                {"taken off", K::Unequip, true, true, 0, 1},
                {"deleted", K::DeleteItem, false, true, 0, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const std::vector<Object*> from = r.fromInUse ? sheet.InUse() : sheet.Carried();
        EXPECT_EQ(sheet.ChangeEquipment(r.kind, from.empty() ? nullptr : from[0]), r.done);
        EXPECT_EQ(sheet.InUse().size(), r.inUse);
        EXPECT_EQ(sheet.Carried().size(), r.carried);
    }
}

// ---- Weapons

TEST_F(ObjectDialogs, TheWeaponsNumbersStayInsideWhatAFightCanTake) {
    using D = CWeaponDlg;
    CheckRanges<D, Weapon>(
        play,
        {{"speed: 1 is a boulder's", &D::m_iSpeed, &Weapon::m_iSpeed, 1, 200},
         {"damage base: 0 is a touch's", &D::m_iDamageBase, &Weapon::m_iDamageBase, 0, 1000},
         {"damage range: 0 is no random part", &D::m_iDamageRange, &Weapon::m_iDamageRange, 0,
          1000},
         {"stun: 0 is no hold-up", &D::m_iStun, &Weapon::m_iStun, 0, 1000}},
        [&]() -> Weapon& {
            auto* sword = new Weapon(90, 10, 3, 5, 50, "Sword");
            Lay(sword, play_test::At(20, 20));
            return *sword;
        });
}

TEST_F(ObjectDialogs, AWeaponKeepsWhatItsDialogLeavesUnchanged) {
    auto* axe = new Weapon(100, 10, 3, 3, 5000, "Axe");  // a stun from an old record
    axe->m_strGeneralName = "Axe";
    Lay(axe, play_test::At(20, 20));
    CWeaponDlg rename(play, *axe);
    EXPECT_EQ(rename.m_iStun, 5000);
    rename.m_strSpecialName = "Cleaver";
    rename.m_strGeneralName = "Not taken";
    ASSERT_TRUE(rename.Ok());
    EXPECT_EQ(axe->m_strSpecialName, "Cleaver");
    EXPECT_EQ(axe->m_strGeneralName, "Axe");
    EXPECT_EQ(axe->m_iStun, 5000);
    // Changed, the number is held to its range.
    qv::ScriptedMessages messages;
    CWeaponDlg change(play, *axe);
    change.m_iStun = 4000;
    EXPECT_FALSE(change.Ok());
    EXPECT_EQ(axe->m_iStun, 5000);
}

TEST_F(ObjectDialogs, TheWeaponsObjPropButtonEditsTheWeaponItself) {
    auto* dagger = new Weapon(100, 5, 2, 3, 20, "Dagger");
    Lay(dagger, play_test::At(20, 20));
    CWeaponDlg dialog(play, *dagger);
    std::vector<std::string> opened;
    dialog.m_Run = [&](CEditorDialog& d) {
        opened.push_back(d.Title());
        auto& props = dynamic_cast<CObjectPropertiesDlg&>(d);
        props.m_iValue = 77;
        EXPECT_TRUE(props.Ok());
        return int{CEditorDialog::IDOK};
    };
    dialog.Open();
    ASSERT_TRUE(dialog.Gui().Click("Obj. Prop."));
    EXPECT_EQ(opened, std::vector<std::string>{"Object properties"});
    EXPECT_EQ(dagger->m_iValue, 77);
    EXPECT_EQ(dialog.GetEndCode(), 0);  // the weapon's dialog stays open
}

// ---- A human's colours

TEST_F(ObjectDialogs, AHumansColoursGoRoundTheColourPage) {
    using Colours = std::array<std::array<int32_t, 3>, 3>;  // hair, shirt, pants
    auto* woman = new Human;
    woman->m_iHairColor = {-10, -11, -7};
    woman->m_iShirtColor = {3, 0, 1};
    woman->m_iPantsColor = {-3, 1, 0};
    Lay(woman, play_test::At(20, 20));
    CPlayerPropertySheet sheet(play, *woman);
    EXPECT_EQ((Colours{sheet.m_Pages.hair, sheet.m_Pages.shirt, sheet.m_Pages.pants}),
              (Colours{{{-10, -11, -7}, {3, 0, 1}, {-3, 1, 0}}}));
    // Changed, each goes to its own colour of the picture.
    sheet.m_Pages.hair = {5, 6, 7};
    sheet.m_Pages.shirt = {0, 3, 2};
    sheet.m_Pages.pants = {-1, -2, -3};
    ASSERT_TRUE(sheet.Ok());
    LookColours shown;
    ASSERT_EQ(woman->GetLookColours(&shown), 1);
    EXPECT_EQ((Colours{shown.hair, shown.shirt, shown.pants}),
              (Colours{{{5, 6, 7}, {0, 3, 2}, {-1, -2, -3}}}));
    // A creature that is not a human has no colour page.
    Player* plain = PlaceMember(1, play_test::At(22, 20));
    EXPECT_FALSE(CPlayerPropertySheet(play, *plain).m_Pages.hasColourPage);
}

// ---- Drawing

TEST_F(ObjectDialogs, EveryDialogDrawsItselfHeadless) {
    auto* chest = new Chest;
    Lay(chest, play_test::At(20, 20));
    auto* generator = new MonsterGenerator;
    Lay(generator, play_test::At(21, 20));
    Player* walker = PlaceMember(1, play_test::At(22, 20));
    auto* sword = new Weapon(90, 10, 3, 5, 50, "Sword");
    Lay(sword, play_test::At(23, 20));
    auto* man = new Human;
    Lay(man, play_test::At(24, 20));
    std::vector<std::unique_ptr<CPropertyDialog>> dialogs;
    dialogs.push_back(std::make_unique<CObjectPropertiesDlg>(play, *chest));
    dialogs.push_back(std::make_unique<CContainerDlg>(play, *chest));
    dialogs.push_back(std::make_unique<CAddKeyDlg>(play, *chest));
    dialogs.push_back(std::make_unique<CKeyListDlg>(play, chest));
    dialogs.push_back(std::make_unique<CMonsterCreatorDlg>(play, *generator));
    dialogs.push_back(std::make_unique<CPlayerPropertySheet>(play, *walker));
    dialogs.push_back(std::make_unique<CPlayerMovesDlg>(play, *walker));
    dialogs.push_back(std::make_unique<CCoordinatesDlg>(play, 1, 2));
    dialogs.push_back(std::make_unique<CLandTreeDlg>(play));
    dialogs.push_back(std::make_unique<CAddLandDlg>(play));
    dialogs.push_back(std::make_unique<CWeaponDlg>(play, *sword));
    for (auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->Title());
        EXPECT_GT(OpenAndDraw(*dialog), 0u);
        EXPECT_EQ(dialog->GetEndCode(), 0);  // still open
        // Its OK button is there to be pressed.
        EXPECT_TRUE(dialog->Gui().Where("OK").has_value());
        editor_test::KeepPicture(dialog->Picture(), dialog->Title());
    }
    // The human's sheet shows its colour page once that tab is chosen.
    CPlayerPropertySheet humanSheet(play, *man);
    EXPECT_GT(OpenAndDraw(humanSheet), 0u);
    ASSERT_TRUE(humanSheet.Gui().Click("Human - Color"));
    qv::Surface face(humanSheet.Gui().Size().x, humanSheet.Gui().Size().y);
    EXPECT_GT(humanSheet.Gui().Draw(face), 0u);
    EXPECT_TRUE(humanSheet.Gui().Where("Shirt").has_value());
    editor_test::KeepPicture(humanSheet.Picture(), "Human - Color");
}

// ---- Which dialog an object opens

TEST_F(ObjectDialogs, EachThingOpensItsOwnDialogInBuildModeOnly) {
    struct Row {
        const char* what;
        std::function<Object*()> make;
        const char* title;
    };
    const Row rows[] = {
        {"a plain object", [] { return new Object("Object"); }, "Object properties"},
        {"a chest", [] { return new Chest; }, "Container"},
        {"a barrel", [] { return new Barrel; }, "Container"},
        {"a monster generator", [] { return new MonsterGenerator; }, "Monster Creator"},
        {"a weapon", [] { return new Weapon; }, "Weapon properties"},
    };
    std::vector<std::string> opened;
    Play::EditorHooks hooks;
    hooks.editObject = [&](Object& object) {
        opened.push_back(MakeObjectDialog(play, object)->Title());
        return 1;
    };
    play.InstallEditor(std::move(hooks));
    int column = 20;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ObjectHolder* at = Lay(r.make(), play_test::At(column, 20));
        column += 2;
        opened.clear();
        play.Editor().SetEditing(false);
        play.Give(Order::On(Order::Kind::Edit, at));
        EXPECT_TRUE(opened.empty());
        play.Editor().SetEditing(true);
        play.Give(Order::On(Order::Kind::Edit, at));
        EXPECT_EQ(opened, std::vector<std::string>{r.title});
    }
    Player* creature = PlaceMember(1, play_test::At(22, 22));
    EXPECT_EQ(MakeObjectDialog(play, *creature)->Title(), "Creature Properties");
}

}  // namespace
