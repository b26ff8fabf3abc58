// Saved games: the working folder copied into slot folders and back, the slot
// table "saved" in the game folder and the "Position" file of each slot.
//
// A save is put together in a fresh folder beside the slot and takes the
// slot's name only once it is whole, so a save that fails or is cut short
// leaves the slot's previous game as it was. A load checks the slot before it
// copies anything over the working folder.

#include "play/SavedGames.h"

#include <cstdio>

#include "creatures/Player.h"
#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "play/Play.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

constexpr int kFirstGameSlot = 1;
constexpr int kLastGameSlot = 10;
constexpr int kQuickSaveSlot = 11;
const char* const kSavedFile = "saved";
const char* const kPositionFile = "Position";
const char* const kPlayersFile = "players";
// Beside a slot folder while a save is put together, and while the old one
// makes way.
const char* const kFreshSuffix = ".new\\";
const char* const kOldSuffix = ".old\\";
// A slot the load window cannot bring into play.
const char* const kLoadError = "Load Error";
const char* const kNotLoaded = "\nThe game was not loaded.";

// A folder name without its closing backslash, with another ending.
std::string Beside(const std::string& folder, const char* suffix) {
    std::string base = folder;
    if (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
    return base + suffix;
}

}  // namespace

using savefile::AsFileError;
using savefile::GetSaveFolder;
using savefile::ReadPositionFrom;
using savefile::ReadSaveSlotsFrom;
using savefile::StorePosition;

qv::FileError savefile::AsFileError(const qv::ArchiveError& error, const std::string& file) {
    const std::string name = error.file.empty() ? file : error.file;
    // The archive's text starts with the file's name, which the report
    // already shows.
    std::string detail = error.what();
    if (detail.rfind(name + ": ", 0) == 0) detail.erase(0, name.size() + 2);
    return qv::FileError(qv::FileError::Other, name, detail);
}

std::string savefile::GetSaveFolder(int slot) {
    if (slot >= kFirstGameSlot && slot <= kLastGameSlot) return qv::Format("save%d\\", slot);
    if (slot == kQuickSaveSlot) return "quicksave\\";
    return "original\\";
}

void SavedGames::CopyOneFile(const std::string& from, const std::string& to) {
    m_Play.Shell().ShowBusy(true);
    // The game replaces its files whole and never writes into one, so a slot
    // and the working folder may share a file's bytes.
    qv::ShareFile(from, to);
}

int SavedGames::CopyFolder(const std::string& from, const std::string& to) {
    m_Play.Shell().ShowBusy(true);
    for (const std::string& name : qv::ListFiles(from)) CopyOneFile(from + name, to + name);
    return 1;
}

std::vector<uint8_t> savefile::StoreSaveSlots(const SlotTable& slots) {
    qv::Archive ar(kSavedFile);
    for (const SaveSlotEntry& slot : slots) {
        ar.WriteString(slot.description);
        ar.WriteInt(slot.inUse);
    }
    return ar.TakeBytes();
}

savefile::SlotTable savefile::ReadSaveSlotsFrom(const std::vector<uint8_t>& bytes,
                                                const std::string& name) {
    qv::Archive ar(bytes, name);
    std::array<SaveSlotEntry, kSlotCount> slots{};
    for (SaveSlotEntry& slot : slots) {
        slot.description = ar.ReadString();
        slot.inUse = ar.ReadInt();
        if (slot.inUse != 0 && slot.inUse != 1)
            ar.Fail(qv::ArchiveError::Generic, "a used flag of " + std::to_string(slot.inUse));
    }
    if (ar.Remaining() != 0) ar.Fail(qv::ArchiveError::Generic, "bytes after the last slot");
    return slots;
}

std::vector<uint8_t> savefile::StorePosition(const std::string& worldFile) {
    qv::Archive ar(kPositionFile);
    ar.WriteString(worldFile);
    return ar.TakeBytes();
}

std::string savefile::ReadPositionFrom(const std::vector<uint8_t>& bytes, const std::string& name) {
    qv::Archive ar(bytes, name);
    std::string world = ar.ReadString();
    if (ar.Remaining() != 0) ar.Fail(qv::ArchiveError::Generic, "bytes after the world's name");
    // The name is used in the working folder: a plain file name only.
    if (!qv::IsPlainFileName(world))
        ar.Fail(qv::ArchiveError::BadString, "\"" + world + "\" is not a plain file name");
    return world;
}

