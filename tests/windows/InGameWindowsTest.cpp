// The in-game windows on the start world, headless: the keys open the
// control panel's pages, the member keys and buttons pick the controlled
// member, and things carried between the windows, the party panel and the
// map become orders whose results are read off the world afterwards.

#include <gtest/gtest.h>

#include "InGameFixture.h"
#include "items/Magic.h"
#include "items/Potions.h"
#include "platform/Events.h"
#include "platform/Format.h"
#include "world/Group.h"

namespace ingame_test {
namespace {

TEST_F(InGame, TheFirstTickMakesThePanelsAndEachLetterKeyOpensItsPageAndSchool) {
    ASSERT_TRUE(ok);
    ASSERT_NE(Hero(), nullptr);
    ASSERT_NE(Windows().ControlPanel(), nullptr);
    EXPECT_EQ(Panel().GetPlayer(), Hero());
    EXPECT_EQ(Panel().GetPage(), CControlPanel::kPageInventory);
    EXPECT_EQ(frame->m_Play.m_OpenWindows.m_pInventoryWnd, &Inventory()) << "containers open";
    EXPECT_EQ(frame->m_Play.m_OpenWindows.m_pPartyPanel, &Windows().PartyPanel());
    EXPECT_FALSE(frame->m_Play.IsPopupOpen()) << "the panels never stop the world";
    EXPECT_NE(Carried(Hero(), "Dagger"), nullptr) << "the hero's spare knife";
    struct Row {
        const char* what;
        int key;
        int page;
        int school;  // on the magic page
        CInventory::Shows shows;
    };
    using S = CInventory::Shows;
    const int inv = CControlPanel::kPageInventory, magic = CControlPanel::kPageMagic;
    // clang-format off
    const Row rows[] = {
        {"I: the inventory", 'I', inv, 0, S::Bag},
        {"S: the statistics", 'S', CControlPanel::kPageStats, 0, S::Bag},
        {"Q: the item list", 'Q', CControlPanel::kPageItems, 0, S::Usable},
        {"F: fire", 'F', magic, 1, S::SpellBook},
        {"E: earth", 'E', magic, 2, S::SpellBook},
        {"A: air", 'A', magic, 3, S::SpellBook},
        {"W: water", 'W', magic, 4, S::SpellBook},
        {"C: the magic page keeps the school shown last", 'C', magic, 4, S::SpellBook},
        {"K: the information", 'K', CControlPanel::kPageInfo, 0, S::Bag},
        {"I again: back to the bag", 'I', inv, 0, S::Bag},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Key(row.key);
        EXPECT_EQ(Panel().GetPage(), row.page);
        if (row.page == CControlPanel::kPageMagic) {
            EXPECT_EQ(Inventory().GetSchool(), row.school);
        }
        if (row.page != CControlPanel::kPageStats && row.page != CControlPanel::kPageInfo) {
            EXPECT_EQ(Inventory().GetShows(), row.shows);
        }
    }
    // The earth book shows the hero's three earth spells.
    Key('E');
    EXPECT_EQ(Inventory().Box().Items().size(), 3u);
}

TEST_F(InGame, MemberKeysAndButtonsPickTheControlledMember) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    Player* dog = Member(1);
    ASSERT_NE(dog, nullptr);
    CPartyPanel& panel = Windows().PartyPanel();
    struct Row {
        const char* what;
        std::function<void()> act;
        Player* controlled;
    };
    const Row rows[] = {
        {"key 2: the dog", [&] { Key('2'); }, dog},
        {"key 1: the hero", [&] { Key('1'); }, hero},
        {"key 3: an empty slot changes nothing", [&] { Key('3'); }, hero},
        {"key 4: an empty slot changes nothing", [&] { Key('4'); }, hero},
        {"the dog's button", [&] { Click(Middle(panel.ButtonRect(1))); }, dog},
        {"an empty slot's button", [&] { Click(Middle(panel.ButtonRect(2))); }, dog},
        {"the hero's button", [&] { Click(Middle(panel.ButtonRect(0))); }, hero},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.act();
        Ticks(1);
        EXPECT_EQ(frame->m_World.m_pControlPlayer.Get(), row.controlled);
        EXPECT_EQ(Panel().GetPlayer(), row.controlled) << "the panel follows";
    }
}

TEST_F(InGame, APartyPanelButtonShowsTheMembersNumbersAndTheBarsAreRedrawnAfterAWorldRead) {
    ASSERT_TRUE(ok);
    CPartyPanel& panel = Windows().PartyPanel();
    Player* hero = Hero();
    EXPECT_TRUE(panel.IsShown(0));
    EXPECT_TRUE(panel.IsShown(1));
    EXPECT_FALSE(panel.IsShown(2)) << "an empty slot's button is hidden";
    EXPECT_EQ(panel.BarValue(0, 0), hero->m_iHitPoints);
    EXPECT_EQ(panel.Bar(0, 0).GetPos(), hero->m_iHitPoints);
    EXPECT_EQ(panel.Bar(0, 0).m_iMax, hero->m_iMaxHitPoints);
    EXPECT_EQ(panel.UpdatePartyBars(), 0) << "nothing changed, nothing redrawn";
    const std::string tip = panel.PlayerToolTip(0);
    EXPECT_NE(tip.find(qv::Format("HP: %d/%d", hero->m_iHitPoints, hero->m_iMaxHitPoints)),
              std::string::npos)
        << tip;
    EXPECT_NE(tip.find("MANA: "), std::string::npos) << tip;
    // A world taken in: every remembered value is forgotten, and the next
    // update redraws the three bars of both members.
    frame->m_Host.WorldTaken();
    for (int slot = 0; slot < CPartyPanel::kSlots; ++slot)
        for (int bar = 0; bar < CPartyPanel::kBarsPerMember; ++bar)
            EXPECT_EQ(panel.BarValue(slot, bar), CPartyPanel::kForgotten);
    EXPECT_EQ(panel.UpdatePartyBars(), 6);
    EXPECT_EQ(panel.UpdatePartyBars(), 0);
}

TEST_F(InGame, ADaggerDraggedFromTheBagIntoTheEquipmentWindowIsTakenInHand) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    Object* sword = hero->m_pMeleeWeapon.Get();
    Object* dagger = Carried(hero, "Dagger");
    ASSERT_NE(sword, nullptr);
    ASSERT_TRUE(InUse(hero, sword));
    ASSERT_NE(dagger, nullptr);
    // The inventory's Equip button opens the equipment window; the world
    // stands still while it is up.
    Click(OnScreen(Inventory(), Inventory().EquipButton()));
    CEquipWnd* equip = Windows().EquipWindow();
    ASSERT_NE(equip, nullptr);
    EXPECT_TRUE(frame->m_Play.IsPopupOpen());
    Drag(InBag(dagger), EmptyCell(*equip, equip->Box()));
    EXPECT_TRUE(InUse(hero, dagger)) << "in hand";
    EXPECT_EQ(hero->m_pMeleeWeapon.Get(), dagger);
    EXPECT_TRUE(hero->m_pBag->Contains(sword)) << "the sword went into the bag";
    EXPECT_EQ(Windows().Carried(), nullptr);
    EXPECT_FALSE(frame->m_Play.m_bPaused) << "the carry's pause ended with it";
    // And back: from the equipment window into the bag.
    Drag(Where(*equip, equip->Box(), dagger), EmptyCell(Inventory(), Inventory().Box()));
    EXPECT_FALSE(InUse(hero, dagger));
    EXPECT_TRUE(hero->m_pBag->Contains(dagger));
    Key(qv::VK_ESCAPE);
    Ticks(1);
    EXPECT_EQ(Windows().EquipWindow(), nullptr);
    EXPECT_FALSE(frame->m_Play.IsPopupOpen());
}

