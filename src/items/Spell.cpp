#include "items/Spell.h"

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/GameTime.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Spell, Object, 6, true)

void SpellDeleter::operator()(Spell* spell) const {
    delete spell;
}

uint32_t g_iNextSpellSerial = 0;
int Spell::s_iUseCount = 0;

Spell::Spell(const std::string& name) : Object(name) {
    m_iSerial = static_cast<int32_t>(g_iNextSpellSerial++);
    m_iSpare1 = 3;
    ++s_iUseCount;
}

Spell::~Spell() {
    --s_iUseCount;
}

int Spell::GetCastWeight(Player* creature) {
    m_pChosenTarget = creature;
    return m_iCastWeight;
}

int Spell::ApplyEffect(Player*, Object*) {
    return 0;
}

int Spell::CheckExpired(int32_t now) {
    return qv::TimeDiff(now, qv::TimeAdd(m_iStartTime, m_iDuration)) > 0 ? -1 : 1;
}

Object* Spell::Clone() {
    qv::Persistent* made = GetRuntimeClass()->CreateObject();
    Spell* copy = qv::DynamicCast<Spell>(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    copy->m_iMissileParam = m_iMissileParam;
    copy->m_iDuration = m_iDuration;
    copy->m_iStartTime = m_iStartTime;
    copy->m_iCaster = m_iCaster;
    copy->m_iCastWeight = m_iCastWeight;
    return copy;
}

namespace {

void WriteTargets(qv::Archive& ar, const std::vector<int32_t>& targets) {
    ar.WriteCount(targets.size());
    for (int32_t t : targets) ar.WriteInt(t);
}

void ReadTargets(qv::Archive& ar, std::vector<int32_t>& targets) {
    size_t n = ar.ReadCount();
    if (n > ar.Remaining() / 4) ar.Fail(qv::ArchiveError::BadCount, "spell target list");
    targets.assign(n, 0);
    for (auto& t : targets) t = ar.ReadInt();
}

// A stored counter value puts the serial counter past it.
void RaiseCounter(uint32_t value) {
    if (value + 1 > g_iNextSpellSerial) g_iNextSpellSerial = value + 1;
}

}  // namespace

void Spell::Serialize(qv::Archive& ar) {
    uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteDWord(m_iMana);
        ar.WriteInt(m_iSpare);
        ar.WriteInt(m_iSkillLevel);
        ar.WriteInt(m_iMissileParam);
        ar.WriteInt(m_iSerial);
        WriteTargets(ar, m_Targets);
        ar.WriteInt(m_iCaster);
        return;
    }
    if (schema < 2) return;
    m_iMana = ar.ReadDWord();
    if (schema <= 4) ar.ReadInt();  // a value older files kept and nothing reads
    m_iSpare = ar.ReadInt();
    m_iSkillLevel = ar.ReadInt();
    m_iMissileParam = ar.ReadInt();
    if (schema >= 3) {
        m_iSerial = ar.ReadInt();
        if (schema <= 5) RaiseCounter(ar.ReadDWord());
    }
    ReadTargets(ar, m_Targets);
    // A spell read back goes on the active list only while that list itself
    // is being read with the world, never as a known spell of a creature.
    if (schema >= 4) m_iCaster = ar.ReadInt();
}
