#include <gtest/gtest.h>

#include "items/Scroll.h"
#include "items/SpellFixture.h"
#include "platform/Message.h"

namespace {

using spell_test::SpellWorld;

TEST(Scroll, Reading) {
    struct Row {
        const char* rule;
        int32_t type;
        int want;  // 1: used up
        int32_t Player::*figure;
        int32_t wantFigure;
        size_t inEffect;
    };
    const Row rows[] = {
        {"healing", ScrollType::Healing, 1, &Player::m_iHitPoints, 50 + 10 + 41 % 10, 0},
        {"mana on a creature without magic is not used up", ScrollType::RestoreMana, 0,
         &Player::m_iHitPoints, 50, 0},
        {"strength", ScrollType::Strength, 1, &Player::m_iCurStr, 60, 1},
        {"speed", ScrollType::Speed, 1, &Player::m_iSpeedState, 1, 1},
        {"toughskin", ScrollType::Toughskin, 1, &Player::m_iArmourBonus, 1, 1},
        {"sunlight: cast by the reader, spent at once", ScrollType::SunLight, 1,
         &Player::m_iHitPoints, 50, 0},
        {"invisibility on the target", ScrollType::Invisibility, 1, &Player::m_bInvisible, 1, 1},
        {"a blank scroll does nothing", ScrollType::Blank, 0, &Player::m_iHitPoints, 50, 0},
        {"a type there is not does nothing", 12, 0, &Player::m_iHitPoints, 50, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& reader = w.Creature(1);
        Player& target = w.Creature(2);
        target.m_iMaxHitPoints = 100;
        target.m_iHitPoints = 50;
        const int spells = Spell::LiveCount();
        Scroll scroll(r.type);
        EXPECT_EQ(scroll.Use(&reader, &target), r.want);
        EXPECT_EQ(target.*r.figure, r.wantFigure);
        EXPECT_EQ(w.spells.Count(), r.inEffect);
        EXPECT_EQ(Spell::LiveCount(), spells + static_cast<int>(r.inEffect));
    }
}

TEST(Scroll, AGroupScrollHidesEveryCreatureOfTheReadersGroup) {
    SpellWorld w;
    std::vector<Player*> members = w.Band({4, 5, 6});
    Player& outsider = w.Creature(9);
    Scroll scroll(ScrollType::Invisibility);
    scroll.m_bGroup = 1;
    EXPECT_TRUE(scroll.ActsOnReader());
    EXPECT_EQ(scroll.Use(members[0], members[0]), 1);
    for (Player* p : members) EXPECT_EQ(p->m_bInvisible, 1);
    EXPECT_EQ(outsider.m_bInvisible, 0);
    // A spell of its own each: ending one leaves the others.
    EXPECT_EQ(w.spells.Count(), 3u);
    members[1]->CancelSpellsOn(SpellEffectKind::Any);
    EXPECT_EQ(members[1]->m_bInvisible, 0);
    EXPECT_EQ(members[0]->m_bInvisible, 1);
    w.Tick(20001);
    EXPECT_EQ(w.spells.Count(), 0u);
    for (Player* p : members) EXPECT_EQ(p->m_bInvisible, 0);

    // Read by a creature of no group, it hides only the reader (and says
    // its group is missing).
    qv::ScriptedMessages messages({qv::MessageAnswer::Retry});
    EXPECT_EQ(scroll.Use(&outsider, &outsider), 1);
    EXPECT_EQ(outsider.m_bInvisible, 1);
    EXPECT_EQ(w.spells.Count(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(Scroll, Names) {
    struct Row {
        const char* rule;
        const char* before;
        int32_t group, type;
        const char* want;
    };
    const Row rows[] = {
        {"a new scroll takes its type's name", "Scroll", 0, ScrollType::Speed, "Scroll of Speed"},
        {"so does a blank one", "Blank Scroll", 0, ScrollType::Healing, "Scroll of Healing"},
        {"a group scroll says so", "Scroll", 1, ScrollType::Invisibility,
         "Scroll of Invisibility - Group"},
        {"a name of its own is kept", "Old Parchment", 0, ScrollType::Healing, "Old Parchment"},
        {"a named scroll keeps its name", "Scroll of Speed", 0, ScrollType::Healing,
         "Scroll of Speed"},
        {"a type there is not keeps the name", "Scroll", 0, 8, "Scroll"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Scroll s;
        s.SetName(r.before);
        s.m_bGroup = r.group;
        s.SetScrollType(r.type);
        EXPECT_EQ(s.m_strSpecialName, r.want);
    }
}

}  // namespace
