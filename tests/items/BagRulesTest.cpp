// Bags: where PutItem puts a thing (stacks, room, nesting, the parent tried
// once, the last bag with room), what RemoveItem and CanHold answer, the
// searches, a bag never inside itself, records that would nest a bag in
// itself, and the quick search answering as the full search of the rules.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "items/Bag.h"
#include "items/Useable.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::StoreObject;

// Things for the bags: a plain item, a stack, money.
Object* Thing(const std::string& name) {
    return new Useable(name);
}
Object* Stack(const std::string& name, int count) {
    auto* o = new Useable(name);
    o->m_bStackable = 1;
    o->m_iBulkNum = count;
    return o;
}
class Coins : public Object {
public:
    explicit Coins(int count) : Object("Gold") {
        m_bStackable = 1;
        m_iBulkNum = count;
    }
    int Type() override { return MONEY; }
};

// Puts an entry in a bag as a record would have it: counted, no rules.
CBag* Hold(CBag* bag, Object* item) {
    bag->AddItem(item);
    bag->SetItemCount(bag->ItemCount() + 1);
    return bag;
}
CBag* Fill(CBag* bag, int sticks) {
    for (int i = 0; i < sticks; ++i) Hold(bag, Thing("Stick"));
    return bag;
}
CBag* NewBag(const std::string& name) {
    return new CBag(name);
}

// A bag's contents as text: names with their counts and places, inner bags
// in brackets.
std::string Show(const CBag& bag) {
    std::string s;
    for (const auto& e : bag.Items()) {
        if (!s.empty()) s += ' ';
        s += e->m_strSpecialName;
        if (e->m_iBulkNum != 1) s += "*" + std::to_string(e->m_iBulkNum);
        s += "@" + std::to_string(e->m_iSpare2);
        if (e->Type() == BAG && !static_cast<CBag*>(e.get())->Items().empty())
            s += "[" + Show(*static_cast<CBag*>(e.get())) + "]";
    }
    return s;
}

struct PutRow {
    const char* what;
    std::function<CBag*(CBag& pack)> build;  // answers the bag to put into
    std::function<Object*()> item;
    int answer;
    const char* after;  // the pack afterwards
};

