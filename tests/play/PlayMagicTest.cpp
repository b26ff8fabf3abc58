// Magic through play's orders: a party member casts a spell it knows; a thing
// picked for use waits for its target (the select mode, the pause, the user
// recorded with the use and the prompt), and a use that went through ends the
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

// Play stands as the target choice; the watch passes every call on and keeps
// the prompt, which only a frame would show, and the ends of pauses.
struct Watch : TargetChoice {
    explicit Watch(Play& p) : play(p) { SetTargetChoice(this); }
    ~Watch() override { SetTargetChoice(&play); }
    void BeginTargetChoice(Object* i, Player* u, int mode, int p, const std::string& t) override {
        prompt = t;
        play.BeginTargetChoice(i, u, mode, p, t);
    }
    void EndUsePause() override {
        ++pauseEnded;
        play.EndUsePause();
    }
    Play& play;
    std::string prompt;
    int pauseEnded = 0;
};

TEST_F(PlayMagic, AThingPickedForUseWaitsForItsTarget) {
    struct Row {
        const char* rule;
        std::function<std::unique_ptr<Object>()> make;
        bool awaited;  // whether a target is awaited
        int selectMode = 0, pause = 0;
        bool userRecorded = false;
        const char* prompt = "";
    };
    const Row rows[] = {
        {"a potion waits for the drinker", [] { return std::make_unique<Potion>(1); }, true, 3, 1,
         true, "Use Potion on..."},
        {"an empty potion only says so", [] { return std::make_unique<Potion>(0); }, false},
        {"a scroll waits for its target", [] { return std::make_unique<Scroll>(1); }, true, 3, 1,
         true, "Use Scroll on..."},
        {"a blank scroll only says so", [] { return std::make_unique<Scroll>(0); }, false},
        {"an invisibility scroll for one waits for its target",
         [] { return std::make_unique<Scroll>(ScrollType::Invisibility); }, true, 3, 1, true,
         "Use Scroll on..."},
        {"a power cube records no user", [] { return std::make_unique<PowerCube>(); }, true, 1, 1,
         false, "Use Cogo'Septem on..."},
        {"a known spell pauses the game as a spell does",
         [] { return std::make_unique<Toughskin>(); }, true, 2, 2, true, "Use Toughskin on..."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player user;
        Teach(user);
        Watch watch(play);
        play.m_pPendingItem = nullptr, play.m_pPendingItemUser = nullptr;
        play.m_iSelectMode = play.m_bPaused = 0;
        std::unique_ptr<Object> item = r.make();
        EXPECT_EQ(item->GetUsePrompt(&user, 0), 2);
        EXPECT_EQ(play.m_pPendingItem.Get(), r.awaited ? item.get() : nullptr);
        EXPECT_EQ(play.m_pPendingItemUser.Get(), r.userRecorded ? &user : nullptr);
        EXPECT_EQ(play.m_iSelectMode, r.selectMode);
        EXPECT_EQ(play.m_bPaused, r.pause);
        EXPECT_EQ(watch.prompt, r.prompt);
    }
}

TEST_F(PlayMagic, AScrollThatActsOnItsReaderIsReadAtOnce) {
    struct Row {
        const char* rule;
        int32_t type, group;
        int32_t invisible;  // the reader afterwards
    };
    const Row rows[] = {
        {"a group invisibility scroll hides the reader's group at once", ScrollType::Invisibility,
         1, 1},
        {"a sunlight scroll is cast by its reader at once", ScrollType::SunLight, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player* reader = PlaceMember(r.group + 1, At(36, 35 + r.group));
        Watch watch(play);
        Scroll scroll(r.type);
        scroll.m_bGroup = r.group;
        EXPECT_EQ(scroll.GetUsePrompt(reader, 0), 1);
        EXPECT_EQ(play.m_pPendingItem.Get(), nullptr);
        EXPECT_EQ(reader->m_bInvisible, r.invisible);
        EXPECT_EQ(watch.pauseEnded, 1);
    }
}

TEST_F(PlayMagic, AUseThatWentThroughEndsThePause) {
    Player* user = PlaceMember(1, At(36, 35));
    Player* target = PlaceMember(2, At(36, 36));
    target->m_iMaxHitPoints = 100;
    Watch watch(play);
    Potion potion(PotionType::Healing);
    Scroll scroll(ScrollType::Healing);
    PowerCube cube;
    int ended = 0;
    for (Object* o : {static_cast<Object*>(&potion), static_cast<Object*>(&scroll),
                      static_cast<Object*>(&cube)}) {
        SCOPED_TRACE(o->m_strSpecialName);
        play.m_bPaused = 1;
        o->Use(user, target);
        EXPECT_EQ(watch.pauseEnded, ++ended);
        EXPECT_EQ(play.m_bPaused, 0);
    }
}

}  // namespace
