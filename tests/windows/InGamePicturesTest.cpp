// Each in-game window drawn headless over the start world with its party:
// the window's place on the screen is drawn on (not the bare screen
// picture). The time each takes to open is written to the test's record
// (a benchmark's business, not a check under the sanitizers). With
// QV_WRITE_WINDOW_PICTURES=<folder> each is also written there as a picture
// (the screen, and the window's own rectangle), which docs/ keeps.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>

#include "InGameFixture.h"
#include "items/Potions.h"
#include "platform/Events.h"

namespace ingame_test {
namespace {

// Different colours in a rectangle of a surface: something was drawn there.
size_t Colours(const qv::Surface& s, const qv::Rect& r) {
    std::set<uint16_t> seen;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) seen.insert(s.GetPixel(x, y));
    return seen.size();
}

void Write(const qv::Surface& screen, const qv::Rect& r, const std::string& name) {
    const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
    if (!folder) return;
    qv::Surface part(r.Width(), r.Height());
    part.Blt({0, 0}, screen, r);
    EXPECT_TRUE(part.SaveBmp(std::string(folder) + "/" + name + ".bmp"));
    EXPECT_TRUE(screen.SaveBmp(std::string(folder) + "/" + name + "-screen.bmp"));
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
        EXPECT_GT(Colours(*frame->m_pPrimary, r), 4u) << "drawn on";
        Write(*frame->m_pPrimary, r, row.name);
    }
}

}  // namespace
}  // namespace ingame_test
