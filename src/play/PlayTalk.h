#pragma once
// What a conversation asks of play (events/TalkScript.h's TalkHost),
// answered by a Play: the party's moves, joining the party, the moves to
// other worlds and lands, the map, the click mode and the stores.

#include <cstdint>
#include <string>

#include "events/TalkScript.h"

class Play;

class PlayTalkHost : public TalkHost {
public:
    explicit PlayTalkHost(Play& play) : m_Play(play) {}

    void TravelTo(qv::Point cell) override;
    void MakeGroup() override;
    void ReGroup() override;
    void JoinParty(Player* creature) override;
    void GoToWorld(const std::string& worldFile, int32_t x, int32_t y) override;
    void SetPendingWorld(const std::string& worldFile, qv::Point cell) override;
    void MoveToLand() override;
    void RemoveFromMap(ObjectHolder* holder) override;
    bool DropObject(Object* object, const Position& where) override;
    void SetSelectMode(int32_t mode) override;
    void OpenTradeWindow(int32_t storeId) override;
    // Told to the player: the conversation has already closed.
    void ReportScriptError(const std::string& message) override;

private:
    Play& m_Play;
};
