// Play's part of magic: the order that casts a known spell, and the choice of
// a target that a potion, scroll, power cube or spell picked for use waits for.

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/TargetChoice.h"
#include "media/MouseCursor.h"
#include "play/Play.h"
#include "world/Global.h"

int Play::CastKnownSpell(Player* actor, Object* object, ObjectHolder* target) {
    auto* spell = qv::DynamicCast<Spell>(object);
    if (!actor || !spell || !actor->IsAlive() || !actor->m_pMagic) return 0;
    // Only a spell the actor knows: a copy of it is what is cast.
    if (!actor->m_pMagic->FindSpell(spell)) return 0;
    // Without a target the actor casts it on itself.
    Object* on = target ? target->m_pObject : actor;
    if (target && !spell->IsValidTarget(on)) return 0;
    return spell->CastCopy(actor, on);
}

void Play::BeginTargetChoice(Object* item, Player* user, int selectMode, int pause,
                             const std::string& prompt) {
    m_Interaction.SetPendingItem(item);
    m_Interaction.SetPendingItemUser(user);
    m_Interaction.SetSelectMode(selectMode);
    // The world stands still while the target is chosen, unless the use
    // leaves the pause as it was.
    if (pause != UseSelect::kKeepPause) m_bPaused = pause;
    SetMessageLine(prompt);
}

void Play::EndUsePause() {
    m_bPaused = 0;
}

// ---- The orders of magic and of the use that waits for a target

int Play::GiveCast(const Order& order, Player* actor) {
    return CastKnownSpell(actor, order.object.Get(), order.target.Get());
}

int Play::GiveCancelTarget(const Order&, Player*) {
    m_bPaused = 0;
    m_Interaction.SetSelectMode(0);
    // What waited for the target goes with the selection: nothing used later
    // may pick it up by chance.
    m_Interaction.DropPendingUse();
    if (CMouseCursor* cursor = GetMouseCursor()) cursor->RestoreImage();
    return 1;
}
