#include "items/Skill.h"

#include <algorithm>
#include <cmath>

#include "platform/Archive.h"
#include "platform/Format.h"

QV_IMPLEMENT_SERIAL(Skill, qv::Persistent, 1, false)
QV_IMPLEMENT_SERIAL(FightSkill, Skill, 2, true)

namespace {
// The words of the four quarters of the level fraction.
constexpr const char* kLevelWords[] = {" Beginner", " Novice", " Master", " Expert"};
constexpr size_t kFightNameLength = 10;
constexpr size_t kFightTextLength = 20;
}  // namespace

void Skill::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.Exchange(m_dValue);
    ar.Exchange(m_iSkillNumber);
    ar.Exchange(m_strName);
}

double Skill::AddValue(double amount) {
    m_dValue += amount;
    return m_dValue;
}

std::string Skill::GetName() {
    return m_strName;
}

double Skill::LevelFraction() const {
    // Worked in the widest precision there is, as the quarters' edges want.
    const long double f = 0.1L * std::log10(static_cast<long double>(m_dValue));
    return static_cast<double>(f > 1.0L ? 1.0L : f);
}

std::string Skill::GetLevelText() {
    const double f = LevelFraction();
    const size_t quarter = f < 0.25 ? 0 : f < 0.5 ? 1 : f < 0.75 ? 2 : 3;
    return GetName() + kLevelWords[quarter];
}

Skill* Skill::Find(const std::vector<Skill*>& skills, int32_t number) {
    auto it = std::find_if(skills.begin(), skills.end(),
                           [number](const Skill* s) { return s && s->m_iSkillNumber == number; });
    return it == skills.end() ? nullptr : *it;
}

Skill* Skill::First(const std::vector<Skill*>& skills) {
    return skills.empty() ? nullptr : skills.front();
}

FightSkill::FightSkill() {
    m_iSkillNumber = kFightSkillNumber;
}

void FightSkill::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Skill::classInfo);
    Skill::Serialize(ar);
    if (ar.IsLoading() && schema < 2) m_iOldValue = ar.ReadInt();
    ar.Exchange(m_dPractice);
    ar.Exchange(m_dSecond);
}

double FightSkill::AddValue(double amount) {
    m_dPractice += amount;
    return m_dPractice;
}

std::string FightSkill::GetLevelText() {
    std::string text =
        GetName().substr(0, kFightNameLength) + " " + qv::Format("%.4lf", LevelFraction());
    return text.substr(0, kFightTextLength);
}

double FightSkill::TransferPractice(double amount) {
    const double moved = std::min(amount, m_dPractice);
    m_dValue += moved;
    m_dPractice -= moved;
    return moved;
}
