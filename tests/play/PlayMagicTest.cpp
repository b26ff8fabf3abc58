// Magic through play's orders: a party member casts a spell it knows; a thing
// picked for use waits for its target, and a use that went through ends the
// pause.

#include <functional>
#include <memory>
#include <string>

#include "PlayFixture.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellsEarth.h"
#include "items/TargetChoice.h"
#include "items/Token.h"
#include "support/WorldFixture.h"

using namespace play_test;

namespace {

// A creature that knows Toughskin and Strength, with 50 mana and a skill no
// cast of them can fail with.
void Teach(Player& p) {
    Toughskin toughskin;
    Strength strength;
    p.AddSpell(toughskin);
    p.AddSpell(strength);
    p.m_pMagic->m_uMaxMana = p.m_pMagic->m_uMana = 50;
    p.m_pMagic->AddSchoolSkill(SpellSchool::Earth, 50.0f);
}

Spell* Known(Player& p, size_t i) {
    return p.m_pMagic->m_SpellList[i].get();
}

class PlayMagic : public PlayFixture {};

TEST_F(PlayMagic, ACastOrder) {
    struct Row {
        const char* rule;
        int spell;      // 0 Toughskin, 1 Strength, -1 one it does not know
        int target;     // 0 none, 1 a party member, 2 an outsider
        uint32_t mana;  // the caster's before
        int answer;
        int32_t casterArmour, memberArmour, outsiderStrength;
        uint32_t manaAfter;
        size_t inEffect;
    };
    const Row rows[] = {
        {"a known spell on a party member", 0, 1, 50, 1, 0, 1, 50, 45, 1},
        {"no target: the caster itself", 0, 0, 50, 1, 1, 0, 50, 45, 1},
        {"exactly the mana it costs", 0, 1, 5, 1, 0, 1, 50, 0, 1},
        {"one short of its mana: nothing", 0, 1, 4, 0, 0, 0, 50, 4, 0},
        {"a spell it does not know: nothing", -1, 1, 50, 0, 0, 0, 50, 50, 0},
        {"a party spell at an outsider: nothing", 1, 2, 50, 0, 0, 0, 50, 50, 0},
        {"a party spell at a party member", 1, 1, 50, 1, 0, 0, 50, 45, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player caster, member, outsider;
        caster.SetPlayerNumber(1);
        member.SetPlayerNumber(2);
        outsider.SetPlayerNumber(3);
        caster.m_iPartySlot = 1;
        member.m_iPartySlot = 2;
        outsider.m_iCurStr = 50;
        Teach(caster);
        caster.m_pMagic->m_uMana = r.mana;
        ObjectHolder memberAt(At(36, 36), &member), outsiderAt(At(37, 36), &outsider);
        ActiveSpells spells;  // ended first, while the creatures are there
        Toughskin stranger;
        Order cast = Order::Of(Order::Kind::Cast);
        cast.actor = &caster;
        cast.object = r.spell < 0 ? static_cast<Spell*>(&stranger) : Known(caster, r.spell);
        if (r.target == 1) cast.target = &memberAt;
        if (r.target == 2) cast.target = &outsiderAt;
        EXPECT_EQ(play.Give(cast), r.answer);
        EXPECT_EQ(caster.m_iArmourBonus, r.casterArmour);
        EXPECT_EQ(member.m_iArmourBonus, r.memberArmour);
        EXPECT_EQ(outsider.m_iCurStr, r.outsiderStrength);
        EXPECT_EQ(caster.m_pMagic->m_uMana, r.manaAfter);
        EXPECT_EQ(spells.Count(), r.inEffect);
    }
}

// Play as the world's rules, keeping the prompts it is given (only a frame
// shows them) and the pauses it ends.
struct Watch : world_test::TestRules {
    Watch(World& w, Play& p) : world(w), play(p) { world.m_pRules = this; }
    ~Watch() override { world.m_pRules = &play; }
    int Approach(Player* creature, int flag) override { return play.Approach(creature, flag); }
    void BeginTargetChoice(Object* i, Player* u, int mode, int p, const std::string& t) override {
        TestRules::BeginTargetChoice(i, u, mode, p, t);
        play.BeginTargetChoice(i, u, mode, p, t);
    }
    void EndUsePause() override {
        TestRules::EndUsePause();
        play.EndUsePause();
    }
    World& world;
    Play& play;
};

// A thing picked for use waits for its target: the select mode, the pause,
// the thing and its user (a power cube records none) and the prompt; a
// scroll that acts on its reader is read at once and ends the pause.
TEST_F(PlayMagic, AThingPickedForUseWaitsForItsTargetOrActsAtOnce) {
    struct Row {
        const char* rule;
        std::function<std::unique_ptr<Object>()> make;
        int answer;
        const char* state;  // select mode, pause, what waits, the prompt, pauses ended
        bool placed = false, invisible = false;  // the reader in the party; hidden after
    };
    const auto group = [](int32_t type) {
        auto scroll = std::make_unique<Scroll>(type);
        scroll->m_bGroup = 1;
        return scroll;
    };
    const Row rows[] = {
        {"a potion waits for the drinker", [] { return std::make_unique<Potion>(1); }, 2,
         "3 1 item user 'Use Potion on...' 0"},
        {"an empty potion only says so", [] { return std::make_unique<Potion>(0); }, 2,
         "0 0 - - '' 0"},
        {"a scroll waits for its target", [] { return std::make_unique<Scroll>(1); }, 2,
         "3 1 item user 'Use Scroll on...' 0"},
        {"a blank scroll only says so", [] { return std::make_unique<Scroll>(0); }, 2,
         "0 0 - - '' 0"},
        {"an invisibility scroll for one waits for its target",
         [] { return std::make_unique<Scroll>(ScrollType::Invisibility); }, 2,
         "3 1 item user 'Use Scroll on...' 0"},
        {"a power cube records no user", [] { return std::make_unique<PowerCube>(); }, 2,
         "1 1 item - 'Use Cogo'Septem on...' 0"},
        {"a token waits for its taker, the pause as it was",
         [] { return std::make_unique<Token>(); }, 2, "1 0 item user 'Use Token on...' 0"},
        {"a known spell pauses the game as a spell does",
         [] { return std::make_unique<Toughskin>(); }, 2, "2 2 item user 'Use Toughskin on...' 0"},
        {"a group invisibility scroll hides the reader's group at once",
         [&] { return group(ScrollType::Invisibility); }, 1, "0 0 - - '' 1", true, true},
        {"a sunlight scroll is cast by its reader at once",
         [] { return std::make_unique<Scroll>(ScrollType::SunLight); }, 1, "0 0 - - '' 1", true},
    };
    int slot = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player bare;
        Player* user = r.placed ? PlaceMember(slot, At(36, 34 + slot)) : &bare;
        slot += r.placed ? 1 : 0;
        Teach(*user);
        Watch watch(world, play);
        play.Interacting().SetPendingItem(nullptr), play.Interacting().SetPendingItemUser(nullptr);
        play.Interacting().SetSelectMode(0);
        play.m_bPaused = 0;
        std::unique_ptr<Object> item = r.make();
        EXPECT_EQ(item->GetUsePrompt(user, 0), r.answer);
        const std::string prompt = watch.choices.empty() ? "" : watch.choices.back().prompt;
        EXPECT_EQ(std::to_string(play.Interacting().SelectMode()) + " " +
                      std::to_string(play.m_bPaused) +
                      (play.Interacting().PendingItem().Get() == item.get() ? " item" : " -") +
                      (play.Interacting().PendingItemUser().Get() == user ? " user" : " -") + " '" +
                      prompt + "' " + std::to_string(watch.pausesEnded),
                  r.state);
        EXPECT_EQ(user->m_bInvisible, r.invisible ? 1 : 0);
    }
}

TEST_F(PlayMagic, AUseThatWentThroughEndsThePause) {
    Player* user = PlaceMember(1, At(36, 35));
    Player* target = PlaceMember(2, At(36, 36));
    target->m_iMaxHitPoints = 100;
    Watch watch(world, play);
    Potion potion(PotionType::Healing);
    Scroll scroll(ScrollType::Healing);
    PowerCube cube;
    int ended = 0;
    for (Object* o : {static_cast<Object*>(&potion), static_cast<Object*>(&scroll),
                      static_cast<Object*>(&cube)}) {
        SCOPED_TRACE(o->m_strSpecialName);
        play.m_bPaused = 1;
        o->Use(user, target);
        EXPECT_EQ(watch.pausesEnded, ++ended);
        EXPECT_EQ(play.m_bPaused, 0);
    }
}

}  // namespace
