#include "RoundTrip.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <limits>

#include "creatures/NeuralNet.h"
#include "creatures/Player.h"
#include "creatures/TrainingRecords.h"
#include "events/TalkScript.h"
#include "events/TalkScriptFile.h"
#include "media/DDString.h"
#include "media/DIBitmap.h"
#include "media/MidiFile.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "platform/Movie.h"
#include "platform/Settings.h"
#include "play/OrderFile.h"
#include "shell/MainFrm.h"

// The books AddressSanitizer keeps of every allocation, reached through its
// hooks; absent (null) in a build without it.
extern "C" {
__attribute__((weak)) int __sanitizer_install_malloc_and_free_hooks(
    void (*onMalloc)(const volatile void*, size_t), void (*onFree)(const volatile void*));
__attribute__((weak)) int __sanitizer_get_ownership(const volatile void* p);
__attribute__((weak)) size_t __sanitizer_get_allocated_size(const volatile void* p);
__attribute__((weak)) void __sanitizer_print_stack_trace();
}

namespace fuzz {

namespace {

// The bytes around `at`, in hex.
std::string Around(const Bytes& b, size_t at) {
    std::string out;
    char hex[4];
    for (size_t i = at < 16 ? 0 : at - 16; i < b.size() && i < at + 16; ++i) {
        std::snprintf(hex, sizeof hex, i == at ? "[%02x" : " %02x", b[i]);
        out += hex;
    }
    return out;
}

[[noreturn]] void Fail(const char* what, const char* why, const Bytes& first, const Bytes* second) {
    std::fprintf(stderr, "%s: %s (first writing %zu bytes", what, why, first.size());
    if (second) {
        size_t at = 0;
        while (at < first.size() && at < second->size() && first[at] == (*second)[at]) ++at;
        std::fprintf(stderr, ", second %zu bytes, first difference at byte %zu)\n", second->size(),
                     at);
        std::fprintf(stderr, "first: %s\nsecond:%s\n", Around(first, at).c_str(),
                     Around(*second, at).c_str());
    } else {
        std::fprintf(stderr, ")\n");
    }
    std::abort();
}

const std::string& TempFolder() {
    // Never destroyed, so that it is still there when the run ends.
    static const std::string* folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/qv-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        // Gone when the run ends, whichever way it ends normally.
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(TempFolder(), ec);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

// The bytes held now, and the most a run may hold (no limit between runs).
std::atomic<int64_t> g_held{0};
std::atomic<int64_t> g_limit{std::numeric_limits<int64_t>::max()};
std::atomic<bool> g_overspent{false};
size_t g_inputSize = 0;

[[noreturn]] void Overspent(int64_t held, int64_t limit) {
    // No allocation here: the report is written from inside one.
    char text[200];
    const int n =
        std::snprintf(text, sizeof text,
                      "memory budget exceeded: %lld bytes held for an input of %zu "
                      "bytes, where %lld are allowed\n",
                      static_cast<long long>(held), g_inputSize, static_cast<long long>(limit));
    if (n > 0) (void)!write(2, text, std::min(static_cast<size_t>(n), sizeof text - 1));
    if (__sanitizer_print_stack_trace) __sanitizer_print_stack_trace();
    std::abort();
}

void OnMalloc(const volatile void*, size_t size) {
    const int64_t held = g_held.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    const int64_t limit = g_limit.load();
    if (held > limit && !g_overspent.exchange(true)) Overspent(held, limit);
}

void OnFree(const volatile void* p) {
    // A block freed twice is no longer owned; the sanitizer reports it.
    if (p && __sanitizer_get_ownership(p))
        g_held.fetch_sub(static_cast<int64_t>(__sanitizer_get_allocated_size(p)));
}

bool InstallHooks() {
    if (!MemoryBudget::IsKept()) {
        std::fprintf(stderr, "the memory budget is not kept: no AddressSanitizer\n");
        return false;
    }
    return __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
}

}  // namespace

bool MemoryBudget::IsKept() {
    return __sanitizer_install_malloc_and_free_hooks && __sanitizer_get_ownership &&
           __sanitizer_get_allocated_size;
}

MemoryBudget::MemoryBudget(size_t inputSize) {
    static const bool kept = InstallHooks();
    if (!kept) return;
    g_inputSize = inputSize;
    g_overspent = false;
    g_limit = g_held.load() + kFixedBytes +
              kBytesPerInputByte * static_cast<int64_t>(std::min<size_t>(inputSize, 1u << 30));
}

MemoryBudget::~MemoryBudget() {
    g_limit = std::numeric_limits<int64_t>::max();
}

void Prepare() {
    qv::SetMessageHandler(
        [](const std::string& text, qv::MessageButtons buttons, const std::string&) {
            switch (buttons) {
                case qv::MessageButtons::RetryCancel:
                    // The game's own check failed (an assertion): whatever a
                    // player would answer, the input found a fault.
                    std::fprintf(stderr, "a check of the game failed: %s\n", text.c_str());
                    std::abort();
                case qv::MessageButtons::YesNo:
                    return qv::MessageAnswer::Yes;
                default:
                    return qv::MessageAnswer::Ok;
            }
        });
}

bool HoldsOldObjectRecord(const Bytes& input) {
    static const uint8_t name[] = {6, 0, 'O', 'b', 'j', 'e', 'c', 't'};
    for (size_t i = 4; i + sizeof name <= input.size(); ++i)
        if (input[i - 4] == 0xFF && input[i - 3] == 0xFF && input[i - 1] == 0 && input[i - 2] < 4 &&
            std::equal(name, name + sizeof name, input.begin() + static_cast<ptrdiff_t>(i)))
            return true;
    return false;
}

void CheckRoundTrip(const Bytes& input, Reader reader, const char* what) {
    std::optional<Bytes> first = reader(input);
    if (!first) return;
    std::optional<Bytes> second = reader(*first);
    if (!second) Fail(what, "what the game wrote is refused", *first, nullptr);
    // An object record older than schema 4 is given weight 1, and a current
    // one the weight of its class: the weight of an old record changes with
    // its first save by the game's rules, so only the reading is checked.
    if (*second != *first && !HoldsOldObjectRecord(input))
        Fail(what, "writing what was read back changes it", *first, &*second);
}

TempFile::TempFile() {
    static std::atomic<int> next{0};
    m_path = TempFolder() + "/" + std::to_string(next++);
}

TempFile::TempFile(const Bytes& contents) : TempFile() {
    qv::WriteWholeFile(m_path, contents);
}

TempFile::~TempFile() {
    std::remove(m_path.c_str());
}

Bytes TempFile::Read() const {
    return qv::ReadWholeFile(m_path);
}

GameFolder::GameFolder() {
    static std::atomic<int> next{0};
    m_path = TempFolder() + "/game-" + std::to_string(next++) + "/";
    qv::MakeFolder(m_path + "Images");
    qv::MakeFolder(m_path + "tmp");
}

GameFolder::~GameFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void GameFolder::Put(const std::string& name, const Bytes& bytes) {
    qv::WriteWholeFile(m_path + name, bytes);
    m_files.emplace_back(name, bytes);
}

void GameFolder::Restore() const {
    const std::string work = Working();
    for (const std::string& name : qv::ListFiles(work)) std::remove((work + name).c_str());
    for (const auto& [name, bytes] : m_files) qv::WriteWholeFile(m_path + name, bytes);
}

void SetInFolder(CMainFrame& frame, const GameFolder& folder) {
    frame.m_Play.Saves().SetGameFolder(folder.Path());
    frame.m_Play.Saves().SetCurrentFolder(folder.Working());
    frame.m_World.CreateRootGroups();
}

void EndGameRun() {
    qv::MessageLoop::Instance().Reset();
}

std::optional<Bytes> SettingsFile(const Bytes& input) {
    TempFile in(input), out;
    qv::Settings::Load(in.Path()).Save(out.Path());
    return out.Read();
}

std::optional<Bytes> OrderFile(const Bytes& input) {
    OrderRecording recording;
    std::string error;
    if (!ReadOrderFile(input, "fuzz input", recording, error)) return std::nullopt;
    return WriteOrderFile(recording);
}

std::optional<Bytes> PictureFile(const Bytes& input) {
    TempFile in(input), out;
    CDIBitmap picture;
    if (!picture.Load(in.Path())) return std::nullopt;
    if (!picture.Save(out.Path()))
        Fail("PictureFile", "a picture that was read cannot be written", {}, nullptr);
    return out.Read();
}

std::optional<Bytes> TuneFile(const Bytes& input) {
    MidiFile file;
    try {
        file = MidiFile::Read(input, "fuzz input");
    } catch (const qv::FileError&) {
        return std::nullopt;
    }
    // What the output would play: channel messages in the order of their
    // frames, within the tune's length.
    const qv::MidiSong song = file.ToSong(qv::Mixer::kRate);
    int64_t last = 0;
    for (const qv::MidiMessage& m : song.events) {
        if (m.status < 0x80 || m.status >= 0xF0 || m.data1 > 0x7F || m.data2 > 0x7F)
            Fail("TuneFile", "a message that is no channel message is played", {}, nullptr);
        if (m.frame < last) Fail("TuneFile", "the messages are out of time order", {}, nullptr);
        last = m.frame;
    }
    if (song.length < last) Fail("TuneFile", "a message lies past the tune's end", {}, nullptr);
    return file.Write();
}

std::optional<Bytes> MovieFile(const Bytes& input) {
    qv::MovieReader movie;
    if (!movie.OpenBytes(input, "fuzz input")) {
        if (movie.Error().find("fuzz input") == std::string::npos)
            Fail("MovieFile", "a refusal does not name the file", {}, nullptr);
        return std::nullopt;
    }
    if (const auto sound = movie.Sound();
        sound && sound->samples.size() > size_t{qv::kMovieMaxSeconds} * qv::Mixer::kRate)
        Fail("MovieFile", "the sound is longer than the bound", {}, nullptr);
    qv::Surface picture;
    uint32_t at = 0, last = 0;
    while (movie.NextFrame(picture, at)) {
        if (picture.Width() != movie.Width() || picture.Height() != movie.Height())
            Fail("MovieFile", "a picture is not the movie's size", {}, nullptr);
        if (at < last) Fail("MovieFile", "the pictures are out of time order", {}, nullptr);
        last = at;
    }
    if (movie.FramesRead() > qv::kMovieMaxFrames)
        Fail("MovieFile", "more pictures than the bound are read", {}, nullptr);
    // The reader writes nothing back: what it took is the bytes as they came.
    if (!movie.Error().empty()) return std::nullopt;
    return input;
}

std::optional<Bytes> FontFile(const Bytes& input) {
    TempFile in(input);
    CDDAlphabet alphabet;
    if (!alphabet.LoadFont(in.Path())) return std::nullopt;
    return FontFileOf(alphabet);
}

std::optional<Bytes> WeightFile(const Bytes& input) {
    TempFile in(input);
    NNAttack attack;
    NNDefense defense;
    NNEvade evade;
    for (network* net : {static_cast<network*>(&attack), static_cast<network*>(&defense),
                         static_cast<network*>(&evade)}) {
        const Bytes before = net->StoreWeights();
        if (net->ReadFile(in.Path())) return net->StoreWeights();
        if (net->StoreWeights() != before)
            Fail("WeightFile", "a refused file changed the weights", before, nullptr);
    }
    return std::nullopt;
}

std::optional<Bytes> TrainingRecordFile(const Bytes& input) {
    TrainingRecordList list;
    try {
        qv::Archive in(input, "fuzz input");
        list.Serialize(in);
    } catch (const qv::ArchiveError&) {
        if (list.GetCount() != 0)
            Fail("TrainingRecordFile", "a refused list kept records", input, nullptr);
        return std::nullopt;
    }
    qv::Archive out("fuzz output");
    list.Serialize(out);
    return out.TakeBytes();
}

namespace {

// A game that does nothing a conversation asks of it.
class QuietTalkHost : public TalkHost {
public:
    void TravelTo(qv::Point) override {}
    void MakeGroup() override {}
    void ReGroup() override {}
    void JoinParty(Player*) override {}
    void GoToWorld(const std::string&, int32_t, int32_t) override {}
    void SetPendingWorld(const std::string&, qv::Point) override {}
    void MoveToLand() override {}
    void RemoveFromMap(ObjectHolder*) override {}
    bool DropObject(Object*, const Position&) override { return false; }
    void SetSelectMode(int32_t) override {}
    void OpenTradeWindow(int32_t) override {}
    void ReportScriptError(const std::string&) override {}
};

// The conversation steps one input may run: each opening and each choice
// taken is one.
constexpr size_t kConversationSteps = 200;

// Runs the script's conversations: from each node in turn, every choice of
// every step reached, each way of choices run again from its node, until
// the steps are spent.
void TalkEveryWay(const std::shared_ptr<const TalkScriptFile>& script) {
    FreshWorld fresh;
    Player listener, speaker;
    QuietTalkHost host;
    CTalkScript talk(fresh.world, host);
    size_t steps = 0;
    for (const TalkNode& node : script->m_Nodes) {
        std::deque<std::vector<size_t>> ways(1);
        while (!ways.empty() && steps < kConversationSteps) {
            const std::vector<size_t> way = std::move(ways.front());
            ways.pop_front();
            talk.Open(&listener, &speaker, script, node.name);
            for (size_t choice : way) talk.Choose(choice);
            steps += 1 + way.size();
            const size_t choices = talk.IsOver() ? 0 : talk.Choices().size();
            for (size_t c = 0; c < choices && ways.size() < kConversationSteps; ++c) {
                ways.push_back(way);
                ways.back().push_back(c);
            }
        }
    }
}

}  // namespace

std::optional<Bytes> TalkScriptText(const Bytes& input) {
    TempFile in(input);
    const std::string& path = in.Path();
    const size_t cut = path.rfind('/') + 1;
    try {
        const auto script = std::make_shared<const TalkScriptFile>(
            LoadTalkScript(path.substr(0, cut), path.substr(cut)));
        TalkEveryWay(script);
        return StoreTalkScript(*script);
    } catch (const TalkScriptError&) {
        return std::nullopt;
    }
}

Bytes FontFileOf(const CDDAlphabet& alphabet, int version, bool table) {
    Bytes b;
    auto put32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    if (version == 1) {
        b = {0x36, 0x04, static_cast<uint8_t>(table ? 2 : 0), 16};
    } else {
        put32(0x864AB572u);
        put32(0);                // version
        put32(32);               // header size
        put32(table ? 1u : 0u);  // flags: a Unicode table follows
        put32(256);              // letters
        put32(16);               // bytes a letter
        put32(16);               // height
        put32(8);                // width
    }
    for (int c = 0; c < 256; ++c)
        for (uint8_t row : alphabet.Glyph(static_cast<unsigned char>(c))) b.push_back(row);
    if (!table) return b;
    // Each letter shows its own Latin-1 code.
    for (int c = 0; c < 256; ++c) {
        if (version == 1) {
            b.push_back(static_cast<uint8_t>(c));
            b.push_back(0);
            b.push_back(0xFF);
            b.push_back(0xFF);
        } else {
            if (c < 0x80) {
                b.push_back(static_cast<uint8_t>(c));
            } else {
                b.push_back(static_cast<uint8_t>(0xC0 | (c >> 6)));
                b.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
            }
            b.push_back(0xFF);
        }
    }
    return b;
}

}  // namespace fuzz
