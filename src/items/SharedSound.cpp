#include "items/SharedSound.h"

#include "media/DSound.h"

SharedSound::SharedSound(int waveId) : m_iWaveId(waveId) {}

SharedSound::~SharedSound() = default;

void SharedSound::Take() {
    if (++m_iUses == 1) m_pSound = std::make_unique<CDSound>(m_iWaveId);
}

void SharedSound::Give() {
    if (m_iUses > 0 && --m_iUses == 0) m_pSound.reset();
}

int SharedSound::Play() const {
    return m_pSound ? m_pSound->Play() : 0;
}
