#pragma once
// Helpers shared by the creature tests: a creature whose handlers record what
// reaches them, and a writer of creature records at any schema.

#include <functional>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"

namespace creature_test {

using record_test::Bytes;
using record_test::Record;
using record_test::StoreObject;

// A creature whose handlers record the events handed to them.
class Probe : public Player {
public:
    struct Call {
        int32_t type;
        int32_t time;
    };
    std::vector<Call> calls;
    std::function<int(int32_t)> onThink;
    std::function<int(int32_t, int32_t, int32_t)> onMove;
    int32_t type = 0;
    int deaths = 0;
    int casts = 0;

    PlayerType GetPlayerType() override { return type; }
    int HandleThinkEvent(int32_t time, MapMaster*) override {
        calls.push_back({ObjectEventType::THINK, time});
        return onThink ? onThink(time) : 1;
    }
    int HandleMoveEvent(int32_t time, int32_t x, int32_t y, MapMaster*, int32_t) override {
        calls.push_back({ObjectEventType::MOVE, time});
        return onMove ? onMove(time, x, y) : 1;
    }
    int StartAttack(int32_t time, Object*, StrikeWeapon) override {
        calls.push_back({ObjectEventType::ATTACK, time});
        return 1;
    }
    int CastSpell(std::unique_ptr<Spell>, Object*, int32_t) override {
        ++casts;
        return 1;
    }
    int Die() override {
        ++deaths;
        return 1;
    }
};

// The values a hand-written creature record carries.
struct Fields {
    int32_t playerNumber = -1;
    int32_t partySlot = 0;
    int32_t experience[3] = {2000, 300, 40};
    int32_t hasMagic = 0;
    const qv::Persistent* magic = nullptr;
    int32_t row = 0;
    int32_t npc = 0;
    const qv::Persistent* bag = nullptr;
    int32_t portrait = 843;
    int32_t poison = 0;
    int32_t action = 3;
    int32_t ghost = 0;
    int32_t sex = 0;
    int16_t life = 1;
    std::vector<const qv::Persistent*> oldCarried;
    std::vector<const qv::Persistent*> inUse;
    std::vector<const qv::Persistent*> moves;
    int32_t objectRow = 0;  // the row in the object part of the record
};

// A creature record of schema `s` as the game wrote it then: every field
// whose guard the schema passes, in the record's order.
inline Bytes CreatureRecord(uint16_t s, const Fields& f) {
    return Record(Player::classInfo, s, [&](qv::Archive& ar) {
        ar.SerializeClass(&Member::classInfo);
        Member m("Player");
        m.m_iYImageNum = f.objectRow;
        m.Serialize(ar);
        if (s < 33) {
            ar.WriteCount(f.oldCarried.size());
            for (auto* o : f.oldCarried) ar.WriteObject(o);
        }
        ar.WriteCount(f.inUse.size());
        for (auto* o : f.inUse) ar.WriteObject(o);
        ar.WriteInt(f.playerNumber);
        ar.WriteInt(f.partySlot);
        ar.WriteString("mine.smb");
        ar.WriteString("START");
        ar.WriteInt(11);   // fight speed
        ar.WriteInt(900);  // attack time
        ar.WriteShort(f.life);
        ar.WriteShort(33);  // species mark
        ar.WriteInt(32);    // reserved
        if (s >= 43)
            for (int32_t e : f.experience) ar.WriteDouble(e + 0.5);
        else if (s >= 3)
            for (int32_t e : f.experience) ar.WriteInt(e);
        if (s >= 2) {
            ar.WriteInt(f.hasMagic);
            if (f.hasMagic) ar.WriteObject(f.magic);
        }
        if (s >= 6)
            for (int i = 0; i < 5; ++i) ar.WriteInt(10 + i);
        if (s >= 7) ar.WriteInt(15);
        if (s >= 15) ar.WriteInt(16);
        if (s >= 8) ar.WriteInt(2);   // action option
        if (s >= 9) ar.WriteInt(4);   // store
        if (s >= 10) ar.WriteInt(9);  // build info
        if (s >= 11) {
            ar.WriteInt(30);
            ar.WriteInt(31);
            ar.WriteInt(-1);  // wait count
        }
        if (s >= 13) ar.WriteInt(35);  // can name
        if (s >= 14) ar.WriteInt(f.row);
        if (s >= 16) {
            ar.WriteInt(34);  // attack random monsters
            ar.WriteInt(5);
            ar.WriteInt(6);
        }
        if (s >= 17) {
            ar.WriteCount(f.moves.size());
            for (auto* o : f.moves) ar.WriteObject(o);
        }
        if (s >= 19) ar.WriteInt(f.npc);
        if (s == 20) {
            ar.WriteCount(2);
            ar.WriteDWord(0xAAAA);
            ar.WriteDWord(0xBBBB);
        }
        if (s >= 21) ar.WriteInt(-1);  // speed state
        if (s >= 22) ar.WriteObject(f.bag);
        if (s >= 23) {
            ar.WriteInt(f.portrait);
            if (s >= 44) ar.WriteString("face.bmp");
        }
        if (s >= 25)
            for (int32_t v : {61, 62, 63, 64, 65, 66}) ar.WriteInt(v);
        if (s >= 26) ar.WriteString("DEATH");
        if (s >= 27) ar.WriteInt(700);
        if (s >= 28) {
            ar.WriteInt(-3);  // script hold
            ar.WriteInt(31);  // reserved
        }
        if (s >= 29)
            for (int32_t v : {21, 22, 1}) ar.WriteInt(v);  // panel setting, toggle, ranged mode
        if (s >= 30) ar.WriteInt(3);
        if (s >= 31)
            for (int32_t v : {2, 23, f.poison}) ar.WriteInt(v);  // light, fire protection
        if (s >= 32)
            for (int32_t v : {24, 5}) ar.WriteInt(v);  // grounded, strength bonus
        if (s >= 34)
            for (int32_t v : {25, 26}) ar.WriteInt(v);  // shock strike, levitating
        if (s >= 35)
            for (int32_t v : {27, 28}) ar.WriteInt(v);  // hesitation, mind sense
        if (s >= 36) ar.WriteInt(0);                    // invisible
        if (s >= 33) ar.WriteInt(f.action);
        if (s >= 37) ar.WriteInt(29);  // hostile by magic
        if (s >= 38) ar.WriteInt(0);   // inactive
        if (s >= 39) ar.WriteInt(f.ghost);
        if (s >= 40) ar.WriteInt(30);  // ethereal
        if (s >= 41) ar.WriteInt(17);
        if (s >= 42) ar.WriteInt(f.sex);
    });
}

// A creature with nothing queued and its clocks started at `start`.
inline void Settle(Probe& p, int32_t start) {
    p.Events().Clear();
    p.Update(start, nullptr);  // starts the alertness and regeneration clocks
    p.Events().Clear();
    p.calls.clear();
}

inline std::unique_ptr<Player> LoadCreature(const Bytes& bytes) {
    qv::Archive in(bytes);
    std::unique_ptr<Player> p(in.ReadObjectOf<Player>());
    if (in.Remaining() != 0) return nullptr;
    return p;
}

}  // namespace creature_test
