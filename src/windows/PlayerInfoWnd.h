#pragma once
// The information window of a party member: how it is (alive or dead, hit
// points, alertness, mana), its skill in the four schools of magic, what it
// fights with and wears, and the lasting effects on it.

#include <string>
#include <vector>

#include "windows/MemberWnd.h"
#include "windows/OpenWindows.h"

class CPlayerInfoWnd : public CMemberWnd {
public:
    // Records itself as play's open information window while it is up.
    // The window is recorded in `open` while it runs.
    CPlayerInfoWnd(Play& play, Player* member, OpenWindows& open, CDDWnd* parent = nullptr);
    ~CPlayerInfoWnd() override;

    // What the window shows of a creature, row by row.
    static std::vector<Row> Rows(const Player& member);
    // The lasting effects on a creature, named, in a fixed order.
    static std::vector<std::string> Effects(const Player& member);

protected:
    void PaintMember(qv::Surface* surface, Player& member) override;
};
