// The changeling: the copy of another's name on the first hit, its four
// stages, and a save and load in every stage.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "creatures/Changeling.h"
#include "creatures/Combat.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using record_test::Bytes;

std::unique_ptr<Changeling> SavedAndLoaded(Changeling& c) {
    std::unique_ptr<Player> back = record_test::LoadObject<Player>(record_test::StoreObject(c));
    auto* changeling = qv::DynamicCast<Changeling>(back.get());
    if (!changeling) return nullptr;
    back.release();
    return std::unique_ptr<Changeling>(changeling);
}

// The stage the first SPECIAL event of the queue carries, -1 when none.
int32_t QueuedStage(Changeling& c, int32_t* time = nullptr) {
    for (int32_t i = 0; i < c.Events().Count(); ++i) {
        const ObjectEvent& e = c.Events().At(i);
        if (e.m_iType != ObjectEventType::SPECIAL) continue;
        if (time) *time = e.m_iTime;
        return e.m_iArg1;
    }
    return -1;
}

TEST(Changeling, TheFirstHitStartsTheChangeOnce) {
    World world;
    Changeling c;
    std::unique_ptr<Player> goblin = Species::Make("Goblin");
    goblin->SetName("Grub");
    c.Events().Clear();
    EXPECT_EQ(c.ResolveHit(goblin.get(), StrikeWeapon::Melee), 1);
    EXPECT_EQ(c.m_bEvading, 1);
    EXPECT_EQ(c.m_strCopiedName, "Grub");
    EXPECT_EQ(QueuedStage(c), 1);
    goblin.reset();  // it outlives the one it copied and holds nothing of it
    const int32_t stage = 1;
    c.ShedShell(1000, &stage);
    EXPECT_EQ(c.m_iChangeState, Changeling::kChanging);
    // A second hit finds it changing and starts nothing.
    std::unique_ptr<Player> dog = Species::Make("Dog");
    c.ResolveHit(dog.get(), StrikeWeapon::Melee);
    EXPECT_EQ(c.m_strCopiedName, "Grub");
    EXPECT_EQ(c.GetDisplayName(), "Changeling") << "its own name until it has changed";
    for (int32_t s = 2; s <= 4; ++s) c.ShedShell(1000 * s, &s);
    EXPECT_EQ(c.m_iChangeState, Changeling::kChanged);
    EXPECT_EQ(c.GetDisplayName(), "Grub");
    EXPECT_EQ(c.GetClassImages(), c.m_pCopiedImages.get());
}

TEST(Changeling, EveryStageSurvivesASaveAndALoad) {
    World world;
    auto c = std::make_unique<Changeling>();
    std::unique_ptr<Player> goblin = Species::Make("Goblin");
    goblin->SetName("Grub");
    c->Events().Clear();
    c->ResolveHit(goblin.get(), StrikeWeapon::Melee);
    c->Events().Clear();  // the turn takes the first stage's event

    // Stage 1: changing; stage 2 follows 2000 later. Loaded, it resumes at
    // the shell (stage 3) at once.
    int32_t stage = 1;
    c->ShedShell(1000, &stage);
    int32_t when = 0;
    EXPECT_EQ(QueuedStage(*c, &when), 2);
    EXPECT_EQ(when, 1000 + Changeling::kFirstWait);
    {
        auto loaded = SavedAndLoaded(*c);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->m_iChangeState, Changeling::kChanging);
        EXPECT_EQ(loaded->m_strCopiedName, "Grub");
        EXPECT_EQ(QueuedStage(*loaded, &when), 3);
        EXPECT_EQ(when, 0);
    }

    // Stage 2: the queue holds only the shell's stage, 500 later.
    stage = 2;
    c->ShedShell(3000, &stage);
    EXPECT_EQ(c->Events().Count(), 1);
    EXPECT_EQ(QueuedStage(*c, &when), 3);
    EXPECT_EQ(when, 3000 + Changeling::kAnimation);
    {
        auto loaded = SavedAndLoaded(*c);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(QueuedStage(*loaded), 3);
    }

    // Stage 3: it wears its shell for 4000.
    stage = 3;
    c->ShedShell(3500, &stage);
    ASSERT_NE(c->m_pShell, nullptr);
    EXPECT_EQ(c->m_pShell->GetDisplayName(), "Shell");
    // Armour of speed factor 100, absorption 99, on body place 5.
    EXPECT_EQ((std::array{c->m_pShell->m_iSpeedFactor, c->m_pShell->m_iAbsorption,
                          c->m_pShell->m_iLocation}),
              (std::array{100, 99, 5}));
    ASSERT_EQ(c->m_WornList.size(), 1u);
    EXPECT_EQ(c->m_WornList[0].Get(), c->m_pShell.get());
    EXPECT_EQ(QueuedStage(*c, &when), 4);
    EXPECT_EQ(when, 3500 + Changeling::kShellTime);
    {
        auto loaded = SavedAndLoaded(*c);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->m_pShell, nullptr) << "a loaded one makes its shell anew";
        EXPECT_EQ(QueuedStage(*loaded), 3);
        const int32_t resume = 3;
        loaded->ShedShell(50, &resume);
        EXPECT_NE(loaded->m_pShell, nullptr);
        EXPECT_EQ(loaded->m_WornList.size(), 1u);
    }

    // Stage 4: the shell goes, and it shows itself as the other.
    stage = 4;
    c->ShedShell(7500, &stage);
    EXPECT_EQ(c->m_pShell, nullptr);
    EXPECT_TRUE(c->m_WornList.empty());
    EXPECT_EQ(c->m_bEvading, 0);
    EXPECT_EQ(c->m_iChangeState, Changeling::kChanged);
    EXPECT_EQ(c->GetDisplayName(), "Grub");
    {
        auto loaded = SavedAndLoaded(*c);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->m_iChangeState, Changeling::kChanged);
        EXPECT_EQ(loaded->GetDisplayName(), "Grub");
    }

    // Dead, it stays dying through a save.
    c->Die();
    EXPECT_EQ(c->m_iChangeState, Changeling::kDying);
    auto loaded = SavedAndLoaded(*c);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_iChangeState, Changeling::kDying);
}

TEST(Changeling, AStateOutsideItsStagesIsRefused) {
    World world;
    Changeling c;
    const Bytes stored = record_test::StoreObject(c);
    // The state is the first of the three fields after the creature's record:
    // two empty strings (a zero length byte each) follow it.
    Bytes bad = stored;
    const size_t state = bad.size() - 6;
    bad[state] = 7;
    EXPECT_EQ(record_test::RefusalOf<Player>(bad), qv::ArchiveError::Generic);
    Bytes cut(stored.begin(), stored.end() - 1);
    EXPECT_EQ(record_test::RefusalOf<Player>(cut), qv::ArchiveError::EndOfFile);
}

}  // namespace
