// The networks' weights the data program makes: fights that leave records of
// every kind, trained networks that answer the outcomes of unseen fights
// better than fresh ones, weight files of exactly the networks' sizes, and
// the game's own networks and chance sequence left as they were.

#include <gtest/gtest.h>

#include "creatures/TrainingRecords.h"
#include "data/Training.h"
#include "platform/Files.h"
#include "platform/Rand.h"

namespace {

TEST(Training, FightsLeaveRecordsAndTrainingBeatsFreshWeights) {
    const training::Report r = training::TrainNetworks(40, 20, 2);
    EXPECT_EQ(r.fights, 60);
    EXPECT_GT(r.attackRecords, 100u) << "every strike is an attack record";
    EXPECT_EQ(r.defenseRecords, r.attackRecords) << "and a defence record of its target";
    EXPECT_EQ(r.evadeRecords, 120u) << "one evasion record per fighter and fight";
    // Every kind answers the unseen fights' outcomes better than it did fresh.
    const struct {
        const char* kind;
        double before, after;
    } rows[] = {{"attack", r.attackBefore, r.attackAfter},
                {"defence", r.defenseBefore, r.defenseAfter},
                {"evasion", r.evadeBefore, r.evadeAfter}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        EXPECT_LT(row.after, row.before);
    }
}

TEST(Training, TheSameSeedMakesTheSameWeightsAndTheGameIsLeftAsItWas) {
    NetworkSet& nets = Networks();
    const auto before = nets.attack[0].StoreWeights();
    qv::SeedRand(4242);
    const training::Report a = training::TrainNetworks(10, 5, 1);
    const training::Report b = training::TrainNetworks(10, 5, 1);
    EXPECT_EQ(a.attackRecords, b.attackRecords);
    EXPECT_DOUBLE_EQ(a.attackAfter, b.attackAfter);
    EXPECT_DOUBLE_EQ(a.evadeAfter, b.evadeAfter);
    // The game's own networks and chance sequence are untouched.
    EXPECT_EQ(qv::RandState(), 4242u);
    EXPECT_EQ(nets.attack[0].StoreWeights(), before);
}

TEST(Training, TheSixWeightFilesHaveTheNetworksSizesAndReadBack) {
    const std::string folder = ::testing::TempDir() + "qv-training/";
    qv::MakeFolder(folder);
    training::Report report;
    std::string error;
    ASSERT_TRUE(training::WriteNetworks(folder, report, error)) << error;
    struct Row {
        const char* file;
        size_t size;
    };
    const Row rows[] = {{"NNAttack.dat", 2215}, {"NNDefense.dat", 895}, {"NNEvade.dat", 331},
                        {"NNSPAS.dat", 2215},   {"NNDSS.dat", 895},     {"NNES.dat", 331}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        EXPECT_EQ(qv::ReadWholeFile(folder + r.file).size(), r.size);
    }
    NNAttack attack;
    NNDefense defense;
    NNEvade evade;
    EXPECT_EQ(attack.ReadFile(folder + "NNAttack.dat"), 1);
    EXPECT_EQ(defense.ReadFile(folder + "NNDefense.dat"), 1);
    EXPECT_EQ(evade.ReadFile(folder + "NNES.dat"), 1);
    EXPECT_LT(report.attackAfter, report.attackBefore);
    qv::RemoveFolder(folder);
}

}  // namespace
