#pragma once
// What the tests' creatures carry: a body as people have, stacks, and bags
// filled as records fill them.

#include <string>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Useable.h"

namespace belongings {

// A body as people have: a hand (3), the other hand (1), a bow hand (4) and a
// shield arm (2), and their body types.
inline void GiveBody(Player& p) {
    for (int32_t place : {3, 1, 4, 2}) p.m_BodySlotList.emplace_back(place);
    p.m_TraitList = {3, 5, 6, 8, 9, 4, 7, 7};
}

// A stack of `count` things of a kind.
inline Object* Stack(const std::string& name, int count) {
    auto* o = new Useable(name);
    o->m_bStackable = 1;
    o->m_iBulkNum = count;
    return o;
}

// Puts an entry in a bag as a record would have it: counted, no rules.
inline CBag* Hold(CBag* bag, Object* item) {
    bag->AddItem(item);
    bag->SetItemCount(bag->ItemCount() + 1);
    return bag;
}

// Fills the bag to its room with stones.
inline void Fill(CBag& bag) {
    while (bag.HasRoom()) Hold(&bag, new Useable("Stone"));
}

}  // namespace belongings
