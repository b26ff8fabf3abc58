#pragma once
// A recording of a game written to a file and read back (the file's layout is
// described in OrderFile.cpp, beside its reader and writer): the orders with
// their ticks, each thing named by its numbers, and the tick the game ended
// at, so that a game played from the start world can be played again.

#include <cstdint>
#include <string>
#include <vector>

#include "play/Order.h"

struct OrderRecording {
    uint32_t ticks = 0;  // the ticks the game ran: every order's tick is below or at it
    std::vector<TimedOrder> orders;
};

// The file's bytes. Things given by handle are written as nothing: a
// recording names its things by numbers (NumberedOrder).
std::vector<uint8_t> WriteOrderFile(const OrderRecording& recording);
// Reads the bytes of the file `fileName` into `recording`; on refusal answers
// false with the reason, naming the file, in `error`, and `recording` is as
// it was.
bool ReadOrderFile(const std::vector<uint8_t>& bytes, const std::string& fileName,
                   OrderRecording& recording, std::string& error);
// The same from the file itself (its absence is a refusal like any other).
bool LoadOrderFile(const std::string& fileName, OrderRecording& recording, std::string& error);
