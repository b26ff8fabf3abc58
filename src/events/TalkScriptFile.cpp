#include "events/TalkScriptFile.h"

#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/Files.h"

namespace {

// A skill's amount is written with up to two places: it is kept in hundredths.
constexpr int kHundredthPlaces = 2;
constexpr int kHundredths = 100;

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A node's name: letters, digits and '_', not the word that ends.
bool IsNodeName(std::string_view s) {
    if (s.empty() || s.size() > TalkScriptFile::kMaxNameBytes || s == TalkScriptFile::kEnd)
        return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

struct SchoolName {
    const char* name;
    int32_t number;
};
constexpr SchoolName kSchools[] = {{"fire", 1}, {"earth", 2}, {"air", 3}, {"water", 4}};

struct CompareName {
    const char* name;
    TalkCompare compare;
};
constexpr CompareName kCompares[] = {
    {"=", TalkCompare::Equal},   {"!=", TalkCompare::NotEqual},
    {"<", TalkCompare::Less},    {"<=", TalkCompare::LessOrEqual},
    {">", TalkCompare::Greater}, {">=", TalkCompare::GreaterOrEqual},
};

// What follows a command's word, in order: where each word goes in the
// statement and what it is called in a refusal.
enum class Arg : uint8_t {
    Text,          // the rest of the line into `text`
    NamedText,     // the same, refused (with the word's label as the fault) when empty
    Node,          // a node's name into `target`
    ChoiceTarget,  // a node's name or "end" into `target`
    Variable,      // a script variable's name into `text`
    WorldFile,     // a world file's plain name into `text`
    Who,           // whom the command is about into `who`
    A,             // a whole number into `a`
    B,             // a whole number into `b`
    School,        // a school's name into `a`
    Hundredths,    // a number with up to two places into `b`, in hundredths
};
struct ArgSpec {
    Arg kind;
    const char* label;
};
struct CommandSpec {
    const char* name;
    TalkOp op;
    std::vector<ArgSpec> args;
};
const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands = {
        {"say", TalkOp::Say, {{Arg::Text, ""}}},
        {"choice",
         TalkOp::Choice,
         {{Arg::ChoiceTarget, "the node the choice leads to"},
          {Arg::NamedText, "a choice without its text"}}},
        {"goto", TalkOp::Goto, {{Arg::Node, "the node to go to"}}},
        {"end", TalkOp::End, {}},
        {"set", TalkOp::Set, {{Arg::Variable, ""}, {Arg::A, "the value"}}},
        {"add", TalkOp::Add, {{Arg::Variable, ""}, {Arg::A, "the value"}}},
        {"timer", TalkOp::Timer, {{Arg::Variable, ""}, {Arg::A, "the hours"}}},
        {"hold", TalkOp::Hold, {{Arg::Who, ""}, {Arg::A, "the value"}}},
        {"talkstate", TalkOp::TalkState, {{Arg::Who, ""}, {Arg::A, "the value"}}},
        {"wait", TalkOp::Wait, {{Arg::Who, ""}, {Arg::A, "the value"}}},
        {"travel", TalkOp::Travel, {{Arg::A, "the cell's x"}, {Arg::B, "the cell's y"}}},
        {"makegroup", TalkOp::MakeGroup, {}},
        {"regroup", TalkOp::ReGroup, {}},
        {"join", TalkOp::Join, {{Arg::Who, ""}}},
        {"gotoworld",
         TalkOp::GoToWorld,
         {{Arg::WorldFile, ""}, {Arg::A, "the cell's x"}, {Arg::B, "the cell's y"}}},
        {"pendingworld",
         TalkOp::PendingWorld,
         {{Arg::WorldFile, ""}, {Arg::A, "the cell's x"}, {Arg::B, "the cell's y"}}},
        {"movetoland", TalkOp::MoveToLand, {}},
        {"remove", TalkOp::Remove, {{Arg::Who, ""}}},
        {"drop",
         TalkOp::Drop,
         {{Arg::Who, ""}, {Arg::NamedText, "drop without the name of what is dropped"}}},
        {"select", TalkOp::Select, {{Arg::A, "the mode"}}},
        {"school",
         TalkOp::School,
         {{Arg::Who, ""}, {Arg::School, ""}, {Arg::Hundredths, "the amount"}}},
        {"trade", TalkOp::Trade, {{Arg::A, "the store"}}},
    };
    return commands;
}

const CommandSpec& CommandOf(TalkOp op) {
    for (const CommandSpec& c : Commands())
        if (c.op == op) return c;
    return Commands().front();
}

// Reads one line's statement, word by word; every fault is refused with the
// file's name and the line.
class LineReader {
public:
    LineReader(const std::string& file, int line, std::string_view text)
        : m_file(file), m_line(line), m_rest(Trim(text)) {}

