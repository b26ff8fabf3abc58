#pragma once
// The game's own resource store: pictures, sounds and cursors by resource id.
//
// Every picture is drawn by our own code the first time it is asked for and
// kept for the rest of the run; the store is safe to use from the worker
// thread that loads the images at the start of play.

#include <cstdint>
#include <memory>
#include <vector>

#include "media/DIBitmap.h"

// The picture of a bitmap resource id, or null when the store has none.
std::shared_ptr<const CDIBitmap> FindBitmapResource(int id);

// A sound of the store: mono 16-bit signed PCM.
struct WaveResource {
    int sampleRate = 22050;
    std::vector<int16_t> samples;
};

// The sound of a WAVE resource id, or null when the store has none.
std::shared_ptr<const WaveResource> FindWaveResource(int id);

// The bitmap resource ids the store draws, in increasing order.
std::vector<int> BitmapResourceIds();
// The WAVE resource ids the store makes, in increasing order.
std::vector<int> WaveResourceIds();
