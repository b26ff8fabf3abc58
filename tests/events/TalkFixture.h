#pragma once
// A conversation's surroundings for the tests of the scripts: a small world
// with a listener (actor 0, the leader) and a speaker (actor 1), and a host
// that notes every operation asked of it, in order, as a line of text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "events/TalkScript.h"
#include "events/TalkScriptFile.h"
#include "support/WorldFixture.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace talk_test {

class RecordingHost : public TalkHost {
public:
    void TravelTo(qv::Point cell) override {
        Note("travel " + std::to_string(cell.x) + " " + std::to_string(cell.y));
    }
    void MakeGroup() override { Note("makegroup"); }
    void ReGroup() override { Note("regroup"); }
    void JoinParty(Player* creature) override { Note("join " + creature->m_strSpecialName); }
    void GoToWorld(const std::string& file, int32_t x, int32_t y) override {
        Note("gotoworld " + file + " " + std::to_string(x) + " " + std::to_string(y));
    }
    void SetPendingWorld(const std::string& file, qv::Point cell) override {
        Note("pendingworld " + file + " " + std::to_string(cell.x) + " " + std::to_string(cell.y));
    }
    void MoveToLand() override { Note("movetoland"); }
    void RemoveFromMap(ObjectHolder* holder) override {
        Note("remove " + (holder && holder->m_pObject ? holder->m_pObject->m_strSpecialName
                                                      : std::string("?")));
    }
    bool DropObject(Object* object, const Position& where) override {
        Note("drop " + object->m_strSpecialName + " at " + std::to_string(where.x) + "," +
             std::to_string(where.y));
        if (!dropsTake) return false;
        dropped.emplace_back(object);  // the map's now
        return true;
    }
    void SetSelectMode(int32_t mode) override { Note("select " + std::to_string(mode)); }
    void OpenTradeWindow(int32_t store) override { Note("trade " + std::to_string(store)); }
    void ReportScriptError(const std::string& message) override { faults.push_back(message); }

    void Note(const std::string& line) { log.push_back(line); }

    std::vector<std::string> log;
    std::vector<std::string> faults;
    bool dropsTake = true;
    std::vector<std::unique_ptr<Object>> dropped;
};

class TalkTest : public testing::Test {
public:  // the rows of a table reach it through a reference
    TalkTest() {
        listener.m_strSpecialName = "Ayla";
        speaker.m_strSpecialName = "Miller";
        listenerHolder.m_pObject = &listener;
        speakerHolder.m_pObject = &speaker;
        listener.m_pHolder = &listenerHolder;
        speaker.m_pHolder = &speakerHolder;
        speaker.m_Position = Position(500, 300, 0);
        world().m_PlayerArray = {&listener, &speaker};
        world().m_pLeader = &listener;
    }
    ~TalkTest() override {
        world().m_PlayerArray.clear();
        listener.m_pHolder = nullptr;
        speaker.m_pHolder = nullptr;
        listenerHolder.m_pObject = nullptr;
        speakerHolder.m_pObject = nullptr;
    }

    World& world() { return small.world; }

    static std::shared_ptr<const TalkScriptFile> Script(const std::string& text,
                                                        const std::string& name = "test.smb") {
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        return std::make_shared<const TalkScriptFile>(ReadTalkScript(bytes, name));
    }

    // The value of a script variable; nothing when there is none.
    Object* Variable(const std::string& name) {
        for (const auto& v : world().m_ScriptVariableList)
            if (v->m_strSpecialName == name) return v.get();
        return nullptr;
    }
    void SetVariable(const std::string& name, int32_t value) {
        Object* v = Variable(name);
        if (!v) {
            world().m_ScriptVariableList.push_back(std::make_unique<Object>(name));
            v = world().m_ScriptVariableList.back().get();
        }
        v->m_iValue = value;
    }

    world_test::SmallWorld small;
    Player listener, speaker;
    ObjectHolder listenerHolder{Position(100, 100, 0), nullptr};
    ObjectHolder speakerHolder{Position(500, 300, 0), nullptr};
    RecordingHost host;
    CTalkScript talk{small.world, host};
};

}  // namespace talk_test