    [[noreturn]] void Fail(const std::string& fault) const {
        throw TalkScriptError(m_file, m_line, fault);
    }

    bool AtEnd() const { return m_rest.empty(); }

    // The next word; refused when there is none.
    std::string_view Word(const char* what) {
        if (m_rest.empty()) Fail(std::string("missing ") + what);
        size_t end = 0;
        while (end < m_rest.size() && !IsBlank(m_rest[end])) ++end;
        std::string_view word = m_rest.substr(0, end);
        m_rest = Trim(m_rest.substr(end));
        return word;
    }

    // The rest of the line, trimmed, as text.
    std::string Rest() {
        std::string text(m_rest);
        m_rest = {};
        return text;
    }

    void Done(const char* command) const {
        if (!m_rest.empty())
            Fail(std::string("more than ") + command + " takes: " + Quoted(m_rest));
    }

    // A decimal number in the 32-bit range: an optional sign, digits, and
    // with `places` above 0 up to that many digits after a point, the number
    // counted in units of 10^-places.
    int32_t Number(const char* what, int places = 0) {
        const std::string_view word = Word(what);
        int64_t value = 0;
        if (!ParseDecimal(word, places, value)) Fail("bad number " + Quoted(word) + " for " + what);
        return static_cast<int32_t>(value);
    }

    std::string NodeName(const char* what) {
        const std::string_view word = Word(what);
        if (!IsNodeName(word)) Fail("bad node name " + Quoted(word));
        return std::string(word);
    }

    std::string VariableName() {
        const std::string_view word = Word("the variable's name");
        if (word.size() > TalkScriptFile::kMaxNameBytes) Fail("variable name too long");
        return std::string(word);
    }

    TalkWho Who() {
        const std::string_view word = Word("whom it is about");
        TalkWho who;
        if (word == "speaker") {
            who.kind = TalkWho::Speaker;
        } else if (word == "listener") {
            who.kind = TalkWho::Listener;
        } else if (word == "leader") {
            who.kind = TalkWho::Leader;
        } else {
            int64_t actor = 0;
            if (!ParseDecimal(word, 0, actor))
                Fail("not speaker, listener, leader or an actor number: " + Quoted(word));
            who.kind = TalkWho::Actor;
            who.actor = static_cast<int32_t>(actor);
        }
        return who;
    }

    int32_t School() {
        const std::string_view word = Word("the school");
        for (const SchoolName& s : kSchools)
            if (word == s.name) return s.number;
        Fail("not a school (fire, earth, air or water): " + Quoted(word));
    }

    TalkCompare Compare() {
        const std::string_view word = Word("the comparison");
        for (const CompareName& c : kCompares)
            if (word == c.name) return c.compare;
        Fail("not a comparison (=, !=, <, <=, >, >=): " + Quoted(word));
    }

