#include "media/MidiFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/Files.h"
#include "platform/Format.h"

namespace {

constexpr uint32_t kMaxDelta = 0x0FFFFFFF;  // what four bytes of a variable-length number hold
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kSysExContinued = 0xF7;

// Reads the file's bytes; every fault names the file and where it lies.
class Cursor {
public:
    Cursor(const std::vector<uint8_t>& bytes, const std::string& name) : m_b(bytes), m_name(name) {}

    [[noreturn]] void Fail(const std::string& why) const {
        throw qv::FileError(qv::FileError::Other, m_name, why);
    }
    size_t Pos() const { return m_pos; }
    size_t Left() const { return m_end - m_pos; }
    void Limit(size_t end) { m_end = end; }
    void Seek(size_t pos) { m_pos = pos; }

    uint8_t Byte(const std::string& what) {
        if (m_pos >= m_end) Fail(what + " is cut short at byte " + std::to_string(m_pos));
        return m_b[m_pos++];
    }
    uint32_t Big(int n, const std::string& what) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | Byte(what);
        return v;
    }
    // A variable-length number: seven bits a byte, at most four bytes.
    uint32_t Variable(const std::string& what) {
        const size_t at = m_pos;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t b = Byte(what);
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        Fail(what + " at byte " + std::to_string(at) + " runs over four bytes");
    }
    std::vector<uint8_t> Bytes(uint32_t n, const std::string& what) {
        if (n > Left())
            Fail(qv::Format("%s at byte %zu counts %u bytes, and %zu are left", what.c_str(), m_pos,
                            n, Left()));
        std::vector<uint8_t> v(m_b.begin() + static_cast<std::ptrdiff_t>(m_pos),
                               m_b.begin() + static_cast<std::ptrdiff_t>(m_pos + n));
        m_pos += n;
        return v;
    }

private:
    const std::vector<uint8_t>& m_b;
    const std::string& m_name;
    size_t m_pos = 0;
    size_t m_end = 0;
};

// How many data bytes a channel message of this status carries.
int DataBytes(uint8_t status) {
    const uint8_t kind = qv::midi::KindOf(status);
    return kind == qv::midi::kProgramChange || kind == qv::midi::kChannelPressure ? 1 : 2;
}

MidiFile::Track ReadTrack(Cursor& in, int number) {
    MidiFile::Track track;
    const std::string where = "track " + std::to_string(number);
    uint64_t tick = 0;
    uint8_t running = 0;  // the status a data byte in its place repeats
    while (true) {
        if (in.Left() == 0) in.Fail(where + " ends without its end mark");
        tick += in.Variable(where + ": a delta time");
        MidiFile::Event e;
        e.tick = tick;
        const size_t at = in.Pos();
        uint8_t status = in.Byte(where + ": an event");
        bool repeated = false;
        if (status < 0x80) {
            if (!running)
                in.Fail(qv::Format("%s: the data byte %u at byte %zu follows no status",
                                   where.c_str(), status, at));
            repeated = true;
            e.data1 = status;
            status = running;
        }
        e.status = status;
        if (status < 0xF0) {
            running = status;
            if (!repeated) e.data1 = in.Byte(where + ": a channel message");
            if (DataBytes(status) == 2) e.data2 = in.Byte(where + ": a channel message");
            if (e.data1 > 0x7F || e.data2 > 0x7F)
                in.Fail(qv::Format("%s: the channel message at byte %zu has a data byte over 127",
                                   where.c_str(), at));
        } else if (status == kSysEx || status == kSysExContinued) {
            running = 0;
            const uint32_t n = in.Variable(where + ": a system exclusive message's length");
            e.bytes = in.Bytes(n, where + ": the system exclusive message");
        } else if (status == MidiFile::kMeta) {
            running = 0;
            e.type = in.Byte(where + ": a meta event");
            if (e.type > 0x7F)
                in.Fail(qv::Format("%s: the meta event at byte %zu has the type %u, over 127",
                                   where.c_str(), at, e.type));
            const uint32_t n = in.Variable(where + ": a meta event's length");
            e.bytes = in.Bytes(n, where + ": the meta event");
            if (e.type == MidiFile::kMetaEndOfTrack) {
                if (!e.bytes.empty())
                    in.Fail(qv::Format("%s: its end mark at byte %zu holds %zu bytes, not 0",
                                       where.c_str(), at, e.bytes.size()));
                if (in.Left() != 0)
                    in.Fail(qv::Format("%s goes on for %zu bytes after its end mark", where.c_str(),
                                       in.Left()));
                track.end = tick;
                return track;
            }
            if (e.type == MidiFile::kMetaTempo) {
                if (e.bytes.size() != 3)
                    in.Fail(qv::Format("%s: the tempo at byte %zu holds %zu bytes, not 3",
                                       where.c_str(), at, e.bytes.size()));
                if (e.bytes[0] == 0 && e.bytes[1] == 0 && e.bytes[2] == 0)
                    in.Fail(qv::Format("%s: the tempo at byte %zu is 0", where.c_str(), at));
            }
        } else {
            in.Fail(qv::Format("%s: the status 0x%02X at byte %zu is not one a file holds",
                               where.c_str(), status, at));
        }
        track.events.push_back(std::move(e));
    }
}

