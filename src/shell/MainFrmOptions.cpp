// The options window as the frame runs it: at start, on Esc and after a death.
// The windows ask the frame through OptionsHost for the slot table, loads,
// saves, a new game and the sound and music switches.

#include "media/DSound.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "windows/OptionsWnd.h"

namespace {

constexpr int kOriginalSlotIndex = -1;  // slot number 0: the start world

class FrameOptionsHost : public OptionsHost {
public:
    explicit FrameOptionsHost(CMainFrame& frame) : f(frame) {}

    Slot GetSlot(int index) const override {
        if (index < 0 || index >= Play::kSlotCount) return {};
        const Play::SaveSlotEntry& e = f.m_Play.m_SaveSlots[static_cast<size_t>(index)];
        return {e.inUse != 0, e.description};
    }

    bool LoadSlot(int index) override {
        if (index < 0 || index >= Play::kSlotCount) return false;
        // A slot that cannot be read is said, and the window stays open on
        // the game as it was.
        if (!f.m_Play.LoadSlot(index, Play::OnBadSlot::SayAndGoOn)) return false;
        f.m_bFullRedraw = 1;
        return true;
    }

    bool SaveGame(int index, const std::string& description) override {
        if (index < 0 || index >= Play::kQuickSlot) return false;
        // A save that is not made leaves the table as it was.
        Play::SaveSlotEntry& entry = f.m_Play.m_SaveSlots[static_cast<size_t>(index)];
        const Play::SaveSlotEntry before = entry;
        entry = {1, description};
        if (!f.m_Play.SaveGame(index)) {
            entry = before;
            return false;
        }
        return true;
    }

    bool StartNewGame(const NewCharacterChoice& c) override {
        struct Kept {
            int pending;
            int32_t strength, dexterity, intelligence;
            std::string player, dog;
        };
        const Kept before{f.m_Play.m_bNewCharacterPending, f.m_Play.m_iNewStrength,
                          f.m_Play.m_iNewDexterity,        f.m_Play.m_iNewIntelligence,
                          f.m_Play.m_strPlayerName,        f.m_Play.m_strDogName};
        f.m_Play.m_bNewCharacterPending = 1;
        f.m_Play.m_iNewStrength = c.strength;
        f.m_Play.m_iNewDexterity = c.dexterity;
        f.m_Play.m_iNewIntelligence = c.intelligence;
        f.m_Play.m_strPlayerName = c.playerName;
        f.m_Play.m_strDogName = c.dogName;
        const std::string original =
            f.m_Play.GameFolderPath(Play::GetSaveFolder(Play::kOriginalSlot));
        if (!qv::FolderExists(original)) {
            // A game folder without its start world opens on the empty world.
            f.m_Play.m_bNewCharacterPending = 0;
            f.m_bFullRedraw = 1;
            return f.m_Play.StartInOriginalWorld() != 0;
        }
        if (!f.m_Play.LoadSlot(kOriginalSlotIndex)) {
            f.m_Play.m_bNewCharacterPending = before.pending;
            f.m_Play.m_iNewStrength = before.strength;
            f.m_Play.m_iNewDexterity = before.dexterity;
            f.m_Play.m_iNewIntelligence = before.intelligence;
            f.m_Play.m_strPlayerName = before.player;
            f.m_Play.m_strDogName = before.dog;
            return false;
        }
        f.m_Play.SetControlPlayer(nullptr);
        f.m_bFullRedraw = 1;
        return true;
    }

    bool IsSoundAvailable() const override { return qv::AudioDevice::Instance().IsOpen(); }
    bool IsSoundOn() const override { return f.m_bSoundOn != 0; }
    void SetSoundOn(bool on) override {
        f.m_bSoundOn = g_bSoundEnabled = on ? 1 : 0;
        // What plays now, the land's loop too, falls silent with the switch;
        // the music has its own.
        if (!on) qv::AudioDevice::Instance().WithMixer([](qv::Mixer& m) { m.StopAll(); });
        f.m_Settings.WriteSetting("Sound", f.m_bSoundOn);
    }
    bool IsMusicAvailable() const override { return f.m_bMidiOutput != 0; }
    bool IsMusicOn() const override { return f.m_bMusicOn != 0; }
    void SetMusicOn(bool on) override {
        f.m_bMusicOn = on ? 1 : 0;
        f.UpdateMidi();
        f.m_Settings.WriteSetting("Midi", f.m_bMusicOn);
    }

private:
    CMainFrame& f;
};

}  // namespace

int CMainFrame::RunOptionsWindow(int a, int b) {
    // The first showing is the start layout. Going back to the game is for
    // Esc (b set), never after a death; `a` (no fight is on) is kept by the
    // window and read by nothing.
    m_Start.TraceStart("options window");
    FrameOptionsHost host(*this);
    const bool first = !m_Play.m_bOptionsShown;
    int result = 0;
    {
        COptionsWnd window(&host, first, b != 0, a);
        result = window.Popup();
    }
    if (result == COptionsWnd::kResultNewGameCancelled) {
        COptionsWnd confirming(&host, false, b != 0, a, true);
        result = confirming.Popup();
    }
    return result == COptionsWnd::kResultPlay ? 1 : 0;
}
