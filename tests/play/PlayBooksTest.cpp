// Signs, books and letters are read: a sign where it stands, a book or a letter
// from the bag of the one who holds it; what is read is the node of the book
// script that the thing's general name names.

#include <string>
#include <vector>

#include "PlayFixture.h"
#include "items/Bag.h"
#include "items/Useable.h"
#include "structures/Furnishings.h"
#include "world/ObjectHolder.h"

using namespace play_test;

namespace {

class PlayBooks : public PlayFixture {};

TEST_F(PlayBooks, ASignIsReadWhereItStandsABookOrLetterFromTheBag) {
    enum Where { OnTheMap, InTheBag, Elsewhere };
    enum Thing { ASign, ALetter, ABook, ACoin };
    struct Row {
        const char* rule;
        Thing thing;
        Where where;
        std::vector<std::string> read;  // the nodes opened
        bool taken;                     // in the reader's bag afterwards
    };
    const Row rows[] = {
        {"a sign touched is read", ASign, OnTheMap, {"SIGN"}, false},
        {"a letter on the ground is taken, not read", ALetter, OnTheMap, {}, true},
        {"a letter in the bag is read", ALetter, InTheBag, {"SIGN"}, true},
        {"a book in the bag is read", ABook, InTheBag, {"SIGN"}, true},
        {"a book the reader does not hold is not", ABook, Elsewhere, {}, false},
        {"a coin is no book: it is taken into use", ACoin, InTheBag, {}, false},
    };
    Player* reader = PlaceMember(1, At(36, 35, 20, 50));
    std::vector<std::string> read;
    play.m_OpenBook = [&](Object& text) { read.push_back(text.m_strGeneralName); };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        read.clear();
        ask.quantities = {1};
        Object* thing = r.thing == ASign     ? static_cast<Object*>(new Sign)
                        : r.thing == ALetter ? static_cast<Object*>(new Letter)
                        : r.thing == ABook   ? static_cast<Object*>(new Book)
                                             : static_cast<Object*>(new Useable("Coin"));
        thing->m_strGeneralName = "SIGN";
        std::unique_ptr<Object> kept(r.where == Elsewhere ? thing : nullptr);
        if (r.where == OnTheMap) {
            // Reached: what the reader does about the thing it was sent to.
            reader->JoinPlayerSet(Lay(thing, At(36, 35, 80, 50)));
            play.InteractWith(reader, 1);
        } else {
            if (r.where == InTheBag) reader->AddToBag(thing, 0);
            Order order = Order::Of(Order::Kind::Equip);  // a right click in the bag
            order.actor = reader;
            order.object = thing;
            play.Give(order);
        }
        EXPECT_EQ(read, r.read);
        const bool taken = reader->m_pBag->Contains(thing);
        EXPECT_EQ(taken, r.taken);
        if (taken) reader->m_pBag->RemoveItem(thing, 1, nullptr);
        if (ObjectHolder* h = r.where == OnTheMap && !taken ? thing->m_pHolder : nullptr) {
            map.RemoveHolder(h->pos, h);
            DeleteHolderWithObject(h);
        }
    }
}

}  // namespace
