#include "items/ActiveSpells.h"

#include <algorithm>
#include <unordered_set>

#include "items/Spell.h"
#include "world/World.h"

namespace {
// The living lists, oldest first.
std::vector<ActiveSpells*>& Lists() {
    static std::vector<ActiveSpells*> lists;
    return lists;
}
}  // namespace

ActiveSpells::ActiveSpells() {
    Lists().push_back(this);
}

ActiveSpells::~ActiveSpells() {
    std::erase(Lists(), this);
    // Taken out first, so that a spell's ending never finds itself listed.
    std::vector<std::unique_ptr<Spell>> spells = TakeAll();
    for (auto& spell : spells) {
        if (!spell) continue;
        spell->EndEffect();
        spell.reset();
    }
    m_Ended.clear();
}

ActiveSpells* ActiveSpells::Current() {
    return Lists().empty() ? nullptr : Lists().back();
}

bool ActiveSpells::Add(Spell* spell) {
    if (!spell || spell->m_pActiveList) return false;
    spell->m_pActiveList = this;
    spell->m_bInEffect = 1;
    m_Spells.emplace_back(spell);
    ++m_iLive;
    return true;
}

bool ActiveSpells::Contains(const Spell* spell) const {
    return spell && spell->m_pActiveList == this;
}

size_t ActiveSpells::Count() const {
    return m_iLive;
}

std::vector<Spell*> ActiveSpells::Spells() const {
    std::vector<Spell*> out;
    out.reserve(m_Spells.size());
    for (const auto& s : m_Spells)
        if (s) out.push_back(s.get());
    return out;
}

void ActiveSpells::Walk(int32_t now) {
    ++m_iWalking;
    size_t count = m_iLive;
    size_t budget = kRestartsPerSpell * (m_Spells.size() + 1);
    size_t i = 0;
    while (i < m_Spells.size() && budget-- > 0) {
        Spell* spell = m_Spells[i].get();
        if (spell && spell->CheckExpired(now) == -1 && i < m_Spells.size() &&
            m_Spells[i].get() == spell)
            Remove(i);
        if (m_iLive != count) {
            count = m_iLive;
            i = 0;
        } else {
            ++i;
        }
    }
    EndWalk();
}

void ActiveSpells::EndWalk() {
    if (--m_iWalking > 0) return;
    Compact();
    // Deleted last: a spell's destructor may still read the list.
    std::vector<std::unique_ptr<Spell>> ended = std::move(m_Ended);
    m_Ended.clear();
}

bool ActiveSpells::EndWhere(const std::function<bool(Spell&)>& pred) {
    bool removed = false;
    // Ending a spell may end others through this list; every entry is taken
    // afresh.
    ++m_iWalking;
    for (size_t i = 0; i < m_Spells.size(); ++i) {
        Spell* spell = m_Spells[i].get();
        if (!spell || !pred(*spell)) continue;
        Remove(i);
        removed = true;
    }
    EndWalk();
    return removed;
}

bool ActiveSpells::End(Spell* spell) {
    if (!Contains(spell)) return false;
    return EndWhere([spell](Spell& s) { return &s == spell; });
}

void ActiveSpells::Remove(size_t index) {
    std::unique_ptr<Spell> spell = std::move(m_Spells[index]);
    --m_iLive;
    spell->m_pActiveList = nullptr;
    // Undone at once; freed when no call up the stack can still be inside it.
    spell->EndEffect();
    m_Ended.push_back(std::move(spell));
}

void ActiveSpells::Compact() {
    std::erase_if(m_Spells, [](const auto& s) { return s == nullptr; });
}

void ActiveSpells::AdoptRead(std::vector<std::unique_ptr<Spell>> spells, int32_t now) {
    std::unordered_set<int32_t> serials;
    for (const auto& s : m_Spells)
        if (s) serials.insert(s->m_iSerial);
    // The last of several with one serial stays: walk from the end.
    std::unordered_set<const Spell*> keep;
    for (auto it = spells.rbegin(); it != spells.rend(); ++it) {
        const Spell* spell = it->get();
        if (spell && !spell->m_pActiveList && serials.insert(spell->m_iSerial).second)
            keep.insert(spell);
    }
    for (auto& owned : spells) {
        if (!owned || !keep.count(owned.get())) continue;
        Spell* spell = owned.release();
        spell->m_iStartTime = now;
        Add(spell);
    }
    // What was not kept goes with `spells`; none of it took effect here.
}

std::vector<std::unique_ptr<Spell>> ActiveSpells::TakeAll() {
    std::vector<std::unique_ptr<Spell>> spells = std::move(m_Spells);
    m_Spells.clear();
    m_iLive = 0;
    for (auto& spell : spells)
        if (spell) spell->m_pActiveList = nullptr;
    return spells;
}

void ActiveSpells::Forget() {
    std::vector<std::unique_ptr<Spell>> spells = TakeAll();
    for (auto& spell : spells) {
        if (!spell) continue;
        spell->m_bEnded = 1;
        // During a walk none is freed before the walk is over.
        if (m_iWalking > 0) m_Ended.push_back(std::move(spell));
    }
}

void SettleSpell(std::unique_ptr<Spell> spell) {
    if (spell && spell->GetActiveList()) (void)spell.release();  // the list owns it
}

void ActiveSpellsDeleter::operator()(ActiveSpells* list) const {
    delete list;
}

ActiveSpellsPtr MakeActiveSpells() {
    return ActiveSpellsPtr(new ActiveSpells);
}
