// Bags and stacks at their limits: every slot number taken, copies of bags
// inside bags, and stack counts from files at the edge of the integer range.

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "items/Bag.h"
#include "items/Useable.h"
#include "platform/Message.h"

namespace {

TEST(BagLimits, AnItemWithNoSlotNumberLeftIsReported) {
    CBag bag;
    // Old records can hold more than the ten entries a bag takes today.
    for (int i = 0; i < 20; ++i) bag.AddItem(new Useable("Stone"));
    EXPECT_EQ(bag.Items()[19]->m_iSpare2, 19);

    qv::ScriptedMessages script({qv::MessageAnswer::Retry});
    auto* extra = new Useable("Pebble");
    bag.AddItem(extra);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].ends_with(":Bag.cpp)\niNewInvNum >= 0")) << script.shown[0];
    // On Retry it goes in without a number.
    ASSERT_EQ(bag.Items().size(), 21u);
    EXPECT_EQ(bag.Items().back().get(), extra);
    EXPECT_EQ(extra->m_iSpare2, -1);

    // Numbers outside 0..19 are not counted as taken.
    CBag odd;
    auto* far = new Useable("Far");
    odd.AddItem(far);
    far->m_iSpare2 = 25;
    auto* near = new Useable("Near");
    odd.AddItem(near);
    EXPECT_EQ(near->m_iSpare2, 0);
    EXPECT_EQ(script.shown.size(), 1u);
}

TEST(BagLimits, ACopiedBagHoldsCopiesOfWhatItsInnerBagsHold) {
    // A clone copies the class and the stack count (not the name): the counts
    // tell the things apart.
    CBag outer("Pack");
    auto* inner = new CBag("Pouch");
    auto* gem = new Useable("Gem");
    gem->m_iBulkNum = 5;
    inner->AddItem(gem);
    inner->SetItemCount(1);
    auto* rope = new Useable("Rope");
    rope->m_iBulkNum = 2;
    outer.AddItem(rope);
    outer.AddItem(inner);
    outer.SetItemCount(2);

    std::unique_ptr<Object> made(outer.Clone());
    auto* copy = dynamic_cast<CBag*>(made.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Items().size(), 2u);
    EXPECT_EQ(copy->ItemCount(), 2);
    EXPECT_EQ(copy->Items()[0]->m_iBulkNum, 2);
    EXPECT_EQ(copy->Items()[0]->m_iSpare2, 0);
    auto* innerCopy = dynamic_cast<CBag*>(copy->Items()[1].get());
    ASSERT_NE(innerCopy, nullptr);
    EXPECT_NE(innerCopy, inner);
    EXPECT_EQ(innerCopy->Parent(), copy);
    ASSERT_EQ(innerCopy->Items().size(), 1u);
    EXPECT_NE(innerCopy->Items()[0].get(), gem);
    EXPECT_EQ(innerCopy->Items()[0]->m_iBulkNum, 5);
    EXPECT_EQ(innerCopy->ItemCount(), 1);
}

TEST(BagLimits, StackCountsHoldAtTheIntegerRange) {
    Object a("Arrow"), b("Arrow");
    a.m_bStackable = 1;
    a.m_iBulkNum = INT_MAX;
    b.m_iBulkNum = 2;
    EXPECT_EQ(a.AddBulk(&b), INT_MAX);
    EXPECT_EQ(a.m_iBulkNum, INT_MAX);

    a.m_iBulkNum = INT_MIN + 1;
    b.m_iBulkNum = -5;
    qv::ScriptedMessages script({qv::MessageAnswer::Retry, qv::MessageAnswer::Retry});
    EXPECT_EQ(a.AddBulk(&b), INT_MIN);

    // Taking a huge amount from a small stack: the count holds at the bottom
    // and the check fires.
    a.m_iBulkNum = 3;
    b.m_iBulkNum = INT_MIN;
    EXPECT_EQ(a.RemoveBulk(&b), INT_MAX);  // 3 - INT_MIN is past the top: held there
    EXPECT_TRUE(script.shown.empty());
    a.m_iBulkNum = -10;
    b.m_iBulkNum = INT_MAX;
    EXPECT_EQ(a.RemoveBulk(&b), INT_MIN);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].ends_with("\nm_iBulkNum >= 0"));

    // Ordinary amounts are unchanged: 7 + 5, then 12 - 4.
    a.m_iBulkNum = 7;
    b.m_iBulkNum = 5;
    EXPECT_EQ(a.AddBulk(&b), 12);
    b.m_iBulkNum = 4;
    EXPECT_EQ(a.RemoveBulk(&b), 8);
}

}  // namespace
