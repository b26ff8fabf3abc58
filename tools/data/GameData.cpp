// The game's data program: writes the data the game ships, all of it made by
// the project's own code, into a game folder.
//
//     quorvale_data <game folder> [--sheet <picture.bmp>]
//
// It writes the start world (the "original" slot) with the networks' weights
// trained in fights of the game's creatures, the creatures' pictures
// with their look file into the folder's "Images" and the tunes into its
// "Music", and the intro movie; with --sheet also a picture of every creature look as the game
// draws it.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "data/CreatureArt.h"
#include "data/Intro.h"
#include "data/Music.h"
#include "data/StartWorld.h"
#include "data/Training.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <game folder> [--sheet <picture.bmp>]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    try {
        WriteStartWorld(folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The start world could not be written: %s\n", e.what());
        return 1;
    }
    std::string error;
    training::Report trained;
    if (!training::WriteNetworks(folder + "original/", trained, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf(
        "trained the networks in %d fights (%zu attack, %zu defence, %zu evasion records); "
        "mean squared error on unseen fights, fresh -> trained: attack %.3f -> %.3f, "
        "defence %.3f -> %.3f, evasion %.3f -> %.3f\n",
        trained.fights, trained.attackRecords, trained.defenseRecords, trained.evadeRecords,
        trained.attackBefore, trained.attackAfter, trained.defenseBefore, trained.defenseAfter,
        trained.evadeBefore, trained.evadeAfter);
    if (!art::WriteCreatureImages(folder + "Images/", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!tunes::WriteTunes(folder, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::string note;
    if (!intro::WriteIntro(folder, error, note)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!note.empty()) std::printf("%s\n", note.c_str());
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") != 0) continue;
        if (!art::WriteContactSheet(folder, argv[i + 1], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    std::printf("wrote %zu creature looks into %sImages/, %zu tunes into %sMusic/ and %s%s\n",
                art::CreatureKinds().size(), folder.c_str(), tunes::TuneNumbers().size(),
                folder.c_str(), folder.c_str(), intro::kFileName);
    return 0;
}
