#pragma once
// Bags: a creature's pack, the contents of a container, the spell books of a
// creature's magic. A bag owns its entries; each entry carries its place in
// the bag (0 to 19) in m_iSpare2. A bag inside a bag knows its parent.

#include <cstdint>
#include <memory>
#include <vector>

#include "world/Object.h"

class CBag : public Object {
    QV_DECLARE_CLASS(CBag)
public:
    explicit CBag(const std::string& name = "Bag");
    ~CBag() override;
    CBag(const CBag&) = delete;
    CBag& operator=(const CBag&) = delete;

    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // A bag of the same class holding a clone of every entry.
    Object* Clone() override;
    int Type() override { return BAG; }

    // Gives the item the lowest place 0..19 no entry has and appends it; the
    // bag takes it over (a bag put inside knows this one as its parent). The
    // item count is the caller's to change.
    void AddItem(Object* item);
    // True when the item is an entry of this bag or of any bag inside it.
    bool Contains(const Object* item) const;
    // Takes an entry out without deleting it; the caller gets it back. Null
    // when it is not an entry of this bag itself.
    Object* DetachItem(Object* item);
    // Appends a clone of every entry of `other`, in order, and counts them.
    void CopyItemsFrom(const CBag& other);
    // Empties the list without deleting the entries (the caller keeps them).
    std::vector<Object*> DetachAll();

    int ItemCount() const { return m_iItemCount; }
    const std::vector<std::unique_ptr<Object>>& Items() const { return m_ItemList; }

    int32_t m_iBagKind = 0;  // 0 plain, 4 chest, 5 barrel, 6 coffin, 7-10 spell books
    std::vector<std::unique_ptr<Object>> m_ItemList;
    CBag* m_pParent = nullptr;  // the bag holding this one; not owned
    int32_t m_iItemCount = 0;
    int32_t m_iCapacity = 10;
    // Set on a creature's own pack.
    int32_t m_bOwnBag = 0;
};