TEST_F(InGame, ADaggerLetGoOverTheMapIsPutDownThere) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    Object* dagger = Carried(hero, "Dagger");
    ASSERT_NE(dagger, nullptr);
    qv::Handle<Object> kept(dagger);
    const qv::Point ground{frame->m_View.m_rcView.left + 300, frame->m_View.m_rcView.top + 250};
    Drag(InBag(dagger), ground);
    EXPECT_FALSE(hero->m_pBag->Contains(dagger));
    ASSERT_TRUE(kept) << "it lies on the map";
    ASSERT_NE(dagger->m_pHolder, nullptr);
}

TEST_F(InGame, OpeningTheChestShowsItBesideTheBagAndAHelmDraggedAcrossIsTaken) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    ObjectHolder* chest = PlacedContainer("Chest");
    ASSERT_NE(chest, nullptr);
    Key('S');
    Open(chest);
    CInventory* second = Windows().ContainerWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetMode(), CInventory::kModeContainer);
    EXPECT_EQ(Panel().GetPage(), CControlPanel::kPageInventory) << "the bag shows beside it";
    EXPECT_EQ(frame->m_Play.m_OpenWindows.m_pContainerWnd, second);
    EXPECT_TRUE(frame->m_Play.IsPopupOpen());
    CBag* bag = second->GetShownBag();
    ASSERT_NE(bag, nullptr);
    Object* helm = nullptr;
    for (Object* o : second->Box().Items())
        if (o->GetDisplayName().find("Helm") != std::string::npos) helm = o;
    ASSERT_NE(helm, nullptr);
    Drag(Where(*second, second->Box(), helm), EmptyCell(Inventory(), Inventory().Box()));
    EXPECT_TRUE(hero->m_pBag->Contains(helm));
    EXPECT_FALSE(bag->Contains(helm));
    // And the dagger goes the other way.
    Object* dagger = Carried(hero, "Dagger");
    Drag(InBag(dagger), EmptyCell(*second, second->Box()));
    EXPECT_TRUE(bag->Contains(dagger));
    EXPECT_FALSE(hero->m_pBag->Contains(dagger));
    // Its Close button ends it, and the world goes on.
    Click(OnScreen(*second, second->CloseButton()));
    Ticks(1);
    EXPECT_EQ(Windows().ContainerWindow(), nullptr);
    EXPECT_FALSE(frame->m_Play.IsPopupOpen());
}

