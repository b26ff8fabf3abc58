// The settings file: its place, the default game folder, its notices and the
// writing back of single values.

#include "shell/GameSettings.h"

#include <cstdlib>
#include <utility>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/Settings.h"

#ifndef QV_GAME_FOLDER
#define QV_GAME_FOLDER "game/"
#endif

namespace {

// Writes settings into the file, keeping its other lines; false, with the
// reason said, when it cannot be written.
bool WriteSettingsFile(const std::string& file,
                       const std::vector<std::pair<std::string, std::string>>& values) {
    try {
        qv::Settings::WriteValues(file, values);
    } catch (const qv::FileError& error) {
        qv::ShowMessage(
            qv::Format("The settings file %s cannot be written: %s", file.c_str(), error.what()),
            qv::MessageButtons::Ok);
        return false;
    }
    return true;
}

}  // namespace

std::string CGameSettings::SettingsFilePath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/quorvale/settings";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quorvale/settings";
}

std::string CGameSettings::DefaultGameFolder() {
    return QV_GAME_FOLDER;
}

void CGameSettings::ShowSettingsNotices() {
    const std::vector<std::string> notices = std::move(m_SettingsNotices);
    m_SettingsNotices.clear();
    if (!qv::HasMessageHandler()) return;  // no window: the error output had them
    for (const std::string& text : notices) qv::ShowMessage(text, qv::MessageButtons::Ok);
}

bool CGameSettings::WriteSoundSettings(int sound, int music) {
    return WriteSettingsFile(FileToWrite(),
                             {{"Sound", std::to_string(sound)}, {"Midi", std::to_string(music)}});
}

bool CGameSettings::WriteSetting(const std::string& key, int value) {
    return WriteSettingsFile(FileToWrite(), {{key, std::to_string(value)}});
}
