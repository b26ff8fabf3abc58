// The tick of play, in its one order: time, the pending moves, the start of
// play, the shell's orders, the world's step (the spells in effect, the groups,
// what arrived at its target, what flies, the land under the focus), then the
// light and the explored cells that the drawing reads.

#include <algorithm>
#include <iterator>

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "platform/GameTime.h"
#include "play/Play.h"
#include "structures/Fixtures.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

namespace {

// The action code a generator is set off with by the party coming near.
constexpr int kGeneratorSetOff = 0;

}  // namespace

void Play::TogglePause() {
    m_Interaction.SetTabTarget(false);
    if (!m_Interaction.SelectMode()) m_bPaused = !m_bPaused;
}

bool Play::Tick(int32_t step) {
    World& w = m_World;
    ++m_iTickCount;
    if (!m_bPaused) {
        m_iPauseBudget = std::min(m_iPauseBudget + step, kPauseBankMax);
        w.m_iGameTime = qv::TimeAdd(w.m_iGameTime, step);
        m_iMusicTime += step;
        w.m_pTimeOfDay->Advance(w.m_iGameTime);
        if (Map()) Map()->OnNewHour(w.m_iGameTime, w.m_pTimeOfDay->m_sHour);
    } else {
        m_iPauseBudget -= step;
        if (m_iPauseBudget <= 0) {
            m_iPauseBudget = 0;
            TogglePause();
        }
        // The world stands still; the windows, the hover text and the
        // drawing go on once play has started.
        if (!IsStarted()) return false;
    }
    return UpdateTick(&w.m_iGameTime);
}

bool Play::UpdateTick(int32_t* now) {
    World& w = m_World;
    if (!now) return false;
    if (m_Travel.PendingWorld()) {
        // The ticks are held off while the world changes.
        m_Travel.SetChangingWorld(true);
        Object* target = m_Travel.PendingWorld();
        m_Travel.SetPendingWorld(nullptr);
        // The stairs go with the world they are in: their way is read first.
        if (const auto* stairs = qv::DynamicCast<Stairs>(target)) {
            const std::string world = stairs->m_strWorldFile;
            GoToWorld(world, stairs->m_iTargetX, stairs->m_iTargetY);
        }
        Shell().WorldTravelled();
        m_Travel.SetChangingWorld(false);
    }
    if (m_Travel.PendingScriptWorld()) {
        const Travel::ScriptWorld to = *m_Travel.PendingScriptWorld();
        m_Travel.SetPendingScriptWorld(std::nullopt);
        m_Travel.SetChangingWorld(true);
        GoToWorld(to.file, to.cell.x, to.cell.y);
        Shell().WorldTravelled();
        m_Travel.SetChangingWorld(false);
    }
    if (m_Travel.IsLandMovePending() && IsStarted()) {
        MoveToLand();
        m_Travel.SetLandMovePending(false);
        m_Saves.PartyBackInPlay();  // it is in play again
        AfterWorldChange();
        Shell().WorldTaken();
    }
    if (m_Travel.IsRefreshPending() && IsStarted()) {
        m_Editing.SetEditing(false);
        Shell().ShowStatistics();
        m_Travel.SetRefreshPending(false);
        AfterWorldChange();
        Shell().WorldTaken();
    }

    if (!IsStarted()) {
        if (!Shell().ReadyToStart()) return false;
        StartPlay();
        if (!IsStarted()) return false;
    }

    Shell().TickOrders();
    RunWorld(now);
    if (Shell().Quitting()) return false;

    // The monster generators act after the creatures' turns: one near the
    // leader sends its group, and a running fight is tested for its end.
    SetOffGenerators();
    Player* leader = w.m_pLeader.Get();
    if (leader && ActiveGenerator()) CheckGeneratorFight(leader->m_pGroup);
    LightAndExplore();
    return true;
}

void Play::StartPlay() {
    MoveToLand();
    SetDragObject(m_Interaction.DragHolder());
    if (Map() && Map()->CheckFocusEdge(Position(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0)) ==
                     Group::kWorldChanged)
        MoveToLand();
    m_iStartState = 0;
}

void Play::AfterWorldChange() {
    SetDragObject(nullptr);
    m_World.m_pHoverHolder = nullptr;
}

