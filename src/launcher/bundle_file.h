// A bundle file mapped into memory, its trailer and index checked.
#pragma once

#include "bundle_layout.h"

#include <string>
#include <string_view>

namespace orvane::bundle {

class BundleFile {
  public:
    // Maps the file at `path` and checks trailer, SHA-256 and index; throws LauncherError
    // ("Installationsdatei beschädigt: ...") when any of them is wrong.
    explicit BundleFile(const std::string& path);
    ~BundleFile();
    BundleFile(const BundleFile&) = delete;
    BundleFile& operator=(const BundleFile&) = delete;

    const std::string& path() const { return m_path; }
    const Trailer& trailer() const { return m_trailer; }
    const Index& index() const { return m_index; }
    std::string_view payload() const;
    // Reports the bundle as damaged, giving `reason`.
    [[noreturn]] void damaged(const std::string& reason) const;

  private:
    std::string m_path;
    const char* m_bytes = nullptr;
    std::size_t m_size = 0;
    Trailer m_trailer;
    Index m_index;
};

} // namespace orvane::bundle
