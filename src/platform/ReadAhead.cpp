#include "platform/ReadAhead.h"

#include <algorithm>

#include "platform/Files.h"

namespace qv {

ReadAhead::~ReadAhead() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void ReadAhead::Want(const std::vector<std::string>& names) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // A copy no longer wanted goes; a read under way ends and is dropped
        // by the thread.
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            const bool wanted = std::find(names.begin(), names.end(), it->first) != names.end();
            if (!wanted && it->second.state != State::Reading)
                it = m_entries.erase(it);
            else
                ++it;
        }
        m_queue.clear();
        for (const std::string& name : names) {
            auto [it, made] = m_entries.try_emplace(name);
            Entry& entry = it->second;
            // A copy whose file was replaced since (a land written back as it
            // left the window) is read again.
            Identity now;
            if (entry.state == State::Ready &&
                (!IdentifyFile(name, &now) || !(now == entry.identity))) {
                entry = Entry{};
            }
            if (made || entry.state == State::Queued) m_queue.push_back(name);
        }
        if (m_queue.empty()) return;
        if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
    }
    m_changed.notify_all();
}

void ReadAhead::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) return;
        const std::string name = m_queue.front();
        m_queue.erase(m_queue.begin());
        auto it = m_entries.find(name);
        if (it == m_entries.end() || it->second.state != State::Queued) continue;
        it->second.state = State::Reading;
        lock.unlock();
        Entry read;
        read.state = State::Failed;
        try {
            // The identity before the bytes: a file replaced while it is read
            // shows a newer one than its copy's when it is asked for.
            if (IdentifyFile(name, &read.identity)) {
                read.bytes = ReadWholeFile(name);
                read.state = State::Ready;
            }
        } catch (const FileError&) {
            read.bytes.clear();
        }
        lock.lock();
        it = m_entries.find(name);
        if (it != m_entries.end() && it->second.state == State::Reading)
            it->second = std::move(read);
        m_changed.notify_all();
    }
}

std::vector<uint8_t> ReadAhead::Read(const std::string& name) {
    Entry entry;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto it = m_entries.find(name);
        if (it != m_entries.end() && it->second.state == State::Reading)
            m_changed.wait(lock, [&] {
                it = m_entries.find(name);
                return it == m_entries.end() || it->second.state != State::Reading;
            });
        if (it != m_entries.end() && it->second.state == State::Ready) {
            // The copy stays while wanted: several lands may name one picture.
            entry.state = State::Ready;
            entry.identity = it->second.identity;
            entry.bytes = it->second.bytes;
        } else if (it != m_entries.end()) {
            // Queued or failed: it is read here.
            m_entries.erase(it);
            std::erase(m_queue, name);
        }
    }
    Identity now;
    if (entry.state == State::Ready && IdentifyFile(name, &now) && now == entry.identity) {
        ++m_hits;
        return std::move(entry.bytes);
    }
    ++m_misses;
    if (entry.state == State::Ready) {
        // The file was replaced after it was read: its copy goes.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (auto it = m_entries.find(name); it != m_entries.end() &&
                                            it->second.state == State::Ready &&
                                            it->second.identity == entry.identity)
            m_entries.erase(it);
    }
    return ReadWholeFile(name);
}

void ReadAhead::WaitIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] {
        return m_queue.empty() &&
               std::none_of(m_entries.begin(), m_entries.end(),
                            [](const auto& e) { return e.second.state == State::Reading; });
    });
}

}  // namespace qv
