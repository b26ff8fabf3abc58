// The editor's dialogs on a world and its play: each value at its limits and
// either side of them (a refused one changes nothing and says why; an
// accepted one changes the thing), the things of a container, key records,
// a creature's sheet and scripted moves, and a monster generator.

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creatures/Human.h"
#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "data/CreatureArt.h"
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

using editor_test::DialogFixture;

class ObjectDialogs : public DialogFixture {
protected:
    // The objects listed under key number `key`, by name.
    std::vector<std::string> Keyed(int key) {
        std::vector<std::string> names;
        for (auto& record : world.m_KeyStorageList)
            if (record->m_iKeyNum == key)
                for (auto& h : record->m_ObjectList)
                    if (h) names.push_back(h->m_strSpecialName);
        return names;
    }
};

// ---- Object properties

struct ObjectRow {
    const char* what;
    int32_t CObjectPropertiesDlg::*field;
    int32_t Object::*stored;
    int32_t value;
    bool accepted;
};

const ObjectRow kObjectRows[] = {
    {"amount 0: below the least", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum, 0, false},
    {"amount 1: the least", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum, 1, true},
    {"amount 2", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum, 2, true},
    {"amount 999999", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum, 999999, true},
    {"amount 1000000: the most", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum, 1000000,
     true},
    {"amount 1000001: above the most", &CObjectPropertiesDlg::m_iAmount, &Object::m_iBulkNum,
     1000001, false},
    {"frame column -1", &CObjectPropertiesDlg::m_iColumn, &Object::m_iXImageNum, -1, false},
    {"frame column 0: the only one", &CObjectPropertiesDlg::m_iColumn, &Object::m_iXImageNum, 0,
     true},
    {"frame column 1: past the picture", &CObjectPropertiesDlg::m_iColumn, &Object::m_iXImageNum, 1,
     false},
    {"frame row -1", &CObjectPropertiesDlg::m_iRow, &Object::m_iYImageNum, -1, false},
    {"frame row 1: past the picture", &CObjectPropertiesDlg::m_iRow, &Object::m_iYImageNum, 1,
     false},
    {"key number -2", &CObjectPropertiesDlg::m_iKeyNumber, &Object::m_iItemNum, -2, false},
    {"key number -1: none", &CObjectPropertiesDlg::m_iKeyNumber, &Object::m_iItemNum, -1, true},
    {"key number 0: the first", &CObjectPropertiesDlg::m_iKeyNumber, &Object::m_iItemNum, 0, true},
    {"interact -1", &CObjectPropertiesDlg::m_bInteract, &Object::m_bInteract, -1, false},
    {"interact 0", &CObjectPropertiesDlg::m_bInteract, &Object::m_bInteract, 0, true},
    {"interact 2", &CObjectPropertiesDlg::m_bInteract, &Object::m_bInteract, 2, false},
    {"moveable 0", &CObjectPropertiesDlg::m_bMoveable, &Object::m_bMoveable, 0, true},
    {"moveable 2: only prototypes", &CObjectPropertiesDlg::m_bMoveable, &Object::m_bMoveable, 2,
     false},
    {"owner -2", &CObjectPropertiesDlg::m_iOwner, &Object::m_iOwner, -2, false},
    {"owner -1: nobody", &CObjectPropertiesDlg::m_iOwner, &Object::m_iOwner, -1, true},
    {"owner 7", &CObjectPropertiesDlg::m_iOwner, &Object::m_iOwner, 7, true},
    {"value below zero: a debt is a value", &CObjectPropertiesDlg::m_iValue, &Object::m_iValue, -5,
     true},
};

TEST_F(ObjectDialogs, ObjectPropertiesTakeOnlyValuesInsideTheirLimits) {
    for (const ObjectRow& r : kObjectRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        auto* thing = new Object("Object");
        thing->m_iBulkNum = 3;
        thing->m_iOwner = 2;
        Lay(thing, play_test::At(20, 20));
        const int32_t before = thing->*r.stored;
        CObjectPropertiesDlg dialog(play, *thing);
        dialog.*r.field = r.value;
        EXPECT_EQ(dialog.Ok(), r.accepted);
        EXPECT_EQ(thing->*r.stored, r.accepted ? r.value : before);
        EXPECT_EQ(dialog.Message().empty(), r.accepted) << dialog.Message();
        EXPECT_EQ(dialog.GetEndCode(), r.accepted ? int{CEditorDialog::IDOK} : 0);
    }
}

