#include <algorithm>
#include <cstdio>

#include "media/DSound.h"
#include "media/Resources.h"
#include "platform/Audio.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/Midi.h"
#include "shell/MainFrm.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/World.h"

qv::Point GetSoundListener() {
    World* world = GetWorld();
    return world ? world->m_ptFocus : qv::Point{};
}

qv::Point GetSoundWorldSize() {
    MapMaster* map = GetMapMaster();
    return map ? qv::Point{map->worldpixelx, map->worldpixely} : qv::Point{};
}

// ---- the frame's sound and music ----

void CMainFrame::SayRefusedTune(const CMIDIStream& stream, const char* consequence) {
    // A missing tune is no news (a land may name one that was never made).
    if (!stream.IsRefused()) return;
    const std::string& file = stream.GetFile();
    if (std::find(m_RefusedTunes.begin(), m_RefusedTunes.end(), file) != m_RefusedTunes.end())
        return;
    m_RefusedTunes.push_back(file);
    std::string text =
        qv::Format("Tune %d is not played: %s.", stream.GetTune(), stream.GetError().c_str());
    if (consequence) text += std::string(" ") + consequence;
    // The box alone says nothing on the terminal.
    if (qv::HasMessageHandler()) std::fprintf(stderr, "%s\n", text.c_str());
    qv::ShowMessage(text, qv::MessageButtons::Ok);
}

int CMainFrame::InitDirectSound() {
    m_bMidiOutput = 0;
    if (!qv::AudioDevice::Instance().Open()) {
        m_bMusicOn = 0;
        return 0;
    }
    // Music needs the sound font as well. Without it the music stays off and
    // its switch cannot be turned on, while the sounds play on.
    qv::MidiOutput& midi = qv::MidiOutput::Instance();
    if (midi.Open(qv::MidiOutput::SoundFont(), qv::Mixer::kRate)) {
        m_bMidiOutput = 1;
    } else {
        std::fprintf(stderr, "No music: %s.\n", midi.Error().c_str());
        m_bMusicOn = 0;
    }
    return 1;
}

static_assert(std::size(kCombatSoundIds) == CMainFrame::kCombatSounds);

void CMainFrame::PlayCombatSound(int number, qv::Point at) {
    if (number < 0 || number >= kCombatSounds) return;
    auto& sound = m_CombatSounds[static_cast<size_t>(number)];
    if (!sound) sound = std::make_unique<CDSound>(kCombatSoundIds[number]);
    sound->PlayAt(at.x, at.y);
}

void CMainFrame::ReleaseSounds() {
    for (auto& sound : m_CombatSounds) sound.reset();
    DeleteMidi();
    qv::MidiOutput::Instance().Close();
    qv::AudioDevice::Instance().Close();
}

int CMainFrame::PlayMidi(int* tune, const char* consequence) {
    if (!tune) return 0;
    // While music is off there is nothing to do, which is no failure.
    if (!m_bMusicOn) return 1;
    if (m_pMidi && m_pMidi->GetTune() == *tune) return 1;
    if (!m_bMidiOutput) return 0;
    // A tune that cannot be played leaves the one playing as it is.
    auto stream = std::make_unique<CMIDIStream>(
        *tune, m_Play.Saves().GameFolderPath(CMIDIStream::TuneFileName(*tune)));
    if (!stream->IsOpen()) {
        SayRefusedTune(*stream, consequence);
        return 0;
    }
    m_pMidi = std::move(stream);
    return 1;
}

void CMainFrame::UpdateMidi() {
    if (!m_pMidi) {
        int tune = 0;
        PlayMidi(&tune);
    }
    if (!m_pMidi) return;
    if (m_bMusicOn)
        m_pMidi->Restart();
    else
        m_pMidi->Pause();
}

void CMainFrame::DeleteMidi() {
    m_pMidi.reset();
}