const PutRow kPuts[] = {
    {"a thing goes into a bag with room, at the lowest free place",
     [](CBag& p) { return Fill(&p, 2); }, [] { return Thing("Sword"); }, 1,
     "Stick@0 Stick@1 Sword@2"},
    {"ten entries and no bag inside with room: refused", [](CBag& p) { return Fill(&p, 10); },
     [] { return Thing("Sword"); }, 0,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 Stick@9"},
    {"ten entries: the eleventh goes into the bag inside with room",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, NewBag("Pouch"));
         return &p;
     },
     [] { return Thing("Sword"); }, 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 Pouch@9[Sword@0]"},
    {"the first bag with room in search order: inside the first pouch before the second",
     [](CBag& p) {
         Fill(&p, 8);
         CBag* a = Fill(NewBag("A"), 9);
         Hold(a, NewBag("C"));
         Hold(&p, a);
         Hold(&p, NewBag("B"));
         return &p;
     },
     [] { return Thing("Sword"); }, 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 A@8[Stick@0 Stick@1 Stick@2 "
     "Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 C@9[Sword@0]] B@9"},
    {"5 gold into a bag with 3: one stack of 8 in the old stack's place",
     [](CBag& p) {
         Hold(&p, Stack("Gold", 3));
         Hold(&p, Thing("Stick"));
         return &p;
     },
     [] { return Stack("Gold", 5); }, 2, "Stick@1 Gold*8@0"},
    {"a stack finds its kind in a bag inside",
     [](CBag& p) {
         Hold(&p, Thing("Stick"));
         Hold(&p, Hold(NewBag("Pouch"), Stack("Gold", 3)));
         return &p;
     },
     [] { return Stack("Gold", 5); }, 1, "Stick@0 Pouch@1[Gold*8@0]"},
    {"a stack without its kind stays in a bag with room",
     [](CBag& p) {
         Hold(&p, NewBag("Pouch"));
         return &p;
     },
     [] { return Stack("Arrow", 4); }, 1, "Pouch@0 Arrow*4@1"},
    {"no kind and no room: the last bag with room the search met",
     [](CBag& p) {
         Fill(&p, 8);
         Hold(&p, NewBag("A"));
         Hold(&p, NewBag("B"));
         return &p;
     },
     [] { return Stack("Arrow", 4); }, 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 A@8 B@9[Arrow*4@0]"},
    {"a bag with room is noted after the bags inside it",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, Hold(NewBag("A"), NewBag("C")));
         return &p;
     },
     [] { return Stack("Arrow", 4); }, 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 A@9[C@0 Arrow*4@1]"},
    {"put into an inner bag: a stack of its kind in the bag holding it takes it",
     [](CBag& p) {
         Hold(&p, Stack("Gold", 3));
         CBag* pouch = NewBag("Pouch");
         Hold(&p, pouch);
         return pouch;
     },
     [] { return Stack("Gold", 2); }, 1, "Pouch@1 Gold*5@0"},
    {"put into an inner bag: without a stack of its kind it stays there",
     [](CBag& p) {
         Hold(&p, Thing("Stick"));
         CBag* pouch = NewBag("Pouch");
         Hold(&p, pouch);
         return pouch;
     },
     [] { return Stack("Gold", 2); }, 1, "Stick@0 Pouch@1[Gold*2@0]"},
    {"a bag put in: its first entry with a stack in the outermost bag joins it",
     [](CBag& p) {
         Hold(&p, Stack("Gold", 3));
         Hold(&p, Stack("Arrow", 1));
         return &p;
     },
     [] {
         CBag* pouch = NewBag("Pouch");
         Hold(pouch, Thing("Stick"));
         Hold(pouch, Stack("Arrow", 2));
         Hold(pouch, Stack("Gold", 4));
         return pouch;
     },
     1, "Gold*3@0 Arrow*3@1 Pouch@2[Stick@0 Gold*4@2]"},
    {"places are the lowest free: 0, 1 and 3 taken give 2",
     [](CBag& p) {
         Fill(&p, 4);
         std::unique_ptr<Object> out;
         p.RemoveItem(p.Items()[2].get(), 1, &out);
         return &p;
     },
     [] { return Thing("Sword"); }, 1, "Stick@0 Stick@1 Stick@3 Sword@2"},
};

TEST(BagRules, WherePutItemPutsAThing) {
    World world;
    for (const PutRow& row : kPuts) {
        SCOPED_TRACE(row.what);
        CBag pack("Pack");
        CBag* into = row.build(pack);
        std::unique_ptr<Object> item(row.item());
        const int answer = into->PutItem(item.get(), 1);
        EXPECT_EQ(answer, row.answer);
        if (answer != 0) item.release();
        EXPECT_EQ(Show(pack), row.after);
    }
}

TEST(BagRules, ABagNeverGoesIntoItselfOrTwiceAnywhere) {
    World world;
    CBag pack("Pack");
    CBag* pouch = NewBag("Pouch");
    CBag* purse = NewBag("Purse");
    Hold(pouch, purse);
    Hold(&pack, pouch);
    // Into itself, into a bag inside it, or a bag already in a bag: refused.
    EXPECT_EQ(pack.PutItem(&pack, 1), 0);
    EXPECT_EQ(purse->PutItem(&pack, 1), 0);
    EXPECT_EQ(purse->PutItem(pouch, 1), 0);
    EXPECT_EQ(pack.PutItem(purse, 1), 0);
    EXPECT_EQ(pack.CanHold(&pack), 0);
    EXPECT_EQ(purse->CanHold(&pack), 0);
    // An entry put into its own bag again is refused; a stack never merges
    // with itself.
    Object* gold = Stack("Gold", 3);
    Hold(&pack, gold);
    EXPECT_EQ(pack.PutItem(gold, 1), 0);
    EXPECT_EQ(gold->m_iBulkNum, 3);
    EXPECT_EQ(pack.FindStackable(gold), nullptr);
    EXPECT_EQ(Show(pack), "Pouch@0[Purse@0] Gold*3@1");
}

struct RemoveRow {
    const char* what;
    int count;  // the stack's count (1: a plain thing)
    int amount;
    int answer;
    bool leaves;  // the entry leaves the bag
    int countAfter;
};

const RemoveRow kRemoves[] = {
    {"2 of 5: 3 stay", 5, 2, 1, false, 3},
    {"4 of 5: 1 stays", 5, 4, 1, false, 1},
    {"5 of 5: the entry leaves with nothing", 5, 5, 1, true, 0},
    {"7 of 5: the entry leaves below nothing", 5, 7, 1, true, -2},
    {"a single thing leaves whole", 1, 1, 1, true, 1},
    {"0 of a single thing leaves it too", 1, 0, 1, false, 1},
};

TEST(BagRules, RemoveItem) {
    World world;
    for (const RemoveRow& row : kRemoves) {
        SCOPED_TRACE(row.what);
        CBag pack("Pack");
        CBag* pouch = NewBag("Pouch");
        Hold(&pack, pouch);
        Object* item = row.count > 1 ? Stack("Arrow", row.count) : Thing("Rope");
        Hold(pouch, item);
        std::unique_ptr<Object> taken;
        EXPECT_EQ(pack.RemoveItem(item, row.amount, &taken), row.answer);
        EXPECT_EQ(taken.get() == item, row.leaves);
        EXPECT_EQ(pack.Contains(item), !row.leaves);
        EXPECT_EQ(pouch->ItemCount(), row.leaves ? 0 : 1);
        EXPECT_EQ(item->m_iBulkNum, row.countAfter);
        if (!row.leaves) taken.reset();
    }
    CBag pack("Pack");
    Useable stranger("Stranger");
    std::unique_ptr<Object> taken;
    EXPECT_EQ(pack.RemoveItem(&stranger, 1, &taken), 0);
}

struct HoldRow {
    const char* what;
    std::function<void(CBag& pack)> build;
    std::function<Object*()> item;
    int answer;
};

const HoldRow kHolds[] = {
    {"room: yes", [](CBag& p) { Fill(&p, 9); }, [] { return Thing("Sword"); }, 1},
    {"full: no", [](CBag& p) { Fill(&p, 10); }, [] { return Thing("Sword"); }, 0},
    {"full with a bag inside with room: yes",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, NewBag("Pouch"));
     },
     [] { return Thing("Sword"); }, 1},
    {"full with a full bag inside: no",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, Fill(NewBag("Pouch"), 10));
     },
     [] { return Thing("Sword"); }, 0},
    {"full, a stack of its kind here: yes",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, Stack("Gold", 2));
     },
     [] { return Stack("Gold", 1); }, 1},
    {"full, a stack of its kind in a full bag inside: yes",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, Hold(Fill(NewBag("Pouch"), 9), Stack("Gold", 2)));
     },
     [] { return Stack("Gold", 1); }, 1},
    {"full, another kind in a full bag inside: no",
     [](CBag& p) {
         Fill(&p, 9);
         Hold(&p, Hold(Fill(NewBag("Pouch"), 9), Stack("Arrow", 2)));
     },
     [] { return Stack("Gold", 1); }, 0},
};

