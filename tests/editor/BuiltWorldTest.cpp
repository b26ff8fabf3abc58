// A small world made through the editor's dialogs and orders: a land added
// beside the world's own, walls with a door and its key, a chest with things
// in it, a creature with scripted moves and a monster generator. The world is
// saved and read back as a game starts from it, and each thing is found where
// it was put, as it was made.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "editor/AddKeyDlg.h"
#include "editor/AddLandDlg.h"
#include "editor/ContainerDlg.h"
#include "editor/DialogFixture.h"
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

namespace {

using worldfile_test::At;

class BuiltWorld : public worldfile_test::WorldFileTest {
protected:
    BuiltWorld() { Open(); }
    Play& play = frame.m_Play;
    qv::ScriptedMessages refusals;

    // The placed object of that name, or null.
    template <class T>
    T* Find(const std::string& name) {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h->m_pObject && h->m_pObject->m_strSpecialName == name)
                        return qv::DynamicCast<T>(h->m_pObject);
        return nullptr;
    }
    // Puts a new thing down at a point (dropped, or placed as a piece of
    // wall) and names it through its dialog.
    template <class T>
    T* Put(T* thing, const Position& at, const std::string& name, bool piece = false) {
        Order put = Order::At(piece ? Order::Kind::Place : Order::Kind::Drop, at);
        put.object = thing;
        EXPECT_EQ(play.Give(put), piece ? 1 : 2) << name;
        CObjectPropertiesDlg dialog(play, *thing);
        dialog.m_strSpecialName = name;
        EXPECT_TRUE(dialog.Ok()) << dialog.Message();
        return thing;
    }
};

TEST_F(BuiltWorld, WhatTheEditorPutsIsFoundWhereItWasPutAfterTheWorldIsSavedAndRead) {
    // Two lands: the world's own and a pond inside it.
    CAddLandDlg land(play);
    land.m_strName = "Pond";
    land.m_strFile = "pond.lnd";
    land.m_Bounds = {20, 20, 30, 28};
    ASSERT_TRUE(land.Ok()) << land.Message();

    Put(new FrontWall, At(26, 24), "West Wall", true);
    Put(new FrontWall, At(28, 24), "East Wall", true);
    for (Object* keyed : {static_cast<Object*>(Put(new FrontDoorBrick, At(27, 24), "Gate", true)),
                          static_cast<Object*>(Put(new Key, At(25, 26), "Brass Key"))}) {
        CAddKeyDlg add(play, *keyed);
        add.m_iKeyNumber = 7;
        add.m_strName = "Gate Key";
        ASSERT_TRUE(add.Ok());
    }

    frame.m_World.m_Catalogue.Add(CatalogueList::Weapons, std::make_unique<Weapon>());
    CContainerDlg contents(play, *Put(new Chest, At(31, 25), "Strongbox"));
    ASSERT_TRUE(contents.Add(CatalogueList::Weapons, 0));
    ASSERT_TRUE(contents.Add(CatalogueList::Weapons, 0));
    contents.m_bLocked = 1;
    ASSERT_TRUE(contents.Ok());

    Player* guard = Creature("Guard", 2);
    NumberedGroup(2, "guards")->AddMemberDirect(guard);
    guard->m_Position = At(32, 25);
    ASSERT_EQ(map.AddHolder(guard->m_Position, new ObjectHolder(guard->m_Position, guard)), 1);
    CPlayerMovesDlg moves(play, *guard);
    for (qv::Point cell : {qv::Point{33, 25}, qv::Point{33, 28}}) {
        CCoordinatesDlg& where = moves.NewMove();
        where.m_iX = cell.x;
        where.m_iY = cell.y;
        ASSERT_TRUE(where.Ok());
    }

    CMonsterCreatorDlg creator(play, *Put(new MonsterGenerator, At(34, 26), "Spawner"));
    ASSERT_TRUE(creator.AddTemplate(0));
    creator.m_iKeyNumber = 7;
    creator.m_iMode = 1;
    ASSERT_TRUE(creator.Ok());

    const std::map<std::string, std::string> before = Census();
    Read(Store(), true);
    map.ReloadWindowAt(25, 24);
    EXPECT_EQ(Census(), before);

    // Each thing is as it was made.
    auto* chest = Find<Container>("Strongbox");
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->m_bLocked, 1);
    EXPECT_EQ(chest->GetItemList()->size(), 2u);
    EXPECT_EQ(editor_test::Keyed(frame.m_World, 7), (std::set<std::string>{"Gate", "Brass Key"}));
    ASSERT_NE(Find<Player>("Guard"), nullptr);
    EXPECT_EQ(CPlayerMovesDlg(play, *Find<Player>("Guard")).Lines(),
              (std::vector<std::string>{"Move to:  33, 25", "Move to:  33, 28"}));
    auto* spawner = Find<MonsterGenerator>("Spawner");
    ASSERT_NE(spawner, nullptr);
    EXPECT_EQ((std::pair{spawner->m_iKeyNumber, spawner->m_iMode}), (std::pair{7, 1}));
    ASSERT_NE(spawner->m_pTemplates, nullptr);
    EXPECT_EQ(spawner->m_pTemplates->Members().size(), 1u);
    EXPECT_NE(play.Editor().FindLandInfo("pond.lnd"), nullptr);
}

}  // namespace
