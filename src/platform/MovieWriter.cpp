// The movie writer: MJPEG pictures and 16-bit PCM sound in an AVI file.

#include <algorithm>

#include "platform/Movie.h"
#include "platform/MovieFFmpeg.h"

namespace qv {

using namespace movie;

namespace {

// The pictures' JPEG quantiser scale: low, so that a picture comes back close
// to what was drawn.
constexpr int kPictureQuality = 2;

struct OutputFree {
    void operator()(AVFormatContext* f) const { avformat_free_context(f); }
};

class Encoder {
public:
    std::string Open(const std::vector<Surface>& frames, int fps, const PcmSound& sound);
    std::string Write(const std::vector<Surface>& frames, int fps, const PcmSound& sound);
    std::vector<uint8_t> TakeBytes() { return std::move(m_file.bytes); }

private:
    std::string AddStream(Codec& codec, AVStream*& stream, AVCodecID id);
    std::string Send(Codec& codec, AVStream* stream, AVFrame* frame);

    MemoryFile m_file;
    Io m_io;
    std::unique_ptr<AVFormatContext, OutputFree> m_format;
    Codec m_video, m_audio;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    Packet m_packet{av_packet_alloc()};
};

std::string Encoder::AddStream(Codec& codec, AVStream*& stream, AVCodecID id) {
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(codec.get(), codec->codec, nullptr) < 0)
        return std::string("the encoder ") + avcodec_get_name(id) + " refuses the movie";
    stream = avformat_new_stream(m_format.get(), nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, codec.get()) < 0)
        return "no memory for the movie";
    stream->time_base = codec->time_base;
    return {};
}

std::string Encoder::Open(const std::vector<Surface>& frames, int fps, const PcmSound& sound) {
    if (frames.empty() || fps < 1) return "a movie wants pictures";
    const int width = frames[0].Width(), height = frames[0].Height();
    if (width < 1 || width > kMovieMaxWidth || height < 1 || height > kMovieMaxHeight)
        return "the movie's pictures are too big";
    for (const Surface& f : frames)
        if (f.Width() != width || f.Height() != height)
            return "the movie's pictures differ in size";
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, "avi", nullptr) < 0 || !format)
        return "FFmpeg cannot write AVI files";
    m_format.reset(format);
    m_io = OpenMemoryFile(m_file, true);
    if (!m_io || !m_packet) return "no memory for the movie";
    format->pb = m_io.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;

    const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!mjpeg) return "FFmpeg has no MJPEG encoder";
    m_video.reset(avcodec_alloc_context3(mjpeg));
    if (!m_video) return "no memory for the movie";
    m_video->width = width;
    m_video->height = height;
    m_video->time_base = AVRational{1, fps};
    m_video->framerate = AVRational{fps, 1};
    m_video->pix_fmt = AV_PIX_FMT_YUVJ420P;
    m_video->flags |= AV_CODEC_FLAG_QSCALE;
    m_video->global_quality = FF_QP2LAMBDA * kPictureQuality;
    m_video->thread_count = 1;
    std::string why = AddStream(m_video, m_videoStream, AV_CODEC_ID_MJPEG);
    if (!why.empty()) return why;

    if (!sound.samples.empty()) {
        const AVCodec* pcm = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        if (!pcm) return "FFmpeg has no PCM encoder";
        m_audio.reset(avcodec_alloc_context3(pcm));
        if (!m_audio) return "no memory for the movie";
        m_audio->sample_fmt = AV_SAMPLE_FMT_S16;
        m_audio->sample_rate = sound.rate;
        m_audio->ch_layout = AV_CHANNEL_LAYOUT_MONO;
        m_audio->time_base = AVRational{1, sound.rate};
        why = AddStream(m_audio, m_audioStream, AV_CODEC_ID_PCM_S16LE);
        if (!why.empty()) return why;
    }
    if (avformat_write_header(format, nullptr) < 0) return "the movie's header cannot be written";
    return {};
}

