// Mouse and keyboard input fed through the message loop to a stepped headless
// game: right-click walk orders in the view and on the mini-map, the pause
// while the right button is held, Tab picking, Space and X, the hold-ground
// switch, Esc, cancelled target selections and the keys that select members
// and flip switches.

#include <optional>
#include <utility>

#include "../world/MapFixture.h"
#include "LoopFixture.h"
#include "media/DDWnd.h"
#include "media/MouseCursor.h"
#include "play/OrderNumbers.h"
#include "structures/Walls.h"
#include "world/Global.h"
#include "world/KeyStorage.h"

using namespace looptest;

namespace {

// A thing that can be acted on, with a picture of the test's own.
class Thing : public Object {
public:
    Thing(CDDObject* image, const std::string& name) : Object(name), m_image(image) {
        m_iLightSampling = 1;
    }
    CDDObject* GetImage() override { return m_image; }
    int CanInteract() override { return m_interact; }
    // As a pending use it takes any target.
    int IsValidTarget(Object*) override { return 1; }
    CDDObject* m_image;
    int m_interact = 1;
};

// A window of the in-game kind that closes on Esc, as the frame's open
// conversation window.
class TalkWindow : public CDDWnd {
public:
    explicit TalkWindow(CMainFrame* frame) : m_frame(frame) {}
    void OnKeyDown(int vk) override {
        keys.push_back(vk);
        if (vk == qv::VK_ESCAPE) m_frame->m_pGameWindows->Open().m_pTalkWnd = nullptr;
    }
    CMainFrame* m_frame;
    std::vector<int> keys;
};

class Input : public LoopFixture {
protected:
    Input() {
        SetMouseCursor(std::make_unique<CMouseCursor>(std::array<CDDObject*, 9>{}));
        frame->m_ptCursor = {600, 450};  // off the view: nothing hovered
        qv::MessageLoop::Instance().SetMainHandler(frame.get());
        Start();
        focus = Position(frame->m_World.m_ptFocus.x, frame->m_World.m_ptFocus.y, 0);
        picture = maptest::MakeImage(20, 20, 10, 10, [](int, int) { return maptest::kSolid; });
    }
    ~Input() override { SetMouseCursor(nullptr); }

    // The party: a leader at `at`, in slot 0 and controlled.
    Player* AddLeader(Position at) {
        auto* leader = new maptest::Pictured<Player>;
        leader->image = picture.get();
        leader->SetName("Leader");
        leader->m_iPartySlot = -1;  // the leader's own mark
        NewGroup()->AddMember(leader);
        auto* holder = new ObjectHolder(at, leader);
        EXPECT_EQ(map->AddHolder(at, holder), 1);
        World& w = frame->m_World;
        w.m_pLeader = leader;
        w.m_pControlPlayer = leader;
        w.m_Party[0] = leader;
        return leader;
    }
    ObjectHolder* Place(Position at, const std::string& name) {
        auto* holder = new ObjectHolder(at, new Thing(picture.get(), name));
        EXPECT_EQ(map->AddHolder(at, holder), 1);
        return holder;
    }
    // The client point where a world point is drawn (its picture's middle).
    qv::Point Over(const Position& p) const {
        const int dx = p.x - focus.x, dy = p.y - focus.y;
        return {kCx + dx - dy, kCy + dy};
    }
    void Send(const qv::Event& e) {
        qv::MessageLoop::Instance().Inject(e);
        qv::MessageLoop::Instance().PumpAll();
    }
    void Press(int vk) {
        Send(qv::Event::Key(true, vk));
        Send(qv::Event::Key(false, vk));
    }
    void Mouse(qv::EventKind kind, qv::Point p) { Send(qv::Event::Mouse(kind, p.x, p.y)); }
    void MoveTo(qv::Point p) {
        Mouse(qv::EventKind::MouseMove, p);
        Ticks(1);
    }
    void RightClick(qv::Point p) {
        Mouse(qv::EventKind::RButtonDown, p);
        Mouse(qv::EventKind::RButtonUp, p);
    }

