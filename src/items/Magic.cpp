#include "items/Magic.h"

#include <algorithm>
#include <cmath>

#include "platform/Archive.h"
#include "platform/GameTime.h"

QV_IMPLEMENT_SERIAL(Magic, qv::Persistent, 3, true)

Magic::Magic() = default;

Magic::~Magic() {
    // The books hold the known spells without owning them.
    for (CBag* book : {&m_FireBook, &m_EarthBook, &m_AirBook, &m_WaterBook}) book->DetachAll();
}

void Magic::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_SpellList.size());
        for (const auto& s : m_SpellList) ar.WriteObject(s.get());
        ar.WriteDWord(m_uMaxMana);
        ar.WriteDWord(m_uMana);
        ar.WriteFloat(m_fAirSkill);
        ar.WriteFloat(m_fEarthSkill);
        ar.WriteFloat(m_fFireSkill);
        ar.WriteFloat(m_fWaterSkill);
        ar.WriteInt(m_iRegenPeriod);
        return;
    }
    uint32_t schema = ar.GetObjectSchema();
    for (CBag* book : {&m_FireBook, &m_EarthBook, &m_AirBook, &m_WaterBook}) book->DetachAll();
    m_SpellList.clear();
    size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<Spell> s(ar.ReadObjectOf<Spell>());
        if (s) m_SpellList.push_back(std::move(s));
    }
    if (schema < 3) {
        // Older files kept a second list here; it is read and dropped.
        size_t m = ar.ReadCount();
        for (size_t i = 0; i < m; ++i) ar.ReadObjectUnowned(&Spell::classInfo);
    }
    m_uMaxMana = ar.ReadDWord();
    m_uMana = ar.ReadDWord();
    for (float* skill : {&m_fAirSkill, &m_fEarthSkill, &m_fFireSkill, &m_fWaterSkill}) {
        *skill = schema >= 2 ? ar.ReadFloat() : static_cast<float>(ar.ReadDWord());
        // A skill is a count of points: one that is not a finite number
        // would make every chance and gain computed from it meaningless.
        if (!std::isfinite(*skill)) ar.Fail(qv::ArchiveError::Generic, "magic skill not a number");
    }
    m_iRegenPeriod = ar.ReadInt();
}

bool Magic::RegenerateMana(const int32_t* now, const int32_t* rate) {
    if (m_bFirstManaCall) {
        m_bFirstManaCall = 0;
        m_uLastManaTime = *now;
        return false;
    }
    // A period or rate that gives no positive step regenerates nothing.
    int64_t step = (static_cast<int64_t>(1000 - *rate) / 100 + 1) * m_iRegenPeriod;
    if (step < 1 || m_iRegenPeriod < 1 || step > INT32_MAX) return false;
    uint32_t elapsed = qv::TimeElapsed(*now, m_uLastManaTime);
    if (elapsed < static_cast<uint32_t>(m_iRegenPeriod)) return false;
    uint32_t n = elapsed / static_cast<uint32_t>(step);
    m_uLastManaTime =
        qv::TimeAdd(m_uLastManaTime, static_cast<int32_t>(n * static_cast<uint32_t>(step)));
    uint64_t mana = static_cast<uint64_t>(m_uMana) + n;
    m_uMana = static_cast<uint32_t>(std::min<uint64_t>(mana, m_uMaxMana));
    return true;
}

float* Magic::SkillOf(int school) {
    switch (school) {
        case SpellSchool::Fire:
            return &m_fFireSkill;
        case SpellSchool::Earth:
            return &m_fEarthSkill;
        case SpellSchool::Air:
            return &m_fAirSkill;
        case SpellSchool::Water:
            return &m_fWaterSkill;
        default:
            return nullptr;
    }
}

CBag* Magic::BookOf(int school) {
    switch (school) {
        case SpellSchool::Fire:
            return &m_FireBook;
        case SpellSchool::Earth:
            return &m_EarthBook;
        case SpellSchool::Air:
            return &m_AirBook;
        case SpellSchool::Water:
            return &m_WaterBook;
        default:
            return nullptr;
    }
}

void Magic::AddSchoolSkill(int school, float amount) {
    if (float* skill = SkillOf(school)) *skill += amount;
}

float Magic::GetSchoolSkill(int school) const {
    const float* skill = const_cast<Magic*>(this)->SkillOf(school);
    return skill ? *skill : 0.0f;
}

CBag& Magic::GetSpellBook(int school) {
    for (int s : {SpellSchool::Fire, SpellSchool::Earth, SpellSchool::Air, SpellSchool::Water}) {
        CBag* book = BookOf(s);
        book->DetachAll();
        book->m_iBagKind = kBookKinds[s];
    }
    for (const auto& spell : m_SpellList) {
        CBag* book = BookOf(spell->GetSchool());
        // A spell is a single item that holds nothing: it goes in while the
        // book has room. A spell of no school goes in no book.
        if (book && book->HasRoom()) {
            book->AddItem(spell.get());
            book->SetItemCount(book->ItemCount() + 1);
        }
    }
    CBag* book = BookOf(school);
    return book ? *book : m_FireBook;
}

Spell* Magic::FindSpell(const Object* spell) const {
    for (const auto& s : m_SpellList)
        if (s.get() == spell) return s.get();
    return nullptr;
}

std::unique_ptr<Spell> Magic::TakeSpell(const Spell* spell) {
    auto it = std::find_if(m_SpellList.begin(), m_SpellList.end(),
                           [spell](const auto& s) { return s.get() == spell; });
    if (it == m_SpellList.end()) return nullptr;
    // The books refer to it without owning it: they let go of it first.
    for (CBag* book : {&m_FireBook, &m_EarthBook, &m_AirBook, &m_WaterBook})
        if (book->DetachItem(it->get())) book->SetItemCount(book->ItemCount() - 1);
    std::unique_ptr<Spell> out = std::move(*it);
    m_SpellList.erase(it);
    return out;
}
