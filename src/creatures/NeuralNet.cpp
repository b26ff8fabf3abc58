#include "creatures/NeuralNet.h"

#include <cmath>
#include <functional>
#include <new>

#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/Rand.h"

QV_IMPLEMENT_SERIAL(layer, qv::Persistent, 1, false)
QV_IMPLEMENT_SERIAL(input_layer, layer, 1, false)
QV_IMPLEMENT_SERIAL(output_layer, layer, 1, false)
QV_IMPLEMENT_SERIAL(middle_layer, output_layer, 1, false)
QV_IMPLEMENT_SERIAL(network, qv::Persistent, 1, false)
QV_IMPLEMENT_SERIAL(NNAttack, network, 1, false)
QV_IMPLEMENT_SERIAL(NNDefense, network, 1, false)
QV_IMPLEMENT_SERIAL(NNEvade, network, 1, false)

namespace {

size_t Count(int32_t n) {
    return n > 0 ? static_cast<size_t>(n) : 0;
}

// The logistic of a sum, clamped to 0 and 1 beyond +-50.
float Logistic(double s) {
    if (s < -output_layer::kLogisticClamp) return 0.0f;
    if (s > output_layer::kLogisticClamp) return 1.0f;
    return static_cast<float>(1.0 / (1.0 + std::exp(-s)));
}

}  // namespace

// ---- layer

void layer::Allocate(int32_t inputs, int32_t outputs) {
    m_iInputs = inputs;
    m_iOutputs = outputs;
    m_Outputs.assign(Count(outputs), 0.0f);
}

void input_layer::Allocate(int32_t inputs, int32_t outputs) {
    layer::Allocate(inputs, outputs);
    m_RawInputs.assign(Count(outputs), 0.0f);
}

void input_layer::Compute() {
    for (size_t i = 0; i < m_Outputs.size(); ++i) {
        const double r = (qv::Rand() % 100) * 0.01;
        m_Outputs[i] = static_cast<float>(m_RawInputs[i] * (1.0 - (1.0 - 2.0 * r) * m_fNoise));
    }
}

void output_layer::Allocate(int32_t inputs, int32_t outputs) {
    layer::Allocate(inputs, outputs);
    const size_t weights = Count(inputs) * Count(outputs);
    m_Weights.assign(weights, 0.0f);
    m_OwnOutputErrors.assign(Count(outputs), 0.0f);
    m_BackErrors.assign(Count(inputs), 0.0f);
    m_Expected.assign(Count(outputs), 0.0f);
    m_WeightChanges.assign(weights, 0.0f);
    m_PreviousWeightChanges.assign(weights, 0.0f);
}

namespace {

// A weight gone wild (its square above a million) is brought back, whatever
// its sign, as its column is summed.
inline double Tamed(float& w) {
    if (std::fabs(w) > output_layer::kWeightReplacement) [[unlikely]]
        w = output_layer::kWeightReplacement;
    return w;
}

}  // namespace

void output_layer::Compute() {
    if (!m_pInputs) return;
    // Each column's sum adds its inputs from the first up; four columns are
    // summed side by side.
    const size_t n = static_cast<size_t>(m_iOutputs);
    size_t j = 0;
    for (; j + 4 <= n; j += 4) {
        double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
        float* w = &m_Weights[j];
        for (int32_t i = 0; i < m_iInputs; ++i, w += n) {
            const double in = m_pInputs[i];
            s0 += in * Tamed(w[0]);
            s1 += in * Tamed(w[1]);
            s2 += in * Tamed(w[2]);
            s3 += in * Tamed(w[3]);
        }
        m_Outputs[j] = Logistic(s0);
        m_Outputs[j + 1] = Logistic(s1);
        m_Outputs[j + 2] = Logistic(s2);
        m_Outputs[j + 3] = Logistic(s3);
    }
    for (; j < n; ++j) {
        double s = 0.0;
        for (int32_t i = 0; i < m_iInputs; ++i)
            s += static_cast<double>(m_pInputs[i]) *
                 Tamed(m_Weights[static_cast<size_t>(i) * n + j]);
        m_Outputs[j] = Logistic(s);
    }
}