    static constexpr int kCx = 3 + 268, kCy = 3 + 179;  // the focus on the screen
    Position focus;
    std::unique_ptr<CDDObject> picture;
};

// An order as the table below writes it: its kind, value, actor, target
// and point.
std::string Said(const Order& o) {
    std::string s = std::to_string(static_cast<int>(o.kind)) + " " + std::to_string(o.value);
    if (Player* actor = o.actor.Get()) s += " by " + actor->m_strSpecialName;
    if (ObjectHolder* t = o.target.Get()) s += " on " + t->m_pObject->m_strSpecialName;
    if (o.hasPoint) s += " at " + std::to_string(o.point.x) + "," + std::to_string(o.point.y);
    return s;
}

using Events = std::vector<qv::Event>;
// A press of the right (or left) button at `at`, let go at `to` (else there).
Events Click(bool right, qv::Point at, std::optional<qv::Point> to = std::nullopt) {
    using E = qv::EventKind;
    const qv::Point up = to.value_or(at);
    return {qv::Event::Mouse(right ? E::RButtonDown : E::LButtonDown, at.x, at.y),
            qv::Event::Mouse(right ? E::RButtonUp : E::LButtonUp, up.x, up.y)};
}

TEST_F(Input, EachEventGivesItsOrders) {
    using K = Order::Kind;
    Player* leader = AddLeader(focus);
    auto* member = new maptest::Pictured<Player>;
    member->image = picture.get();
    member->SetName("Friend");
    leader->m_pGroup->AddMember(member);
    leader->SetPlayerNumber(1);  // a recorded order names a creature by its number
    member->SetPlayerNumber(2);
    member->m_iPartySlot = 1;
    frame->m_World.m_Party[1] = member;
    Position memberAt(focus.x + 100, focus.y, 0);
    ASSERT_EQ(map->AddHolder(memberAt, new ObjectHolder(memberAt, member)), 1);
    ObjectHolder* barrel = Place(Position(focus.x + 60, focus.y - 40, 0), "Barrel");
    auto with = [](K kind, int value = 0) { return Order::With(kind, value); };
    const Order p1 = with(K::Pause, 1), p0 = with(K::Pause, 0);
    const Order flip = with(K::Pause, Order::kToggle), hold = with(K::HoldGround);
    Order select = with(K::Select), selectMember = select;
    select.actor = leader;
    selectMember.actor = member;
    // What is set besides the leader, controlled, with nothing hovered.
    enum { kBarrel = 1, kMember = 2, kLocked = 4, kTalking = 8, kNoLeader = 16, kBuild = 32 };
    enum { kPicking = 64, kTabbing = 128, kQuantity = 256 };
    const bool R = true, L = false;  // the right or left button

    // The mini-map's picture point (20 - 3, 11 - 2) from its corner reads
    // (20, 11): window cell (10, 5); the walk is to a cell's centre. On the
    // edge of the picture (0 or 102 across, 0 or 96 down) a click counts for
    // nothing. View point (268 + 40, 179 + 20) is the world point focus +
    // (40 + 20, 20).
    const qv::Point m = frame->m_View.m_ptMinimapOrigin;
    const CellPoint o = map->origin;
    auto cell = [&](int x, int y) {
        return Order::At(K::WalkTo, Position((o.x + x) * 160 + 80, (o.y + y) * 112 + 56, 0));
    };
    const Order walk = Order::At(K::WalkTo, Position(focus.x + 60, focus.y + 20, 0));
    const qv::Rect& button = frame->m_rcHoldGroundButton;
    const qv::Point v{kCx + 150, kCy};
    const auto dbl = qv::Event::Mouse(qv::EventKind::LButtonDblClk, v.x, v.y);
    auto key = [](int vk, bool down = true) { return qv::Event::Key(down, vk); };
    auto Keys = [&](int vk) { return Events{key(vk), key(vk, false)}; };
    auto command = [](int id) { return Events{qv::Event::Command(id)}; };
    struct Row {
        Row(const char* w, int s, Events e, std::vector<Order> o)
            : what(w), state(s), events(std::move(e)), orders(std::move(o)) {}
        const char* what;
        int state;
        Events events;
        std::vector<Order> orders;
    };
    const Row rows[] = {
        Row("the right button pauses while held and walks to the point let go over", 0,
            Click(R, {kCx + 100, kCy + 60}, qv::Point{kCx + 40, kCy + 20}), {p1, p0, walk}),
        Row("a mini-map click: the cell's centre", 0, Click(R, {m.x + 17, m.y + 9}),
            {p1, p0, cell(10, 5)}),
        Row("another point of the same cell", 0, Click(R, {m.x + 18, m.y + 8}),
            {p1, p0, cell(10, 5)}),
        Row("the mini-map's far corner", 0, Click(R, {m.x + 98, m.y + 93}), {p1, p0, cell(50, 47)}),
        Row("its left edge", 0, Click(R, {m.x - 3, m.y + 10}), {p1, p0}),
        Row("its right edge", 0, Click(R, {m.x + 99, m.y + 10}), {p1, p0}),
        Row("its top edge", 0, Click(R, {m.x + 20, m.y - 2}), {p1, p0}),
        Row("its bottom edge", 0, Click(R, {m.x + 20, m.y + 94}), {p1, p0}),
        Row("no leader: no walk, the pause ends on release", kNoLeader, Click(R, v), {p1, p0}),
        Row("a conversation starting blocks the right button", kTalking, Click(R, v), {}),
        Row("so does the input lock", kLocked, Click(R, v), {}),
        Row("a right click on a thing goes to it", kBarrel, Click(R, v),
            {p1, p0, Order::On(K::Interact, barrel)}),
        Row("X with nothing hovered: nothing", 0, Keys('X'), {}),
        Row("Space with nothing hovered flips the pause", 0, Keys(qv::VK_SPACE), {flip}),
        Row("P flips it too", 0, Keys('P'), {flip}),
        Row("Space with a thing hovered targets it and flips the pause", kBarrel,
            Keys(qv::VK_SPACE), {Order::On(K::Target, barrel), flip}),
        Row("X with a thing hovered does the same", kBarrel, Keys('X'),
            {Order::On(K::Target, barrel), flip}),
        Row("Space under the input lock: the pause only", kBarrel | kLocked, Keys(qv::VK_SPACE),
            {flip}),
        Row("X under the input lock: nothing", kBarrel | kLocked, Keys('X'), {}),
        Row("the hold-ground button flips the switch; outside the view no scroll starts", 0,
            Click(L, {button.left + 5, button.top + 5}), {hold, with(K::ShiftFlags)}),
        Row("just outside the button: nothing", 0,
            {qv::Event::Mouse(qv::EventKind::LButtonDown, button.right, button.bottom)}, {}),
        Row("Enter flips the switch", 0, Keys(qv::VK_RETURN), {hold}),
        Row("so does a line feed", 0, Keys(qv::VK_LINEFEED), {hold}),
        Row("a press in the view stops the party; the let-go clears the Shift flags", 0,
            Click(L, v), {with(K::Stop), with(K::ShiftFlags)}),
        Row("a double click stops it with the Shift flags set until let go", 0,
            {Click(L, v)[0], Click(L, v)[1], dbl, Click(L, v)[1]},
            {with(K::Stop), with(K::ShiftFlags), with(K::Stop, 1), with(K::ShiftFlags)}),
        Row("a click on a party member selects it, no scroll", kMember, Click(L, Over(memberAt)),
            {selectMember, with(K::ShiftFlags)}),
        Row("key 1 selects slot 0", 0, Keys('1'), {select}),
        Row("key 3: an empty slot, nothing", 0, Keys('3'), {}),
        Row("key 2 selects slot 1", 0, Keys('2'), {selectMember}),
        Row("Shift sets the party's Shift flags until let go", 0, Keys(qv::VK_SHIFT),
            {with(K::ShiftFlags, 1), with(K::ShiftFlags)}),
        Row("F3 alone: nothing", 0, Keys(qv::VK_F3), {}),
        Row("F3 with Ctrl held flips the invulnerable switch", 0,
            {key(qv::VK_CONTROL), key(qv::VK_F3), key(qv::VK_CONTROL, false), key(qv::VK_F3)},
            {with(K::Invulnerable)}),
        Row("F2 outside build mode: nothing", 0, Keys(qv::VK_F2), {}),
        Row("F2 in build mode flips the debug view", kBuild, Keys(qv::VK_F2),
            {with(K::DebugView, Order::kToggle)}),
        Row("the pause command flips the pause", 0, command(32788), {flip}),
        Row("the select-mode command picks tokens", 0, command(32799), {with(K::SelectMode, 1)}),
        Row("and ends a selection", kPicking, command(32799), {with(K::SelectMode)}),
        Row("the talk command ends the editor's check", 0, command(32793), {with(K::Editing)}),
        Row("Esc while the quantity window is up: nothing", kTabbing | kQuantity,
            Keys(qv::VK_ESCAPE), {}),
        Row("Esc while Tab picks flips the pause", kTabbing, Keys(qv::VK_ESCAPE), {flip}),
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        World& w = frame->m_World;
        w.m_pLeader = r.state & kNoLeader ? nullptr : leader;
        w.m_pControlPlayer = leader;
        w.m_pHoverHolder = r.state & kBarrel   ? barrel
                           : r.state & kMember ? member->m_pHolder
                                               : nullptr;
        leader->m_iTalkState = r.state & kTalking ? 0 : -1;
        frame->m_Play.Give(Order::With(Order::Kind::InputLock, (r.state & kLocked) != 0));
        frame->m_Play.Interacting().SetSelectMode((r.state & kPicking) != 0);
        frame->m_Play.m_bPaused = (r.state & kTabbing) != 0;
        frame->m_Play.Interacting().SetTabTarget((r.state & kTabbing) != 0);
        frame->m_Play.Interacting().SetQuantityUp((r.state & kQuantity) != 0);
        frame->m_bBuildMode = (r.state & kBuild) != 0;
        std::vector<TimedOrder> given;
        frame->m_Play.m_pRecording = &given;
        for (const qv::Event& e : r.events) Send(e);
        frame->m_Play.m_pRecording = nullptr;
        std::vector<std::string> said, want;
        for (TimedOrder& t : given) {
            FindNumberedThings(frame->m_Play, t.order);  // a recording names things by numbers
            said.push_back(Said(t.order));
        }
        for (const Order& order : r.orders) want.push_back(Said(order));
        EXPECT_EQ(said, want);
    }
}

TEST_F(Input, HoldingTheRightButtonPausesAndLettingGoOverEmptyGroundWalksThere) {
    Player* leader = AddLeader(focus);
    frame->m_Play.m_iPauseBudget = Play::kPauseBankMax;
    Mouse(qv::EventKind::RButtonDown, {kCx + 100, kCy + 60});
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_TRUE(frame->m_bRightPause);
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), frame.get());
    const int32_t held = frame->m_World.m_iGameTime;
    Ticks(5);
    EXPECT_EQ(frame->m_World.m_iGameTime, held) << "the world stands still while it is held";

    // Let go elsewhere: the walk is for the release point.
    Mouse(qv::EventKind::MouseMove, {kCx + 40, kCy + 20});
    Mouse(qv::EventKind::RButtonUp, {kCx + 40, kCy + 20});
    EXPECT_FALSE(frame->m_Play.m_bPaused);
    EXPECT_FALSE(frame->m_bRightPause);
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), nullptr);
    ASSERT_NE(leader->m_pPlayerSet, nullptr);
    EXPECT_EQ(leader->m_pPlayerSet->m_pObject, nullptr) << "a bare point";

    // The walk arrives: the leader reaches the point and leaves its set.
    for (int i = 0; i < 200 && leader->m_pPlayerSet; ++i) Ticks(1);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
    // It stops once within the touching distance (squared 200).
    const int64_t dx = leader->m_Position.x - (focus.x + 60);
    const int64_t dy = leader->m_Position.y - (focus.y + 20);
    EXPECT_LT(dx * dx + dy * dy, 200);
}