void SavedGames::SetSlot(int index, SaveSlotEntry entry) {
    if (index >= 0 && index < kSlotCount)
        m_SaveSlots[static_cast<size_t>(index)] = std::move(entry);
}

int SavedGames::ReadSaveSlots() {
    const std::string path = GameFolderPath(kSavedFile);
    if (!qv::FileExists(path)) return 0;
    try {
        m_SaveSlots = ReadSaveSlotsFrom(qv::ReadWholeFile(path), path);
        return 1;
    } catch (const std::runtime_error& error) {
        // The saved games stay on disk; only their table starts empty.
        qv::ShowMessage(qv::Format("The table of saved games cannot be read: %s", error.what()),
                        qv::MessageButtons::Ok);
        return 0;
    }
}

void SavedGames::WriteSaveSlots() {
    qv::WriteWholeFileDurably(GameFolderPath(kSavedFile), StoreSaveSlots(m_SaveSlots));
}

int SavedGames::ReadPosition() {
    const std::string path = GameFolderPath(m_strSaveFolder) + kPositionFile;
    try {
        m_strWorldFile = ReadPositionFrom(qv::ReadWholeFile(path), path);
    } catch (const qv::ArchiveError& error) {
        throw AsFileError(error, path);
    }
    return 1;
}

std::string SavedGames::CheckSlot(const std::string& folder) const {
    if (!qv::FolderExists(folder)) throw qv::FileError(qv::FileError::NotFound, folder);
    const std::string position = folder + kPositionFile;
    std::string world;
    try {
        world = ReadPositionFrom(qv::ReadWholeFile(position), position);
    } catch (const qv::ArchiveError& error) {
        throw AsFileError(error, position);
    }
    const std::string worldPath = folder + world;
    if (!qv::FileExists(worldPath)) throw qv::FileError(qv::FileError::NotFound, worldPath);
    // A world of a later version than this game is refused before anything
    // is copied.
    const std::vector<uint8_t> head = qv::ReadWholeFile(worldPath);
    try {
        qv::Archive ar(head, worldPath);
        const uint32_t version = ar.ReadDWord();
        if (version > kWorldVersion)
            ar.Fail(qv::ArchiveError::BadSchema,
                    "a world of version " + std::to_string(version) + ", newer than this game");
        // The whole world is tried before anything is copied over the
        // working folder.
        CheckWorldRead(head, worldPath, folder, false, folder + kPlayersFile);
    } catch (const qv::ArchiveError& error) {
        throw AsFileError(error, worldPath);
    }
    return world;
}

void SavedGames::ReloadWindowAtFocus() {
    if (!m_Play.Map()) return;
    const qv::Point f = m_Play.m_World.m_ptFocus;
    m_Play.Map()->ReloadWindowAt(f.x / MapMaster::CellWidth, f.y / MapMaster::CellHeight);
}

bool SavedGames::TryReloadWindowAtFocus() {
    try {
        ReloadWindowAtFocus();
        return true;
    } catch (const qv::FileError& error) {
        ReportFileException(error);
    } catch (const qv::ArchiveError& error) {
        ReportFileException(AsFileError(error, error.file));
    }
    return false;
}

