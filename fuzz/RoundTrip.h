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

namespace fuzz {

using Bytes = std::vector<uint8_t>;
// A reader under test: the bytes written back from what it read, or nothing
// when it refused the input.
using Reader = std::optional<Bytes> (*)(const Bytes& input);

// Message boxes answer quietly as a player going on would (Retry, Yes).
void Prepare();

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
std::optional<Bytes> PictureFile(const Bytes& input);
std::optional<Bytes> FontFile(const Bytes& input);
// A tune of the game folder's "Music" (a standard MIDI file), read and
// written back; what it would play is checked on the way.
std::optional<Bytes> TuneFile(const Bytes& input);
// A conversation script, read from a file of the game folder as a
// conversation reads it and written back in its own spelling.
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

}  // namespace fuzz

// The entry point of a fuzz target whose reader is `reader`.
#define QV_FUZZ_TARGET(reader)                                                 \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {                       \
        fuzz::Prepare();                                                       \
        return 0;                                                              \
    }                                                                          \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {  \
        fuzz::CheckRoundTrip(fuzz::Bytes(data, data + size), reader, #reader); \
        return 0;                                                              \
    }
