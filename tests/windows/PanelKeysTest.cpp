// The keys that open the party's windows for the controlled member when there
// is no control panel: S statistics, K information, C the magic page on its
// first book with a spell, F, E, A and W the magic page on the Fire, Earth,
// Air and Water books.

#include <gtest/gtest.h>

#include "items/Spell.h"
#include "windows/MagicWnd.h"
#include "windows/PartyWindowsFixture.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"

namespace {

using windows_test::PartyWindowsFixture;
using PanelKeys = PartyWindowsFixture;

TEST_F(PanelKeys, EachKeyOpensItsWindowOnTheControlledMember) {
    struct Row {
        const char* rule;
        int key;
        char window;  // s statistics, k information, m magic
        int school;
    };
    const Row rows[] = {
        {"S: statistics", 'S', 's', 0},
        {"K: information", 'K', 'k', 0},
        {"C: the first book with a spell", 'C', 'm', SpellSchool::Earth},
        {"F: the Fire book", 'F', 'm', SpellSchool::Fire},
        {"E: the Earth book", 'E', 'm', SpellSchool::Earth},
        {"A: the Air book", 'A', 'm', SpellSchool::Air},
        {"W: the Water book", 'W', 'm', SpellSchool::Water},
    };
    ASSERT_EQ(world.m_pControlPlayer.Get(), hero);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        char seen = '-';
        int school = -1;
        Player* shown = nullptr;
        // Once the window is up the loop finds no event and asks the hook.
        loop.SetIdleHook([&] {
            CDDWnd* up = frame.m_pModalPopup;
            if (auto* m = dynamic_cast<CMagicWnd*>(up)) {
                seen = 'm';
                school = m->GetSchool();
            } else if (dynamic_cast<CPlayerStatsWnd*>(up)) {
                seen = 's';
            } else if (dynamic_cast<CPlayerInfoWnd*>(up)) {
                seen = 'k';
            }
            if (auto* w = dynamic_cast<CMemberWnd*>(up)) {
                shown = w->GetPlayer();
                w->EndPopup(CMemberWnd::kIdClose);
            }
            return true;
        });
        frame.OnKeyDown(r.key);
        loop.SetIdleHook({});
        EXPECT_EQ(seen, r.window);
        EXPECT_EQ(shown, hero);
        if (r.window == 'm') {
            EXPECT_EQ(school, r.school);
        }
        EXPECT_FALSE(play.IsPopupOpen()) << "closed again";
    }
}

}  // namespace
