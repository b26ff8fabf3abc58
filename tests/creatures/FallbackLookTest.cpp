// A creature whose look cannot be read is drawn with the plain body, facing
// its way, never left undrawn and never a crash.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "creatures/PlayerImagesTestSupport.h"
#include "platform/Surface.h"
#include "support/WorldFixture.h"
#include "world/World.h"

namespace {

// A species with a look of its own, kept as its class's look is.
class Unread : public Player {
public:
    static inline std::unique_ptr<CreatureImageSet> s_pLook;
    CreatureImageSet* GetClassImages() override { return s_pLook.get(); }
    void SetClassImages(CreatureImageSet* set) override {
        if (set && set != s_pLook.get()) s_pLook.reset(set);
    }
};

// The screen a creature is drawn on, its pixels.
std::vector<uint16_t> Drawn(Unread& creature) {
    qv::Surface screen(120, 120);
    creature.Draw(&screen, {60, 90}, screen.Bounds(), Position(0, 0, 0), 0);
    return std::vector<uint16_t>(screen.Pixels(), screen.Pixels() + screen.Pitch() * 120);
}

TEST(FallbackLook, ACreatureWhoseLookCannotBeReadShowsThePlainBody) {
    struct Row {
        const char* rule;
        const char* file;  // "PlayerImages.dat", or null for none
        bool unseen;       // invisible in a fight: not drawn at all
    };
    const Row rows[] = {
        {"no look file in the game folder", nullptr, false},
        {"the file lacks the look", "NODE Other\n1 1 1\nEND\n", false},
        {"the look's section is broken", "NODE Wolf\nnot numbers\nEND\n", false},
        {"an invisible creature in a fight stays unseen", nullptr, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        looks_test::TestFolder dir("fallback");
        if (r.file) {
            std::filesystem::create_directories(dir.Path() + "Images");
            std::ofstream(dir.Path() + "Images/PlayerImages.dat") << r.file;
        }
        World world;
        world_test::TestRules rules;
        rules.folder = dir.Path();
        world.m_pRules = &rules;
        {
            Unread creature;
            EXPECT_EQ(creature.LoadImages("Wolf"), 0);
            creature.m_iHitPoints = 0;  // no bar: only the body counts
            creature.m_bInvisible = creature.m_bGhost = r.unseen;
            const std::vector<uint16_t> pixels = Drawn(creature);
            EXPECT_EQ(creature.m_bNotDrawn, r.unseen ? 1 : 0);
            EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0) < long(pixels.size()), !r.unseen);
        }
        Unread::s_pLook.reset();
        world.m_pRules = nullptr;
    }
}

TEST(FallbackLook, ThePlainBodyFacesTheCreaturesWayAndAStrangeFacingShowsTheFirst) {
    World world;
    const struct {
        const char* rule;
        int16_t facing;
        bool likeTheFirst;
    } rows[] = {
        {"the last of the eight facings", 7, false},
        {"one past the last", 8, true},
        {"below the first", -1, true},
        {"a facing of its own", 3, false},
    };
    Unread facingFirst;
    const std::vector<uint16_t> first = Drawn(facingFirst);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        Unread creature;
        creature.m_sFacing = r.facing;
        EXPECT_EQ(Drawn(creature) == first, r.likeTheFirst);
        EXPECT_EQ(creature.m_bNotDrawn, 0);
    }
}

}  // namespace
