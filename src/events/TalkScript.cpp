#include "events/TalkScript.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/Object.h"
#include "world/World.h"

CTalkScript::CTalkScript(World& world, TalkHost& host) : m_World(world), m_Host(host) {}

bool CTalkScript::Open(Player* listener, Player* speaker, const std::string& folder) {
    Close();
    if (!speaker) return false;
    try {
        auto script = std::make_shared<const TalkScriptFile>(
            LoadTalkScript(folder, speaker->m_strMessageFile));
        return Open(listener, speaker, std::move(script), speaker->m_strMessageNode);
    } catch (const TalkScriptError& e) {
        Fail(e);
        return false;
    }
}

bool CTalkScript::Open(Player* listener, Player* speaker,
                       std::shared_ptr<const TalkScriptFile> script, const std::string& node) {
    Close();
    if (!script) return false;
    m_pScript = std::move(script);
    m_pListener = listener;
    m_pSpeaker = speaker;
    m_strFault.clear();
    m_Lines.clear();
    const TalkNode* start = m_pScript->Find(node);
    if (!start) {
        Fail(TalkScriptError(m_pScript->m_strName, 0, "no node \"" + node + "\" to start at"));
        return false;
    }
    m_bOver = false;
    Run(start);
    return m_strFault.empty();
}

std::vector<std::string> CTalkScript::Choices() const {
    std::vector<std::string> texts;
    texts.reserve(m_Offers.size());
    for (const Offer& o : m_Offers) texts.push_back(o.text);
    return texts;
}

bool CTalkScript::Choose(size_t index) {
    if (m_bOver || index >= m_Offers.size()) return false;
    const std::string target = m_Offers[index].target;
    m_Lines.clear();
    m_Offers.clear();
    if (target == TalkScriptFile::kEnd) {
        m_bOver = true;
        return true;
    }
    Run(m_pScript->Find(target));
    return true;
}

void CTalkScript::Close() {
    m_bOver = true;
    m_Offers.clear();
}

void CTalkScript::Fail(const TalkScriptError& error) {
    m_strFault = error.what();
    m_bOver = true;
    m_Lines.clear();
    m_Offers.clear();
    m_Host.ReportScriptError(m_strFault);
}

void CTalkScript::Refuse(const TalkStatement& s, const std::string& fault) {
    Fail(TalkScriptError(m_pScript->m_strName, s.line, fault));
}

// One step: the node's statements in order; a jump goes on at the start of
// its node with what was gathered so far. The step ends at the end of a node
// (the choices gathered are offered; without any the conversation is over),
// at `end`, or at a jump to another world. A step beyond its bounds of
// jumps, statements, lines or choices is refused at the statement that
// crosses one.
void CTalkScript::Run(const TalkNode* node) {
    int jumps = 0, statements = 0;
    size_t i = 0;
    while (node && i < node->statements.size()) {
        const TalkStatement& s = node->statements[i++];
        if (++statements > kMaxStatementsPerStep)
            return Refuse(s, "too long a step: over " + std::to_string(kMaxStatementsPerStep) +
                                 " statements");
        if (!Holds(s)) continue;
        switch (s.op) {
            case TalkOp::Say:
                if (m_Lines.size() == kMaxLinesPerStep)
                    return Refuse(
                        s, "too many lines in one step: over " + std::to_string(kMaxLinesPerStep));
                m_Lines.push_back(s.text);
                break;
            case TalkOp::Choice:
                if (m_Offers.size() == kMaxChoicesPerStep)
                    return Refuse(s, "too many choices in one step: over " +
                                         std::to_string(kMaxChoicesPerStep));
                m_Offers.push_back({s.text, s.target});
                break;
            case TalkOp::Goto:
                if (++jumps > kMaxJumpsPerStep)
                    return Refuse(s, "endless jump: no stop after " +
                                         std::to_string(kMaxJumpsPerStep) + " jumps");
                node = m_pScript->Find(s.target);
                i = 0;
                break;
            default:
                if (!Do(s)) {
                    m_Offers.clear();
                    m_bOver = true;
                    return;
                }
                break;
        }
    }
    if (m_Offers.empty()) m_bOver = true;
}

