#pragma once
// Scrolls: read on a creature, a scroll heals, restores mana or lays a
// spell's effect; a read scroll is used up. A Sunlight scroll, and an
// Invisibility scroll made for a group, act at once on the reader.

#include <cstdint>

#include "items/Useable.h"

struct ScrollType {
    static constexpr int32_t Blank = 0;
    static constexpr int32_t Healing = 1;
    static constexpr int32_t RestoreMana = 2;
    static constexpr int32_t Strength = 3;
    static constexpr int32_t Speed = 4;
    static constexpr int32_t Toughskin = 5;
    static constexpr int32_t SunLight = 6;
    static constexpr int32_t Invisibility = 7;
    static constexpr int32_t Count = 8;
};

class Scroll : public Useable {
    QV_DECLARE_CLASS(Scroll)
public:
    explicit Scroll(int32_t type = ScrollType::Blank);
    ~Scroll() override;
    Scroll(const Scroll&) = delete;
    Scroll& operator=(const Scroll&) = delete;

    void Serialize(qv::Archive& ar) override;
    // Asks for the creature to read it on ("Use Scroll on..."); a blank one
    // only says so; both answer 2. A scroll that acts on its reader is read
    // at once and answers 1: it is used up, and the caller takes it out of
    // the reader's bag as after a use on a picked target.
    int GetUsePrompt(Player* user, int flag) override;
    // Reads it: see the types. 1 when it was used up (whoever holds it then
    // takes it out of the reader's bag and deletes it), else 0.
    int Use(Player* user, Object* target) override;
    // Any creature.
    int IsValidTarget(Object* target) override;
    // A scroll of the same type and group flag.
    Object* Clone() override;

    // The type; a scroll still named "Scroll" or "Blank Scroll" takes the
    // name of its type (with " - Group" for a group scroll), one that was
    // given a name of its own keeps it.
    void SetScrollType(int32_t type);
    // Whether the scroll acts at once on its reader, without a target.
    bool ActsOnReader() const;

    int32_t m_iScrollType = ScrollType::Blank;
    int32_t m_bGroup = 0;  // an Invisibility scroll for the reader's whole group

    static constexpr int32_t kValue = 10;
};
