#pragma once
// The pictures of the items. Every kind of item has one picture shared by all
// items of the kind (its class image): the first item to take a use of it
// builds it, the object's own use count keeps it, and the last use gives back
// its surfaces. Some kinds also show a picture of their own in the inventory
// (and, being drawn through GetImage, on the ground); those are built when
// first asked for and kept for the run.

class CDDObject;
class Object;

// How a kind's class image is cut from its bitmap resource.
struct ItemLook {
    int bitmap = 0;  // resource id
    int width = 0;   // one cell
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    int across = 1;  // cells
    int down = 1;
    int levels = 4;  // light levels, one frame each
};

// Gives `object` a use of `image` (built from `look` when this is its first
// use) in place of the picture it had, whose use it gives back.
void DressItem(Object& object, CDDObject& image, const ItemLook& look);

// The inventory picture of a bitmap resource: one cell of width x height with
// its hot spot at the middle of its lower part, one light level.
CDDObject* InventoryPicture(int bitmap, int width, int height);

// Keeps the frame asked for within the picture's grid of cells: a column or
// row it has no cell for (a number from a file) shows the first. Only the
// values the caller asked for (0 or more on entry) are touched.
void KeepInGrid(const CDDObject* image, bool askedX, bool askedY, int* x, int* y);
