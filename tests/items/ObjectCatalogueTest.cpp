// The object catalogue: its lists as the start of play builds them, the
// loading bar's steps, clones of its prototypes, and every prototype drawn as
// the world maker shows it.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "items/ObjectCatalogueBuild.h"
#include "media/DIBitmap.h"
#include "media/LoadingBar.h"
#include "platform/Surface.h"
#include "support/WorldFixture.h"
#include "world/Object.h"
#include "world/ObjectCatalogue.h"
#include "world/World.h"

namespace {

constexpr CatalogueList kLists[] = {
    CatalogueList::Walls, CatalogueList::Traps, CatalogueList::Weapons, CatalogueList::Armour,
    CatalogueList::Magic, CatalogueList::Misc,  CatalogueList::Spells};

std::string ClassOf(const Object* object) {
    return object ? object->GetRuntimeClass()->name : "(none)";
}

// A world (the catalogue's home) with nothing else in it.
struct CatalogueWorld {
    World world;
    ObjectCatalogue& catalogue = world.m_Catalogue;
};

}  // namespace

TEST(ObjectCatalogue, EachListIsLabelledAndRunsFromTheLastPrototypeMadeToTheFirst) {
    CatalogueWorld w;
    BuildObjectCatalogue(w.catalogue);
    struct Row {
        CatalogueList list;
        const char* label;  // as the world maker shows it; the spells have none
        size_t count;
        const char* head;
        const char* tail;
    };
    const Row rows[] = {
        {CatalogueList::Walls, "Walls", 26, "Flowers", "PegBrick"},
        {CatalogueList::Weapons, "Weapons", 16, "Longbow", "Axe"},
        // 8 + 3 x 7 + 6 + 6 + 8 pieces of armour, then two amulets and two rings.
        {CatalogueList::Armour, "Armour", 53, "Ring", "Shirt"},
        {CatalogueList::Traps, "Traps", 3, "MissileShooter", "Caltrops"},
        {CatalogueList::Spells, nullptr, 13 + 15 + 14 + 16, "Earthquake", "Light"},
        {CatalogueList::Misc, "Misc.", 52, "SpriteTest", "Whistle"},
        // A band-aid, 7 potions, 8 scrolls, 2 cubes, 4 stands, generator,
        // token, taker.
        {CatalogueList::Magic, "Magic", 25, "TokenTaker", "BandAid"},
    };
    size_t total = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label ? r.label : "Spells");
        const char* label = ObjectCatalogue::Label(r.list);
        if (!r.label)
            EXPECT_EQ(label, nullptr);
        else
            EXPECT_STREQ(label, r.label);
        const ObjectCatalogue::List& list = w.catalogue.Get(r.list);
        ASSERT_EQ(list.size(), r.count);
        EXPECT_EQ(ClassOf(list.front().get()), r.head);
        EXPECT_EQ(ClassOf(list.back().get()), r.tail);
        total += r.count;
    }
    EXPECT_EQ(w.catalogue.Count(), total);
}

TEST(ObjectCatalogue, ThePotionsKindsRunUpFromNoneInTheOrderMade) {
    CatalogueWorld w;
    BuildObjectCatalogue(w.catalogue);
    // Read from the tail: the order the prototypes were made in.
    std::vector<Object*> potions;
    const ObjectCatalogue::List& magic = w.catalogue.Get(CatalogueList::Magic);
    for (auto it = magic.rbegin(); it != magic.rend(); ++it)
        if (ClassOf(it->get()) == "Potion") potions.push_back(it->get());
    ASSERT_EQ(potions.size(), 7u) << "a potion of each kind, the empty one first";
    for (size_t i = 0; i < potions.size(); ++i) {
        SCOPED_TRACE(i);
        int column = 0, row = 0;
        potions[i]->GetImageFrame(&column, &row);
        EXPECT_EQ(column, static_cast<int>(i));
    }
}

TEST(ObjectCatalogue, TheLoadingBarStepsWithWhatIsBuilt) {
    CatalogueWorld w;
    // Each step: the per cent, then the sizes of walls, weapons, armour,
    // traps, spells, misc. and magic.
    std::vector<std::vector<size_t>> seen;
    BuildObjectCatalogue(w.catalogue, [&](int percent) {
        seen.push_back({size_t(percent)});
        for (CatalogueList l : {CatalogueList::Walls, CatalogueList::Weapons, CatalogueList::Armour,
                                CatalogueList::Traps, CatalogueList::Spells, CatalogueList::Misc,
                                CatalogueList::Magic})
            seen.back().push_back(w.catalogue.Get(l).size());
    });
    struct Row {
        const char* rule;
        std::vector<size_t> want;
    };
    const Row rows[] = {
        {"the first wall piece", {10, 1, 0, 0, 0, 0, 0, 0}},
        {"the weapons", {30, 1, 16, 0, 0, 0, 0, 0}},
        {"the rest of the walls", {40, 26, 16, 0, 0, 0, 0, 0}},
        {"the armour", {50, 26, 16, 53, 0, 0, 0, 0}},
        {"the traps", {60, 26, 16, 53, 3, 0, 0, 0}},
        {"the spells", {70, 26, 16, 53, 3, 58, 0, 0}},
        {"the misc. list", {90, 26, 16, 53, 3, 58, 52, 0}},
        {"the magic list", {99, 26, 16, 53, 3, 58, 52, 25}},
    };
    ASSERT_EQ(seen.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].rule);
        EXPECT_EQ(seen[i], rows[i].want);
    }
}

