#pragma once
// SavedGames: the part of play that keeps the game's files. The game folder
// and its slot folders, the working folder the world is played from, the
// slot table, the world file in play with its "players" beside it, and what
// a load or a save under way asks of the world file's reading and writing.
// Play owns one; the windows read it, and change it only through orders and
// the operations of play.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {
class Archive;
class ArchiveError;
class FileError;
}  // namespace qv
class Group;
class Play;

// The stored bytes of the slot table "saved", a slot's "Position" and the
// party's "players", with their readers, which refuse anything but exactly
// what the writers write (qv::ArchiveError); and the names of the folders.
namespace savefile {
inline constexpr int kSlotCount = 11;    // entries of the slot table
inline constexpr int kQuickSlot = 10;    // the quick save's entry
inline constexpr int kOriginalSlot = 0;  // the start world's slot number
struct SaveSlotEntry {
    int32_t inUse = 0;
    std::string description;
};
using SlotTable = std::array<SaveSlotEntry, kSlotCount>;
// The folder name of a slot number (index + 1): original, save1 to save10,
// quicksave, each with its backslash.
std::string GetSaveFolder(int slot);
std::vector<uint8_t> StoreSaveSlots(const SlotTable& slots);
SlotTable ReadSaveSlotsFrom(const std::vector<uint8_t>& bytes, const std::string& name);
std::vector<uint8_t> StorePosition(const std::string& worldFile);
std::string ReadPositionFrom(const std::vector<uint8_t>& bytes, const std::string& name);
// The party group alone, stored with its members; the group read belongs
// to no other group.
std::vector<uint8_t> StorePlayers(Group& party);
std::unique_ptr<Group> ReadPlayersFrom(const std::vector<uint8_t>& bytes, const std::string& name);
// An archive fault reported as a fault of its file.
qv::FileError AsFileError(const qv::ArchiveError& error, const std::string& file);
}  // namespace savefile

class SavedGames {
public:
    static constexpr uint32_t kWorldVersion = 19;
    static constexpr int kSlotCount = savefile::kSlotCount;
    static constexpr int kQuickSlot = savefile::kQuickSlot;
    static constexpr int kOriginalSlot = savefile::kOriginalSlot;
    using SaveSlotEntry = savefile::SaveSlotEntry;

    explicit SavedGames(Play& play) : m_Play(play) {}
    SavedGames(const SavedGames&) = delete;
    SavedGames& operator=(const SavedGames&) = delete;

    // ---- What the windows read
    // The game folder (ends in a backslash), the explicit current folder
    // (names without a folder are taken in it; the working folder whenever
    // the game runs), the slot folder, the working folder and the world file
    // in play.
    const std::string& GameFolder() const { return m_strGameFolder; }
    const std::string& CurrentFolder() const { return m_strCurrentFolder; }
    const std::string& SaveFolder() const { return m_strSaveFolder; }
    const std::string& WorkFolder() const { return m_strWorkFolder; }
    const std::string& WorldFile() const { return m_strWorldFile; }
    const savefile::SlotTable& Slots() const { return m_SaveSlots; }  // entry 10: the quick save
    int CurrentSlot() const { return m_iCurrentSlot; }
    // A saved game is read: replace rather than merge.
    bool IsLoadingGame() const { return m_bLoadingGame != 0; }
    bool IsSaving() const { return m_bSaving != 0; }
    // The version of the world file last read or written.
    int32_t WorldVersion() const { return m_iWorldVersion; }
    // The editor: "players" is not read; the world it works on is read again
    // without asking.
    bool SkipsPlayersFile() const { return m_bNoPlayersFile != 0; }
    bool ReloadsWithoutAsking() const { return m_bReloadWithoutAsking != 0; }
    // The party as the last writing of the world stored it for "players",
    // while it is out of play (until the land move of the next tick, or a
    // world read): it comes back from these bytes, and a later writing before
    // then stores them again, so that a "players" that could not be written
    // (or a save that was not made) loses nothing of it.
    const std::optional<std::vector<uint8_t>>& PartyOutOfPlay() const { return m_PartyOutOfPlay; }

    // ---- What play sets (and a test, setting up)
    void SetGameFolder(const std::string& folder) { m_strGameFolder = folder; }
    void SetCurrentFolder(const std::string& folder) { m_strCurrentFolder = folder; }
    void SetSaveFolder(const std::string& folder) { m_strSaveFolder = folder; }
    void SetWorldFile(const std::string& file) { m_strWorldFile = file; }
    void SetSlot(int index, SaveSlotEntry entry);
    void SetLoadingGame(bool on) { m_bLoadingGame = on ? 1 : 0; }
    void SetSaving(bool on) { m_bSaving = on ? 1 : 0; }
    void SetSkipsPlayersFile(bool on) { m_bNoPlayersFile = on ? 1 : 0; }
    void SetReloadsWithoutAsking(bool on) { m_bReloadWithoutAsking = on ? 1 : 0; }
    // The party is in play again: its kept bytes go.
    void PartyBackInPlay() { m_PartyOutOfPlay.reset(); }

