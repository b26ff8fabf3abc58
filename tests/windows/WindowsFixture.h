#pragma once
// The start-up windows run headless on the keys and clicks a test injects,
// against a game of the test's own: a host that keeps a slot table, counts
// what the windows ask of it and answers as the test says.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Message.h"
#include "support/PopupFixture.h"
#include "windows/OptionsHost.h"

namespace windows_test {

class FakeHost : public OptionsHost {
public:
    Slot slots[kSlotCount];
    bool soundAvailable = true, soundOn = true;
    bool musicAvailable = true, musicOn = true;
    bool loadSucceeds = true, saveSucceeds = true, newGameSucceeds = true;
    std::vector<int> loads;
    std::vector<std::pair<int, std::string>> saves;
    std::vector<NewCharacterChoice> newGames;
    std::vector<std::string> switches;  // "Sound=0", "Midi=1", in order

    Slot GetSlot(int index) const override {
        if (index < 0 || index >= kSlotCount) return {};
        return slots[index];
    }
    bool LoadSlot(int index) override {
        loads.push_back(index);
        return loadSucceeds;
    }
    bool SaveGame(int index, const std::string& description) override {
        saves.emplace_back(index, description);
        if (!saveSucceeds) return false;
        slots[index] = {true, description};
        return true;
    }
    bool StartNewGame(const NewCharacterChoice& choice) override {
        newGames.push_back(choice);
        return newGameSucceeds;
    }
    bool IsSoundAvailable() const override { return soundAvailable; }
    bool IsSoundOn() const override { return soundOn; }
    void SetSoundOn(bool on) override {
        soundOn = on;
        switches.push_back(std::string("Sound=") + (on ? "1" : "0"));
    }
    bool IsMusicAvailable() const override { return musicAvailable; }
    bool IsMusicOn() const override { return musicOn; }
    void SetMusicOn(bool on) override {
        musicOn = on;
        switches.push_back(std::string("Midi=") + (on ? "1" : "0"));
    }
};

class WindowsFixture : public popup_test::PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        // Questions and messages are answered by the test's script rather
        // than by the game's boxes, which would wait for a click.
        qv::SetMessageHandler({});
    }
    void TearDown() override {
        qv::SetMessageHandler({});
        PopupFixture::TearDown();
    }
    void Char(int ch) { loop.Inject(qv::Event{qv::EventKind::Char, ch, {}}); }
    void Type(const std::string& text) {
        for (char c : text) Char(static_cast<unsigned char>(c));
    }
    // A click on a button of a window, by its middle.
    void Press(const CDDWnd& w, const CDDControl* c) {
        ASSERT_NE(c, nullptr);
        Click(Centre(w, *c));
    }

    FakeHost host;
    qv::ScriptedMessages messages;
};

}  // namespace windows_test