TEST_F(Input, InAFightARightClickedOutsiderBecomesTheTargetAndAPartyMemberIsNeverAttacked) {
    Player* leader = AddLeader(focus);
    auto* foe = new maptest::Pictured<Player>;
    foe->image = picture.get();
    foe->SetName("Wolf");
    NewGroup()->AddMember(foe);
    Position at(focus.x + 100, focus.y + 30, 0);
    auto* holder = new ObjectHolder(at, foe);
    ASSERT_EQ(map->AddHolder(at, holder), 1);
    leader->m_Opponents.push_back(foe);
    MoveTo(Over(at));
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), holder);

    // One with something to say is left alone.
    foe->m_strMessageNode = "GREET";
    RightClick(Over(at));
    EXPECT_EQ(leader->m_pTarget.Get(), nullptr);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
    // A party member is never made the target.
    foe->m_strMessageNode = "HELLO";
    foe->m_iPartySlot = 2;
    RightClick(Over(at));
    EXPECT_EQ(leader->m_pTarget.Get(), nullptr);
    // An outsider: the target, and the member is ordered to attack it at
    // once, keeping no set behind.
    foe->m_iPartySlot = 0;
    RightClick(Over(at));
    EXPECT_EQ(leader->m_pTarget.Get(), foe);
    ASSERT_NE(leader->m_pOrder, nullptr);
    EXPECT_EQ(leader->m_pOrder->m_iType, ObjectEventType::ATTACK);
    EXPECT_EQ(leader->m_pOrder->m_pObject.Get(), foe);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
    // With a ranged weapon readied it shoots from where it stands.
    leader->m_pTarget = nullptr;
    *leader->m_pOrder = ObjectEvent();
    Thing bow(picture.get(), "Bow");
    leader->m_pRangedWeapon = &bow;
    RightClick(Over(at));
    EXPECT_EQ(leader->m_pTarget.Get(), foe);
    EXPECT_NE(leader->m_pOrder->m_iType, ObjectEventType::ATTACK) << "no order given";
    leader->m_pRangedWeapon = nullptr;
}

