// Orders handed to a Play of a world without a frame: walking to a point,
// heading for a thing, taking, talking, trading, dropping a stack, deleting,
// and the questions they ask.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PlayFixture.h"
#include "creatures/FightSupport.h"
#include "creatures/PlayerMove.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "support/HandWrittenRecord.h"

using namespace play_test;

namespace {

class PlayOrders : public PlayFixture {};

// A stackable thing, kept by the test.
class Arrows : public Object {
public:
    Arrows() : Object("Arrows") { m_bStackable = 1; }
    Object* Clone() override {
        auto* copy = new Arrows;
        copy->m_iBulkNum = m_iBulkNum;
        return copy;
    }
};

TEST_F(PlayOrders, AWalkOrderSendsTheControlledMemberToABarePoint) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    const Position point(k->m_Position.x + 60, k->m_Position.y, 0);
    EXPECT_EQ(play.Give(Order::At(Order::Kind::WalkTo, point)), 2) << "far: it walks on";
    ASSERT_NE(k->m_pPlayerSet, nullptr);
    EXPECT_EQ(k->m_pPlayerSet->pos, point);
    EXPECT_EQ(k->m_pPlayerSet->m_pObject, nullptr);

    // A named actor goes itself; without a point there is nowhere to go.
    Player* other = PlaceMember(2, At(36, 36));
    Order walk = Order::At(Order::Kind::WalkTo, Position(point.x, point.y + 40, 0));
    walk.actor = other;
    EXPECT_EQ(play.Give(walk), 2);
    EXPECT_EQ(other->m_pPlayerSet->pos, walk.point);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::WalkTo)), 0);
    EXPECT_TRUE(ask.asked.empty());
}

// The Record order keeps the orders given between its start and its stop,
// each with its tick, and never itself.
TEST_F(PlayOrders, ARecordOrderKeepsTheOrdersGivenUntilItStops) {
    play.Give(Order::With(Order::Kind::Pause, 1));
    play.Give(Order::With(Order::Kind::Record, 1));
    play.m_iTickCount = 7;
    play.Give(Order::With(Order::Kind::Pause, 0));
    play.Give(Order::With(Order::Kind::Record, 0));
    play.Give(Order::With(Order::Kind::Pause, 1));
    ASSERT_EQ(play.Recorded().size(), 1u);
    EXPECT_EQ(play.Recorded()[0].tick, 7u);
    EXPECT_EQ(play.Recorded()[0].order.kind, Order::Kind::Pause);
    EXPECT_EQ(play.Recorded()[0].order.value, 0);
}

TEST_F(PlayOrders, AnOrderWithoutAnyoneToCarryItOutDoesNothing) {
    EXPECT_EQ(play.Give(Order::At(Order::Kind::WalkTo, At(36, 35))), 0);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 0)), 0);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 6)), 0);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::None)), 0);
    EXPECT_EQ(play.Give(Order::Of(static_cast<Order::Kind>(Order::kKinds))), 0) << "no such kind";
}

TEST_F(PlayOrders, ADroppedStackAsksHowManyAndKeepsTheRestWithTheCaller) {
    Arrows arrows;
    arrows.m_iBulkNum = 5;
    const Position w = At(36, 35, 40, 30);
    ask.quantities = {2, 0};
    EXPECT_EQ(play.Give(Order::At(Order::Kind::Drop, w)), 0) << "nothing named to drop";
    Order drop = Order::At(Order::Kind::Drop, w);
    drop.object = &arrows;
    EXPECT_EQ(play.Give(drop), 1) << "a part of the stack went";
    EXPECT_EQ(arrows.m_iBulkNum, 3);
    ASSERT_EQ(ask.asked, (std::vector<std::string>{"quantity 5"}));
    EXPECT_FALSE(play.Interacting().IsQuantityUp());
    // The player cancels: nothing changes.
    EXPECT_EQ(play.Give(drop), 0);
    EXPECT_EQ(arrows.m_iBulkNum, 3);
    EXPECT_EQ(ask.asked.size(), 2u);
}

TEST_F(PlayOrders, SelectingASlotMakesItsMemberTheControlledOne) {
    PlaceMember(1, At(36, 35));
    Player* second = PlaceMember(2, At(36, 36));
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 2)), 1);
    EXPECT_EQ(world.m_pControlPlayer.Get(), second);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Select, 3)), 0) << "an empty slot";
    EXPECT_EQ(world.m_pControlPlayer.Get(), second);
}

