// The object catalogue: its lists as the start of play builds them, the
// loading bar's steps, clones of its prototypes, and every prototype drawn as
// the world maker shows it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
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

std::string ClassOf(const Object* object) {
    return object ? object->GetRuntimeClass()->name : "(none)";
}

constexpr CatalogueList kLists[] = {
    CatalogueList::Walls,  CatalogueList::Weapons, CatalogueList::Armour, CatalogueList::Traps,
    CatalogueList::Spells, CatalogueList::Misc,    CatalogueList::Magic};

}  // namespace

// The loading bar steps with what is built; each list is labelled and runs
// from the last prototype made to the first; a second build replaces the
// lists, and Free empties them.
TEST(ObjectCatalogue, TheListsAsBuiltStepByStep) {
    World world;
    ObjectCatalogue& catalogue = world.m_Catalogue;
    // Each step: the per cent, then the sizes of the lists in that order.
    std::vector<std::vector<size_t>> seen;
    BuildObjectCatalogue(catalogue, [&](int percent) {
        seen.push_back({size_t(percent)});
        for (CatalogueList l : kLists) seen.back().push_back(catalogue.Get(l).size());
    });
    struct Step {
        const char* rule;
        std::vector<size_t> want;
    };
    const Step steps[] = {
        {"the first wall piece", {10, 1, 0, 0, 0, 0, 0, 0}},
        {"the weapons", {30, 1, 16, 0, 0, 0, 0, 0}},
        {"the rest of the walls", {40, 26, 16, 0, 0, 0, 0, 0}},
        // 8 + 3 x 7 + 6 + 6 + 8 pieces of armour, then two amulets and two rings.
        {"the armour", {50, 26, 16, 53, 0, 0, 0, 0}},
        {"the traps", {60, 26, 16, 53, 3, 0, 0, 0}},
        {"the spells of the four schools", {70, 26, 16, 53, 3, 13 + 15 + 14 + 16, 0, 0}},
        {"the misc. list", {90, 26, 16, 53, 3, 58, 52, 0}},
        // A band-aid, 7 potions, 8 scrolls, 2 cubes, 4 stands, generator,
        // token, taker.
        {"the magic list", {99, 26, 16, 53, 3, 58, 52, 25}},
    };
    ASSERT_EQ(seen.size(), std::size(steps));
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].rule);
        EXPECT_EQ(seen[i], steps[i].want);
    }
    const size_t all = 26 + 16 + 53 + 3 + 58 + 52 + 25;
    EXPECT_EQ(catalogue.Count(), all);
    struct Row {
        const char* label;  // as the world maker shows it; the spells have none
        const char* head;
        const char* tail;
    };
    const Row rows[] = {
        {"Walls", "Flowers", "PegBrick"},   {"Weapons", "Longbow", "Axe"},
        {"Armour", "Ring", "Shirt"},        {"Traps", "MissileShooter", "Caltrops"},
        {nullptr, "Earthquake", "Light"},   {"Misc.", "SpriteTest", "Whistle"},
        {"Magic", "TokenTaker", "BandAid"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].head);
        EXPECT_STREQ(ObjectCatalogue::Label(kLists[i]), rows[i].label);
        EXPECT_EQ(ClassOf(catalogue.Get(kLists[i]).front().get()), rows[i].head);
        EXPECT_EQ(ClassOf(catalogue.Get(kLists[i]).back().get()), rows[i].tail);
    }
    BuildObjectCatalogue(catalogue);
    EXPECT_EQ(catalogue.Count(), all) << "a second build doubles nothing";
    catalogue.Free();
    EXPECT_TRUE(catalogue.IsEmpty());
    EXPECT_FALSE(catalogue.Add(CatalogueList::Misc, nullptr));
    EXPECT_TRUE(catalogue.IsEmpty());
}

