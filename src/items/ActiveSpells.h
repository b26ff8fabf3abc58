#pragma once
// The spells in effect: the cast spells that last, each given its per-tick
// check until it ends. The list owns its spells and deletes each one it
// removes; ending a spell undoes its lasting effect first.
//
// A spell's check may end other spells, or the checked spell itself (a drain
// that tires its caster out ends every spell the caster cast), or add spells.
// While the list is walked, an ended spell is undone and taken out of the
// order at once but deleted only when the walk is over, so no spell is freed
// inside its own call and the walk never follows a removed entry; and any
// change of the number of spells starts the walk again from the head, so the
// spells before it get their check a second time in that tick.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Spell;

class ActiveSpells {
public:
    // The newest living list is the current one (the one new spells go on).
    ActiveSpells();
    // Deletes every spell, ending each.
    ~ActiveSpells();
    ActiveSpells(const ActiveSpells&) = delete;
    ActiveSpells& operator=(const ActiveSpells&) = delete;

    // The current list, or null.
    static ActiveSpells* Current();

    // Appends a spell at the tail; from now on the list owns it. A spell
    // stands on a list at most once: one already on a list is left where it
    // is and false is answered.
    bool Add(Spell* spell);
    bool Contains(const Spell* spell) const;
    // The spells in effect (ended ones excluded).
    size_t Count() const;
    // The spells in effect in list order (for writing them with the world).
    std::vector<Spell*> Spells() const;

    // The per-tick walk: every spell in effect gets its check, in list order;
    // one that answers -1 is ended and deleted. After a check that changed
    // the number of spells the walk starts again from the head (at most
    // kRestartsPerSpell times the spells there were, so that spells that
    // keep adding spells cannot hold the tick forever).
    static constexpr size_t kRestartsPerSpell = 64;
    void Walk(int32_t now);
    // Ends and removes every spell `pred` picks, in list order; the others
    // keep their order. True when any was removed.
    bool EndWhere(const std::function<bool(Spell&)>& pred);
    // Ends and removes one spell of this list; false when it is not on it.
    bool End(Spell* spell);

    // Spells read back with a saved game: each goes on the list, starting
    // afresh at `now` (its lasting part and its drain go on from there),
    // unless a spell on the list has its serial; of several spells that
    // share a serial the last one read stays, and the others are deleted
    // without undoing anything (their effects were never laid on this
    // world's creatures). A spell whose creatures are all elsewhere (in a
    // land not loaded) stays too: it ends on them when they are back.
    void AdoptRead(std::vector<std::unique_ptr<Spell>> spells, int32_t now);
    // The world the spells worked on is gone (a saved game replaces it):
    // every spell is deleted without undoing anything, for the creatures
    // their player numbers name now are others.
    void Forget();

private:
    // Every spell taken off the list, each told it is no longer listed.
    std::vector<std::unique_ptr<Spell>> TakeAll();
    // Takes the spell out of the order: deleted now, or after the walk.
    void Remove(size_t index);
    void Compact();

    std::vector<std::unique_ptr<Spell>> m_Spells;  // null: removed during a walk
    std::vector<std::unique_ptr<Spell>> m_Ended;   // removed during a walk, deleted after it
    size_t m_iLive = 0;                            // the entries that are not null
    int m_iWalking = 0;
    // Ends a walk: the order closes up and what ended there is freed.
    void EndWalk();
};

// After an effect was laid: the spell is kept when a list of spells in effect
// took it over, else deleted (which ends whatever it gave).
void SettleSpell(std::unique_ptr<Spell> spell);
