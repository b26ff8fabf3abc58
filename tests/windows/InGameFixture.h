#pragma once
// A frame playing the start world headless, as a new game begins: its game
// folder of its own, the party read in by the first tick, the panels made.
// The player's answers (how many of a stack, yes or no) come from the test's
// script; keys and clicks go to the frame's handlers as the window would
// hand them on.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "creatures/Player.h"
#include "data/StartWorld.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "platform/MessageLoop.h"
#include "play/PlayFixture.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "support/TestFolder.h"
#include "windows/GameWindows.h"
#include "world/Map.h"
#include "world/World.h"

namespace ingame_test {

class InGame : public ::testing::Test {
protected:
    InGame() {
        qv::MessageLoop::Instance().Reset();
        WriteStartWorld(folder.dir.string());
        InvalidateGlobalImages();
        frame = std::make_unique<CMainFrame>();
        EXPECT_EQ(frame->InitDirectDraw(0), 1);
        World& w = frame->m_World;
        w.map_master = std::make_unique<MapMaster>();
        w.CreateRootGroups();
        frame->m_Play.m_pAsk = &ask;
        frame->m_Play.Saves().UseGameFolder(folder.dir.string() + "\\");
        ok = frame->m_Play.Saves().StartInOriginalWorld() == 1 && LoadGlobalImages(&w) != 0 &&
             frame->m_Play.Saves().TryReloadWindowAtFocus();
        frame->m_iStage = 3;
        frame->RunTick();
    }
    ~InGame() override {
        frame.reset();
        InvalidateGlobalImages();
        qv::MessageLoop::Instance().Reset();
    }

    CGameWindows& Windows() { return *frame->m_pGameWindows; }
    CControlPanel& Panel() { return *Windows().ControlPanel(); }
    CInventory& Inventory() { return Panel().Inventory(); }
    Player* Hero() { return Member(0); }
    Player* Member(int slot) { return frame->m_World.m_Party[static_cast<size_t>(slot)].Get(); }

    void Key(int vk) {
        frame->OnKeyDown(vk);
        frame->OnKeyUp(vk);
    }
    // Pressed at one point, let go at another (a click when they are one).
    void Drag(qv::Point from, qv::Point to) {
        frame->OnLButtonDown(from);
        frame->OnLButtonUp(to);
    }
    void Click(qv::Point p) { Drag(p, p); }
    void RightClick(qv::Point p) {
        frame->OnRButtonDown(p);
        frame->OnRButtonUp(p);
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) frame->RunTick();
    }
    // Runs `act` with the windows' own loops on what the test hands them, not
    // on the window system's input; `up` is shown the modal window on top
    // once, and ends it.
    void WhileUp(const std::function<void()>& act, const std::function<void(CDDWnd*)>& up) {
        qv::MessageLoop& loop = qv::MessageLoop::Instance();
        loop.SetSource(nullptr);
        bool seen = false;
        loop.SetIdleHook([&] {
            if (seen) return false;
            seen = true;
            up(GetPopupChain()->m_pModalPopup);
            return true;
        });
        act();
        loop.SetIdleHook({});
    }

    static qv::Point Middle(const qv::Rect& r) {
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The screen point of a list's cell showing `object`, or of its last
    // cell (an empty place where a thing is let go) for none.
    static qv::Point Where(CDDWnd& window, CListDragBox& box, Object* object = nullptr) {
        const std::vector<Object*> items = box.Items();
        int cell = object ? -1 : box.Cells() - 1;
        for (int i = 0; i < box.Cells() && cell < 0; ++i)
            if (static_cast<size_t>(box.m_iFirst + i) < items.size() &&
                items[static_cast<size_t>(box.m_iFirst + i)] == object)
                cell = i;
        if (cell < 0) {
            ADD_FAILURE() << "not shown: " << object->GetDisplayName();
            return {-1, -1};
        }
        return Middle(box.CellRect(cell).Offset(window.m_rcWindow.left, window.m_rcWindow.top));
    }
    qv::Point InBag(Object* object) { return Where(Inventory(), Inventory().Box(), object); }
    // The middle of a window's control on the screen.
    static qv::Point OnScreen(const CDDWnd& window, const CDDControl* control) {
        if (!control) ADD_FAILURE() << "no such control";
        return control ? Middle(control->m_rcWindow.Offset(window.m_rcWindow.left,
                                                           window.m_rcWindow.top))
                       : qv::Point{-1, -1};
    }

    // The first thing of a kind in a member's bag, by its display name.
    Object* Carried(Player* p, const std::string& name) {
        if (!p || !p->m_pBag) return nullptr;
        for (const auto& item : p->m_pBag->Items())
            if (item->GetDisplayName() == name) return item.get();
        return nullptr;
    }
    static bool InUse(const Player* p, const Object* o) {
        for (const auto& u : p->m_InUseList)
            if (u.get() == o) return true;
        return false;
    }
    // The placed container of a class on the map, by its special name.
    ObjectHolder* PlacedContainer(const std::string& name) {
        MapMaster* map = frame->m_World.map_master.get();
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map->GetCell(i, j).holders)
                    if (auto* c = qv::DynamicCast<Container>(h->m_pObject);
                        c && c->GetDisplayName() == name)
                        return h;
        return nullptr;
    }
    // The hero opens a container as a click on it would.
    void Open(ObjectHolder* holder) {
        Order open = Order::On(Order::Kind::Open, holder);
        open.actor = Hero();
        frame->m_Play.Give(open);
        Ticks(1);
    }

    test_support::TestFolder folder{"ingame"};
    std::unique_ptr<CMainFrame> frame;
    play_test::ScriptedAsk ask;
    bool ok = false;
};

}  // namespace ingame_test
