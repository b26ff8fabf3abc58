// The order file: what is written is read back the same, and whatever is
// wrong in a file is refused, naming the file, with the recording left as it
// was.

#include <gtest/gtest.h>

#include <string>

#include "play/OrderFile.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// One order line with the given tick, kind, target and text.
std::string Line(const std::string& tick, const std::string& kind = "Take",
                 const std::string& target = "placed:1,2,0,0", const std::string& text = "0:") {
    return tick + " " + kind + " actor=creature:-3 target=" + target +
           " object=carried:4,0,2,-1 into=- point=1,-2,0 hasPoint=1 value=5 mode=0 name=4:Door " +
           "text=" + text + "\n";
}

std::string File(const std::string& lines, int count = 1, const std::string& ticks = "9") {
    return "Quorvale orders 1\nticks " + ticks + "\norders " + std::to_string(count) + "\n" + lines;
}

TEST(OrderFile, WhatIsWrittenIsReadBackAndEveryFaultIsRefusedChangingNothing) {
    const std::string longest(4096, 'x');
    struct Row {
        const char* what;
        std::string file;
        bool read;
    };
    const Row rows[] = {
        {"a whole order", File(Line("3")), true},
        {"a tick at the game's ticks", File(Line("9")), true},
        {"a tick past them", File(Line("10")), false},
        {"a tick that goes down", File(Line("3") + Line("2"), 2), false},
        {"ticks that stay", File(Line("3") + Line("3"), 2), true},
        {"fewer orders than counted", File(Line("3"), 2), false},
        {"more than counted", File(Line("3") + Line("4"), 1), false},
        {"another header", "Quorvale orders 2" + File(Line("3")).substr(17), false},
        {"a kind of order there is not", File(Line("3", "Fly")), false},
        {"a kind of thing there is not", File(Line("3", "Take", "pile:1")), false},
        {"a thing short of numbers", File(Line("3", "Take", "placed:1,2,0")), false},
        {"a number past 32 bits", File(Line("3", "Take", "creature:2147483648")), false},
        {"the least 32-bit number", File(Line("3", "Take", "creature:-2147483648")), true},
        {"a text of the longest length", File(Line("3", "Take", "-", "4096:" + longest)), true},
        {"a text longer", File(Line("3", "Take", "-", "4097:" + longest + "x")), false},
        {"a text running past the end", File(Line("3", "Take", "-", "8:abc")), false},
        {"a line feed in a text", File(Line("3", "Take", "-", "3:a\nb")), true},
        {"no line end", File(Line("3")).substr(0, File(Line("3")).size() - 1), false},
        {"a count no file of that size holds", File("", 1000), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        OrderRecording recording{1, {{0, Order::Of(Order::Kind::Pause)}}};
        const OrderRecording before = recording;
        std::string error;
        ASSERT_EQ(ReadOrderFile(Bytes(r.file), "kept.txt", recording, error), r.read) << error;
        if (!r.read) {
            EXPECT_EQ(error.rfind("kept.txt: line ", 0), 0u) << error;
            EXPECT_EQ(std::tuple(recording.ticks, recording.orders.size()),
                      std::tuple(before.ticks, before.orders.size()));
            continue;
        }
        EXPECT_EQ(WriteOrderFile(recording), Bytes(r.file));
    }
}

TEST(OrderFile, AFileThatCannotBeReadIsRefusedByName) {
    OrderRecording recording;
    std::string error;
    EXPECT_FALSE(LoadOrderFile("/nonexistent/orders.txt", recording, error));
    EXPECT_EQ(error.rfind("/nonexistent/orders.txt: ", 0), 0u) << error;
}

}  // namespace
