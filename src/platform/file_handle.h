// A file descriptor that is closed at the end of its owner's scope.
#pragma once

#include <unistd.h>

namespace orvane {

class FileHandle {
  public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    // The descriptor; negative when the open failed.
    int fd() const { return m_fd; }

  private:
    int m_fd;
};

} // namespace orvane
