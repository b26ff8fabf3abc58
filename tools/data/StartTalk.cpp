#include "data/StartTalk.h"

namespace start_talk {

std::string Script() {
    return R"(# lauriston.smb: the people of the yard and the party's dog.

node DOGHELLO
    say The dog wags its tail and looks up at you.
    choice DOG_SIT Sit!
    choice DOG_FETCH Fetch!
    choice end Good dog.

node DOG_SIT
    say The dog sits and waits, ears pricked.
    choice end Good dog.

node DOG_FETCH
    say The dog bounds off, sniffs at every shrub and comes back with a stick.
    choice end Good dog.

node MILLER
    say Good day to you, stranger.
    if Wolves = 0 say Wolves come out of the woods to the south and take my sheep.
    if Wolves = 0 choice MILLER_TASK I will drive them off.
    if Wolves = 1 say Have you been to the woods yet? Mind their teeth.
    choice end Farewell.

node MILLER_TASK
    say Thank you! Take this for the road: you will need it more than I do.
    set Wolves 1
    drop speaker Potion of Healing
    choice end I will be careful.

node WEAVER
    if WeaverJoined = 1 goto WEAVER_WITH_YOU
    say Mind the loom, it bites.
    if Wolves = 0 say They say the miller needs a strong arm.
    if Wolves = 1 say You are off to the woods? I know every path there.
    if Wolves = 1 choice WEAVER_JOIN Come with us, then.
    choice end Farewell.

node WEAVER_JOIN
    say Gladly. I will fetch my shawl.
    join speaker
    set WeaverJoined 1

node WEAVER_WITH_YOU
    say Lead on, I am right behind you.

node SHOPKEEPER
    say Welcome to my stall! Potions, blades and leather, all fairly priced.
    choice SHOP_TRADE Show me your wares.
    choice SHOP_NEWS What news?
    choice end Farewell.

node SHOP_TRADE
    trade 1
    say Come again!

node SHOP_NEWS
    if Wolves = 0 say The miller frets about wolves. Ask him.
    if Wolves = 1 say So you took the miller's task? Buy a potion or two first.
    goto SHOPKEEPER
)";
}

std::string BookScript() {
    return R"(# Books.smb: what the signs, books and letters of the start world say.

node YARD_SIGN
    say LAURISTON YARD
    say Traders and travellers welcome. Wolves are not.

node MILLER_LETTER
    say To whoever finds this:
    say The wolves grow bolder every night. They come out of the woods to the south,
    say and rats and snakes creep out of the trees behind them.
    say If you have a strong arm, come and see me in the yard. I will make it worth your while.
    say - the miller
    if Wolves = 1 say (You have taken the miller's task already.)
)";
}

}  // namespace start_talk
