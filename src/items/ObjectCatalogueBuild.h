#pragma once
// Building the object catalogue at the start of play: one prototype of every
// kind of object the world maker places, made with its class's constructor,
// each put at the head of its list, with the loading bar redrawn as the build
// goes on.

#include <functional>

class ObjectCatalogue;

// The loading bar's progress, in per cent, after each step of the build.
inline constexpr int kCatalogueFirstWall = 10;
inline constexpr int kCatalogueWeapons = 30;
inline constexpr int kCatalogueWalls = 40;
inline constexpr int kCatalogueArmour = 50;
inline constexpr int kCatalogueTraps = 60;
inline constexpr int kCatalogueSpells = 70;
inline constexpr int kCatalogueMisc = 90;
inline constexpr int kCatalogueMagic = 99;

// Fills the catalogue (emptied first), calling `progress` with the bar's per
// cent after each step; a missing `progress` draws nothing.
void BuildObjectCatalogue(ObjectCatalogue& catalogue,
                          const std::function<void(int percent)>& progress = {});
