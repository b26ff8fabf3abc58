// Start-up without the window: the settings file in place of the registry,
// the game and working folders, the slot table, and the start world.

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"

#ifndef QV_GAME_FOLDER
#define QV_GAME_FOLDER "game/"
#endif

namespace {

// A setting's number as the registry kept it, a 32-bit value; the game uses
// its low byte. Answers false for anything else.
bool SettingByte(const qv::Settings& settings, const char* key, int* out) {
    const std::string text = settings.GetString(key);
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > int64_t{UINT32_MAX}) return false;
    *out = static_cast<int>(static_cast<uint64_t>(v) & 0xFF);
    return true;
}

}  // namespace

std::string CMainFrame::SettingsFilePath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/quorvale/settings";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quorvale/settings";
}

std::string CMainFrame::DefaultGameFolder() {
    return QV_GAME_FOLDER;
}

std::string CMainFrame::ApplySettings(const qv::Settings& settings, const std::string& fileName) {
    std::string folder = settings.GetString("Path");
    const bool chosen = !folder.empty();
    if (!chosen) folder = DefaultGameFolder();
    if (folder.back() != '/' && folder.back() != '\\') folder += '\\';

    struct Switch {
        const char* key;
        int* member;
    };
    int sound = m_bSoundOn;
    const Switch switches[] = {{"Sound", &sound},
                               {"Midi", &m_bMusicOn},
                               {"Windows", &m_bWindowed},
                               {"Build", &m_bBuildMode}};
    for (const Switch& s : switches) {
        if (!settings.Has(s.key)) continue;
        if (!SettingByte(settings, s.key, s.member))
            qv::ShowMessage(
                qv::Format("The setting \"%s\" in %s is not a number (\"%s\"); it keeps "
                           "its default.",
                           s.key, fileName.c_str(), settings.GetString(s.key).c_str()),
                qv::MessageButtons::Ok);
    }
    m_bSoundOn = sound;

    if (!qv::FolderExists(folder)) {
        if (chosen)
            return qv::Format("The game folder %s (the setting \"Path\" in %s) does not exist.",
                              qv::ToSlashes(folder).c_str(), fileName.c_str());
        try {
            qv::MakeFolder(folder);
        } catch (const qv::FileError& error) {
            return qv::Format("The game folder %s cannot be made: %s",
                              qv::ToSlashes(folder).c_str(), error.what());
        }
    }
    m_strGameFolder = folder;
    m_strWorkFolder = "tmp\\";
    m_strSaveFolder = GetSaveFolder(kOriginalSlot);
    m_strCurrentFolder = GameFolderPath(m_strSaveFolder);
    ReadSaveSlots();
    return {};
}

int CMainFrame::OpenStartWorld() {
    m_bLoadingGame = 1;
    const int loaded = LoadFromSlot(kOriginalSlot);
    m_bLoadingGame = 0;
    return loaded;
}