float output_layer::ComputeErrors() {
    double total = 0.0;
    for (int32_t j = 0; j < m_iOutputs; ++j) {
        const float e = m_Expected[static_cast<size_t>(j)] - m_Outputs[static_cast<size_t>(j)];
        m_OwnOutputErrors[static_cast<size_t>(j)] = e;
        total += e;
    }
    ComputeBackErrors();
    return static_cast<float>(total);
}

void output_layer::ComputeBackErrors() {
    if (!m_pInputs || !m_pOutputErrors) return;
    for (int32_t i = 0; i < m_iInputs; ++i) {
        double s = 0.0;
        for (int32_t j = 0; j < m_iOutputs; ++j)
            s += static_cast<double>(m_pOutputErrors[j]) * Weight(i, j);
        const double in = m_pInputs[i];
        m_BackErrors[static_cast<size_t>(i)] = static_cast<float>(s * in * (1.0 - in));
    }
}

void output_layer::UpdateWeights(float rate, float momentum) {
    if (!m_pInputs || !m_pOutputErrors) return;
    for (int32_t i = 0; i < m_iInputs; ++i) {
        for (int32_t j = 0; j < m_iOutputs; ++j) {
            const size_t k = static_cast<size_t>(i * m_iOutputs + j);
            const float change =
                m_pInputs[i] * m_pOutputErrors[j] * rate + m_PreviousWeightChanges[k] * momentum;
            m_Weights[k] += change;
            m_WeightChanges[k] += change;
        }
    }
}

void output_layer::EndUpdate() {
    m_WeightChanges.swap(m_PreviousWeightChanges);
    std::fill(m_WeightChanges.begin(), m_WeightChanges.end(), 0.0f);
}

void output_layer::Serialize(qv::Archive& ar) {
    ar.SerializeClass(&layer::classInfo);
    layer::Serialize(ar);
    for (float& w : m_Weights) ar.Exchange(w);
}

float middle_layer::ComputeErrors() {
    ComputeBackErrors();
    return 0.0f;
}

void middle_layer::Serialize(qv::Archive& ar) {
    ar.SerializeClass(&output_layer::classInfo);
    output_layer::Serialize(ar);
}

// ---- network

network::network(const std::vector<int32_t>& sizes, const std::string& weightFile) {
    Build(sizes);
    RandomizeWeights();
    SetInputNoise(0.0f);
    m_strWeightFile = weightFile;
}

network::~network() = default;

int network::Build(const std::vector<int32_t>& sizes) {
    const auto refuse = [this] {
        for (auto& l : m_pLayers) l.reset();
        m_iLayerCount = 0;
        qv::ShowMessage("Not Enough Memmory for NeuralNets", qv::MessageButtons::Ok);
        return 0;
    };
    if (sizes.size() < 2 || sizes.size() > kMaxLayers) return refuse();
    for (int32_t s : sizes)
        if (s < 1) return refuse();
    try {
        const int count = static_cast<int>(sizes.size());
        for (auto& l : m_pLayers) l.reset();
        m_iLayerSizes.fill(0);
        for (int k = 0; k < count; ++k) m_iLayerSizes[static_cast<size_t>(k)] = sizes[k];
        m_pLayers[0] = std::make_unique<input_layer>();
        m_pLayers[0]->Allocate(0, sizes[0]);
        for (int k = 1; k < count; ++k) {
            m_pLayers[k] =
                k < count - 1 ? std::make_unique<middle_layer>() : std::make_unique<output_layer>();
            m_pLayers[k]->Allocate(sizes[k - 1], sizes[k]);
        }
        m_iLayerCount = count;
        // Wiring: inputs from the layer below, errors from the layer above.
        for (int k = 1; k < count; ++k) {
            auto* l = static_cast<output_layer*>(m_pLayers[k].get());
            l->m_pInputs = m_pLayers[k - 1]->m_Outputs.data();
            l->m_pOutputErrors =
                k == count - 1
                    ? l->m_OwnOutputErrors.data()
                    : static_cast<output_layer*>(m_pLayers[k + 1].get())->m_BackErrors.data();
        }
        m_RecordBuffer.assign(Count(kRecordRoom) * Count(sizes.front() + sizes.back()), 0.0f);
    } catch (const std::bad_alloc&) {
        return refuse();
    }
    return 1;
}

