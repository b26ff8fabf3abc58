// The order file: text, one order a line, each with the tick it was given in.
//
//   Quorvale orders 1
//   ticks <the ticks the game ran>
//   orders <how many order lines follow>
//   <tick> <kind> actor=<thing> target=<thing> object=<thing> into=<thing>
//       point=<x>,<y>,<z> hasPoint=<0|1> value=<n> mode=<n> name=<text> text=<text>
//
// (each order on one line, its fields parted by one space, every line ending
// in a line feed). The kind is the order kind's own name (WalkTo, Buy, ...).
// A thing is "-" for none, or how its numbers name it (OrderName) with just
// the numbers that kind of name has, parted by commas:
//   creature:<number>   placed:<x>,<y>,<z>,<nth>   carried:<creature>,<list>,<nth>,<nth in bag>
//   stored:<x>,<y>,<z>,<nth>,<nth in bag>   entry:<store id>,<nth>
// A text is its length in bytes, a colon and the bytes themselves ("0:" is
// none). Numbers are decimal, with a minus sign where negative. Ticks never go
// down from one order to the next and none passes the game's ticks.

#include "play/OrderFile.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/Format.h"

namespace {

constexpr const char* kHeader = "Quorvale orders 1\n";
constexpr size_t kMaxText = 4096;  // the longest name or text an order carries

constexpr std::array<const char*, Order::kKinds> kKindNames = {
    "None",      "WalkTo",       "Interact",     "Target",       "Attack",       "UseOn",
    "LeadTo",    "View",         "Stop",         "ShiftFlags",   "EndWalk",      "Select",
    "Take",      "Drop",         "Give",         "Equip",        "Unequip",      "PutIn",
    "Open",      "Rest",         "Cast",         "PickForUse",   "Stance",       "EndEffect",
    "Talk",      "Trade",        "Place",        "Move",         "Delete",       "SetProperty",
    "Edit",      "AddItem",      "DeleteItem",   "AddKey",       "RemoveKey",    "RemoveLand",
    "Carry",     "Bring",        "Pause",        "HoldGround",   "Invulnerable", "DebugView",
    "Combat",    "SelectMode",   "CancelTarget", "QuickSave",    "Travel",       "SetTime",
    "TabTarget", "NewCharacter", "NewGame",      "Save",         "InputLock",    "OptionsShown",
    "EndPlay",   "Editing",      "LoadWorld",    "ScriptedMove", "LearnSpell",   "ForgetSpell",
    "Shut",      "Record",       "Buy",          "Sell",
};
static_assert(std::string_view(kKindNames[static_cast<size_t>(Order::Kind::Sell)]) == "Sell",
              "every kind of order has its name, in the kinds' order");

// Each kind of name of a thing, with how many numbers it has.
struct NameKind {
    OrderName::By by;
    const char* word;
    size_t numbers;
};
constexpr NameKind kNameKinds[] = {
    {OrderName::By::Creature, "creature", 1}, {OrderName::By::Placed, "placed", 4},
    {OrderName::By::Carried, "carried", 4},   {OrderName::By::Stored, "stored", 5},
    {OrderName::By::Entry, "entry", 2},
};

// ---- Writing

void Put(std::string& out, int64_t number) {
    out += std::to_string(number);
}

void PutText(std::string& out, const std::string& text) {
    Put(out, static_cast<int64_t>(text.size()));
    out += ':';
    out += text;
}

void PutThing(std::string& out, const char* field, const OrderName& name) {
    out += ' ';
    out += field;
    out += '=';
    for (const NameKind& kind : kNameKinds) {
        if (kind.by != name.by) continue;
        out += kind.word;
        for (size_t i = 0; i < kind.numbers; ++i) {
            out += i ? ',' : ':';
            Put(out, name.n[i]);
        }
        return;
    }
    out += '-';
}

// ---- Reading: a cursor over the bytes that refuses, saying where, what it
// does not expect.

struct Refusal {
    std::string what;
};

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_Bytes(bytes) {}