TEST_F(ObjectDialogs, TheAmountIsTypedIntoItsFieldAndOkTakesItOrShowsWhyNot) {
    auto* thing = new Object("Object");
    Lay(thing, play_test::At(20, 20));
    struct Row {
        const char* what;
        const char* typed;
        int endCode;
        int32_t amount;
        size_t shown;
    };
    const Row rows[] = {
        {"0: refused, shown, the dialog stays", "0", 0, 1, 1},
        {"1000001: refused", "1000001", 0, 1, 1},
        {"12: taken, the dialog ends", "12", CEditorDialog::IDOK, 12, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        CObjectPropertiesDlg dialog(play, *thing);
        dialog.Open();
        ASSERT_TRUE(dialog.Gui().Fill("Amount", r.typed));
        ASSERT_TRUE(dialog.Gui().Click("OK"));
        EXPECT_EQ(dialog.GetEndCode(), r.endCode);
        EXPECT_EQ(thing->m_iBulkNum, r.amount);
        EXPECT_EQ(messages.shown.size(), r.shown);
    }
}

TEST_F(ObjectDialogs, ARefusedValueLeavesTheOthersOfTheDialogUnchangedToo) {
    qv::ScriptedMessages messages;
    auto* thing = new Object("Object");
    Lay(thing, play_test::At(20, 20));
    CObjectPropertiesDlg dialog(play, *thing);
    dialog.m_strSpecialName = "Lantern";
    dialog.m_iValue = 40;
    dialog.m_iAmount = 0;
    EXPECT_FALSE(dialog.Ok());
    EXPECT_EQ(dialog.Message(), "\"Amount\" must lie from 1 to 1000000: 0 is refused.");
    EXPECT_EQ(thing->m_strSpecialName, "Object");
    EXPECT_EQ(thing->m_iValue, 0);
    // Mended, it goes through whole.
    dialog.m_iAmount = 4;
    EXPECT_TRUE(dialog.Ok());
    EXPECT_EQ(thing->m_strSpecialName, "Lantern");
    EXPECT_EQ(thing->m_iValue, 40);
    EXPECT_EQ(thing->m_iBulkNum, 4);
}

TEST_F(ObjectDialogs, ANewKeyNumberMovesTheObjectBetweenRecords) {
    auto* door = new Object("Object");
    door->m_strSpecialName = "Door";
    Lay(door, play_test::At(20, 20));
    CObjectPropertiesDlg first(play, *door);
    first.m_iKeyNumber = 3;
    ASSERT_TRUE(first.Ok());
    EXPECT_EQ(Keyed(3), std::vector<std::string>{"Door"});
    CObjectPropertiesDlg second(play, *door);
    second.m_iKeyNumber = 4;
    ASSERT_TRUE(second.Ok());
    EXPECT_TRUE(Keyed(3).empty());
    EXPECT_EQ(Keyed(4), std::vector<std::string>{"Door"});
}

// ---- Containers

TEST_F(ObjectDialogs, TheContainersItemsAreAddedAndDeletedAndItsFlagsSet) {
    for (int i = 0; i < 2; ++i) {
        auto sword = std::make_unique<Weapon>();
        sword->m_strSpecialName = i == 0 ? "Sword" : "Axe";
        world.m_Catalogue.Add(CatalogueList::Weapons, std::move(sword));
    }
    auto* chest = new Chest;
    Lay(chest, play_test::At(20, 20));
    CContainerDlg dialog(play, *chest);
    EXPECT_FALSE(dialog.ShowsRainBarrel());
    struct Step {
        const char* what;
        std::function<bool()> act;
        bool done;
        std::vector<std::string> lines;
    };
    const Step steps[] = {
        {"add the first prototype",
         [&] { return dialog.Add(CatalogueList::Weapons, 0); },
         true,
         {"Axe"}},
        {"add the second",
         [&] { return dialog.Add(CatalogueList::Weapons, 1); },
         true,
         {"Axe", "Sword"}},
        {"no such prototype",
         [&] { return dialog.Add(CatalogueList::Weapons, 2); },
         false,
         {"Axe", "Sword"}},
        {"delete the first line", [&] { return dialog.Delete(0); }, true, {"Sword"}},
        {"delete a line past the list", [&] { return dialog.Delete(1); }, false, {"Sword"}},
        {"delete the last", [&] { return dialog.Delete(0); }, true, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.act(), s.done);
        EXPECT_EQ(dialog.ItemLines(), s.lines);
    }
    dialog.m_bLocked = 1;
    ASSERT_TRUE(dialog.Ok());
    EXPECT_EQ(chest->m_bLocked, 1);
    // "Obj. Prop." edits the container itself.
    CObjectPropertiesDlg& props = dialog.OpenObjectProperties();
    props.m_strSpecialName = "Strongbox";
    ASSERT_TRUE(props.Ok());
    EXPECT_EQ(chest->m_strSpecialName, "Strongbox");
}

TEST_F(ObjectDialogs, AFullContainerRefusesTheNextThingAndKeepsNothingOfIt) {
    world.m_Catalogue.Add(CatalogueList::Weapons, std::make_unique<Weapon>());
    auto* chest = new Chest;
    Lay(chest, play_test::At(20, 20));
    CContainerDlg dialog(play, *chest);
    const int room = chest->GetBag()->Capacity();
    for (int i = 0; i < room; ++i) ASSERT_TRUE(dialog.Add(CatalogueList::Weapons, 0)) << i;
    EXPECT_FALSE(dialog.Add(CatalogueList::Weapons, 0));
    EXPECT_EQ(dialog.Message(), "The container has no room for it.");
    EXPECT_EQ(dialog.ItemLines().size(), static_cast<size_t>(room));
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
    CAddKeyDlg forDoor(play, *door);
    forDoor.m_iKeyNumber = 9;
    forDoor.m_strName = "Gate";
    ASSERT_TRUE(forDoor.Ok());
    CAddKeyDlg forKey(play, *key);
    forKey.m_iKeyNumber = 9;
    ASSERT_TRUE(forKey.Ok());
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
    // The door goes from the map: it leaves the record with it.
    ASSERT_EQ(play.Give(Order::On(Order::Kind::Delete, doorAt)), 1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Key 9: Gate", "    Key"}));
    // "Remove" takes the key out, and a record's own line is no thing.
    EXPECT_FALSE(list.Remove(0));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(texts(), std::vector<std::string>{"Key 9: Gate"});
    EXPECT_EQ(key->m_iItemNum, -1);
}

// ---- Monster generators

struct GeneratorRow {
    const char* what;
    int32_t CMonsterCreatorDlg::*field;
    int32_t MonsterGenerator::*stored;
    int32_t value;
    bool accepted;
};

const GeneratorRow kGeneratorRows[] = {
    {"mode -1", &CMonsterCreatorDlg::m_iMode, &MonsterGenerator::m_iMode, -1, false},
    {"mode 1: the world's fight", &CMonsterCreatorDlg::m_iMode, &MonsterGenerator::m_iMode, 1,
     true},
    {"mode 2", &CMonsterCreatorDlg::m_iMode, &MonsterGenerator::m_iMode, 2, false},
    {"key number -2", &CMonsterCreatorDlg::m_iKeyNumber, &MonsterGenerator::m_iKeyNumber, -2,
     false},
    {"key number 0", &CMonsterCreatorDlg::m_iKeyNumber, &MonsterGenerator::m_iKeyNumber, 0, true},
    {"send party 1", &CMonsterCreatorDlg::m_bSendParty, &MonsterGenerator::m_bSendParty, 1, true},
    {"send party 2", &CMonsterCreatorDlg::m_bSendParty, &MonsterGenerator::m_bSendParty, 2, false},
    {"exit x far west", &CMonsterCreatorDlg::m_iExitX, &MonsterGenerator::m_iExitX, INT32_MIN,
     true},
    {"exit y -3", &CMonsterCreatorDlg::m_iExitY, &MonsterGenerator::m_iExitY, -3, true},
};

TEST_F(ObjectDialogs, TheMonsterCreatorTakesOnlyValuesInsideTheirLimits) {
    for (const GeneratorRow& r : kGeneratorRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        auto* generator = new MonsterGenerator;
        Lay(generator, play_test::At(20, 20));
        const int32_t before = generator->*r.stored;
        CMonsterCreatorDlg dialog(play, *generator);
        dialog.*r.field = r.value;
        EXPECT_EQ(dialog.Ok(), r.accepted);
        EXPECT_EQ(generator->*r.stored, r.accepted ? r.value : before);
        EXPECT_EQ(dialog.Message().empty(), r.accepted);
    }
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
    dialog.m_iKeyNumber = 5;
    dialog.m_iExitX = 2;
    dialog.m_bSendParty = 1;
    ASSERT_TRUE(dialog.Ok());
    EXPECT_EQ(generator->m_iKeyNumber, 5);
    EXPECT_EQ(generator->m_iExitX, 2);
    EXPECT_EQ(generator->m_bSendParty, 1);
    ASSERT_NE(generator->m_pTemplates, nullptr);
    EXPECT_EQ(generator->m_pTemplates->Members().size(), 2u);
    EXPECT_TRUE(dialog.DeleteTemplate(0));
    EXPECT_FALSE(dialog.DeleteTemplate(1));
    EXPECT_TRUE(dialog.DeleteTemplate(0));
    EXPECT_EQ(generator->m_pTemplates, nullptr);
    // Only a creature becomes a template.
    auto* thing = new Object("Object");
    Order order = Order::Of(Order::Kind::AddItem);
    order.object = thing;
    order.into = generator;
    EXPECT_EQ(play.Give(order), 0);
    delete thing;
}

// ---- Creatures

TEST_F(ObjectDialogs, AScriptedMoveIsAddedThroughTheCoordinatesDialog) {
    Player* walker = PlaceMember(1, play_test::At(20, 20));
    CPlayerMovesDlg moves(play, *walker);
    struct Step {
        const char* what;
        int32_t x, y;
        bool ok;  // OK, else Cancel
        bool accepted;
        std::vector<std::string> lines;
    };
    const Step steps[] = {
        {"a cell of the world", 12, 30, true, true, {"Move to:  12, 30"}},
        {"the last cell of the world",
         99,
         79,
         true,
         true,
         {"Move to:  12, 30", "Move to:  99, 79"}},
        {"x one past the world", 100, 5, true, false, {"Move to:  12, 30", "Move to:  99, 79"}},
        {"y below the world", 5, -1, true, false, {"Move to:  12, 30", "Move to:  99, 79"}},
        {"cancelled: nothing added", 4, 4, false, false, {"Move to:  12, 30", "Move to:  99, 79"}},
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

struct SheetRow {
    const char* what;
    size_t choice;
    int32_t value;
    bool accepted;
};

const SheetRow kSheetRows[] = {
    {"mode of combat -1", 0, -1, false},
    {"mode of combat 1", 0, 1, true},
    {"mode of combat 2", 0, 2, false},
    {"attack whom 5: randomly", 1, 5, true},
    {"attack whom 6", 1, 6, false},
    {"flee 2", 2, 2, false},
    {"magic priority 2: balance", 3, 2, true},
    {"magic priority 3", 3, 3, false},
    {"attack preference 0", 4, 0, true},
    {"attack preference 3", 4, 3, false},
    {"attack method 2: berserker", 5, 2, true},
    {"attack method 3", 5, 3, false},
};

// The place of each of the sheet's six choices among the combat settings.
constexpr size_t kSettingOf[] = {0, 1, 2, 3, 5, 6};

TEST_F(ObjectDialogs, TheSheetsFightingChoicesStayInsideTheirControls) {
    for (const SheetRow& r : kSheetRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        Player* fighter = PlaceMember(1, play_test::At(20, 20));
        const auto before = fighter->m_iCombatSettings;
        CPlayerPropertySheet sheet(play, *fighter);
        sheet.m_Pages.combat[r.choice] = r.value;
        sheet.m_Pages.specialName = "Renamed";
        EXPECT_EQ(sheet.Ok(), r.accepted);
        EXPECT_EQ(fighter->m_iCombatSettings[kSettingOf[r.choice]],
                  r.accepted ? r.value : before[kSettingOf[r.choice]]);
        EXPECT_EQ(fighter->m_strSpecialName == "Renamed", r.accepted);
        world.m_Party[1] = nullptr;
        if (world.m_pControlPlayer.Get() == fighter) world.m_pControlPlayer = nullptr;
    }
}

TEST_F(ObjectDialogs, TheSheetMovesAPlacedCreatureThroughPlay) {
    Player* walker = PlaceMember(1, play_test::At(20, 20));
    CPlayerPropertySheet sheet(play, *walker);
    const Position to = play_test::At(22, 21);
    sheet.m_Pages.x = to.x;
    sheet.m_Pages.y = to.y;
    sheet.m_Pages.strength = 61;
    ASSERT_TRUE(sheet.Ok());
    ASSERT_NE(walker->m_pHolder, nullptr);
    EXPECT_EQ(walker->m_pHolder->pos.x, to.x);
    EXPECT_EQ(walker->m_pHolder->pos.y, to.y);
    EXPECT_EQ(walker->m_iStrength, 61);
    // A place outside the world is refused.
    CPlayerPropertySheet far(play, *walker);
    far.m_Pages.x = 100 * 160;
    EXPECT_FALSE(far.Ok());
    EXPECT_EQ(walker->m_pHolder->pos.x, to.x);
}

// ---- Weapons

struct WeaponRow {
    const char* what;
    int32_t CWeaponDlg::*field;
    int32_t Weapon::*stored;
    int32_t value;
    bool accepted;
};

const WeaponRow kWeaponRows[] = {
    {"speed 0: it would never strike", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 0, false},
    {"speed 1: the least (a boulder's)", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 1, true},
    {"speed 2", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 2, true},
    {"speed 199", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 199, true},
    {"speed 200: the most", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 200, true},
    {"speed 201", &CWeaponDlg::m_iSpeed, &Weapon::m_iSpeed, 201, false},
    {"damage base -1", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, -1, false},
    {"damage base 0: the least (a touch's)", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, 0,
     true},
    {"damage base 1", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, 1, true},
    {"damage base 999", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, 999, true},
    {"damage base 1000: the most", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, 1000, true},
    {"damage base 1001", &CWeaponDlg::m_iDamageBase, &Weapon::m_iDamageBase, 1001, false},
    {"damage range -1", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, -1, false},
    {"damage range 0: no random part", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, 0,
     true},
    {"damage range 1", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, 1, true},
    {"damage range 999", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, 999, true},
    {"damage range 1000: the most", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, 1000,
     true},
    {"damage range 1001", &CWeaponDlg::m_iDamageRange, &Weapon::m_iDamageRange, 1001, false},
    {"stun -1", &CWeaponDlg::m_iStun, &Weapon::m_iStun, -1, false},
    {"stun 0: no hold-up", &CWeaponDlg::m_iStun, &Weapon::m_iStun, 0, true},
    {"stun 1", &CWeaponDlg::m_iStun, &Weapon::m_iStun, 1, true},
    {"stun 999", &CWeaponDlg::m_iStun, &Weapon::m_iStun, 999, true},
    {"stun 1000: the most", &CWeaponDlg::m_iStun, &Weapon::m_iStun, 1000, true},
    {"stun 1001", &CWeaponDlg::m_iStun, &Weapon::m_iStun, 1001, false},
};

TEST_F(ObjectDialogs, TheWeaponsNumbersStayInsideWhatAFightCanTake) {
    for (const WeaponRow& r : kWeaponRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        auto* sword = new Weapon(90, 10, 3, 5, 50, "Sword");
        Lay(sword, play_test::At(20, 20));
        const int32_t before = sword->*r.stored;
        CWeaponDlg dialog(play, *sword);
        EXPECT_EQ(dialog.m_strSpecialName, "Sword");
        dialog.*r.field = r.value;
        dialog.m_strSpecialName = "Widowmaker";
        EXPECT_EQ(dialog.Ok(), r.accepted);
        EXPECT_EQ(sword->*r.stored, r.accepted ? r.value : before);
        EXPECT_EQ(sword->m_strSpecialName, r.accepted ? "Widowmaker" : "Sword");
        EXPECT_EQ(dialog.Message().empty(), r.accepted) << dialog.Message();
    }
}

TEST_F(ObjectDialogs, TheWeaponDialogShowsAndWritesBackItsFourNumbers) {
    auto* axe = new Weapon(100, 10, 3, 3, 50, "Axe");
    axe->m_strGeneralName = "Axe";
    axe->m_iParameter = 3;
    Lay(axe, play_test::At(20, 20));
    CWeaponDlg dialog(play, *axe);
    EXPECT_EQ(dialog.m_strGeneralName, "Axe");
    EXPECT_EQ((std::array<int32_t, 4>{dialog.m_iSpeed, dialog.m_iDamageBase, dialog.m_iDamageRange,
                                      dialog.m_iStun}),
              (std::array<int32_t, 4>{100, 3, 10, 50}));
    dialog.m_iSpeed = 80;
    dialog.m_iDamageBase = 4;
    dialog.m_iDamageRange = 12;
    dialog.m_iStun = 70;
    dialog.m_strGeneralName = "Not taken";
    ASSERT_TRUE(dialog.Ok());
    EXPECT_EQ((std::array<int32_t, 5>{axe->m_iSpeed, axe->m_iDamageBase, axe->m_iDamageRange,
                                      axe->m_iStun, axe->m_iParameter}),
              (std::array<int32_t, 5>{80, 4, 12, 70, 3}));
    EXPECT_EQ(axe->m_strGeneralName, "Axe");
    // A number the editor would not give, kept from an old record, stays
    // while the name changes; changed, it is refused.
    axe->m_iStun = 5000;
    CWeaponDlg rename(play, *axe);
    rename.m_strSpecialName = "Cleaver";
    ASSERT_TRUE(rename.Ok());
    EXPECT_EQ(axe->m_strSpecialName, "Cleaver");
    EXPECT_EQ(axe->m_iStun, 5000);
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

struct ColourRow {
    const char* what;
    std::array<int32_t, 3> PlayerPropertyPages::*colour;
    std::array<int32_t, 3> Human::*stored;
    size_t part;
    int32_t value;
    bool accepted;
};

const ColourRow kColourRows[] = {
    {"hair red -65", &PlayerPropertyPages::hair, &Human::m_iHairColor, 0, -65, false},
    {"hair red -64: the darkest", &PlayerPropertyPages::hair, &Human::m_iHairColor, 0, -64, true},
    {"hair red -63", &PlayerPropertyPages::hair, &Human::m_iHairColor, 0, -63, true},
    {"hair blue 63", &PlayerPropertyPages::hair, &Human::m_iHairColor, 2, 63, true},
    {"hair blue 64: the lightest", &PlayerPropertyPages::hair, &Human::m_iHairColor, 2, 64, true},
    {"hair blue 65", &PlayerPropertyPages::hair, &Human::m_iHairColor, 2, 65, false},
    {"shirt green -1", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 1, -1, false},
    {"shirt green 0: none of it", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 1, 0, true},
    {"shirt green 1", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 1, 1, true},
    {"shirt red 63", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 0, 63, true},
    {"shirt red 64: the most", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 0, 64, true},
    {"shirt red 65", &PlayerPropertyPages::shirt, &Human::m_iShirtColor, 0, 65, false},
    {"pants green -65", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 1, -65, false},
    {"pants green -64", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 1, -64, true},
    {"pants green -63", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 1, -63, true},
    {"pants blue 63", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 2, 63, true},
    {"pants blue 64", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 2, 64, true},
    {"pants blue 65", &PlayerPropertyPages::pants, &Human::m_iPantsColor, 2, 65, false},
};

TEST_F(ObjectDialogs, AHumansColoursStayInsideWhatItsPictureCanShow) {
    for (const ColourRow& r : kColourRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        auto* man = new Human;
        man->m_iHairColor = {1, 2, 3};
        man->m_iShirtColor = {2, 2, 0};
        man->m_iPantsColor = {-3, -2, 1};
        Lay(man, play_test::At(20, 20));
        const std::array<int32_t, 3> before = man->*r.stored;
        CPlayerPropertySheet sheet(play, *man);
        ASSERT_TRUE(sheet.m_Pages.hasColourPage);
        (sheet.m_Pages.*r.colour)[r.part] = r.value;
        sheet.m_Pages.specialName = "Renamed";
        EXPECT_EQ(sheet.Ok(), r.accepted);
        std::array<int32_t, 3> expected = before;
        if (r.accepted) expected[r.part] = r.value;
        EXPECT_EQ(man->*r.stored, expected);
        EXPECT_EQ(man->m_strSpecialName == "Renamed", r.accepted);
        EXPECT_EQ(sheet.Message().empty(), r.accepted) << sheet.Message();
    }
}

TEST_F(ObjectDialogs, AHumansColoursGoRoundTheColourPage) {
    auto* woman = new Human;
    woman->m_iHairColor = {-10, -11, -7};
    woman->m_iShirtColor = {3, 0, 1};
    woman->m_iPantsColor = {-3, 1, 0};
    Lay(woman, play_test::At(20, 20));
    CPlayerPropertySheet sheet(play, *woman);
    EXPECT_EQ(sheet.m_Pages.hair, (std::array<int32_t, 3>{-10, -11, -7}));
    EXPECT_EQ(sheet.m_Pages.shirt, (std::array<int32_t, 3>{3, 0, 1}));
    EXPECT_EQ(sheet.m_Pages.pants, (std::array<int32_t, 3>{-3, 1, 0}));
    // Unchanged, OK leaves them as they were.
    ASSERT_TRUE(sheet.Ok());
    EXPECT_EQ(woman->m_iHairColor, (std::array<int32_t, 3>{-10, -11, -7}));
    // Changed, each goes to its own colour.
    CPlayerPropertySheet again(play, *woman);
    again.m_Pages.hair = {5, 6, 7};
    again.m_Pages.shirt = {0, 3, 2};
    again.m_Pages.pants = {-1, -2, -3};
    ASSERT_TRUE(again.Ok());
    LookColours shown;
    ASSERT_EQ(woman->GetLookColours(&shown), 1);
    EXPECT_EQ(shown.hair, (std::array<int32_t, 3>{5, 6, 7}));
    EXPECT_EQ(shown.shirt, (std::array<int32_t, 3>{0, 3, 2}));
    EXPECT_EQ(shown.pants, (std::array<int32_t, 3>{-1, -2, -3}));
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
    auto human = std::make_unique<CPlayerPropertySheet>(play, *man);
    CPlayerPropertySheet& humanSheet = *human;
    dialogs.push_back(std::move(human));
    // With QV_WRITE_WINDOW_PICTURES=<folder> each is also written there as
    // editor-<its title>.png (the pictures of docs/).
    const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
    for (auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->Title());
        EXPECT_GT(OpenAndDraw(*dialog), 0u);
        EXPECT_EQ(dialog->GetEndCode(), 0);  // still open
        // Its OK button is there to be pressed.
        EXPECT_TRUE(dialog->Gui().Where("OK").has_value());
        if (!folder) continue;
        if (dialog.get() == &humanSheet) continue;  // its own picture below
        std::string name = "editor-";
        for (char c : dialog->Title())
            name += std::isalnum(static_cast<unsigned char>(c))
                        ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                        : '-';
        EXPECT_TRUE(art::SavePng(dialog->Picture(), std::string(folder) + "/" + name + ".png"));
    }
    // The human's sheet shows its colour page once that tab is chosen.
    ASSERT_TRUE(humanSheet.Gui().Click("Human - Color"));
    qv::Surface face(humanSheet.Gui().Size().x, humanSheet.Gui().Size().y);
    EXPECT_GT(humanSheet.Gui().Draw(face), 0u);
    EXPECT_TRUE(humanSheet.Gui().Where("Shirt").has_value());
    if (folder) {
        EXPECT_TRUE(
            art::SavePng(humanSheet.Picture(), std::string(folder) + "/editor-human-color.png"));
    }
}

}  // namespace

namespace {

// ---- Which dialog an object opens

struct EditRow {
    const char* what;
    std::function<Object*()> make;
    const char* title;
};

TEST_F(ObjectDialogs, EachThingOpensItsOwnDialogInBuildModeOnly) {
    const EditRow rows[] = {
        {"a plain object", [] { return new Object("Object"); }, "Object properties"},
        {"a chest", [] { return new Chest; }, "Container"},
        {"a barrel", [] { return new Barrel; }, "Container"},
        {"a monster generator", [] { return new MonsterGenerator; }, "Monster Creator"},
        {"a weapon", [] { return new Weapon; }, "Weapon properties"},
    };
    std::vector<std::string> opened;
    play.m_EditObject = [&](Object& object) {
        opened.push_back(MakeObjectDialog(play, object)->Title());
        return 1;
    };
    int column = 20;
    for (const EditRow& r : rows) {
        SCOPED_TRACE(r.what);
        ObjectHolder* at = Lay(r.make(), play_test::At(column, 20));
        column += 2;
        opened.clear();
        play.m_bEditing = 0;
        play.Give(Order::On(Order::Kind::Edit, at));
        EXPECT_TRUE(opened.empty());
        play.m_bEditing = 1;
        play.Give(Order::On(Order::Kind::Edit, at));
        EXPECT_EQ(opened, std::vector<std::string>{r.title});
    }
    Player* creature = PlaceMember(1, play_test::At(22, 22));
    EXPECT_EQ(MakeObjectDialog(play, *creature)->Title(), "Creature Properties");
}

}  // namespace
