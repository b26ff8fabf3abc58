#pragma once
// A world in a game folder of its own with a party on its map, for the tests
// of the party and of moving it between lands and worlds.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "shell/WorldFileFixture.h"
#include "support/HandWrittenRecord.h"

namespace partytest {

using record_test::Bytes;
using worldfile_test::At;

class PartyFixture : public worldfile_test::WorldFileTest {
protected:
    // The party: the named creatures of group 1, in list order, standing
    // 40 pixels apart from cell (24, 24); the first leads (slot -1), the
    // others take slots 1 upward. Their actor numbers start at `number`.
    std::vector<Player*> PartyOf(const std::vector<std::string>& names, int32_t number = 100) {
        World& w = frame.m_World;
        Group* party = w.GetGroupByNumber(1);
        if (!party) party = NumberedGroup(1, "party");
        std::vector<Player*> out;
        for (size_t i = 0; i < names.size(); ++i) {
            Player* p = Creature(names[i], 1);
            p->m_iPartySlot = i == 0 ? -1 : static_cast<int32_t>(i);
            p->SetPlayerNumber(number + static_cast<int32_t>(i));
            party->AddMemberDirect(p);
            Position pos = At(24, 24, 20 + 40 * static_cast<int>(i), 50);
            auto* holder = new ObjectHolder(pos, p);
            EXPECT_EQ(map.AddHolder(pos, holder), 1) << names[i];
            w.m_Party[i] = p;
            out.push_back(p);
        }
        w.m_pLeader = out.front();
        w.m_pControlPlayer = out.front();
        return out;
    }
    // Every creature of that name on the map, by its placement.
    std::vector<Position> Where(const std::string& name) {
        std::vector<Position> found;
        std::set<ObjectHolder*> seen;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h->m_pObject && h->m_pObject->m_strSpecialName == name &&
                        seen.insert(h).second)
                        found.push_back(h->pos);
        return found;
    }
    void ExpectAt(const std::string& name, int32_t x, int32_t y) {
        const std::vector<Position> at = Where(name);
        ASSERT_EQ(at.size(), 1u) << name;
        EXPECT_EQ(at[0].x, x) << name;
        EXPECT_EQ(at[0].y, y) << name;
    }
    // The world written as a world change writes it, and read back as the
    // next world: the party waits in "players".
    void ChangeWorld() {
        const Bytes written = Store();
        Read(written, false);
        frame.m_Play.m_bLandMovePending = 0;
    }
    void Focus(const Position& p) { frame.m_World.m_ptFocus = {p.x, p.y}; }

    qv::ScriptedMessages messages;
};

}  // namespace partytest
