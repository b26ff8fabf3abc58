#pragma once
// Which dialog edits a thing of the world: a creature its sheet, a monster
// generator the "Monster Creator", a container the "Container" dialog, a land
// its own dialog, and every other object the "Object properties".

#include <memory>

class CPropertyDialog;
class Object;
class Play;

std::unique_ptr<CPropertyDialog> MakeObjectDialog(Play& play, Object& object);
