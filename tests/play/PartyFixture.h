#pragma once
// A world in a game folder of its own with a party on its map, for the tests
// of the party and of moving it between lands and worlds: on either fixture
// of the world file (the test's own World and Play, or a frame's).

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Message.h"
#include "play/WorldFileFixture.h"
#include "support/HandWrittenRecord.h"
#include "world/Land.h"

namespace partytest {

using record_test::Bytes;
using worldfile_test::At;

template <class Base>
class PartyOn : public Base {
protected:
    using Base::map, Base::play, Base::world;
    // The party: the named creatures of group 1, in list order, standing
    // 40 pixels apart from cell (24, 24); the first leads (slot -1), the
    // others take slots 1 upward. Their actor numbers start at `number`.
    std::vector<Player*> PartyOf(const std::vector<std::string>& names, int32_t number = 100) {
        World& w = world;
        Group* party = w.GetGroupByNumber(1);
        if (!party) party = this->NumberedGroup(1, "party");
        std::vector<Player*> out;
        for (size_t i = 0; i < names.size(); ++i) {
            Player* p = Base::Creature(names[i], 1);
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
        const Bytes written = this->Store();
        this->Read(written, false);
        play.Travelling().SetLandMovePending(false);
    }
    void Focus(const Position& p) { world.m_ptFocus = {p.x, p.y}; }
    // World "b.qvr": this world as stored but for its land file, "other.lnd",
    // a land of the world's size (holding `extra` when given); the window
    // goes back to (25, 24). The bytes of b.qvr and of its land file.
    std::pair<Bytes, Bytes> OtherWorld(Player* extra = nullptr) {
        Bytes b = this->Store();
        const std::string from = "world.lnd", to = "other.lnd";
        auto at = std::search(b.begin(), b.end(), from.begin(), from.end());
        EXPECT_NE(at, b.end());
        if (at != b.end()) std::copy(to.begin(), to.end(), at);
        qv::WriteWholeFile(this->folder.Working("b.qvr").string(), b);
        Land other("World");
        other.bounds = {0, 0, worldfile_test::kWorldW, worldfile_test::kWorldH};
        if (extra) other.KeepHolder(new ObjectHolder(At(6, 7), extra));
        other.WriteFile(this->folder.Working(to).string());
        map.ReloadWindowAt(25, 24);
        return {b, qv::ReadWholeFile(this->folder.Working(to).string())};
    }

    qv::ScriptedMessages messages;
};

class PlayPartyFixture : public PartyOn<worldfile_test::PlayWorldFileTest> {};

}  // namespace partytest
