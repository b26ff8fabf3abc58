#include "windows/MagicWnd.h"

#include <cmath>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "media/DDObjects.h"
#include "platform/Format.h"
#include "play/Play.h"

namespace {

constexpr int kBookTop = 80;
constexpr int kBookLeft = 24;
constexpr int kBookWidth = 80;
constexpr int kBookStep = 88;
constexpr int kBookHeight = 22;
constexpr int kInfoTop = 108;
constexpr int kSlotTop = 128;
constexpr int kSlotLeft = 14;
constexpr int kSlotWidth = 186;
constexpr int kSlotHeight = 32;
constexpr int kSlotColumnStep = 190;
constexpr int kSlotRowStep = 33;
constexpr int kIconWidth = 36;
constexpr int kTextLeft = kIconWidth + 4;  // from the slot's left
constexpr int kSlotsPerColumn = CMagicWnd::kSlots / CMagicWnd::kSlotColumns;

const char* const kSchoolNames[] = {"", "Fire", "Earth", "Air", "Water"};
// The books' order on the page.
constexpr int kBookOrder[CMagicWnd::kSchools] = {SpellSchool::Fire, SpellSchool::Earth,
                                                 SpellSchool::Air, SpellSchool::Water};

bool IsSchool(int school) {
    return school >= SpellSchool::Fire && school <= SpellSchool::Water;
}

qv::Rect SlotRect(int i) {
    const int column = i / kSlotsPerColumn, row = i % kSlotsPerColumn;
    const int left = kSlotLeft + column * kSlotColumnStep, top = kSlotTop + row * kSlotRowStep;
    return {left, top, left + kSlotWidth, top + kSlotHeight};
}

// The school of the first known spell that has one, Fire without any.
int FirstSchoolWithSpells(const Player* member) {
    if (member && member->m_pMagic)
        for (int school : kBookOrder)
            for (const auto& spell : member->m_pMagic->m_SpellList)
                if (spell && spell->GetSchool() == school) return school;
    return SpellSchool::Fire;
}

}  // namespace

CMagicWnd::CMagicWnd(Play& play, Player* member, int school, CDDWnd* parent)
    : CMemberWnd(play, member, nullptr, "Magic", parent) {
    for (int i = 0; i < kSchools; ++i) {
        const int s = kBookOrder[i];
        const int left = kBookLeft + i * kBookStep;
        auto& book = m_pBooks[static_cast<size_t>(s - 1)];
        book = std::make_unique<CDDButton>(
            qv::Rect{left, kBookTop, left + kBookWidth, kBookTop + kBookHeight}, this,
            kIdFirstBook + s);
        book->SetText(kSchoolNames[s]);
    }
    for (int i = 0; i < kSlots; ++i)
        m_pSlots[static_cast<size_t>(i)] =
            std::make_unique<CDDButton>(SlotRect(i), this, kIdFirstSpell + i);
    SelectSchool(IsSchool(school) ? school : FirstSchoolWithSpells(member));
}

CMagicWnd::~CMagicWnd() = default;

const char* CMagicWnd::SchoolName(int school) {
    return IsSchool(school) ? kSchoolNames[school] : "";
}

CDDButton* CMagicWnd::GetBookButton(int school) const {
    return IsSchool(school) ? m_pBooks[static_cast<size_t>(school - 1)].get() : nullptr;
}

CDDButton* CMagicWnd::GetSpellButton(int i) const {
    return i >= 0 && i < kSlots ? m_pSlots[static_cast<size_t>(i)].get() : nullptr;
}