    // ---- The world file
    // Writes the world when the archive stores and reads it when it loads.
    // Reading raises the archive's error for bad bytes; a file of a later
    // version than this game writes is refused before anything changes.
    void Serialize(qv::Archive& ar);
    // Writes or reads the world file `name` (taken in the current folder);
    // 1, or a qv::FileError or qv::ArchiveError naming the file. Writing
    // puts "players" beside it, and the lands in memory in their files of
    // the working folder, or in `landFolder` when one is given.
    int SaveWorldFile(const std::string& name, const std::string& landFolder = {});
    int LoadWorldFile(const std::string& name);
    // Marks a group to be stored with its members, nested groups too, and
    // takes its creatures off the map.
    int DetachGroup(Group* group);
    // Writes the party to "players" in the current folder (reported when it
    // cannot be), after which the file holds it.
    void WritePlayers(Group& party);
    // Names without a folder are taken in the current folder.
    std::string InCurrentFolder(const std::string& name) const;
    std::string GameFolderPath(const std::string& folder) const { return m_strGameFolder + folder; }
    // Reads a world file's bytes into a scratch world of its own, as this
    // play would read them now, and throws the archive's error when they
    // would be refused; the running world, the chance generators and the
    // spell counter are left exactly as they were. Every world read runs
    // this first, so that a refused file changes nothing. With a folder, the
    // land files of the world's index found there are read too (a slot's,
    // before it is copied over the working folder); with `landsRequired`, a
    // land file missing there is refused as well (a world to go to).
    // With a slot's `playersFile` as well, the party in it is read after the
    // world, as the first move after a load reads it.
    void CheckWorldRead(const std::vector<uint8_t>& bytes, const std::string& name,
                        const std::string& landFolder = {}, bool landsRequired = false,
                        const std::string& playersFile = {}) const;
    // Replaces the script variables with those of "MessageFile.h" in the
    // current slot folder; on a file that cannot be read the old ones stay
    // and the qv::FileError reaches the caller.
    void ReadScriptVariables();

    // ---- Saved games
    void CopyOneFile(const std::string& from, const std::string& to);
    int CopyFolder(const std::string& from, const std::string& to);
    int ReadPosition();
    // Saves the running world into a slot folder; 0 when nothing was saved.
    int SaveSlot(int slot);
    // The save of the save window and the quick save; 0 when nothing was saved.
    int SaveGame(int index);
    // The quick save, when no window is open and no one fights the leader.
    int QuickSave();
    // What a load does with a slot that cannot be read. Found before
    // anything was copied, such a slot either ends the program with the file
    // report (the frame's own loads) or is said in a message while the game
    // in play, the working folder and the other slots stay as they were (the
    // load window, where the player may choose another). A fault found after
    // the copy began always ends the program: the game in play is gone.
    enum class OnBadSlot { EndProgram, SayAndGoOn };
    // Brings a slot folder into play; 0 when the slot cannot be read.
    int LoadFromSlot(int slot, OnBadSlot onBad = OnBadSlot::EndProgram);
    // The same by table index; a load that fails keeps the current index.
    int LoadSlot(int index, OnBadSlot onBad = OnBadSlot::EndProgram);
    // A new game with the character chosen: the start world is loaded as
    // slot "original" and the character waits for the party's first move.
    // 1 when it was loaded, 0 (the game in play and the character's wait as
    // they were) when not. A game folder without a start world opens on the
    // empty world instead (StartInOriginalWorld's answer), without waiting.
    int StartNewGame();
    // The save window's save: the slot of index `index` (below the quick
    // save's) is described `description` and the game goes into it; 0, with
    // the slot table as it was, when nothing was saved.
    int SaveGameAs(int index, const std::string& description);
    // Brings the start world of "original" into the working folder and
    // reads it; 0 (reported) when it cannot.
    int OpenStartWorld();
    // Play in the start world: TRUE when it was read, or when the game folder
    // has no "original" slot (play then opens on the empty world, said on
    // the error output); FALSE after a reported failure.
    int StartInOriginalWorld();
    // Plays from the game folder `folder` (ending in a backslash): the
    // working folder "tmp", the slot folder and the current folder of the
    // start world, and the slot table read from it.
    void UseGameFolder(const std::string& folder);
    // The slot table from and to the file "saved" in the game folder; a
    // missing or bad file leaves the table empty.
    int ReadSaveSlots();
    void WriteSaveSlots();
    // Checks that a slot folder holds a readable "Position" naming a world
    // file that is there, and that the world, its land files and the party's
    // "players" found there would all be read; the world file's plain name,
    // or a qv::FileError naming the file at fault.
    std::string CheckSlot(const std::string& folder) const;
    // Refills the map's window around the focus from the land files.
    void ReloadWindowAtFocus();
    // The same, with a land file that cannot be read reported; false then.
    bool TryReloadWindowAtFocus();

private:
    Play& m_Play;
    std::string m_strGameFolder, m_strCurrentFolder;
    savefile::SlotTable m_SaveSlots{};
    std::string m_strSaveFolder, m_strWorkFolder = "tmp\\", m_strWorldFile;
    int m_iCurrentSlot = -1;
    int m_bLoadingGame = 0;
    int m_bSaving = 0;
    std::optional<std::vector<uint8_t>> m_PartyOutOfPlay;
    int m_bNoPlayersFile = 0;
    int m_bReloadWithoutAsking = 0;
    int32_t m_iWorldVersion = 0;
};
