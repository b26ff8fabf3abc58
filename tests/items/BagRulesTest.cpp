// Bags: where PutItem puts a thing (stacks, room, nesting, the parent tried
// once, the last bag with room), what RemoveItem and CanHold answer, the
// searches, a bag never inside itself, records that would nest a bag in
// itself, and the kept counts answering as counts made anew.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "items/Bag.h"
#include "items/Useable.h"
#include "platform/Rand.h"
#include "support/Belongings.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using belongings::Hold;
using belongings::Stack;
using record_test::Bytes;
using record_test::StoreObject;

Object* Thing(const std::string& name) {
    return new Useable(name);
}
class Coins : public Object {
public:
    explicit Coins(int count) : Object("Gold") {
        m_bStackable = 1;
        m_iBulkNum = count;
    }
    int Type() override { return MONEY; }
};

// Things written as a line: "Stick" a plain thing, "Gold*3" a stack of 3,
// "Pouch[Stick Gold*3]" a bag with what the brackets hold, "Stick@3" a thing
// in place 3.
Object* Parse(const char*& s);
CBag* ParseInto(CBag* bag, const char*& s) {
    while (*s && *s != ']') {
        if (*s == ' ') {
            ++s;
            continue;
        }
        Object* o = Parse(s);
        Hold(bag, o);
        if (*s == '@') {
            char* end = nullptr;
            o->m_iSpare2 = static_cast<int32_t>(std::strtol(s + 1, &end, 10));
            s = end;
        }
    }
    return bag;
}
Object* Parse(const char*& s) {
    std::string name;
    while (std::isalnum(static_cast<unsigned char>(*s))) name += *s++;
    char* end = nullptr;
    Object* o = nullptr;
    if (*s == '*') {
        o = Stack(name, static_cast<int>(std::strtol(s + 1, &end, 10)));
        s = end;
    } else if (*s == '[') {
        o = ParseInto(new CBag(name), ++s);
        ++s;
    } else {
        o = Thing(name);
    }
    return o;
}
Object* Make(const std::string& line) {
    const char* s = line.c_str();
    return Parse(s);
}
std::string Sticks(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "Stick ";
    return s;
}
CBag* Named(CBag* bag, const std::string& name) {
    if (bag->m_strSpecialName == name) return bag;
    for (const auto& e : bag->Items())
        if (e->Type() == BAG)
            if (CBag* found = Named(static_cast<CBag*>(e.get()), name)) return found;
    return nullptr;
}

// A bag's contents as text: names with their counts and places, inner bags
// in brackets.
std::string Show(const CBag& bag, bool places = true) {
    std::string s;
    for (const auto& e : bag.Items()) {
        if (!s.empty()) s += ' ';
        s += e->m_strSpecialName;
        if (e->m_iBulkNum != 1) s += "*" + std::to_string(e->m_iBulkNum);
        if (places) s += "@" + std::to_string(e->m_iSpare2);
        if (e->Type() == BAG && !static_cast<CBag*>(e.get())->Items().empty())
            s += "[" + Show(*static_cast<CBag*>(e.get()), places) + "]";
    }
    return s;
}

struct PutRow {
    const char* what;
    std::string pack;  // the pack's contents
    const char* into;  // the bag put into
    const char* item;
    int answer;
    std::string after;  // the pack afterwards
};

