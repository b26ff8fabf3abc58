// The in-game windows on the start world, headless: the keys open the
// control panel's pages (or, while there is no panel, the member's own
// windows), the member keys and buttons pick the controlled member, and
// things carried between the windows, the party panel and the map become
// orders whose results are read off the world afterwards.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "InGameFixture.h"
#include "items/Magic.h"
#include "items/Potions.h"
#include "items/Useable.h"
#include "platform/Events.h"
#include "platform/Format.h"
#include "windows/MagicWnd.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"
#include "world/Group.h"

namespace ingame_test {
namespace {

TEST_F(InGame, EachKeyCommandAndMemberButtonOpensItsPageOrWindowOrPicksItsMember) {
    ASSERT_TRUE(ok);
    ASSERT_NE(Member(1), nullptr) << "the dog";
    ASSERT_NE(Windows().ControlPanel(), nullptr) << "made by the first tick";
    EXPECT_EQ(frame->m_pGameWindows->Open().m_pInventoryWnd, &Inventory()) << "containers open";
    EXPECT_EQ(frame->m_pGameWindows->Open().m_pPartyPanel, &Windows().PartyPanel());
    EXPECT_FALSE(frame->m_Play.IsPopupOpen()) << "the panels never stop the world";
    EXPECT_NE(Carried(Hero(), "Dagger"), nullptr) << "the hero's spare knife";
    using Act = std::function<void(CGameWindows&)>;
    auto key = [this](int k) -> Act { return [this, k](CGameWindows&) { Key(k); }; };
    auto page = [](int p, int sub) -> Act { return [=](CGameWindows& w) { w.OnPageKey(p, sub); }; };
    auto button = [this](int slot) -> Act {
        return [this, slot](CGameWindows& w) { Click(Middle(w.PartyPanel().ButtonRect(slot))); };
    };
    CMainFrame& f = *frame;
    const int inv = CControlPanel::kPageInventory, stats = CControlPanel::kPageStats,
              items = CControlPanel::kPageItems, magic = CControlPanel::kPageMagic,
              info = CControlPanel::kPageInfo;
    // What shows then, a letter each: the window that was up until Esc closed
    // it (S statistics, K information, M magic); the control panel's page
    // (I, S, Q, M, K after their keys); its school on the magic page; what
    // its list shows (B the bag, U the usable, S the spell book); the slot of
    // the controlled member. '-' none, '.' not on that page.
    struct Row {
        const char* rule;
        bool bare;  // to windows made without the control panel
        Act act;
        const char* shows;
    };
    const Row rows[] = {
        {"I: the inventory", false, key('I'), "-I.B0"},
        {"S: the statistics", false, key('S'), "-S..0"},
        {"Q: the item list", false, key('Q'), "-Q.U0"},
        {"F: fire", false, key('F'), "-M1S0"},
        {"E: earth", false, key('E'), "-M2S0"},
        {"A: air", false, key('A'), "-M3S0"},
        {"W: water", false, key('W'), "-M4S0"},
        {"C: the magic page keeps the school shown last", false, key('C'), "-M4S0"},
        {"K: the information", false, key('K'), "-K..0"},
        {"I again: back to the bag", false, key('I'), "-I.B0"},
        {"the statistics command", false, [&](CGameWindows&) { f.OnPlayerStats(); }, "SI.B0"},
        {"the information command", false, [&](CGameWindows&) { f.OnPlayerInfo(); }, "KI.B0"},
        {"the magic command", false, [&](CGameWindows&) { f.OnShowMagic(); }, "MI.B0"},
        {"key 2: the dog", false, key('2'), "-I.B1"},
        {"key 1: the hero", false, key('1'), "-I.B0"},
        {"key 3: an empty slot changes nothing", false, key('3'), "-I.B0"},
        {"key 4: an empty slot changes nothing", false, key('4'), "-I.B0"},
        {"the dog's button", false, button(1), "-I.B1"},
        {"an empty slot's button", false, button(2), "-I.B1"},
        {"the hero's button", false, button(0), "-I.B0"},
        {"no panel, S: the statistics window", true, page(stats, 0), "S---0"},
        {"no panel, K: the information window", true, page(info, 0), "K---0"},
        {"no panel, C: the magic window", true, page(magic, 0), "M---0"},
        {"no panel, W: the magic window", true, page(magic, 4), "M---0"},
        {"no panel, I: the panel is made on the bag", true, page(inv, 0), "-I.B0"},
        {"no panel, Q: the panel is made on the items", true, page(items, 0), "-Q.U0"},
    };
    OpenWindows& open = Windows().Open();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::unique_ptr<CGameWindows> bare;
        if (r.bare) bare = std::make_unique<CGameWindows>(frame->m_Play, nullptr);
        CGameWindows& windows = r.bare ? *bare : Windows();
        char seen = '-';
        int* record = nullptr;  // the windows' record of it while it is up
        int recorded = -1;
        WhileUp([&] { r.act(windows); },
                [&](CDDWnd* w) {
                    seen = dynamic_cast<CPlayerStatsWnd*>(w)  ? 'S'
                           : dynamic_cast<CPlayerInfoWnd*>(w) ? 'K'
                           : dynamic_cast<CMagicWnd*>(w)      ? 'M'
                                                              : '?';
                    record = seen == 'S'   ? &windows.Open().m_bStatsOpen
                             : seen == 'K' ? &windows.Open().m_bInfoOpen
                                           : nullptr;
                    recorded = record ? *record : 1;
                    qv::MessageLoop::Instance().Inject(qv::Event::Key(true, qv::VK_ESCAPE));
                });
        Ticks(r.bare ? 0 : 1);
        std::string now{seen, '-', '-', '-', '-'};
        if (CControlPanel* panel = windows.ControlPanel()) {
            const int p = panel->GetPage();
            now[1] = "ISQMK"[p];
            now[2] = p == magic ? static_cast<char>('0' + panel->Inventory().GetSchool()) : '.';
            now[3] = p == stats || p == info
                         ? '.'
                         : "BUS"[static_cast<int>(panel->Inventory().GetShows())];
            if (!r.bare) {
                EXPECT_EQ(panel->GetPlayer(), frame->m_World.m_pControlPlayer.Get())
                    << "the panel follows";
            }
        }
        for (int slot : {0, 1})
            if (Member(slot) == frame->m_World.m_pControlPlayer.Get()) now[4] = "01"[slot];
        EXPECT_EQ(now, r.shows);
        if (seen != '-') {
            EXPECT_EQ(recorded, 1) << "recorded while up";
        }
        if (record) {
            EXPECT_EQ(*record, 0) << "Esc closed it";
        }
        EXPECT_FALSE(frame->m_Play.IsPopupOpen());
    }
    Ticks(1);  // the frame's own windows enter themselves again
    EXPECT_EQ(open.m_pInventoryWnd, &Inventory());
    Key('E');
    EXPECT_EQ(Inventory().Box().Items().size(), 3u) << "the hero's three earth spells";
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

// Between the bag, the equipment window, the open chest, the bags in the
// bag and the map; then Esc closes the carry and the windows, the top first.
TEST_F(InGame, AThingCarriedBetweenTheWindowsAndTheMapGoesWhereItIsLetGo) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    CBag* own = hero->m_pBag.get();
    Object* sword = hero->m_pMeleeWeapon.Get();
    Object* dagger = Carried(hero, "Dagger");
    ASSERT_TRUE(sword && InUse(hero, sword) && dagger);
    auto* pouch = new CBag("Pouch");
    auto* sack = new CBag("Sack");
    hero->AddToBag(pouch, 0);
    hero->AddToBag(sack, 0);
    for (int i = 0; i < sack->Capacity(); ++i) sack->PutItem(new Useable("Stone"), 1);
    ASSERT_FALSE(sack->HasRoom()) << "the sack is full";
    // The chest shows beside the bag, whatever page was up.
    Key('S');
    Open(PlacedContainer("Chest"));
    CInventory* chest = Windows().ContainerWindow();
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(chest->GetMode(), CInventory::kModeContainer);
    EXPECT_EQ(Panel().GetPage(), CControlPanel::kPageInventory);
    EXPECT_EQ(frame->m_pGameWindows->Open().m_pContainerWnd, chest);
    EXPECT_TRUE(frame->m_Play.IsPopupOpen()) << "the world stands still";
    CBag* inChest = chest->GetShownBag();
    ASSERT_NE(inChest, nullptr);
    Object* helm = nullptr;
    for (Object* o : chest->Box().Items())
        if (o->GetDisplayName().find("Helm") != std::string::npos) helm = o;
    ASSERT_NE(helm, nullptr);
    // The inventory's Equip button opens the equipment window.
    Click(OnScreen(Inventory(), Inventory().EquipButton()));
    CEquipWnd* equip = Windows().EquipWindow();
    ASSERT_NE(equip, nullptr);

