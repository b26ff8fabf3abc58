// The options window as the frame runs it: at start, on Esc and after a death.
// The windows ask the frame through OptionsHost for the slot table, loads,
// saves, a new game and the sound and music switches.

#include "media/DSound.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "windows/OptionsWnd.h"

namespace {

class FrameOptionsHost : public OptionsHost {
public:
    explicit FrameOptionsHost(CMainFrame& frame) : f(frame) {}

    Slot GetSlot(int index) const override {
        if (index < 0 || index >= SavedGames::kSlotCount) return {};
        const SavedGames::SaveSlotEntry& e = f.m_Play.Saves().Slots()[static_cast<size_t>(index)];
        return {e.inUse != 0, e.description};
    }

    bool LoadSlot(int index) override {
        if (index < 0 || index >= SavedGames::kSlotCount) return false;
        // A slot that cannot be read is said, and the window stays open on
        // the game as it was.
        if (!f.m_Play.Saves().LoadSlot(index, SavedGames::OnBadSlot::SayAndGoOn)) return false;
        f.m_bFullRedraw = 1;
        return true;
    }

    bool SaveGame(int index, const std::string& description) override {
        Order save = Order::With(Order::Kind::Save, index);
        save.text = description;
        return f.m_Play.Give(save) != 0;
    }

    bool StartNewGame(const NewCharacterChoice& c) override {
        Play& play = f.m_Play;
        const NewCharacterChoice before{
            play.PartyChoices().NewStrength(), play.PartyChoices().NewDexterity(),
            play.PartyChoices().NewIntelligence(), play.PartyChoices().PlayerName(),
            play.PartyChoices().DogName()};
        ChooseCharacter(c);
        const bool hasStartWorld = qv::FolderExists(
            play.Saves().GameFolderPath(savefile::GetSaveFolder(SavedGames::kOriginalSlot)));
        const int started = play.Give(Order::Of(Order::Kind::NewGame));
        if (!hasStartWorld) {
            // A game folder without its start world opens on the empty world.
            f.m_bFullRedraw = 1;
            return started != 0;
        }
        if (!started) {
            ChooseCharacter(before);
            return false;
        }
        play.SetControlPlayer(nullptr);
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
    // The character a new game gives the party.
    void ChooseCharacter(const NewCharacterChoice& c) {
        using A = Play::NewCharacterAttribute;
        const auto number = [this](const char* name, int32_t value) {
            Order order = Order::With(Order::Kind::NewCharacter, value);
            order.name = name;
            f.m_Play.Give(order);
        };
        const auto text = [this](const char* name, const std::string& value) {
            Order order = Order::Of(Order::Kind::NewCharacter);
            order.name = name;
            order.text = value;
            f.m_Play.Give(order);
        };
        number(A::kStrength, c.strength);
        number(A::kDexterity, c.dexterity);
        number(A::kIntelligence, c.intelligence);
        text(A::kPlayerName, c.playerName);
        text(A::kDogName, c.dogName);
    }

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
