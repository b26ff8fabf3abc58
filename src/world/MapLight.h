#pragma once
// The map's light as objects draw with it: the darkness at a world point
// turned into one of `levels` light-level frames (0 lightest), or -1 where the
// map computes no light (outside the loaded window or out of sight). Answered
// by the map; without a map every point is lit at level 0.
//
// The darkness itself is MapMaster::GetLight (0 full light .. 127 black, -1
// where no light is computed); the frame is min(d * levels / 128, levels - 1).

class ObjectHolder;
class Position;

int ScaleLightAt(const Position& pos, int levels);
int ScaleByMapLight(const ObjectHolder* holder, int levels);
// The frame of darkness d among `levels` frames: -1 for d below 0.
int ScaleDarkness(int darkness, int levels);
