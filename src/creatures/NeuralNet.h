#pragma once
// Small feed-forward networks trained by back-propagation, with which
// creatures can weigh an attack, a defensive spell or an evasion. A network is
// a stack of layers: an input layer that passes the raw inputs on (with some
// noise when asked), middle layers and an output layer, each computing the
// logistic of its weighted inputs, without a bias. The weights are read from a
// weight file named by the world; a file that is not exactly what the network
// expects is refused whole and the weights stay as they were.
//
// Weights and signals are single-precision floats; sums are formed in double
// precision and stored back as floats.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Persistent.h"

// One layer: its size, its outputs and where its inputs come from.
class layer : public qv::Persistent {
    QV_DECLARE_CLASS(layer)
public:
    layer() = default;
    layer(const layer&) = delete;
    layer& operator=(const layer&) = delete;

    // Makes every array of the layer for `inputs` inputs and `outputs`
    // outputs (changes of weights start at 0).
    virtual void Allocate(int32_t inputs, int32_t outputs);
    // Computes the outputs from the inputs.
    virtual void Compute() {}

    int32_t m_iInputs = 0;   // the size of the layer below; 0 for an input layer
    int32_t m_iOutputs = 0;  // this layer's size
    std::vector<float> m_Outputs;
    const float* m_pInputs = nullptr;  // the outputs of the layer below, once wired
};

// The bottom layer: the raw inputs, passed on with noise.
class input_layer : public layer {
    QV_DECLARE_CLASS(input_layer)
public:
    void Allocate(int32_t inputs, int32_t outputs) override;
    // output i = raw input i x (1 - (1 - 2r) x noise), r drawn from the chance
    // generator for every output even when the noise is 0.
    void Compute() override;

    float m_fNoise = 0.0f;
    std::vector<float> m_RawInputs;
};

// A layer of weighted inputs: the top layer of a network, and the base of the
// middle layers.
class output_layer : public layer {
    QV_DECLARE_CLASS(output_layer)
public:
    void Serialize(qv::Archive& ar) override;
    void Allocate(int32_t inputs, int32_t outputs) override;
    // Every weight of a column whose square exceeds a million becomes +1000
    // before the column is summed; the output is the logistic of the sum,
    // 0 below -50 and 1 above 50.
    void Compute() override;
    // The top layer's errors (expected - output); answers their signed sum.
    // Then the errors handed down to the layer below.
    virtual float ComputeErrors();
    // The errors handed down, from this layer's output errors.
    void ComputeBackErrors();
    // Adds rate x input x output error (+ momentum x the previous change) to
    // every weight.
    void UpdateWeights(float rate, float momentum);
    // The current changes become the previous ones; the new current ones are 0.
    void EndUpdate();

    float& Weight(int32_t i, int32_t j) {
        return m_Weights[static_cast<size_t>(i * m_iOutputs + j)];
    }

    static constexpr double kLogisticClamp = 50.0;
    static constexpr float kWeightReplacement = 1000.0f;

    std::vector<float> m_Weights;  // input i to output j at i x outputs + j
    std::vector<float> m_OwnOutputErrors;
    float* m_pOutputErrors = nullptr;  // its own array at the top, else the back errors above
    std::vector<float> m_BackErrors;
    std::vector<float> m_Expected;
    std::vector<float> m_WeightChanges;
    std::vector<float> m_PreviousWeightChanges;
};

// A layer between the input layer and the top one; its output errors are the
// errors the layer above hands down.
class middle_layer : public output_layer {
    QV_DECLARE_CLASS(middle_layer)
public:
    void Serialize(qv::Archive& ar) override;
    float ComputeErrors() override;
};

// A network of up to five layers.
class network : public qv::Persistent {
    QV_DECLARE_CLASS(network)
public:
    static constexpr int kMaxLayers = 5;
    static constexpr int kRecordRoom = 100;  // records the record buffer holds
    // The seed every layer's fresh weights are drawn from: the same numbers
    // each run, taken aside from the game's own chance sequence.
    static constexpr uint32_t kWeightSeed = 1;
    // The rate and momentum training uses.
    static constexpr float kTrainingRate = 0.02f;
    static constexpr float kTrainingMomentum = 0.0f;

    network() = default;
    ~network() override;
    network(const network&) = delete;
    network& operator=(const network&) = delete;