// A thing lying on the map, carried off or not.
class Lying : public Object {
public:
    explicit Lying(int moveable = 1) : Object("Lying") { m_bMoveable = moveable; }
    int CanBeUsedBy(Player*) override { return 1; }
};

TEST_F(PlayOrders, ATakeOrderFetchesOnlyWhatCanBeCarriedOff) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    ASSERT_NE(k->m_pBag, nullptr);
    auto* stone = new Lying;
    ObjectHolder* lying = Lay(stone, At(36, 35, 30, 50));
    // Touching it: it is taken at once, off the map and into the bag.
    qv::Handle<ObjectHolder> gone(lying);
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, lying)), 1);
    EXPECT_FALSE(gone);
    ASSERT_EQ(k->m_pBag->ItemCount(), 1);
    EXPECT_EQ(k->m_pBag->Items()[0].get(), stone);

    // Far off: the member sets out for it.
    ObjectHolder* far = Lay(new Lying, At(39, 35));
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, far)), 2);
    EXPECT_EQ(k->m_pPlayerSet, far);
    k->LeavePlayerSet();

    struct Row {
        const char* rule;
        int moveable;
        bool editing;
    };
    for (const Row& r : {Row{"fixed in place", 0, false}, Row{"a shared prototype", 2, false},
                         Row{"in build mode", 1, true}}) {
        SCOPED_TRACE(r.rule);
        ObjectHolder* h = Lay(new Lying(r.moveable), At(36, 35, 60, 50));
        play.Editor().SetEditing(r.editing);
        EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, h)), 0);
        EXPECT_EQ(k->m_pPlayerSet, nullptr);
        EXPECT_EQ(k->m_pBag->ItemCount(), 1);
        play.Editor().SetEditing(false);
        map.RemoveHolder(h->pos, h);
        if (r.moveable == 2) h->m_pObject->m_bMoveable = 1;  // the test's own: it goes
        DeleteHolderWithObject(h);
    }
    // A creature is never taken, nor is nothing.
    Player* other = PlaceMember(2, At(36, 35, 60, 50));
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, other->m_pHolder)), 0);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::Take)), 0);
    EXPECT_EQ(k->m_pBag->ItemCount(), 1);
}

TEST_F(PlayOrders, ATalkOrderGoesOnlyToSomeoneWithSomethingToSay) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    Group* town = new Group;
    world.m_pAllGroups->AddMember(town);
    auto* crier = new Player;
    town->AddMember(crier);
    crier->m_Position = At(40, 36);
    Lay(crier, crier->m_Position);

    // Nothing to say: no order, and no fight either.
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Talk, crier->m_pHolder)), 0);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    EXPECT_EQ(k->m_iHostileMode, 0);
    EXPECT_EQ(crier->m_iHostileMode, 0);
    // Something to say: k sets out, and the crier comes over.
    crier->m_strMessageNode = "GREET";
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Talk, crier->m_pHolder)), 2);
    EXPECT_EQ(k->m_pPlayerSet, crier->m_pHolder);
    EXPECT_EQ(crier->m_pPlayerSet, k->m_pHolder);
    // Not at a thing.
    ObjectHolder* stone = Lay(new Lying, At(36, 36));
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Talk, stone)), 0);
}

TEST_F(PlayOrders, ACreatureTouchedIsFoughtUnlessAScriptHoldsIt) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    play.Interacting().SetSelectMode(2);  // no attack at once: the touch decides
    struct Row {
        const char* rule;
        int32_t hold;
        bool fought;
    };
    const Row rows[] = {
        {"no hold: both groups turn hostile", 0, true},
        {"a hold of exactly -5: still fought", -5, true},
        {"a hold of -6: not fought, k heads for it again", -6, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Group* foes = new Group;
        world.m_pAllGroups->AddMember(foes);
        auto* orc = new Player;
        foes->AddMember(orc);
        ObjectHolder* h = Lay(orc, At(36, 35, 60, 50));
        orc->m_iScriptHold = r.hold;
        k->JoinPlayerSet(h);
        EXPECT_EQ(play.InteractWith(k, 1), r.fought ? 1 : 0);
        EXPECT_EQ(orc->m_iHostileMode, r.fought ? 1 : 0);
        EXPECT_EQ(k->m_pPlayerSet, r.fought ? nullptr : h);
        k->LeavePlayerSet();
        delete h;  // off the map; the orc stays in its group
    }
}