TEST(BagRules, CanHold) {
    World world;
    for (const HoldRow& row : kHolds) {
        SCOPED_TRACE(row.what);
        CBag pack("Pack");
        row.build(pack);
        std::unique_ptr<Object> item(row.item());
        EXPECT_EQ(pack.CanHold(item.get()), row.answer);
        const int put = pack.PutItem(item.get(), 1);
        EXPECT_EQ(put != 0, row.answer != 0) << "PutItem finds the room CanHold promised";
        if (put) item.release();
    }
}

TEST(BagRules, TheSearches) {
    World world;
    CBag pack("Pack");
    Object* sword = Thing("Sword");
    Hold(&pack, sword);
    CBag* pouch = NewBag("Pouch");
    Hold(&pack, pouch);
    CBag* purse = NewBag("Purse");
    Hold(pouch, purse);
    Object* deep = Thing("Ring");
    Hold(purse, deep);
    Object* potions = Stack("Potion", 2);
    Hold(pouch, potions);
    Coins* gold = new Coins(7);
    Hold(purse, gold);

    // Contains finds a thing three bags deep.
    EXPECT_TRUE(pack.Contains(deep));
    EXPECT_FALSE(pouch->Contains(sword));
    // The first stack of a kind, the bags searched where they stand.
    std::unique_ptr<Object> more(Stack("Potion", 1));
    EXPECT_EQ(pack.FindStackable(more.get()), potions);
    std::unique_ptr<Object> plain(Thing("Potion"));
    EXPECT_EQ(pack.FindStackable(plain.get()), nullptr) << "the thing looked for is not stackable";
    // Money: none of the pack's own, so the first bag inside that holds any.
    EXPECT_EQ(pack.FindMoney(), gold);
    Coins* loose = new Coins(1);
    Hold(&pack, loose);
    EXPECT_EQ(pack.FindMoney(), loose);
    // Collected: the bags give their entries in their place.
    std::vector<Object*> all;
    pack.CollectItems(all);
    EXPECT_EQ(all, (std::vector<Object*>{sword, deep, gold, potions, loose}));
    // A bag inside knows its parent while it is inside.
    EXPECT_EQ(purse->Parent(), pouch);
    EXPECT_EQ(purse->Root(), &pack);
}