void Play::RunWorld(int32_t* now) {
    if (!now) return;
    World& w = m_World;
    const int32_t t = *now;

    // Spells: each gets its check; the list ends and frees them safely and
    // starts its walk again after any change of their number.
    w.m_ActiveSpells->Walk(t);

    // The groups' turns; then, at a safe point after them, what the
    // creatures that arrived at their targets came for.
    const int walked = w.m_pAllGroups ? w.m_pAllGroups->Update(t, Map()) : 1;
    const int acted = ApplyArrivals();
    m_Talk.OpenWaitingConversations();
    if (walked == Group::kWorldChanged || acted == Group::kWorldChanged) {
        MoveToLand();
        return;
    }
    if (Shell().Quitting()) return;

    w.UpdateFlyingObjects(t, Map());

    // The area under the focus sets the light and the music.
    if (!w.m_pLeader.Get() || !Map()) return;
    CellPoint wc;
    if (!Map()->CellToWindow(Map()->focuscell, wc)) return;
    Land* land = Map()->GetCell(wc.x, wc.y).land;
    // Between lands (or before one is loaded) there is no area to follow.
    if (!land) return;
    UpdateArea(land, t);
}

void Play::LightAndExplore() {
    MapMaster* map = Map();
    if (!map) return;
    map->ComputeLight(Position(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0), m_World.m_iGameTime);
    map->ExploreAroundFocus();
}

void Play::UpdateArea(Land* land, int32_t now) {
    if (!land || !Map()) return;
    if (land != m_Travel.CurrentLand()) {
        // The land left behind may have been unloaded meanwhile: only a land
        // still loaded is asked to stop its sound.
        const auto& loaded = Map()->loadedlands;
        if (m_Travel.CurrentLand() &&
            std::find(loaded.begin(), loaded.end(), m_Travel.CurrentLand()) != loaded.end())
            m_Travel.CurrentLand()->StopAmbientSound();
        m_Travel.SetCurrentLand(land);
    }
    Map()->sunlightmode = land->sunlight;
    if (land->sunlight == 0) Map()->daylight = land->lightlevel + 1;
    land->Update(now);
    if (m_iMusicTime > kMusicInterval) {
        m_iMusicTime = 0;
        int tune = m_Party.InCombat() ? land->combattune : land->tune;
        Shell().PlayTune(tune);
    }
}

MonsterGenerator* Play::ActiveGenerator() const {
    return qv::DynamicCast<MonsterGenerator>(m_World.m_pActiveGenerator.Get());
}

void Play::ResetGeneratorFight(Group* group) {
    if (MonsterGenerator* generator = ActiveGenerator()) generator->ForceReset(group);
}

void Play::CheckGeneratorFight(Group* group) {
    if (MonsterGenerator* generator = ActiveGenerator()) generator->CheckReset(group);
}

void Play::SendPartyTo(qv::Point cell) {
    if (m_World.m_pLeader.Get()) TravelTo(cell);
}

int Play::SetOffGenerators() {
    Player* leader = m_World.m_pLeader.Get();
    MapMaster* map = Map();
    if (!leader || !leader->m_pHolder || !map || leader->m_sLifeState < 1) return 0;
    const Position at = leader->m_pHolder->pos;
    CellPoint centre;
    if (!map->WindowCellOf(at, centre)) return 0;
    // The cells a generator within reach can stand in: the spacing halves
    // the square of the rows' distance, so reach goes further down than
    // across.
    constexpr int64_t kReachSq = int64_t{kGeneratorReach} * kGeneratorReach;
    constexpr int32_t kAcross = kGeneratorReach / MapMaster::CellWidth + 1;
    constexpr int32_t kDown = kGeneratorReach * 3 / 2 / MapMaster::CellHeight + 1;
    for (int32_t j = centre.y - kDown; j <= centre.y + kDown; ++j)
        for (int32_t i = centre.x - kAcross; i <= centre.x + kAcross; ++i) {
            if (!MapMaster::IsWindowCell(i, j)) continue;
            for (ObjectHolder* h : map->GetCell(i, j).holders) {
                auto* generator = qv::DynamicCast<MonsterGenerator>(h->m_pObject);
                if (!generator || generator->m_pSpawned ||
                    map->PixelDistanceSq(at, h->pos) > kReachSq)
                    continue;
                // Firing changes the world: the generators wait for the
                // next tick.
                int code = kGeneratorSetOff;
                if (generator->Activate(&code, leader) != 0) return 1;
            }
        }
    return 0;
}
