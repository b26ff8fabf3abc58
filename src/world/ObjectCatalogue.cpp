#include "world/ObjectCatalogue.h"

#include "world/Object.h"

ObjectCatalogue::ObjectCatalogue() = default;

ObjectCatalogue::~ObjectCatalogue() {
    Free();
}

const char* ObjectCatalogue::Label(CatalogueList list) {
    switch (list) {
        case CatalogueList::Walls:
            return "Walls";
        case CatalogueList::Traps:
            return "Traps";
        case CatalogueList::Weapons:
            return "Weapons";
        case CatalogueList::Armour:
            return "Armour";
        case CatalogueList::Magic:
            return "Magic";
        case CatalogueList::Misc:
            return "Misc.";
        case CatalogueList::Spells:
            break;
    }
    return nullptr;
}

bool ObjectCatalogue::Add(CatalogueList list, std::unique_ptr<Object> prototype) {
    if (!prototype) return false;
    List& entries = m_Lists[static_cast<size_t>(list)];
    entries.insert(entries.begin(), std::move(prototype));
    return true;
}

const ObjectCatalogue::List& ObjectCatalogue::Get(CatalogueList list) const {
    return m_Lists[static_cast<size_t>(list)];
}

size_t ObjectCatalogue::Count() const {
    size_t n = 0;
    for (const List& list : m_Lists) n += list.size();
    return n;
}

std::unique_ptr<Object> ObjectCatalogue::CloneOf(CatalogueList list, size_t index) const {
    const List& entries = Get(list);
    if (index >= entries.size() || !entries[index]) return nullptr;
    return std::unique_ptr<Object>(entries[index]->Clone());
}

void ObjectCatalogue::Free() {
    for (List& list : m_Lists)
        while (!list.empty()) {
            // Taken off the list before it goes, so that nothing its
            // destructor asks finds it listed.
            std::unique_ptr<Object> prototype = std::move(list.front());
            list.erase(list.begin());
            prototype.reset();
        }
}
