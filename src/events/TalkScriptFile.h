#pragma once
// The conversation scripts: plain text files in the game folder, one a
// speaker's `m_strMessageFile`, made of nodes of statements (the lines the
// speaker says, the player's choices, jumps, conditions on script variables
// and the commands that change the world). docs/talk-scripts.md is the
// language's reference. Reading checks everything a conversation could trip
// over later: every command and its numbers, every node a jump or a choice
// names, and jumps that could never stop; a fault refuses the whole file,
// naming it and the line.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Files.h"

// A script that cannot be read or run: the file's name, the line (0 when the
// fault belongs to no line, such as a missing file or start node) and what
// is wrong. what() gives all three: "talk.smb, line 12: unknown command ...".
class TalkScriptError : public std::runtime_error {
public:
    TalkScriptError(std::string fileName, int line, const std::string& fault);
    std::string fileName;
    int line;
    std::string fault;
};

// What a statement does.
enum class TalkOp : uint8_t {
    Say,           // text: a line the speaker says
    Choice,        // target, text: a choice the player may take
    Goto,          // target: the conversation goes on at that node
    End,           // the conversation ends
    Set,           // name = a
    Add,           // name += a
    Timer,         // name counted down by the clock: a hours
    Hold,          // who's script hold = a
    TalkState,     // who's talk state = a
    Wait,          // who's wait count = a
    Travel,        // the party to cell (a, b)
    MakeGroup,     // the leader goes on alone
    ReGroup,       // the ones left behind rejoin
    Join,          // who joins the party
    GoToWorld,     // name: world file, cell (a, b); the conversation ends
    PendingWorld,  // name: world file, cell (a, b), taken at the next tick
    MoveToLand,    // the map and the party put back in order
    Remove,        // who's placement leaves the map
    Drop,          // who drops the first thing called `name` from its bag
    Select,        // the target selection mode = a
    School,        // who's skill in school a grows by b hundredths
    Trade,         // the trading window of store a
};

// How a condition compares a script variable with its number.
enum class TalkCompare : uint8_t { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

struct TalkCondition {
    std::string variable;
    TalkCompare compare = TalkCompare::Equal;
    int32_t number = 0;
    bool Holds(int32_t value) const;
};

// The creature a command acts on.
struct TalkWho {
    enum Kind : uint8_t { Speaker, Listener, Leader, Actor };
    Kind kind = Speaker;
    int32_t actor = 0;  // the actor number, for Actor
};

struct TalkStatement {
    int line = 0;                           // where it stands in its file
    std::vector<TalkCondition> conditions;  // all must hold for it to run
    TalkOp op = TalkOp::Say;
    std::string text;    // a line, a choice, a variable, a world file or a thing's name
    std::string target;  // the node of a jump or a choice; "end" ends the conversation
    TalkWho who;
    int32_t a = 0, b = 0;
};

struct TalkNode {
    std::string name;
    int line = 0;
    std::vector<TalkStatement> statements;
};

class TalkScriptFile {
public:
    // Limits of what a file may hold.
    static constexpr size_t kMaxBytes = 1 << 20;
    static constexpr size_t kMaxLineBytes = 1000;
    static constexpr size_t kMaxNameBytes = 64;
    // The choice target and jump that close the conversation.
    static constexpr const char* kEnd = "end";

    std::string m_strName;  // the file's name, for the reports
    std::vector<TalkNode> m_Nodes;

    // The node of that name (exact case), or null.
    const TalkNode* Find(const std::string& node) const;
    // Rebuilds the index by name after m_Nodes changed.
    void Index();

private:
    std::unordered_map<std::string, size_t> m_Index;
};

// Reads a script from its bytes; TalkScriptError naming `name` when refused.
TalkScriptFile ReadTalkScript(const std::vector<uint8_t>& bytes, const std::string& name);
// Reads the script file `name` of `folder` (a folder path ending in its
// separator). The name comes from a stored creature and must stay inside the
// folder. TalkScriptError (line 0) when the file cannot be read.
TalkScriptFile LoadTalkScript(const std::string& folder, const std::string& name);
// The scripts of game folders as read, each kept with what its file was then
// (qv::FileIdentity): a conversation reads its file again only when the file
// has changed or been replaced since. A refused file stays refused, with its
// message, until it changes; a file that cannot be read is tried each time.
class TalkScriptCache {
public:
    // The script `name` of `folder`, as LoadTalkScript reads it.
    std::shared_ptr<const TalkScriptFile> Load(const std::string& folder, const std::string& name);
    void Clear() { m_Scripts.clear(); }

private:
    struct Kept {
        qv::FileIdentity file;
        std::shared_ptr<const TalkScriptFile> script;  // null when refused
        std::optional<TalkScriptError> refusal;
    };
    std::unordered_map<std::string, Kept> m_Scripts;  // by folder and name
};

// The text that ReadTalkScript reads back as the same script, one statement a
// line in the reference's own spelling.
std::vector<uint8_t> StoreTalkScript(const TalkScriptFile& script);
