#pragma once
// A monster generator: a map object, seen only in the editor, that a creature
// sets off. It fills a new group with copies of one of its template creatures,
// levelled near the creature that set it off, around its own place; it can
// signal keyed objects, and it can revive a defeated party and send it on.
// While the group it made lives it does not fire again; resetting it deletes
// that group.

#include <cstdint>
#include <memory>

#include "platform/Handle.h"
#include "world/Object.h"

class CDSound;
class Group;
class Player;

class MonsterGenerator : public Object {
    QV_DECLARE_CLASS(MonsterGenerator)
public:
    MonsterGenerator();
    ~MonsterGenerator() override;

    // The object part, the template group, then (from schema 3) the mode, the
    // exit offsets, the key number and the send-party flag.
    void Serialize(qv::Archive& ar) override;
    // Fires: -3 when it made its group, 0 when it cannot (no creature set it
    // off, no template creature, or its group still lives).
    int Activate(int* action, Player* actor) override;
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override;
    int CanInteract() override { return 0; }

    // A fight's end: when every member of `group` is down, Reset.
    void CheckReset(Group* group);
    // Revives the fallen of `group`, plays the win or lose sound, and deletes
    // the group it made.
    void Reset(Group* group);
    int ForceReset(Group* group);

    // How many monsters a creature of `level` meets when the roll gives `n`.
    static int MonsterCount(int32_t level, int32_t n);
    // The corner offsets the monsters stand at, in turn.
    static constexpr int32_t kCornerX = 160;
    static constexpr int32_t kCornerY = 112;
    static constexpr uint32_t kSchema = 3;

    int32_t m_iMode = 0;  // 1: the world's active generator while it fires
    int32_t m_iExitX = 0, m_iExitY = 0;
    int32_t m_iKeyNumber = -1;
    int32_t m_bSendParty = 0;
    std::unique_ptr<Group> m_pTemplates;
    qv::Handle<Group> m_pSpawned;  // the group tree owns it

private:
    std::unique_ptr<CDSound> m_pWinSound, m_pLoseSound;
};