TEST_F(Input, TabCyclesTheThingsInViewRowByRowThenClearsTheTargetAndEndsThePause) {
    Player* leader = AddLeader(focus);
    // Rows from the top, columns from the left: b (row -1, column -2),
    // a (row -1, column +1), the leader (row 0), c (row +2). Placed out of
    // that order; one too far east and one that cannot be acted on are left out.
    ObjectHolder* c = Place(Position(focus.x, focus.y + 2 * 112, 0), "c");
    ObjectHolder* a = Place(Position(focus.x + 160, focus.y - 112, 0), "a");
    ObjectHolder* b = Place(Position(focus.x - 2 * 160, focus.y - 112, 0), "b");
    Place(Position(focus.x + 4 * 160, focus.y, 0), "far");
    static_cast<Thing*>(Place(Position(focus.x - 160, focus.y + 112, 0), "mute")->m_pObject)
        ->m_interact = 0;
    ObjectHolder* self = leader->m_pHolder;
    Ticks(1);
    frame->m_Play.m_iPauseBudget = Play::kPauseBankMax;  // the pause lasts

    Press(qv::VK_TAB);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_TRUE(frame->m_Play.Interacting().IsTabTarget());
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), b);
    EXPECT_EQ(frame->m_strMessageLine, "b");
    Ticks(2);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), b) << "the ticks keep the picked target";
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), a);
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), self);
    EXPECT_EQ(frame->m_strMessageLine,
              "Leader\nHP: " + std::to_string(leader->m_iHitPoints) + "/" +
                  std::to_string(leader->m_iMaxHitPoints) +
                  "\nAlertness: " + std::to_string(leader->m_iAlertness / 10));
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), c);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
    EXPECT_FALSE(frame->m_Play.m_bPaused);
    EXPECT_FALSE(frame->m_Play.Interacting().IsTabTarget());
    EXPECT_EQ(frame->m_strMessageLine, "");
    // And round again from the first.
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), b);
}

