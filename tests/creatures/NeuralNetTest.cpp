// The networks: the logistic and its clamps, the wild-weight rule, errors,
// training steps, noise, fresh weights, records, and the weight files byte by
// byte with every way a file can be refused.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "creatures/NeuralNet.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

// A weight file written from its layout: the class records of output_layer
// and layer, the middle layer's weights, the tag of layer again (index 2),
// the top layer's weights.
Bytes WeightFile(const std::vector<float>& middle, const std::vector<float>& top) {
    Bytes b;
    PutNewClass(b, "output_layer", 1);
    PutNewClass(b, "layer", 1);
    for (float w : middle) PutFloat(b, w);
    PutWord(b, 0x8002);
    for (float w : top) PutFloat(b, w);
    return b;
}

// Distinct weights for a layer of n: 0.25, 0.5, ... negated every third.
std::vector<float> Weights(size_t n, float scale) {
    std::vector<float> w(n);
    for (size_t k = 0; k < n; ++k) w[k] = (k % 3 == 2 ? -1.0f : 1.0f) * scale * (k + 1) / 4.0f;
    return w;
}

output_layer& Middle(network& net) {
    return *static_cast<output_layer*>(net.Layer(1));
}

void ZeroWeights(network& net) {
    for (int k = 1; k < net.LayerCount(); ++k)
        for (float& w : static_cast<output_layer*>(net.Layer(k))->m_Weights) w = 0.0f;
}

// A file in the test's own folder, removed afterwards.
struct TempFolder {
    TempFolder() {
        char name[] = "/tmp/qv-nets-XXXXXX";
        path = std::string(mkdtemp(name)) + "/";
    }
    ~TempFolder() { qv::RemoveFolder(path); }
    std::string path;
};