    std::string WorldFile() {
        const std::string_view word = Word("the world file");
        if (!qv::IsPlainFileName(std::string(word)))
            Fail("not a world file's plain name: " + Quoted(word));
        return std::string(word);
    }

private:
    // Digits after an optional sign, with up to `places` digits after a
    // point (none when 0), scaled by 10^places; false beyond the 32-bit range
    // or for anything else.
    static bool ParseDecimal(std::string_view s, int places, int64_t& out) {
        size_t i = 0;
        bool negative = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
        int64_t value = 0;
        int whole = 0, fraction = 0;
        bool point = false;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            if (c == '.' && places > 0 && !point) {
                point = true;
                continue;
            }
            if (c < '0' || c > '9') return false;
            if (point) {
                if (++fraction > places) return false;
            } else {
                ++whole;
            }
            value = value * 10 + (c - '0');
            if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
        }
        if (whole == 0 || (point && fraction == 0)) return false;
        for (int k = fraction; k < places; ++k) {
            value *= 10;
            if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
        }
        if (negative) value = -value;
        if (value > std::numeric_limits<int32_t>::max() ||
            value < std::numeric_limits<int32_t>::min())
            return false;
        out = value;
        return true;
    }

    const std::string& m_file;
    int m_line;
    std::string_view m_rest;
};

const CommandSpec& FindCommand(LineReader& in, std::string_view word) {
    for (const CommandSpec& c : Commands())
        if (word == c.name) return c;
    in.Fail("unknown command " + Quoted(word));
}

TalkStatement ReadStatement(LineReader& in, int line) {
    TalkStatement s;
    s.line = line;
    std::string_view word = in.Word("a command");
    while (word == "if") {
        TalkCondition c;
        c.variable = in.VariableName();
        c.compare = in.Compare();
        c.number = in.Number("the comparison");
        s.conditions.push_back(std::move(c));
        word = in.Word("a command after the condition");
    }
    if (word == "node") in.Fail("a node cannot start under a condition");
    const CommandSpec& command = FindCommand(in, word);
    s.op = command.op;
    for (const ArgSpec& arg : command.args) switch (arg.kind) {
            case Arg::Text:
                s.text = in.Rest();
                break;
            case Arg::NamedText:
                s.text = in.Rest();
                if (s.text.empty()) in.Fail(arg.label);
                break;
            case Arg::Node:
                s.target = in.NodeName(arg.label);
                break;
            case Arg::ChoiceTarget:
                s.target = std::string(in.Word(arg.label));
                if (s.target != TalkScriptFile::kEnd && !IsNodeName(s.target))
                    in.Fail("bad node name " + Quoted(s.target));
                break;
            case Arg::Variable:
                s.text = in.VariableName();
                break;
            case Arg::WorldFile:
                s.text = in.WorldFile();
                break;
            case Arg::Who:
                s.who = in.Who();
                break;
            case Arg::A:
                s.a = in.Number(arg.label);
                break;
            case Arg::B:
                s.b = in.Number(arg.label);
                break;
            case Arg::School:
                s.a = in.School();
                break;
            case Arg::Hundredths:
                s.b = in.Number(arg.label, kHundredthPlaces);
                break;
        }
    // The clock's amount is the hours and one more.
    if (s.op == TalkOp::Timer && (s.a < 0 || s.a == std::numeric_limits<int32_t>::max()))
        in.Fail("hours out of range: " + std::to_string(s.a));
    in.Done(command.name);
    return s;
}

// A node whose first way out is a jump that always runs goes on at that node;
// a cycle of such nodes never stops. Each node has at most one such jump, so
// following them from every node finds every cycle.
void RefuseEndlessJumps(const TalkScriptFile& script) {
    const size_t n = script.m_Nodes.size();
    std::vector<const TalkStatement*> jump(n, nullptr);
    for (size_t i = 0; i < n; ++i)
        for (const TalkStatement& s : script.m_Nodes[i].statements) {
            if (s.op != TalkOp::Goto && s.op != TalkOp::End && s.op != TalkOp::GoToWorld) continue;
            if (s.op == TalkOp::Goto && s.conditions.empty()) jump[i] = &s;
            break;
        }
    enum : uint8_t { kUnseen, kOnPath, kDone };
    std::vector<uint8_t> state(n, kUnseen);
    for (size_t start = 0; start < n; ++start) {
        size_t i = start;
        while (state[i] == kUnseen) {
            state[i] = kOnPath;
            if (!jump[i]) break;
            const TalkNode* next = script.Find(jump[i]->target);
            const size_t j = static_cast<size_t>(next - script.m_Nodes.data());
            if (state[j] == kOnPath)
                throw TalkScriptError(script.m_strName, jump[i]->line,
                                      "endless jump: node " + script.m_Nodes[j].name +
                                          " comes back to itself without a stop");
            i = j;
        }
        for (size_t k = start; state[k] == kOnPath;) {
            state[k] = kDone;
            if (!jump[k]) break;
            k = static_cast<size_t>(script.Find(jump[k]->target) - script.m_Nodes.data());
        }
    }
}