TEST_F(Input, InAFightTabPicksOnlyTheLeadersOpponents) {
    Player* leader = AddLeader(focus);
    Place(Position(focus.x - 160, focus.y - 112, 0), "crate");
    auto* foe = new maptest::Pictured<Player>;
    foe->image = picture.get();
    NewGroup()->AddMember(foe);
    Position at(focus.x + 160, focus.y + 112, 0);
    auto* holder = new ObjectHolder(at, foe);
    ASSERT_EQ(map->AddHolder(at, holder), 1);
    leader->m_Opponents.push_back(foe);
    Ticks(1);
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), holder);
    Press(qv::VK_TAB);
    EXPECT_EQ(frame->m_World.m_pHoverHolder.Get(), nullptr);
}

TEST_F(Input, PressingInTheViewStopsThePartyAndLettingGoEndsTheScroll) {
    Player* leader = AddLeader(focus);
    leader->JoinPlayerSet(Place(Position(focus.x + 300, focus.y, 0), "far"));
    Mouse(qv::EventKind::LButtonDown, {kCx + 150, kCy});
    EXPECT_TRUE(frame->m_bLeftHeld);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), frame.get());
    Ticks(3);
    EXPECT_EQ(frame->m_iButtonHeldTime, 300);
    Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    EXPECT_FALSE(frame->m_bLeftHeld);
    EXPECT_EQ(frame->m_iButtonHeldTime, 0);
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), nullptr);

    // A double click holds too and sets the Shift flags until let go: down,
    // up, double-click, up.
    Mouse(qv::EventKind::LButtonDown, {kCx + 150, kCy});
    Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    Mouse(qv::EventKind::LButtonDblClk, {kCx + 150, kCy});
    EXPECT_TRUE(frame->m_bLeftHeld);
    Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    EXPECT_FALSE(frame->m_bLeftHeld);
}

TEST_F(Input, ACancelledTargetSelectionDropsThePendingUse) {
    Player* leader = AddLeader(focus);
    Thing potion(picture.get(), "Potion");
    auto pending = [&](int mode) {
        frame->m_Play.Interacting().SetPendingItem(&potion);
        frame->m_Play.Interacting().SetPendingItemUser(leader);
        frame->m_Play.Interacting().SetSelectMode(mode);
        frame->m_Play.m_bPaused = 1;
    };
    auto dropped = [&] {
        return !frame->m_Play.Interacting().PendingItem() &&
               !frame->m_Play.Interacting().PendingItemUser() &&
               !frame->m_Play.Interacting().SelectMode() && !frame->m_Play.m_bPaused;
    };
    // Right button in select modes 1 and 2: the press is not taken, the
    // release cancels.
    for (int mode : {1, 2}) {
        pending(mode);
        Mouse(qv::EventKind::RButtonDown, {kCx + 40, kCy});
        EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), nullptr);
        Mouse(qv::EventKind::RButtonUp, {kCx + 40, kCy});
        EXPECT_TRUE(dropped()) << "mode " << mode;
        EXPECT_EQ(leader->m_pPlayerSet, nullptr) << "a cancel gives no walk order";
    }
    // A potion's mode: the press pauses and captures, the release cancels.
    pending(3);
    Mouse(qv::EventKind::RButtonDown, {kCx + 40, kCy});
    Mouse(qv::EventKind::RButtonUp, {kCx + 40, kCy});
    EXPECT_TRUE(dropped());
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), nullptr);
    EXPECT_EQ(frame->m_nCursorID, CMainFrame::kCursorNormal);
    // Esc in select mode 1 cancels and empties the text line.
    pending(1);
    SetMessageLine("Use Potion on...");
    Press(qv::VK_ESCAPE);
    EXPECT_TRUE(dropped());
    EXPECT_EQ(frame->m_strMessageLine, "");

    // A target clicked keeps the use for the walk there; the mode ends.
    Position at(focus.x + 60, focus.y - 40, 0);
    ObjectHolder* barrel = Place(at, "Barrel");
    pending(1);
    MoveTo(Over(at));
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), barrel);
    EXPECT_EQ(frame->m_nCursorID, CMainFrame::kCursorTarget);
    Mouse(qv::EventKind::LButtonDown, Over(at));
    EXPECT_EQ(leader->m_pPlayerSet, barrel);
    EXPECT_EQ(frame->m_Play.Interacting().SelectMode(), 0);
    EXPECT_FALSE(frame->m_Play.m_bPaused);
    EXPECT_EQ(frame->m_Play.Interacting().PendingItem().Get(), &potion);
    EXPECT_EQ(frame->m_nCursorID, CMainFrame::kCursorNormal);
    Mouse(qv::EventKind::LButtonUp, Over(at));
    frame->m_Play.Interacting().SetPendingItem(nullptr);
    frame->m_Play.Interacting().SetPendingItemUser(nullptr);
}

