#pragma once
// What every fuzz target checks of its reader: input that is read is written
// back, the written bytes are read again and written again, and the second
// writing equals the first. A reader may refuse input (that is its job); it
// may not crash, leak, hang, or refuse or change what the game itself wrote.
//
// The seed writer (SeedWriter.cpp) checks its seeds the same way.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Archive.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

class CDDAlphabet;
class CMainFrame;

namespace fuzz {

using Bytes = std::vector<uint8_t>;
// A reader under test: the bytes written back from what it read, or nothing
// when it refused the input.
using Reader = std::optional<Bytes> (*)(const Bytes& input);

// Message boxes answer quietly as a player going on would (Yes, OK); a failed
// check of the game's own (its Retry or Cancel box) fails the run.
void Prepare();

// The memory a run may take while it lives: a fixed part for the game's own
// furniture (a frame, a map's window, the work images) and a part for each
// byte of the input, which a reader may turn into objects many times its
// size. A run that holds more at any moment fails at that allocation, with
// its stack: a few bytes that ask for gigabytes are a fault of the reader.
// Counted only where AddressSanitizer keeps the books (the fuzz builds).
class MemoryBudget {
public:
    static constexpr int64_t kFixedBytes = int64_t{64} << 20;
    static constexpr int64_t kBytesPerInputByte = 1024;

    explicit MemoryBudget(size_t inputSize);
    ~MemoryBudget();
    // Whether the books are kept in this build.
    static bool IsKept();
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;
};

// Runs the check on one input; ends the program with a report when it fails.
void CheckRoundTrip(const Bytes& input, Reader reader, const char* what);
// Whether stored bytes hold the class record of Object at a schema below 4.
bool HoldsOldObjectRecord(const Bytes& input);

// A world for stored objects to load into (the current one while it lives),
// with its root groups.
struct FreshWorld {
    FreshWorld() { world.CreateRootGroups(); }
    World world;
};

// Reads a stored object of class T (or a class derived from it) into a fresh
// world and writes it back.
template <class T>
std::optional<Bytes> StoredObject(const Bytes& input) {
    FreshWorld world;
    std::unique_ptr<T> object;
    std::unique_ptr<Object> placed;  // a holder's object, which the map would own
    try {
        qv::Archive in(input, "fuzz input");
        object.reset(in.ReadObjectOf<T>());
    } catch (const qv::ArchiveError&) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<T, ObjectHolder>)
        if (object) placed.reset(object->m_pObject);
    qv::Archive out("fuzz output");
    out.WriteObject(object.get());
    return out.TakeBytes();
}

// The settings file, a picture and the alphabet's font, each read from a file
// holding the input and written back to another.
std::optional<Bytes> SettingsFile(const Bytes& input);
// A recording's order file, read and written again.
std::optional<Bytes> OrderFile(const Bytes& input);
std::optional<Bytes> PictureFile(const Bytes& input);
std::optional<Bytes> FontFile(const Bytes& input);
// A network's weight file, read from a file by each kind of network in turn
// until one takes it; a refusal must leave the weights as they were.
std::optional<Bytes> WeightFile(const Bytes& input);
// A list of training records.
std::optional<Bytes> TrainingRecordFile(const Bytes& input);
// A tune of the game folder's "Music" (a standard MIDI file), read and
// written back; what it would play is checked on the way.
std::optional<Bytes> TuneFile(const Bytes& input);
// A movie, read to its last picture; accepted bytes come back as they were.
std::optional<Bytes> MovieFile(const Bytes& input);
// A conversation script, read from a file of the game folder as a
// conversation reads it and written back in its own spelling; its
// conversations are run on the way, every choice taken.
std::optional<Bytes> TalkScriptText(const Bytes& input);

// A console font file of an alphabet's 256 letters: PSF version 2 (with a
// UTF-8 table when asked), or version 1 with a 16-bit table.
Bytes FontFileOf(const CDDAlphabet& alphabet, int version = 2, bool table = false);

// A file in this process's own temporary folder, removed with the object.
class TempFile {
public:
    TempFile();
    explicit TempFile(const Bytes& contents);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return m_path; }
    Bytes Read() const;

private:
    std::string m_path;
};

// A game folder of this run's own, with its "Images\" folder and the working
// folder "tmp\", for the targets that read into a running game. The files put
// in it are the game's furniture; each run starts from them again.
class GameFolder {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    // The folder as the frame keeps it, ending in a separator.
    const std::string& Path() const { return m_path; }
    std::string Working() const { return m_path + "tmp/"; }
    // Writes a file (a name under the folder, such as "tmp/world.lnd"), kept
    // for Restore.
    void Put(const std::string& name, const Bytes& bytes);
    // Empties the working folder and writes every file put again.
    void Restore() const;

private:
    std::string m_path;
    std::vector<std::pair<std::string, Bytes>> m_files;
};

// Sets a frame in the folder: its game folder and working folder, and its
// group tree.
void SetInFolder(CMainFrame& frame, const GameFolder& folder);
// Ends a run in a running game: what it left for the program's loop (a
// refused load asks the program to end) goes, so that the next starts afresh.
void EndGameRun();

}  // namespace fuzz

// The start of a target's run: message boxes answered as Prepare says.
#define QV_FUZZ_PREPARE()                                \
    extern "C" int LLVMFuzzerInitialize(int*, char***) { \
        fuzz::Prepare();                                 \
        return 0;                                        \
    }

// The entry point of a fuzz target whose reader is `reader`.
#define QV_FUZZ_TARGET(reader)                                                 \
    QV_FUZZ_PREPARE()                                                          \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {  \
        fuzz::MemoryBudget budget(size);                                       \
        fuzz::CheckRoundTrip(fuzz::Bytes(data, data + size), reader, #reader); \
        return 0;                                                              \
    }

// The entry point of a target that runs `run` (a function of the input's
// bytes) in a running game.
#define QV_FUZZ_GAME_TARGET(run)                                              \
    QV_FUZZ_PREPARE()                                                         \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
        fuzz::MemoryBudget budget(size);                                      \
        run(fuzz::Bytes(data, data + size));                                  \
        fuzz::EndGameRun();                                                   \
        return 0;                                                             \
    }