void PutBig(std::vector<uint8_t>& out, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutVariable(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v && n < 5);
    while (n > 1) out.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// Microseconds at ascending ticks, walking the tempo map once.
class TickClock {
public:
    explicit TickClock(int division) : m_division(division) {}
    template <class Map>
    int64_t At(const Map& map, uint64_t tick) {
        while (m_next < map.size() && map[m_next].tick < tick) {
            m_sum += static_cast<__int128>(map[m_next].tick - m_at) * m_tempo;
            m_at = map[m_next].tick;
            m_tempo = map[m_next].tempo;
            ++m_next;
        }
        const __int128 us = (m_sum + static_cast<__int128>(tick - m_at) * m_tempo) / m_division;
        return us > std::numeric_limits<int64_t>::max() ? std::numeric_limits<int64_t>::max()
                                                        : static_cast<int64_t>(us);
    }

private:
    int m_division;
    size_t m_next = 0;
    uint64_t m_at = 0;
    int64_t m_tempo = MidiFile::kDefaultTempo;
    __int128 m_sum = 0;  // ticks times microseconds a quarter note
};

}  // namespace

MidiFile MidiFile::Read(const std::vector<uint8_t>& bytes, const std::string& name) {
    Cursor in(bytes, name);
    if (bytes.size() > kMaxFileBytes)
        in.Fail(qv::Format("%zu bytes, more than the %zu a tune may have", bytes.size(),
                           kMaxFileBytes));
    in.Limit(bytes.size());
    if (bytes.size() < 8 || std::memcmp(bytes.data(), "MThd", 4) != 0)
        in.Fail("not a MIDI file: it does not begin with \"MThd\"");
    in.Seek(4);
    const uint32_t headerLength = in.Big(4, "the header");
    if (headerLength < 6) in.Fail(qv::Format("a header of %u bytes, not 6", headerLength));
    if (headerLength > in.Left())
        in.Fail(qv::Format("a header of %u bytes, and %zu are left", headerLength, in.Left()));
    const size_t afterHeader = in.Pos() + headerLength;
    MidiFile file;
    file.format = static_cast<int>(in.Big(2, "the header"));
    const uint32_t count = in.Big(2, "the header");
    const uint32_t division = in.Big(2, "the header");
    if (file.format > 1)
        in.Fail(qv::Format("of format %d: only formats 0 and 1 are played", file.format));
    if (count == 0) in.Fail("it holds no track");
    if (file.format == 0 && count != 1)
        in.Fail(qv::Format("of format 0 with %u tracks, not 1", count));
    if (division & 0x8000)
        in.Fail("its times are in SMPTE frames: only ticks of a quarter note are played");
    if (division == 0) in.Fail("it counts 0 ticks a quarter note");
    file.division = static_cast<int>(division);

    // The chunks: the tracks, and any other kind, which is passed over.
    in.Seek(afterHeader);
    while (in.Left() > 0) {
        const size_t at = in.Pos();
        if (in.Left() < 8) in.Fail(qv::Format("the chunk at byte %zu is cut short", at));
        const bool isTrack = std::memcmp(bytes.data() + at, "MTrk", 4) == 0;
        in.Seek(at + 4);
        const uint32_t length = in.Big(4, "a chunk");
        if (length > in.Left())
            in.Fail(qv::Format("the chunk at byte %zu counts %u bytes, and %zu are left", at,
                               length, in.Left()));
        const size_t end = in.Pos() + length;
        if (isTrack) {
            if (file.tracks.size() == count)
                in.Fail(qv::Format("more tracks than the %u its header counts", count));
            in.Limit(end);
            file.tracks.push_back(ReadTrack(in, static_cast<int>(file.tracks.size()) + 1));
            in.Limit(bytes.size());
        }
        in.Seek(end);
    }
    if (file.tracks.size() != count)
        in.Fail(qv::Format("%zu tracks, not the %u its header counts", file.tracks.size(), count));
    if (file.DurationMicroseconds() > kMaxMicroseconds) in.Fail("it plays for more than an hour");
    return file;
}

