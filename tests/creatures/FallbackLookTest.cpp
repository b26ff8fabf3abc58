// A creature whose look cannot be read is drawn with the plain body, facing
// its way, never left undrawn and never a crash.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

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

int LitPixels(const qv::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) != 0;
    return n;
}

}  // namespace

TEST(FallbackLook, ACreatureWhoseLookCannotBeReadShowsThePlainBody) {
    struct Row {
        const char* rule;
        const char* file;  // "PlayerImages.dat", or null for none
        const char* look;  // the look asked for
        int loaded;        // what LoadImages answers
        bool unseen;       // invisible in a fight: not drawn at all
    };
    const Row rows[] = {
        {"no look file in the game folder", nullptr, "Wolf", 0, false},
        {"the file lacks the look", "NODE Other\n1 1 1\nEND\n", "Wolf", 0, false},
        {"the look's section is broken", "NODE Wolf\nnot numbers\nEND\n", "Wolf", 0, false},
        {"an invisible creature in a fight stays unseen", nullptr, "Wolf", 0, true},
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
            EXPECT_EQ(creature.LoadImages(r.look), r.loaded);
            creature.m_iHitPoints = 0;  // no bar: only the body counts
            creature.m_bInvisible = creature.m_bGhost = r.unseen;
            qv::Surface screen(120, 120);
            creature.Draw(&screen, {60, 90}, screen.Bounds(), Position(0, 0, 0), 0);
            EXPECT_EQ(creature.m_bNotDrawn, r.unseen ? 1 : 0);
            EXPECT_EQ(LitPixels(screen) > 0, !r.unseen);
        }
        Unread::s_pLook.reset();
        world.m_pRules = nullptr;
    }
}

TEST(FallbackLook, ThePlainBodyFacesTheCreaturesWayAndAStrangeFacingShowsTheFirst) {
    World world;
    auto drawn = [](int16_t facing) {
        Unread creature;
        creature.m_sFacing = facing;
        qv::Surface screen(120, 120);
        creature.Draw(&screen, {60, 90}, screen.Bounds(), Position(0, 0, 0), 0);
        EXPECT_EQ(creature.m_bNotDrawn, 0);
        return std::vector<uint16_t>(screen.Pixels(),
                                     screen.Pixels() + screen.Pitch() * screen.Height());
    };
    const std::vector<uint16_t> first = drawn(0);
    struct Row {
        const char* rule;
        int16_t facing;
        bool likeTheFirst;
    };
    const Row rows[] = {
        {"the last of the eight facings", 7, false},
        {"one past the last", 8, true},
        {"below the first", -1, true},
        {"a facing of its own", 3, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(drawn(r.facing) == first, r.likeTheFirst);
    }
}