    enum Win { kBag, kEquip, kChest, kMap };
    auto box = [&](Win w) -> std::pair<CDDWnd*, CListDragBox*> {
        if (w == kEquip) return {equip, &equip->Box()};
        if (w == kChest) return {chest, &chest->Box()};
        return {&Inventory(), &Inventory().Box()};
    };
    const qv::Point ground{frame->m_View.m_rcView.left + 300, frame->m_View.m_rcView.top + 250};
    const qv::Handle<Object> things[] = {qv::Handle<Object>(dagger), qv::Handle<Object>(sword),
                                         qv::Handle<Object>(helm), qv::Handle<Object>(pouch)};
    // Where each is: in Hand, on top of the Bag, in the Pouch, in the Chest,
    // on the Map, X gone; then the windows up (E equipment, C container) and
    // * while a thing is carried.
    auto state = [&] {
        std::string s;
        for (const auto& t : things) {
            bool top = false;
            for (const auto& item : own->Items()) top |= item.get() == t.Get();
            s += !t                           ? 'X'
                 : InUse(hero, t.Get())       ? 'H'
                 : pouch->Contains(t.Get())   ? 'P'
                 : top                        ? 'B'
                 : inChest->Contains(t.Get()) ? 'C'
                 : t->m_pHolder               ? 'M'
                                              : '?';
        }
        s += ' ';
        if (Windows().EquipWindow()) s += 'E';
        if (Windows().ContainerWindow()) s += 'C';
        if (Windows().Carried()) s += '*';
        return s;
    };
    ASSERT_EQ(state(), "BHCB EC");
    struct Row {
        const char* rule;
        // 'd' dragged, 'c' picked up and let go by two clicks, 'p' only
        // picked up, 'r' right-clicked, 'e' Esc, 'o' the chest opened, 'x'
        // its Close button
        char how;
        Object* thing;
        Win from, to;
        Object* onto;          // let go over this thing, or else the window's empty cell
        const char* after;     // where the dagger, the sword, the helm and the pouch are
        bool noSpace = false;  // "No space to drop that." shown
    };
    // clang-format off
    const Row rows[] = {
        {"the dagger into the equipment window: in hand, the sword to the bag", 'd', dagger, kBag, kEquip, nullptr, "HBCB EC"},
        {"and back into the bag", 'd', dagger, kEquip, kBag, nullptr, "BBCB EC"},
        {"right-clicked in the bag: readied", 'r', dagger, kBag, kBag, nullptr, "HBCB EC"},
        {"right-clicked in use: taken off", 'r', dagger, kEquip, kEquip, nullptr, "BBCB EC"},
        {"the pouch onto itself: nothing changes", 'c', pouch, kBag, kBag, pouch, "BBCB EC"},
        {"the dagger onto the full sack: refused, it stays", 'c', dagger, kBag, kBag, sack, "BBCB EC", true},
        {"the dagger onto the pouch: into the pouch", 'c', dagger, kBag, kBag, pouch, "PBCB EC"},
        {"the pouch onto a thing that is no bag: it stays", 'c', pouch, kBag, kBag, sword, "PBCB EC"},
        {"the helm from the chest into the bag", 'd', helm, kChest, kBag, nullptr, "PBBB EC"},
        {"the sword from the bag into the chest", 'd', sword, kBag, kChest, nullptr, "PCBB EC"},
        {"the helm over the map: put down there", 'd', helm, kBag, kMap, nullptr, "PCMB EC"},
        {"a click where it lies keeps it carried, the world still", 'p', pouch, kBag, kBag, nullptr, "PCMB EC*"},
        {"Esc: the carry goes first, back where it was", 'e', nullptr, kBag, kBag, nullptr, "PCMB EC"},
        {"then the equipment window", 'e', nullptr, kBag, kBag, nullptr, "PCMB C"},
        {"then the container window", 'e', nullptr, kBag, kBag, nullptr, "PCMB "},
        {"the chest opened again", 'o', nullptr, kBag, kBag, nullptr, "PCMB C"},
        {"its Close button ends it", 'x', nullptr, kBag, kBag, nullptr, "PCMB "},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        ask.told.clear();
        const auto [fromWnd, fromBox] = box(r.from);
        const auto [toWnd, toBox] = box(r.to);
        const qv::Point from = r.thing ? Where(*fromWnd, *fromBox, r.thing) : qv::Point{};
        const qv::Point to = r.to == kMap ? ground
                             : r.onto     ? Where(*toWnd, *toBox, r.onto)
                                          : Where(*toWnd, *toBox);
        if (r.how == 'r') {
            RightClick(from);
        } else if (r.how == 'd') {
            Drag(from, to);
        } else if (r.how == 'c' || r.how == 'p') {
            Click(from);
            ASSERT_EQ(Windows().Carried(), r.thing);
            if (r.how == 'c') Click(to);
        } else if (r.how == 'e') {
            Key(qv::VK_ESCAPE);
        } else if (r.how == 'o') {
            Open(PlacedContainer("Chest"));
        } else {
            Click(
                OnScreen(*Windows().ContainerWindow(), Windows().ContainerWindow()->CloseButton()));
        }
        Ticks(1);
        EXPECT_EQ(state(), r.after);
        EXPECT_EQ(frame->m_Play.m_bPaused, r.how == 'p') << "only a carry stops the world";
        EXPECT_EQ(frame->m_Play.IsPopupOpen(),
                  Windows().EquipWindow() || Windows().ContainerWindow());
        EXPECT_EQ(static_cast<int>(sack->Items().size()), sack->Capacity()) << "the sack as it was";
        EXPECT_EQ(ask.told, std::vector<std::string>(r.noSpace, "No space to drop that."));
    }
    EXPECT_FALSE(frame->m_Play.m_bOptionsShown) << "no Esc reached the options window";
}

TEST_F(InGame, TakingPartOfTheBarrelsStackSplitsIt) {
    ASSERT_TRUE(ok);
    Open(PlacedContainer("Barrel"));
    CInventory* barrel = Windows().ContainerWindow();
    ASSERT_NE(barrel, nullptr);
    ASSERT_EQ(barrel->Box().Items().size(), 1u);
    Object* stack = barrel->Box().Items()[0];
    ASSERT_EQ(stack->m_iBulkNum, 6);
    ask.quantities = {2};
    Drag(Where(*barrel, barrel->Box(), stack), Where(Inventory(), Inventory().Box()));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"quantity 6"}));
    EXPECT_EQ(stack->m_iBulkNum, 4) << "four stay in the barrel";
    Object* taken = nullptr;
    for (const auto& item : Hero()->m_pBag->Items())
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
        EXPECT_EQ(frame->m_Play.Interacting().SelectMode(), selectMode);
        EXPECT_EQ(frame->m_Play.Interacting().PendingItem().Get(), thing);
        EXPECT_EQ(hero->m_pMagic->m_uMana, mana) << "nothing is used before the target is picked";
        Click(Middle(Windows().PartyPanel().ButtonRect(0)));
        EXPECT_EQ(frame->m_Play.Interacting().SelectMode(), 0);
        EXPECT_FALSE(frame->m_Play.m_bPaused);
    };
    use(potion, "Use Potion on...", 3);
    EXPECT_GE(hero->m_iHitPoints, hp + 10) << "healed by 10 to 19";
    EXPECT_LE(hero->m_iHitPoints, hp + 19);
    EXPECT_EQ(potion->GetDisplayName(), "Empty potion");
    RightClick(InBag(potion));
    EXPECT_EQ(frame->m_strMessageLine, "Empty potion...") << "an empty one only says so";
    EXPECT_EQ(frame->m_Play.Interacting().SelectMode(), 0);
    Key('E');
    ASSERT_FALSE(Inventory().Box().Items().empty());
    Object* spell = Inventory().Box().Items().front();
    use(spell, "Use " + spell->GetDisplayName() + " on...", 2);
    EXPECT_LT(hero->m_pMagic->m_uMana, mana) << "the cast took its mana, whatever its roll";
    EXPECT_EQ(Panel().GetPage(), CControlPanel::kPageMagic);
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
    EXPECT_FALSE(frame->m_Play.Interacting().IsContainerOpen());
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

