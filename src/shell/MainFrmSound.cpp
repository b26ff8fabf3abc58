#include "media/DSound.h"
#include "platform/Audio.h"
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

int CMainFrame::InitDirectSound() {
    // There is no MIDI output here: music stays off and its switch cannot be
    // turned on.
    m_bMidiOutput = 0;
    m_bMusicOn = 0;
    return qv::AudioDevice::Instance().Open() ? 1 : 0;
}

void CMainFrame::ReleaseSounds() {
    DeleteMidi();
    qv::AudioDevice::Instance().Close();
}

int CMainFrame::PlayMidi(int* tune) {
    if (!tune) return 0;
    // While music is off there is nothing to do, which is no failure.
    if (!m_bMusicOn) return 1;
    if (m_pMidi && m_pMidi->GetTune() == *tune) return 1;
    if (!m_bMidiOutput) return 0;
    m_pMidi = std::make_unique<CMIDIStream>(*tune);
    return m_pMidi->IsOpen() ? 1 : 0;
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