TEST_F(Input, EscGoesToTheTopmostWindowFirst) {
    AddLeader(focus);
    TalkWindow* talk = new TalkWindow(frame.get());
    frame->m_pGameWindows->Open().m_pTalkWnd = talk;
    // A message popped up over the conversation takes the first Esc itself.
    CMessageWnd message("Hello.", CMessageWnd::Buttons::Ok);
    qv::MessageLoop::Instance().Inject(qv::Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(message.Popup(), CMessageWnd::kIdOk);
    EXPECT_TRUE(talk->keys.empty());
    // The next one reaches the conversation window through the frame.
    Press(qv::VK_ESCAPE);
    EXPECT_EQ(talk->keys, std::vector<int>{qv::VK_ESCAPE});
    EXPECT_EQ(frame->m_pGameWindows->Open().m_pTalkWnd, nullptr);
    delete talk;
}

TEST_F(Input, KeysAndCommandsFlipTheFramesSwitches) {
    AddLeader(focus);
    frame->m_bBuildMode = 1;
    Press(qv::VK_F2);
    EXPECT_TRUE(frame->m_bDebugLight);
    EXPECT_TRUE(frame->m_World.m_bDebugView);

    // The menu commands.
    Send(qv::Event::Command(32788));
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    Send(qv::Event::Command(32799));
    Send(qv::Event::Command(32788));
    EXPECT_TRUE(frame->m_Play.m_bPaused) << "no pause flip while a target is picked";
    frame->m_Play.Editor().SetEditing(true);
    Send(qv::Event::Command(32793));
    EXPECT_TRUE(frame->m_bTalkMode);
    EXPECT_FALSE(frame->m_Play.IsEditing());
    Send(qv::Event::Command(32796));
    EXPECT_TRUE(frame->m_bTradeMode);
    EXPECT_FALSE(frame->m_bTalkMode);
    Send(qv::Event::Command(32776));
    EXPECT_TRUE(frame->m_bStatsMode);
    EXPECT_FALSE(frame->m_bTradeMode);
    Send(qv::Event::Command(32787));
    EXPECT_TRUE(frame->m_bStatsMode) << "32787 does nothing";
}

TEST_F(Input, CancellingTheMouseScrollKeepsOrSetsTheInputLock) {
    Player* leader = AddLeader(focus);
    auto* talker = new Player;
    NewGroup()->AddMember(talker);
    Position near(focus.x + 100, focus.y, 0);
    ASSERT_EQ(map->AddHolder(near, new ObjectHolder(near, talker)), 1);
    frame->m_Play.Talks().InstallConversation([](Player*, Player*, const std::string&) {});
    frame->EndScrollWhenTalking();
    enum How { kKeep, kCancel, kTalkerComes, kConversation };
    const struct Row {
        const char* what;
        How how;
        int held, lock;
    } rows[] = {{"kept", kKeep, 1, 0},
                {"cancelled", kCancel, 0, 1},
                {"a creature comes over to talk", kTalkerComes, 0, 1},
                {"a conversation opens: the lock stays the conversation's", kConversation, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        frame->m_Play.Give(Order::With(Order::Kind::InputLock, 0));
        frame->m_bTalkArrival = 0;
        Mouse(qv::EventKind::LButtonDown, {kCx + 150, kCy});
        frame->m_iTickStep = 1000;
        talker->m_iActionOption = ActionOption::Talk;
        if (r.how == kTalkerComes)
            EXPECT_EQ(leader->CheckEncounter(talker), 1);
        else if (r.how == kConversation)
            EXPECT_TRUE(frame->m_Play.OpenConversation(talker, "GREET"));
        else
            frame->CancelMouseScroll(r.how == kKeep);
        EXPECT_EQ(frame->m_bLeftHeld, r.held);
        EXPECT_EQ(frame->m_iTickStep, r.held ? 1000 : 100);
        EXPECT_EQ(frame->m_Play.IsInputLocked(), r.lock);
        EXPECT_EQ(frame->m_bTalkArrival, r.how == kTalkerComes);
        EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), r.held ? frame.get() : nullptr);
        Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    }
}

}  // namespace

namespace {

TEST_F(Input, CombatModeTurnsTheLeadersGroupHostileOrPeaceful) {
    frame->m_Play.SetCombatMode(1);
    EXPECT_FALSE(frame->m_Play.PartyChoices().InCombat()) << "nothing without a leader";
    Player* leader = AddLeader(focus);
    auto* second = new Player;
    leader->m_pGroup->AddMember(second);
    frame->m_Play.m_iMusicTime = 4000;
    frame->m_Play.SetCombatMode(1);
    EXPECT_TRUE(frame->m_Play.PartyChoices().InCombat());
    EXPECT_EQ(leader->m_iHostileMode, 1);
    EXPECT_EQ(second->m_iHostileMode, 1);
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 0);
    frame->m_Play.SetCombatMode(0);
    EXPECT_FALSE(frame->m_Play.PartyChoices().InCombat());
    EXPECT_EQ(second->m_iHostileMode, 0);
    // The flag follows the group as it turns, and goes down with the land's
    // tune once the leader's fight is over and no one of the group fights.
    leader->m_pGroup->SetHostileMode(1, nullptr);
    frame->m_Play.m_iMusicTime = 4000;
    for (Player* calm : {leader, second}) {
        calm->m_iHostileMode = 0;
        leader->Think(1000, nullptr);
        EXPECT_EQ(frame->m_Play.PartyChoices().InCombat(), calm == leader)
            << "not while another fights";
    }
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 0);
}

