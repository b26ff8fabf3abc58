#pragma once
// The networks' weights, made by the data program: creatures of the game
// fight one another in a headless world, every strike and every fight leaves
// training records as the game keeps them, and the three kinds of network
// are trained on them with the game's own update rule. The six weight files
// go into the start world's slot, where reading the world finds them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace training {

struct Report {
    int fights = 0;
    size_t attackRecords = 0, defenseRecords = 0, evadeRecords = 0;
    // The mean squared error of each network's answer against the outcome of
    // the records of fights it was not trained on: with the fresh weights it
    // starts from and with the trained ones.
    double attackBefore = 0, attackAfter = 0;
    double defenseBefore = 0, defenseAfter = 0;
    double evadeBefore = 0, evadeAfter = 0;
};

// The fights' seed: the same weights every run.
constexpr uint32_t kSeed = 25;
constexpr int kTrainingFights = 240;
constexpr int kTestFights = 60;
// Passes over the training records.
constexpr int kEpochs = 4;

// Runs the fights, trains the networks and writes the six weight files into
// `folder` (ending in its separator); false with `error` when a file could
// not be written. Leaves the game's own networks and chance sequence as they
// were.
bool WriteNetworks(const std::string& folder, Report& report, std::string& error);

// Only the fights and the training, without writing: what WriteNetworks
// reports, for `fights` training and `tests` test fights.
Report TrainNetworks(int fights, int tests, int epochs);

}  // namespace training
