#pragma once
// A key number's signal: what a lever, a monster generator or a creature
// carrying a key number sends to the objects that answer to it.

#include <cstdint>

class Object;
class Player;

// Works, each once, the objects that the world's first key record of `key`
// lists, with `code` and `actor`, passing over `except`. Activating may change
// the record, so the walk goes over a copy and passes over what has gone
// meanwhile. It stops at the first answer kWorldChanged, which it answers, and
// as soon as the actor has gone; otherwise it answers the last object's answer
// (0 when none was worked).
int SignalKey(int32_t key, int code, Player* actor, const Object* except = nullptr);
