// Magic through play's orders: a party member casts a spell it knows; a thing
// picked for use waits for its target, and a use that went through ends the
// pause.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "creatures/Species.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/TargetChoice.h"
#include "items/Token.h"
#include "platform/Message.h"
#include "platform/Rand.h"
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

// The caster knows the Fire spell, with mana and skill enough, and casts it
// on the target through the order.
int CastFire(Play& play, Player& caster, Spell&& spell, ObjectHolder* target) {
    caster.AddSpell(spell);
    caster.m_pMagic->m_uMaxMana = caster.m_pMagic->m_uMana = 50;
    caster.m_pMagic->AddSchoolSkill(SpellSchool::Fire, 100.0f);
    Order cast = Order::Of(Order::Kind::Cast);
    cast.actor = &caster;
    cast.object = Known(caster, 0);
    cast.target = target;
    return play.Give(cast);
}

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

// Light cast through the order: on a member with a hand the member carries
// the magic light; on one without, "Eh?" and nothing lit; either way the
// caster pays 5 mana and gains 10, and the spell stays until the caster's
// alertness runs out and ends it, which takes the light away.
TEST_F(PlayMagic, ALightCastLightsTheMemberUntilItsCasterTires) {
    struct Row {
        const char* rule;
        bool hand;
        int32_t lit;
        size_t ehs;
    };
    const Row rows[] = {
        {"a member with a hand carries the light", true, 1, 0},
        {"a member without a hand: Eh?, no light", false, 0, 1},
    };
    int slot = 1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player* caster = PlaceMember(slot, At(36, 36 + slot));
        Player* member = PlaceMember(slot + 1, At(37, 36 + slot));
        slot += 2;
        caster->SetPlayerNumber(slot);
        member->SetPlayerNumber(slot + 1);
        if (r.hand) member->m_BodySlotList.emplace_back(1);
        ActiveSpells spells;
        qv::ScriptedMessages script;
        EXPECT_EQ(CastFire(play, *caster, Light(), member->m_pHolder), 1);
        EXPECT_EQ(member->m_iLight, r.lit);
        EXPECT_EQ(member->GetLightSource() != nullptr, r.lit == 1);
        EXPECT_EQ(std::vector<std::string>(script.shown.begin(), script.shown.end()),
                  std::vector<std::string>(r.ehs, "Eh?"));
        EXPECT_EQ(caster->m_pMagic->m_uMana, 45u);
        EXPECT_DOUBLE_EQ(caster->m_dExperience[2], 11.0);
        EXPECT_EQ(spells.Count(), 1u);
        EXPECT_TRUE(caster->CancelCastSpells(SpellEffectKind::Any));
        EXPECT_EQ(member->m_iLight, 0);
        EXPECT_EQ(member->GetLightSource(), nullptr);
        EXPECT_EQ(spells.Count(), 0u);
    }
}

// Sunlight cast through the order (or read from a scroll) burns the undead
// the caster sees within 210 pixels across and 150 down (across measured on
// the screen's slant, dx - dy), 20 + a roll of 40 each; one burnt down is
// destroyed for good; the caster gains a tenth of each victim's experience
// and the victim a hundredth of the caster's.
TEST_F(PlayMagic, SunlightBurnsTheUndeadTheCasterSees) {
    struct Row {
        const char* rule;
        const char* species;  // null: a plain creature
        int dx, dy;
        int32_t hp, hpAfter;  // a victim burnt: the caster gains 30 and it 3.3
        int16_t lifeAfter = 1;
        bool scroll = false;
    };
    // A cast rolls for success first; the second roll of seed 1 burns.
    constexpr int32_t kBurnt = 100 - (20 + 18467 % 40);
    const Row rows[] = {
        {"an undead beside the caster burns", "Undead", 100, 0, 100, kBurnt},
        {"an undead at 15 is destroyed for good", "Undead", 100, 0, 15, 0, -10},
        {"a skeleton is undead", "Skeleton", 100, 0, 100, kBurnt},
        {"a living creature is not burnt", nullptr, 100, 0, 100, 100},
        {"209 across: seen", "Undead", 209, 0, 100, kBurnt},
        {"210 across: not seen", "Undead", 210, 0, 100, 100},
        {"-210 across: seen", "Undead", -210, 0, 100, kBurnt},
        {"-211 across: not seen", "Undead", -211, 0, 100, 100},
        {"149 down: seen", "Undead", 149, 149, 100, kBurnt},
        {"150 down: not seen", "Undead", 150, 150, 100, 100},
        {"-150 up: seen", "Undead", -150, -150, 100, kBurnt},
        {"-151 up: not seen", "Undead", -151, -151, 100, 100},
        // A scroll is read without a roll for success: the first roll burns.
        {"read from a scroll", "Undead", 100, 0, 100, 100 - (20 + 41 % 40), 1, true},
    };
    auto* band = new Group;
    world.m_pAllGroups->AddMember(band);
    // Each row a few cells further east, out of the others' sight.
    int column = 12;
    const auto place = [&](Player* p, const Position& pos, int32_t hp) {
        band->AddMember(p);
        p->m_Position = pos;
        Lay(p, pos);
        p->m_iMaxHitPoints = 100;
        p->m_iHitPoints = hp;
        p->m_dExperience = {100.0, 100.0, 100.0};
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        auto* caster = new Player;
        place(caster, At(column, 36), 100);
        column += 3;
        Player* victim = r.species ? Species::Make(r.species).release() : new Player;
        place(victim, {caster->m_Position.x + r.dx, caster->m_Position.y + r.dy, 0}, r.hp);
        ActiveSpells spells;
        Scroll scroll(ScrollType::SunLight);
        const auto cast = [&] {
            qv::SeedRand(1);
            return r.scroll ? scroll.GetUsePrompt(caster, 0)
                            : CastFire(play, *caster, Sunlight(), nullptr);
        };
        EXPECT_EQ(cast(), 1);
        EXPECT_EQ(victim->m_iHitPoints, r.hpAfter);
        EXPECT_EQ(victim->m_sLifeState, r.lifeAfter);
        const bool burnt = r.hpAfter != r.hp;
        EXPECT_DOUBLE_EQ(caster->m_dExperience[2], burnt ? 130.0 : 100.0);
        EXPECT_DOUBLE_EQ(victim->m_dExperience[2], burnt ? 103.3 : 100.0);
        EXPECT_EQ(spells.Count(), 0u);
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
