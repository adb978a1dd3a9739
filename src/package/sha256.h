// SHA-256 of a byte stream, through the system's crypto library (which uses the processor's SHA
// instructions where there are any).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace orvane {

class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const char* data, std::size_t size);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
    // The digest of everything given so far as 64 lower-case hex digits; then starts afresh.
    std::string finishHex();

  private:
    evp_md_ctx_st* m_context;
};

// The SHA-256 of `bytes` as 64 lower-case hex digits.
std::string sha256Hex(std::string_view bytes);

// The digest of the file at `path`, read without following a symbolic link at the path itself;
// nullopt with the system's reason when it cannot be read.
std::optional<std::string> fileSha256(const std::string& path, std::string& reason);

} // namespace orvane