TEST_F(PlayOrders, ATradeOrderOpensTheWindowOfTheFirstStoreOfTheId) {
    std::vector<std::pair<std::string, int32_t>> opened;
    play.Talks().InstallTrade(
        [&](Store& store, int32_t mode) { opened.emplace_back(store.m_strSpecialName, mode); });
    for (auto [name, id] : {std::pair{"Baker", 7}, {"Cooper", 7}}) {
        auto store = std::make_unique<Store>();
        store->m_strSpecialName = name;
        store->m_iStoreId = id;
        play.Trade().AddStore(std::move(store));
    }
    Order trade = Order::With(Order::Kind::Trade, 7);
    trade.mode = 2;
    EXPECT_EQ(play.Give(trade), 0) << "no leader";
    world.m_pLeader = PlaceMember(1, At(36, 35));
    EXPECT_EQ(play.Give(trade), 1);
    EXPECT_EQ(play.Give(Order::With(Order::Kind::Trade, 9)), 0) << "no such store";
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, int32_t>>{{"Baker", 2}}));
}

TEST_F(PlayOrders, ADeleteOrderTakesAThingAwayButNeverACreature) {
    Player* k = PlaceMember(1, At(36, 35));
    ObjectHolder* lying = Lay(new Lying, At(37, 35));
    qv::Handle<ObjectHolder> gone(lying);
    qv::Handle<Object> object(lying->m_pObject);
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Delete, lying)), 1);
    EXPECT_FALSE(gone);
    EXPECT_FALSE(object);
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Delete, k->m_pHolder)), 0);
    EXPECT_TRUE(map.IsListedAnywhere(k->m_pHolder));
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::Delete)), 0);
}

}  // namespace

// The switches the fight reads are the ones the orders flip: one copy each.
TEST_F(PlayOrders, TheSwitchOrdersReachTheFight) {
    struct Row {
        const char* rule;
        Order::Kind kind;  // what it probes: walking up, losing hit points, seeing the hidden
        int32_t value;
        int times;
        bool want;
    };
    constexpr Order::Kind kHold = Order::Kind::HoldGround, kSafe = Order::Kind::Invulnerable,
                          kView = Order::Kind::DebugView;
    constexpr int32_t kFlip = Order::kToggle;
    const Row rows[] = {
        {"holding its ground, a member out of reach stays", kHold, 0, 0, false},
        {"one HoldGround order: it walks up", kHold, 0, 1, true},
        {"a second one: it holds again", kHold, 0, 2, false},
        {"a member loses hit points", kSafe, 0, 0, true},
        {"one Invulnerable order: it loses none", kSafe, 0, 1, false},
        {"a second one: it loses again", kSafe, 0, 2, true},
        {"a close strike does not see the hidden", kView, kFlip, 0, false},
        {"one DebugView toggle: the close strike sees it", kView, kFlip, 1, true},
        {"toggled twice: not seen", kView, kFlip, 2, false},
        {"DebugView 1 turns it on", kView, 1, 1, true},
        {"DebugView 0 turns it off", kView, 0, 1, false},
    };
    Player* member = PlaceMember(1, At(20, 20));
    auto* foe = new Player;
    foe->m_Position = At(22, 20);
    Lay(foe, foe->m_Position);
    party->AddMember(foe);
    fight_test::TestWeapon blade(0, 1);
    member->m_pMeleeWeapon = &blade;
    member->m_pTarget = foe;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        // A new world's switches: holding its ground, vulnerable, nothing hidden seen.
        world.m_bHoldGround = 1;
        world.m_bPartyInvulnerable = 0;
        world.m_bDebugView = 0;
        member->m_iHitPoints = member->m_iMaxHitPoints = 20;
        for (int i = 0; i < r.times; ++i) play.Give(Order::With(r.kind, r.value));
        bool seen = false;
        switch (r.kind) {
            case kHold:
                member->Events().Clear();
                member->MeleeAttack(0, &map);
                seen = member->Events().Count() > 0;
                break;
            case kSafe:
                member->TakeDamage(1, 0);
                seen = member->m_iHitPoints < 20;
                break;
            default:
                member->ResolveHitWith(foe, &blade);
                seen = blade.askedDebugView == 1;
                break;
        }
        EXPECT_EQ(seen, r.want);
    }
    member->m_pMeleeWeapon = nullptr;
}

