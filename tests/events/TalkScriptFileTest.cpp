// Reading the conversation scripts: every statement as it is read back in
// its own spelling, and every fault refused with the file's name and line.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "events/TalkScriptFile.h"
#include "platform/Files.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string Stored(const TalkScriptFile& script) {
    const Bytes b = StoreTalkScript(script);
    return {b.begin(), b.end()};
}

// The statement of a one-line node A, as the writer spells it; jumps and
// choices lead to node B, which follows.
std::string Canonical(const std::string& statement) {
    const TalkScriptFile script =
        ReadTalkScript(Text("node A\n" + statement + "\nnode B\n"), "t.smb");
    const std::string all = Stored(script);
    const std::string head = "node A\n    ", tail = "\n\nnode B\n";
    EXPECT_EQ(all.substr(0, head.size()), head);
    EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
    return all.substr(head.size(), all.size() - head.size() - tail.size());
}

TEST(TalkScriptFile, EveryStatementIsReadAndSpelledBack) {
    struct Row {
        const char* rule;
        const char* written;
        const char* spelled;
    };
    const Row rows[] = {
        {"a line", "say  Good day,  traveller.  ", "say Good day,  traveller."},
        {"an empty line", "say", "say"},
        {"a choice to a node", "choice B Who are you?", "choice B Who are you?"},
        {"a choice that ends", "choice end Farewell.", "choice end Farewell."},
        {"a jump", "goto B", "goto B"},
        {"the end", "end", "end"},
        {"set", "set Wolf -7", "set Wolf -7"},
        {"set with a plus sign", "set Wolf +7", "set Wolf 7"},
        {"add", "add Gold 12", "add Gold 12"},
        {"timer", "timer Wolf 24", "timer Wolf 24"},
        {"hold of the speaker", "hold speaker -10", "hold speaker -10"},
        {"talkstate of the listener", "talkstate listener 3", "talkstate listener 3"},
        {"wait of an actor", "wait 17 -1", "wait 17 -1"},
        {"wait of a random encounter's member", "wait -3 2", "wait -3 2"},
        {"travel", "travel 12 -4", "travel 12 -4"},
        {"makegroup", "makegroup", "makegroup"},
        {"regroup", "regroup", "regroup"},
        {"join of the leader", "join leader", "join leader"},
        {"gotoworld", "gotoworld Caves.qvr 3 4", "gotoworld Caves.qvr 3 4"},
        {"pendingworld", "pendingworld Caves.qvr 3 4", "pendingworld Caves.qvr 3 4"},
        {"movetoland", "movetoland", "movetoland"},
        {"remove", "remove 4", "remove 4"},
        {"drop a thing whose name has blanks", "drop speaker  Iron Key ", "drop speaker Iron Key"},
        {"select", "select 2", "select 2"},
        {"school, whole", "school listener fire 1", "school listener fire 1"},
        {"school, one place", "school listener earth 0.5", "school listener earth 0.5"},
        {"school, two places", "school listener air -2.25", "school listener air -2.25"},
        {"school, trailing zero", "school listener water 1.50", "school listener water 1.5"},
        {"school, hundredths only", "school listener water 0.05", "school listener water 0.05"},
        {"trade", "trade 7", "trade 7"},
        {"a condition", "if Wolf >= 2 say Thanks.", "if Wolf >= 2 say Thanks."},
        {"two conditions, a variable named with a point",
         "if Wolf != 2  if Gold.x <= 1 choice end Bye.",
         "if Wolf != 2 if Gold.x <= 1 choice end Bye."},
        {"every comparison", "if a = 1 if b != 1 if c < 1 if d <= 1 if e > 1 if f >= 1 end",
         "if a = 1 if b != 1 if c < 1 if d <= 1 if e > 1 if f >= 1 end"},
        {"tabs between words", "set\tWolf\t3", "set Wolf 3"},
        {"the largest number", "set Wolf 2147483647", "set Wolf 2147483647"},
        {"the smallest number", "set Wolf -2147483648", "set Wolf -2147483648"},
        {"the longest timer", "timer Wolf 2147483646", "timer Wolf 2147483646"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(Canonical(r.written), r.spelled);
    }
}

TEST(TalkScriptFile, FaultsAreRefusedWithTheFileAndTheLine) {
    const std::string longLine = "say " + std::string(TalkScriptFile::kMaxLineBytes - 4, 'a');
    const std::string name65(65, 'N');
    struct Row {
        const char* rule;
        std::string text;
        int line;
        std::string fault;
    };
    const Row rows[] = {
        {"an unknown command", "node A\n  say hi\n  fly away\n", 3, "unknown command \"fly\""},
        {"a command word is spelled exactly", "node A\nSay hi\n", 2, "unknown command \"Say\""},
        {"a statement before the first node", "# notes\nsay hi\nnode A\n", 2,
         "a statement before the first node"},
        {"a node without a name", "node\n", 1, "missing the node's name"},
        {"a node with a bad name", "node A-B\n", 1, "bad node name \"A-B\""},
        {"a node called end", "node end\n", 1, "bad node name \"end\""},
        {"a node name of 65", "node " + name65 + "\n", 1, "bad node name \"" + name65 + "\""},
        {"two words after node", "node A B\n", 1, "more than node takes: \"B\""},
        {"a node twice", "node A\nnode B\nnode A\n", 3, "node A already stands at line 1"},
        {"a node under a condition", "node A\nif x = 1 node B\n", 2,
         "a node cannot start under a condition"},
        {"a jump to a missing node", "node A\n\n  goto B\n", 3, "no node \"B\""},
        {"a choice to a missing node", "node A\nchoice Z Go.\nnode B\n", 2, "no node \"Z\""},
        {"a jump to end", "node A\ngoto end\n", 2, "bad node name \"end\""},
        {"a choice without text", "node A\nchoice end   \n", 2, "a choice without its text"},
        {"a choice to a bad name", "node A\nchoice a.b Go.\n", 2, "bad node name \"a.b\""},
        {"a number that is a word", "node A\nset Wolf two\n", 2,
         "bad number \"two\" for the value"},
        {"a number above the range", "node A\nset Wolf 2147483648\n", 2,
         "bad number \"2147483648\" for the value"},
        {"a number below the range", "node A\nset Wolf -2147483649\n", 2,
         "bad number \"-2147483649\" for the value"},
        {"a number with a point", "node A\ntravel 1.5 2\n", 2,
         "bad number \"1.5\" for the cell's x"},
        {"a sign alone", "node A\nset Wolf -\n", 2, "bad number \"-\" for the value"},
        {"a missing number", "node A\ntravel 1\n", 2, "missing the cell's y"},
        {"a word too many", "node A\ntravel 1 2 3\n", 2, "more than travel takes: \"3\""},
        {"words after end", "node A\nend now\n", 2, "more than end takes: \"now\""},
        {"a negative timer", "node A\ntimer Wolf -1\n", 2, "hours out of range: -1"},
        {"a timer past the clock's amount", "node A\ntimer Wolf 2147483647\n", 2,
         "hours out of range: 2147483647"},
        {"three places of a skill", "node A\nschool listener fire 0.125\n", 2,
         "bad number \"0.125\" for the amount"},
        {"a point without places", "node A\nschool listener fire 1.\n", 2,
         "bad number \"1.\" for the amount"},
        {"two points", "node A\nschool listener fire 1.2.3\n", 2,
         "bad number \"1.2.3\" for the amount"},
        {"a skill beyond the range", "node A\nschool listener fire 21474837\n", 2,
         "bad number \"21474837\" for the amount"},
        {"a school by number", "node A\nschool listener 1 1\n", 2,
         "not a school (fire, earth, air or water): \"1\""},
        {"a creature that is no one", "node A\nhold someone 1\n", 2,
         "not speaker, listener, leader or an actor number: \"someone\""},
        {"a comparison that is not one", "node A\nif Wolf == 1 end\n", 2,
         "not a comparison (=, !=, <, <=, >, >=): \"==\""},
        {"a condition without a command", "node A\nif Wolf = 1\n", 2,
         "missing a command after the condition"},
        {"a variable name of 65", "node A\nset " + name65 + " 1\n", 2, "variable name too long"},
        {"a world file in a folder", "node A\ngotoworld ../x.qvr 1 1\n", 2,
         "not a world file's plain name: \"../x.qvr\""},
        {"drop without a name", "node A\ndrop speaker\n", 2,
         "drop without the name of what is dropped"},
        {"a control character", "node A\nsay a\x01z\n", 2, "a control character in the line"},
        {"a NUL", std::string("node A\nsay a\0z\n", 15), 2, "a control character in the line"},
        {"a line one byte too long", "node A\n" + longLine + "a\n", 2,
         "line longer than a script line may be"},
        {"a jump to itself", "node A\nsay hi\ngoto A\n", 3,
         "endless jump: node A comes back to itself without a stop"},
        {"a ring of three", "node A\ngoto B\nnode B\ngoto C\nnode C\nsay x\ngoto A\n", 7,
         "endless jump: node A comes back to itself without a stop"},
        {"a ring entered from outside it", "node S\ngoto A\nnode A\ngoto B\nnode B\ngoto A\n", 6,
         "endless jump: node A comes back to itself without a stop"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        try {
            ReadTalkScript(Text(r.text), "inn.smb");
            ADD_FAILURE() << "read";
        } catch (const TalkScriptError& e) {
            EXPECT_EQ(e.fileName, "inn.smb");
            EXPECT_EQ(e.line, r.line);
            EXPECT_EQ(e.fault, r.fault);
            EXPECT_EQ(std::string(e.what()),
                      "inn.smb, line " + std::to_string(r.line) + ": " + r.fault);
        }
    }
}

TEST(TalkScriptFile, WhatIsReadAtTheBounds) {
    const std::string name64(64, 'N');
    std::string nodes;  // as many nodes as a file may hold
    for (int i = 0; nodes.size() + 16 < TalkScriptFile::kMaxBytes; ++i)
        nodes += "node N" + std::to_string(i) + "\n";
    struct Row {
        const char* rule;
        std::string text;
    };
    const Row rows[] = {
        {"a line of the longest length",
         "node A\nsay " + std::string(TalkScriptFile::kMaxLineBytes - 4, 'a') + "\n"},
        {"the longest line ended by CR LF",
         "node A\r\nsay " + std::string(TalkScriptFile::kMaxLineBytes - 4, 'a') + "\r\n"},
        {"a node name of 64", "node B\ngoto " + name64 + "\nnode " + name64 + "\nsay a\n"},
        {"a last line without its end", "node A\nsay hi"},
        {"a text editor's mark of UTF-8", "\xEF\xBB\xBFnode A\nsay hi\n"},
        {"letters beyond ASCII in a line", "node A\nsay D\xC3\xA9j\xC3\xA0 vu\n"},
        {"comments and blank lines anywhere", "# top\n\nnode A\n  # inside\n\t\n  say hi\n"},
        {"an empty file", ""},
        {"a jump that may be left by a condition first",
         "node A\nif n > 3 goto B\ngoto A\nnode B\n"},
        {"an end that may come first", "node A\nif n > 3 end\ngoto A\n"},
        {"a conditional jump back", "node A\nadd n 1\nif n < 3 goto A\n"},
        {"a jump after an end that always ends", "node A\nend\ngoto A\n"},
        {"a world left before the jump", "node A\ngotoworld x.qvr 1 1\ngoto A\n"},
        {"two nodes jumping to a third", "node A\ngoto C\nnode B\ngoto C\nnode C\nsay x\n"},
        {"the most nodes a file may hold", nodes},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NO_THROW(ReadTalkScript(Text(r.text), "inn.smb"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

TEST(TalkScriptFile, NodesAreFoundByTheirExactName) {
    const TalkScriptFile s = ReadTalkScript(Text("node Hello\nsay a\nnode HELLO\nsay b\n"), "x");
    ASSERT_NE(s.Find("HELLO"), nullptr);
    EXPECT_EQ(s.Find("HELLO")->statements[0].text, "b");
    EXPECT_EQ(s.Find("Hello")->line, 1);
    EXPECT_EQ(s.Find("hello"), nullptr);
}

TEST(TalkScriptFile, AFileOverTheLimitIsRefusedWhole) {
    Bytes big;
    while (big.size() < TalkScriptFile::kMaxBytes) big.insert(big.end(), {'#', '\n'});
    big.push_back('#');
    try {
        ReadTalkScript(big, "big.smb");
        ADD_FAILURE() << "read";
    } catch (const TalkScriptError& e) {
        EXPECT_EQ(std::string(e.what()), "big.smb: larger than a script may be");
    }
    big.pop_back();
    EXPECT_NO_THROW(ReadTalkScript(big, "big.smb"));
}

TEST(TalkScriptFile, AScriptIsReadAgainOnlyWhenItsFileChanges) {
    const std::string folder = testing::TempDir() + "talk-kept/", other = folder + "x/";
    qv::MakeFolder(other);
    TalkScriptCache scripts;
    struct Row {
        const char *rule, *text;  // text written first; null: the file stays as it is
        const std::string& folder;
        bool again;        // read afresh, not the script kept
        const char* says;  // its first line, or the refusal
    };
    const char* refused = "inn.smb, line 2: unknown command \"fly\"";
    const Row rows[] = {
        {"read when first opened", "node A\nsay one\n", folder, true, "one"},
        {"kept while the file stays", nullptr, folder, false, "one"},
        {"read again when replaced", "node A\nsay two\n", folder, true, "two"},
        {"another folder's file of the name", "node A\nsay three\n", other, true, "three"},
        {"a refusal", "node A\nfly\n", folder, true, refused},
        {"stays refused with its message", nullptr, folder, true, refused},
        {"read again once mended", "node A\nsay four\n", folder, true, "four"},
    };
    std::shared_ptr<const TalkScriptFile> last;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        if (r.text) qv::WriteWholeFile(r.folder + "inn.smb", Text(r.text));
        try {
            const auto script = scripts.Load(r.folder, "inn.smb");
            EXPECT_EQ(script != last, r.again);
            EXPECT_EQ(script->m_Nodes.at(0).statements.at(0).text, r.says);
            last = script;
        } catch (const TalkScriptError& e) {
            EXPECT_STREQ(e.what(), r.says);
        }
    }
    qv::RemoveFolder(folder);
}

TEST(TalkScriptFile, WhatIsWrittenIsReadBackTheSame) {
    const std::string text =
        "node A\n"
        "    if Wolf = 0 say A wolf!\n"
        "    choice B Help.\n"
        "    choice end Bye.\n"
        "\n"
        "node B\n"
        "    set Wolf 1\n"
        "    school listener fire 0.5\n"
        "    goto A\n";
    const TalkScriptFile once = ReadTalkScript(Text(text), "x");
    EXPECT_EQ(Stored(once), text);
    const TalkScriptFile twice = ReadTalkScript(StoreTalkScript(once), "x");
    EXPECT_EQ(Stored(twice), text);
    EXPECT_EQ(twice.Find("B")->line, 6);
}

}  // namespace