TEST_F(Input, CarryingAnObjectPausesAndDropsThePendingUseUntilItEnds) {
    Player* leader = AddLeader(focus);
    ObjectHolder* chest = Place(Position(focus.x + 100, focus.y, 0), "Chest");
    ObjectHolder* lamp = Place(Position(focus.x - 100, focus.y, 0), "Lamp");
    leader->JoinPlayerSet(chest);
    Thing scroll(picture.get(), "Scroll");
    frame->m_Play.Interacting().SetPendingItem(&scroll);
    frame->m_Play.Interacting().SetPendingItemUser(leader);
    frame->m_Play.Interacting().SetSelectMode(3);
    frame->m_bLeftHeld = 1;
    frame->SetDragObject(lamp);
    EXPECT_EQ(frame->m_Play.Interacting().DragHolder().Get(), lamp);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_EQ(frame->m_Play.Interacting().SelectMode(), 0);
    EXPECT_EQ(frame->m_Play.Interacting().PendingItem().Get(), nullptr);
    EXPECT_EQ(frame->m_Play.Interacting().PendingItemUser().Get(), nullptr);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
    EXPECT_FALSE(frame->m_bLeftHeld);
    // While it is carried the left button does not end it.
    Mouse(qv::EventKind::LButtonUp, {kCx, kCy});
    EXPECT_EQ(frame->m_Play.Interacting().DragHolder().Get(), lamp);
    frame->SetDragObject(nullptr);
    EXPECT_EQ(frame->m_Play.Interacting().DragHolder().Get(), nullptr);
    EXPECT_FALSE(frame->m_Play.m_bPaused);
}

}  // namespace

namespace {

TEST_F(Input, InTheEditorAPlacedObjectIsDraggedByThePictureAndDroppedInTheView) {
    frame->m_bBuildMode = 1;
    frame->m_Play.Editor().SetEditing(true);
    Position at(focus.x + 60, focus.y - 40, 0);
    ObjectHolder* barrel = Place(at, "Barrel");
    MoveTo(Over(at));
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), barrel);
    // Dragged 30 right and 10 down on the screen: the world point moves by
    // (30 + 10, 10).
    const qv::Point from = Over(at);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDown, from.x, from.y));
    loop.Inject(qv::Event::Mouse(qv::EventKind::MouseMove, from.x + 12, from.y + 3));
    Mouse(qv::EventKind::LButtonUp, {from.x + 30, from.y + 10});
    EXPECT_EQ(barrel->pos, Position(at.x + 40, at.y + 10, 0));
    CellPoint wc;
    ASSERT_TRUE(map->WindowCellOf(barrel->pos, wc));
    EXPECT_TRUE(map->GetCell(wc.x, wc.y).holders.Find(barrel)) << "listed where it stands now";

    // Esc during the drag cancels it; a drop outside the view, over no list
    // of things, deletes it and takes it out of its key record.
    const Position still = barrel->pos;
    MoveTo(Over(still));
    loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDown, Over(still).x, Over(still).y));
    Send(qv::Event::Key(true, qv::VK_ESCAPE));
    EXPECT_EQ(barrel->pos, still);
    barrel->m_pObject->m_iItemNum = 4;
    frame->m_World.AddToKeyStorage(barrel->m_pObject);
    ASSERT_EQ(frame->m_World.m_KeyStorageList.back()->m_ObjectList.size(), 1u);
    const qv::Handle<ObjectHolder> dropped(barrel);
    loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDown, Over(still).x, Over(still).y));
    Mouse(qv::EventKind::LButtonUp, {600, 450});
    EXPECT_EQ(dropped.Get(), nullptr);
    EXPECT_TRUE(frame->m_World.m_KeyStorageList.back()->m_ObjectList.empty());
}

}  // namespace

namespace {

TEST_F(Input, ARightClickOnADoorSendsTheMemberThereAndOpensIt) {
    Player* leader = AddLeader(focus);
    auto* door = new maptest::Pictured<FrontDoorBrick>();
    door->image = picture.get();
    door->m_iItemNum = 3;
    door->m_iState = Wall::kDoorClosed;
    ObjectHolder* h = frame->m_Play.PlaceObjectAt(door, Position(focus.x + 100, focus.y + 30, 0));
    ASSERT_NE(h, nullptr);
    MoveTo(Over(h->pos));
    ASSERT_EQ(frame->m_World.m_pHoverHolder.Get(), h);
    EXPECT_EQ(frame->m_strMessageLine, "Door");
    RightClick(Over(h->pos));
    EXPECT_EQ(leader->m_pPlayerSet, h) << "too far to open at once: it walks";
    EXPECT_EQ(door->m_iState, Wall::kDoorClosed);
    MoveTo({600, 450});
    for (int i = 0; i < 300 && door->m_iState != Wall::kDoorOpen; ++i) Ticks(1);
    EXPECT_EQ(door->m_iState, Wall::kDoorOpen);
    EXPECT_EQ(leader->m_pPlayerSet, nullptr);
}

}  // namespace

