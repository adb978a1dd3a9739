// Mapping and checking a bundle file.
#include "bundle_file.h"

#include "launcher_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::bundle {

BundleFile::BundleFile(const std::string& path) : m_path(path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw launcherError("Kann die Installationsdatei nicht lesen", path, std::strerror(error));
    }
    m_size = static_cast<std::size_t>(info.st_size);
    void* mapped =
        m_size == 0 ? MAP_FAILED : ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        damaged("unvollständig");
    m_bytes = static_cast<const char*>(mapped);

    const std::string_view whole(m_bytes, m_size);
    const auto trailer =
        decodeTrailer(whole.substr(m_size - std::min(m_size, kTrailerSize)), m_size);
    if (!trailer)
        damaged("unvollständig");
    m_trailer = *trailer;
    const std::string_view checked =
        whole.substr(m_trailer.payloadOffset, m_trailer.payloadSize + m_trailer.indexSize);
    Sha256 hash;
    hash.update(checked.data(), checked.size());
    if (hash.finish() != m_trailer.sha256)
        damaged("Prüfsumme stimmt nicht");
    const auto index = parseIndex(checked.substr(m_trailer.payloadSize));
    if (!index)
        damaged("Inhaltsverzeichnis unlesbar");
    m_index = *index;
}

BundleFile::~BundleFile() {
    if (m_bytes != nullptr)
        ::munmap(const_cast<char*>(m_bytes), m_size);
}

std::string_view BundleFile::payload() const {
    return std::string_view(m_bytes, m_size).substr(m_trailer.payloadOffset, m_trailer.payloadSize);
}

void BundleFile::damaged(const std::string& reason) const {
    throw launcherError("Installationsdatei beschädigt", m_path, reason);
}

} // namespace orvane::bundle
