#include "data/Training.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "creatures/Combat.h"
#include "creatures/NeuralNet.h"
#include "creatures/Player.h"
#include "creatures/TrainingRecords.h"
#include "items/Useable.h"
#include "media/DDObjects.h"
#include "platform/Files.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace training {
namespace {

constexpr int32_t kTick = 100;
constexpr int kMaxTicks = 3000;

// A creature's natural weapon in the training fights: its chance grows with
// the attacker's dexterity over the defender's, its damage is a base and a
// random part.
class Claws : public Useable, public CombatWeapon {
public:
    Claws(int32_t base, int32_t range, int32_t stun) : base(base), range(range), stun(stun) {}
    int GetWeaponKind() override { return 1; }
    int IsRanged() override { return 0; }
    int GetHitChance(Player* attacker, Player* defender, int) override {
        const int32_t a = attacker ? attacker->m_iCombatDexterity : 50;
        const int32_t d = defender ? defender->m_iCombatDexterity : 50;
        return std::clamp(50 + a - d, 5, 95);
    }
    int GetDamage(Player*, Player*, int average) override {
        return base + (average ? range / 2 : (range > 0 ? qv::Rand() % (range + 1) : 0));
    }
    int32_t GetStun() override { return stun; }
    int32_t GetDamageKind() override { return 0; }
    int32_t base, range, stun;
};

struct Sample {
    std::unique_ptr<InputInfo> record;
    float outcome;
};

int32_t Percent(int32_t part, int32_t whole) {
    return whole > 0 ? static_cast<int32_t>(int64_t{part} * 100 / whole) : 0;
}

// A fighter that keeps a record of every strike it makes and takes.
class Trainee : public Player {
public:
    int ResolveHit(Object* targetObject, StrikeWeapon which) override {
        auto* target = qv::DynamicCast<Player>(targetObject);
        auto* weapon = dynamic_cast<Claws*>(StrikeWeaponOf(which));
        if (!target || !weapon || !target->IsAlive() || !IsAlive())
            return Player::ResolveHit(targetObject, which);
        MapMaster* map = GetMapMaster();
        const int chance = weapon->GetHitChance(this, target, 0);
        const int average = weapon->GetDamage(this, target, 1);
        auto attack = std::make_unique<SinglePlayerAttackInfo>();
        attack->m_f1 = static_cast<float>(target->m_iLevelShortRange);
        attack->m_f2 = static_cast<float>(target->m_iLevelLongRange);
        attack->m_f3 = static_cast<float>(target->m_iLevelMagic);
        attack->m_f4 = Percent(target->m_iHitPoints, target->m_iMaxHitPoints);
        attack->m_f9 = chance;
        attack->m_f10 = Percent(average, target->m_iHitPoints);
        attack->m_f13 = static_cast<float>(m_iLevelShortRange);
        attack->m_f14 = static_cast<float>(m_iLevelLongRange);
        attack->m_f15 = static_cast<float>(m_iLevelMagic);
        attack->m_f16 = Percent(m_iHitPoints, m_iMaxHitPoints);
        const CellPoint d = map->PixelDeltaOf(m_Position, target->m_Position);
        attack->m_f17 = std::max(std::abs(d.x), std::abs(d.y));
        attack->m_f18 = IsLineOfAttackClear(target, map) ? 1 : 0;
        auto defense = std::make_unique<DefenseSpellInfo>();
        defense->m_f1 = static_cast<float>(m_iLevelShortRange);
        defense->m_f2 = static_cast<float>(m_iLevelLongRange);
        defense->m_f3 = static_cast<float>(m_iLevelMagic);
        defense->m_f4 = Percent(target->m_iHitPoints, target->m_iMaxHitPoints);
        defense->m_f8 = average;
        defense->m_f9 = chance;
        const int hit = Player::ResolveHit(targetObject, which);
        if (samples) {
            samples->attack.push_back({std::move(attack), static_cast<float>(hit)});
            samples->defense.push_back({std::move(defense), static_cast<float>(hit)});
        }
        return hit;
    }
    struct Samples {
        std::vector<Sample> attack, defense, evade;
    }* samples = nullptr;
};

// The headless world the fights run in: a map of open ground.
struct Arena {
    Arena() {
        world.map_master = std::make_unique<MapMaster>();
        map = world.map_master.get();
        map->SetWorldSize(100, 80);
        map->SetOrigin({10, 10});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map->GetCell(i, j).image = &floor;
    }
    CDDObject floor;
    World world;
    MapMaster* map;
};

// One fight of two creatures of random strength; its records go to `out`.
void RunFight(Arena& arena, Trainee::Samples& out) {
    std::vector<std::unique_ptr<Trainee>> fighters;
    std::vector<std::unique_ptr<ObjectHolder>> holders;
    for (int k = 0; k < 2; ++k) {
        auto p = std::make_unique<Trainee>();
        p->samples = &out;
        p->m_iMaxHitPoints = p->m_iHitPoints = 10 + qv::Rand() % 30;
        p->m_iDexterity = 30 + qv::Rand() % 50;
        p->m_iSpeed = 60 + qv::Rand() % 80;
        p->m_dExperience = {1.0 + qv::Rand() % 3000, 1.0 + qv::Rand() % 3000, 1.0};
        p->UpdateLevel();
        p->m_iMaxHitPoints = p->m_iHitPoints = 10 + qv::Rand() % 30;
        p->m_bEvading = qv::Rand() % 4 == 0 ? 1 : 0;
        // One draw after another: the same claws whatever the compiler.
        const int32_t base = 1 + qv::Rand() % 4;
        const int32_t range = qv::Rand() % 6;
        const int32_t stun = qv::Rand() % 40;
        auto claws = std::make_unique<Claws>(base, range, stun);
        p->m_pMeleeWeapon = claws.get();
        p->m_InUseList.push_back(std::move(claws));
        p->RecomputeLoad();
        Position at{(20 + k) * MapMaster::CellWidth + 40 + qv::Rand() % 80,
                    20 * MapMaster::CellHeight + 20 + qv::Rand() % 70, 0};
        p->m_Position = at;
        holders.push_back(std::make_unique<ObjectHolder>(at, p.get()));
        arena.map->AddHolder(at, holders.back().get());
        p->m_Position = holders.back()->pos;
        fighters.push_back(std::move(p));
    }
    Trainee& a = *fighters[0];
    Trainee& b = *fighters[1];
    a.GatherOpponents(&b);
    a.m_iHostileMode = b.m_iHostileMode = 1;
    // What each side knew when the fight began, for the evasion records.
    std::unique_ptr<EvadeInfo> evade[2];
    for (int k = 0; k < 2; ++k) {
        Trainee& self = *fighters[k];
        Trainee& other = *fighters[1 - k];
        evade[k] = std::make_unique<EvadeInfo>();
        evade[k]->m_f1 = static_cast<float>(self.m_bEvading);
        evade[k]->m_f2 = static_cast<float>(self.m_iLevel);
        evade[k]->m_f3 = static_cast<float>(other.m_iLevel);
        evade[k]->m_f4 = Percent(self.m_iHitPoints, self.m_iHitPoints + other.m_iHitPoints);
    }
    int32_t now = 1000;
    for (int t = 0; t < kMaxTicks && a.IsAlive() && b.IsAlive(); ++t) {
        now += kTick;
        a.Update(now, arena.map);
        b.Update(now, arena.map);
    }
    for (int k = 0; k < 2; ++k)
        out.evade.push_back({std::move(evade[k]), fighters[k]->IsAlive() ? 1.0f : 0.0f});
    for (auto& h : holders) arena.map->RemoveHolder(h->pos, h.get());
}

Trainee::Samples RunFights(Arena& arena, int count) {
    Trainee::Samples samples;
    for (int i = 0; i < count; ++i) RunFight(arena, samples);
    return samples;
}

// The network's answer to a record and its squared error against the outcome.
template <class Net>
double MeanSquaredError(Net& net, const std::vector<Sample>& samples) {
    if (samples.empty()) return 0.0;
    double sum = 0.0;
    const int32_t first = 1;
    for (const Sample& s : samples) {
        s.record->Feed(&first);
        net.Forward();
        const double e = net.OutputLayer()->m_Outputs[0] - s.outcome;
        sum += e * e;
    }
    return sum / static_cast<double>(samples.size());
}

// How a kind's rule turns the value it is handed into the network's expected
// output: the attack rule takes the value as it stands, the defence and
// evasion rules take the record's result value (m_f11, set by Feed) in
// hundredths less the value.
enum class Target { Handed, ResultLessHanded };
constexpr double kResultUnit = 0.01;

// Each record trains the first network of its kind toward its outcome, after
// a forward pass on its inputs: what is handed to the rule is chosen so that
// the rule's expected output is the outcome the error is measured against.
template <class Net>
void Train(Net& net, std::vector<Sample>& samples, int epochs, Target target) {
    const int32_t first = 1;
    for (int e = 0; e < epochs; ++e)
        for (Sample& s : samples) {
            s.record->Feed(&first);
            net.Forward();
            const float handed =
                target == Target::Handed
                    ? s.outcome
                    : static_cast<float>(s.record->m_f11 * kResultUnit - s.outcome);
            s.record->Train(&handed);
        }
}

struct Trained {
    Report report;
    std::vector<uint8_t> attack, defense, evade;
};

Trained RunTraining(int fights, int tests, int epochs) {
    NetworkSet& nets = Networks();
    // The game's networks are lent for the training and given back as they
    // were, with the game's chance sequence.
    const uint32_t kept = qv::RandState();
    const std::vector<uint8_t> attackWas = nets.attack[0].StoreWeights();
    const std::vector<uint8_t> defenseWas = nets.defense[0].StoreWeights();
    const std::vector<uint8_t> evadeWas = nets.evade[0].StoreWeights();

    qv::SeedRand(kSeed);
    nets.attack[0].RandomizeWeights();
    nets.defense[0].RandomizeWeights();
    nets.evade[0].RandomizeWeights();

    Trained out;
    Report& report = out.report;
    {
        Arena arena;
        Trainee::Samples learn = RunFights(arena, fights);
        Trainee::Samples test = RunFights(arena, tests);
        report.fights = fights + tests;
        report.attackRecords = learn.attack.size() + test.attack.size();
        report.defenseRecords = learn.defense.size() + test.defense.size();
        report.evadeRecords = learn.evade.size() + test.evade.size();
        report.attackBefore = MeanSquaredError(nets.attack[0], test.attack);
        report.defenseBefore = MeanSquaredError(nets.defense[0], test.defense);
        report.evadeBefore = MeanSquaredError(nets.evade[0], test.evade);
        Train(nets.attack[0], learn.attack, epochs, Target::Handed);
        Train(nets.defense[0], learn.defense, epochs, Target::ResultLessHanded);
        Train(nets.evade[0], learn.evade, epochs, Target::ResultLessHanded);
        report.attackAfter = MeanSquaredError(nets.attack[0], test.attack);
        report.defenseAfter = MeanSquaredError(nets.defense[0], test.defense);
        report.evadeAfter = MeanSquaredError(nets.evade[0], test.evade);
    }
    out.attack = nets.attack[0].StoreWeights();
    out.defense = nets.defense[0].StoreWeights();
    out.evade = nets.evade[0].StoreWeights();
    nets.attack[0].ReadWeights(attackWas, NNAttack::kDefaultFile);
    nets.defense[0].ReadWeights(defenseWas, NNDefense::kDefaultFile);
    nets.evade[0].ReadWeights(evadeWas, NNEvade::kDefaultFile);
    qv::SeedRand(kept);
    return out;
}

}  // namespace

Report TrainNetworks(int fights, int tests, int epochs) {
    return RunTraining(fights, tests, epochs).report;
}

bool WriteNetworks(const std::string& folder, Report& report, std::string& error) {
    Trained trained = RunTraining(kTrainingFights, kTestFights, kEpochs);
    report = trained.report;
    const struct {
        const char* name;
        const std::vector<uint8_t>& bytes;
    } files[] = {{NNAttack::kDefaultFile, trained.attack},
                 {NNDefense::kDefaultFile, trained.defense},
                 {NNEvade::kDefaultFile, trained.evade},
                 {NetworkSet::kSecondAttackFile, trained.attack},
                 {NetworkSet::kSecondDefenseFile, trained.defense},
                 {NetworkSet::kSecondEvadeFile, trained.evade}};
    try {
        for (const auto& f : files) qv::WriteWholeFile(folder + f.name, f.bytes);
    } catch (const std::exception& e) {
        error = std::string("The networks' weights could not be written: ") + e.what();
        return false;
    }
    return true;
}

}  // namespace training