// One input feeds one middle output through one weight (the rest 0): the
// logistic of the sum, clamped beyond 50, and a wild weight (its square past
// a million) made +1000 when its column is computed.
TEST(NeuralNet, TheLogisticIsClampedAndAWildWeightBecomesAThousand) {
    const auto logistic = [](double x) { return static_cast<float>(1.0 / (1.0 + std::exp(-x))); };
    struct Row {
        const char* rule;
        int input, column;
        float weight, signal, weightAfter, want;
    };
    const Row rows[] = {
        {"a sum of 0 gives one half", 0, 0, 1, 0.0f, 1, 0.5f},
        {"exactly -50 is still the logistic", 0, 0, 1, -50.0f, 1, logistic(-50.0)},
        {"just below -50 is 0", 0, 0, 1, -50.001f, 1, 0.0f},
        {"just above -50 is the logistic", 0, 0, 1, -49.999f, 1, logistic(-49.999f)},
        {"exactly 50 is the logistic, which a float holds as 1", 0, 0, 1, 50.0f, 1, logistic(50.0)},
        {"above 50 is 1", 0, 0, 1, 50.5f, 1, 1.0f},
        {"a small sum", 0, 0, 1, 1.5f, 1, logistic(1.5)},
        {"weight -1500 becomes +1000", 2, 4, -1500.0f, 0.01f, 1000.0f, logistic(0.01f * 1000.0)},
        {"+1500 becomes +1000", 2, 0, 1500.0f, 0.01f, 1000.0f, logistic(0.01f * 1000.0)},
        {"exactly 1000 squared is a million: kept", 2, 4, 1000.0f, 0.01f, 1000.0f,
         logistic(0.01f * 1000.0)},
        {"exactly -1000 is kept, sign and all", 2, 4, -1000.0f, 0.01f, -1000.0f,
         logistic(0.01f * -1000.0)},
        {"just past -1000 becomes +1000", 2, 7, std::nextafter(-1000.0f, -2000.0f), 0.01f, 1000.0f,
         logistic(0.01f * 1000.0)},
        {"an ordinary weight is kept", 2, 4, -0.75f, 0.01f, -0.75f, logistic(0.01f * -0.75)},
        {"in the last column too", 2, 14, -1500.0f, 0.01f, 1000.0f, logistic(0.01f * 1000.0)},
        {"and the one before it", 2, 12, 2000.0f, 0.01f, 1000.0f, logistic(0.01f * 1000.0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NNEvade net;
        ZeroWeights(net);
        Middle(net).Weight(r.input, r.column) = r.weight;
        net.InputLayer()->m_RawInputs.assign(4, 0.0f);
        net.InputLayer()->m_RawInputs[size_t(r.input)] = r.signal;
        EXPECT_EQ(Middle(net).Weight(r.input, r.column), r.weight) << "untouched until computed";
        net.Forward();
        EXPECT_EQ(Middle(net).Weight(r.input, r.column), r.weightAfter);
        EXPECT_EQ(Middle(net).m_Outputs[size_t(r.column)], r.want);
        EXPECT_EQ(Middle(net).m_Outputs[r.column == 1 ? 2 : 1], 0.5f);  // a zero sum elsewhere
    }
    // The clamp is what keeps the bottom from being a tiny positive number.
    EXPECT_GT(logistic(-50.0), 0.0f);
}

TEST(NeuralNet, ErrorsAreHandedDownByTheirFormulas) {
    // A network of 2, 2, 1 with chosen weights and signals.
    network net;
    ASSERT_EQ(net.Build({2, 2, 1}), 1);
    output_layer& middle = Middle(net);
    output_layer& top = *net.OutputLayer();
    middle.m_Weights = {0.5f, -1.0f, 0.25f, 2.0f};  // (i, j) at i x 2 + j
    top.m_Weights = {1.5f, -0.5f};
    net.InputLayer()->m_RawInputs = {0.2f, 0.6f};
    net.Forward();
    top.m_Outputs[0] = 0.4f;
    top.m_Expected[0] = 0.1f;
    float total = 0.0f;
    net.Backpropagate(&total);
    // Top: error = expected - output; back error i = error x w(i) x in(1 - in).
    const double err = 0.1f - 0.4f;
    EXPECT_FLOAT_EQ(total, static_cast<float>(err));
    for (int i = 0; i < 2; ++i) {
        const double in = middle.m_Outputs[i];
        EXPECT_FLOAT_EQ(top.m_BackErrors[i],
                        static_cast<float>(err * top.m_Weights[i] * in * (1 - in)));
    }
    // Middle: back error i = (sum over j of the errors above x w(i, j)) x in(1 - in).
    const float raw[2] = {0.2f, 0.6f};
    for (int i = 0; i < 2; ++i) {
        const double s = double(top.m_BackErrors[0]) * middle.Weight(i, 0) +
                         double(top.m_BackErrors[1]) * middle.Weight(i, 1);
        EXPECT_FLOAT_EQ(middle.m_BackErrors[i], static_cast<float>(s * raw[i] * (1 - raw[i])));
    }
    // The middle layer learns from the errors handed down to it.
    const std::vector<float> before = middle.m_Weights;
    net.UpdateWeights(0.5f, 0.0f);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_FLOAT_EQ(middle.Weight(i, j),
                            before[i * 2 + j] + raw[i] * top.m_BackErrors[j] * 0.5f);
    // Once an update ends, the next adds the momentum's share of its change.
    const std::vector<float> first = middle.m_WeightChanges;
    net.EndUpdate();
    EXPECT_EQ(middle.m_PreviousWeightChanges, first);
    for (float c : middle.m_WeightChanges) EXPECT_EQ(c, 0.0f);
    const std::vector<float> then = middle.m_Weights;
    net.UpdateWeights(0.0f, 0.5f);  // momentum alone
    for (size_t k = 0; k < then.size(); ++k) {
        EXPECT_FLOAT_EQ(middle.m_Weights[k], then[k] + first[k] * 0.5f);
        EXPECT_FLOAT_EQ(middle.m_WeightChanges[k], first[k] * 0.5f);
    }
}

TEST(NeuralNet, InputNoiseScalesEachRawInputByADrawnNumber) {
    struct Row {
        const char* rule;
        float noise;
    };
    const Row rows[] = {{"no noise: the raw inputs pass, a number still drawn each", 0.0f},
                        {"full noise: raw x 2r", 1.0f},
                        {"some noise", 0.3f}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NNEvade net;
        net.SetInputNoise(r.noise);
        net.InputLayer()->m_RawInputs = {2.0f, -4.0f, 0.5f, 10.0f};
        qv::SeedRand(77);
        std::vector<double> draws;
        for (int i = 0; i < 4; ++i) draws.push_back((qv::Rand() % 100) * 0.01);
        const int after = qv::Rand();
        qv::SeedRand(77);
        net.Forward();
        for (int i = 0; i < 4; ++i) {
            const double raw = net.InputLayer()->m_RawInputs[i];
            EXPECT_FLOAT_EQ(net.InputLayer()->m_Outputs[i],
                            static_cast<float>(raw * (1 - (1 - 2 * draws[i]) * r.noise)));
        }
        EXPECT_EQ(qv::Rand(), after) << "one number drawn for each input";
    }
}

TEST(NeuralNet, FreshWeightsComeFromTheSeedAsideFromTheGamesSequence) {
    qv::SeedRand(4242);
    const uint32_t state = qv::RandState();
    NNEvade net;
    net.RandomizeWeights(9);
    EXPECT_EQ(qv::RandState(), state);
    // Every layer starts the sequence afresh and throws one number away.
    for (int k = 1; k <= 2; ++k) {
        SCOPED_TRACE(k);
        qv::SeedRand(9);
        qv::Rand();
        for (float w : static_cast<output_layer*>(net.Layer(k))->m_Weights) {
            const int r = qv::Rand() % 100;
            EXPECT_EQ(w, static_cast<float>(r * 0.01 * 2 - 1.0));
            EXPECT_GE(w, -1.0f);
            EXPECT_LE(w, 0.98f);
        }
    }
    qv::SeedRand(state);
    // Two networks made alike have the same weights.
    NNEvade twin;
    EXPECT_EQ(twin.StoreWeights(), NNEvade().StoreWeights());
}

TEST(NeuralNet, RecordsAreLoadedOntoTheInputsAndTargets) {
    NNEvade net;
    std::vector<float>& buffer = net.RecordBuffer();
    for (size_t k = 0; k < buffer.size(); ++k) buffer[k] = static_cast<float>(k);
    struct Row {
        const char* rule;
        int32_t mode, index;
        int answer;
        float firstInput, target;
    };
    const Row rows[] = {
        {"training mode: record 2 starts at 2 x (4 + 1)", 1, 2, 1, 10.0f, 14.0f},
        {"plain mode: record 2 starts at 2 x 4", 0, 2, 1, 8.0f, -1.0f},
        {"the last record", 1, 99, 1, 495.0f, 499.0f},
        {"past the buffer: nothing", 1, 100, 0, -1.0f, -1.0f},
        {"a negative index: nothing", 1, -1, 0, -1.0f, -1.0f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        net.SetMode(r.mode);
        EXPECT_EQ(net.GetMode(), r.mode);
        net.InputLayer()->m_RawInputs.assign(4, -1.0f);
        net.OutputLayer()->m_Expected[0] = -1.0f;
        EXPECT_EQ(net.LoadRecord(r.index), r.answer);
        EXPECT_EQ(net.InputLayer()->m_RawInputs[0], r.firstInput);
        if (r.firstInput >= 0) {
            EXPECT_EQ(net.InputLayer()->m_RawInputs[3], r.firstInput + 3);
        }
        EXPECT_EQ(net.OutputLayer()->m_Expected[0], r.target);
    }
}

TEST(NeuralNet, ANetworkThatCannotBeBuiltSaysSo) {
    qv::ScriptedMessages messages;
    network net;
    EXPECT_EQ(net.Build({4}), 0);
    EXPECT_EQ(net.Build({4, 2, 2, 2, 2, 1}), 0);
    EXPECT_EQ(net.Build({4, 0, 1}), 0);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0], "Not Enough Memmory for NeuralNets");
    EXPECT_EQ(net.LayerCount(), 0);
    EXPECT_EQ(net.Build({4, 3, 2, 1}), 1) << "four layers: two middle ones";
    EXPECT_NE(dynamic_cast<middle_layer*>(net.Layer(2)), nullptr);
}

TEST(NeuralNet, TheDumpsShowOneBoxAValue) {
    qv::ScriptedMessages messages;
    NNEvade net;
    ZeroWeights(net);
    Middle(net).Weight(0, 1) = 0.5f;
    net.ShowWeights();
    ASSERT_EQ(messages.shown.size(), 1u + 60 + 1 + 15);
    EXPECT_EQ(messages.shown[0], "layer number : 1");
    EXPECT_EQ(messages.shown[1], "weight[0, 0] is 0.000000");
    EXPECT_EQ(messages.shown[2], "weight[0, 1] is 0.500000");
    EXPECT_EQ(messages.shown[61], "layer number : 2");
    struct Row {
        void (network::*dump)();
        size_t boxes;
        const char* second;
    };
    const Row rows[] = {{&network::ShowOutputs, 3 + 4 + 15 + 1, "outputs[0] is 0.000000"},
                        {&network::ShowBackErrors, 2 + 4 + 15, "backerror[0] is 0.000000"},
                        {&network::ShowOutputErrors, 2 + 15 + 1, "outputerrors[0] is 0.000000"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.second);
        messages.shown.clear();
        (net.*r.dump)();
        ASSERT_EQ(messages.shown.size(), r.boxes);
        EXPECT_EQ(messages.shown[1], r.second);
    }
}

// ---- weight files

// Each kind's shape (inputs, middle, one output), its file, and the file: the
// class records, the middle layer's weights, the tag of layer again, the top
// layer's.
TEST(NeuralWeightFile, IsTheTwoLayersWeightsAfterTheirClassRecords) {
    struct Row {
        const char* kind;
        network* net;
        int32_t inputs, middle;
        const char* file;
        size_t size;
    };
    NNAttack attack;
    NNDefense defense;
    NNEvade evade;
    const Row rows[] = {{"attack", &attack, 13, 39, "NNAttack.dat", 2215},
                        {"defence", &defense, 8, 24, "NNDefense.dat", 895},
                        {"evade", &evade, 4, 15, "NNEvade.dat", 331}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        ASSERT_EQ(r.net->LayerCount(), 3);
        EXPECT_EQ(r.net->LayerSizes()[0], r.inputs);
        EXPECT_EQ(r.net->LayerSizes()[1], r.middle);
        EXPECT_EQ(r.net->LayerSizes()[2], 1);
        EXPECT_EQ(r.net->m_strWeightFile, r.file);
        EXPECT_EQ(r.net->InputLayer()->m_fNoise, 0.0f);
        // Room for 100 records of inputs and targets.
        EXPECT_EQ(r.net->RecordBuffer().size(), size_t(100 * (r.inputs + 1)));
        const std::vector<float> middle = Weights(size_t(r.inputs * r.middle), 0.01f);
        const std::vector<float> top = Weights(size_t(r.middle), -0.5f);
        Middle(*r.net).m_Weights = middle;
        r.net->OutputLayer()->m_Weights = top;
        const Bytes want = WeightFile(middle, top);
        ASSERT_EQ(want.size(), r.size);
        EXPECT_EQ(r.net->StoreWeights(), want);
    }
}

TEST(NeuralWeightFile, ReadingPutsTheFilesWeightsInPlace) {
    TempFolder folder;
    const std::vector<float> middle = Weights(60, 0.2f);
    const std::vector<float> top = Weights(15, 3.0f);
    qv::WriteWholeFile(folder.path + "NNEvade.dat", WeightFile(middle, top));
    NNEvade net;
    qv::ScriptedMessages messages;
    EXPECT_EQ(net.Load(folder.path), 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Middle(net).m_Weights, middle);
    EXPECT_EQ(net.OutputLayer()->m_Weights, top);
    // A file written is those bytes.
    ASSERT_EQ(net.WriteFile(folder.path + "again.dat"), 1);
    EXPECT_EQ(qv::ReadWholeFile(folder.path + "again.dat"), WeightFile(middle, top));
}

TEST(NeuralWeightFile, ABadFileIsRefusedWholeAndTheWeightsStay) {
    const Bytes good = WeightFile(Weights(60, 0.2f), Weights(15, 3.0f));
    const auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        size_t k = at;
        for (uint8_t v : bytes) b[k++] = v;
        return b;
    };
    const auto floatAt = [&](size_t at, float v) { return record_test::WithFloatAt(good, at, v); };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    NNAttack attack;
    struct Row {
        const char* rule;
        Bytes bytes;
    };
    std::vector<Row> rows = {
        {"empty", {}},
        {"one byte longer",
         [&] {
             Bytes b = good;
             b.push_back(0);
             return b;
         }()},
        {"an attack network's file", attack.StoreWeights()},
        {"another class first", with(6, {'m'})},  // "mutput_layer"
        {"schema 2 of output_layer", with(2, {0x02})},
        {"schema 2 of layer", with(20, {0x02})},
        {"a back-reference to a class never stored", with(269, {0x03, 0x80})},
        {"a NaN in the middle layer", floatAt(29, nan)},
        {"an infinity in the top layer", floatAt(331 - 4, inf)},
        {"minus infinity", floatAt(29 + 4 * 17, -inf)},
    };
    for (size_t n = 1; n < good.size(); ++n)
        rows.push_back({"cut short", Bytes(good.begin(), good.begin() + n)});
    TempFolder folder;
    const std::string path = folder.path + "NNEvade.dat";
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.rule) + " (" + std::to_string(r.bytes.size()) + " bytes)");
        qv::WriteWholeFile(path, r.bytes);
        NNEvade net;
        const Bytes before = net.StoreWeights();
        std::string why;
        EXPECT_EQ(net.ReadFile(path, &why), 0);
        EXPECT_NE(why.find(path), std::string::npos) << why;
        EXPECT_EQ(net.StoreWeights(), before);
    }
    // The sound file passes, so the rows above fail for their own reason.
    qv::WriteWholeFile(path, good);
    NNEvade net;
    EXPECT_EQ(net.ReadFile(path), 1);
}

