#include "platform/Movie.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/Files.h"
#include "platform/MovieFFmpeg.h"

namespace qv::movie {

namespace {

constexpr int kIoBufferBytes = 32768;

int ReadMemory(void* opaque, uint8_t* buf, int size) {
    auto* file = static_cast<MemoryFile*>(opaque);
    if (file->stop && file->stop(file->stopArg)) return AVERROR_EXIT;
    const int64_t left = static_cast<int64_t>(file->source->size()) - file->pos;
    if (left <= 0) return AVERROR_EOF;
    const int n = static_cast<int>(std::min<int64_t>(size, left));
    if (file->delivered + n > file->limit) return AVERROR_EXIT;
    std::memcpy(buf, file->source->data() + file->pos, static_cast<size_t>(n));
    file->pos += n;
    file->delivered += n;
    return n;
}

int WriteMemory(void* opaque, uint8_t* buf, int size) {
    auto* file = static_cast<MemoryFile*>(opaque);
    const size_t end = static_cast<size_t>(file->pos) + static_cast<size_t>(size);
    if (file->bytes.size() < end) file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->pos, buf, static_cast<size_t>(size));
    file->pos = static_cast<int64_t>(end);
    return size;
}

int64_t SeekMemory(void* opaque, int64_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(opaque);
    const auto size =
        static_cast<int64_t>(file->source ? file->source->size() : file->bytes.size());
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) return size;
    int64_t base = 0;
    if (whence == SEEK_CUR) base = file->pos;
    if (whence == SEEK_END) base = size;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return AVERROR(EINVAL);
    if (offset < -base || offset > size - base) return AVERROR(EINVAL);
    file->pos = base + offset;
    return file->pos;
}

}  // namespace

void IoFree::operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
}

Io OpenMemoryFile(MemoryFile& file, bool forWriting) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (!buffer) return nullptr;
    AVIOContext* io = avio_alloc_context(buffer, kIoBufferBytes, forWriting ? 1 : 0, &file,
                                         forWriting ? nullptr : ReadMemory,
                                         forWriting ? WriteMemory : nullptr, SeekMemory);
    if (!io) av_free(buffer);
    return Io(io);
}

void QuietLibraries() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace qv::movie

namespace qv {

using namespace movie;

namespace {

using SteadyClock = std::chrono::steady_clock;

// At most this many packets for each picture the bounds allow, and as many
// again for the sound's.
constexpr int64_t kPacketsPerFrame = 8;
// The bytes a reading may take from the file, for each byte of it: a reader
// that comes back for the same bytes over and over is stopped.
constexpr int64_t kReadsPerByte = 16;
constexpr int64_t kReadSlack = int64_t{1} << 20;
constexpr int kMaxSoundChannels = 8;
constexpr int kMaxSoundRate = 192000;

// A time limit, checked while FFmpeg reads.
struct Deadline {
    SteadyClock::time_point end;
    void Start() { end = SteadyClock::now() + std::chrono::milliseconds(kMovieMaxDecodeMs); }
    bool Passed() const { return SteadyClock::now() > end; }
    static bool Check(void* self) { return static_cast<const Deadline*>(self)->Passed(); }
    static int Interrupt(void* self) { return Check(self) ? 1 : 0; }
};

struct FormatFree {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};

// One reading of the movie's bytes: the file, its demuxer, and the decoder of
// the stream it is after.
struct Reading {
    MemoryFile file;
    Io io;
    std::unique_ptr<AVFormatContext, FormatFree> format;
    Codec codec;
    int stream = -1;
    int64_t packets = 0;
    bool draining = false;
    Packet packet{av_packet_alloc()};
    Frame frame{av_frame_alloc()};
};

}  // namespace

struct MovieReader::State {
    std::vector<uint8_t> bytes;
    Deadline deadline;
    Reading video;
    Scale scale;
    bool pending = false;  // the first picture, read when opening
    Surface first;
    uint32_t firstAt = 0;
    int64_t startTs = AV_NOPTS_VALUE;
    uint32_t lastAt = 0;
    bool ended = false;
};

MovieReader::MovieReader() = default;
MovieReader::~MovieReader() = default;

bool MovieReader::Refuse(const std::string& why) {
    m_error = "The movie " + m_name + " " + why + ".";
    if (m_state) m_state->ended = true;
    return false;
}

bool MovieReader::Open(const std::string& name) {
    // Errors name the file as the system knows it.
    const std::string path = ResolvePath(name);
    m_name = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Refuse("is missing");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return Refuse("cannot be read");
    if (size > static_cast<uintmax_t>(kMovieMaxBytes)) return Refuse("is too big");
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const FileError&) {
        return Refuse("cannot be read");
    }
    return OpenBytes(std::move(bytes), path);
}