TEST_F(InGame, TakingPartOfTheBarrelsStackSplitsIt) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    ObjectHolder* barrel = PlacedContainer("Barrel");
    ASSERT_NE(barrel, nullptr);
    Open(barrel);
    CInventory* second = Windows().ContainerWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->Box().Items().size(), 1u);
    Object* stack = second->Box().Items()[0];
    ASSERT_EQ(stack->m_iBulkNum, 6);
    ask.quantities = {2};
    Drag(Where(*second, second->Box(), stack), EmptyCell(Inventory(), Inventory().Box()));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"quantity 6"}));
    EXPECT_EQ(stack->m_iBulkNum, 4) << "four stay in the barrel";
    Object* taken = nullptr;
    for (const auto& item : hero->m_pBag->Items())
        if (item->GetRuntimeClass() == stack->GetRuntimeClass()) taken = item.get();
    ASSERT_NE(taken, nullptr) << "two went into the hero's bag";
    EXPECT_NE(taken, stack);
    EXPECT_EQ(taken->m_iBulkNum, 2);
}

TEST_F(InGame, APotionOrSpellRightClickedAsksForItsTargetAndTheHerosButtonUsesIt) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    ASSERT_NE(hero->m_pMagic, nullptr);
    auto* potion = new Potion(PotionType::Healing);
    hero->AddToBag(potion, 0);
    hero->m_iHitPoints = hero->m_iMaxHitPoints - 25;
    const int hp = hero->m_iHitPoints;
    const uint32_t mana = hero->m_pMagic->m_uMana;
    // Right-clicked, a thing waits for its target; the hero's button uses it.
    auto use = [&](Object* thing, const std::string& asks, int selectMode) {
        SCOPED_TRACE(asks);
        RightClick(InBag(thing));
        EXPECT_EQ(frame->m_strMessageLine, asks);
        EXPECT_EQ(frame->m_Play.m_iSelectMode, selectMode);
        EXPECT_EQ(frame->m_Play.m_pPendingItem.Get(), thing);
        EXPECT_EQ(hero->m_pMagic->m_uMana, mana) << "nothing is used before the target is picked";
        Click(Middle(Windows().PartyPanel().ButtonRect(0)));
        EXPECT_EQ(frame->m_Play.m_iSelectMode, 0);
        EXPECT_FALSE(frame->m_Play.m_bPaused);
    };
    use(potion, "Use Potion on...", 3);
    EXPECT_GE(hero->m_iHitPoints, hp + 10) << "healed by 10 to 19";
    EXPECT_LE(hero->m_iHitPoints, hp + 19);
    EXPECT_EQ(potion->GetDisplayName(), "Empty potion");
    RightClick(InBag(potion));
    EXPECT_EQ(frame->m_strMessageLine, "Empty potion...") << "an empty one only says so";
    EXPECT_EQ(frame->m_Play.m_iSelectMode, 0);
    Key('E');
    ASSERT_FALSE(Inventory().Box().Items().empty());
    Object* spell = Inventory().Box().Items().front();
    use(spell, "Use " + spell->GetDisplayName() + " on...", 2);
    EXPECT_LT(hero->m_pMagic->m_uMana, mana) << "the cast took its mana, whatever its roll";
    EXPECT_EQ(Panel().GetPage(), CControlPanel::kPageMagic);
}

