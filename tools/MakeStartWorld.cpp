// Writes the start world into a game folder; run by the build for the game
// folder it makes.

#include <cstdio>
#include <exception>

#include "shell/StartWorld.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s GAME-FOLDER\n", argv[0]);
        return 2;
    }
    try {
        WriteStartWorld(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "The start world could not be written: %s\n", error.what());
        return 1;
    }
    return 0;
}