TEST(NeuralWeightFile, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    TempFolder folder;
    qv::ScriptedMessages messages;
    NNDefense net;
    const Bytes before = net.StoreWeights();
    EXPECT_EQ(net.ReadFile(folder.path + "none.dat"), 0);
    EXPECT_TRUE(messages.shown.empty()) << "reading alone reports nothing";
    EXPECT_EQ(net.Load(folder.path), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("Error reading" + folder.path + "NNDefense.dat", 0), 0u)
        << messages.shown[0];
    EXPECT_EQ(net.StoreWeights(), before);
    // A short file is reported the same way, with what was wrong.
    qv::WriteWholeFile(folder.path + "NNDefense.dat", Bytes{0xFF, 0xFF});
    EXPECT_EQ(net.Load(folder.path), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].rfind("Error reading" + folder.path + "NNDefense.dat", 0), 0u);
    EXPECT_EQ(net.StoreWeights(), before);
}

TEST(NeuralNet, TrainingTowardOneFromAQuarterMovesEachOutputWeightByItsShare) {
    // Target 1.0, output 0.25: each of the evading network's output weights
    // moves by 0.02 x 0.75 x the input it weighs.
    NNEvade net;
    output_layer& middle = Middle(net);
    output_layer& top = *net.OutputLayer();
    net.InputLayer()->m_RawInputs = {0.1f, 0.2f, 0.3f, 0.4f};
    net.Forward();
    struct Row {
        const char* what;
        int32_t i;
        float input;
    } const rows[] = {
        {"an input of 0", 0, 0.0f},      {"an input of 1", 1, 1.0f},
        {"an input of a half", 2, 0.5f}, {"a small input", 3, 0.125f},
        {"the last input", 14, 0.75f},
    };
    for (const Row& r : rows) middle.m_Outputs[static_cast<size_t>(r.i)] = r.input;
    top.m_Outputs[0] = 0.25f;
    top.m_Expected[0] = 1.0f;
    const std::vector<float> before = top.m_Weights;
    float total = 0.0f;
    net.Backpropagate(&total);
    EXPECT_FLOAT_EQ(total, 0.75f);
    net.UpdateWeights(network::kTrainingRate, 0.0f);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // Within what a float of the weight's size holds.
        EXPECT_NEAR(top.Weight(r.i, 0) - before[static_cast<size_t>(r.i)], 0.02 * 0.75 * r.input,
                    1e-7);
    }
}

TEST(NeuralWeightFile, TheEvadingFilesLastSixtyBytesAreItsFifteenOutputWeights) {
    NNEvade net;
    ZeroWeights(net);
    // 1.0, -2.0 and 0.5 in turn, as a little-endian float each.
    const float cycle[3] = {1.0f, -2.0f, 0.5f};
    const uint8_t bytes[3][4] = {
        {0x00, 0x00, 0x80, 0x3F}, {0x00, 0x00, 0x00, 0xC0}, {0x00, 0x00, 0x00, 0x3F}};
    for (int i = 0; i < 15; ++i)
        net.OutputLayer()->m_Weights[static_cast<size_t>(i)] = cycle[i % 3];
    const Bytes file = net.StoreWeights();
    ASSERT_EQ(file.size(), 331u);
    // The class `layer` named again by its index, then the weights.
    Bytes tail = {0x02, 0x80};
    for (int i = 0; i < 15; ++i) tail.insert(tail.end(), bytes[i % 3], bytes[i % 3] + 4);
    EXPECT_EQ(Bytes(file.end() - 62, file.end()), tail);
}

}  // namespace
