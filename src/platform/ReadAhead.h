#pragma once
// Files read ahead of need, on a thread of their own, so that whoever asks
// for one finds its bytes in memory instead of waiting on the disk.
//
// A copy is handed out only while the file on disk is still the one that was
// read (the same file, size and time of change; the game replaces its files
// whole and never writes into one): a file replaced meanwhile,
// one never asked for ahead, or one whose reading failed is read there and
// then, with the errors of ReadWholeFile. Only bytes are read on the thread;
// what they hold is made by the one who asks, on its own thread.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"

namespace qv {

class ReadAhead {
public:
    ReadAhead() = default;
    // Lets the read under way end and drops every copy.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The files wanted next, by the game's names: those not read yet, or
    // replaced since they were, are read in this order; copies of files no
    // longer named are dropped.
    void Want(const std::vector<std::string>& names);
    // The whole file, as ReadWholeFile gives it: the copy read ahead when it
    // still holds (waiting for a read under way), else read now. The copy
    // stays until a wish leaves the file out.
    std::vector<uint8_t> Read(const std::string& name);
    // Waits until every file wanted has been read (or has failed).
    void WaitIdle();

    // Files handed out from a copy, and files read when asked.
    int64_t Hits() const { return m_hits; }
    int64_t Misses() const { return m_misses; }

private:
    // What a file was when it was read.
    using Identity = FileIdentity;
    enum class State { Queued, Reading, Ready, Failed };
    struct Entry {
        State state = State::Queued;
        std::vector<uint8_t> bytes;
        Identity identity;
    };
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Entry> m_entries;
    std::vector<std::string> m_queue;  // names to read, first first
    std::thread m_thread;              // started with the first wish
    bool m_stop = false;
    int64_t m_hits = 0;
    int64_t m_misses = 0;
};

}  // namespace qv
