// Padded text buffers: heap for small ones, huge-page mappings for large ones.
#include "text_buffer.h"

#include "mapped_file_guard.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace orvane {

namespace {
// From this size on a mapping pays off: one transparent huge page is 2 MiB.
constexpr std::size_t kMapFrom = std::size_t{4} << 20;
} // namespace

TextBuffer::TextBuffer(std::size_t size) : m_size(size) {
    if (size > static_cast<std::size_t>(-1) - kTextPadding)
        throw std::bad_alloc();
    const std::size_t total = size + kTextPadding;
    if (total < kMapFrom) {
        m_data = new char[total];
        std::memset(m_data + size, 0, kTextPadding);
        return;
    }
    void* mapped =
        ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(mapped, total, MADV_HUGEPAGE); // a hint; without huge pages all still works
    m_data = static_cast<char*>(mapped);     // anonymous pages start out zero
    m_mappedBytes = total;
}

namespace {

// Every page is read once, front to back: populating the mapping up front spares
// a fault per few pages. It also reads the file now, so that a read error gives
// the reader's error text (the file is then read the usual way) rather than a
// SIGBUS on first touch. Kernels before 5.14 do not know the request; their pages
// are read on first touch.
bool populate(void* mapped, std::size_t size) {
    return ::madvise(mapped, size, MADV_POPULATE_READ) == 0 || errno == EINVAL;
}

} // namespace

// Reserves the whole length, padding included, as zero pages and maps the file
// over its beginning: the padding then reads as zeros even when the file ends
// exactly at a page boundary, where a plain file mapping would end too.
TextBuffer TextBuffer::mapFile(int fd, std::size_t size) {
    TextBuffer buffer;
    // Whole pages: the file's mapping covers the whole of its last page, and must not
    // reach past the reservation.
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    if (size == 0 || size > static_cast<std::size_t>(-1) - kTextPadding - page)
        return buffer;
    const std::size_t total = (size + kTextPadding + page - 1) / page * page;
    void* reserved = ::mmap(nullptr, total, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (reserved == MAP_FAILED)
        return buffer;
    void* mapped = ::mmap(reserved, size, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0);
    if (mapped == MAP_FAILED || !populate(mapped, size)) {
        ::munmap(reserved, total);
        return buffer;
    }
    buffer.m_data = static_cast<char*>(mapped);
    buffer.m_size = size;
    buffer.m_mappedBytes = total;
    buffer.m_writable = false;
    guardMappedRange(buffer.m_data, total);
    return buffer;
}

TextBuffer::~TextBuffer() {
    release();
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mappedBytes(std::exchange(other.m_mappedBytes, 0)),
      m_writable(std::exchange(other.m_writable, true)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mappedBytes = std::exchange(other.m_mappedBytes, 0);
        m_writable = std::exchange(other.m_writable, true);
    }
    return *this;
}

void TextBuffer::release() {
    if (!m_writable)
        unguardMappedRange(m_data);
    if (m_mappedBytes != 0)
        ::munmap(m_data, m_mappedBytes);
    else
        delete[] m_data;
    m_data = nullptr;
    m_size = 0;
    m_mappedBytes = 0;
    m_writable = true;
}

} // namespace orvane