const PutRow kPuts[] = {
    {"a thing goes into a bag with room, at the lowest free place", "Stick Stick", "Pack", "Sword",
     1, "Stick@0 Stick@1 Sword@2"},
    {"places are the lowest free: 0, 1 and 3 taken give 2", "Stick@0 Stick@1 Stick@3", "Pack",
     "Sword", 1, "Stick@0 Stick@1 Stick@3 Sword@2"},
    {"ten entries and no bag inside with room: refused", Sticks(10), "Pack", "Sword", 0,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 Stick@9"},
    {"ten entries: the eleventh goes into the bag inside with room", Sticks(9) + "Pouch[]", "Pack",
     "Sword", 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 Pouch@9[Sword@0]"},
    {"the first bag with room in search order: inside the first pouch before the second",
     Sticks(8) + "A[" + Sticks(9) + "C[]] B[]", "Pack", "Sword", 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 A@8[Stick@0 Stick@1 Stick@2 "
     "Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 C@9[Sword@0]] B@9"},
    {"5 gold into a bag with 3: one stack of 8 in the old stack's place", "Gold*3 Stick", "Pack",
     "Gold*5", 2, "Stick@1 Gold*8@0"},
    {"a stack finds its kind in a bag inside", "Stick Pouch[Gold*3]", "Pack", "Gold*5", 1,
     "Stick@0 Pouch@1[Gold*8@0]"},
    {"a stack without its kind stays in a bag with room", "Pouch[]", "Pack", "Arrow*4", 1,
     "Pouch@0 Arrow*4@1"},
    {"no kind and no room: the last bag with room the search met", Sticks(8) + "A[] B[]", "Pack",
     "Arrow*4", 1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 A@8 B@9[Arrow*4@0]"},
    {"a bag with room is noted after the bags inside it", Sticks(9) + "A[C[]]", "Pack", "Arrow*4",
     1,
     "Stick@0 Stick@1 Stick@2 Stick@3 Stick@4 Stick@5 Stick@6 Stick@7 Stick@8 A@9[C@0 Arrow*4@1]"},
    {"put into an inner bag: a stack of its kind in the bag holding it takes it", "Gold*3 Pouch[]",
     "Pouch", "Gold*2", 1, "Pouch@1 Gold*5@0"},
    {"put into an inner bag: without a stack of its kind it stays there", "Stick Pouch[]", "Pouch",
     "Gold*2", 1, "Stick@0 Pouch@1[Gold*2@0]"},
    {"a bag put in: its first entry with a stack in the outermost bag joins it", "Gold*3 Arrow*1",
     "Pack", "Pouch[Stick Arrow*2 Gold*4]", 1, "Gold*3@0 Arrow*3@1 Pouch@2[Stick@0 Gold*4@2]"},
};

TEST(BagRules, WherePutItemPutsAThing) {
    World world;
    for (const PutRow& row : kPuts) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<CBag> pack(static_cast<CBag*>(Make("Pack[" + row.pack + "]")));
        std::unique_ptr<Object> item(Make(row.item));
        const int answer = Named(pack.get(), row.into)->PutItem(item.get(), 1);
        EXPECT_EQ(answer, row.answer);
        if (answer != 0) item.release();
        EXPECT_EQ(Show(*pack), row.after);
    }
}

TEST(BagRules, ABagNeverGoesIntoItselfOrTwiceAnywhere) {
    World world;
    std::unique_ptr<CBag> pack(static_cast<CBag*>(Make("Pack[Pouch[Purse[]] Gold*3]")));
    CBag* pouch = Named(pack.get(), "Pouch");
    CBag* purse = Named(pack.get(), "Purse");
    Object* gold = pack->Items()[1].get();
    // Into itself, into a bag inside it, or a bag already in a bag: refused.
    EXPECT_EQ(pack->PutItem(pack.get(), 1), 0);
    EXPECT_EQ(purse->PutItem(pack.get(), 1), 0);
    EXPECT_EQ(purse->PutItem(pouch, 1), 0);
    EXPECT_EQ(pack->PutItem(purse, 1), 0);
    EXPECT_EQ(pack->CanHold(pack.get()), 0);
    EXPECT_EQ(purse->CanHold(pack.get()), 0);
    // An entry put into its own bag again is refused; a stack never merges
    // with itself.
    EXPECT_EQ(pack->PutItem(gold, 1), 0);
    EXPECT_EQ(pack->FindStackable(gold), nullptr);
    EXPECT_EQ(Show(*pack), "Pouch@0[Purse@0] Gold*3@1");
}

struct RemoveRow {
    const char* what;
    const char* item;  // in a pouch in the pack
    int amount;
    bool leaves;  // the entry leaves the bag
    int countAfter;
};

const RemoveRow kRemoves[] = {
    {"2 of 5: 3 stay", "Arrow*5", 2, false, 3},
    {"4 of 5: 1 stays", "Arrow*5", 4, false, 1},
    {"5 of 5: the entry leaves with nothing", "Arrow*5", 5, true, 0},
    {"7 of 5: the entry leaves below nothing", "Arrow*5", 7, true, -2},
    {"a single thing leaves whole", "Rope", 1, true, 1},
    {"0 of a single thing leaves it too", "Rope", 0, false, 1},
};

TEST(BagRules, RemoveItem) {
    World world;
    for (const RemoveRow& row : kRemoves) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<CBag> pack(
            static_cast<CBag*>(Make("Pack[Pouch[" + std::string(row.item) + "]]")));
        CBag* pouch = Named(pack.get(), "Pouch");
        Object* item = pouch->Items()[0].get();
        std::unique_ptr<Object> taken;
        EXPECT_EQ(pack->RemoveItem(item, row.amount, &taken), 1);
        EXPECT_EQ(taken.get() == item, row.leaves);
        EXPECT_EQ(pack->Contains(item), !row.leaves);
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
    std::string pack;
    const char* item;
    int answer;
};

const HoldRow kHolds[] = {
    {"room: yes", Sticks(9), "Sword", 1},
    {"full: no", Sticks(10), "Sword", 0},
    {"full with a bag inside with room: yes", Sticks(9) + "Pouch[]", "Sword", 1},
    {"full with a full bag inside: no", Sticks(9) + "Pouch[" + Sticks(10) + "]", "Sword", 0},
    {"full, a stack of its kind here: yes", Sticks(9) + "Gold*2", "Gold*1", 1},
    {"full, a stack of its kind in a full bag inside: yes",
     Sticks(9) + "Pouch[" + Sticks(9) + "Gold*2]", "Gold*1", 1},
    {"full, another kind in a full bag inside: no", Sticks(9) + "Pouch[" + Sticks(9) + "Arrow*2]",
     "Gold*1", 0},
};

TEST(BagRules, CanHold) {
    World world;
    for (const HoldRow& row : kHolds) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<CBag> pack(static_cast<CBag*>(Make("Pack[" + row.pack + "]")));
        std::unique_ptr<Object> item(Make(row.item));
        EXPECT_EQ(pack->CanHold(item.get()), row.answer);
        const int put = pack->PutItem(item.get(), 1);
        EXPECT_EQ(put != 0, row.answer != 0) << "PutItem finds the room CanHold promised";
        if (put) item.release();
    }
}

TEST(BagRules, TheSearches) {
    World world;
    std::unique_ptr<CBag> pack(static_cast<CBag*>(Make("Pack[Sword Pouch[Purse[Ring] Potion*2]]")));
    CBag* pouch = Named(pack.get(), "Pouch");
    CBag* purse = Named(pack.get(), "Purse");
    Object* sword = pack->Items()[0].get();
    Object* deep = purse->Items()[0].get();
    Object* potions = pouch->Items()[1].get();
    Coins* gold = new Coins(7);
    Hold(purse, gold);

    // Contains finds a thing three bags deep.
    EXPECT_TRUE(pack->Contains(deep));
    EXPECT_FALSE(pouch->Contains(sword));
    // The first stack of a kind, the bags searched where they stand.
    std::unique_ptr<Object> more(Make("Potion*1"));
    EXPECT_EQ(pack->FindStackable(more.get()), potions);
    std::unique_ptr<Object> plain(Make("Potion"));
    EXPECT_EQ(pack->FindStackable(plain.get()), nullptr) << "the thing looked for is not stackable";
    // Money: none of the pack's own, so the first bag inside that holds any.
    EXPECT_EQ(pack->FindMoney(), gold);
    Coins* loose = new Coins(1);
    Hold(pack.get(), loose);
    EXPECT_EQ(pack->FindMoney(), loose);
    // Collected: the bags give their entries in their place.
    std::vector<Object*> all;
    pack->CollectItems(all);
    EXPECT_EQ(all, (std::vector<Object*>{sword, deep, gold, potions, loose}));
    // A bag inside knows its parent while it is inside.
    EXPECT_EQ(purse->Parent(), pouch);
    EXPECT_EQ(purse->Root(), pack.get());
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
    std::string line = "Bag";
    for (int i = 1; i < depth; ++i) line += "[Bag";
    line += "[" + std::string(static_cast<size_t>(depth), ']');
    std::unique_ptr<Object> outer(Make(line));
    return StoreObject(*outer);
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
        CBag* inner = new CBag("Bag" + std::to_string(depth));
        Hold(bag, Stack("Gold", depth + 1));
        Hold(bag, inner);
        bag = inner;
    }
    auto back = record_test::LoadObject<CBag>(StoreObject(pack));
    EXPECT_EQ(Show(*back), Show(pack));
    // The deepest bag's searches reach the outermost one.
    CBag* deepest = Named(back.get(), "Bag39");
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
    std::unique_ptr<CBag> bag(static_cast<CBag*>(Make("Pack[Stone@3 Stone@3 Stone@25 Stone@-1]")));
    bag->m_iBagKind = 42;
    auto back = record_test::LoadObject<CBag>(StoreObject(*bag));
    EXPECT_EQ(Show(*back), "Stone@3 Stone@0 Stone@1 Stone@2");
    EXPECT_EQ(back->m_iBagKind, 0);
    // A stored place that is good is kept.
    EXPECT_EQ(Show(*record_test::LoadObject<CBag>(StoreObject(*back))), Show(*back));
    // Every kind the game makes comes back: plain, a revived human's and dog's, a corpse's, a
    // chest's, the four spell books; one either side of them is a plain bag.
    // clang-format off
    for (auto [kind, want] : {std::pair{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 7},
                              {8, 8}, {9, 9}, {10, 10}, {11, 0}}) {
        // clang-format on
        SCOPED_TRACE(kind);
        bag->m_iBagKind = kind;
        EXPECT_EQ(record_test::LoadObject<CBag>(StoreObject(*bag))->m_iBagKind, want);
    }
}

// The counts a bag keeps as entries come and go answer as the counts of a
// copy of the tree, made anew, whatever is put in or taken out where.
TEST(BagRules, KeptCountsAnswerAsCountsMadeAnew) {
    World world;
    const char* kinds[] = {"Gold", "Arrow", "Potion", "Stone", "Sword"};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        qv::SeedRand(seed);
        std::unique_ptr<CBag> pack(new CBag("B0"));
        int bags = 1;
        for (int step = 0; step < 60; ++step) {
            SCOPED_TRACE(step);
            std::unique_ptr<CBag> fresh(static_cast<CBag*>(pack->Clone()));
            std::vector<Object*> all, freshAll;
            pack->CollectItems(all);
            fresh->CollectItems(freshAll);
            if (!all.empty() && qv::Rand() % 4 == 0) {
                const size_t k = static_cast<size_t>(qv::Rand()) % all.size();
                const int amount = 1 + qv::Rand() % 2;
                EXPECT_EQ(pack->RemoveItem(all[k], amount, nullptr),
                          fresh->RemoveItem(freshAll[k], amount, nullptr));
            } else {
                const std::string into = "B" + std::to_string(qv::Rand() % bags);
                std::string line = kinds[qv::Rand() % 5];
                if (qv::Rand() % 5 == 0 && bags < 8)
                    line = "B" + std::to_string(bags) + "[]";
                else if (line != "Sword")
                    line += "*" + std::to_string(1 + qv::Rand() % 3);
                std::unique_ptr<Object> item(Make(line)), copy(Make(line));
                const int answer = Named(pack.get(), into)->PutItem(item.get(), 1);
                ASSERT_EQ(Named(fresh.get(), into)->PutItem(copy.get(), 1), answer) << line;
                if (answer) {
                    item.release();
                    copy.release();
                    if (line.back() == ']') ++bags;
                }
            }
            ASSERT_EQ(Show(*pack, false), Show(*fresh, false));
        }
    }
}

}  // namespace
