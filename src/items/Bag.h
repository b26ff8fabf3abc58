#pragma once
// Bags: a creature's pack, the contents of a container, the spell books of a
// creature's magic. A bag holds up to its capacity (ten) of entries of its
// own, gives each entry a place 0 to 19 (kept in the entry's m_iSpare2),
// merges stackable items into stacks of their kind, and may hold further
// bags, which it searches through. A bag owns its entries; a bag inside a bag
// knows its parent. A bag never goes into itself or into a bag inside it.
//
// Every bag keeps, for the tree below it, how many entries of each kind
// (special name) and of money it holds, and which of its bags have room, so
// that putting an item in costs the same however much the tree holds. These
// are kept as the entries come and go through the bag's own operations; an
// entry renamed while it lies in a bag stacks by its new name only once it
// has been taken out and put in again.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/Object.h"

class CBag : public Object {
    QV_DECLARE_CLASS(CBag)
public:
    explicit CBag(const std::string& name = "Bag");
    ~CBag() override;
    CBag(const CBag&) = delete;
    CBag& operator=(const CBag&) = delete;

    // The object part, the entries, then the count and the kind. A record
    // whose count disagrees with its entries is read with the entries' count;
    // an entry that is the bag itself is refused.
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // The bag's inventory picture, on the ground as well.
    CDDObject* GetImage() override;
    void GetImageFrame(int* x, int* y) override;
    // A bag of the same class holding a clone of every entry.
    Object* Clone() override;
    int Type() override { return BAG; }

    // Gives the item the lowest place 0..19 that no entry has and appends it;
    // the bag takes it over (a bag put inside knows this one as its parent).
    // The item count is the caller's to change.
    void AddItem(Object* item);
    // Puts an item in, the bag taking it over: 1 put in, 2 merged into a
    // stack of this bag (the item stays, the old stack goes), 0 no room (the
    // item stays the caller's). `top` is 1 for the caller's call.
    int PutItem(Object* item, int top = 1);
    // Takes `amount` of an item out of this bag or a bag inside it: 1 when
    // the item was found. Part of a stack stays where it is; an entry that
    // leaves its bag is handed to *taken (deleted when taken is null).
    int RemoveItem(Object* item, int amount, std::unique_ptr<Object>* taken);
    // 1 when PutItem would find room for the item.
    int CanHold(Object* item);
    // True when the item is an entry of this bag or of any bag inside it.
    bool Contains(const Object* item) const;
    // The first entry (this bag's in order, a bag inside searched when it is
    // met) of the same kind as a stackable item, other than the item.
    Object* FindStackable(Object* item);
    // The first money of this bag's own entries, else of the first bag inside
    // it that holds any.
    Object* FindMoney();
    // Appends every entry in order, a bag replaced by its own entries.
    void CollectItems(std::vector<Object*>& list) const;
    // Appends a clone of every entry of `other`, in order, and counts them.
    void CopyItemsFrom(const CBag& other);
    // Empties the list without deleting the entries (the caller keeps them)
    // and sets the count to 0.
    std::vector<Object*> DetachAll();
    // Run on a bag just put into `container`: the first of its entries that
    // has a stack of its kind in the outermost bag joins that stack.
    void MergeIntoRoot(CBag* container);
    // Takes one of this bag's own entries out without deleting it; the
    // caller gets it back (null when it is not an entry here). The count is
    // the caller's to change.
    Object* DetachItem(Object* item);

    int ItemCount() const { return m_iItemCount; }
    void SetItemCount(int32_t count);
    int Capacity() const { return m_iCapacity; }
    bool HasRoom() const { return m_iItemCount < m_iCapacity; }
    const std::vector<std::unique_ptr<Object>>& Items() const { return m_ItemList; }
    CBag* Parent() const { return m_pParent; }
    // The outermost bag holding this one (this one when none does).
    CBag* Root();

    int32_t m_iBagKind = 0;  // 0 plain, 1-2 revived, 3 corpse, 4-6 containers, 7-10 books
    // Set on a creature's own pack.
    int32_t m_bOwnBag = 0;

    static constexpr int32_t kCapacity = 10;
    static constexpr int kSlots = 20;

private:
    struct PutContext {
        bool parentTried = false;
        CBag* room = nullptr;  // the last bag with room the search met
    };
    int Put(Object* item, int top, PutContext& ctx);
    int PutStackable(Object* item, int top, PutContext& ctx);
    Object* FindKind(Object* item, const std::string& key);
    bool WouldHoldItself(const Object* item) const;
    bool MayHoldKind(const std::string& key) const { return m_Kinds.count(key) != 0; }
    // The bookkeeping of an entry coming and going.
    void Enter(Object* entry);
    void Leave(Object* entry);
    std::unique_ptr<Object> TakeAt(size_t index);
    void Bump(const std::string& key, int32_t delta);
    void BumpMoney(int32_t delta);
    void RefreshRoom();
    void ComputeRoom();

    std::vector<std::unique_ptr<Object>> m_ItemList;
    CBag* m_pParent = nullptr;  // the bag holding this one; not owned
    int32_t m_iItemCount = 0;
    int32_t m_iCapacity = kCapacity;

    std::vector<CBag*> m_Bags;                              // the bag entries, in list order
    std::unordered_map<std::string, int32_t> m_Kinds;       // entries below, by kind
    std::unordered_map<const Object*, std::string> m_Keys;  // own entries' kinds as they came
    int32_t m_iMoney = 0;                                   // money entries below
    CBag* m_pFirstRoom = nullptr;  // the first bag with room, this one or below, in search order
    CBag* m_pLastRoom = nullptr;   // the last one a search notes
};