void RefuseMissingNodes(const TalkScriptFile& script) {
    for (const TalkNode& node : script.m_Nodes)
        for (const TalkStatement& s : node.statements) {
            if (s.op != TalkOp::Goto && s.op != TalkOp::Choice) continue;
            if (s.op == TalkOp::Choice && s.target == TalkScriptFile::kEnd) continue;
            if (!script.Find(s.target))
                throw TalkScriptError(script.m_strName, s.line, "no node " + Quoted(s.target));
        }
}

// The bytes of the script file `name` of `folder`, checked to stay inside it.
std::vector<uint8_t> ScriptBytes(const std::string& folder, const std::string& name) {
    if (!qv::IsNameWithinFolder(name))
        throw TalkScriptError(name, 0, "not the name of a script in the game folder");
    try {
        return qv::ReadWholeFile(folder + name);
    } catch (const qv::FileError& e) {
        throw TalkScriptError(name, 0,
                              e.cause == qv::FileError::NotFound ? "not found" : "cannot be read");
    }
}

std::string HundredthsText(int32_t value) {
    const int64_t v = value;
    const int64_t magnitude = v < 0 ? -v : v;
    std::string text = (v < 0 ? "-" : "") + std::to_string(magnitude / kHundredths);
    const int64_t rest = magnitude % kHundredths;
    if (rest != 0) {
        text += '.';
        text += static_cast<char>('0' + rest / 10);
        if (rest % 10 != 0) text += static_cast<char>('0' + rest % 10);
    }
    return text;
}

std::string WhoText(const TalkWho& who) {
    switch (who.kind) {
        case TalkWho::Speaker:
            return "speaker";
        case TalkWho::Listener:
            return "listener";
        case TalkWho::Leader:
            return "leader";
        case TalkWho::Actor:
            break;
    }
    return std::to_string(who.actor);
}

std::string StatementText(const TalkStatement& s) {
    std::string text;
    for (const TalkCondition& c : s.conditions) {
        const char* compare = "=";
        for (const CompareName& n : kCompares)
            if (n.compare == c.compare) compare = n.name;
        text += "if " + c.variable + " " + compare + " " + std::to_string(c.number) + " ";
    }
    const CommandSpec& command = CommandOf(s.op);
    text += command.name;
    const auto word = [&text](const std::string& w) {
        if (!w.empty()) text += " " + w;
    };
    for (const ArgSpec& arg : command.args) switch (arg.kind) {
            case Arg::Text:
            case Arg::NamedText:
            case Arg::Variable:
            case Arg::WorldFile:
                word(s.text);
                break;
            case Arg::Node:
            case Arg::ChoiceTarget:
                word(s.target);
                break;
            case Arg::Who:
                word(WhoText(s.who));
                break;
            case Arg::A:
                word(std::to_string(s.a));
                break;
            case Arg::B:
                word(std::to_string(s.b));
                break;
            case Arg::School:
                for (const SchoolName& n : kSchools)
                    if (n.number == s.a) word(n.name);
                break;
            case Arg::Hundredths:
                word(HundredthsText(s.b));
                break;
        }
    return text;
}

}  // namespace

TalkScriptError::TalkScriptError(std::string file, int lineNumber, const std::string& what)
    : std::runtime_error(file + (lineNumber > 0 ? ", line " + std::to_string(lineNumber) : "") +
                         ": " + what),
      fileName(std::move(file)),
      line(lineNumber),
      fault(what) {}