TEST_F(InGame, RightClickingAWeaponReadiesItAndRightClickingItInUseTakesItOff) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    Object* dagger = Carried(hero, "Dagger");
    RightClick(InBag(dagger));
    EXPECT_TRUE(InUse(hero, dagger));
    Windows().OpenEquipment();
    CEquipWnd* equip = Windows().EquipWindow();
    ASSERT_NE(equip, nullptr);
    RightClick(Where(*equip, equip->Box(), dagger));
    EXPECT_FALSE(InUse(hero, dagger));
    EXPECT_TRUE(hero->m_pBag->Contains(dagger));
}

TEST_F(InGame, EscClosesTheTopWindowFirst) {
    ASSERT_TRUE(ok);
    Open(PlacedContainer("Chest"));
    Windows().OpenEquipment();
    ASSERT_NE(Windows().ContainerWindow(), nullptr);
    ASSERT_NE(Windows().EquipWindow(), nullptr);
    Object* dagger = Carried(Hero(), "Dagger");
    Click(InBag(dagger));
    ASSERT_EQ(Windows().Carried(), dagger) << "a click where it lies keeps it carried";
    EXPECT_TRUE(frame->m_Play.m_bPaused) << "the world stands still while it is";
    struct Row {
        const char* what;
        bool equipment, container;
    };
    const Row rows[] = {
        {"the carry goes first, back where it was", true, true},
        {"then the equipment window", false, true},
        {"then the container window", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Key(qv::VK_ESCAPE);
        Ticks(1);
        EXPECT_EQ(Windows().Carried(), nullptr);
        EXPECT_FALSE(frame->m_Play.m_bPaused);
        EXPECT_TRUE(Hero()->m_pBag->Contains(dagger));
        EXPECT_EQ(Windows().EquipWindow() != nullptr, row.equipment);
        EXPECT_EQ(Windows().ContainerWindow() != nullptr, row.container);
    }
    EXPECT_FALSE(frame->m_Play.IsPopupOpen());
    EXPECT_FALSE(frame->m_Play.m_bOptionsShown) << "no Esc reached the options window";
}

TEST_F(InGame, AWindowWhoseThingGoesClosesAndTheWorldGoesOn) {
    ASSERT_TRUE(ok);
    auto closedAndWorldGoesOn = [&](const char* what, bool closed) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(frame->m_Play.IsPopupOpen());
        const int32_t before = frame->m_World.m_iGameTime;
        Ticks(1);
        EXPECT_GT(frame->m_World.m_iGameTime, before);
    };
    ObjectHolder* chest = PlacedContainer("Chest");
    Open(chest);
    ASSERT_NE(Windows().ContainerWindow(), nullptr);
    frame->m_Play.RemoveFromMap(chest);
    DeleteHolderWithObject(chest);
    Ticks(1);
    closedAndWorldGoesOn("the chest taken off the map", Windows().ContainerWindow() == nullptr);
    EXPECT_FALSE(frame->m_Play.m_OpenWindows.m_bContainerOpen);
    // The dog, shown in the equipment window, leaves the party and the world.
    Player* dog = Member(1);
    ASSERT_NE(dog, nullptr);
    frame->SetControlPlayer(dog, 0);
    Windows().OpenEquipment();
    ASSERT_EQ(Windows().EquipWindow()->GetPlayer(), dog);
    frame->SetControlPlayer(Hero(), 0);
    Windows().EquipWindow()->SetPlayer(dog);
    Group* group = dog->m_pGroup;
    ASSERT_NE(group, nullptr);
    frame->m_Play.TakeHolderOffMap(dog);
    group->RemoveMember(dog);
    delete dog;
    Ticks(1);
    closedAndWorldGoesOn("the member gone", Windows().EquipWindow() == nullptr);
    EXPECT_FALSE(Windows().PartyPanel().IsShown(1)) << "its button went too";
}

}  // namespace
}  // namespace ingame_test