    int Line() const { return m_iLine; }
    bool AtEnd() const { return m_Pos == m_Bytes.size(); }

    void Expect(const char* literal) {
        const size_t n = std::strlen(literal);
        if (m_Bytes.size() - m_Pos < n || std::memcmp(m_Bytes.data() + m_Pos, literal, n) != 0)
            throw Refusal{qv::Format("\"%s\" expected", Shown(literal).c_str())};
        for (size_t i = 0; i < n; ++i)
            if (literal[i] == '\n') ++m_iLine;
        m_Pos += n;
    }

    int64_t Number(int64_t least, int64_t most) {
        constexpr size_t kMaxDigits = 11;  // a sign and the ten digits of 32 bits
        size_t end = m_Pos;
        while (end < m_Bytes.size() && end - m_Pos < kMaxDigits + 1 &&
               (m_Bytes[end] == '-' || (m_Bytes[end] >= '0' && m_Bytes[end] <= '9')))
            ++end;
        int64_t value = 0;
        const char* first = reinterpret_cast<const char*>(m_Bytes.data() + m_Pos);
        const char* last = reinterpret_cast<const char*>(m_Bytes.data() + end);
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (end == m_Pos || end - m_Pos > kMaxDigits || ec != std::errc() || ptr != last)
            throw Refusal{"a number expected"};
        if (value < least || value > most)
            throw Refusal{qv::Format("%lld is out of range (%lld to %lld)",
                                     static_cast<long long>(value), static_cast<long long>(least),
                                     static_cast<long long>(most))};
        m_Pos = end;
        return value;
    }
    int32_t Int32() {
        return static_cast<int32_t>(
            Number(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    }

    // Letters up to the next space or end of line.
    std::string Word() {
        size_t end = m_Pos;
        while (end < m_Bytes.size() && ((m_Bytes[end] >= 'a' && m_Bytes[end] <= 'z') ||
                                        (m_Bytes[end] >= 'A' && m_Bytes[end] <= 'Z')))
            ++end;
        std::string word(m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Pos),
                         m_Bytes.begin() + static_cast<std::ptrdiff_t>(end));
        m_Pos = end;
        return word;
    }

    std::string Text() {
        const auto length = static_cast<size_t>(Number(0, kMaxText));
        Expect(":");
        if (m_Bytes.size() - m_Pos < length) throw Refusal{"a text runs past the end"};
        std::string text(m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Pos),
                         m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Pos + length));
        for (char c : text)
            if (c == '\n') ++m_iLine;
        m_Pos += length;
        return text;
    }

private:
    static std::string Shown(const char* literal) {
        std::string shown(literal);
        if (!shown.empty() && shown.back() == '\n') shown.replace(shown.size() - 1, 1, "\\n");
        return shown;
    }

    const std::vector<uint8_t>& m_Bytes;
    size_t m_Pos = 0;
    int m_iLine = 1;
};

OrderName ReadThing(Reader& in, const char* field) {
    in.Expect(" ");
    in.Expect(field);
    in.Expect("=");
    OrderName name;
    const std::string word = in.Word();
    if (word.empty()) {
        in.Expect("-");
        return name;
    }
    for (const NameKind& kind : kNameKinds) {
        if (word != kind.word) continue;
        name.by = kind.by;
        for (size_t i = 0; i < kind.numbers; ++i) {
            in.Expect(i ? "," : ":");
            name.n[i] = in.Int32();
        }
        return name;
    }
    throw Refusal{qv::Format("no kind of thing is called \"%s\"", word.c_str())};
}

Order::Kind ReadKind(Reader& in) {
    const std::string word = in.Word();
    for (size_t k = 0; k < kKindNames.size(); ++k)
        if (word == kKindNames[k]) return static_cast<Order::Kind>(k);
    throw Refusal{qv::Format("no kind of order is called \"%s\"", word.c_str())};
}

