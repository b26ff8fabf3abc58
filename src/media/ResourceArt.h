#pragma once
// The pictures of the resource store: for each id, its size and the code that
// paints it.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "media/Painter.h"

struct PictureRecipe {
    int width = 0;
    int height = 0;
    std::function<void(Painter&)> paint;
    int transparent = 0;  // palette index drawn see-through
};

const std::map<int, PictureRecipe>& PictureRecipes();

// Adds the pictures of walls, doors, pegs and lamp posts (StructureArt.cpp).
void AddStructureRecipes(std::map<int, PictureRecipe>& recipes);
// The catalogue's smaller kinds (media/FixtureArt.cpp).
void AddFixtureRecipes(std::map<int, PictureRecipe>& recipes);
// Furnishings, lights and small carried things (media/FurnishingArt.cpp).
void AddFurnishingRecipes(std::map<int, PictureRecipe>& recipes);
// The pictures of the item classes' newer kinds (ItemArt.cpp): the weapons
// and armour PaintItem does not know, added to the recipes.
void PaintMoreItems(Painter& p, int kind, int w, int h);
void AddItemRecipes(std::map<int, PictureRecipe>& recipes);
// An item's inventory picture: the item painted on the inventory's panel.
void PaintOnPanel(Painter& p, int w, int h, const std::function<void(Painter&)>& item);

// The shapes the older items and the armour kinds share, in a picture of w x h
// pixels: a body garment (a shirt or a breastplate, with a stripe down its
// front if asked for, and its neck left open), a shield with its boss, a
// helmet, a gold ring with its stone.
void PaintGarment(Painter& p, int w, int h, uint8_t body, std::optional<uint8_t> stripe);
void PaintShield(Painter& p, int w, int h, uint8_t face, uint8_t boss);
void PaintHelmet(Painter& p, int w, int h, uint8_t dark, uint8_t bright);
void PaintRing(Painter& p, int w, int h, uint8_t stone);
