#include "events/GameEvent.h"

#include <algorithm>
#include <utility>

#include "creatures/Player.h"
#include "creatures/PlayerMoves.h"
#include "platform/Archive.h"
#include "world/Global.h"
#include "world/World.h"
#include "world/WorldRules.h"

QV_IMPLEMENT_SERIAL(CGameEvent, Object, 1, true)
QV_IMPLEMENT_SERIAL(CTalkEvent, CGameEvent, 1, true)
QV_IMPLEMENT_SERIAL(CMovePatternEvent, CGameEvent, 1, true)

void GameEventDeleter::operator()(CGameEvent* event) const {
    delete event;
}

// ---- the event ----

CGameEvent::CGameEvent(const std::string& name) : Object(name) {}

// Record (schema 1), after Object's: trigger number, status.
void CGameEvent::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    ar.Exchange(m_iTrigger);
    ar.Exchange(m_iStatus);
}

// A plain event has nothing to do: running it finishes it.
int CGameEvent::Execute() {
    return kFinished;
}

void CGameEvent::CountChange(int32_t tick) {
    if (m_iChangeTick != tick) {
        m_iChangeTick = tick;
        m_iChangesInTick = 0;
    }
    ++m_iChangesInTick;
}

void RunWaitingEvents(World& world) {
    auto& events = world.m_EventList;
    const int32_t tick = world.m_iGameTime;
    size_t added = 0;
    auto it = events.begin();
    while (it != events.end()) {
        qv::Handle<CGameEvent> event = it->get();
        if (!event || event->m_iStatus <= 0 || !event->MayRunInTick(tick)) {
            ++it;
            continue;
        }
        const size_t before = events.size();
        const int result = event->Execute();
        if (result == Object::kNothingChanged) {
            ++it;
            continue;
        }
        // Measured before the finished event goes: it is no new event.
        const size_t after = events.size();
        if (result == Object::kFinished) {
            auto found = std::find_if(events.begin(), events.end(),
                                      [&event](const auto& e) { return event == e.get(); });
            if (found != events.end()) events.erase(found);
        } else if (event) {
            event->CountChange(tick);
        }
        if (after > before) added += after - before;
        if (added > kMaxAddedEventsPerWalk) break;
        it = events.begin();
    }
}

// ---- the talk event ----

CTalkEvent::CTalkEvent(const std::string& talkNode, int32_t actor)
    : CGameEvent("CTalkEvent"), m_strTalkNode(talkNode), m_iActor(actor) {}

std::unique_ptr<CTalkEvent> CTalkEvent::MakeNPCTalk(const std::string& talkNode, int32_t actor) {
    auto event = std::make_unique<CTalkEvent>(talkNode, actor);
    event->m_strGeneralName = "NPCTalk";
    event->m_strSpecialName = "NPCTalk";
    event->MarkToFire();
    return event;
}

// Record (schema 1), after CGameEvent's: talk node, actor number.
void CTalkEvent::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&CGameEvent::classInfo);
    CGameEvent::Serialize(ar);
    ar.Exchange(m_strTalkNode);
    ar.Exchange(m_iActor);
}

int CTalkEvent::Execute() {
    Player* speaker = ResolveActor(m_iActor);
    World* world = GetWorld();
    WorldRules* rules = world ? world->m_pRules : nullptr;
    if (!speaker || !rules || !rules->OpenConversation(speaker, m_strTalkNode))
        return kNothingChanged;
    return kFinished;
}

// ---- the move-pattern event ----

void CMovePatternEvent::FillMoves(Player* creature, const std::vector<qv::Point>& cells) {
    if (creature) AddMovesTo(*creature, cells);
}

// Record (schema 1), after CGameEvent's: actor number, the number of cells,
// then each cell's x and y.
void CMovePatternEvent::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&CGameEvent::classInfo);
    CGameEvent::Serialize(ar);
    ar.Exchange(m_iActor);
    if (ar.IsStoring()) {
        ar.WriteInt(static_cast<int32_t>(m_Cells.size()));
        for (const qv::Point& c : m_Cells) {
            ar.WriteInt(c.x);
            ar.WriteInt(c.y);
        }
        return;
    }
    int32_t n = ar.ReadInt();
    if (n < 0 || static_cast<size_t>(n) > ar.Remaining() / 8)
        ar.Fail(qv::ArchiveError::BadCount, "move pattern of " + std::to_string(n) + " cells");
    m_Cells.resize(static_cast<size_t>(n));
    for (qv::Point& c : m_Cells) {
        c.x = ar.ReadInt();
        c.y = ar.ReadInt();
    }
}

int CMovePatternEvent::Execute() {
    Player* creature = ResolveActor(m_iActor);
    if (!creature) return kNothingChanged;
    FillMoves(creature, m_Cells);
    return kFinished;
}
