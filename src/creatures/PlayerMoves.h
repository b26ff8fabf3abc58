#pragma once
// A creature's list of scripted moves as a whole: the editor's random list of
// reachable cells and the move-pattern event's filling of the list.

#include <vector>

#include "platform/Geometry.h"

class MapMaster;
class Player;

// The editor's "Random List": the creature's own cell, then 2 to 4 cells
// near it that the path finder reaches, none twice (up to 2000 tries).
// Answers the number of moves added.
int AddRandomMoves(Player& creature, MapMaster& map);

// Adds a move to each of the world cells, in order, to the creature's list of
// scripted moves (the move-pattern event's filling, a group's patrol).
void AddMovesTo(Player& creature, const std::vector<qv::Point>& cells);
