// The statistics, information and magic windows of a party member: what they
// show of a creature, row by row; opened on the start world's party, closed
// by Esc or Close, ended by a member that goes away; the magic page's books
// and a spell picked there waiting for its target, which play then casts.
// With QV_WRITE_WINDOW_PICTURES=<folder> each window is also written there
// as a picture (docs/ keeps them).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/CreatureArt.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/SpellsEarth.h"
#include "media/DirectDraw.h"
#include "windows/CombatModePanel.h"
#include "windows/CombatPrefsDlg.h"
#include "windows/MagicWnd.h"
#include "windows/PartyWindowsFixture.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"
#include "windows/WindowPictures.h"

namespace {

using windows_test::PartyWindowsFixture;
using Row = CMemberWnd::Row;

class MemberFigures : public play_test::PlayFixture {};

TEST_F(MemberFigures, TheStatisticsShowLevelsExperienceAndFigures) {
    // The pools long range, close, magic; the creature's own level rule
    // runs on them (as after a fight).
    struct Case {
        const char* rule;
        double longRange, close, magic;
        int strength, strengthNow;
        const char *label, *value;
    };
    const Case cases[] = {
        {"close combat exactly at its threshold", 0, 1000, 0, 50, 50, "Close combat",
         "level 0, 1000 (next 1000)"},
        {"just above: level 1, next 1500", 0, 1000.5, 0, 50, 50, "Close combat",
         "level 1, 1000 (next 1500)"},
        {"1501: level 2, next 2250", 0, 1501, 0, 50, 50, "Close combat",
         "level 2, 1501 (next 2250)"},
        {"ranged", 1501, 0, 0, 50, 50, "Ranged combat", "level 2, 1501 (next 2250)"},
        {"magic", 0, 0, 999.9, 50, 50, "Magic", "level 0, 999 (next 1000)"},
        {"overall: the three pools together", 150.15, 700.7, 150.15, 50, 50, "Level", "1"},
        {"overall experience, whole points", 150.15, 700.7, 150.15, 50, 50, "Experience",
         "1001 (next 1500)"},
        {"strength as at rest", 0, 0, 0, 50, 50, "Strength", "50"},
        {"strength raised for now", 0, 0, 0, 50, 60, "Strength", "60 (at rest 50)"},
        {"past the figures shown: the greatest", 0, 1e300, 0, 50, 50, "Experience",
         "2147483647 (next 2147483647)"},
        {"pools whose sum is past every number", 1e308, 1e308, 0, 50, 50, "Experience",
         "2147483647 (next 2147483647)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        Player p;
        p.m_dExperience = {c.longRange, c.close, c.magic};
        p.m_iStrength = c.strength;
        p.m_iCurStr = c.strengthNow;
        p.UpdateLevel();
        EXPECT_EQ(CMemberWnd::ValueOf(CPlayerStatsWnd::Rows(p), c.label), c.value);
    }
}

TEST_F(MemberFigures, TheInformationShowsHealthAlertnessManaSkillsAndEffects) {
    struct Case {
        const char* rule;
        int alertness;
        bool magic;
        float earth;
        int poison, grounded, alive;
        const char *label, *value;
    };
    const Case cases[] = {
        {"fully alert", 1000, false, 0, 0, 0, 1, "Alertness", "100 / 100"},
        {"one short of full shows 99", 999, false, 0, 0, 0, 1, "Alertness", "99 / 100"},
        {"exhausted", 0, false, 0, 0, 0, 1, "Alertness", "0 / 100"},
        {"no magic", 1000, false, 0, 0, 0, 1, "Mana", "none"},
        {"mana of the maximum", 1000, true, 0, 0, 0, 1, "Mana", "25 / 30"},
        {"a skill's whole points", 1000, true, 14.99f, 0, 0, 1, "Earth skill", "14"},
        {"a skill of exactly 15", 1000, true, 15.0f, 0, 0, 1, "Earth skill", "15"},
        {"a skill past the figures shown", 1000, true, 1e20f, 0, 0, 1, "Earth skill", "2147483647"},
        {"no magic: no skill", 1000, false, 0, 0, 0, 1, "Fire skill", "0"},
        {"nothing on it", 1000, false, 0, 0, 0, 1, "Effects", "none"},
        {"poisoned and grounded", 1000, false, 0, 3, 1, 1, "Effects", "poisoned (3), grounded"},
        {"alive", 1000, false, 0, 0, 0, 1, "Condition", "alive"},
        {"dead", 1000, false, 0, 0, 0, 0, "Condition", "dead"},
        {"empty-handed", 1000, false, 0, 0, 0, 1, "Weapon", "none"},
        {"wearing nothing", 1000, false, 0, 0, 0, 1, "Worn", "nothing"},
        {"no bow", 1000, false, 0, 0, 0, 1, "Ranged weapon", "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        Player p;
        p.m_iAlertness = c.alertness;
        if (c.magic) {
            Heal heal;
            p.AddSpell(heal);
            p.m_pMagic->m_uMaxMana = 30;
            p.m_pMagic->m_uMana = 25;
            p.m_pMagic->AddSchoolSkill(SpellSchool::Earth, c.earth);
        }
        p.m_iPoison = c.poison;
        p.m_bGrounded = c.grounded;
        p.m_sLifeState = static_cast<LifeState>(c.alive);
        EXPECT_EQ(CMemberWnd::ValueOf(CPlayerInfoWnd::Rows(p), c.label), c.value);
    }
}

// A window opens within 5 ms as the game is built; the checked builds run
// every memory access through the sanitizers and get four times as long.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerSlowdown = 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kSanitizerSlowdown = 4;
#else
constexpr int kSanitizerSlowdown = 1;
#endif
#else
constexpr int kSanitizerSlowdown = 1;
#endif
constexpr std::chrono::milliseconds kOpenBudget{5 * kSanitizerSlowdown};

class MemberWindows : public PartyWindowsFixture {
protected:
    // Writes the screen's window area as a picture when asked to.
    static void KeepPicture(const CDDWnd& w, const char* name) {
        const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES");
        if (!folder) return;
        qv::Surface* screen = GetPopupSurface();
        ASSERT_NE(screen, nullptr);
        const qv::Rect r = w.m_rcWindow.Intersect(screen->Bounds());
        qv::Surface part;
        part.Create(r.Width(), r.Height());
        part.Blt({0, 0}, *screen, r);
        EXPECT_TRUE(art::SavePng(part, std::string(folder) + "/" + name));
    }
    // Window 0 statistics, 1 information, 2 magic.
    std::unique_ptr<CMemberWnd> Open(int window, Player* p) {
        OpenWindows& open = frame.m_pGameWindows->Open();
        if (window == 0) return std::make_unique<CPlayerStatsWnd>(play, p, open);
        if (window == 1) return std::make_unique<CPlayerInfoWnd>(play, p, open);
        return std::make_unique<CMagicWnd>(play, p);
    }
};

TEST_F(MemberWindows, EachWindowOpensOnTheStartWorldsPartyAndClosesByEscOrClose) {
    struct Case {
        const char* rule;
        int window;  // 0 statistics, 1 information, 2 magic
        bool byButton;
        int* flag;
    };
    const Case cases[] = {
        {"statistics, Esc", 0, false, &frame.m_pGameWindows->Open().m_bStatsOpen},
        {"statistics, Close", 0, true, &frame.m_pGameWindows->Open().m_bStatsOpen},
        {"information, Esc", 1, false, &frame.m_pGameWindows->Open().m_bInfoOpen},
        {"information, Close", 1, true, &frame.m_pGameWindows->Open().m_bInfoOpen},
        {"magic, Esc", 2, false, nullptr},
        {"magic, Close", 2, true, nullptr},
    };
    const uint32_t ticks = play.m_iTickCount;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        NextRow();
        std::unique_ptr<CMemberWnd> w = Open(c.window, hero);
        int seen = -1;
        // With no event left the loop asks the idle hook: the window is up,
        // and recorded so while it is; then the key or the click closes it.
        loop.SetIdleHook([&] {
            if (seen >= 0) return true;
            seen = c.flag ? *c.flag : 1;
            if (c.byButton)
                Press(*w, w->GetCloseButton());
            else
                Key(qv::VK_ESCAPE);
            return true;
        });
        EXPECT_EQ(w->Popup(), CMemberWnd::kIdClose);
        loop.SetIdleHook({});
        EXPECT_EQ(seen, 1) << "recorded while up";
        if (c.flag) {
            EXPECT_EQ(*c.flag, 0) << "closed: no longer recorded";
        }
        EXPECT_EQ(play.IsPopupOpen(), false);
        EXPECT_EQ(play.m_iTickCount, ticks);
    }
}

TEST_F(MemberWindows, TheStartWorldsCharacterShowsWhatItSetsOutWith) {
    const std::vector<Row> stats = CPlayerStatsWnd::Rows(*hero), info = CPlayerInfoWnd::Rows(*hero);
    const struct {
        const std::vector<Row>* rows;
        const char *label, *value;
    } cases[] = {{&stats, "Level", "3"},
                 {&info, "Weapon", "Sword"},
                 {&info, "Worn", "Leather Shirt"},
                 {&info, "Mana", "30 / 30"},
                 {&info, "Earth skill", "15"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CMemberWnd::ValueOf(*c.rows, c.label), c.value);
    }
}

TEST_F(MemberWindows, AWindowWhoseMemberGoesAwayEndsAndShowsNothingOfIt) {
    for (int window = 0; window < 3; ++window) {
        for (const bool whileUp : {false, true}) {
            SCOPED_TRACE(std::to_string(window) + (whileUp ? " while up" : " before"));
            NextRow();
            auto* stranger = new Player;
            stranger->m_iPartySlot = 2;
            std::unique_ptr<CMemberWnd> w = Open(window, stranger);
            if (whileUp) {
                loop.SetIdleHook([&] {
                    delete stranger;
                    stranger = nullptr;
                    return true;
                });
            } else {
                delete stranger;
            }
            EXPECT_EQ(w->Popup(), CMemberWnd::kGone);
            loop.SetIdleHook({});
            EXPECT_EQ(w->GetPlayer(), nullptr);
            EXPECT_EQ(play.IsPopupOpen(), false);
            // Drawn now, the window is its bare panel.
            qv::Surface* screen = GetPopupSurface();
            w->Paint(screen);
            qv::Surface bare;
            bare.Create(640, 480);
            CMemberWnd* base = w.get();
            base->CDDWnd::Paint(&bare);
            const qv::Point name{w->m_rcWindow.left + 30, w->m_rcWindow.top + 30};
            EXPECT_EQ(screen->GetPixel(name.x, name.y), bare.GetPixel(name.x, name.y));
        }
    }
}

TEST_F(MemberWindows, TheMagicPageOpensOnTheBookItIsAskedForAndListsItsSpells) {
    struct Case {
        const char* rule;
        int school;
        int shownSchool;
        std::vector<std::string> spells;
    };
    const std::vector<std::string> earth{"Heal", "Toughskin", "Strength"};
    const Case cases[] = {
        {"no book asked for: the first that holds a spell", 0, SpellSchool::Earth, earth},
        {"the Earth book", SpellSchool::Earth, SpellSchool::Earth, earth},
        {"the Fire book is empty", SpellSchool::Fire, SpellSchool::Fire, {}},
        {"the Air book", SpellSchool::Air, SpellSchool::Air, {}},
        {"the Water book", SpellSchool::Water, SpellSchool::Water, {}},
        {"no such school: the first with a spell", 5, SpellSchool::Earth, earth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CMagicWnd w(play, hero, c.school);
        EXPECT_EQ(w.GetSchool(), c.shownSchool);
        std::vector<std::string> names;
        for (Spell* s : w.ShownSpells()) names.push_back(s ? s->GetDisplayName() : "?");
        EXPECT_EQ(names, c.spells);
        for (int i = 0; i < CMagicWnd::kSlots; ++i)
            EXPECT_EQ(w.GetSpellButton(i)->m_bVisible,
                      i < static_cast<int>(c.spells.size()) ? 1 : 0);
    }
    // A click on a book's button shows that book.
    NextRow();
    CMagicWnd w(play, hero, SpellSchool::Earth);
    Press(w, w.GetBookButton(SpellSchool::Water));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), CMemberWnd::kIdClose);
    EXPECT_EQ(w.GetSchool(), SpellSchool::Water);
    EXPECT_EQ(w.GetBookButton(SpellSchool::Water)->GetState(), 1);
    EXPECT_EQ(w.GetBookButton(SpellSchool::Earth)->GetState(), 0);
}

TEST_F(MemberWindows, ASpellPickedOnTheMagicPageWaitsForItsTargetAndIsCastOnIt) {
    // The spell clicked (its place in the Earth book), the hero's mana
    // before; the window's answer, what waits, the line, the note.
    struct Case {
        const char* rule;
        int slot;
        uint32_t mana;
        int answer;
        bool waits;
        const char* note;
    };
    const Case cases[] = {
        {"Toughskin with mana to spare", 1, 30, CMagicWnd::kCasting, true, ""},
        {"Toughskin with exactly its mana", 1, 5, CMagicWnd::kCasting, true, ""},
        {"one short: refused in the window", 1, 4, CMemberWnd::kIdClose, false,
         "Too little mana for Toughskin."},
        {"an empty slot: nothing", 5, 30, CMemberWnd::kIdClose, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        NextRow();
        play.Give(Order::Of(Order::Kind::CancelTarget));
        hero->m_pMagic->m_uMana = c.mana;
        CMagicWnd w(play, hero, SpellSchool::Earth);
        const std::vector<Spell*> shown = w.ShownSpells();
        w.PickSpell(c.slot);
        if (w.IsOpen() || !c.waits) Key(qv::VK_ESCAPE);
        const int answer = c.waits ? CMagicWnd::kCasting : w.Popup();
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(w.GetNote(), c.note);
        Spell* picked =
            c.slot < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(c.slot)] : nullptr;
        EXPECT_EQ(play.Interacting().PendingItem().Get(), c.waits ? picked : nullptr);
        EXPECT_EQ(play.Interacting().SelectMode(), c.waits ? UseSelect::kSpell : 0);
        if (c.waits) {
            EXPECT_EQ(frame.m_strMessageLine, "Use Toughskin on...");
        }
        EXPECT_EQ(hero->m_pMagic->m_uMana, c.mana) << "nothing cast before the target";
    }
}

TEST_F(MemberWindows, ASpellChosenByItsButtonIsCastOnTheMemberClickedNext) {
    hero->m_pMagic->m_uMana = 30;
    hero->m_pMagic->m_fEarthSkill = 100.0f;  // no cast of it fails
    const int armourBefore = dog->m_iArmourBonus;
    CMagicWnd w(play, hero, SpellSchool::Earth);
    Press(w, w.GetSpellButton(1));  // Toughskin
    EXPECT_EQ(w.Popup(), CMagicWnd::kCasting);
    ASSERT_EQ(play.Interacting().SelectMode(), UseSelect::kSpell);
    // The click that picks the target: the dog.
    EXPECT_NE(play.Give(Order::On(Order::Kind::UseOn, dog->m_pHolder)), 0);
    for (int i = 0; i < 200 && dog->m_iArmourBonus == armourBefore; ++i)
        play.Tick(Play::kNormalTickStep);
    EXPECT_GT(dog->m_iArmourBonus, armourBefore);
    EXPECT_EQ(hero->m_pMagic->m_uMana, 30u - 5u);
    EXPECT_EQ(play.Interacting().PendingItem().Get(), nullptr);
}

TEST_F(MemberWindows, EachWindowOpensAndIsDrawnWithinFiveMilliseconds) {
    using Clock = std::chrono::steady_clock;
    qv::Surface* screen = GetPopupSurface();
    ASSERT_NE(screen, nullptr);
    // The three member windows, then the combat preferences dialog.
    const char* const names[] = {"statistics.png", "information.png", "magic.png",
                                 "combat-preferences.png"};
    for (int window = 0; window < 4; ++window) {
        SCOPED_TRACE(names[window]);
        const auto open = [&]() -> std::unique_ptr<CDDWnd> {
            if (window < 3) return Open(window, hero);
            auto d = std::make_unique<CCombatPrefsDlg>();
            d->m_iModeOfCombat = 1;
            d->m_iAttackMethod = 1;
            d->ShowValues();
            return d;
        };
        open()->Paint(screen);  // the pictures are made once for the game
        Clock::duration best = Clock::duration::max();
        for (int run = 0; run < 5; ++run) {
            const auto start = Clock::now();
            auto w = open();
            w->Paint(screen);
            best = std::min(best, Clock::now() - start);
        }
        EXPECT_LT(best, kOpenBudget);
        auto w = open();
        w->Paint(screen);
        KeepPicture(*w, names[window]);
    }
}

TEST_F(MemberWindows, TheCombatPanelIsDrawnBesideItsMember) {
    qv::Surface* screen = GetPopupSurface();
    ASSERT_NE(screen, nullptr);
    screen->FillRect({0, 0, 640, 480}, PaletteIndexToPixel(kColourPanel));
    CCombatModePanel panel(play, {10, 10});
    panel.SetPlayer(hero);
    panel.OnMouseMove(10 + 3, 10 + 44);  // over stand fast
    panel.Draw(screen);
    // A drawn button differs from the bare panel; the gap between two does not.
    EXPECT_NE(screen->GetPixel(10 + 12, 10 + 11), PaletteIndexToPixel(kColourPanel));
    EXPECT_EQ(screen->GetPixel(10 + 22, 10 + 11), PaletteIndexToPixel(kColourPanel));
    if (const char* folder = std::getenv("QV_WRITE_WINDOW_PICTURES")) {
        // Beside its member's portrait, as the party panel shows it.
        if (auto portrait = MakeWindowPicture(hero->m_iPortraitBitmap[0], 66, 66))
            portrait->DrawAt(screen, {82, 14}, screen->Bounds());
        qv::Surface part;
        part.Create(156, 106);
        part.Blt({0, 0}, *screen, {0, 0, 156, 106});
        EXPECT_TRUE(art::SavePng(part, std::string(folder) + "/combat-panel.png"));
    }
}

}  // namespace
