// The writer thread and the buffers it shares with the caller.
#include "background_writer.h"

namespace orvane {

namespace {

// Three buffers: one being filled, one being written, one ready in between, which is enough to
// keep both threads busy when they run at about the same speed.
constexpr std::size_t kPieceCount = 3;

} // namespace

BackgroundWriter::BackgroundWriter(ReplacementFile& file, std::size_t bufferBytes)
    : m_file(file), m_bufferBytes(bufferBytes), m_pieces(kPieceCount) {
    for (std::size_t k = 0; k < m_pieces.size(); ++k) {
        m_pieces[k].data = std::make_unique_for_overwrite<char[]>(bufferBytes);
        m_free.push_back(k);
    }
    m_thread = std::thread([this] { run(); });
}

BackgroundWriter::~BackgroundWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::span<char> BackgroundWriter::buffer() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_free.empty(); });
    m_filling = m_free.front();
    m_free.pop_front();
    return {m_pieces[m_filling].data.get(), m_bufferBytes};
}

bool BackgroundWriter::submit(std::size_t size) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_failed) {
            m_free.push_back(m_filling);
            return false;
        }
        m_pieces[m_filling].size = size;
        m_queued.push_back(m_filling);
    }
    m_changed.notify_all();
    return true;
}

bool BackgroundWriter::finish(std::string& reason) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queued.empty() && !m_writing; });
    reason = m_reason;
    return !m_failed;
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_queued.empty(); });
        if (m_queued.empty())
            return; // stopped with nothing left to write
        const std::size_t index = m_queued.front();
        m_queued.pop_front();
        m_writing = true;
        const bool skip = m_failed || m_stop;
        lock.unlock();
        std::string reason;
        const bool written =
            skip || m_file.write({m_pieces[index].data.get(), m_pieces[index].size}, reason);
        lock.lock();
        m_writing = false;
        if (!written && !m_failed) {
            m_failed = true;
            m_reason = reason;
        }
        m_free.push_back(index);
        m_changed.notify_all();
    }
}

} // namespace orvane