namespace {

// Opens a reading of `bytes` at the stream of `type` with its decoder; an
// empty answer when all went well, else what went wrong.
std::string OpenReading(Reading& r, const std::vector<uint8_t>& bytes, Deadline& deadline,
                        AVMediaType type) {
    r.file.source = &bytes;
    r.file.limit = static_cast<int64_t>(bytes.size()) * kReadsPerByte + kReadSlack;
    r.file.stop = Deadline::Check;
    r.file.stopArg = &deadline;
    r.io = OpenMemoryFile(r.file, false);
    AVFormatContext* format = avformat_alloc_context();
    if (!r.io || !format || !r.packet || !r.frame) {
        avformat_free_context(format);
        return "cannot be read (no memory)";
    }
    format->pb = r.io.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->interrupt_callback = {Deadline::Interrupt, &deadline};
    // On failure the context is freed and the pointer cleared.
    if (avformat_open_input(&format, nullptr, av_find_input_format("avi"), nullptr) < 0)
        return "is not an AVI movie";
    r.format.reset(format);
    const AVCodec* decoder = nullptr;
    r.stream = av_find_best_stream(format, type, -1, -1, &decoder, 0);
    if (r.stream < 0 || !decoder) return type == AVMEDIA_TYPE_VIDEO ? "has no pictures" : "";
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard =
            static_cast<int>(i) == r.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    r.codec.reset(avcodec_alloc_context3(decoder));
    if (!r.codec) return "cannot be read (no memory)";
    if (avcodec_parameters_to_context(r.codec.get(), format->streams[r.stream]->codecpar) < 0)
        return "cannot be decoded";
    r.codec->thread_count = 1;
    if (avcodec_open2(r.codec.get(), decoder, nullptr) < 0) return "cannot be decoded";
    return {};
}

// The next decoded frame of the reading's stream: 1, 0 at the end, or a
// negative FFmpeg error.
int NextDecoded(Reading& r, const Deadline& deadline) {
    for (;;) {
        if (deadline.Passed()) return AVERROR_EXIT;
        int got = avcodec_receive_frame(r.codec.get(), r.frame.get());
        if (got == 0) return 1;
        if (got == AVERROR_EOF) return 0;
        if (got != AVERROR(EAGAIN)) return got;
        if (r.draining) return 0;
        if (++r.packets > static_cast<int64_t>(kMovieMaxFrames) * kPacketsPerFrame * 2)
            return AVERROR_EXIT;
        int read = av_read_frame(r.format.get(), r.packet.get());
        if (read == AVERROR_EXIT) return read;
        if (read < 0) {
            // The end of the file (or of what can be read of it): what the
            // decoder still holds comes out.
            r.draining = true;
            avcodec_send_packet(r.codec.get(), nullptr);
            continue;
        }
        int sent = 0;
        if (r.packet->stream_index == r.stream)
            sent = avcodec_send_packet(r.codec.get(), r.packet.get());
        av_packet_unref(r.packet.get());
        if (sent < 0 && sent != AVERROR(EAGAIN)) return sent;
    }
}

std::string ReadSound(const std::vector<uint8_t>& bytes, Deadline& deadline,
                      std::shared_ptr<const PcmSound>& out) {
    Reading r;
    std::string why = OpenReading(r, bytes, deadline, AVMEDIA_TYPE_AUDIO);
    if (!why.empty() || !r.codec) return why;
    auto sound = std::make_shared<PcmSound>();
    sound->rate = Mixer::kRate;
    const size_t maxSamples = static_cast<size_t>(kMovieMaxSeconds) * Mixer::kRate;
    Resample resample;
    AVChannelLayout inLayout{};
    int inFormat = -1, inRate = 0;
    std::vector<int16_t> chunk;
    auto convert = [&](const uint8_t** in, int count) -> bool {
        const int room = swr_get_out_samples(resample.get(), count);
        if (room < 0) return false;
        chunk.resize(static_cast<size_t>(room) + 1);
        auto* outPtr = reinterpret_cast<uint8_t*>(chunk.data());
        const int made = swr_convert(resample.get(), &outPtr, room + 1, in, count);
        if (made < 0) return false;
        sound->samples.insert(sound->samples.end(), chunk.begin(), chunk.begin() + made);
        return true;
    };
    for (;;) {
        const int got = NextDecoded(r, deadline);
        if (got == AVERROR_EXIT)
            return deadline.Passed() ? "takes too long to decode" : "is too long";
        if (got < 0) return "has broken sound";
        if (got == 0) break;
        AVFrame* f = r.frame.get();
        if (!resample) {
            if (f->ch_layout.nb_channels < 1 || f->ch_layout.nb_channels > kMaxSoundChannels ||
                f->sample_rate < 1 || f->sample_rate > kMaxSoundRate)
                return "has sound the game cannot play";
            AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
            SwrContext* s = nullptr;
            if (av_channel_layout_copy(&inLayout, &f->ch_layout) < 0 ||
                swr_alloc_set_opts2(&s, &mono, AV_SAMPLE_FMT_S16, Mixer::kRate, &f->ch_layout,
                                    static_cast<AVSampleFormat>(f->format), f->sample_rate, 0,
                                    nullptr) < 0 ||
                swr_init(s) < 0) {
                swr_free(&s);
                av_channel_layout_uninit(&inLayout);
                return "has sound the game cannot play";
            }
            resample.reset(s);
            inFormat = f->format;
            inRate = f->sample_rate;
        }
        const bool same = f->format == inFormat && f->sample_rate == inRate &&
                          av_channel_layout_compare(&f->ch_layout, &inLayout) == 0;
        const bool converted =
            same && convert(const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
        av_frame_unref(f);
        if (!converted) {
            av_channel_layout_uninit(&inLayout);
            return "has broken sound";
        }
        if (sound->samples.size() > maxSamples) {
            av_channel_layout_uninit(&inLayout);
            return "has too long a sound";
        }
    }
    av_channel_layout_uninit(&inLayout);
    if (resample && !convert(nullptr, 0)) return "has broken sound";
    if (sound->samples.size() > maxSamples) return "has too long a sound";
    if (!sound->samples.empty()) out = std::move(sound);
    return {};
}

}  // namespace

bool MovieReader::OpenBytes(std::vector<uint8_t> bytes, const std::string& name) {
    QuietLibraries();
    m_name = name;
    m_error.clear();
    m_frames = 0;
    m_sound.reset();
    m_state = std::make_unique<State>();
    State& s = *m_state;
    if (static_cast<int64_t>(bytes.size()) > kMovieMaxBytes) return Refuse("is too big");
    s.bytes = std::move(bytes);
    s.deadline.Start();
    std::string why = OpenReading(s.video, s.bytes, s.deadline, AVMEDIA_TYPE_VIDEO);
    if (!why.empty()) return Refuse(why);
    const AVCodecParameters* par = s.video.format->streams[s.video.stream]->codecpar;
    if (par->width < 1 || par->width > kMovieMaxWidth || par->height < 1 ||
        par->height > kMovieMaxHeight)
        return Refuse("has pictures of a size the game cannot show");
    m_width = par->width;
    m_height = par->height;
    why = ReadSound(s.bytes, s.deadline, m_sound);
    if (!why.empty()) return Refuse(why);
    // The first picture is read now, so that a movie that shows nothing is
    // refused before it starts.
    s.deadline.Start();
    if (!NextFrame(s.first, s.firstAt)) return m_error.empty() ? Refuse("has no pictures") : false;
    --m_frames;
    s.pending = true;
    return true;
}

bool MovieReader::NextFrame(Surface& out, uint32_t& atMs) {
    if (!m_state || m_state->ended) return false;
    State& s = *m_state;
    if (s.pending) {
        s.pending = false;
        out = std::move(s.first);
        atMs = s.firstAt;
        ++m_frames;
        return true;
    }
    if (m_frames > 0) s.deadline.Start();
    const int got = NextDecoded(s.video, s.deadline);
    if (got == AVERROR_EXIT)
        return Refuse(s.deadline.Passed() ? "takes too long to decode" : "is too long");
    if (got < 0) return Refuse("has a broken picture");
    if (got == 0) {
        s.ended = true;
        return false;
    }
    AVFrame* f = s.video.frame.get();
    struct Unref {
        AVFrame* f;
        ~Unref() { av_frame_unref(f); }
    } unref{f};
    if (m_frames >= kMovieMaxFrames) return Refuse("has too many pictures");
    if (f->width != m_width || f->height != m_height)
        return Refuse("has pictures of a size the game cannot show");
    s.scale.reset(sws_getCachedContext(
        s.scale.release(), m_width, m_height, static_cast<AVPixelFormat>(f->format), m_width,
        m_height, AV_PIX_FMT_RGB565, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
        nullptr, nullptr));
    if (!s.scale) return Refuse("has pictures the game cannot show");
    out.Create(m_width, m_height);
    uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(out.Pixels()), nullptr, nullptr, nullptr};
    int dstStride[4] = {out.Pitch() * 2, 0, 0, 0};
    if (sws_scale(s.scale.get(), f->data, f->linesize, 0, m_height, dst, dstStride) != m_height)
        return Refuse("has a broken picture");

    // The picture's time from the first picture's; never earlier than the
    // picture before it.
    const AVRational base = s.video.format->streams[s.video.stream]->time_base;
    int64_t ts = f->best_effort_timestamp;
    uint32_t at = s.lastAt;
    if (ts != AV_NOPTS_VALUE && base.num > 0 && base.den > 0) {
        if (s.startTs == AV_NOPTS_VALUE) s.startTs = ts;
        if (ts > s.startTs && (s.startTs >= 0 || ts <= INT64_MAX + s.startTs)) {
            const int64_t ms = av_rescale_q(ts - s.startTs, base, AVRational{1, 1000});
            if (ms < 0 || ms > int64_t{kMovieMaxSeconds} * 1000) return Refuse("is too long");
            at = std::max(at, static_cast<uint32_t>(ms));
        }
    }
    s.lastAt = at;
    atMs = at;
    ++m_frames;
    return true;
}

}  // namespace qv