TEST_F(InGame, InTheEditorAPlacedThingDraggedOffTheViewGoesToTheListUnderItOrGoes) {
    ASSERT_TRUE(ok);
    frame->m_bBuildMode = 1;
    frame->m_Play.Editor().SetEditing(true);
    const Position at(Hero()->m_pHolder->pos.x + 60, Hero()->m_pHolder->pos.y, 0);
    for (const bool overBag : {true, false}) {
        SCOPED_TRACE(overBag ? "over the bag's list: into that bag" : "over no list: it goes");
        auto* stone = new Useable("Stone");
        Order drop = Order::At(Order::Kind::Drop, at);
        drop.object = stone;
        ASSERT_EQ(frame->m_Play.Give(drop), 2);
        const qv::Handle<Object> thing(stone);
        const qv::Handle<ObjectHolder> holder(stone->m_pHolder);
        const qv::Point end = overBag ? InBag(nullptr) : qv::Point{700, 100};
        qv::MessageLoop::Instance().Inject(
            qv::Event::Mouse(qv::EventKind::LButtonUp, end.x, end.y));
        frame->DragPlacedObject(holder.Get(), {320, 200});
        EXPECT_EQ(holder.Get(), nullptr) << "off the map";
        EXPECT_EQ(thing && Hero()->m_pBag->Contains(thing.Get()), overBag);
    }
}

}  // namespace
}  // namespace ingame_test