TimedOrder ReadOrder(Reader& in, uint32_t after, uint32_t ticks) {
    TimedOrder timed;
    timed.tick = static_cast<uint32_t>(in.Number(after, ticks));
    Order& o = timed.order;
    in.Expect(" ");
    o.kind = ReadKind(in);
    o.actor.name = ReadThing(in, "actor");
    o.target.name = ReadThing(in, "target");
    o.object.name = ReadThing(in, "object");
    o.into.name = ReadThing(in, "into");
    in.Expect(" point=");
    o.point.x = in.Int32();
    in.Expect(",");
    o.point.y = in.Int32();
    in.Expect(",");
    o.point.z = in.Int32();
    in.Expect(" hasPoint=");
    o.hasPoint = in.Number(0, 1) == 1;
    in.Expect(" value=");
    o.value = in.Int32();
    in.Expect(" mode=");
    o.mode = in.Int32();
    in.Expect(" name=");
    o.name = in.Text();
    in.Expect(" text=");
    o.text = in.Text();
    in.Expect("\n");
    return timed;
}

}  // namespace

std::vector<uint8_t> WriteOrderFile(const OrderRecording& recording) {
    std::string out = kHeader;
    out += "ticks ";
    Put(out, recording.ticks);
    out += "\norders ";
    Put(out, static_cast<int64_t>(recording.orders.size()));
    out += '\n';
    for (const TimedOrder& timed : recording.orders) {
        const Order& o = timed.order;
        Put(out, timed.tick);
        out += ' ';
        const auto kind = static_cast<size_t>(o.kind);
        out += kind < kKindNames.size() ? kKindNames[kind] : kKindNames[0];
        PutThing(out, "actor", o.actor.name);
        PutThing(out, "target", o.target.name);
        PutThing(out, "object", o.object.name);
        PutThing(out, "into", o.into.name);
        out += qv::Format(" point=%d,%d,%d hasPoint=%d value=%d mode=%d name=", o.point.x,
                          o.point.y, o.point.z, o.hasPoint ? 1 : 0, o.value, o.mode);
        PutText(out, o.name);
        out += " text=";
        PutText(out, o.text);
        out += '\n';
    }
    return {out.begin(), out.end()};
}

bool ReadOrderFile(const std::vector<uint8_t>& bytes, const std::string& fileName,
                   OrderRecording& recording, std::string& error) {
    Reader in(bytes);
    try {
        OrderRecording read;
        in.Expect(kHeader);
        in.Expect("ticks ");
        read.ticks = static_cast<uint32_t>(in.Number(0, std::numeric_limits<uint32_t>::max()));
        in.Expect("\norders ");
        // Every order line takes more bytes than this: a count beyond what the
        // file could hold is refused before anything is read.
        constexpr int64_t kShortestLine = 80;
        const auto count = in.Number(0, static_cast<int64_t>(bytes.size()) / kShortestLine);
        in.Expect("\n");
        uint32_t tick = 0;
        for (int64_t i = 0; i < count; ++i) {
            read.orders.push_back(ReadOrder(in, tick, read.ticks));
            tick = read.orders.back().tick;
        }
        if (!in.AtEnd()) throw Refusal{"more than the orders counted"};
        recording = std::move(read);
        return true;
    } catch (const Refusal& refusal) {
        error = qv::Format("%s: line %d: %s.", fileName.c_str(), in.Line(), refusal.what.c_str());
        return false;
    }
}

bool LoadOrderFile(const std::string& fileName, OrderRecording& recording, std::string& error) {
    std::vector<uint8_t> bytes;
    try {
        bytes = qv::ReadWholeFile(fileName);
    } catch (const qv::FileError& e) {
        error = qv::Format("%s: cannot be read (%s).", fileName.c_str(), e.what());
        return false;
    }
    return ReadOrderFile(bytes, fileName, recording, error);
}