// The orders the windows and keys give are tested where they are given; here
// what they refuse and what they change beyond their own switch.
TEST_F(PlayOrders, ASwitchOrderSetsWhatItNamesAndAnswersOne) {
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::EndPlay)), 1);
    EXPECT_EQ(play.m_iStartState, 2) << "the frame goes";
    // The new character's figures each to its own: none read for another.
    using A = Play::NewCharacterAttribute;
    for (auto [attribute, figure, value] : {std::tuple{A::kStrength, &Party::NewStrength, 61},
                                            {A::kDexterity, &Party::NewDexterity, 42},
                                            {A::kIntelligence, &Party::NewIntelligence, 70}}) {
        Order order = Order::With(Order::Kind::NewCharacter, value);
        order.name = attribute;
        EXPECT_EQ(play.Give(order), 1) << attribute;
        EXPECT_EQ((play.PartyChoices().*figure)(), value) << attribute;
    }
    Order name = Order::Of(Order::Kind::NewCharacter);
    name.name = A::kDogName;
    name.text = "Rex";
    EXPECT_EQ(play.Give(name), 1);
    EXPECT_EQ(play.PartyChoices().DogName(), "Rex");
    name.name = "Wisdom";
    EXPECT_EQ(play.Give(name), 0) << "no such attribute";
    EXPECT_FALSE(play.PartyChoices().IsNewCharacterPending()) << "only a new game makes it wait";
    // The save window's save keeps to its slots: the quick save's is not one.
    for (int index : {-1, SavedGames::kQuickSlot})
        EXPECT_EQ(play.Give(Order::With(Order::Kind::Save, index)), 0) << index;
    EXPECT_EQ(play.Saves().Slots()[SavedGames::kQuickSlot].inUse, 0);
    // The editor's read of a world without a chooser: cancelled, but without a party.
    play.Saves().SetReloadsWithoutAsking(1);
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::LoadWorld)), 2);
    EXPECT_TRUE(play.Saves().SkipsPlayersFile());
    EXPECT_FALSE(play.Saves().ReloadsWithoutAsking());
}