std::string Encoder::Send(Codec& codec, AVStream* stream, AVFrame* frame) {
    if (avcodec_send_frame(codec.get(), frame) < 0) return "the encoder refuses a picture";
    for (;;) {
        const int got = avcodec_receive_packet(codec.get(), m_packet.get());
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return {};
        if (got < 0) return "the encoder fails";
        av_packet_rescale_ts(m_packet.get(), codec->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (av_interleaved_write_frame(m_format.get(), m_packet.get()) < 0)
            return "the movie cannot be written";
    }
}

std::string Encoder::Write(const std::vector<Surface>& frames, int fps, const PcmSound& sound) {
    Frame picture(av_frame_alloc()), chunk(av_frame_alloc());
    if (!picture || !chunk) return "no memory for the movie";
    picture->format = m_video->pix_fmt;
    picture->width = m_video->width;
    picture->height = m_video->height;
    if (av_frame_get_buffer(picture.get(), 0) < 0) return "no memory for the movie";
    Scale scale(sws_getContext(m_video->width, m_video->height, AV_PIX_FMT_RGB565, m_video->width,
                               m_video->height, m_video->pix_fmt,
                               SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
                               nullptr, nullptr));
    if (!scale) return "the pictures cannot be converted";

    // Each picture, then the sound that plays while it shows; the sound that
    // outlasts the pictures comes after them in chunks of the same length.
    const int64_t total = static_cast<int64_t>(sound.samples.size());
    const int64_t perFrame = std::max<int64_t>(1, sound.rate / fps);
    int64_t soundAt = 0;
    for (size_t i = 0; i < frames.size() || (m_audio && soundAt < total); ++i) {
        if (i < frames.size()) {
            if (av_frame_make_writable(picture.get()) < 0) return "no memory for the movie";
            const auto* src = reinterpret_cast<const uint8_t*>(frames[i].Pixels());
            const int srcStride = frames[i].Pitch() * 2;
            sws_scale(scale.get(), &src, &srcStride, 0, m_video->height, picture->data,
                      picture->linesize);
            picture->pts = static_cast<int64_t>(i);
            picture->quality = m_video->global_quality;
            std::string why = Send(m_video, m_videoStream, picture.get());
            if (!why.empty()) return why;
        }
        if (!m_audio) continue;
        const int64_t until = i + 1 < frames.size()
                                  ? std::min(total, static_cast<int64_t>(i + 1) * sound.rate / fps)
                                  : std::min(total, soundAt + perFrame);
        if (until <= soundAt) continue;
        av_frame_unref(chunk.get());
        chunk->format = AV_SAMPLE_FMT_S16;
        chunk->sample_rate = sound.rate;
        chunk->ch_layout = AV_CHANNEL_LAYOUT_MONO;
        chunk->nb_samples = static_cast<int>(until - soundAt);
        if (av_frame_get_buffer(chunk.get(), 0) < 0) return "no memory for the movie";
        std::copy(sound.samples.begin() + soundAt, sound.samples.begin() + until,
                  reinterpret_cast<int16_t*>(chunk->data[0]));
        chunk->pts = soundAt;
        soundAt = until;
        std::string why = Send(m_audio, m_audioStream, chunk.get());
        if (!why.empty()) return why;
    }
    std::string why = Send(m_video, m_videoStream, nullptr);
    if (why.empty() && m_audio) why = Send(m_audio, m_audioStream, nullptr);
    if (!why.empty()) return why;
    if (av_write_trailer(m_format.get()) < 0) return "the movie cannot be finished";
    return {};
}

}  // namespace

std::vector<uint8_t> EncodeMovie(const std::vector<Surface>& frames, int framesPerSecond,
                                 const PcmSound& sound, std::string& error) {
    QuietLibraries();
    Encoder encoder;
    error = encoder.Open(frames, framesPerSecond, sound);
    if (error.empty()) error = encoder.Write(frames, framesPerSecond, sound);
    if (!error.empty()) return {};
    return encoder.TakeBytes();
}

}  // namespace qv
