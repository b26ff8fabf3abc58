#pragma once
// The pictures of the resource store: for each id, its size and the code that
// paints it.

#include <functional>
#include <map>

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
