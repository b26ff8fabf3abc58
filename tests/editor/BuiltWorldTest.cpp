// A small world made through the editor's dialogs and orders: a land added
// beside the world's own, walls with a door and its key, a chest with things
// in it, a creature with scripted moves and a monster generator. The world is
// saved and read back as a game starts from it, and each thing is found where
// it was put, as it was made.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "editor/AddKeyDlg.h"
#include "editor/AddLandDlg.h"
#include "editor/ContainerDlg.h"
#include "editor/MonsterCreatorDlg.h"
#include "editor/ObjectPropertiesDlg.h"
#include "editor/PlayerMovesDlg.h"
#include "editor/PlayerPropertySheet.h"
#include "items/Container.h"
#include "items/Weapon.h"
#include "platform/Message.h"
#include "shell/WorldFileFixture.h"
#include "structures/Fixtures.h"
#include "structures/Walls.h"
#include "world/Group.h"
#include "world/KeyStorage.h"

namespace {

using worldfile_test::At;

class BuiltWorld : public worldfile_test::WorldFileTest {
protected:
    BuiltWorld() { Open(); }
    Play& play = frame.m_Play;
    qv::ScriptedMessages refusals;

    // The placed object of that name, or null.
    Object* Find(const std::string& name) {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h->m_pObject && h->m_pObject->m_strSpecialName == name) return h->m_pObject;
        return nullptr;
    }
    // Names the object through its dialog.
    void Name(Object& object, const std::string& name) {
        CObjectPropertiesDlg dialog(play, object);
        dialog.m_strSpecialName = name;
        ASSERT_TRUE(dialog.Ok()) << dialog.Message();
    }
    // Drops a new thing at a point, named.
    Object* DropNamed(Object* thing, const Position& at, const std::string& name) {
        Order drop = Order::At(Order::Kind::Drop, at);
        drop.object = thing;
        EXPECT_EQ(play.Give(drop), 2) << name;
        Name(*thing, name);
        return thing;
    }
    Object* PlaceNamed(Object* piece, const Position& at, const std::string& name) {
        Order place = Order::At(Order::Kind::Place, at);
        place.object = piece;
        EXPECT_EQ(play.Give(place), 1) << name;
        Name(*piece, name);
        return piece;
    }
};

TEST_F(BuiltWorld, WhatTheEditorPutsIsFoundWhereItWasPutAfterTheWorldIsSavedAndRead) {
    // Two lands: the world's own and a pond inside it.
    CAddLandDlg land(play);
    land.m_strName = "Pond";
    land.m_strFile = "pond.lnd";
    land.m_Bounds = {20, 20, 30, 28};
    ASSERT_TRUE(land.Ok()) << land.Message();

    PlaceNamed(new FrontWall, At(26, 24), "West Wall");
    PlaceNamed(new FrontWall, At(28, 24), "East Wall");
    Object* gate = PlaceNamed(new FrontDoorBrick, At(27, 24), "Gate");
    Object* key = DropNamed(new Key, At(25, 26), "Brass Key");
    for (Object* keyed : {gate, key}) {
        CAddKeyDlg add(play, *keyed);
        add.m_iKeyNumber = 7;
        add.m_strName = "Gate Key";
        ASSERT_TRUE(add.Ok());
    }

    frame.m_World.m_Catalogue.Add(CatalogueList::Weapons, std::make_unique<Weapon>());
    auto* chest = static_cast<Container*>(DropNamed(new Chest, At(31, 25), "Strongbox"));
    CContainerDlg contents(play, *chest);
    ASSERT_TRUE(contents.Add(CatalogueList::Weapons, 0));
    ASSERT_TRUE(contents.Add(CatalogueList::Weapons, 0));
    contents.m_bLocked = 1;
    ASSERT_TRUE(contents.Ok());

    Group* guards = NumberedGroup(2, "guards");
    Player* guard = Creature("Guard", 2);
    guards->AddMemberDirect(guard);
    Position at = At(32, 25);
    guard->m_Position = at;
    ASSERT_EQ(map.AddHolder(at, new ObjectHolder(at, guard)), 1);
    CPlayerMovesDlg moves(play, *guard);
    for (qv::Point cell : {qv::Point{33, 25}, qv::Point{33, 28}}) {
        CCoordinatesDlg& where = moves.NewMove();
        where.m_iX = cell.x;
        where.m_iY = cell.y;
        ASSERT_TRUE(where.Ok());
    }

    auto* spawner =
        static_cast<MonsterGenerator*>(DropNamed(new MonsterGenerator, At(34, 26), "Spawner"));
    CMonsterCreatorDlg creator(play, *spawner);
    ASSERT_TRUE(creator.AddTemplate(0));
    creator.m_iKeyNumber = 7;
    creator.m_iMode = 1;
    ASSERT_TRUE(creator.Ok());

    const std::map<std::string, std::string> before = Census();
    Read(Store(), true);
    map.ReloadWindowAt(25, 24);
    EXPECT_EQ(Census(), before);

    // Each thing is as it was made.
    auto* foundChest = qv::DynamicCast<Container>(Find("Strongbox"));
    ASSERT_NE(foundChest, nullptr);
    EXPECT_EQ(foundChest->m_bLocked, 1);
    EXPECT_EQ(foundChest->GetItemList()->size(), 2u);
    std::set<std::string> keyed;
    for (auto& record : frame.m_World.m_KeyStorageList)
        if (record->m_iKeyNum == 7)
            for (auto& h : record->m_ObjectList)
                if (h) keyed.insert(h->m_strSpecialName);
    EXPECT_EQ(keyed, (std::set<std::string>{"Gate", "Brass Key"}));
    auto* foundGuard = qv::DynamicCast<Player>(Find("Guard"));
    ASSERT_NE(foundGuard, nullptr);
    CPlayerMovesDlg foundMoves(play, *foundGuard);
    EXPECT_EQ(foundMoves.Lines(),
              (std::vector<std::string>{"Move to:  33, 25", "Move to:  33, 28"}));
    auto* foundSpawner = qv::DynamicCast<MonsterGenerator>(Find("Spawner"));
    ASSERT_NE(foundSpawner, nullptr);
    EXPECT_EQ(foundSpawner->m_iKeyNumber, 7);
    EXPECT_EQ(foundSpawner->m_iMode, 1);
    ASSERT_NE(foundSpawner->m_pTemplates, nullptr);
    EXPECT_EQ(foundSpawner->m_pTemplates->Members().size(), 1u);
    EXPECT_NE(play.FindLandInfo("pond.lnd"), nullptr);
}

}  // namespace
