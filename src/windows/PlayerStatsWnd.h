#pragma once
// The statistics window of a party member: its level and experience, overall
// and in each of the three kinds of fighting (close, ranged, magic) with the
// experience the next level asks for, and its figures: strength, dexterity and
// intelligence as they stand now and as they are at rest, speed and load.

#include <vector>

#include "windows/MemberWnd.h"
#include "windows/OpenWindows.h"

class CPlayerStatsWnd : public CMemberWnd {
public:
    // Records itself as play's open statistics window while it is up.
    // The window is recorded in `open` while it runs.
    CPlayerStatsWnd(Play& play, Player* member, OpenWindows& open, CDDWnd* parent = nullptr);
    ~CPlayerStatsWnd() override;

    // What the window shows of a creature, row by row.
    static std::vector<Row> Rows(const Player& member);

protected:
    void PaintMember(qv::Surface* surface, Player& member) override;
};
