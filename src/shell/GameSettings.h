#pragma once
// The settings file, which stands in for the registry: where it lies, the
// game folder used when it names none, the notices its reading left for the
// game's message box, and the writing back of the sound switches.

#include <string>
#include <vector>

class CGameSettings {
public:
    // The settings file: "settings" in the user's configuration folder
    // ($XDG_CONFIG_HOME/quorvale, else ~/.config/quorvale).
    static std::string SettingsFilePath();
    // The game folder the build made, used when the settings name none.
    static std::string DefaultGameFolder();

    // The settings file that the frame's creation reads and the sound
    // switches are written to (SettingsFilePath() unless set before).
    std::string m_strSettingsFile;
    // What the settings had to say before the window could show it (it went
    // to the error output): shown again in the game's message box once the
    // screen is up, so that a player who started the game from a desktop
    // sees it too. Emptied as they are shown.
    std::vector<std::string> m_SettingsNotices;
    void ShowSettingsNotices();
    // Writes the sound and music switches back as "Sound" and "Midi" into the
    // settings file, keeping its other lines; false, with the reason said,
    // when the file cannot be written (the switches in play stay as set).
    bool WriteSoundSettings(int sound, int music);
    // Writes one such value, "Sound" or "Midi", as the switches in the
    // options window do; false, with the reason said, when it cannot.
    bool WriteSetting(const std::string& key, int value);

private:
    // The file written to: the one set, else the user's.
    std::string FileToWrite() const {
        return m_strSettingsFile.empty() ? SettingsFilePath() : m_strSettingsFile;
    }
};
