// The drop of a stack through the frame: the view point taken to the world
// point under it, and the quantity window answering the keys.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "InteractFixture.h"

using namespace interact_test;

namespace {

class PlaceInFrame : public InteractFixture {
protected:
    // The view point over world point w (the view shows the focus at its
    // centre; a step down the view is also a step right in the world).
    qv::Point ViewPointOf(const Position& w) const {
        const qv::Point f = frame->m_World.m_ptFocus;
        const int vy = w.y - f.y;
        const int vx = w.x - f.x - vy;
        return {frame->m_View.m_ptViewCentre.x + vx, frame->m_View.m_ptViewCentre.y + vy};
    }
    // A stack of `count` of a stackable thing, kept by the test.
    Thing* Stack(int count) { return play_test::KeptStack(kept, count); }

    std::vector<std::unique_ptr<Object>> kept;
};

TEST_F(PlaceInFrame, AStackDropsAsACopyOfTheChosenCountAndTheCallersStackLosesItOnlyThen) {
    const Position w = At(36, 35, 40, 30);
    Thing* arrows = Stack(5);
    // Five offered, two chosen (three presses down).
    for (int i = 0; i < 3; ++i) Key(qv::VK_DOWN);
    Key(qv::VK_RETURN);
    CMainFrame::DropResult r = frame->DropObject(arrows, ViewPointOf(w));
    ASSERT_TRUE(r);
    EXPECT_FALSE(r.placedItself);
    EXPECT_FALSE(r.stackEmptied);
    ASSERT_NE(r.holder->m_pObject, nullptr);
    EXPECT_NE(r.holder->m_pObject, arrows);
    EXPECT_EQ(r.holder->m_pObject->m_iBulkNum, 2);
    EXPECT_EQ(r.holder->m_pObject->m_pHolder, r.holder);
    EXPECT_EQ(r.holder->pos, w);
    EXPECT_TRUE(map->IsListedAnywhere(r.holder));
    EXPECT_EQ(arrows->m_iBulkNum, 3);
    EXPECT_EQ(arrows->m_pHolder, nullptr);

    // The window closed without confirming: nothing is dropped.
    Key(qv::VK_ESCAPE);
    EXPECT_FALSE(frame->DropObject(arrows, ViewPointOf(At(36, 35, 90, 30))));
    EXPECT_EQ(arrows->m_iBulkNum, 3);
    // Nothing typed: the window ends unconfirmed as well.
    EXPECT_FALSE(frame->DropObject(arrows, ViewPointOf(At(36, 35, 90, 30))));
    EXPECT_EQ(arrows->m_iBulkNum, 3);
    EXPECT_FALSE(frame->m_Play.Interacting().IsQuantityUp());
}

}  // namespace
