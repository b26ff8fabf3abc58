#pragma once
// Training records: the situation of one decision (an attack, a defensive
// spell, an evasion) kept as numbers, which can be put on the inputs of the
// matching network and can train it toward an outcome. A weapon that weighs an
// attack keeps one attack record in the game's list of attack records.
//
// The fields are numbered as the records' makers fill them: m_f1 to m_f12 are
// every record's, m_f13 and up a kind's own. The situation values of an attack
// record (its maker decides them): m_f1..m_f3 the target's short-range,
// long-range and magic skill levels, m_f4 the target's hit points in percent,
// m_f8 0, m_f9 the hit chance, m_f10 the damage in percent of the target's
// hit points, m_f13..m_f15 the attacker's skill levels, m_f16 the attacker's
// hit points in percent, m_f17 the distance, m_f18 whether the line was clear;
// m_f5..m_f7 name the attacker, the target and the weapon.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "creatures/NeuralNet.h"
#include "platform/Handle.h"
#include "platform/Persistent.h"

class Object;
class Player;

class InputInfo : public qv::Persistent {
    QV_DECLARE_CLASS(InputInfo)
public:
    // m_f1..m_f4 and m_f8..m_f12; a stored situation value that is not a
    // finite number is refused.
    void Serialize(qv::Archive& ar) override;
    // Puts the record on the inputs of the first network of its kind (*which
    // 1) or the second (any other value), and sets the result value m_f11.
    virtual int Feed(const int32_t* which);
    virtual int AnswerClass(int32_t result);
    // Trains the first network of its kind toward *outcome.
    virtual int Train(const float* outcome);

    float m_f1 = 0.0f, m_f2 = 0.0f, m_f3 = 0.0f;
    int32_t m_f4 = 0;
    int32_t m_f8 = 0, m_f9 = 0, m_f10 = 0;
    int32_t m_f11 = 0;  // the result value
    int32_t m_f12 = 0;
};

class SinglePlayerAttackInfo : public InputInfo {
    QV_DECLARE_CLASS(SinglePlayerAttackInfo)
public:
    void Serialize(qv::Archive& ar) override;
    // The 13 inputs of an attack network; m_f11 = 1 - trunc(f10 x f9 x f16
    // x -0.0001).
    int Feed(const int32_t* which) override;
    // 1, or 2 when m_f19 is 1.
    int AnswerClass(int32_t result) override;
    // Expected output = the outcome; one step of training.
    int Train(const float* outcome) override;

    // Not stored: the attacker, its target and the weapon weighed up.
    qv::Handle<Player> m_f5, m_f6;
    qv::Handle<Object> m_f7;
    float m_f13 = 0.0f, m_f14 = 0.0f, m_f15 = 0.0f;
    int32_t m_f16 = 0;  // not stored
    int32_t m_f17 = 0, m_f18 = 0;
    int32_t m_f19 = 0;  // not stored
};

class DefenseSpellInfo : public InputInfo {
    QV_DECLARE_CLASS(DefenseSpellInfo)
public:
    void Serialize(qv::Archive& ar) override;
    // The 8 inputs of a defence network; m_f11 from the defence kind m_f13.
    int Feed(const int32_t* which) override;
    // Expected output = m_f11 x 0.01 - the outcome; one step of training.
    int Train(const float* outcome) override;

    int32_t m_f13 = 0;  // the defence kind, 0 or 1
};

class EvadeInfo : public InputInfo {
    QV_DECLARE_CLASS(EvadeInfo)
public:
    void Serialize(qv::Archive& ar) override;
    // The 4 inputs of an evade network and a forward pass; m_f11 = 1 -
    // trunc(output x -100).
    int Feed(const int32_t* which) override;
    // Expected output = m_f11 x 0.01 - the outcome; one step of training.
    int Train(const float* outcome) override;
};

// A list of training records, which owns them. Only the newest records are
// kept: the game makes one at every attack it weighs.
class TrainingRecordList {
public:
    static constexpr size_t kMaxRecords = 10000;

    void Add(std::unique_ptr<InputInfo> record);
    void RemoveAll() { m_Records.clear(); }
    size_t GetCount() const { return m_Records.size(); }
    InputInfo* Get(size_t i) const { return m_Records[i].get(); }
    const std::vector<std::unique_ptr<InputInfo>>& Records() const { return m_Records; }

    // The records as an object list. Loading appends the records read, or
    // throws the archive's error and changes nothing.
    void Serialize(qv::Archive& ar);

private:
    std::vector<std::unique_ptr<InputInfo>> m_Records;
};

// The game's six networks, two of each kind, and its two lists of training
// records; they live as long as the program.
struct NetworkSet {
    static constexpr const char* kSecondAttackFile = "NNSPAS.dat";
    static constexpr const char* kSecondDefenseFile = "NNDSS.dat";
    static constexpr const char* kSecondEvadeFile = "NNES.dat";

    // The world's weights, from the files in `folder` (ending in its
    // separator): the first network of each kind from its own file, the second
    // from the second file names. Answers the number of networks read; each
    // one not read keeps its weights and is reported.
    int LoadAll(const std::string& folder);

    TrainingRecordList attackRecords;  // made by the weapons' attack evaluations
    TrainingRecordList otherRecords;
    NNAttack attack[2];
    NNDefense defense[2];
    NNEvade evade[2];
};

// The program's networks, made the first time they are asked for.
NetworkSet& Networks();
