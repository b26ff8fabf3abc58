// A creature's thinking: what it makes of the creatures it meets.

#include "creatures/Player.h"

int Player::CheckEncounter(Player*) {
    return 0;
}