TEST(ObjectCatalogue, ABuildReplacesTheListsAndFreeEmptiesThem) {
    CatalogueWorld w;
    BuildObjectCatalogue(w.catalogue);
    const size_t once = w.catalogue.Count();
    BuildObjectCatalogue(w.catalogue);
    EXPECT_EQ(w.catalogue.Count(), once) << "a second build doubles nothing";
    w.catalogue.Free();
    EXPECT_TRUE(w.catalogue.IsEmpty());
    EXPECT_FALSE(w.catalogue.Add(CatalogueList::Misc, nullptr));
    EXPECT_TRUE(w.catalogue.IsEmpty());
}

// The world maker shows every prototype and places clones of it: drawn at
// full light (no map) in build mode, each puts pixels on the screen, and its
// clone is a new object of its class and name.
TEST(ObjectCatalogue, EveryPrototypeDrawsAndClonesIntoAnObjectOfItsOwnClass) {
    CatalogueWorld w;
    EXPECT_EQ(w.catalogue.CloneOf(CatalogueList::Weapons, 0), nullptr) << "before the build";
    world_test::TestRules rules;
    rules.editing = 1;
    w.world.m_pRules = &rules;
    BuildObjectCatalogue(w.catalogue);
    qv::Surface screen(480, 480);
    for (CatalogueList list : kLists) {
        const ObjectCatalogue::List& entries = w.catalogue.Get(list);
        for (size_t i = 0; i < entries.size(); ++i) {
            Object& prototype = *entries[i];
            SCOPED_TRACE(ClassOf(&prototype) + " at " + std::to_string(i));
            std::unique_ptr<Object> copy = w.catalogue.CloneOf(list, i);
            ASSERT_NE(copy, nullptr);
            EXPECT_NE(copy.get(), &prototype);
            EXPECT_EQ(ClassOf(copy.get()), ClassOf(&prototype));
            EXPECT_EQ(copy->GetDisplayName(), prototype.GetDisplayName());
            // The platforms' pictures are their decks, which decide where
            // one may walk; they come with the platforms' own rules.
            if (ClassOf(&prototype) == "DrawBridge" || ClassOf(&prototype) == "Ship") continue;
            screen.Fill(0);
            prototype.Draw(&screen, {240, 300}, screen.Bounds(), Position(0, 0, 0), 0);
            int lit = 0;
            for (int y = 0; y < screen.Height(); ++y)
                for (int x = 0; x < screen.Width(); ++x) lit += screen.GetPixel(x, y) != 0;
            EXPECT_GT(lit, 0);
        }
        SCOPED_TRACE("one past the end of the list");
        EXPECT_EQ(w.catalogue.CloneOf(list, entries.size()), nullptr);
    }
    w.world.m_pRules = nullptr;
}

TEST(LoadingBar, TheFillGrowsByWholePixelsOfTheInside) {
    // 0.54 pixels a per cent, cut to whole pixels.
    struct Row {
        const char* rule;
        int percent;
        int fillWidth;
    };
    const Row rows[] = {
        {"nothing yet", 0, 0},
        {"one per cent is under a pixel", 1, 0},
        {"two per cent make the first pixel", 2, 1},
        {"the first wall piece", 10, 5},
        {"half way, 27 pixels", 50, 27},
        {"the catalogue's last step", 99, 53},
        {"full: the whole inside", 100, 54},
    };
    const uint16_t frame = PaletteIndexToPixel(145), inside = PaletteIndexToPixel(37),
                   fill = PaletteIndexToPixel(2);
    ASSERT_NE(inside, fill);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::Surface screen(640, 480);
        ASSERT_EQ(DrawLoadingProgress(&screen, r.percent, 2), qv::kDrawOk);
        EXPECT_EQ(LoadingBarFill(r.percent).Width(), r.fillWidth);
        // The frame's corners and the row of the inside, column by column.
        EXPECT_EQ(screen.GetPixel(570, 450), frame);
        EXPECT_EQ(screen.GetPixel(629, 469), frame);
        EXPECT_EQ(screen.GetPixel(630, 470), 0) << "the frame ends before (630, 470)";
        EXPECT_EQ(screen.GetPixel(569, 449), 0);
        EXPECT_EQ(screen.GetPixel(572, 460), frame);
        for (int x = 573; x < 627; ++x) {
            SCOPED_TRACE(x);
            EXPECT_EQ(screen.GetPixel(x, 460), x < 573 + r.fillWidth ? fill : inside);
        }
        EXPECT_EQ(screen.GetPixel(627, 460), frame);
        EXPECT_EQ(screen.GetPixel(600, 452), frame);
        EXPECT_EQ(screen.GetPixel(600, 467), frame);
    }
}

TEST(LoadingBar, ALostSurfaceIsRestoredOnceAndNoSurfaceDrawsNothing) {
    qv::Surface screen(640, 480);
    screen.MarkLost();
    EXPECT_EQ(DrawLoadingProgress(&screen, 40, 2), qv::kDrawOk);
    EXPECT_FALSE(screen.IsLost());
    EXPECT_EQ(screen.GetPixel(573, 460), PaletteIndexToPixel(2));
    EXPECT_EQ(DrawLoadingProgress(nullptr, 40, 2), qv::kDrawInvalid);
}