namespace {

TEST_F(Input, EscClosesAnOpenContainerAndThenTheWorldGoesOn) {
    AddLeader(focus);
    Thing chest(picture.get(), "Chest");
    frame->m_Play.OpenContainer(&chest);
    ASSERT_TRUE(frame->m_Play.Interacting().IsContainerOpen());
    const int32_t before = frame->m_World.m_iGameTime;
    Ticks(2);
    EXPECT_EQ(frame->m_World.m_iGameTime, before) << "the world stands still while it is up";
    Press(qv::VK_ESCAPE);
    EXPECT_FALSE(frame->m_Play.Interacting().IsContainerOpen());
    EXPECT_EQ(frame->m_Play.Interacting().ShownContainer().Get(), nullptr);
    Ticks(2);
    EXPECT_EQ(frame->m_World.m_iGameTime, before + 200);
}

}  // namespace

namespace {

TEST_F(Input, AKeyDuringTheIntroOnlyStopsItAndEscInPlayBringsUpTheOptions) {
    AddLeader(focus);
    frame->m_Start.m_bIntroPlaying = true;
    Press(qv::VK_SPACE);
    EXPECT_TRUE(frame->m_Start.m_bIntroStopAsked.load());
    EXPECT_FALSE(frame->m_Play.m_bPaused) << "the key did nothing else";
    frame->m_Start.m_bIntroPlaying = false;

    // Nothing open, nothing picked: Esc shows the options window, and play
    // goes on when the player does not quit there; without a party too, so
    // that build mode and an empty world have their way out.
    const char* rows[] = {"in play with a party", "in build mode, no party", "in an empty world"};
    for (const int row : {0, 1, 2}) {
        SCOPED_TRACE(rows[row]);
        frame->m_bBuildMode = row == 1;
        if (row) frame->m_World.m_pLeader = nullptr;
        frame->m_Play.m_bOptionsShown = 0;
        // The in-game window takes the second Esc: back to the game.
        qv::MessageLoop::Instance().Inject(qv::Event::Key(true, qv::VK_ESCAPE));
        Press(qv::VK_ESCAPE);
        EXPECT_TRUE(frame->m_Play.m_bOptionsShown);
        EXPECT_FALSE(frame->m_bQuitRequested);
    }
}

}  // namespace

namespace {

TEST_F(Input, AButtonLetGoAlwaysEndsItsHoldAndItsPause) {
    Player* leader = AddLeader(focus);
    frame->m_Play.m_iPauseBudget = Play::kPauseBankMax;
    // A left click while the right button holds the game still: the pause
    // still ends when the right button is let go.
    Mouse(qv::EventKind::RButtonDown, {kCx + 40, kCy + 20});
    Mouse(qv::EventKind::LButtonDown, {kCx + 150, kCy});
    Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    Mouse(qv::EventKind::RButtonUp, {kCx + 40, kCy + 20});
    EXPECT_FALSE(frame->m_Play.m_bPaused);
    EXPECT_FALSE(frame->m_bRightPause);
    const int32_t before = frame->m_World.m_iGameTime;
    Ticks(2);
    EXPECT_EQ(frame->m_World.m_iGameTime, before + 200);

    // The left button let go while a conversation is pending ends the walk
    // after the held button all the same.
    Mouse(qv::EventKind::LButtonDown, {kCx + 150, kCy});
    frame->m_bMouseWalking = 1;
    frame->m_iTickStep = 1000;
    leader->m_iTalkState = 0;
    Mouse(qv::EventKind::LButtonUp, {kCx + 150, kCy});
    EXPECT_FALSE(frame->m_bLeftHeld);
    EXPECT_FALSE(frame->m_bMouseWalking);
    EXPECT_EQ(frame->m_iTickStep, 100);
    EXPECT_EQ(qv::MessageLoop::Instance().GetCapture(), nullptr);
    leader->m_iTalkState = -1;
}

TEST_F(Input, EscClosesAContainerWhoseContentsAreGone) {
    AddLeader(focus);
    auto* corpse = new Thing(picture.get(), "Corpse");
    frame->m_Play.OpenContainer(corpse);
    delete corpse;
    Press(qv::VK_ESCAPE);
    EXPECT_FALSE(frame->m_Play.Interacting().IsContainerOpen());
    const int32_t before = frame->m_World.m_iGameTime;
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_iGameTime, before + 100) << "the world goes on";
}

}  // namespace

TEST_F(Input, TheGamesCursorFollowsTheMouseOverTheGameAndGivesWayBesideIt) {
    CMouseCursor* cursor = GetMouseCursor();
    cursor->m_rcLimits = {0, 0, 1144, 856};
    struct Row {
        const char* rule;
        qv::Point to;
        int shown;          // the game's cursor is shown after the move
        qv::Point drawnAt;  // where it stands
    };
    const Row rows[] = {
        {"the first move in the window shows it where the mouse is", {100, 200}, 1, {100, 200}},
        {"it follows every move", {300, 150}, 1, {300, 150}},
        {"the last column of the game's picture", {639, 479}, 1, {639, 479}},
        {"one beyond: the palette's side, where the system's shows", {640, 100}, 0, {639, 479}},
        {"back over the game it shows again at once", {638, 100}, 1, {638, 100}},
        {"below the picture", {200, 480}, 0, {638, 100}},
        {"the top left corner", {0, 0}, 1, {0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Mouse(qv::EventKind::MouseMove, r.to);
        EXPECT_EQ(cursor->m_bShown, r.shown);
        EXPECT_EQ(cursor->m_ptPos, r.drawnAt);
    }
}
