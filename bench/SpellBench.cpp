// The per-tick walk of 500 spells in effect on 2,000 creatures: lasting
// spells that end by time, and spells that drain their casters every 2000
// units of game time. Wanted: well under half a millisecond a tick.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsWater.h"
#include "world/World.h"

namespace {

constexpr int kCreatures = 2000;
constexpr int kSpells = 500;
constexpr int32_t kTick = 100;

template <class S>
void Lay(Player* caster, Player* target) {
    auto spell = std::make_unique<S>();
    spell->ApplyEffect(caster, target);
    SettleSpell(std::move(spell));
}

void BM_SpellsInEffectWalk(benchmark::State& state) {
    World world;
    ActiveSpells spells;
    std::vector<std::unique_ptr<Player>> creatures;
    creatures.reserve(kCreatures);
    for (int i = 0; i < kCreatures; ++i) {
        creatures.push_back(std::make_unique<Player>());
        creatures.back()->SetPlayerNumber(i);
    }
    for (int i = 0; i < kSpells; ++i) {
        Player* caster = creatures[static_cast<size_t>(i * 7 % kCreatures)].get();
        Player* target = creatures[static_cast<size_t>(i * 13 % kCreatures)].get();
        switch (i % 5) {
            case 0:
                Lay<Toughskin>(nullptr, target);
                break;
            case 1:
                Lay<Haste>(nullptr, target);
                break;
            case 2:
                Lay<Invisibility>(caster, target);  // drains
                break;
            case 3:
                Lay<Hesitation>(caster, target);  // drains
                break;
            default:
                Lay<Weaken>(caster, target);  // drains
                break;
        }
    }
    // The lasting ones are started far back in time, so that none ends
    // during the run; the drains run every 20 ticks.
    for (Spell* s : spells.Spells()) s->m_iDuration = s->m_iDuration > 0 ? 1 << 30 : s->m_iDuration;
    int32_t now = 0;
    for (auto _ : state) {
        now += kTick;
        world.m_iGameTime = now;
        spells.Walk(now);
    }
    if (spells.Count() != static_cast<size_t>(kSpells)) state.SkipWithError("a spell ended");
    state.counters["spells"] = static_cast<double>(spells.Count());
}
BENCHMARK(BM_SpellsInEffectWalk)->Unit(benchmark::kMicrosecond);

}  // namespace
