#include "items/Spell.h"

#include <map>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/SharedSound.h"
#include "items/SpellSchools.h"
#include "items/TargetChoice.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Spell, Object, 6, true)

void SpellDeleter::operator()(Spell* spell) const {
    delete spell;
}

uint32_t g_iNextSpellSerial = 0;
int Spell::s_iUseCount = 0;

namespace {

SharedSound s_successSound(Spell::kSuccessSoundId);
SharedSound s_failureSound(Spell::kFailureSoundId);

// A bare spell, as the archive makes one by its class name.
constexpr SpellKind kPlainSpell{
    "Spell", 0, 0, 0, 1, SpellTargetKind::AnyLiving, SpellEffectKind::None, 0, 0};

// The spell's picture is one 36 x 32 frame, hot spot at its corner.
constexpr int kPictureWidth = 36;
constexpr int kPictureHeight = 32;

}  // namespace

Spell::Spell(const std::string& name) : Object(name), m_pKind(&kPlainSpell) {
    CountUse();
}

Spell::Spell(const SpellKind& kind) : Object(kind.name), m_pKind(&kind) {
    m_iMana = kind.mana;
    m_iSkillLevel = kind.level;
    m_iDuration = kind.duration;
    if (kind.picture != 0) m_pPicture = KindPicture(kind.picture);
    CountUse();
}

void Spell::CountUse() {
    m_iSerial = static_cast<int32_t>(g_iNextSpellSerial++);
    m_iSpare1 = 3;
    ++s_iUseCount;
    s_successSound.Take();
    s_failureSound.Take();
}

Spell::~Spell() {
    --s_iUseCount;
    s_successSound.Give();
    s_failureSound.Give();
}

CDSound* Spell::SuccessSound() {
    return s_successSound.Get();
}

CDSound* Spell::FailureSound() {
    return s_failureSound.Get();
}

CDDObject* Spell::KindPicture(int bitmapId) {
    // The global image list must outlive the pictures that join it.
    static const size_t listFirst = CDDObject::GlobalImageCount();
    static std::map<int, std::unique_ptr<CDDObject>> pictures;
    (void)listFirst;
    auto& picture = pictures[bitmapId];
    if (!picture) {
        picture = std::make_unique<CDDObject>();
        picture->Create(kPictureWidth, kPictureHeight, 0, 0, &bitmapId, 1, 1);
    }
    return picture.get();
}

CDDObject* Spell::GetImage() {
    if (m_pPicture) return m_pPicture;
    // A kind without a picture of its own shows its school's.
    const int school = GetSchool();
    if (school >= SpellSchool::Fire && school <= SpellSchool::Water)
        return KindPicture(kBitmapSpellSchool + school);
    return Object::GetImage();
}

// ---- What the player sees and does with a known spell

std::string Spell::GetInfoText() {
    static const char* const kSkillLines[] = {nullptr, "Fire Skill: %d\n", "Earth Skill: %d\n",
                                              "Air Skill: %d\n", "Water Skill: %d\n"};
    std::string text =
        qv::Format("%s\nMana: %d\n", GetDisplayName().c_str(), static_cast<int>(m_iMana));
    const int school = GetSchool();
    if (school >= SpellSchool::Fire && school <= SpellSchool::Water)
        text += qv::Format(kSkillLines[school], m_iSkillLevel);
    return text;
}

int Spell::GetUsePrompt(Player* user, int) {
    return BeginTargetChoice(*this, user, UseSelect::kSpell, UseSelect::kSpellPause,
                             qv::Format("Use %s on...", GetDisplayName().c_str()));
}

int Spell::Use(Player* user, Object* target) {
    CastCopy(user, target);
    return 0;
}

int Spell::CastCopy(Player* user, Object* target) {
    if (!user) return 0;
    Object* made = Clone();
    std::unique_ptr<Spell> copy(qv::DynamicCast<Spell>(made));
    if (!copy) {
        delete made;
        return 0;
    }
    return user->CastSpell(std::move(copy), target, 0);
}

int Spell::IsValidTarget(Object* target) {
    const Player* p = qv::DynamicCast<Player>(target);
    if (!p || p->m_sLifeState < 1) return 0;
    switch (GetTargetKind()) {
        case SpellTargetKind::AnyLiving:
            return 1;
        case SpellTargetKind::PartyMember:
            return p->m_iPartySlot != 0 ? 1 : 0;
        case SpellTargetKind::HostileOutsider:
            return p->m_iPartySlot == 0 && p->m_iHostileMode != 0 ? 1 : 0;
        default:
            return 0;
    }
}

int Spell::IsUsableBy(Player* user) {
    return user && user->m_pMagic && user->m_pMagic->m_uMana >= m_iMana ? 1 : 0;
}

int Spell::GetCastWeight(Player* creature) {
    m_pChosenTarget = creature;
    return m_iCastWeight;
}

int Spell::WeighGroupMembers(Player* creature, bool (*fit)(const Player&)) {
    if (!creature) return Spell::GetCastWeight(nullptr);
    std::vector<Player*> candidates;
    if (Group* group = creature->m_pGroup) {
        for (Member* m : group->Members()) {
            if (candidates.size() >= kMaxCandidates) break;
            Player* p = AsCreature(m);
            if (p && fit(*p)) candidates.push_back(p);
        }
    }
    if (candidates.empty()) return 0;
    m_pChosenTarget = candidates[static_cast<size_t>(qv::Rand()) % candidates.size()];
    return m_iCastWeight;
}

// ---- The effect and its end

int32_t Spell::Now() {
    World* world = GetWorld();
    return world ? world->m_iGameTime : 0;
}