TEST(BagRecords, ABagListedInsideItselfIsRefused) {
    World world;
    // A bag whose one entry is a reference back to the bag itself.
    const Bytes bytes = record_test::Record(CBag::classInfo, 2, [](qv::Archive& a) {
        a.SerializeClass(&Object::classInfo);
        Object o("Bag");
        o.Serialize(a);
        a.WriteCount(1);
        a.WriteWord(2);  // after the class (1): the bag itself
        a.WriteInt(1);
        a.WriteInt(0);
    });
    qv::Archive in(bytes, "cycle.bag");
    try {
        delete in.ReadObjectOf<CBag>();
        ADD_FAILURE() << "a bag inside itself was read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.file, "cycle.bag");
    }
}

// `depth` bags, each inside the one before, as the game stores them.
Bytes NestedBags(int depth) {
    CBag outer("Bag");
    CBag* at = &outer;
    for (int i = 1; i < depth; ++i) {
        CBag* inner = NewBag("Bag");
        Hold(at, inner);
        at = inner;
    }
    return StoreObject(outer);
}

TEST(BagRecords, BagsNestedBeyondTheArchivesLimitAreRefused) {
    World world;
    {
        SCOPED_TRACE("at the limit: read whole");
        auto back = record_test::LoadObject<CBag>(NestedBags(qv::Archive::kMaxNesting));
        int depth = 1;
        for (const CBag* b = back.get(); b && !b->Items().empty(); ++depth)
            b = qv::DynamicCast<CBag>(b->Items()[0].get());
        EXPECT_EQ(depth, qv::Archive::kMaxNesting);
    }
    SCOPED_TRACE("one deeper: refused, naming the file");
    const Bytes bytes = NestedBags(qv::Archive::kMaxNesting + 1);
    qv::Archive in(bytes, "deep.bag");
    try {
        delete in.ReadObjectOf<CBag>();
        ADD_FAILURE() << "bags nested too deep were read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.file, "deep.bag");
    }
}

TEST(BagRecords, NestedBagsComeBackWithTheirParentsAndSearches) {
    World world;
    CBag pack("Pack");
    CBag* bag = &pack;
    for (int depth = 0; depth < 40; ++depth) {
        CBag* inner = NewBag("Bag" + std::to_string(depth));
        Hold(bag, Stack("Gold", depth + 1));
        Hold(bag, inner);
        bag = inner;
    }
    auto back = record_test::LoadObject<CBag>(StoreObject(pack));
    EXPECT_EQ(Show(*back), Show(pack));
    // The deepest bag's searches reach the outermost one.
    CBag* deepest = back.get();
    while (deepest->Items().size() == 2) deepest = static_cast<CBag*>(deepest->Items()[1].get());
    EXPECT_EQ(deepest->Root(), back.get());
    // Gold put into the deepest bag joins the stack of the bag holding it.
    std::unique_ptr<Object> gold(Stack("Gold", 1));
    EXPECT_EQ(deepest->PutItem(gold.get(), 1), 1);
    gold.release();
    EXPECT_EQ(deepest->Parent()->Items().back()->m_iBulkNum, 41);
    EXPECT_EQ(back->Items()[0]->m_iBulkNum, 1);
}

TEST(BagRecords, PlacesAndKindsFromAFileAreMadeGood) {
    World world;
    // Entries stored with the places 3, 3 (taken twice), 25 and -1, in a bag
    // of a kind no bag has.
    CBag bag("Pack");
    for (int slot : {3, 3, 25, -1}) {
        Object* o = Thing("Stone");
        Hold(&bag, o);
        o->m_iSpare2 = slot;
    }
    bag.m_iBagKind = 42;
    auto back = record_test::LoadObject<CBag>(StoreObject(bag));
    EXPECT_EQ(Show(*back), "Stone@3 Stone@0 Stone@1 Stone@2");
    EXPECT_EQ(back->m_iBagKind, 0);
    // A stored place that is good is kept.
    EXPECT_EQ(Show(*record_test::LoadObject<CBag>(StoreObject(*back))), Show(*back));
}

// ---- The quick search answers as the full search of the rules

// A bag of the rules, searched in full every time.
struct RuleBag {
    struct Entry {
        std::string name;
        int count = 1;
        bool stackable = false;
        std::unique_ptr<RuleBag> bag;
    };
    std::vector<Entry> entries;
    RuleBag* parent = nullptr;
    int capacity = 10;
    bool Room() const { return static_cast<int>(entries.size()) < capacity; }

