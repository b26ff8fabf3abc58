#pragma once
// The game's tunes, composed by code: a melody over a progression of chords,
// with strings, a harp or a driving ostinato, a bass and, in battle, drums,
// written as standard MIDI files into a game folder's "Music" folder, where
// the music stream finds them by number (CMIDIStream::TuneFileName).

#include <string>
#include <vector>

#include "media/MidiFile.h"

namespace tunes {

// The tunes by number: the title's, a land's calm tune (every land's tune
// unless its builder chose another) and the start world's combat tune.
constexpr int kTitleTune = 0;
constexpr int kCalmTune = 1;
constexpr int kCombatTune = 2;

// The channels the parts play on.
constexpr int kMelodyChannel = 0;
constexpr int kPadChannel = 1;
constexpr int kFigureChannel = 2;  // the harp's arpeggios or the battle's ostinato
constexpr int kBassChannel = 3;
constexpr int kTimpaniChannel = 4;
constexpr int kDrumChannel = 9;

constexpr int kTicksPerQuarter = 480;
constexpr int kBars = 16;
constexpr int kTicksPerBar = 4 * kTicksPerQuarter;

// What a tune is made of, for the data program and for checking it.
struct TuneFacts {
    int tempo = 0;                 // quarter notes a minute
    int tonic = 0;                 // pitch class of the key's first note
    bool minor = false;            // natural minor, with the raised seventh over its fifth chord
    std::vector<int> progression;  // scale degree (0 = I) of each bar's chord
};

// The tunes' numbers, in order.
std::vector<int> TuneNumbers();
TuneFacts Facts(int tune);
// The tune, as its file holds it: a conductor track with the tempo, then one
// track a part.
MidiFile Compose(int tune);

// Writes every tune into `gameFolder` + "Music/" (made when missing). False,
// with the reason in error, when a file cannot be written.
bool WriteTunes(const std::string& gameFolder, std::string& error);

}  // namespace tunes
