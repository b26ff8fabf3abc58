// Training records: their stored bytes and refusals, what each kind puts on
// its network's inputs, its result value and its training target, and the
// lists that keep them.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "creatures/TrainingRecords.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

// The global networks start alike in every test and keep no records.
class TrainingRecords : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        NetworkSet& nets = Networks();
        for (network* n :
             {static_cast<network*>(&nets.attack[0]), static_cast<network*>(&nets.attack[1]),
              static_cast<network*>(&nets.defense[0]), static_cast<network*>(&nets.defense[1]),
              static_cast<network*>(&nets.evade[0]), static_cast<network*>(&nets.evade[1])})
            n->RandomizeWeights();
        nets.attackRecords.RemoveAll();
        nets.otherRecords.RemoveAll();
    }
};

SinglePlayerAttackInfo AttackRecord() {
    SinglePlayerAttackInfo r;
    r.m_f1 = 1.5f, r.m_f2 = -2.0f, r.m_f3 = 0.25f;
    r.m_f4 = 80, r.m_f8 = 0, r.m_f9 = 45, r.m_f10 = 12, r.m_f11 = -7, r.m_f12 = 99;
    r.m_f13 = 3.0f, r.m_f14 = 4.0f, r.m_f15 = 5.0f, r.m_f16 = 60;
    r.m_f17 = 140, r.m_f18 = 1, r.m_f19 = 1;
    return r;
}

TEST_F(TrainingRecords, AnAttackRecordIsStoredFieldByField) {
    Bytes want;
    PutNewClass(want, "SinglePlayerAttackInfo", 1);
    PutNewClass(want, "InputInfo", 1);
    PutFloat(want, 1.5f);
    PutFloat(want, -2.0f);
    PutFloat(want, 0.25f);
    for (int32_t v : {80, 0, 45, 12, -7, 99, 140, 1}) PutInt(want, v);
    EXPECT_EQ(StoreObject(AttackRecord()), want);
    auto back = LoadObject<SinglePlayerAttackInfo>(want);
    ASSERT_TRUE(back);
    EXPECT_EQ(StoreObject(*back), want);
    EXPECT_EQ(back->m_f16, 0) << "not stored";
    EXPECT_EQ(back->m_f19, 0) << "not stored";
    EXPECT_EQ(back->m_f13, 0.0f) << "not stored";
}

TEST_F(TrainingRecords, AFaultyRecordIsRefused) {
    const Bytes good = StoreObject(AttackRecord());
    const size_t fields = 6 + 22 + 6 + 9;  // where f1 starts
    struct Row {
        const char* rule;
        Bytes bytes;
    };
    std::vector<Row> rows;
    for (size_t n = 0; n < good.size(); ++n)
        rows.push_back({"cut short", Bytes(good.begin(), good.begin() + n)});
    const auto floatAt = [&](size_t at, float v) { return record_test::WithFloatAt(good, at, v); };
    rows.push_back({"f1 not a number", floatAt(fields, std::numeric_limits<float>::quiet_NaN())});
    rows.push_back({"f3 infinite", floatAt(fields + 8, std::numeric_limits<float>::infinity())});
    Bytes schema = good;
    schema[2] = 2;
    rows.push_back({"schema 2", schema});
    Bytes base = good;
    base[6 + 22 + 6] = 'X';  // "XnputInfo"
    rows.push_back({"another base class", base});
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.rule) + " (" + std::to_string(r.bytes.size()) + " bytes)");
        RefusalOf<InputInfo>(r.bytes);
    }
}

