// Conversations run by the script interpreter: what each command does to the
// world and asks of the game, conversations driven through their choices to
// each of their endings, and faults that close a conversation cleanly.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "events/TalkFixture.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "platform/Files.h"
#include "support/TestPaths.h"
#include "world/TimeOfDay.h"

namespace {

using talk_test::TalkTest;
using Log = std::vector<std::string>;

TEST_F(TalkTest, EachCommandAndItsEffect) {
    struct Row {
        const char* rule;
        const char* statement;
        std::function<void(TalkTest&)> before;
        Log asked;  // what the game was asked, in order
        std::function<void(TalkTest&)> check;
    };
    const auto none = [](TalkTest&) {};
    const Row rows[] = {
        {"set makes a variable that was not there",
         "set Wolf 7",
         none,
         {},
         [](TalkTest& t) {
             ASSERT_NE(t.Variable("Wolf"), nullptr);
             EXPECT_EQ(t.Variable("Wolf")->m_iValue, 7);
         }},
        {"set replaces a value",
         "set Wolf -2",
         [](TalkTest& t) { t.SetVariable("Wolf", 5); },
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.Variable("Wolf")->m_iValue, -2);
             EXPECT_EQ(t.world().m_ScriptVariableList.size(), 1u);
         }},
        {"add adds",
         "add Gold -3",
         [](TalkTest& t) { t.SetVariable("Gold", 10); },
         {},
         [](TalkTest& t) { EXPECT_EQ(t.Variable("Gold")->m_iValue, 7); }},
        {"add holds at the top of the range",
         "add Gold 2",
         [](TalkTest& t) { t.SetVariable("Gold", 2147483646); },
         {},
         [](TalkTest& t) { EXPECT_EQ(t.Variable("Gold")->m_iValue, 2147483647); }},
        {"add holds at the bottom of the range",
         "add Gold -2",
         [](TalkTest& t) { t.SetVariable("Gold", -2147483647); },
         {},
         [](TalkTest& t) { EXPECT_EQ(t.Variable("Gold")->m_iValue, -2147483647 - 1); }},
        {"timer of 24 hours is an amount of 25",
         "timer Wolf 24",
         none,
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.Variable("Wolf")->m_iBulkNum, 25);
             EXPECT_EQ(t.Variable("Wolf")->m_iValue, 0);
         }},
        {"timer of 0 stops a countdown",
         "timer Wolf 0",
         [](TalkTest& t) {
             t.SetVariable("Wolf", 1);
             t.Variable("Wolf")->m_iBulkNum = 9;
         },
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.Variable("Wolf")->m_iBulkNum, 1);
             EXPECT_EQ(t.Variable("Wolf")->m_iValue, 1);
         }},
        {"hold writes the speaker's script hold",
         "hold speaker -10",
         none,
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.speaker.m_iScriptHold, -10);
             EXPECT_EQ(t.listener.m_iScriptHold, 0);
         }},
        {"talkstate writes the listener's talk state",
         "talkstate listener 1",
         none,
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.listener.m_iTalkState, 1);
             EXPECT_EQ(t.speaker.m_iTalkState, -1);
         }},
        {"wait writes the wait count of an actor by number",
         "wait 1 3",
         none,
         {},
         [](TalkTest& t) { EXPECT_EQ(t.speaker.m_iWaitCount, 3); }},
        {"wait of the leader",
         "wait leader -1",
         none,
         {},
         [](TalkTest& t) { EXPECT_EQ(t.listener.m_iWaitCount, -1); }},
        {"an actor that is not there is left alone",
         "hold 7 -10",
         none,
         {},
         [](TalkTest& t) {
             EXPECT_EQ(t.speaker.m_iScriptHold, 0);
             EXPECT_EQ(t.listener.m_iScriptHold, 0);
         }},
        {"travel", "travel 12 -3", none, {"travel 12 -3"}, none},
        {"makegroup", "makegroup", none, {"makegroup"}, none},
        {"regroup", "regroup", none, {"regroup"}, none},
        {"join the speaker", "join speaker", none, {"join Miller"}, none},
        {"join nobody", "join 9", none, {}, none},
        {"gotoworld goes and ends the conversation",
         "gotoworld Caves.qvr 4 5",
         none,
         {"gotoworld Caves.qvr 4 5"},
         [](TalkTest& t) { EXPECT_TRUE(t.talk.IsOver()); }},
        {"pendingworld", "pendingworld Caves.qvr 4 5", none, {"pendingworld Caves.qvr 4 5"}, none},
        {"movetoland", "movetoland", none, {"movetoland"}, none},
        {"remove the speaker's placement", "remove speaker", none, {"remove Miller"}, none},
        {"remove a creature without a placement",
         "remove speaker",
         [](TalkTest& t) { t.speaker.m_pHolder = nullptr; },
         {},
         none},
        {"select", "select 3", none, {"select 3"}, none},
        {"trade", "trade 12", none, {"trade 12"}, none},
        {"school adds hundredths to the school",
         "school listener water 1.25",
         [](TalkTest& t) { t.listener.m_pMagic = std::make_unique<Magic>(); },
         {},
         [](TalkTest& t) {
             EXPECT_FLOAT_EQ(t.listener.m_pMagic->m_fWaterSkill, 1.25f);
             EXPECT_FLOAT_EQ(t.listener.m_pMagic->m_fFireSkill, 0.0f);
         }},
        {"school without magic teaches nothing",
         "school listener fire 1",
         none,
         {},
         [](TalkTest& t) { EXPECT_EQ(t.listener.m_pMagic, nullptr); }},
        {"drop from the bag at the dropper's feet",
         "drop speaker Iron Key",
         [](TalkTest& t) {
             auto* key = new Object("Iron Key");
             t.speaker.m_pBag->AddItem(key);
             t.speaker.m_pBag->SetItemCount(t.speaker.m_pBag->ItemCount() + 1);
         },
         {"drop Iron Key at 500,300"},
         [](TalkTest& t) {
             EXPECT_EQ(t.speaker.m_pBag->ItemCount(), 0);
             EXPECT_TRUE(t.speaker.m_pBag->Items().empty());
             ASSERT_EQ(t.host.dropped.size(), 1u);
         }},
        {"a drop with no place keeps the thing in the bag",
         "drop speaker Iron Key",
         [](TalkTest& t) {
             t.speaker.m_pBag->AddItem(new Object("Iron Key"));
             t.speaker.m_pBag->SetItemCount(t.speaker.m_pBag->ItemCount() + 1);
             t.host.dropsTake = false;
         },
         {"drop Iron Key at 500,300"},
         [](TalkTest& t) {
             EXPECT_EQ(t.speaker.m_pBag->ItemCount(), 1);
             EXPECT_EQ(t.speaker.m_pBag->Items().size(), 1u);
         }},
        {"drop of a thing the bag does not hold", "drop speaker Iron Key", none, {}, none},
        {"end ends without asking anything",
         "end",
         none,
         {},
         [](TalkTest& t) { EXPECT_TRUE(t.talk.IsOver()); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        TalkTest& t = *this;
        world().m_ScriptVariableList.clear();
        listener.m_iScriptHold = speaker.m_iScriptHold = 0;
        listener.m_iTalkState = speaker.m_iTalkState = -1;
        listener.m_iWaitCount = speaker.m_iWaitCount = 0;
        listener.m_pMagic.reset();
        listener.m_pHolder = &listenerHolder;
        speaker.m_pHolder = &speakerHolder;
        for (Object* o : speaker.m_pBag->DetachAll()) delete o;
        speaker.m_pBag->SetItemCount(0);
        host = talk_test::RecordingHost();
        r.before(t);
        const auto script =
            Script(std::string("node START\n    ") + r.statement + "\n    say after\n");
        EXPECT_TRUE(talk.Open(&listener, &speaker, script, "START"));
        EXPECT_EQ(host.log, r.asked);
        EXPECT_TRUE(host.faults.empty());
        r.check(t);
        // Every command but those that end lets the node go on.
        const bool ends = std::string(r.statement) == "end" ||
                          std::string(r.statement).rfind("gotoworld", 0) == 0;
        EXPECT_EQ(talk.Lines(), ends ? Log{} : Log{"after"});
    }
}

