// Each start-up window drawn headless as a player meets it: the options
// window in its start layout, and in play over the start world with the load,
// save, new-character windows and the about box it leads to. Each is drawn on
// (not the bare screen) where its window lies. With
// QV_WRITE_WINDOW_PICTURES=<folder> the screen of each is also written there
// as a picture, which docs/ keeps.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>

#include "InGameFixture.h"
#include "data/CreatureArt.h"
#include "media/DirectDraw.h"
#include "platform/Message.h"
#include "windows/AboutDlg.h"
#include "windows/NewCharacterWnd.h"
#include "windows/OptionsWnd.h"
#include "windows/SaveLoadWnd.h"
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
        if (shot.IsValid() || !screen) return;
        shot.Create(screen->Bounds().Width(), screen->Bounds().Height());
        shot.Blt({0, 0}, *screen, screen->Bounds());
    }
    qv::Surface shot;
};

// Pixels of a rectangle that differ from its top left.
int Varied(const qv::Surface& s, const qv::Rect& r) {
    const uint16_t first = s.GetPixel(r.left, r.top);
    int varied = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) varied += s.GetPixel(x, y) != first;
    return varied;
}

TEST_F(InGame, EachStartUpWindowIsDrawnWhereItLies) {
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
    // Where the game shows under a window: the start's black screen, or the
    // start world in play.
    enum Under { kBlack, kPlay };
    struct Row {
        const char* file;
        Under under;
        std::function<std::pair<qv::Surface, qv::Rect>()> open;
    };
    auto run = [](auto& window) {
        window.Popup();
        return std::pair(std::move(window.shot), window.m_rcWindow);
    };
    const Row rows[] = {
        {"window-options-start.png", kBlack,
         [&] {
             Kept<COptionsWnd> w(&host, true, true, 1);
             return run(w);
         }},
        {"window-options-in-game.png", kPlay,
         [&] {
             Kept<COptionsWnd> w(&host, false, true, 1);
             return run(w);
         }},
        {"window-new-character.png", kBlack,
         [&] {
             Kept<CNewCharacterWnd> w(&host);
             return run(w);
         }},
        {"window-load-game.png", kPlay,
         [&] {
             Kept<CLoadGameWnd> w(&host, CSlotsWnd::kPlayPlace);
             w.Select(2);
             return run(w);
         }},
        {"window-save-game.png", kPlay,
         [&] {
             Kept<CSaveLoadWnd> w(&host, CSlotsWnd::kPlayPlace);
             w.Select(2);
             return run(w);
         }},
        {"window-about.png", kPlay,
         [&] {
             Kept<CAboutDlg> w;
             return run(w);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        ASSERT_NE(frame->m_pPrimary, nullptr);
        if (row.under == kPlay) {
            Ticks(1);
        } else {
            frame->m_pPrimary->FillRect(frame->m_pPrimary->Bounds(), 0);
        }
        auto [shot, place] = row.open();
        ASSERT_TRUE(shot.IsValid());
        EXPECT_GT(Varied(shot, place), place.Width() * place.Height() / 10) << "drawn on";
        if (const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES")) {
            EXPECT_TRUE(art::SavePng(shot, std::string(folder) + "/" + row.file));
        }
    }
    EXPECT_TRUE(host.handed.empty()) << "looking loads and saves nothing";
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace ingame_test
