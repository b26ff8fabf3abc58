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
    bool soundAvailable = true, soundOn = true, musicAvailable = true, musicOn = true;
    int badSlot = 3;  // a load or save of it fails
    bool newGameSucceeds = true;
    std::string handed;  // "load 2, save 5 camp": what the windows handed over, in order
    std::vector<NewCharacterChoice> newGames;
    std::vector<std::string> switches;  // "Sound=0", "Midi=1", in order

    Slot GetSlot(int i) const override { return i < 0 || i >= kSlotCount ? Slot{} : slots[i]; }
    bool LoadSlot(int i) override {
        handed += (handed.empty() ? "load " : ", load ") + std::to_string(i);
        return i != badSlot;
    }
    bool SaveGame(int i, const std::string& description) override {
        handed += (handed.empty() ? "save " : ", save ") + std::to_string(i) + " " + description;
        if (i != badSlot) slots[i] = {true, description};
        return i != badSlot;
    }
    bool StartNewGame(const NewCharacterChoice& c) override {
        newGames.push_back(c);
        return newGameSucceeds;
    }
    bool IsSoundAvailable() const override { return soundAvailable; }
    bool IsSoundOn() const override { return soundOn; }
    void SetSoundOn(bool on) override { switches.push_back(Note("Sound", soundOn = on)); }
    bool IsMusicAvailable() const override { return musicAvailable; }
    bool IsMusicOn() const override { return musicOn; }
    void SetMusicOn(bool on) override { switches.push_back(Note("Midi", musicOn = on)); }
    static std::string Note(const char* key, bool on) {
        return key + std::string(on ? "=1" : "=0");
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
    // A fresh loop and a fresh game for the next row of a table.
    void NextRow() {
        loop.Reset();
        loop.SetClock(&clock);
        loop.SetMainHandler(&handler);
        host = FakeHost{};
        messages.shown.clear();
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
