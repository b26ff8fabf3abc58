#pragma once
// The creatures' pictures, drawn by code: for every creature kind a section of
// "PlayerImages.dat" and the frame bitmaps it names, written into a game
// folder's "Images" folder.

#include <string>
#include <vector>

namespace qv {
class Surface;
}

namespace art {

// Writes a picture of the screen as an 8-bit RGB .png; false when the file
// cannot be written.
bool SavePng(const qv::Surface& surface, const std::string& path);

// One look of the look file: its section name and what the contact sheet
// says of it.
struct CreatureKind {
    std::string section;
    std::string caption;
};

// Every look written, in the order of the file.
const std::vector<CreatureKind>& CreatureKinds();

// Writes the bitmaps and "PlayerImages.dat" into `imagesFolder` (a path ending
// in '/', made when missing). False, with the reason in error, when a file
// cannot be written.
bool WriteCreatureImages(const std::string& imagesFolder, std::string& error);

// Draws every look, read back through the game's own look reader, as a sheet
// of pictures (facings, walk, attack, fall, hit flash; humans in three sets
// of colours) and writes it as a .bmp, or a .png when the name ends so.
// False with the reason in error.
bool WriteContactSheet(const std::string& gameFolder, const std::string& bmpPath,
                       std::string& error);

}  // namespace art
