#include "creatures/TrainingRecords.h"

#include <cmath>
#include <limits>

#include "platform/Archive.h"
#include "platform/Saturate.h"

QV_IMPLEMENT_SERIAL(InputInfo, qv::Persistent, 1, false)
QV_IMPLEMENT_SERIAL(SinglePlayerAttackInfo, InputInfo, 1, false)
QV_IMPLEMENT_SERIAL(DefenseSpellInfo, InputInfo, 1, false)
QV_IMPLEMENT_SERIAL(EvadeInfo, InputInfo, 1, false)

namespace {

// A stored situation value: refused unless it is a finite number.
void ExchangeValue(qv::Archive& ar, float& v, const char* name) {
    ar.Exchange(v);
    if (ar.IsLoading() && !std::isfinite(v))
        ar.Fail(qv::ArchiveError::Generic,
                std::string("training record value ") + name + " is not a finite number");
}

template <class Net>
Net& Chosen(Net (&pair)[2], const int32_t* which) {
    return !which || *which == 1 ? pair[0] : pair[1];
}

void SetInputs(network& net, std::initializer_list<float> values) {
    input_layer* in = net.InputLayer();
    size_t i = 0;
    for (float v : values) in->m_RawInputs[i++] = v;
}

// One step of training toward `expected`, at the game's rate.
void TrainToward(network& net, float expected) {
    net.OutputLayer()->m_Expected[0] = expected;
    float total = 0.0f;
    net.Backpropagate(&total);
    net.UpdateWeights(network::kTrainingRate, network::kTrainingMomentum);
}

}  // namespace

// ---- InputInfo

void InputInfo::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ExchangeValue(ar, m_f1, "f1");
    ExchangeValue(ar, m_f2, "f2");
    ExchangeValue(ar, m_f3, "f3");
    ar.Exchange(m_f4);
    ar.Exchange(m_f8);
    ar.Exchange(m_f9);
    ar.Exchange(m_f10);
    ar.Exchange(m_f11);
    ar.Exchange(m_f12);
}

int InputInfo::Feed(const int32_t*) {
    m_f11 = 1;
    return 1;
}

int InputInfo::AnswerClass(int32_t) {
    return 0;
}

int InputInfo::Train(const float*) {
    return 1;
}

// ---- SinglePlayerAttackInfo

void SinglePlayerAttackInfo::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&InputInfo::classInfo);
    InputInfo::Serialize(ar);
    ar.Exchange(m_f17);
    ar.Exchange(m_f18);
}

int SinglePlayerAttackInfo::Feed(const int32_t* which) {
    NNAttack& net = Chosen(Networks().attack, which);
    const auto f = [](int32_t v) { return static_cast<float>(v); };
    SetInputs(net, {m_f1, m_f2, m_f3, f(m_f4), m_f13, m_f14, m_f15, f(m_f16), f(m_f8), f(m_f9),
                    f(m_f10), f(m_f17), f(m_f18)});
    const int64_t product = int64_t{m_f10} * m_f9 * m_f16;
    m_f11 = qv::TruncateToInt32(
        1.0 - static_cast<double>(qv::TruncateToInt32(static_cast<double>(product) * -0.0001)));
    return 1;
}

int SinglePlayerAttackInfo::AnswerClass(int32_t) {
    return m_f19 != 1 ? 1 : 2;
}

int SinglePlayerAttackInfo::Train(const float* outcome) {
    TrainToward(Networks().attack[0], outcome ? *outcome : 0.0f);
    return 1;
}

// ---- DefenseSpellInfo

void DefenseSpellInfo::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&InputInfo::classInfo);
    InputInfo::Serialize(ar);
    ar.Exchange(m_f13);
}

int DefenseSpellInfo::Feed(const int32_t* which) {
    NNDefense& net = Chosen(Networks().defense, which);
    const auto f = [](int32_t v) { return static_cast<float>(v); };
    SetInputs(net, {m_f1, m_f2, m_f3, f(m_f4), f(m_f8), f(m_f9), f(m_f10), f(m_f13)});
    if (m_f13 == 0)
        m_f11 =
            qv::TruncateToInt32(static_cast<double>((100 - int64_t{m_f4}) * m_f8 * m_f9) * 0.0001);
    else if (m_f13 == 1)
        m_f11 = qv::TruncateToInt32(static_cast<double>(int64_t{m_f8} * m_f9) * 0.01);
    return 1;
}

int DefenseSpellInfo::Train(const float* outcome) {
    TrainToward(Networks().defense[0],
                static_cast<float>(m_f11 * 0.01 - (outcome ? *outcome : 0.0f)));
    return 1;
}

// ---- EvadeInfo

QV_SERIALIZE_BASE_ONLY(EvadeInfo, InputInfo)

int EvadeInfo::Feed(const int32_t* which) {
    NNEvade& net = Chosen(Networks().evade, which);
    SetInputs(net, {m_f1, m_f2, m_f3, static_cast<float>(m_f4)});
    net.Forward();
    const double output = net.OutputLayer()->m_Outputs[0];
    m_f11 = qv::TruncateToInt32(1.0 - static_cast<double>(qv::TruncateToInt32(output * -100)));
    return 1;
}

int EvadeInfo::Train(const float* outcome) {
    TrainToward(Networks().evade[0],
                static_cast<float>(m_f11 * 0.01 - (outcome ? *outcome : 0.0f)));
    return 1;
}

// ---- TrainingRecordList

void TrainingRecordList::Add(std::unique_ptr<InputInfo> record) {
    if (!record) return;
    if (m_Records.size() >= kMaxRecords) m_Records.erase(m_Records.begin());
    m_Records.push_back(std::move(record));
}

void TrainingRecordList::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_Records.size());
        for (const auto& record : m_Records) ar.WriteObject(record.get());
        return;
    }
    const size_t n = ar.ReadCount();
    std::vector<std::unique_ptr<InputInfo>> read;
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<InputInfo> record(
            static_cast<InputInfo*>(ar.ReadObject(&InputInfo::classInfo)));
        if (!record)
            ar.Fail(qv::ArchiveError::BadClass, "an empty place in a list of training records");
        read.push_back(std::move(record));
    }
    for (auto& record : read) Add(std::move(record));
}

// ---- NetworkSet

int NetworkSet::LoadAll(const std::string& folder) {
    int read = attack[0].Load(folder) + defense[0].Load(folder) + evade[0].Load(folder);
    attack[1].m_strWeightFile = kSecondAttackFile;
    defense[1].m_strWeightFile = kSecondDefenseFile;
    evade[1].m_strWeightFile = kSecondEvadeFile;
    read += attack[1].Load(folder) + defense[1].Load(folder) + evade[1].Load(folder);
    return read;
}

NetworkSet& Networks() {
    static NetworkSet set;
    return set;
}