bool CTalkScript::Holds(const TalkStatement& s) const {
    for (const TalkCondition& c : s.conditions) {
        int32_t value = 0;
        for (const auto& v : m_World.m_ScriptVariableList)
            if (v && v->m_strSpecialName == c.variable) {
                value = v->m_iValue;
                break;
            }
        if (!c.Holds(value)) return false;
    }
    return true;
}

Object* CTalkScript::Variable(const std::string& name, bool make) {
    for (const auto& v : m_World.m_ScriptVariableList)
        if (v && v->m_strSpecialName == name) return v.get();
    if (!make) return nullptr;
    m_World.m_ScriptVariableList.push_back(std::make_unique<Object>(name));
    return m_World.m_ScriptVariableList.back().get();
}

Player* CTalkScript::Resolve(const TalkWho& who) const {
    switch (who.kind) {
        case TalkWho::Speaker:
            return m_pSpeaker.Get();
        case TalkWho::Listener:
            return m_pListener.Get();
        case TalkWho::Leader:
            return m_World.m_pLeader.Get();
        case TalkWho::Actor:
            break;
    }
    return ResolveActor(who.actor);
}

bool CTalkScript::Do(const TalkStatement& s) {
    Player* who = Resolve(s.who);
    switch (s.op) {
        case TalkOp::End:
            return false;
        case TalkOp::Set:
            Variable(s.text, true)->m_iValue = s.a;
            break;
        case TalkOp::Add: {
            Object* v = Variable(s.text, true);
            const int64_t sum = int64_t{v->m_iValue} + s.a;
            v->m_iValue = qv::ClampToInt32(sum);
            break;
        }
        case TalkOp::Timer:
            // The clock counts an amount of 2 or more down at each new hour
            // and clears the value when it reaches 1: after s.a hours.
            Variable(s.text, true)->m_iBulkNum = s.a + 1;
            break;
        case TalkOp::Hold:
            if (who) who->m_iScriptHold = s.a;
            break;
        case TalkOp::TalkState:
            if (who) who->m_iTalkState = s.a;
            break;
        case TalkOp::Wait:
            if (who) who->m_iWaitCount = s.a;
            break;
        case TalkOp::Travel:
            m_Host.TravelTo({s.a, s.b});
            break;
        case TalkOp::MakeGroup:
            m_Host.MakeGroup();
            break;
        case TalkOp::ReGroup:
            m_Host.ReGroup();
            break;
        case TalkOp::Join:
            if (who) m_Host.JoinParty(who);
            break;
        case TalkOp::GoToWorld:
            // Everything the conversation knew belongs to the world left.
            m_Host.GoToWorld(s.text, s.a, s.b);
            return false;
        case TalkOp::PendingWorld:
            m_Host.SetPendingWorld(s.text, {s.a, s.b});
            break;
        case TalkOp::MoveToLand:
            m_Host.MoveToLand();
            break;
        case TalkOp::Remove:
            if (who && who->m_pHolder) m_Host.RemoveFromMap(who->m_pHolder);
            break;
        case TalkOp::Drop: {
            CBag* bag = who ? who->m_pBag.get() : nullptr;
            if (!bag) break;
            Object* thing = nullptr;
            for (const auto& item : bag->Items())
                if (item &&
                    (item->m_strSpecialName == s.text || item->m_strGeneralName == s.text)) {
                    thing = item.get();
                    break;
                }
            if (!thing || !m_Host.DropObject(thing, who->m_Position)) break;
            // The map owns it now.
            if (bag->DetachItem(thing)) bag->SetItemCount(bag->ItemCount() - 1);
            break;
        }
        case TalkOp::Select:
            m_Host.SetSelectMode(s.a);
            break;
        case TalkOp::School:
            if (who && who->m_pMagic)
                who->m_pMagic->AddSchoolSkill(s.a, static_cast<float>(s.b) / kSkillScale);
            break;
        case TalkOp::Trade:
            m_Host.OpenTradeWindow(s.a);
            break;
        case TalkOp::Say:
        case TalkOp::Choice:
        case TalkOp::Goto:
            break;
    }
    return true;
}