    struct Shared {
        bool parentTried = false;
        RuleBag* room = nullptr;
    };
    int Put(Entry item, int top, Shared& s) {
        if (item.stackable) {
            for (size_t i = 0; i < entries.size(); ++i)
                if (!entries[i].bag && entries[i].name == item.name) {
                    item.count += entries[i].count;
                    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
                    entries.push_back(std::move(item));
                    return 2;
                }
            for (auto& e : entries)
                if (e.bag && e.bag->Put(Copy(item), 0, s)) return 1;
            if (parent && top && !s.parentTried) {
                s.parentTried = true;
                if (parent->Put(Copy(item), 0, s)) return 1;
            }
            if (top) {
                RuleBag* into = Room() ? this : s.room;
                if (!into) return 0;
                into->entries.push_back(std::move(item));
                return 1;
            }
            if (Room()) s.room = this;
            return 0;
        }
        if (Room()) {
            entries.push_back(std::move(item));
            return 1;
        }
        for (auto& e : entries)
            if (e.bag && e.bag->Put(Copy(item), 0, s)) return 1;
        return 0;
    }
    static Entry Copy(const Entry& e) {
        Entry c;
        c.name = e.name;
        c.count = e.count;
        c.stackable = e.stackable;
        return c;
    }
    std::string Show() const {
        std::string s;
        for (const auto& e : entries) {
            if (!s.empty()) s += ' ';
            s += e.name;
            if (e.count != 1) s += "*" + std::to_string(e.count);
            if (e.bag && !e.bag->entries.empty()) s += "[" + e.bag->Show() + "]";
        }
        return s;
    }
};

// The same as Show, without the places (the rules' model keeps none).
std::string ShowKinds(const CBag& bag) {
    std::string s;
    for (const auto& e : bag.Items()) {
        if (!s.empty()) s += ' ';
        s += e->m_strSpecialName;
        if (e->m_iBulkNum != 1) s += "*" + std::to_string(e->m_iBulkNum);
        if (e->Type() == BAG && !static_cast<CBag*>(e.get())->Items().empty())
            s += "[" + ShowKinds(*static_cast<CBag*>(e.get())) + "]";
    }
    return s;
}

TEST(BagRules, TheQuickSearchAnswersAsTheFullSearch) {
    World world;
    const char* kinds[] = {"Gold", "Arrow", "Potion", "Stone", "Needle"};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        qv::SeedRand(seed);
        // The same tree twice: bags of mixed contents, nested three deep.
        CBag pack("Pack");
        RuleBag model;
        std::vector<std::pair<CBag*, RuleBag*>> bags{{&pack, &model}};
        for (int i = 0; i < 24; ++i) {
            auto [bag, rule] = bags[static_cast<size_t>(qv::Rand()) % bags.size()];
            if (!bag->HasRoom()) continue;
            if (qv::Rand() % 4 == 0 && bags.size() < 8) {
                CBag* inner = NewBag("Bag");
                Hold(bag, inner);
                RuleBag::Entry e;
                e.name = "Bag";
                e.bag = std::make_unique<RuleBag>();
                e.bag->parent = rule;
                bags.emplace_back(inner, e.bag.get());
                rule->entries.push_back(std::move(e));
            } else {
                const std::string name = qv::Rand() % 3 ? kinds[qv::Rand() % 5] : "Stick";
                const bool stack = name != "Stick";
                Hold(bag, stack ? Stack(name, 1) : Thing(name));
                RuleBag::Entry e;
                e.name = name;
                e.stackable = stack;
                rule->entries.push_back(std::move(e));
            }
        }
        ASSERT_EQ(ShowKinds(pack), model.Show());
        // Then things put in at any bag of the tree.
        for (int i = 0; i < 30; ++i) {
            auto [bag, rule] = bags[static_cast<size_t>(qv::Rand()) % bags.size()];
            const std::string name = qv::Rand() % 4 ? kinds[qv::Rand() % 5] : "Sword";
            const bool stack = name != "Sword";
            std::unique_ptr<Object> item(stack ? Stack(name, 1 + qv::Rand() % 3) : Thing(name));
            RuleBag::Entry e;
            e.name = name;
            e.count = item->m_iBulkNum;
            e.stackable = stack;
            RuleBag::Shared shared;
            const int expected = rule->Put(std::move(e), 1, shared);
            const int answer = bag->PutItem(item.get(), 1);
            ASSERT_EQ(answer, expected) << "put " << name << " #" << i;
            if (answer) item.release();
            ASSERT_EQ(ShowKinds(pack), model.Show()) << "put " << name << " #" << i;
        }
    }
}

}  // namespace
