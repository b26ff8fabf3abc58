#pragma once
// The object catalogue: one prototype of every kind of object the world maker
// can place, in seven lists. The maker shows the lists under their labels and
// places clones of a chosen prototype; its spell pages read the spell list.
//
// The catalogue knows its prototypes only as objects: the game's objects fill
// it (items/ObjectCatalogueBuild.h) at the start of play, and it owns what it
// holds until it is freed or goes with its world.

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class Object;

enum class CatalogueList { Walls, Traps, Weapons, Armour, Magic, Misc, Spells };
inline constexpr size_t kCatalogueListCount = 7;

class ObjectCatalogue {
public:
    // Each list runs from the last prototype added to the first.
    using List = std::vector<std::unique_ptr<Object>>;

    ObjectCatalogue();
    ~ObjectCatalogue();
    ObjectCatalogue(const ObjectCatalogue&) = delete;
    ObjectCatalogue& operator=(const ObjectCatalogue&) = delete;

    // The label the world maker shows for a list ("Walls", "Traps",
    // "Weapons", "Armour", "Magic", "Misc."); the spell list has none (null).
    static const char* Label(CatalogueList list);

    // Takes over a prototype and puts it at the head of its list; a null
    // prototype is refused (false).
    bool Add(CatalogueList list, std::unique_ptr<Object> prototype);
    const List& Get(CatalogueList list) const;
    size_t Count() const;
    bool IsEmpty() const { return Count() == 0; }

    // A clone of the prototype at `index` of the list (the caller's), or
    // null when the list has no such entry or the prototype makes no clone.
    std::unique_ptr<Object> CloneOf(CatalogueList list, size_t index) const;

    // Empties every list from its head, deleting each prototype.
    void Free();

private:
    std::array<List, kCatalogueListCount> m_Lists;
};
