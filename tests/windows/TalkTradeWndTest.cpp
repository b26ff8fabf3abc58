// The conversation and trading windows, run modally on the keys and clicks a
// test injects, over the frame's own play: the start world's script in a
// game folder of the test's own, its speakers, a trader with a purse and the
// shop keeper's store.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "creatures/Player.h"
#include "data/StartTalk.h"
#include "items/Bag.h"
#include "items/Money.h"
#include "items/Store.h"
#include "items/Useable.h"
#include "platform/Events.h"
#include "platform/Files.h"
#include "play/PlayFixture.h"
#include "structures/Furnishings.h"
#include "support/TestFolder.h"
#include "windows/TalkWnd.h"
#include "windows/TradeWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using Lines = std::vector<std::string>;

class TalkTradeWindows : public windows_test::WindowsFixture {
protected:
    void SetUp() override {
        WindowsFixture::SetUp();
        const std::string text = start_talk::Script();
        qv::WriteWholeFile((folder.dir / start_talk::kScriptFile).string(),
                           {text.begin(), text.end()});
        play().Saves().SetGameFolder(folder.dir.string() + "/");
        play().m_pAsk = &ask;
        trader = std::make_unique<Player>();
        trader->m_strSpecialName = "Korr";
        frame.m_World.m_pLeader = trader.get();
        keeper = std::make_unique<Player>();
        keeper->m_strSpecialName = "Shop keeper";
        keeper->m_strMessageNode = start_talk::kShopKeeperNode;
        store = Stall(start_talk::kStoreId, 100, {{"Sword", 40}, {"Potion", 10}});
    }
    void TearDown() override {
        play().Trade().ReplaceStores({});
        frame.m_World.m_pLeader = nullptr;
        play().m_pAsk = nullptr;
        keeper.reset();
        trader.reset();
        WindowsFixture::TearDown();
    }
    Play& play() { return frame.m_Play; }
    // A store of the play's, with things of a value each.
    Store* Stall(int32_t id, int32_t gold, const std::vector<std::pair<std::string, int>>& things) {
        auto s = std::make_unique<Store>("Stall");
        s->m_iStoreId = id;
        s->m_iGold = gold;
        for (const auto& [name, value] : things) {
            auto thing = std::make_unique<Useable>(name);
            thing->m_iValue = value;
            s->AddItem(std::move(thing));
        }
        play().Trade().AddStore(std::move(s));
        return play().Trade().Stores().back().get();
    }
    void Purse(int32_t coins) {
        auto* gold = new Money;
        gold->m_iBulkNum = coins;
        trader->AddToBag(gold, 0);
    }
    // Digits and letters as typed, E Esc, R Enter.
    void Keys(const std::string& keys) {
        for (char k : keys)
            Key(k == 'E' ? int{qv::VK_ESCAPE} : k == 'R' ? int{qv::VK_RETURN} : int{k});
    }

    test_support::TestFolder folder{"talk-windows"};
    play_test::ScriptedAsk ask;
    std::unique_ptr<Player> trader, keeper;
    Store* store = nullptr;
};