int SavedGames::SaveSlot(int slot) {
    if (m_strWorldFile.empty()) {
        qv::ShowMessage("Need to Save World First", qv::MessageButtons::Ok);
        return 0;
    }
    const std::string work = GameFolderPath(m_strWorkFolder);
    const std::string folder = GameFolderPath(GetSaveFolder(slot));
    const std::string fresh = Beside(folder, kFreshSuffix);
    const std::string old = Beside(folder, kOldSuffix);
    m_strCurrentFolder = work;
    try {
        if (!qv::IsPlainFileName(m_strWorldFile))
            throw qv::FileError(qv::FileError::Other, m_strWorldFile, "not a plain file name");
        // The slot's older files stay unless the working folder has newer ones.
        qv::RemoveFolder(fresh);
        qv::MakeFolder(fresh);
        if (qv::FolderExists(folder)) CopyFolder(folder, fresh);
        CopyFolder(work, fresh);
        // The world, the party and the lands in memory are written beside
        // the slot: the working folder takes them only once the save is
        // whole, and a save that fails changes nothing there.
        std::vector<std::string> written{m_strWorldFile};
        if (m_Play.Map())
            for (const Land* land : m_Play.Map()->loadedlands)
                if (land->landinfo) written.push_back(land->landinfo->filename);
        m_strCurrentFolder = fresh;
        try {
            SaveWorldFile(m_strWorldFile, fresh);
        } catch (const qv::ArchiveError& error) {
            throw AsFileError(error, fresh + m_strWorldFile);
        }
        m_strCurrentFolder = work;
        if (m_PartyOutOfPlay) written.push_back(kPlayersFile);
        qv::WriteWholeFile(fresh + kPositionFile, StorePosition(m_strWorldFile));
        // Every byte of the new save is on the disk before it takes the
        // slot's name, and the renames are before the game says it saved.
        qv::SyncFolderAndFiles(fresh);
        qv::RemoveFolder(old);
        if (qv::FolderExists(folder)) qv::RenameFolder(folder, old);
        qv::RenameFolder(fresh, folder);
        qv::SyncFolder(GameFolderPath(""));
        qv::RemoveFolder(old);
        for (const std::string& name : written) CopyOneFile(folder + name, work + name);
        WriteSaveSlots();
    } catch (const qv::FileError& error) {
        qv::RemoveFolder(fresh);
        // With the slot there, the old game is no longer needed: the slot
        // holds it still, or the new save took the slot's name whole.
        if (qv::FolderExists(folder)) qv::RemoveFolder(old);
        if (!qv::FolderExists(folder) && qv::FolderExists(old)) {
            try {
                qv::RenameFolder(old, folder);
            } catch (const qv::FileError&) {
                // The old save keeps its ".old" name; a load finds it there.
            }
        }
        m_strCurrentFolder = work;
        // Play goes on: what has not been saved is still in play (the party
        // comes back as it was), and the player may try again (a load alone
        // may end the program). The game's names and the folder's path meet
        // in the file's name: it is said with one kind of separator.
        qv::ShowMessage(qv::Format("The game could not be saved: %s. Play goes on.",
                                   qv::ToSlashes(error.what()).c_str()),
                        qv::MessageButtons::Ok);
        return 0;
    }
    m_strCurrentFolder = work;
    return 1;
}

int SavedGames::SaveGame(int index) {
    World& w = m_Play.m_World;
    for (Player* p : w.m_PlayerArray)
        if (p) p->LeavePlayerSet();
    const int controlled = w.m_pControlPlayer ? w.m_pControlPlayer->m_iPlayerNumber : -1;
    const int previousSlot = m_iCurrentSlot;
    m_iCurrentSlot = index;
    m_bSaving = 1;
    const int saved = SaveSlot(index + 1);
    m_bSaving = 0;
    if (!saved) m_iCurrentSlot = previousSlot;
    // Writing the world gave the window's holders back to their lands; the
    // game goes on with them in place.
    TryReloadWindowAtFocus();
    if (controlled >= 0)
        for (Player* p : w.m_PlayerArray)
            if (p && p->m_iPlayerNumber == controlled) w.m_pControlPlayer = p;
    return saved;
}

int SavedGames::QuickSave() {
    // The container counts as play opened it, not by its window.
    const bool windowOpen = m_Play.Shell().WindowStopsWorld(false) ||
                            m_Play.Travelling().IsChangingWorld() ||
                            m_Play.Interacting().IsContainerOpen();
    Player* leader = m_Play.m_World.m_pLeader.Get();
    if (windowOpen || !leader || !leader->m_Opponents.empty()) {
        m_Play.Ask().Tell("Cannot QuickSave here.");
        return 0;
    }
    m_Play.m_bOptionsShown = 1;
    // A save that fails leaves the table as it was.
    const SaveSlotEntry before = m_SaveSlots[kQuickSlot];
    m_SaveSlots[kQuickSlot] = {1, "QuickSave"};
    if (!SaveGame(kQuickSlot)) {
        m_SaveSlots[kQuickSlot] = before;
        return 0;
    }
    m_Play.Ask().Tell("QuickSave completed.");
    return 1;
}

