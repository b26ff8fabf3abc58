#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "world/Global.h"
#include "world/KeyStorage.h"
#include "world/Object.h"
#include "world/World.h"

namespace {

TEST(Global, TheFramePointerLivesWithTheFrame) {
    EXPECT_EQ(GetMainFrame(), nullptr);
    EXPECT_EQ(GetMapMaster(), nullptr);
    EXPECT_EQ(GetPlayerArray(), nullptr);
    EXPECT_EQ(IsEditMode(), 0);
    EXPECT_EQ(GetBaseDirectory(), "");
    EXPECT_EQ(SetMessageLine("lost"), 1);
    {
        CMainFrame frame;
        EXPECT_EQ(GetMainFrame(), &frame);
        frame.m_Play.Editor().SetEditing(true);
        frame.m_Play.Saves().SetGameFolder("C:\\Games\\Quorvale\\");
        EXPECT_EQ(IsEditMode(), 1);
        EXPECT_EQ(GetPlayerArray(), &frame.m_World.m_PlayerArray);
        EXPECT_EQ(GetWorld(), &frame.m_World);
        EXPECT_EQ(GetBaseDirectory(), "C:\\Games\\Quorvale\\");
        EXPECT_EQ(SetMessageLine("Use Potion on..."), 1);
        EXPECT_EQ(frame.m_strMessageLine, "Use Potion on...");
        EXPECT_EQ(GetDrawEnabled(), 1);
    }
    EXPECT_EQ(GetMainFrame(), nullptr);
    EXPECT_EQ(GetWorld(), nullptr);
}

TEST(Global, AssertionsShowTheFilesOwnNameAndRetryGoesOn) {
    CMainFrame frame;
    qv::ScriptedMessages script({qv::MessageAnswer::Retry, qv::MessageAnswer::Retry});
    AssertFailed(12, "C:\\work\\game\\Group.cpp", "pGroupSearching != NULL");
    AssertFailed(7, "/src/world/Object.cpp", "m_iBulkNum >= 0");
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_EQ(script.shown[0], "assertion failed (12:Group.cpp)\npGroupSearching != NULL");
    EXPECT_EQ(script.shown[1], "assertion failed (7:Object.cpp)\nm_iBulkNum >= 0");
    EXPECT_EQ(frame.m_bAssertShowing, 0) << "cleared again after Retry";
}

int Guarded(int* p) {
    if (!QV_CHECK(p != nullptr)) return -1;
    return *p;
}

TEST(Global, ACheckAnsweredWithRetryLetsTheCallerReturn) {
    qv::ScriptedMessages script({qv::MessageAnswer::Retry});
    int v = 5;
    EXPECT_EQ(Guarded(&v), 5);
    EXPECT_TRUE(script.shown.empty());
    EXPECT_EQ(Guarded(nullptr), -1);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].ends_with("GlobalTest.cpp)\np != nullptr")) << script.shown[0];
}

TEST(GlobalDeathTest, CancelAndANullFormatEndWithCode1) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            qv::ScriptedMessages script({qv::MessageAnswer::Cancel});
            FatalMessage("broken %d", 3);
        },
        testing::ExitedWithCode(1), "broken 3");
    EXPECT_EXIT(FatalMessage(nullptr), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(AssertFailed(1, "a.cpp", "x"), testing::ExitedWithCode(1), "assertion failed")
        << "nobody to answer: the program ends";
}

TEST(GlobalDeathTest, FileErrorsWithoutAFrameEndWithCode2) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ReportFileException(qv::FileError(qv::FileError::NotFound, "Lands\\north.lnd")),
                testing::ExitedWithCode(2), "Lands.north.lnd not found\\.");
}

TEST(Global, FileErrorsWithAFrameAskItToQuitWithCode2) {
    CMainFrame frame;
    qv::ScriptedMessages script;
    ReportFileException(qv::FileError(qv::FileError::NotFound, "world.qvr"));
    ReportFileException(qv::FileError(qv::FileError::Other, "saved"));
    ASSERT_EQ(script.shown.size(), 2u);
    EXPECT_EQ(script.shown[0], "world.qvr not found.");
    EXPECT_NE(script.shown[1].find("saved"), std::string::npos);
    EXPECT_EQ(frame.m_bQuitRequested, 1);
    EXPECT_EQ(frame.m_iQuitCode, 2);
}

TEST(Global, KeyRecordsByNumber) {
    World world;
    Object a("Door"), b("Lever"), c("Key");
    a.m_iItemNum = b.m_iItemNum = 2;
    c.m_iItemNum = 5;
    world.AddToKeyStorage(&a);
    world.AddToKeyStorage(&c);
    world.AddToKeyStorage(&b);
    world.AddToKeyStorage(&a);  // already listed: not listed twice
    ASSERT_EQ(world.m_KeyStorageList.size(), 2u);
    EXPECT_EQ(world.m_KeyStorageList[0]->m_iKeyNum, 2);
    EXPECT_EQ(world.m_KeyStorageList[1]->m_iKeyNum, 5);
    EXPECT_EQ(world.m_KeyStorageList[0]->m_ObjectList.size(), 2u);
    world.RemoveFromKeyStorage(&a);
    auto& list = world.m_KeyStorageList[0]->m_ObjectList;
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Get(), &b);
    // Taken from every record, whatever number it carries now.
    c.m_iItemNum = 2;
    world.RemoveFromKeyStorage(&c);
    EXPECT_TRUE(world.m_KeyStorageList[1]->m_ObjectList.empty());
    EXPECT_EQ(list.size(), 1u);
}

}  // namespace
