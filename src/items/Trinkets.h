#pragma once
// Small things a creature finds and carries: a whistle, trash, a snake's
// skin, gems of eight colours and band-aids. They are items of no class of
// their own (their broad item class is the plain one); each is a row of the
// table of kinds (structures/Furnishings.h).

#include "items/Useable.h"
#include "structures/Furnishings.h"

class Trinket : public Useable {
public:
    Trinket(const ObjectKind& kind, const std::string& name);
};

QV_OBJECT_KIND(Whistle, Trinket)
QV_OBJECT_KIND(Trash, Trinket)
QV_OBJECT_KIND(SnakeSkin, Trinket)
QV_OBJECT_KIND(BandAid, Trinket)

// A gem of one of eight colours (its frame column).
class Gem : public Trinket {
    QV_DECLARE_CLASS(Gem)
public:
    explicit Gem(int variant = 0);
    void Serialize(qv::Archive& ar) override;
};
