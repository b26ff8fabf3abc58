// What picking an item or a spell for use asks of the world's rules of play:
// the select mode, the pause, the user recorded with the use and the prompt;
// and that a use that went through ends the pause.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellFixture.h"
#include "items/SpellsEarth.h"
#include "items/TargetChoice.h"
#include "support/WorldFixture.h"

namespace {

using spell_test::SpellWorld;

// The world's rules, recording what the uses ask of them.
struct Rules : world_test::TestRules {
    explicit Rules(World& w) : world(w) { world.m_pRules = this; }
    ~Rules() override { world.m_pRules = nullptr; }
    World& world;
};

TEST(TargetChoice, WhatPickingAThingForUseAsks) {
    struct Row {
        const char* rule;
        std::function<std::unique_ptr<Object>()> make;
        int answer;
        int begun;  // whether a target is awaited
        int selectMode, pause;
        bool userRecorded;
        const char* prompt;
    };
    const Row rows[] = {
        {"a potion waits for the drinker", [] { return std::make_unique<Potion>(1); }, 2, 1, 3, 1,
         true, "Use Potion on..."},
        {"an empty potion only says so", [] { return std::make_unique<Potion>(0); }, 2, 0, 0, 0,
         false, ""},
        {"a scroll waits for its target", [] { return std::make_unique<Scroll>(1); }, 2, 1, 3, 1,
         true, "Use Scroll on..."},
        {"a blank scroll only says so", [] { return std::make_unique<Scroll>(0); }, 2, 0, 0, 0,
         false, ""},
        {"an invisibility scroll for one waits for its target",
         [] { return std::make_unique<Scroll>(ScrollType::Invisibility); }, 2, 1, 3, 1, true,
         "Use Scroll on..."},
        {"a power cube records no user", [] { return std::make_unique<PowerCube>(); }, 2, 1, 1, 1,
         false, "Use Cogo'Septem on..."},
        {"a known spell pauses the game as a spell does",
         [] { return std::make_unique<Toughskin>(); }, 2, 1, 2, 2, true, "Use Toughskin on..."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& user = w.Creature(1, 50);
        Rules rules(w.world);
        std::unique_ptr<Object> item = r.make();
        EXPECT_EQ(item->GetUsePrompt(&user, 0), r.answer);
        ASSERT_EQ(static_cast<int>(rules.choices.size()), r.begun);
        if (!r.begun) continue;
        const world_test::TestRules::Choice& choice = rules.choices.front();
        EXPECT_EQ(choice.item, item.get());
        EXPECT_EQ(choice.user, r.userRecorded ? &user : nullptr);
        EXPECT_EQ(choice.selectMode, r.selectMode);
        EXPECT_EQ(choice.pause, r.pause);
        EXPECT_EQ(choice.prompt, r.prompt);
    }
}

TEST(TargetChoice, AScrollThatActsOnItsReaderIsReadAtOnce) {
    struct Row {
        const char* rule;
        int32_t type;
        int32_t group;
        int answer;
        int32_t invisible;  // the reader afterwards
    };
    const Row rows[] = {
        {"a group invisibility scroll hides the reader's group at once", ScrollType::Invisibility,
         1, 1, 1},
        {"a sunlight scroll is cast by its reader at once", ScrollType::SunLight, 0, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player* reader = w.Band({1})[0];
        Rules rules(w.world);
        Scroll scroll(r.type);
        scroll.m_bGroup = r.group;
        EXPECT_EQ(scroll.GetUsePrompt(reader, 0), r.answer);
        EXPECT_TRUE(rules.choices.empty());
        EXPECT_EQ(reader->m_bInvisible, r.invisible);
        EXPECT_EQ(rules.pausesEnded, 1);
    }
}

TEST(TargetChoice, AUseThatWentThroughEndsThePause) {
    SpellWorld w;
    Player& user = w.Creature(1);
    Player& target = w.Creature(2);
    target.m_iMaxHitPoints = 100;
    Rules rules(w.world);
    Potion potion(PotionType::Healing);
    potion.Use(&user, &target);
    EXPECT_EQ(rules.pausesEnded, 1);
    Scroll scroll(ScrollType::Healing);
    scroll.Use(&user, &target);
    EXPECT_EQ(rules.pausesEnded, 2);
    PowerCube cube;
    cube.Use(&user, &target);
    EXPECT_EQ(rules.pausesEnded, 3);
}

}  // namespace
