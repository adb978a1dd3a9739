// Writing a file on a second thread while the caller produces the next piece.
#pragma once

#include "atomic_file.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace orvane {

// Hands pieces of a file to a writer thread, so that producing a piece (decoding it) and writing
// the one before overlap. The caller takes a free buffer, fills it and submits it; the writer
// thread appends the buffers to the file in the order they were submitted. A few buffers circulate,
// so memory stays at their size however large the file is.
//
// After a failed write the thread writes nothing more; submit() then returns false and finish()
// gives the reason. The file itself belongs to the caller, who must not touch it between creating
// the writer and finish() (or its destruction, which stops the thread).
class BackgroundWriter {
  public:
    BackgroundWriter(ReplacementFile& file, std::size_t bufferBytes);
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // A free buffer to fill; waits while all buffers are queued for writing.
    std::span<char> buffer();
    // Queues the first `size` bytes of the buffer from buffer(); false once a write has failed.
    bool submit(std::size_t size);
    // Waits until everything queued is written; false with the reason of the first failed write.
    bool finish(std::string& reason);

  private:
    struct Piece {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
    };

    void run();

    ReplacementFile& m_file;
    std::size_t m_bufferBytes;
    std::vector<Piece> m_pieces;
    std::deque<std::size_t> m_free;   // pieces the caller may fill
    std::deque<std::size_t> m_queued; // pieces waiting for the writer, oldest first
    std::size_t m_filling = 0;        // the piece the caller is filling
    bool m_writing = false;           // the writer holds a piece
    bool m_failed = false;
    bool m_stop = false;
    std::string m_reason;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread; // last: starts once everything above exists
};

} // namespace orvane