void CMagicWnd::SelectSchool(int school) {
    if (!IsSchool(school)) return;
    m_iSchool = school;
    m_strNote.clear();
    m_Shown.clear();
    Player* member = GetPlayer();
    if (member && member->m_pMagic) {
        // The book is laid out afresh from the spells the member knows now.
        for (const auto& entry : member->m_pMagic->GetSpellBook(school).Items())
            if (auto* spell = qv::DynamicCast<Spell>(entry.get()))
                if (m_Shown.size() < kSlots) m_Shown.emplace_back(spell);
    }
    for (int s = SpellSchool::Fire; s <= SpellSchool::Water; ++s)
        m_pBooks[static_cast<size_t>(s - 1)]->SetState(s == school ? 1 : 0);
    for (int i = 0; i < kSlots; ++i)
        m_pSlots[static_cast<size_t>(i)]->m_bVisible = static_cast<size_t>(i) < m_Shown.size();
}

std::vector<Spell*> CMagicWnd::ShownSpells() const {
    std::vector<Spell*> out;
    for (const auto& spell : m_Shown) out.push_back(spell.Get());
    return out;
}

void CMagicWnd::PickSpell(int i) {
    Player* member = GetPlayer();
    if (!member || i < 0 || static_cast<size_t>(i) >= m_Shown.size()) return;
    Spell* spell = m_Shown[static_cast<size_t>(i)].Get();
    if (!spell) return;
    Order pick = Order::Of(Order::Kind::PickForUse);
    pick.actor = member;
    pick.object = spell;
    if (m_Play.Give(pick)) {
        // The game waits for the target: the window makes way for the click.
        EndPopup(kCasting);
        return;
    }
    const std::string name = spell->GetDisplayName();
    if (!member->IsAlive())
        m_strNote = qv::Format("%s cannot cast.", member->GetDisplayName().c_str());
    else if (!spell->IsUsableBy(member))
        m_strNote = qv::Format("Too little mana for %s.", name.c_str());
    else
        m_strNote = qv::Format("%s cannot be cast now.", name.c_str());
}

void CMagicWnd::OnCommand(int id) {
    if (id > kIdFirstBook && id <= kIdFirstBook + kSchools) {
        SelectSchool(id - kIdFirstBook);
        return;
    }
    if (id >= kIdFirstSpell && id < kIdFirstSpell + kSlots) {
        PickSpell(id - kIdFirstSpell);
        return;
    }
    CMemberWnd::OnCommand(id);
}

void CMagicWnd::PaintMember(qv::Surface* surface, Player& member) {
    const qv::Point origin{m_rcWindow.left, m_rcWindow.top};
    const Magic* magic = member.m_pMagic.get();
    std::string info = m_strNote;
    if (info.empty()) {
        info = magic ? qv::Format("Mana %u / %u   %s skill %d", magic->m_uMana, magic->m_uMaxMana,
                                  SchoolName(m_iSchool),
                                  static_cast<int>(std::floor(magic->GetSchoolSkill(m_iSchool))))
                     : std::string("No magic known.");
        if (magic && m_Shown.empty()) info += qv::Format("   no %s spells", SchoolName(m_iSchool));
    }
    DrawGameText(surface, {origin.x + kBookLeft, origin.y + kInfoTop}, info,
                 m_strNote.empty() ? kColourText : kColourTextDim, m_rcWindow);
    for (size_t i = 0; i < m_Shown.size(); ++i) {
        Spell* spell = m_Shown[i].Get();
        if (!spell) continue;
        const qv::Rect slot = SlotRect(static_cast<int>(i)).Offset(origin.x, origin.y);
        if (CDDObject* icon = spell->GetImage()) {
            int column = 0, row = 0;
            spell->GetImageFrame(&column, &row);
            const qv::Rect source = icon->CellSource(column, row);
            icon->DrawAt(surface, {slot.left, slot.top}, slot, &source);
        }
        const qv::Point text{slot.left + kTextLeft, slot.top};
        DrawGameText(surface, text, spell->GetDisplayName(), kColourText, slot);
        DrawGameText(surface, {text.x, text.y + kCharHeight},
                     qv::Format("mana %u, skill %d", spell->m_iMana, spell->m_iSkillLevel),
                     kColourTextDim, slot);
    }
}
