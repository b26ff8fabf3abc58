#pragma once
// A world for the spell tests: its list of spells in effect, numbered
// creatures to cast and be cast on, and the clock stepped as the game loop
// steps it.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/Rand.h"
#include "world/Group.h"
#include "world/World.h"

namespace spell_test {

struct SpellWorld {
    SpellWorld() { qv::SeedRand(1); }

    // A creature under player number `number`, with magic when `mana` > 0
    // (that much current and maximum mana) and the given skill in every
    // school.
    Player& Creature(int32_t number, uint32_t mana = 0, float skill = 0.0f) {
        creatures.push_back(std::make_unique<Player>());
        Player& p = *creatures.back();
        p.SetPlayerNumber(number);
        if (mana > 0) {
            p.m_pMagic = std::make_unique<Magic>();
            p.m_bHasMagic = 1;
            p.m_pMagic->m_uMana = p.m_pMagic->m_uMaxMana = mana;
            for (int school = 1; school <= 4; ++school) p.m_pMagic->AddSchoolSkill(school, skill);
        }
        return p;
    }

    // The game time moves to `now` and the spells in effect get their check.
    void Tick(int32_t now) {
        world.m_iGameTime = now;
        spells.Walk(now);
    }

    // Lays a new spell of class S on `target` as a cast that succeeded does,
    // and hands it to whoever keeps it; answers what the effect answered.
    template <class S>
    int Apply(Player* caster, Object* target) {
        auto spell = std::make_unique<S>();
        const int result = spell->ApplyEffect(caster, target);
        SettleSpell(std::move(spell));
        return result;
    }

    // New creatures under these numbers in a group of the world's tree,
    // which owns them.
    std::vector<Player*> Band(std::initializer_list<int32_t> numbers) {
        world.CreateRootGroups();
        band = new Group("Band");
        world.m_pAllGroups->AddMemberDirect(band);
        std::vector<Player*> members;
        for (int32_t n : numbers) {
            members.push_back(new Player);
            members.back()->SetPlayerNumber(n);
            band->AddMemberDirect(members.back());
        }
        return members;
    }

    World world;
    Group* band = nullptr;
    ActiveSpells spells;
    std::vector<std::unique_ptr<Player>> creatures;
};

}  // namespace spell_test
