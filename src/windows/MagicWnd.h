#pragma once
// The magic page of a party member: its four spell books (Fire, Earth, Air,
// Water), one shown at a time, each spell with its picture, name, mana cost
// and the skill it asks for, beside the member's mana and its skill in the
// book's school. Clicking a spell picks it for casting: the window closes and
// the game waits for the click that picks the spell's target, the message
// line saying so. A spell beyond the member's mana is refused with a word in
// the window.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "windows/MemberWnd.h"

class Spell;

class CMagicWnd : public CMemberWnd {
public:
    enum : int {
        kIdFirstBook = 10,   // + school (1 Fire, 2 Earth, 3 Air, 4 Water)
        kIdFirstSpell = 20,  // + the spell's place in the book
        kCasting = 4,        // Popup's answer: a spell waits for its target
    };
    static constexpr int kSchools = 4;
    static constexpr int kSlots = 10;  // a book holds as many spells as a bag
    static constexpr int kSlotColumns = 2;

    // Opens on the book of `school` (1 to 4); 0 opens the first book that
    // holds a spell, the Fire book when none does.
    CMagicWnd(Play& play, Player* member, int school = 0, CDDWnd* parent = nullptr);
    ~CMagicWnd() override;

    void OnCommand(int id) override;

    // Shows the book of a school (1 to 4; any other number changes nothing).
    void SelectSchool(int school);
    int GetSchool() const { return m_iSchool; }
    // The spells of the book shown, in the book's order (null: gone since).
    std::vector<Spell*> ShownSpells() const;
    // Picks the i-th spell shown for casting (as its button does).
    void PickSpell(int i);
    CDDButton* GetBookButton(int school) const;
    CDDButton* GetSpellButton(int i) const;
    const std::string& GetNote() const { return m_strNote; }
    static const char* SchoolName(int school);

protected:
    void PaintMember(qv::Surface* surface, Player& member) override;

private:
    int m_iSchool = 1;
    std::vector<qv::Handle<Spell>> m_Shown;
    std::string m_strNote;  // why the last pick was refused
    std::array<std::unique_ptr<CDDButton>, kSchools> m_pBooks;
    std::array<std::unique_ptr<CDDButton>, kSlots> m_pSlots;
};
