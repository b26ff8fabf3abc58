// One forward pass of the attack network (13 inputs, 39 middle, 1 output):
// the work of weighing one attack. It should take under 2 microseconds.

#include <benchmark/benchmark.h>

#include "creatures/NeuralNet.h"

namespace {

void BM_AttackNetworkForward(benchmark::State& state) {
    NNAttack net;
    for (int i = 0; i < 13; ++i)
        net.InputLayer()->m_RawInputs[i] = 0.1f * static_cast<float>(i) - 0.5f;
    for (auto _ : state) {
        net.Forward();
        benchmark::DoNotOptimize(net.OutputLayer()->m_Outputs[0]);
    }
}
BENCHMARK(BM_AttackNetworkForward);

void BM_AttackNetworkTrainingStep(benchmark::State& state) {
    NNAttack net;
    for (int i = 0; i < 13; ++i) net.InputLayer()->m_RawInputs[i] = 0.05f * static_cast<float>(i);
    net.OutputLayer()->m_Expected[0] = 0.5f;
    for (auto _ : state) {
        net.Forward();
        float total = 0.0f;
        net.Backpropagate(&total);
        net.UpdateWeights(network::kTrainingRate, network::kTrainingMomentum);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_AttackNetworkTrainingStep);

}  // namespace