void network::RandomizeWeights(uint32_t seed) {
    const uint32_t kept = qv::RandState();
    for (int k = 1; k < m_iLayerCount; ++k) {
        qv::SeedRand(seed);
        qv::Rand();
        for (float& w : static_cast<output_layer*>(m_pLayers[k].get())->m_Weights)
            w = static_cast<float>((qv::Rand() % 100) * 0.01 * 2 - 1.0);
    }
    qv::SeedRand(kept);
}

void network::SetInputNoise(float noise) {
    if (input_layer* in = InputLayer()) in->m_fNoise = noise;
}

void network::Forward() {
    for (int k = 0; k < m_iLayerCount; ++k) m_pLayers[k]->Compute();
}

void network::Backpropagate(float* totalError) {
    if (m_iLayerCount < 2) return;
    const float total = OutputLayer()->ComputeErrors();
    if (totalError) *totalError = total;
    for (int k = m_iLayerCount - 2; k >= 1; --k)
        static_cast<output_layer*>(m_pLayers[k].get())->ComputeErrors();
}

void network::UpdateWeights(float rate, float momentum) {
    for (int k = 1; k < m_iLayerCount; ++k)
        static_cast<output_layer*>(m_pLayers[k].get())->UpdateWeights(rate, momentum);
}

void network::EndUpdate() {
    for (int k = 1; k < m_iLayerCount; ++k)
        static_cast<output_layer*>(m_pLayers[k].get())->EndUpdate();
}

int network::LoadRecord(int32_t index) {
    input_layer* in = InputLayer();
    output_layer* out = OutputLayer();
    if (!in || !out || index < 0 || index >= kRecordRoom) return 0;
    const size_t inputs = in->m_RawInputs.size();
    const size_t targets = out->m_Expected.size();
    const size_t start = static_cast<size_t>(index) * (m_iTrainingMode ? inputs + targets : inputs);
    for (size_t i = 0; i < inputs; ++i) in->m_RawInputs[i] = m_RecordBuffer[start + i];
    if (m_iTrainingMode)
        for (size_t j = 0; j < targets; ++j)
            out->m_Expected[j] = m_RecordBuffer[start + inputs + j];
    return 1;
}

input_layer* network::InputLayer() const {
    return m_iLayerCount > 0 ? static_cast<input_layer*>(m_pLayers[0].get()) : nullptr;
}

output_layer* network::OutputLayer() const {
    return m_iLayerCount > 1 ? static_cast<output_layer*>(m_pLayers[m_iLayerCount - 1].get())
                             : nullptr;
}

void network::Serialize(qv::Archive& ar) {
    for (int k = 1; k < m_iLayerCount; ++k) m_pLayers[k]->Serialize(ar);
}

std::vector<uint8_t> network::StoreWeights() {
    qv::Archive out(m_strWeightFile);
    Serialize(out);
    return out.TakeBytes();
}

