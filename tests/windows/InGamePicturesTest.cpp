// Each window drawn headless as a player meets it, over the start's black
// screen or the start world in play with its party: the window's place on
// the screen is drawn on (not the bare screen picture). With
// QV_WRITE_WINDOW_PICTURES=<folder> each is also written there as a picture,
// which docs/ keeps: the place alone of the panels and windows of play, else
// the whole screen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>

#include "InGameFixture.h"
#include "data/CreatureArt.h"
#include "data/StartTalk.h"
#include "items/Potions.h"
#include "media/DirectDraw.h"
#include "platform/Events.h"
#include "platform/Message.h"
#include "windows/AboutDlg.h"
#include "windows/NewCharacterWnd.h"
#include "windows/OptionsWnd.h"
#include "windows/SaveLoadWnd.h"
#include "windows/TalkWnd.h"
#include "windows/TradeWnd.h"
#include "windows/WindowsFixture.h"

namespace ingame_test {
namespace {

// A window that keeps the screen as it is at its first drawing in its
// modal loop, after its popup made it whole; nothing more is fed to the
// loop, so the window then ends as if left.
template <class Window>
class Kept : public Window {
public:
    using Window::Window;
    void OnModalDraw() override {
        Window::OnModalDraw();
        qv::Surface* screen = GetPopupSurface();
        if (!shot.IsValid() && screen) shot = *screen;
    }
    qv::Surface shot;
};

// The screen with a window on it, where the window lies, and whether the
// picture kept is that place alone (else the whole screen).
struct Shot {
    qv::Surface screen;
    qv::Rect place;
    bool placeAlone = false;
};
// A window run modally as start-up runs it (the slot windows on slot 2).
template <class Window, class... Args>
std::function<Shot()> Popped(Args... args) {
    return [=] {
        Kept<Window> w(args...);
        if constexpr (requires { w.Select(2); }) w.Select(2);
        w.Popup();
        return Shot{std::move(w.shot), w.m_rcWindow};
    };
}

TEST_F(InGame, EachWindowIsDrawnWhereItLies) {
    ASSERT_TRUE(ok);
    // Nothing but what the test feeds reaches the windows, on the test's clock.
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    static qv::ManualClock clock;  // the loop may ask it until the fixture is gone
    loop.SetClock(&clock);
    loop.SetSource(nullptr);
    qv::ScriptedMessages messages;
    windows_test::FakeHost host;
    host.slots[0] = {true, "By the well"};
    host.slots[2] = {true, "by the yard"};
    host.slots[OptionsHost::kQuickSlot] = {true, "QuickSave"};
    Player* keeper = nullptr;
    for (Player* p : frame->m_World.m_PlayerArray)
        if (p && p->m_strMessageNode == start_talk::kShopKeeperNode) keeper = p;
    ASSERT_NE(keeper, nullptr) << "the shop keeper stands in the yard";
    qv::Surface& back = *frame->m_pBackBuffer;
    // A window of play: opened by a key (and what follows it), then the
    // frame drawn as the next tick draws it.
    auto inPlay = [this](
                      int key, qv::Rect place, std::function<void()> then = [] {}) {
        return [this, key, place, then] {
            if (key) Key(key);
            then();
            Windows().Sync();
            Windows().DrawAll();
            Ticks(1);
            return Shot{*frame->m_pPrimary, place, true};
        };
    };
    const qv::Rect panel = CControlPanel::kPlace;
    const struct {
        const char* file;
        bool black;  // over the start's black screen, else the start world in play
        std::function<Shot()> open;
    } rows[] = {
        {"window-options-start.png", true, Popped<COptionsWnd>(&host, true, true, 1)},
        {"window-new-character.png", true, Popped<CNewCharacterWnd>(&host)},
        {"window-options-in-game.png", false, Popped<COptionsWnd>(&host, false, true, 1)},
        {"window-load-game.png", false, Popped<CLoadGameWnd>(&host, CSlotsWnd::kPlayPlace)},
        {"window-save-game.png", false, Popped<CSaveLoadWnd>(&host, CSlotsWnd::kPlayPlace)},
        {"window-about.png", false, Popped<CAboutDlg>()},
        {"trade-window.png", false,
         [&] {
             CTradeWnd trade(frame->m_Play, frame->m_pGameWindows->Open(), start_talk::kStoreId, 0);
             EXPECT_EQ(trade.StockRows().size(), 6u);
             EXPECT_EQ(trade.PackRows().size(), 1u) << "the spare knife";
             EXPECT_EQ(Play::GoldOf(trade.Trader()), 60);
             frame->DrawFrame(0);
             trade.Paint(&back);
             return Shot{back, trade.m_rcWindow};
         }},
        {"talk-window.png", false,
         [&] {
             CTalkWnd talk(frame->m_Play, frame->m_pGameWindows->Open(),
                           frame->m_World.m_pLeader.Get(), keeper);
             EXPECT_TRUE(talk.Start(""));
             EXPECT_EQ(talk.ButtonCount(), 3u);
             frame->DrawFrame(0);
             talk.Paint(&back);
             return Shot{back, talk.m_rcWindow};
         }},
        {"window-party-panel.png", false,
         inPlay(0, CPartyPanel::kPlace,
                [&] { Hero()->m_bShockStrike = Member(1)->m_bFireProtection = 1; })},
        {"window-inventory.png", false,
         inPlay('I', panel, [&] { Hero()->AddToBag(new Potion(PotionType::Healing), 0); })},
        {"window-item-list.png", false, inPlay('Q', panel)},
        {"window-magic-earth.png", false, inPlay('E', panel)},
        {"window-statistics.png", false, inPlay('S', panel)},
        {"window-information.png", false, inPlay('K', panel)},
        {"window-equipment.png", false,
         inPlay('I', CEquipWnd::kPlace,
                [&] { Click(OnScreen(Inventory(), Inventory().EquipButton())); })},
        {"window-container.png", false,
         inPlay(qv::VK_ESCAPE, CGameWindows::kContainerPlace,
                [&] { Open(PlacedContainer("Chest")); })},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        ASSERT_NE(frame->m_pPrimary, nullptr);
        if (row.black) {
            frame->m_pPrimary->FillRect(frame->m_pPrimary->Bounds(), 0);
        } else {
            Ticks(1);
        }
        Shot shot = row.open();
        ASSERT_TRUE(shot.screen.IsValid());
        // Drawn on: four colours or more, a twentieth of it unlike its corner.
        const qv::Rect& r = shot.place;
        std::set<uint16_t> colours;
        int varied = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                colours.insert(shot.screen.GetPixel(x, y));
                varied += shot.screen.GetPixel(x, y) != shot.screen.GetPixel(r.left, r.top);
            }
        EXPECT_GE(colours.size(), 4u);
        EXPECT_GT(varied, r.Width() * r.Height() / 20);
        if (const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES")) {
            qv::Surface part(r.Width(), r.Height());
            part.Blt({0, 0}, shot.screen, r);
            EXPECT_TRUE(art::SavePng(shot.placeAlone ? part : shot.screen,
                                     std::string(folder) + "/" + row.file));
        }
    }
    EXPECT_TRUE(host.handed.empty()) << "looking loads and saves nothing";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(ask.told.empty());
}

}  // namespace
}  // namespace ingame_test
