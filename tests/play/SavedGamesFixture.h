#pragma once
// The saved games' world on either fixture of the world file (the test's own
// World and Play, or a frame's): two things and a creature around the focus,
// a change to them, and a save that must be made.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Message.h"
#include "play/WorldFileFixture.h"

namespace worldfile_test {

template <class Base>
class SavedGamesOn : public Base {
protected:
    using Base::folder, Base::map, Base::play, Base::world;
    // A world of two things and a creature of group 2 around the focus.
    void Populate() {
        this->Keep(Base::Thing("lamp"), At(24, 23));
        this->Keep(Base::Thing("chest"), At(26, 25));
        this->GroupOf(2, "wolves", "Wolf", At(27, 26));
        world.m_ptFocus = {At(25, 24).x, At(25, 24).y};
        play.Saves().SetWorldFile("world.qvr");
        this->Open();
    }
    std::filesystem::path Slot(const std::string& name) const { return folder.dir / name; }
    // Changes the world: the lamp goes, the wolf is hurt, the clock moves.
    void Change() {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h->m_pObject && h->m_pObject->m_strSpecialName == "Wolf")
                        static_cast<Player*>(h->m_pObject)->m_iHitPoints = 1;
        world.m_pTimeOfDay->m_sHour = 3;
        world.m_ptFocus.x += 10;
    }
    void Saved(int index, const std::string& description) {
        play.Saves().SetSlot(index, {1, description});
        ASSERT_EQ(play.Saves().SaveGame(index), 1);
    }
    qv::ScriptedMessages messages;
};

}  // namespace worldfile_test