// A kind of many variants is made once for each, in an order of its own.
TEST(ObjectCatalogue, VariantsAreMadeInTheirKindsOrder) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    struct Row {
        const char* kind;
        CatalogueList list;
        std::vector<int> columns;  // the variants, as made
    };
    const Row rows[] = {
        {"Gem", CatalogueList::Misc, {0, 1, 4, 5, 2, 3, 6, 7}},
        {"Picture", CatalogueList::Misc, {0, 1, 2, 3, 4, 5}},
        {"Potion", CatalogueList::Magic, {0, 1, 2, 3, 4, 5, 6}},  // from no kind up
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        // Read from the tail: the order the prototypes were made in.
        std::vector<int> seen;
        const ObjectCatalogue::List& list = world.m_Catalogue.Get(r.list);
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (ClassOf(it->get()) != r.kind) continue;
            int column = 0, row = 0;
            (*it)->GetImageFrame(&column, &row);
            seen.push_back(column);
        }
        EXPECT_EQ(seen, r.columns);
    }
}

// The world maker shows every prototype and places clones of it: drawn at
// full light (no map) in build mode, each puts pixels on the screen, and its
// clone is a new object of its class and name.
TEST(ObjectCatalogue, EveryPrototypeDrawsAndClonesIntoAnObjectOfItsOwnClass) {
    World world;
    ObjectCatalogue& catalogue = world.m_Catalogue;
    EXPECT_EQ(catalogue.CloneOf(CatalogueList::Weapons, 0), nullptr) << "before the build";
    world_test::TestRules rules;
    rules.editing = 1;
    world.m_pRules = &rules;
    BuildObjectCatalogue(catalogue);
    qv::Surface screen(480, 480);
    for (CatalogueList list :
         {CatalogueList::Walls, CatalogueList::Traps, CatalogueList::Weapons, CatalogueList::Armour,
          CatalogueList::Magic, CatalogueList::Misc, CatalogueList::Spells}) {
        const ObjectCatalogue::List& entries = catalogue.Get(list);
        for (size_t i = 0; i < entries.size(); ++i) {
            Object& prototype = *entries[i];
            SCOPED_TRACE(ClassOf(&prototype) + " at " + std::to_string(i));
            std::unique_ptr<Object> copy = catalogue.CloneOf(list, i);
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
        EXPECT_EQ(catalogue.CloneOf(list, entries.size()), nullptr) << "one past the end";
    }
    world.m_pRules = nullptr;
}

// The fill grows by 0.54 pixels a per cent, cut to whole pixels, inside a
// frame from (570, 450) to (629, 469) whose inside runs from x 573 to 626.
TEST(LoadingBar, TheFillGrowsByWholePixelsOfTheInside) {
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
    qv::Surface screen(640, 480);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        ASSERT_EQ(DrawLoadingProgress(&screen, r.percent, 2), qv::kDrawOk);
        EXPECT_EQ(LoadingBarFill(r.percent).Width(), r.fillWidth);
        for (int x = 573; x < 627; ++x)
            EXPECT_EQ(screen.GetPixel(x, 460), x < 573 + r.fillWidth ? fill : inside) << x;
    }
    // The frame: its corners and either side of them, and about the inside.
    const std::tuple<int, int, uint16_t> frameAt[] = {
        {570, 450, frame}, {629, 469, frame}, {630, 470, 0},     {569, 449, 0},
        {572, 460, frame}, {627, 460, frame}, {600, 452, frame}, {600, 467, frame}};
    for (const auto& [x, y, colour] : frameAt)
        EXPECT_EQ(screen.GetPixel(x, y), colour) << x << "," << y;
    // A lost surface is restored once; no surface draws nothing.
    qv::Surface lost(640, 480);
    lost.MarkLost();
    EXPECT_EQ(DrawLoadingProgress(&lost, 40, 2), qv::kDrawOk);
    EXPECT_FALSE(lost.IsLost());
    EXPECT_EQ(lost.GetPixel(573, 460), fill);
    EXPECT_EQ(DrawLoadingProgress(nullptr, 40, 2), qv::kDrawInvalid);
}
