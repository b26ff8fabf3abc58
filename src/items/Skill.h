#pragma once
// Records of a learned skill: a value that grows with use, the skill's number
// and name, and for fighting a pool of practice not yet turned into skill.
// Archives may hold them; they are read and written as they stand.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Persistent.h"

class Skill : public qv::Persistent {
    QV_DECLARE_CLASS(Skill)
public:
    Skill() = default;
    void Serialize(qv::Archive& ar) override;

    // ---- Its operations, in their order
    // Adds to the skill; answers the new total.
    virtual double AddValue(double amount);
    virtual std::string GetName();
    // The name followed by the word of its level: " Beginner", " Novice",
    // " Master" or " Expert".
    virtual std::string GetLevelText();

    // How far the skill has come, 0 to 1: a tenth of the value's decimal
    // logarithm, at most 1 (a value of 1 gives 0; 10^10 and more give 1).
    double LevelFraction() const;
    // The first skill of the list with that number, or null.
    static Skill* Find(const std::vector<Skill*>& skills, int32_t number);
    // The first skill of the list, or null.
    static Skill* First(const std::vector<Skill*>& skills);

    double m_dValue = 1.0;
    int32_t m_iSkillNumber = 0;
    std::string m_strName;
};

class FightSkill : public Skill {
    QV_DECLARE_CLASS(FightSkill)
public:
    FightSkill();
    void Serialize(qv::Archive& ar) override;

    // Practice grows; answers the practice gathered.
    double AddValue(double amount) override;
    // A fighting skill has no name of its own.
    std::string GetName() override { return {}; }
    // Up to ten characters of the name, a blank and the level fraction with
    // four decimals, at most twenty characters in all.
    std::string GetLevelText() override;

    // Turns up to `amount` of the practice into skill; answers how much.
    double TransferPractice(double amount);

    double m_dPractice = 0.0;
    double m_dSecond = 0.0;
    int32_t m_iSpare1 = 0;    // not stored
    int32_t m_iOldValue = 0;  // read only from the oldest records

    static constexpr int32_t kFightSkillNumber = 4;
};