TEST_F(TalkTest, ConditionsCompareAVariableThatMayNotExist) {
    struct Row {
        const char* rule;
        const char* condition;
        bool variable;
        int32_t value;
        bool holds;
    };
    const Row rows[] = {
        {"= at the value", "Wolf = 2", true, 2, true},
        {"= beside it", "Wolf = 2", true, 3, false},
        {"!= beside it", "Wolf != 2", true, 1, true},
        {"!= at it", "Wolf != 2", true, 2, false},
        {"< below", "Wolf < 2", true, 1, true},
        {"< at", "Wolf < 2", true, 2, false},
        {"<= at", "Wolf <= 2", true, 2, true},
        {"<= above", "Wolf <= 2", true, 3, false},
        {"> above", "Wolf > 2", true, 3, true},
        {"> at", "Wolf > 2", true, 2, false},
        {">= at", "Wolf >= 2", true, 2, true},
        {">= below", "Wolf >= 2", true, 1, false},
        {"a missing variable counts as 0", "Wolf = 0", false, 0, true},
        {"a missing variable is not 1", "Wolf >= 1", false, 0, false},
        {"names are compared exactly", "wolf = 2", true, 2, false},
        {"both of two conditions", "Wolf = 2 if Gold = 0", true, 2, true},
        {"one of two fails", "Wolf = 2 if Gold = 1", true, 2, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        world().m_ScriptVariableList.clear();
        if (r.variable) SetVariable("Wolf", r.value);
        host = talk_test::RecordingHost();
        talk.Open(&listener, &speaker,
                  Script(std::string("node A\n if ") + r.condition + " say yes\n say done\n"), "A");
        EXPECT_EQ(talk.Lines(), r.holds ? Log({"yes", "done"}) : Log({"done"}));
        EXPECT_EQ(world().m_ScriptVariableList.size(), r.variable ? 1u : 0u);
    }
}

// The reference's example, as docs/talk-scripts.md gives it.
std::string ReferenceExample() {
    const auto bytes = qv::ReadWholeFile(test_support::SourceFolder() + "/docs/talk-scripts.md");
    const std::string doc(bytes.begin(), bytes.end());
    const size_t start = doc.find("```text\n");
    const size_t end = doc.find("```", start + 8);
    EXPECT_NE(start, std::string::npos);
    EXPECT_NE(end, std::string::npos);
    return doc.substr(start + 8, end - start - 8);
}

TEST_F(TalkTest, TheMillerThroughEachOfHisEndings) {
    const auto script = Script(ReferenceExample(), "lauriston.smb");
    speaker.m_pBag->AddItem(new Object("Purse"));
    speaker.m_pBag->SetItemCount(speaker.m_pBag->ItemCount() + 1);

    // First meeting: the task is offered; farewell ends it.
    ASSERT_TRUE(talk.Open(&listener, &speaker, script, "MILLER"));
    EXPECT_EQ(talk.Lines(), Log({"Good day, traveller.", "A wolf takes my sheep by night."}));
    EXPECT_EQ(talk.Choices(), Log({"Can I help?", "Farewell."}));
    EXPECT_FALSE(talk.Choose(2));  // no third choice: nothing changes
    EXPECT_FALSE(talk.IsOver());
    EXPECT_TRUE(talk.Choose(1));
    EXPECT_TRUE(talk.IsOver());
    EXPECT_TRUE(talk.Lines().empty());
    EXPECT_EQ(Variable("Wolf"), nullptr);
    EXPECT_FALSE(talk.Choose(0));  // over: nothing more to choose

    // Taking the task sets the variable for a day.
    talk.Open(&listener, &speaker, script, "MILLER");
    EXPECT_TRUE(talk.Choose(0));
    EXPECT_EQ(talk.Lines(), Log({"Drive it off within a day and I will pay you."}));
    EXPECT_EQ(talk.Choices(), Log({"I will."}));
    ASSERT_NE(Variable("Wolf"), nullptr);
    EXPECT_EQ(Variable("Wolf")->m_iValue, 1);
    EXPECT_EQ(Variable("Wolf")->m_iBulkNum, 25);
    EXPECT_TRUE(talk.Choose(0));
    EXPECT_TRUE(talk.IsOver());

    // While the task runs only farewell is offered.
    talk.Open(&listener, &speaker, script, "MILLER");
    EXPECT_EQ(talk.Lines(), Log({"Good day, traveller.", "Is the wolf gone yet?"}));
    EXPECT_EQ(talk.Choices(), Log({"Farewell."}));

    // The wolf gone: he pays and the conversation ends after his line.
    Variable("Wolf")->m_iValue = 2;
    EXPECT_TRUE(talk.Open(&listener, &speaker, script, "MILLER"));
    EXPECT_EQ(talk.Lines(), Log({"The wolf is gone! Take this, with my thanks."}));
    EXPECT_TRUE(talk.Choices().empty());
    EXPECT_TRUE(talk.IsOver());
    EXPECT_EQ(host.log, Log({"drop Purse at 500,300"}));
    EXPECT_EQ(Variable("Wolf")->m_iValue, 3);
    EXPECT_TRUE(host.faults.empty());
}

TEST_F(TalkTest, TheSoldierTeachesOnceAndJoins) {
    const auto script = Script(ReferenceExample(), "lauriston.smb");
    listener.m_pMagic = std::make_unique<Magic>();
    const Log greeting = {"I have walked these roads for thirty years."};
    const Log choices = {"Walk them with us.", "Teach me to call the fire.", "Farewell."};

    ASSERT_TRUE(talk.Open(&listener, &speaker, script, "SOLDIER"));
    EXPECT_EQ(talk.Lines(), greeting);
    EXPECT_EQ(talk.Choices(), choices);
    // The lesson, then his greeting and choices again in the same step.
    talk.Choose(1);
    EXPECT_EQ(talk.Lines(), Log({"Watch closely.", greeting[0]}));
    EXPECT_EQ(talk.Choices(), choices);
    EXPECT_FLOAT_EQ(listener.m_pMagic->m_fFireSkill, 0.5f);
    // A second lesson is refused.
    talk.Choose(1);
    EXPECT_EQ(talk.Lines(), Log({"I have taught you all I know.", greeting[0]}));
    EXPECT_FLOAT_EQ(listener.m_pMagic->m_fFireSkill, 0.5f);
    EXPECT_EQ(Variable("Taught")->m_iValue, 1);
    // Farewell.
    talk.Choose(2);
    EXPECT_TRUE(talk.IsOver());
    EXPECT_TRUE(host.log.empty());
    // Joining ends the conversation after his line.
    talk.Open(&listener, &speaker, script, "SOLDIER");
    talk.Choose(0);
    EXPECT_EQ(talk.Lines(), Log({"Why not. Lead on."}));
    EXPECT_TRUE(talk.IsOver());
    EXPECT_EQ(host.log, Log({"join Miller"}));
}

TEST_F(TalkTest, ATaskSetInAConversationLapsesWithTheWorldsClock) {
    // The ferryman waits two hours; the clock's new hours count the task down
    // and the conversation changes with it.
    const auto script = Script(
        "node FERRY\n"
        "    if Ferry = 1 say I wait for you.\n"
        "    if Ferry = 1 end\n"
        "    say Shall I wait?\n"
        "    choice WAIT Wait two hours.\n"
        "node WAIT\n"
        "    set Ferry 1\n"
        "    timer Ferry 2\n");
    talk.Open(&listener, &speaker, script, "FERRY");
    talk.Choose(0);
    struct Row {
        const char* rule;
        int32_t now;  // game time the clock is stepped to (an hour is 12 x 75000)
        int32_t amount, value;
        const char* line;
    };
    const Row rows[] = {
        {"at once", 0, 3, 1, "I wait for you."},
        {"a step short of the hour", 11 * 75000, 3, 1, "I wait for you."},
        {"one hour", 12 * 75000, 2, 1, "I wait for you."},
        {"a step short of the second", 23 * 75000, 2, 1, "I wait for you."},
        {"two hours: the task lapses", 24 * 75000, 1, 0, "Shall I wait?"},
        {"and stays lapsed", 48 * 75000, 1, 0, "Shall I wait?"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        world().m_iGameTime = r.now;
        world().m_pTimeOfDay->Advance(world().m_iGameTime);
        ASSERT_NE(Variable("Ferry"), nullptr);
        EXPECT_EQ(Variable("Ferry")->m_iBulkNum, r.amount);
        EXPECT_EQ(Variable("Ferry")->m_iValue, r.value);
        talk.Open(&listener, &speaker, script, "FERRY");
        ASSERT_FALSE(talk.Lines().empty());
        EXPECT_EQ(talk.Lines().front(), r.line);
    }
}

TEST_F(TalkTest, FaultsCloseTheConversationNamingFileAndLine) {
    // A start node the file does not hold.
    EXPECT_FALSE(talk.Open(&listener, &speaker, Script("node A\nsay hi\n", "inn.smb"), "B"));
    EXPECT_TRUE(talk.IsOver());
    EXPECT_TRUE(talk.Lines().empty());
    ASSERT_EQ(host.faults.size(), 1u);
    EXPECT_EQ(host.faults[0], "inn.smb: no node \"B\" to start at");

    // A loop whose condition never lets it out: refused at the jump, after
    // what ran before it; nothing is offered.
    host.faults.clear();
    const auto loop = Script(
        "node A\n"
        "    say hello\n"
        "    choice end Bye.\n"
        "    add Count 1\n"
        "    if Count > -5 goto A\n",
        "inn.smb");
    EXPECT_FALSE(talk.Open(&listener, &speaker, loop, "A"));
    EXPECT_TRUE(talk.IsOver());
    EXPECT_TRUE(talk.Choices().empty());
    EXPECT_TRUE(talk.Lines().empty());
    ASSERT_EQ(host.faults.size(), 1u);
    EXPECT_EQ(host.faults[0], "inn.smb, line 5: endless jump: no stop after 1000 jumps");
    EXPECT_EQ(Variable("Count")->m_iValue, CTalkScript::kMaxJumpsPerStep + 1);

    // A loop that stops after exactly the bound of jumps is no fault.
    host.faults.clear();
    Variable("Count")->m_iValue = -1;
    const auto counted = Script(
        "node A\n"
        "    add Count 1\n"
        "    if Count < 1000 goto A\n"
        "    say counted\n",
        "inn.smb");
    EXPECT_TRUE(talk.Open(&listener, &speaker, counted, "A"));
    EXPECT_EQ(talk.Lines(), Log({"counted"}));
    EXPECT_TRUE(host.faults.empty());
    // One more and it is refused.
    Variable("Count")->m_iValue = -2;
    EXPECT_FALSE(talk.Open(&listener, &speaker, counted, "A"));
    EXPECT_EQ(host.faults.size(), 1u);
}

TEST_F(TalkTest, AStepIsBoundedInStatementsLinesAndChoices) {
    // Node A runs `passes` times (add, the pass, the jump back), then the tail `tails` times.
    const char *says = " say x\n say x\n", *offers = " choice end x\n choice end x\n";
    struct Row {
        const char *rule, *pass, *tail;
        int passes, tails;
        const char* fault;  // empty: the step ends well
    };
    const Row rows[] = {
        {"a line short of the bound", says, " say x\n", 999, 1, ""},
        {"lines at the bound", says, " say x\n", 999, 2, ""},
        {"a line over", says, " say x\n", 999, 3, "line 8: too many lines in one step: over 2000"},
        {"a choice short of the bound", offers, " choice end x\n", 999, 1, ""},
        {"choices at the bound", offers, " choice end x\n", 999, 2, ""},
        {"a choice over", offers, " choice end x\n", 999, 3,
         "line 8: too many choices in one step: over 2000"},
        {"a statement short of the bound", "", " set m 1\n", 1, 9997, ""},
        {"statements at the bound", "", " set m 1\n", 1, 9998, ""},
        {"a statement over", "", " set m 1\n", 1, 9999,
         "line 10002: too long a step: over 10000 statements"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        world().m_ScriptVariableList.clear();
        host = talk_test::RecordingHost();
        std::string text = std::string("node A\n add n 1\n") + r.pass + " if n < " +
                           std::to_string(r.passes) + " goto A\n";
        for (int i = 0; i < r.tails; ++i) text += r.tail;
        EXPECT_EQ(talk.Open(&listener, &speaker, Script(text, "inn.smb"), "A"), !*r.fault);
        EXPECT_EQ(host.faults, *r.fault ? Log{std::string("inn.smb, ") + r.fault} : Log{});
    }
}

TEST_F(TalkTest, OpeningReadsTheSpeakersFileFromTheGameFolder) {
    const std::string folder = testing::TempDir() + "talk-folder/";
    qv::MakeFolder(folder);
    const std::string text = "node GREET\nsay Welcome.\n";
    qv::WriteWholeFile(folder + "Village.smb", {text.begin(), text.end()});
    const std::string bad = "node GREET\nsay Welcome.\nfly away\n";
    qv::WriteWholeFile(folder + "bad.smb", {bad.begin(), bad.end()});

    struct Row {
        const char* rule;
        const char* file;
        const char* node;
        bool opens;
        const char* fault;
    };
    const Row rows[] = {
        {"the speaker's file and node, whatever the case of the name", "village.smb", "GREET", true,
         ""},
        {"a missing file", "nowhere.smb", "GREET", false, "nowhere.smb: not found"},
        {"a name leading out of the folder", "../Village.smb", "GREET", false,
         "../Village.smb: not the name of a script in the game folder"},
        {"a bad file", "bad.smb", "GREET", false, "bad.smb, line 3: unknown command \"fly\""},
        {"a missing start node", "Village.smb", "HELLO", false,
         "Village.smb: no node \"HELLO\" to start at"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        host = talk_test::RecordingHost();
        speaker.m_strMessageFile = r.file;
        speaker.m_strMessageNode = r.node;
        EXPECT_EQ(talk.Open(&listener, &speaker, folder), r.opens);
        if (r.opens) {
            EXPECT_EQ(talk.Lines(), Log({"Welcome."}));
            EXPECT_TRUE(host.faults.empty());
        } else {
            EXPECT_TRUE(talk.IsOver());
            ASSERT_EQ(host.faults.size(), 1u);
            EXPECT_EQ(host.faults[0], r.fault);
        }
    }
    qv::RemoveFolder(folder);
}

TEST_F(TalkTest, ACreatureGoneDuringTheConversationIsLeftAlone) {
    auto* passer = new Player;
    passer->m_strSpecialName = "Passer";
    const auto script = Script(
        "node A\n"
        "    choice B Go on.\n"
        "node B\n"
        "    hold speaker -10\n"
        "    join speaker\n"
        "    say still here\n");
    ASSERT_TRUE(talk.Open(&listener, passer, script, "A"));
    delete passer;
    EXPECT_EQ(talk.Speaker(), nullptr);
    talk.Choose(0);
    EXPECT_EQ(talk.Lines(), Log({"still here"}));
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
