#pragma once
// The start world the game ships, made by its own classes and writers.

#include <string>

// Writes the start world into the slot folder "original" of the game folder
// (and its land pictures into "Images"): lands of open ground, rough ground,
// woods and steep shore, a walled yard with a door, light sources, scenery,
// a chest, barrels and a bed in the yard, things on the ground, two groups of
// creatures and a party of one, armed and dressed. qv::FileError when a file
// cannot be written; the previous start world then stays.
void WriteStartWorld(const std::string& gameFolder);