TEST_F(PlayOrders, AScriptedMoveOrderChangesTheCreaturesMoves) {
    Player* k = PlaceMember(1, At(36, 35));
    struct Row {
        const char* rule;
        int32_t change, line;
        qv::Point cell;
        int answer;
        std::vector<qv::Point> after;
    };
    const Row rows[] = {
        {"a move appended", Editing::kMoveAdd, 0, {40, 41}, 1, {{40, 41}}},
        {"another", Editing::kMoveAdd, 0, {42, 43}, 1, {{40, 41}, {42, 43}}},
        {"the last line changed", Editing::kMoveSet, 1, {44, 45}, 1, {{40, 41}, {44, 45}}},
        {"a line past the last", Editing::kMoveSet, 2, {1, 1}, 0, {{40, 41}, {44, 45}}},
        {"a line before the first", Editing::kMoveDelete, -1, {}, 0, {{40, 41}, {44, 45}}},
        {"the first removed", Editing::kMoveDelete, 0, {}, 1, {{44, 45}}},
        {"no such change", 9, 0, {}, 0, {{44, 45}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Order order = Order::At(Order::Kind::ScriptedMove, Position(r.cell.x, r.cell.y, 0));
        order.object = k;
        order.mode = r.change;
        order.value = r.line;
        EXPECT_EQ(play.Give(order), r.answer);
        std::vector<qv::Point> cells;
        for (const auto& move : k->m_MoveList)
            if (auto* to = qv::DynamicCast<PlayerMoveTo>(move.get()))
                cells.push_back({to->x, to->y});
        EXPECT_EQ(cells, r.after);
    }
    Order stone = Order::Of(Order::Kind::ScriptedMove);
    stone.object = Lay(new Lying, At(37, 35))->m_pObject;
    EXPECT_EQ(play.Give(stone), 0) << "not a creature";
}

// The catalogue's spell list runs from the last added: Shock (0), Heal (1).
TEST_F(PlayOrders, ASpellOrderTeachesOrTakesOneSpellOfTheCatalogue) {
    world.m_Catalogue.Add(CatalogueList::Spells, std::make_unique<Heal>());
    world.m_Catalogue.Add(CatalogueList::Spells, std::make_unique<Shock>());
    const std::string shock = world.m_Catalogue.Get(CatalogueList::Spells)[0]->m_strSpecialName;
    const std::string heal = world.m_Catalogue.Get(CatalogueList::Spells)[1]->m_strSpecialName;
    Player* k = PlaceMember(1, At(36, 35));
    constexpr Order::Kind kLearn = Order::Kind::LearnSpell, kForget = Order::Kind::ForgetSpell;
    struct Row {
        const char* rule;
        Order::Kind kind;
        int32_t index;
        int answer;
        std::vector<std::string> known;
    };
    const Row rows[] = {
        {"the first of the list learnt", kLearn, 0, 1, {shock}},
        {"the last of the list", kLearn, 1, 1, {shock, heal}},
        {"one it knows already", kLearn, 0, 0, {shock, heal}},
        {"past the list's end", kLearn, 2, 0, {shock, heal}},
        {"before its start", kLearn, -1, 0, {shock, heal}},
        {"the first known forgotten", kForget, 0, 1, {heal}},
        {"past the known ones", kForget, 1, 0, {heal}},
        {"the last known forgotten", kForget, 0, 1, {}},
        {"nothing left to forget", kForget, 0, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Order order = Order::With(r.kind, r.index);
        order.object = k;
        EXPECT_EQ(play.Give(order), r.answer);
        std::vector<std::string> known, usable;
        if (k->m_pMagic)
            for (const auto& spell : k->m_pMagic->m_SpellList)
                known.push_back(spell->m_strSpecialName);
        for (const auto& thing : k->m_UsableList) usable.push_back(thing->m_strSpecialName);
        EXPECT_EQ(known, r.known);
        EXPECT_EQ(usable, r.known) << "it can cast what it knows";
    }
    Order stone = Order::With(kLearn, 0);
    stone.object = Lay(new Lying, At(37, 35))->m_pObject;
    EXPECT_EQ(play.Give(stone), 0) << "not a creature";
}

TEST_F(PlayOrders, TheCreatureSheetsOrdersLeaveTheCreatureAsItsOwnReadingOfThePages) {
    struct Row {
        const char* rule;
        std::function<void(PlayerPropertyPages&)> edit;
    };
    const Row rows[] = {
        {"nothing changed: a magic that knows nothing goes", [](PlayerPropertyPages&) {}},
        {"figures, names and exact experience",
         [](PlayerPropertyPages& p) {
             p.specialName = "Oswin";
             p.hitPoints = 17;
             p.strength = 33;
             p.messageNode = "GREET";
             p.experience = {0.1, 1e-300, 12345.678901234567};
             p.combat[5] = 2;
             p.stay = 1;
         }},
        {"a skill and mana: the magic stays with its mana",
         [](PlayerPropertyPages& p) {
             p.skills = {0.0f, 2.5f, 0.0f, 0.1f};
             p.mana = 30;
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::unique_ptr<Player> read(new Player), ordered(new Player);
        PlayerPropertyPages pages;
        read->FillPropertyPages(pages);
        ordered->FillPropertyPages(pages);
        r.edit(pages);
        read->ReadPropertyPages(pages);
        for (const Order& order : Editing::CreatureSheetOrders(ordered.get(), pages))
            EXPECT_EQ(play.Give(order), 1) << order.name;
        EXPECT_EQ(record_test::StoreObject(*ordered), record_test::StoreObject(*read));
    }
    Order bad = Order::Of(Order::Kind::SetProperty);
    std::unique_ptr<Player> k(new Player);
    bad.object = k.get();
    for (auto [name, text] :
         {std::pair{"Spells", "1 2 3"}, {"Experience", "1 2 3 4"}, {"Hair", "1 2 3"}}) {
        bad.name = name;
        bad.text = text;
        EXPECT_EQ(play.Give(bad), 0) << name << ": too few, too many, no colours";
    }
}
