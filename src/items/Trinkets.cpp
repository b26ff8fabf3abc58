#include "items/Trinkets.h"

Trinket::Trinket(const ObjectKind& kind, const std::string& name) : Useable(name) {
    WearKind(*this, kind);
}

QV_IMPLEMENT_OBJECT_KIND(Whistle, Trinket, Useable)
QV_IMPLEMENT_OBJECT_KIND(Trash, Trinket, Useable)
QV_IMPLEMENT_OBJECT_KIND(SnakeSkin, Trinket, Useable)
QV_IMPLEMENT_OBJECT_KIND(BandAid, Trinket, Useable)

QV_IMPLEMENT_STORED(Gem, Useable, 1)

Gem::Gem(int variant) : Trinket(KindNamed("Gem"), "Gem") {
    m_iXImageNum = variant;
}
