#pragma once
// The map's light as objects draw with it: the darkness at a world point
// turned into one of `levels` light-level frames (0 lightest), or -1 where the
// map computes no light (outside the loaded window or out of sight). Answered
// by the map; until a map exists every point is lit at level 0.

class Position;

int ScaleLightAt(const Position& pos, int levels);