void network::ReadWeights(const std::vector<uint8_t>& bytes, const std::string& fileName) {
    // Read into a network of the same shape first: a file that fails halfway
    // must not leave half its weights behind.
    network scratch;
    std::vector<int32_t> sizes(m_iLayerSizes.begin(), m_iLayerSizes.begin() + m_iLayerCount);
    if (!scratch.Build(sizes)) return;
    qv::Archive in(bytes, fileName);
    scratch.Serialize(in);
    if (in.Remaining() != 0)
        in.Fail(qv::ArchiveError::BadCount,
                qv::Format("%u bytes past the weights", static_cast<unsigned>(in.Remaining())));
    for (int k = 1; k < m_iLayerCount; ++k) {
        const auto& weights = static_cast<output_layer*>(scratch.m_pLayers[k].get())->m_Weights;
        for (size_t w = 0; w < weights.size(); ++w)
            if (!std::isfinite(weights[w]))
                in.Fail(qv::ArchiveError::Generic,
                        qv::Format("weight %u of layer %d is not a finite number",
                                   static_cast<unsigned>(w), k));
    }
    for (int k = 1; k < m_iLayerCount; ++k)
        static_cast<output_layer*>(m_pLayers[k].get())->m_Weights =
            static_cast<output_layer*>(scratch.m_pLayers[k].get())->m_Weights;
}

int network::ReadFile(const std::string& fileName, std::string* why) {
    try {
        ReadWeights(qv::ReadWholeFile(fileName), fileName);
    } catch (const qv::FileError& error) {
        if (why) *why = error.what();
        return 0;
    } catch (const qv::ArchiveError& error) {
        if (why) *why = error.what();
        return 0;
    }
    return 1;
}

int network::WriteFile(const std::string& fileName) {
    try {
        qv::WriteWholeFile(fileName, StoreWeights());
    } catch (const qv::FileError&) {
        return 0;
    }
    return 1;
}

int network::LoadFrom(const std::string& folder) {
    const std::string path = folder + m_strWeightFile;
    std::string why;
    if (ReadFile(path, &why)) return 1;
    qv::ShowMessage("Error reading" + path + (why.empty() ? "" : "\n" + why),
                    qv::MessageButtons::Ok);
    return 0;
}

void network::ShowWeights() {
    for (int k = 1; k < m_iLayerCount; ++k) {
        qv::ShowMessage(qv::Format("layer number : %d", k), qv::MessageButtons::Ok);
        auto* l = static_cast<output_layer*>(m_pLayers[k].get());
        for (int32_t i = 0; i < l->m_iInputs; ++i)
            for (int32_t j = 0; j < l->m_iOutputs; ++j)
                qv::ShowMessage(qv::Format("weight[%d, %d] is %f", i, j, l->Weight(i, j)),
                                qv::MessageButtons::Ok);
    }
}

void network::ShowValues(int from, const char* format,
                         const std::function<std::vector<float>(int)>& values) {
    for (int k = from; k < m_iLayerCount; ++k) {
        qv::ShowMessage(qv::Format("layer number : %d", k), qv::MessageButtons::Ok);
        const std::vector<float> shown = values(k);
        for (size_t i = 0; i < shown.size(); ++i)
            qv::ShowMessage(qv::Format(format, static_cast<int>(i), shown[i]),
                            qv::MessageButtons::Ok);
    }
}

void network::ShowOutputs() {
    ShowValues(0, "outputs[%d] is %f", [this](int k) { return m_pLayers[k]->m_Outputs; });
}

void network::ShowBackErrors() {
    ShowValues(1, "backerror[%d] is %f", [this](int k) {
        return static_cast<output_layer*>(m_pLayers[k].get())->m_BackErrors;
    });
}

void network::ShowOutputErrors() {
    ShowValues(1, "outputerrors[%d] is %f", [this](int k) {
        auto* l = static_cast<output_layer*>(m_pLayers[k].get());
        return std::vector<float>(l->m_pOutputErrors, l->m_pOutputErrors + l->m_iOutputs);
    });
}

// ---- the three kinds

NNAttack::NNAttack() : network({13, 39, 1}, kDefaultFile) {
    m_pInputLayer = InputLayer();
    m_pOutputLayer = OutputLayer();
}

NNDefense::NNDefense() : network({8, 24, 1}, kDefaultFile) {
    m_pInputLayer = InputLayer();
    m_pOutputLayer = OutputLayer();
}

NNEvade::NNEvade() : network({4, 15, 1}, kDefaultFile) {
    m_pInputLayer = InputLayer();
    m_pOutputLayer = OutputLayer();
}
