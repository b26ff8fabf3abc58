// Each in-game window drawn headless over the start world with its party:
// the window's place on the screen is drawn on (not the bare screen
// picture). The time each takes to open is written to the test's record
// (a benchmark's business, not a check under the sanitizers). With
// QV_WRITE_WINDOW_PICTURES=<folder> each is also written there as a picture
// (the screen, and the window's own rectangle; the stall and the greeting as
// trade-window.png and talk-window.png), which docs/ keeps.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>

#include "InGameFixture.h"
#include "data/CreatureArt.h"
#include "data/StartTalk.h"
#include "items/Potions.h"
#include "platform/Events.h"
#include "platform/Message.h"
#include "windows/TalkWnd.h"
#include "windows/TradeWnd.h"

namespace ingame_test {
namespace {

// What was drawn in a rectangle: its different colours, and its pixels that
// differ from its top left.
struct Drawn {
    size_t colours = 0;
    int varied = 0;
};
Drawn Look(const qv::Surface& s, const qv::Rect& r) {
    std::set<uint16_t> seen;
    Drawn d;
    const uint16_t first = s.GetPixel(r.left, r.top);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            seen.insert(s.GetPixel(x, y));
            d.varied += s.GetPixel(x, y) != first;
        }
    d.colours = seen.size();
    return d;
}

// Writes a picture to the folder asked for, if any: a .png or a .bmp.
void Keep(const qv::Surface& s, const std::string& file) {
    const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
    if (!folder) return;
    const std::string path = std::string(folder) + "/" + file;
    EXPECT_TRUE(file.ends_with(".png") ? art::SavePng(s, path) : s.SaveBmp(path)) << file;
}

TEST_F(InGame, EachWindowIsDrawnInItsPlace) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    hero->AddToBag(new Potion(PotionType::Healing), 0);
    struct Row {
        const char* name;
        std::function<void()> open;
        std::function<qv::Rect()> place;
    };
    const Row rows[] = {
        {"party-panel", [] {}, [] { return CPartyPanel::kPlace; }},
        {"inventory", [&] { Key('I'); }, [] { return CControlPanel::kPlace; }},
        {"item-list", [&] { Key('Q'); }, [] { return CControlPanel::kPlace; }},
        {"magic-earth", [&] { Key('E'); }, [] { return CControlPanel::kPlace; }},
        {"statistics", [&] { Key('S'); }, [] { return CControlPanel::kPlace; }},
        {"information", [&] { Key('K'); }, [] { return CControlPanel::kPlace; }},
        {"equipment",
         [&] {
             Key('I');
             Click(OnScreen(Inventory(), Inventory().EquipButton()));
         },
         [] { return CEquipWnd::kPlace; }},
        {"container",
         [&] {
             Key(qv::VK_ESCAPE);
             Open(PlacedContainer("Chest"));
         },
         [] { return CGameWindows::kContainerPlace; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto start = std::chrono::steady_clock::now();
        row.open();
        Windows().Sync();
        Windows().DrawAll();
        const auto took = std::chrono::steady_clock::now() - start;
        RecordProperty(
            std::string(row.name) + "-microseconds",
            static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
        Ticks(1);
        ASSERT_NE(frame->m_pPrimary, nullptr);
        const qv::Rect r = row.place();
        EXPECT_GT(Look(*frame->m_pPrimary, r).colours, 4u) << "drawn on";
        qv::Surface part(r.Width(), r.Height());
        part.Blt({0, 0}, *frame->m_pPrimary, r);
        Keep(part, std::string(row.name) + ".bmp");
        Keep(*frame->m_pPrimary, std::string(row.name) + "-screen.bmp");
    }
}

TEST_F(InGame, TheStartWorldsStallAndGreetingPicturesAreDrawnOverTheYard) {
    ASSERT_TRUE(ok);
    qv::ScriptedMessages messages;
    Ticks(2);
    Player* leader = frame->m_World.m_pLeader.Get();
    ASSERT_NE(leader, nullptr);
    Player* keeper = nullptr;
    for (Player* p : frame->m_World.m_PlayerArray)
        if (p && p->m_strMessageNode == start_talk::kShopKeeperNode) keeper = p;
    ASSERT_NE(keeper, nullptr) << "the shop keeper stands in the yard";
    ASSERT_NE(frame->m_Play.FindStore(start_talk::kStoreId), nullptr);
    qv::Surface& screen = *frame->m_pBackBuffer;
    {
        CTradeWnd trade(frame->m_Play, start_talk::kStoreId, 0);
        EXPECT_EQ(trade.StockRows().size(), 6u);
        EXPECT_EQ(trade.PackRows().size(), 1u) << "the spare knife";
        EXPECT_EQ(Play::GoldOf(trade.Trader()), 60);
        frame->DrawFrame(0);
        trade.Paint(&screen);
        EXPECT_GT(Look(screen, trade.m_rcWindow).varied, 1000);
        Keep(screen, "trade-window.png");
    }
    {
        CTalkWnd talk(frame->m_Play, leader, keeper);
        ASSERT_TRUE(talk.Start(""));
        EXPECT_EQ(talk.ButtonCount(), 3u);
        frame->DrawFrame(0);
        talk.Paint(&screen);
        EXPECT_GT(Look(screen, talk.m_rcWindow).varied, 1000);
        Keep(screen, "talk-window.png");
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(ask.told.empty());
}

}  // namespace
}  // namespace ingame_test
