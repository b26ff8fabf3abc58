#pragma once
// What the movie reader and writer share of FFmpeg: owners of its objects,
// a file in memory that its libraries read and write through, and FFmpeg's
// own messages kept quiet (the game says what went wrong itself).

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::movie {

struct CodecFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResampleFree {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
using Codec = std::unique_ptr<AVCodecContext, CodecFree>;
using Frame = std::unique_ptr<AVFrame, FrameFree>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;
using Scale = std::unique_ptr<SwsContext, ScaleFree>;
using Resample = std::unique_ptr<SwrContext, ResampleFree>;

// Bytes in memory as a file FFmpeg reads (`source`, not owned) or writes
// (`bytes`), with a position that seeks; reads stop once `limit` bytes have
// been handed out in all, or when `stop` answers true.
struct MemoryFile {
    const std::vector<uint8_t>* source = nullptr;
    std::vector<uint8_t> bytes;
    int64_t pos = 0;
    int64_t delivered = 0;
    int64_t limit = INT64_MAX;
    bool (*stop)(void*) = nullptr;
    void* stopArg = nullptr;
};

// An I/O context over a MemoryFile (freed with its buffer); null when FFmpeg
// has no memory for it.
struct IoFree {
    void operator()(AVIOContext* io) const;
};
using Io = std::unique_ptr<AVIOContext, IoFree>;
Io OpenMemoryFile(MemoryFile& file, bool forWriting);

// FFmpeg's log goes quiet, once.
void QuietLibraries();

}  // namespace qv::movie