bool TalkCondition::Holds(int32_t value) const {
    switch (compare) {
        case TalkCompare::Equal:
            return value == number;
        case TalkCompare::NotEqual:
            return value != number;
        case TalkCompare::Less:
            return value < number;
        case TalkCompare::LessOrEqual:
            return value <= number;
        case TalkCompare::Greater:
            return value > number;
        case TalkCompare::GreaterOrEqual:
            return value >= number;
    }
    return false;
}

const TalkNode* TalkScriptFile::Find(const std::string& node) const {
    auto it = m_Index.find(node);
    return it == m_Index.end() ? nullptr : &m_Nodes[it->second];
}

void TalkScriptFile::Index() {
    m_Index.clear();
    for (size_t i = 0; i < m_Nodes.size(); ++i) m_Index.emplace(m_Nodes[i].name, i);
}

TalkScriptFile ReadTalkScript(const std::vector<uint8_t>& bytes, const std::string& name) {
    if (bytes.size() > TalkScriptFile::kMaxBytes)
        throw TalkScriptError(name, 0, "larger than a script may be");
    TalkScriptFile script;
    script.m_strName = name;
    std::unordered_map<std::string, int> nodeLines;  // where each node stands
    std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (all.substr(0, 3) == "\xEF\xBB\xBF") all.remove_prefix(3);  // a text editor's mark of UTF-8
    size_t start = 0;
    for (int line = 1; start < all.size(); ++line) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        std::string_view text = all.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (text.size() > TalkScriptFile::kMaxLineBytes)
            throw TalkScriptError(name, line, "line longer than a script line may be");
        for (char c : text)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
                throw TalkScriptError(name, line, "a control character in the line");
        text = Trim(text);
        if (text.empty() || text.front() == '#') continue;

        LineReader in(name, line, text);
        if (text.substr(0, text.find_first_of(" \t")) == "node") {
            in.Word("node");
            TalkNode node;
            node.name = in.NodeName("the node's name");
            node.line = line;
            in.Done("node");
            const auto [other, fresh] = nodeLines.emplace(node.name, line);
            if (!fresh)
                in.Fail("node " + node.name + " already stands at line " +
                        std::to_string(other->second));
            script.m_Nodes.push_back(std::move(node));
            continue;
        }
        if (script.m_Nodes.empty()) in.Fail("a statement before the first node");
        script.m_Nodes.back().statements.push_back(ReadStatement(in, line));
    }
    script.Index();
    RefuseMissingNodes(script);
    RefuseEndlessJumps(script);
    return script;
}

TalkScriptFile LoadTalkScript(const std::string& folder, const std::string& name) {
    return ReadTalkScript(ScriptBytes(folder, name), name);
}

std::shared_ptr<const TalkScriptFile> TalkScriptCache::Load(const std::string& folder,
                                                            const std::string& name) {
    const std::string path = folder + name;
    qv::FileIdentity now;
    // Known before the bytes are read: a file changed while it is read shows
    // a newer identity at the next opening.
    if (!qv::IsNameWithinFolder(name) || !qv::IdentifyFile(path, &now)) {
        m_Scripts.erase(path);
        return std::make_shared<const TalkScriptFile>(LoadTalkScript(folder, name));
    }
    auto kept = m_Scripts.find(path);
    if (kept == m_Scripts.end() || !(kept->second.file == now)) {
        const std::vector<uint8_t> bytes = ScriptBytes(folder, name);
        Kept read{now, nullptr, std::nullopt};
        try {
            read.script = std::make_shared<const TalkScriptFile>(ReadTalkScript(bytes, name));
        } catch (const TalkScriptError& e) {
            read.refusal = e;
        }
        kept = m_Scripts.insert_or_assign(path, std::move(read)).first;
    }
    if (kept->second.refusal) throw *kept->second.refusal;
    return kept->second.script;
}

std::vector<uint8_t> StoreTalkScript(const TalkScriptFile& script) {
    std::string text;
    for (const TalkNode& node : script.m_Nodes) {
        if (!text.empty()) text += '\n';
        text += "node " + node.name + '\n';
        for (const TalkStatement& s : node.statements) text += "    " + StatementText(s) + '\n';
    }
    return {text.begin(), text.end()};
}
