#pragma once
// A creature's list of scripted moves as a whole: the editor's random list of
// reachable cells and the move-pattern event's filling of the list.

class MapMaster;
class Player;

// The editor's "Random List": the creature's own cell, then 2 to 4 cells
// near it that the path finder reaches, none twice (up to 2000 tries).
// Answers the number of moves added.
int AddRandomMoves(Player& creature, MapMaster& map);

// Lets the scripted move-pattern event fill a creature's list of moves with
// moves to its cells; the main frame installs it when it is made.
void InstallScriptedMoves();
