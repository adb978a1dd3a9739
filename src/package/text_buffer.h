// A buffer for a file's text with readable padding behind it, as the JSON parser needs.
#pragma once

#include <cstddef>

namespace orvane {

// Bytes after the text that the parser may read; they are zero.
inline constexpr std::size_t kTextPadding = 64;

// Owns `size` bytes followed by kTextPadding zero bytes. Large buffers are mapped
// with transparent huge pages: a package of hundreds of megabytes is read into
// fresh memory, and its first touch otherwise costs more than reading and parsing.
// A buffer can also be a read-only view of a file's pages (mapFile), which costs
// neither a copy nor fresh memory.
class TextBuffer {
  public:
    TextBuffer() = default;
    // Throws std::bad_alloc.
    explicit TextBuffer(std::size_t size);
    // The first `size` bytes of the regular file `fd`, mapped read-only with the
    // padding behind them; an empty buffer when the file cannot be mapped. The
    // file must not shrink while the buffer lives: its pages are read in place, and
    // a page lost that way ends the process (see mapped_file_guard.h).
    static TextBuffer mapFile(int fd, std::size_t size);
    ~TextBuffer();
    TextBuffer(TextBuffer&& other) noexcept;
    TextBuffer& operator=(TextBuffer&& other) noexcept;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    // False for a mapped file, whose bytes must not be written.
    bool writable() const { return m_writable; }

  private:
    void release();

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mappedBytes = 0; // 0 when the buffer comes from the heap
    bool m_writable = true;
};

} // namespace orvane
