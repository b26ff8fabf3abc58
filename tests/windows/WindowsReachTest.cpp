// What the player reaches through the in-game windows: the letter keys open
// the member's own windows while there is no control panel (and the
// panel's pages while there is), Esc closing the window on top; a store's
// whole stock through the trading window's Up and Down; a thing let go over
// a bag of the inventory going into that bag.

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "InGameFixture.h"
#include "items/Money.h"
#include "items/Store.h"
#include "items/Useable.h"
#include "platform/Events.h"
#include "windows/MagicWnd.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"
#include "windows/TradeWnd.h"

namespace ingame_test {
namespace {

enum class Opened { None, Stats, Info, Magic };

Opened Kind(CDDWnd* w) {
    if (dynamic_cast<CPlayerStatsWnd*>(w)) return Opened::Stats;
    if (dynamic_cast<CPlayerInfoWnd*>(w)) return Opened::Info;
    if (dynamic_cast<CMagicWnd*>(w)) return Opened::Magic;
    return Opened::None;
}

TEST_F(InGame, WithoutAControlPanelTheLetterKeysOpenTheMembersWindowsAndEscClosesThem) {
    ASSERT_TRUE(ok);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    // The windows' own loops run on what the test hands them, not on the
    // window system's input.
    loop.SetSource(nullptr);
    const int stats = CControlPanel::kPageStats, info = CControlPanel::kPageInfo,
              magic = CControlPanel::kPageMagic;
    struct Row {
        const char* what;
        int page, subPage;
        Opened opened;
        int* flag;  // play's open flag of the window, while it is up
    };
    Play::OpenWindows& w = frame->m_Play.m_OpenWindows;
    const Row rows[] = {
        {"S: the statistics window", stats, 0, Opened::Stats, &w.m_bStatsOpen},
        {"K: the information window", info, 0, Opened::Info, &w.m_bInfoOpen},
        {"C: the magic window", magic, 0, Opened::Magic, nullptr},
        {"F: the magic window", magic, 1, Opened::Magic, nullptr},
        {"E: the magic window", magic, 2, Opened::Magic, nullptr},
        {"A: the magic window", magic, 3, Opened::Magic, nullptr},
        {"W: the magic window", magic, 4, Opened::Magic, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CGameWindows bare(frame->m_Play, {});
        ASSERT_EQ(bare.ControlPanel(), nullptr);
        Opened seen = Opened::None;
        int flag = -1;
        loop.SetIdleHook([&] {
            if (seen != Opened::None) return false;
            seen = Kind(GetPopupChain()->m_pModalPopup);
            flag = row.flag ? *row.flag : 1;
            loop.Inject(qv::Event::Key(true, qv::VK_ESCAPE));
            return true;
        });
        bare.OnPageKey(row.page, row.subPage);
        loop.SetIdleHook({});
        EXPECT_EQ(seen, row.opened);
        EXPECT_EQ(flag, 1) << "recorded while up";
        if (row.flag) {
            EXPECT_EQ(*row.flag, 0) << "Esc closed it";
        }
        EXPECT_FALSE(frame->m_Play.IsPopupOpen());
        EXPECT_EQ(bare.ControlPanel(), nullptr) << "no panel was made";
    }
}

TEST_F(InGame, WithoutAControlPanelTheBagAndItemKeysMakeThePanelOnTheirPage) {
    ASSERT_TRUE(ok);
    const struct {
        const char* what;
        int page;
    } rows[] = {{"I: the inventory", CControlPanel::kPageInventory},
                {"Q: the item list", CControlPanel::kPageItems}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CGameWindows bare(frame->m_Play, {});
        bare.OnPageKey(row.page, 0);
        ASSERT_NE(bare.ControlPanel(), nullptr);
        EXPECT_EQ(bare.ControlPanel()->GetPage(), row.page);
        EXPECT_FALSE(frame->m_Play.IsPopupOpen());
    }
    Ticks(1);  // the frame's own windows enter themselves again
    EXPECT_EQ(frame->m_Play.m_OpenWindows.m_pInventoryWnd, &Inventory());
}

TEST_F(InGame, WithTheControlPanelTheKeysOpenItsPagesAndTheFramesCommandsTheWindows) {
    ASSERT_TRUE(ok);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    // The windows' own loops run on what the test hands them, not on the
    // window system's input.
    loop.SetSource(nullptr);
    struct Row {
        const char* what;
        std::function<void()> act;
        Opened opened;  // a window (Esc closes it), or None: a page
        int page;
    };
    const Row rows[] = {
        {"S: the statistics page", [&] { Key('S'); }, Opened::None, CControlPanel::kPageStats},
        {"K: the information page", [&] { Key('K'); }, Opened::None, CControlPanel::kPageInfo},
        {"C: the magic page", [&] { Key('C'); }, Opened::None, CControlPanel::kPageMagic},
        {"the statistics command", [&] { frame->OnPlayerStats(); }, Opened::Stats,
         CControlPanel::kPageMagic},
        {"the information command", [&] { frame->OnPlayerInfo(); }, Opened::Info,
         CControlPanel::kPageMagic},
        {"the magic command", [&] { frame->OnShowMagic(); }, Opened::Magic,
         CControlPanel::kPageMagic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Opened seen = Opened::None;
        loop.SetIdleHook([&] {
            if (seen != Opened::None) return false;
            seen = Kind(GetPopupChain()->m_pModalPopup);
            loop.Inject(qv::Event::Key(true, qv::VK_ESCAPE));
            return true;
        });
        row.act();
        loop.SetIdleHook({});
        EXPECT_EQ(seen, row.opened);
        EXPECT_EQ(Panel().GetPage(), row.page);
        EXPECT_FALSE(frame->m_Play.IsPopupOpen());
    }
}

// ---- Trading through a long stock

TEST_F(InGame, EveryEntryOfAStoreOfUpTo100IsReachedByScrollingAndTheListsStopAtTheirEnds) {
    ASSERT_TRUE(ok);
    constexpr int32_t kStore = 900;
    const int rowsShown = CTradeWnd::kRows;
    struct Row {
        const char* what;
        int entries;
        int downsToTheEnd;  // Down presses from the top to the last page
        int lastFirst;      // the first entry shown on the last page
    };
    const Row rows[] = {
        {"an empty store", 0, 0, 0},
        {"eleven: all in sight, no scrolling", 11, 0, 0},
        {"twelve: one page down shows the last", 12, 1, 1},
        {"a hundred: nine pages down", 100, 9, 89},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto store = std::make_unique<Store>("Long Stall");
        store->m_iStoreId = kStore;
        store->m_iGold = 1000;
        for (int i = 0; i < row.entries; ++i) {
            auto thing = std::make_unique<Useable>("Thing " + std::to_string(i));
            thing->m_iValue = 1;
            store->AddItem(std::move(thing));
        }
        ASSERT_EQ(static_cast<int>(store->Items().size()), row.entries);
        frame->m_Play.m_StoreList.push_back(std::move(store));
        {
            CTradeWnd w(frame->m_Play, kStore, 0);
            CDDButton* up = w.GetScrollButton(CTradeWnd::kIdStockUp);
            CDDButton* down = w.GetScrollButton(CTradeWnd::kIdStockDown);
            auto shown = [&] {
                int n = 0;
                while (w.GetStockButton(n)) ++n;
                return n;
            };
            EXPECT_EQ(shown(), std::min(row.entries, rowsShown));
            EXPECT_EQ(up->GetState(), 3) << "at the top, Up sleeps";
            EXPECT_EQ(down->GetState(), row.entries > rowsShown ? 0 : 3);
            // Up at the top: the list stays.
            w.OnCommand(CTradeWnd::kIdStockUp);
            EXPECT_EQ(w.StockFirst(), 0);
            // Down to the end, page by page.
            int downs = 0;
            while (down->GetState() != 3 && downs <= row.entries) {
                w.OnCommand(CTradeWnd::kIdStockDown);
                ++downs;
            }
            EXPECT_EQ(downs, row.downsToTheEnd);
            EXPECT_EQ(w.StockFirst(), row.lastFirst);
            EXPECT_EQ(shown(), std::min(row.entries, rowsShown));
            w.OnCommand(CTradeWnd::kIdStockDown);
            EXPECT_EQ(w.StockFirst(), row.lastFirst) << "Down at the end: the list stays";
            // Every entry chosen by its row, scrolling to it.
            for (int e = 0; e < row.entries; ++e) {
                while (e < w.StockFirst()) w.OnCommand(CTradeWnd::kIdStockUp);
                while (e >= w.StockFirst() + rowsShown) w.OnCommand(CTradeWnd::kIdStockDown);
                w.OnCommand(CTradeWnd::kIdFirstStock + e - w.StockFirst());
                ASSERT_EQ(w.StockSelection(), e);
                EXPECT_EQ(w.GetStockButton(e - w.StockFirst())->GetState(), 1) << e;
                EXPECT_EQ(w.StockRows()[static_cast<size_t>(e)]->m_strSpecialName,
                          "Thing " + std::to_string(e));
            }
            // The last bought: it leaves the stock, the list keeps its end.
            if (row.entries > 0) {
                auto* gold = new Money;
                gold->m_iBulkNum = 10;
                Hero()->AddToBag(gold, 0);
                const std::string last = "Thing " + std::to_string(row.entries - 1);
                EXPECT_EQ(w.Buy(), 1);
                EXPECT_EQ(static_cast<int>(w.StockRows().size()), row.entries - 1);
                EXPECT_NE(Carried(Hero(), last), nullptr) << "in the hero's bag";
                EXPECT_EQ(w.StockFirst(), std::max(0, row.entries - 1 - rowsShown));
                EXPECT_EQ(down->GetState(), 3);
            } else {
                EXPECT_EQ(w.GetBuyButton()->GetState(), 3) << "nothing to buy";
            }
        }
        frame->m_Play.m_StoreList.pop_back();
    }
}

// ---- Letting go over a bag

TEST_F(InGame, AThingLetGoOverABagOfTheInventoryGoesIntoThatBagWhenItFits) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    CBag* own = hero->m_pBag.get();
    auto* pouch = new CBag("Pouch");
    auto* sack = new CBag("Sack");
    hero->AddToBag(pouch, 0);
    hero->AddToBag(sack, 0);
    ASSERT_TRUE(own->Contains(pouch) && own->Contains(sack)) << "room in the hero's bag";
    // The sack is full.
    for (int i = 0; i < sack->Capacity(); ++i) sack->PutItem(new Useable("Stone"), 1);
    ASSERT_FALSE(sack->HasRoom());
    Object* dagger = Carried(hero, "Dagger");
    ASSERT_NE(dagger, nullptr);
    auto top = [&](const Object* o) {
        for (const auto& item : own->Items())
            if (item.get() == o) return true;
        return false;
    };
    auto inside = [](CBag* bag, const Object* o) {
        for (const auto& item : bag->Items())
            if (item.get() == o) return true;
        return false;
    };
    struct Row {
        const char* what;
        Object* carried;
        Object* onto;
        bool inPouch, inSack, daggerOnTop, pouchOnTop;
    };
    Object* sword = nullptr;
    for (const auto& item : own->Items())
        if (item.get() != dagger && !dynamic_cast<CBag*>(item.get()) && item->Type() != MONEY)
            sword = item.get();
    const Row rows[] = {
        {"the pouch onto itself: nothing changes", pouch, pouch, false, false, true, true},
        {"the dagger onto the full sack: refused, it stays", dagger, sack, false, false, true,
         true},
        {"the dagger onto the pouch: into the pouch", dagger, pouch, true, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const int sackCount = static_cast<int>(sack->Items().size());
        Click(InBag(row.carried));
        ASSERT_EQ(Windows().Carried(), row.carried);
        Click(InBag(row.onto));
        Ticks(1);
        EXPECT_EQ(Windows().Carried(), nullptr) << "let go";
        EXPECT_EQ(inside(pouch, dagger), row.inPouch);
        EXPECT_EQ(inside(sack, dagger), row.inSack);
        EXPECT_EQ(top(dagger), row.daggerOnTop);
        EXPECT_EQ(top(pouch), row.pouchOnTop);
        EXPECT_EQ(static_cast<int>(sack->Items().size()), sackCount) << "the full sack as it was";
        EXPECT_TRUE(hero->Owns(dagger));
    }
    // A thing that is no bag takes nothing: let go over it, the pouch stays.
    if (sword) {
        SCOPED_TRACE("the pouch onto a thing that is no bag");
        Click(InBag(pouch));
        Click(InBag(sword));
        Ticks(1);
        EXPECT_TRUE(top(pouch));
        EXPECT_TRUE(inside(pouch, dagger));
    }
}

}  // namespace
}  // namespace ingame_test