int Spell::ApplyEffect(Player* caster, Object* target) {
    return ApplyBaseEffect(caster, target, target);
}

int Spell::ApplyBaseEffect(Player* caster, Object* target, Object* recorded) {
    if (m_iDuration != 0)
        if (ActiveSpells* list = ActiveSpells::Current()) list->Add(this);
    m_iCaster = caster ? caster->m_iPlayerNumber : -1;
    m_iStartTime = Now();
    const float gain = spell_rules::SkillGain(GetSuccessChance(caster, target));
    if (caster) GainSkill(caster->m_pMagic.get(), gain);
    CollectTargets(recorded, m_Targets);
    m_bInEffect = 1;
    return SpellResult::Stays;
}

void Spell::CollectTargets(Object* target, std::vector<int32_t>& out) {
    if (!target) return;
    if (target->Type() == PLAYER) {
        out.push_back(static_cast<Player*>(target)->m_iPlayerNumber);
    } else if (target->Type() == GROUP) {
        if (auto* group = qv::DynamicCast<Group>(target))
            for (Member* m : group->Members()) CollectTargets(m, out);
    }
}

int Spell::CheckExpired(int32_t now) {
    return qv::TimeDiff(now, qv::TimeAdd(m_iStartTime, m_iDuration)) > 0 ? -1 : 1;
}

int Spell::DrainCaster(int32_t now, int32_t interval) {
    if (m_iCaster == -1 || interval < 1) return 1;
    const int32_t elapsed = qv::TimeDiff(now, m_iStartTime);
    if (elapsed <= interval) return 1;
    // Every whole interval that lies wholly behind `now`.
    const int64_t steps = (static_cast<int64_t>(elapsed) - 1) / interval;
    for (int64_t i = 0; i < steps; ++i) {
        if (i == kMaxDrainSteps) {
            // Nothing more can be taken: the rest of the time passes at once.
            m_iStartTime = qv::TimeAdd(
                m_iStartTime, static_cast<int32_t>((steps - i) * static_cast<int64_t>(interval)));
            break;
        }
        m_iStartTime = qv::TimeAdd(m_iStartTime, interval);
        // A caster that is gone (deleted, or in a land not loaded) tires no more.
        if (Player* caster = ResolveActor(m_iCaster)) caster->ReduceAlertness(1);
        if (m_bEnded) return 1;
    }
    return 1;
}

void Spell::EndEffect() {
    if (m_bEnded) return;
    m_bEnded = 1;
    if (m_bInEffect) UndoEffect();
}

void Spell::UndoEffect() {
    ForEachTarget([this](Player* p) { UndoOn(p); });
}

// ---- The schools' rules

int Spell::SchoolSuccessChance(Player* caster, Object* target) {
    const int school = GetSchool();
    int resist = 0;
    if (target && target->Type() == PLAYER && (GetSpellFlags() & kSpellFlagResisted)) {
        const auto* p = static_cast<Player*>(target);
        if (p->m_bHasMagic && p->m_pMagic)
            resist = spell_rules::WholeSkill(p->m_pMagic->GetSchoolSkill(school));
    }
    int skill = spell_rules::kSkillWithoutMagic;
    if (caster && caster->m_pMagic)
        skill = spell_rules::WholeSkill(caster->m_pMagic->GetSchoolSkill(school));
    return spell_rules::SuccessChance(skill, m_iSkillLevel, resist);
}

void Spell::GainSchoolSkill(Magic* magic, float gain) {
    if (magic) magic->AddSchoolSkill(GetSchool(), gain);
}

// ---- Copies and records

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

// The serial counter is raised past every serial and counter value a file
// holds, so that no spell made later takes a serial already in use. A value
// the counter cannot be raised past without wrapping is refused.
void RaiseCounterPast(const qv::Archive& ar, uint32_t value) {
    if (value == UINT32_MAX) ar.Fail(qv::ArchiveError::Generic, "spell serial out of range");
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
        RaiseCounterPast(ar, static_cast<uint32_t>(m_iSerial));
        if (schema <= 5) RaiseCounterPast(ar, ar.ReadDWord());
    }
    ReadTargets(ar, m_Targets);
    // A spell read back goes on the list of spells in effect only when that
    // list itself is read with the world (ActiveSpells::AdoptRead), never as
    // a creature's known spell.
    if (schema >= 4) m_iCaster = ar.ReadInt();
}

// ---- Shared helpers of the spell kinds

Player* ResolveSpellTarget(int32_t number) {
    return ResolveActor(number);
}

Player* AsCreature(Object* object) {
    return object && object->Type() == PLAYER ? static_cast<Player*>(object) : nullptr;
}

Player* AsLivingCreature(Object* object) {
    Player* p = AsCreature(object);
    return p && p->IsAlive() ? p : nullptr;
}

double TotalExperience(const Player& creature) {
    return creature.m_dExperience[0] + creature.m_dExperience[1] + creature.m_dExperience[2];
}

namespace {
constexpr int32_t kMagicPool = 4;
}  // namespace

void RewardCast(Player* caster, Player* target, double toCaster, double toTarget) {
    if (caster) caster->AddExperience(kMagicPool, toCaster);
    if (target && target != caster) target->AddExperience(kMagicPool, toTarget);
}

void RewardByExperience(Player* caster, Player* target, double casterShare, double targetShare) {
    if (!caster || !target) return;
    caster->AddExperience(kMagicPool, casterShare * TotalExperience(*target));
    if (target != caster) target->AddExperience(kMagicPool, targetShare * TotalExperience(*caster));
}