TEST_F(TalkTradeWindows, TheTalkWindowShowsTheLinesAndTakesTheChoicesToTheEnd) {
    // Keys: digits take a choice, R is Enter, E is Esc; b a click on the
    // second choice.
    struct Row {
        const char* rule;
        const char* keys;
        int result;
        Lines lines;    // shown when the window closed
        Lines buttons;  // its buttons then
        bool over;
        std::vector<int32_t> trades;
    };
    const Lines hello = {"Welcome to my stall! Potions, blades and", "leather, all fairly priced."};
    const Lines choices = {"1. Show me your wares.", "2. What news?", "3. Farewell."};
    const Lines news = {"The miller frets about wolves. Ask him.", hello[0], hello[1]};
    const Lines close = {"[Close]"}, none, bye = {"Come again!"};
    // clang-format off
    const Row rows[] = {
        {"left at once: nothing more to say, the window closes", "3", 1, none, close, true, {}},
        {"the stall opens, then the last line is read", "1R", 1, bye, close, true, {1}},
        {"the news, then farewell", "23", 1, none, close, true, {}},
        {"Esc ends the talk where it stands", "2E", 2, news, choices, true, {}},
        {"a click on a choice takes it", "bE", 2, news, choices, true, {}},
        {"a choice not offered changes nothing", "9E", 2, hello, choices, true, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        NextRow();
        std::vector<int32_t> trades;
        play().Talks().InstallTrade([&](Store& s, int32_t) { trades.push_back(s.m_iStoreId); });
        CTalkWnd w(play(), frame.m_pGameWindows->Open(), trader.get(), keeper.get());
        ASSERT_TRUE(w.Start(""));
        EXPECT_EQ(w.Title(), "Shop keeper");
        EXPECT_EQ(w.ShownLines(), hello);
        ASSERT_EQ(w.ButtonCount(), 3u);
        EXPECT_EQ(frame.m_pGameWindows->Open().m_pTalkWnd, &w);
        EXPECT_TRUE(play().IsPopupOpen()) << "the world stands still";
        for (char k : std::string(row.keys))
            if (k == 'b')
                Press(w, w.GetButton(1));
            else
                Keys({k});
        EXPECT_EQ(w.Popup(), row.result);
        EXPECT_EQ(w.ShownLines(), row.lines);
        Lines buttons;
        for (size_t i = 0; i < w.ButtonCount(); ++i) buttons.push_back(w.GetButton(i)->GetText());
        EXPECT_EQ(buttons, row.buttons);
        EXPECT_EQ(w.Script().IsOver(), row.over);
        EXPECT_EQ(trades, row.trades);
    }
    EXPECT_EQ(frame.m_pGameWindows->Open().m_pTalkWnd, nullptr) << "gone with the window";
    EXPECT_TRUE(ask.told.empty());
}

TEST_F(TalkTradeWindows, AScriptThatCannotBeReadOpensNothing) {
    keeper->m_strMessageFile = "missing.smb";
    CTalkWnd none(play(), frame.m_pGameWindows->Open(), trader.get(), keeper.get());
    EXPECT_FALSE(none.Start(""));
    EXPECT_EQ(ask.told, (Lines{"missing.smb: not found"}));
}

TEST_F(TalkTradeWindows, ASignShowsItsNodeOfTheBookScriptOrNothingWhenRefused) {
    const char* const good = "node SIGN\nset Marked 1\nsay Welcome!\n";
    const char* const bad = "node SIGN\nset Marked 1\nsay Welcome!\njump SIGN\n";
    const std::string start = start_talk::BookScript();
    const struct {
        const char *rule, *script, *node;  // the game folder's book script (null: none)
        Lines seen;                        // the lines shown, else what was told
        bool shown;                        // and the script ran
    } rows[] = {
        // clang-format off
        {"its node is shown", good, "SIGN", {"Welcome!"}, true},
        {"a node not in the script", good, "POST", {"Books.smb: no node \"POST\" to start at"}, false},
        {"a bad line refuses it whole", bad, "SIGN", {"Books.smb, line 4: unknown command \"jump\""}, false},
        {"no script", nullptr, "SIGN", {"Books.smb: not found"}, false},
        {"the start world's sign", start.c_str(), start_talk::kYardSignNode,
         {"LAURISTON YARD", "Traders and travellers welcome. Wolves are not."}, true},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        const std::string path = (folder.dir / kBookScript).string();
        std::filesystem::remove(path);
        if (r.script) qv::WriteWholeFile(path, {r.script, r.script + std::strlen(r.script)});
        play().Talks().ClearScripts();
        play().m_World.m_ScriptVariableList.clear();
        ask.told.clear();
        Sign sign;
        sign.m_strGeneralName = r.node;
        CTalkWnd w(play(), frame.m_pGameWindows->Open(), trader.get(), nullptr);
        EXPECT_EQ(w.StartBook(sign), r.shown);
        EXPECT_EQ(w.Title(), "Sign");
        EXPECT_EQ(r.shown ? w.ShownLines() : ask.told, r.seen);
        EXPECT_EQ(play().m_World.m_ScriptVariableList.size(), r.shown && r.script == good ? 1u : 0u)
            << "a refused script runs nothing";
    }
}

TEST_F(TalkTradeWindows, PlayOpensTheWindowsItIsGiven) {
    // The frame gave its play the windows: a conversation asked for opens
    // the talk window, and the talk's "trade" the trading window.
    Keys("1");
    Key(qv::VK_ESCAPE);  // the trading window
    Key(qv::VK_RETURN);  // the last line
    EXPECT_TRUE(play().OpenConversation(keeper.get(), start_talk::kShopKeeperNode));
    EXPECT_EQ(frame.m_pGameWindows->Open().m_pTalkWnd, nullptr);
    EXPECT_EQ(frame.m_pGameWindows->Open().m_pTradeWnd, nullptr);
    EXPECT_TRUE(ask.told.empty());
}

TEST_F(TalkTradeWindows, TheTradingWindowBuysAndSellsTheChosenRow) {
    Purse(50);
    auto* knife = new Useable("Knife");
    knife->m_iValue = 8;
    trader->AddToBag(knife, 0);
    CTradeWnd w(play(), frame.m_pGameWindows->Open(), start_talk::kStoreId, 0);
    EXPECT_EQ(frame.m_pGameWindows->Open().m_pTradeWnd, &w);
    EXPECT_EQ(w.Trader(), trader.get());
    EXPECT_EQ(w.GetStockButton(0)->GetText(), "Sword                 40");
    EXPECT_EQ(w.GetPackButton(0)->GetText(), "Knife                  4") << "the store's offer";
    EXPECT_EQ(w.GetBuyButton()->GetState(), 3) << "asleep until a row is chosen";
    EXPECT_EQ(w.GetSellButton()->GetState(), 3);
    // The sword, bought; the knife, sold; then Done.
    Press(w, w.GetStockButton(0));
    Press(w, w.GetBuyButton());
    Press(w, w.GetPackButton(0));
    Press(w, w.GetSellButton());
    Press(w, w.GetDoneButton());
    EXPECT_EQ(w.Popup(), 1);
    EXPECT_EQ(Play::GoldOf(trader.get()), 50 - 40 + 4);
    EXPECT_EQ(store->m_iGold, 100 + 40 - 4);
    Lines stock, pack;
    for (Object* o : w.StockRows()) stock.push_back(o->m_strSpecialName);
    for (Object* o : w.PackRows()) pack.push_back(o->m_strSpecialName);
    EXPECT_EQ(stock, (Lines{"Potion", "Knife"}));
    EXPECT_EQ(pack, (Lines{"Sword"}));
}

TEST_F(TalkTradeWindows, ABuyWithoutTheGoldIsRefusedAndToldAndTheRowsStay) {
    const struct {
        const char* rule;
        int32_t purse;  // for the potion, which costs 10
        bool bought;
    } rows[] = {{"half the price: refused", 5, false},
                {"one short: refused", 9, false},
                {"exactly the price: bought", 10, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        ask.told.clear();
        trader = std::make_unique<Player>();
        frame.m_World.m_pLeader = trader.get();
        Purse(r.purse);
        CTradeWnd w(play(), frame.m_pGameWindows->Open(), start_talk::kStoreId, 0);
        w.SelectStock(1);
        EXPECT_EQ(w.Buy(), r.bought ? 1 : 0);
        EXPECT_EQ(ask.told, r.bought ? Lines{} : Lines{"You do not have enough gold."});
        EXPECT_EQ(w.StockRows().size(), r.bought ? 1u : 2u);
        EXPECT_TRUE(r.bought || w.StockSelection() == 1) << "the row stays chosen when refused";
        EXPECT_EQ(Play::GoldOf(trader.get()), r.purse - (r.bought ? 10 : 0));
        EXPECT_EQ(store->m_iGold, 100 + (r.bought ? 10 : 0));
        Key(qv::VK_ESCAPE);
        EXPECT_EQ(w.Popup(), 1);
    }
}

TEST_F(TalkTradeWindows,
       EveryEntryOfAStoreOfUpTo100IsReachedByScrollingAndTheListsStopAtTheirEnds) {
    constexpr int32_t kLongStall = 900;
    const int shown = CTradeWnd::kRows, up = CTradeWnd::kIdStockUp, down = CTradeWnd::kIdStockDown;
    struct Row {
        const char* rule;
        int entries;
        int downs;      // Down presses from the top to the last page
        int lastFirst;  // the first entry shown on the last page
    };
    const Row rows[] = {
        {"an empty store", 0, 0, 0},
        {"eleven: all in sight, no scrolling", 11, 0, 0},
        {"twelve: one page down shows the last", 12, 1, 1},
        {"a hundred: nine pages down", 100, 9, 89},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::vector<std::pair<std::string, int>> things;
        for (int i = 0; i < r.entries; ++i) things.push_back({"Thing " + std::to_string(i), 1});
        Stall(kLongStall, 1000, things);
        Purse(1);
        {
            CTradeWnd w(play(), frame.m_pGameWindows->Open(), kLongStall, 0);
            auto rowsShown = [&] {
                int n = 0;
                while (w.GetStockButton(n)) ++n;
                return n;
            };
            auto sleeps = [&](int id) { return w.GetScrollButton(id)->GetState() == 3; };
            EXPECT_EQ(rowsShown(), std::min(r.entries, shown));
            EXPECT_TRUE(sleeps(up)) << "at the top, Up sleeps";
            EXPECT_EQ(sleeps(down), r.entries <= shown);
            w.OnCommand(up);
            EXPECT_EQ(w.StockFirst(), 0) << "Up at the top: the list stays";
            int downs = 0;
            for (; !sleeps(down) && downs <= r.entries; ++downs) w.OnCommand(down);
            EXPECT_EQ(downs, r.downs);
            EXPECT_EQ(w.StockFirst(), r.lastFirst);
            EXPECT_EQ(rowsShown(), std::min(r.entries, shown));
            w.OnCommand(down);
            EXPECT_EQ(w.StockFirst(), r.lastFirst) << "Down at the end: the list stays";
            // Every entry chosen by its row, scrolling to it.
            for (int e = 0; e < r.entries; ++e) {
                while (e < w.StockFirst()) w.OnCommand(up);
                while (e >= w.StockFirst() + shown) w.OnCommand(down);
                w.OnCommand(CTradeWnd::kIdFirstStock + e - w.StockFirst());
                ASSERT_EQ(w.StockSelection(), e);
                EXPECT_EQ(w.GetStockButton(e - w.StockFirst())->GetState(), 1) << e;
                EXPECT_EQ(w.StockRows()[static_cast<size_t>(e)]->m_strSpecialName,
                          "Thing " + std::to_string(e));
            }
            // The last bought: it leaves the stock, the list keeps its end.
            EXPECT_EQ(w.Buy(), r.entries > 0 ? 1 : 0);
            EXPECT_EQ(w.StockRows().size(), static_cast<size_t>(std::max(0, r.entries - 1)));
            EXPECT_EQ(w.StockFirst(), std::max(0, r.entries - 1 - shown));
            EXPECT_TRUE(sleeps(down));
            if (r.entries == 0) {
                EXPECT_EQ(w.GetBuyButton()->GetState(), 3) << "nothing to buy";
            } else {
                EXPECT_EQ(w.PackRows().back()->m_strSpecialName,
                          "Thing " + std::to_string(r.entries - 1));
            }
        }
        play().Trade().RemoveLastStore();
    }
}

}  // namespace
