#pragma once
// Travel: the part of play that keeps the moves of the party between lands
// and worlds that wait for the next tick. The stairs to go through, the
// world a conversation sends the party to, the land move and the refresh
// after a world was written or read, the world change under way, the party
// being placed, and the land under the focus. Play owns one; the shell reads
// it, and changes it only through orders and the operations of play.

#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Handle.h"

class Land;
class Object;

class Travel {
public:
    // A world a conversation sends the party to at the next tick.
    struct ScriptWorld {
        std::string file;
        qv::Point cell;
    };

    // ---- What the shell reads
    const qv::Handle<Object>& PendingWorld() const {
        return m_pPendingWorld;
    }  // stairs to go through
    const std::optional<ScriptWorld>& PendingScriptWorld() const { return m_PendingScriptWorld; }
    bool IsChangingWorld() const {
        return m_bChangingWorld != 0;
    }  // the stairs' or a script's change runs
    bool IsLandMovePending() const {
        return m_bLandMovePending != 0;
    }  // the next tick moves the party in
    bool IsRefreshPending() const {
        return m_bRefreshPending != 0;
    }  // the next tick takes in a world read
    bool IsPlacingParty() const { return m_bPlacingParty != 0; }
    Land* CurrentLand() const { return m_pCurrentLand; }  // the land under the focus

    // ---- What play sets (and a test, setting up)
    void SetPendingWorld(Object* stairs);
    void SetPendingScriptWorld(std::optional<ScriptWorld> to) {
        m_PendingScriptWorld = std::move(to);
    }
    void SetChangingWorld(bool on) { m_bChangingWorld = on ? 1 : 0; }
    void SetLandMovePending(bool on) { m_bLandMovePending = on ? 1 : 0; }
    void SetRefreshPending(bool on) { m_bRefreshPending = on ? 1 : 0; }
    void SetPlacingParty(bool on) { m_bPlacingParty = on ? 1 : 0; }
    void SetCurrentLand(Land* land) { m_pCurrentLand = land; }

private:
    qv::Handle<Object> m_pPendingWorld;
    std::optional<ScriptWorld> m_PendingScriptWorld;
    int m_bChangingWorld = 0;
    int m_bLandMovePending = 0;
    int m_bRefreshPending = 0;
    int m_bPlacingParty = 0;
    Land* m_pCurrentLand = nullptr;
};
