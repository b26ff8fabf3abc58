#pragma once
// What the start-up and options windows ask of the game that runs them: the
// table of saved games, loading and saving a slot, a new game begun with a new
// character, and the sound and music switches. The main frame answers them
// (shell/MainFrmOptions.cpp); a test answers them itself.

#include <cstdint>
#include <string>

// What the new-character window chose: the three figures and the two names.
struct NewCharacterChoice {
    int32_t strength = 50;
    int32_t dexterity = 50;
    int32_t intelligence = 50;
    std::string playerName;
    std::string dogName;
};

class OptionsHost {
public:
    // The table of saved games: index 0 to 9 are the player's games 1 to 10,
    // index 10 the quick save.
    static constexpr int kSlotCount = 11;
    static constexpr int kQuickSlot = 10;
    struct Slot {
        bool used = false;
        std::string description;
    };

    virtual ~OptionsHost() = default;

    // Entry `index` of the table (an empty one outside 0 to 10).
    virtual Slot GetSlot(int index) const = 0;
    // Brings the game of slot `index` into play. False when it cannot be
    // read: the player has been told why, and the running game is as it was.
    virtual bool LoadSlot(int index) = 0;
    // Saves the running game into slot `index` (0 to 9) under `description`.
    // False when nothing was saved; the table then stays as it was.
    virtual bool SaveGame(int index, const std::string& description) = 0;
    // Begins a new game in the start world with this character and its dog.
    // False when the start world cannot be read (told, and nothing changed).
    virtual bool StartNewGame(const NewCharacterChoice& choice) = 0;

    // Sound: whether the program can play sounds at all, whether its switch
    // is on, and the switch thrown (kept in the settings for the next start).
    virtual bool IsSoundAvailable() const = 0;
    virtual bool IsSoundOn() const = 0;
    virtual void SetSoundOn(bool on) = 0;
    // Music likewise: whether there is a MIDI output, and its switch.
    virtual bool IsMusicAvailable() const = 0;
    virtual bool IsMusicOn() const = 0;
    virtual void SetMusicOn(bool on) = 0;
};