TEST_F(TrainingRecords, AnAttackRecordFeedsThirteenInputsAndItsResult) {
    SinglePlayerAttackInfo r = AttackRecord();
    const int32_t first = 1;
    r.Feed(&first);
    const std::vector<float> want = {1.5f, -2.0f, 0.25f, 80, 3, 4, 5, 60, 0, 45, 12, 140, 1};
    EXPECT_EQ(Networks().attack[0].InputLayer()->m_RawInputs, want);
    // f11 = 1 - trunc(f10 x f9 x f16 x -0.0001)
    struct Row {
        const char* rule;
        int32_t f10, f9, f16, want;
    };
    const Row rows[] = {
        {"12 x 45 x 60 = 32400: 1 + 3", 12, 45, 60, 4},
        {"exactly 10000: 1 + 1", 100, 10, 10, 2},
        {"9999: cut toward zero, 1 + 0", 9999, 1, 1, 1},
        {"a negative product: 1 - 2", -20000, 1, 1, -1},
        {"a product past 32 bits does not overflow", 100000, 1000, 100, 1 + 1000000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        r.m_f10 = row.f10, r.m_f9 = row.f9, r.m_f16 = row.f16;
        r.Feed(&first);
        EXPECT_EQ(r.m_f11, row.want);
    }
}

TEST_F(TrainingRecords, ADefenceRecordsResultDependsOnItsKind) {
    struct Row {
        const char* rule;
        int32_t kind, f4, f8, f9, want;
        int32_t which = 1;  // 1 feeds the first network, anything else the second
    };
    const Row rows[] = {
        {"kind 0: (100 - 40) x 10 x 20 x 0.0001 = 1.2, cut to 1", 0, 40, 10, 20, 1},
        {"kind 0: exactly 2", 0, 0, 10, 20, 2},
        {"kind 0: f4 above 100 gives a negative value cut toward zero", 0, 140, 10, 20, 0},
        {"kind 1: 10 x 20 x 0.01 = 2", 1, 40, 10, 20, 2},
        {"kind 1: 0.99 cut to 0", 1, 0, 9, 11, 0},
        {"kind 2 leaves the result", 2, 40, 10, 20, 77},
        {"2 feeds the second network", 1, 40, 10, 20, 2, 2},
        {"0 the second too", 1, 40, 10, 20, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        DefenseSpellInfo r;
        r.m_f13 = row.kind, r.m_f4 = row.f4, r.m_f8 = row.f8, r.m_f9 = row.f9, r.m_f11 = 77;
        r.m_f1 = 1, r.m_f2 = 2, r.m_f3 = 3, r.m_f10 = 10;
        for (auto& n : Networks().defense) n.InputLayer()->m_RawInputs.assign(8, -1.0f);
        r.Feed(&row.which);
        EXPECT_EQ(r.m_f11, row.want);
        const std::vector<float> inputs = {
            1, 2, 3, float(row.f4), float(row.f8), float(row.f9), 10, float(row.kind)};
        const int fed = row.which == 1 ? 0 : 1;
        EXPECT_EQ(Networks().defense[fed].InputLayer()->m_RawInputs, inputs);
        EXPECT_EQ(Networks().defense[1 - fed].InputLayer()->m_RawInputs[0], -1.0f);
    }
}

TEST_F(TrainingRecords, AnEvadeRecordRunsItsNetworkForItsResult) {
    NNEvade& net = Networks().evade[0];
    for (float& w : static_cast<output_layer*>(net.Layer(1))->m_Weights) w = 0.0f;
    struct Row {
        const char* rule;
        float topWeight;  // every middle output is 0.5
        int32_t want;
    };
    // output = logistic(15 x 0.5 x w); f11 = 1 - trunc(output x -100)
    const Row rows[] = {
        {"w 0: output 0.5, 1 + 50", 0.0f, 51},
        {"w large: output 1, 1 + 100", 100.0f, 101},
        {"w very negative: output 0, 1 + 0", -100.0f, 1},
        {"output 0.2689: 1 + 26", -2.0f / 15.0f, 27},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        for (float& w : net.OutputLayer()->m_Weights) w = row.topWeight;
        EvadeInfo r;
        r.m_f1 = 1, r.m_f2 = 2, r.m_f3 = 3, r.m_f4 = 4;
        const int32_t first = 1;
        r.Feed(&first);
        EXPECT_EQ(r.m_f11, row.want) << net.OutputLayer()->m_Outputs[0];
        EXPECT_EQ(net.InputLayer()->m_RawInputs, (std::vector<float>{1, 2, 3, 4}));
    }
}

TEST_F(TrainingRecords, TrainingAimsTheFirstNetworkAtTheOutcome) {
    struct Row {
        const char* rule;
        std::unique_ptr<InputInfo> record;
        network* net;
        float outcome, target;
    };
    std::vector<Row> rows;
    {
        auto r = std::make_unique<DefenseSpellInfo>();
        r->m_f11 = 50;
        rows.push_back(
            {"defence: 50 x 0.01 - 0.2 = 0.3", std::move(r), &Networks().defense[0], 0.2f, 0.3f});
    }
    {
        auto r = std::make_unique<EvadeInfo>();
        r->m_f11 = 120;
        rows.push_back(
            {"evade: 120 x 0.01 - 1 = 0.2", std::move(r), &Networks().evade[0], 1.0f, 0.2f});
    }
    rows.push_back({"attack: the outcome itself", std::make_unique<SinglePlayerAttackInfo>(),
                    &Networks().attack[0], 0.75f, 0.75f});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        row.net->InputLayer()->m_RawInputs.assign(row.net->InputLayer()->m_RawInputs.size(), 0.5f);
        row.net->Forward();
        const std::vector<float> before = row.net->OutputLayer()->m_Weights;
        EXPECT_EQ(row.record->Train(&row.outcome), 1);
        EXPECT_FLOAT_EQ(row.net->OutputLayer()->m_Expected[0], row.target);
        // One step of rate 0.02 toward it: change = input x error x 0.02.
        const output_layer& top = *row.net->OutputLayer();
        const float error = top.m_OwnOutputErrors[0];
        EXPECT_FLOAT_EQ(error, row.target - top.m_Outputs[0]);
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_FLOAT_EQ(top.m_Weights[i], before[i] + top.m_pInputs[i] * error * 0.02f);
    }
    // The plain record trains nothing and answers class 0.
    InputInfo plain;
    const std::vector<float> before = Networks().attack[0].OutputLayer()->m_Weights;
    const float outcome = 1.0f;
    EXPECT_EQ(plain.Train(&outcome), 1);
    EXPECT_EQ(Networks().attack[0].OutputLayer()->m_Weights, before);
    const int32_t which = 1;
    plain.Feed(&which);
    EXPECT_EQ(plain.m_f11, 1);
}

TEST_F(TrainingRecords, AnswerClassTellsTheAttackRecordsApart) {
    struct Row {
        const char* rule;
        int32_t f19;
        int want;
    };
    const Row rows[] = {
        {"f19 0: class 1", 0, 1}, {"f19 1: class 2", 1, 2}, {"f19 2: class 1", 2, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        SinglePlayerAttackInfo r;
        r.m_f19 = row.f19;
        EXPECT_EQ(r.AnswerClass(0), row.want);
    }
    EXPECT_EQ(DefenseSpellInfo().AnswerClass(5), 0);
    EXPECT_EQ(EvadeInfo().AnswerClass(5), 0);
}

TEST_F(TrainingRecords, AListKeepsTheNewestRecords) {
    TrainingRecordList list;
    for (size_t k = 0; k < TrainingRecordList::kMaxRecords + 2; ++k) {
        auto r = std::make_unique<EvadeInfo>();
        r->m_f12 = static_cast<int32_t>(k);
        list.Add(std::move(r));
    }
    list.Add(nullptr);
    ASSERT_EQ(list.GetCount(), TrainingRecordList::kMaxRecords);
    EXPECT_EQ(list.Get(0)->m_f12, 2);
    EXPECT_EQ(list.Get(list.GetCount() - 1)->m_f12,
              static_cast<int32_t>(TrainingRecordList::kMaxRecords + 1));
}

TEST_F(TrainingRecords, AListIsReadWholeOrNotAtAll) {
    TrainingRecordList list;
    list.Add(std::make_unique<SinglePlayerAttackInfo>(AttackRecord()));
    list.Add(std::make_unique<DefenseSpellInfo>());
    list.Add(std::make_unique<EvadeInfo>());
    qv::Archive out("records");
    list.Serialize(out);
    const Bytes stored = out.TakeBytes();
    TrainingRecordList back;
    {
        qv::Archive in(stored, "records");
        back.Serialize(in);
        EXPECT_EQ(in.Remaining(), 0u);
    }
    ASSERT_EQ(back.GetCount(), 3u);
    qv::Archive again("records");
    back.Serialize(again);
    EXPECT_EQ(again.TakeBytes(), stored);
    // Every truncation, and a list naming another class, changes nothing.
    std::vector<Bytes> bad;
    for (size_t n = 0; n < stored.size(); ++n) bad.emplace_back(stored.begin(), stored.begin() + n);
    Bytes other = stored;
    other[2] = 0;
    other[3] = 0;  // an empty place where the first record belongs
    bad.push_back(other);
    for (const Bytes& b : bad) {
        SCOPED_TRACE(b.size());
        qv::Archive in(b, "records");
        EXPECT_THROW(back.Serialize(in), qv::ArchiveError);
        EXPECT_EQ(back.GetCount(), 3u);
    }
}

}  // namespace
