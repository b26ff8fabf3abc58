// The trading and conversation windows drawn over the start world as a game
// begun in it shows them: the shop keeper's stall with the character's pack
// and purse, and the shop keeper's greeting. With QV_WRITE_WINDOW_PICTURES
// set to a folder, the two screens are written there as trade-window.png and
// talk-window.png (the pictures of docs/).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "creatures/Player.h"
#include "data/CreatureArt.h"
#include "data/StartTalk.h"
#include "data/StartWorld.h"
#include "items/Store.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "windows/TalkWnd.h"
#include "windows/TradeWnd.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

// The pixels of a rectangle of the surface that differ from its top left.
int Varied(const qv::Surface& s, const qv::Rect& r) {
    int n = 0;
    const uint16_t first = s.GetPixel(r.left, r.top);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.GetPixel(x, y) != first;
    return n;
}

void Keep(const qv::Surface& s, const char* name) {
    const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
    if (!folder) return;
    EXPECT_TRUE(art::SavePng(s, std::string(folder) + "/" + name)) << name;
}

TEST(TalkTradePictures, TheStartWorldsStallAndGreetingAreDrawnOverTheYard) {
    const fs::path dir = fs::temp_directory_path() / ("qv-pictures-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    WriteStartWorld(dir.string());
    qv::MessageLoop::Instance().Reset();
    {
        qv::ScriptedMessages messages;
        CMainFrame frame;
        ASSERT_EQ(frame.InitDirectDraw(0), 1);
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", dir.string());
        ASSERT_EQ(frame.ApplySettings(settings, "settings"), "");
        ASSERT_EQ(frame.m_Play.StartInOriginalWorld(), 1);
        frame.m_iStage = 3;
        for (int tick = 0; tick < 3; ++tick) frame.RunTick();
        Player* leader = frame.m_World.m_pLeader.Get();
        ASSERT_NE(leader, nullptr);
        Player* keeper = nullptr;
        for (Player* p : frame.m_World.m_PlayerArray)
            if (p && p->m_strMessageNode == start_talk::kShopKeeperNode) keeper = p;
        ASSERT_NE(keeper, nullptr) << "the shop keeper stands in the yard";
        ASSERT_NE(frame.m_Play.FindStore(start_talk::kStoreId), nullptr);
        qv::Surface& screen = *frame.m_pBackBuffer;
        {
            CTradeWnd trade(frame.m_Play, start_talk::kStoreId, 0);
            EXPECT_EQ(trade.StockRows().size(), 6u);
            EXPECT_EQ(trade.PackRows().size(), 1u) << "the spare knife";
            EXPECT_EQ(Play::GoldOf(trade.Trader()), 60);
            frame.DrawFrame(0);
            trade.Paint(&screen);
            EXPECT_GT(Varied(screen, trade.m_rcWindow), 1000);
            Keep(screen, "trade-window.png");
        }
        {
            CTalkWnd talk(frame.m_Play, leader, keeper);
            ASSERT_TRUE(talk.Start(""));
            EXPECT_EQ(talk.ButtonCount(), 3u);
            frame.DrawFrame(0);
            talk.Paint(&screen);
            EXPECT_GT(Varied(screen, talk.m_rcWindow), 1000);
            Keep(screen, "talk-window.png");
        }
        EXPECT_TRUE(messages.shown.empty());
        frame.m_World.map_master->DeleteContents();
        frame.m_World.DeleteGroups();
    }
    InvalidateGlobalImages();
    qv::MessageLoop::Instance().Reset();
    fs::remove_all(dir);
}

}  // namespace