MidiFile MidiFile::Load(const std::string& path) {
    return Read(qv::ReadWholeFile(path), path);
}

std::vector<uint8_t> MidiFile::Write() const {
    std::vector<uint8_t> out;
    PutTag(out, "MThd");
    PutBig(out, 6, 4);
    PutBig(out, static_cast<uint32_t>(format), 2);
    PutBig(out, static_cast<uint32_t>(tracks.size()), 2);
    PutBig(out, static_cast<uint32_t>(division), 2);
    for (const Track& track : tracks) {
        std::vector<uint8_t> body;
        uint64_t at = 0;
        for (const Event& e : track.events) {
            PutVariable(body, static_cast<uint32_t>(std::min<uint64_t>(e.tick - at, kMaxDelta)));
            at = e.tick;
            body.push_back(e.status);
            if (e.IsChannelMessage()) {
                body.push_back(e.data1);
                if (DataBytes(e.status) == 2) body.push_back(e.data2);
                continue;
            }
            if (e.status == kMeta) body.push_back(e.type);
            PutVariable(body, static_cast<uint32_t>(e.bytes.size()));
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        PutVariable(body, static_cast<uint32_t>(
                              std::min<uint64_t>(track.end > at ? track.end - at : 0, kMaxDelta)));
        body.push_back(kMeta);
        body.push_back(kMetaEndOfTrack);
        body.push_back(0);
        PutTag(out, "MTrk");
        PutBig(out, static_cast<uint32_t>(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

std::vector<MidiFile::TempoChange> MidiFile::TempoMap() const {
    std::vector<TempoChange> map;
    for (const Track& track : tracks)
        for (const Event& e : track.events)
            if (e.status == kMeta && e.type == kMetaTempo && e.bytes.size() == 3)
                map.push_back({e.tick, (e.bytes[0] << 16) | (e.bytes[1] << 8) | e.bytes[2]});
    // Of several changes at one tick, the last one read holds.
    std::stable_sort(map.begin(), map.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    return map;
}

int64_t MidiFile::MicrosecondsAt(const std::vector<TempoChange>& map, int division, uint64_t tick) {
    TickClock clock(division);
    return clock.At(map, tick);
}

int64_t MidiFile::MicrosecondsAt(uint64_t tick) const {
    return MicrosecondsAt(TempoMap(), division, tick);
}

int64_t MidiFile::DurationMicroseconds() const {
    uint64_t end = 0;
    for (const Track& track : tracks) end = std::max(end, track.end);
    return MicrosecondsAt(end);
}

qv::MidiSong MidiFile::ToSong(int rate) const {
    struct Timed {
        uint64_t tick;
        const Event* event;
    };
    std::vector<Timed> all;
    for (const Track& track : tracks)
        for (const Event& e : track.events)
            if (e.IsChannelMessage()) all.push_back({e.tick, &e});
    // Track by track, each in its order: what sounds at one tick keeps the
    // order of the tracks.
    std::stable_sort(all.begin(), all.end(),
                     [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    const std::vector<TempoChange> map = TempoMap();
    TickClock clock(division);
    auto frameAt = [&](uint64_t tick) {
        return static_cast<int64_t>(static_cast<__int128>(clock.At(map, tick)) * rate / 1000000);
    };
    qv::MidiSong song;
    song.events.reserve(all.size());
    for (const Timed& t : all) {
        const Event& e = *t.event;
        const qv::MidiMessage m{frameAt(t.tick), e.status, e.data1, e.data2};
        song.events.push_back(m);
        // The instruments and controllers of the start are chosen before it
        // plays (they are sent again with the first events, each round).
        const uint8_t kind = qv::midi::KindOf(e.status);
        if (t.tick == 0 && (kind == qv::midi::kControlChange || kind == qv::midi::kProgramChange))
            song.setup.push_back(m);
    }
    uint64_t end = 0;
    for (const Track& track : tracks) end = std::max(end, track.end);
    song.length = frameAt(std::max<uint64_t>(end, all.empty() ? 0 : all.back().tick));
    return song;
}
