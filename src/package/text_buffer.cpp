// Padded text buffers: heap for small ones, huge-page mappings for large ones.
#include "text_buffer.h"

#include <cstring>
#include <new>
#include <sys/mman.h>
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

TextBuffer::~TextBuffer() {
    release();
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mappedBytes(std::exchange(other.m_mappedBytes, 0)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mappedBytes = std::exchange(other.m_mappedBytes, 0);
    }
    return *this;
}

void TextBuffer::release() {
    if (m_mappedBytes != 0)
        ::munmap(m_data, m_mappedBytes);
    else
        delete[] m_data;
    m_data = nullptr;
    m_size = 0;
    m_mappedBytes = 0;
}

} // namespace orvane