int SavedGames::LoadFromSlot(int slot, OnBadSlot onBad) {
    m_Play.Shell().ShowBusy(true);
    const std::string folderName = GetSaveFolder(slot);
    const std::string folder = GameFolderPath(folderName);
    const std::string work = GameFolderPath(m_strWorkFolder);
    try {
        // A save cut short between its two renames left the old game beside.
        const std::string old = Beside(folder, kOldSuffix);
        if (!qv::FolderExists(folder) && qv::FolderExists(old)) qv::RenameFolder(old, folder);
        CheckSlot(folder);
    } catch (const qv::FileError& error) {
        // Nothing has been copied or read yet.
        if (onBad == OnBadSlot::EndProgram) {
            ReportFileException(error);
            return 0;
        }
        m_Play.Shell().ShowBusy(false);
        qv::ShowMessage(FileErrorText(error) + kNotLoaded, qv::MessageButtons::Ok, kLoadError);
        return 0;
    }
    try {
        m_strSaveFolder = folderName;
        qv::MakeFolder(work);
        CopyFolder(folder, work);
        m_strCurrentFolder = work;
        ReadPosition();
        const std::string world = m_strWorldFile;
        try {
            LoadWorldFile(world);
            ReloadWindowAtFocus();
        } catch (const qv::ArchiveError& error) {
            throw AsFileError(error, work + world);
        }
    } catch (const qv::FileError& error) {
        m_strCurrentFolder = work;
        ReportFileException(error);
        return 0;
    }
    m_strCurrentFolder = work;
    if (m_Play.m_iStartState == 0) {
        m_Play.MoveToLand();
        m_Play.m_World.m_pControlPlayer = m_Play.m_World.m_pLeader.Get();
    }
    m_Play.Shell().ShowBusy(false);
    return 1;
}

int SavedGames::LoadSlot(int index, OnBadSlot onBad) {
    const int previous = m_iCurrentSlot;
    m_iCurrentSlot = index;
    m_bLoadingGame = 1;
    const int loaded = LoadFromSlot(index + 1, onBad);
    m_bLoadingGame = 0;
    if (!loaded) m_iCurrentSlot = previous;
    return loaded;
}

int SavedGames::OpenStartWorld() {
    m_bLoadingGame = 1;
    const int loaded = LoadFromSlot(kOriginalSlot);
    m_bLoadingGame = 0;
    return loaded;
}

int SavedGames::StartInOriginalWorld() {
    const std::string original = GameFolderPath(GetSaveFolder(kOriginalSlot));
    if (!qv::FolderExists(original)) {
        // Said on the error output and in the window's message line.
        const std::string said =
            qv::Format("No start world in %s: the window opens on an empty world.",
                       qv::ToSlashes(original).c_str());
        std::fprintf(stderr, "%s\n", said.c_str());
        SetMessageLine(said);
        // The empty world: the least the window fits in, with no land and
        // nothing in it, the window around its first cell.
        if (MapMaster* map = m_Play.Map()) {
            map->DeleteContents();
            map->SetWorldSize(MapMaster::wide, MapMaster::high);
            m_Play.m_World.m_ptFocus = {0, 0};
            map->focuscell = {0, 0};
            map->RecentreWindow();
            TryReloadWindowAtFocus();
        }
        return 1;
    }
    return OpenStartWorld();
}

void SavedGames::UseGameFolder(const std::string& folder) {
    m_strGameFolder = folder;
    m_Play.Talks().ClearScripts();
    m_strWorkFolder = "tmp\\";
    m_strSaveFolder = GetSaveFolder(kOriginalSlot);
    m_strCurrentFolder = GameFolderPath(m_strSaveFolder);
    ReadSaveSlots();
}

int Play::GiveQuickSave(const Order&, Player*) {
    return m_Saves.QuickSave();
}

int SavedGames::StartNewGame() {
    const bool waiting = m_Play.PartyChoices().IsNewCharacterPending();
    m_Play.PartyChoices().SetNewCharacterPending(true);
    if (!qv::FolderExists(GameFolderPath(GetSaveFolder(kOriginalSlot)))) {
        // A game folder without its start world opens on the empty world.
        m_Play.PartyChoices().SetNewCharacterPending(false);
        return StartInOriginalWorld();
    }
    if (!LoadSlot(kOriginalSlot - 1)) {
        m_Play.PartyChoices().SetNewCharacterPending(waiting);
        return 0;
    }
    return 1;
}

int SavedGames::SaveGameAs(int index, const std::string& description) {
    if (index < 0 || index >= kQuickSlot) return 0;
    // A save that is not made leaves the table as it was.
    SaveSlotEntry& entry = m_SaveSlots[static_cast<size_t>(index)];
    const SaveSlotEntry before = entry;
    entry = {1, description};
    if (!SaveGame(index)) {
        entry = before;
        return 0;
    }
    return 1;
}

int Play::GiveNewGame(const Order&, Player*) {
    return m_Saves.StartNewGame();
}

int Play::GiveSave(const Order& order, Player*) {
    return m_Saves.SaveGameAs(order.value, order.text);
}