    // The layers of a network of `sizes` (bottom first), made and wired; 0
    // with "Not Enough Memmory for NeuralNets" shown when they cannot be made.
    int Build(const std::vector<int32_t>& sizes);
    // Fresh weights in every layer above the input: each layer's sequence
    // starts from `seed`, one number is thrown away, then each weight, row by
    // row, is (r mod 100) x 0.02 - 1. The game's chance sequence is left as it
    // was.
    void RandomizeWeights(uint32_t seed = kWeightSeed);
    void SetInputNoise(float noise);
    // Computes every layer from the input layer up.
    void Forward();
    // The errors of the top layer, then of the middle layers from the top
    // down; *totalError is the signed sum of the top layer's errors.
    void Backpropagate(float* totalError);
    void UpdateWeights(float rate, float momentum);
    void EndUpdate();
    // Puts record `index` of the record buffer on the inputs (and, in training
    // mode, its targets on the expected outputs); 0 for an index outside it.
    int LoadRecord(int32_t index);
    void SetMode(int32_t mode) { m_iTrainingMode = mode; }
    int32_t GetMode() const { return m_iTrainingMode; }

    // The weights of each layer above the input, bottom up.
    void Serialize(qv::Archive& ar) override;
    // Reads the weights from a weight file: 1 when they were read; 0 when the
    // file cannot be read, or it is not exactly this network's weights (short,
    // longer, of another class or schema, holding a weight that is not a
    // finite number), and then `why` says what was wrong and the weights are
    // as they were.
    int ReadFile(const std::string& fileName, std::string* why = nullptr);
    // Writes the weights to a weight file; 0 when it cannot be written.
    int WriteFile(const std::string& fileName);
    // The weight file's bytes and reading them back (ReadFile's work, without
    // the file): ReadWeights throws the archive's error and changes nothing
    // unless the bytes are whole and sound.
    std::vector<uint8_t> StoreWeights();
    void ReadWeights(const std::vector<uint8_t>& bytes, const std::string& fileName);

    // One message box each: "layer number : %d" before each layer's values,
    // then "weight[%d, %d] is %f", "outputs[%d] is %f", "backerror[%d] is %f"
    // or "outputerrors[%d] is %f" for every value.
    void ShowWeights();
    void ShowOutputs();
    void ShowBackErrors();
    void ShowOutputErrors();

    input_layer* InputLayer() const;
    output_layer* OutputLayer() const;
    layer* Layer(int k) const { return k >= 0 && k < m_iLayerCount ? m_pLayers[k].get() : nullptr; }
    int32_t LayerCount() const { return m_iLayerCount; }
    const std::array<int32_t, kMaxLayers>& LayerSizes() const { return m_iLayerSizes; }
    std::vector<float>& RecordBuffer() { return m_RecordBuffer; }

    std::string m_strWeightFile;

protected:
    // The kinds: made with their sizes, fresh weights, no input noise and
    // their own file name.
    network(const std::vector<int32_t>& sizes, const std::string& weightFile);
    // Reads the weights from the network's own file in `folder`; shows "Error
    // reading" with the file's name when they cannot be read.
    int LoadFrom(const std::string& folder);

private:
    // "layer number : %d" for each layer from `from` up, then one box for each
    // of its values.
    void ShowValues(int from, const char* format,
                    const std::function<std::vector<float>(int)>& values);

    std::array<std::unique_ptr<layer>, kMaxLayers> m_pLayers;
    int32_t m_iLayerCount = 0;
    std::array<int32_t, kMaxLayers> m_iLayerSizes{};
    std::vector<float> m_RecordBuffer;
    int32_t m_iTrainingMode = 0;
};

// The network that weighs an attack: 13 inputs, 39 middle, 1 output.
class NNAttack : public network {
    QV_DECLARE_CLASS(NNAttack)
public:
    NNAttack();
    // Reads the weights from m_strWeightFile in `folder` (the world's folder).
    int Load(const std::string& folder = "") { return LoadFrom(folder); }
    static constexpr const char* kDefaultFile = "NNAttack.dat";
    input_layer* m_pInputLayer = nullptr;
    output_layer* m_pOutputLayer = nullptr;
};

// The network that weighs a defensive spell: 8 inputs, 24 middle, 1 output.
class NNDefense : public network {
    QV_DECLARE_CLASS(NNDefense)
public:
    NNDefense();
    int Load(const std::string& folder = "") { return LoadFrom(folder); }
    static constexpr const char* kDefaultFile = "NNDefense.dat";
    input_layer* m_pInputLayer = nullptr;
    output_layer* m_pOutputLayer = nullptr;
};

// The network that weighs an evasion: 4 inputs, 15 middle, 1 output.
class NNEvade : public network {
    QV_DECLARE_CLASS(NNEvade)
public:
    NNEvade();
    int Load(const std::string& folder = "") { return LoadFrom(folder); }
    static constexpr const char* kDefaultFile = "NNEvade.dat";
    input_layer* m_pInputLayer = nullptr;
    output_layer* m_pOutputLayer = nullptr;
};
