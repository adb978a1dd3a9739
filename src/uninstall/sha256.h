// SHA-256 digests, fed piece by piece, as lower-case hex.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// A running SHA-256 (libcrypto's EVP interface, which uses the processor's SHA instructions).
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::string_view bytes);
    // The digest of everything fed so far as 64 lower-case hex digits; ends this digest.
    std::string finishHex();

  private:
    struct Context;
    std::unique_ptr<Context> m_context;
};

// The digest of the file at `path`, read without following a symbolic link at the path itself;
// nullopt with the system's reason when it cannot be read.
std::optional<std::string> fileSha256(const std::string& path, std::string& reason);

} // namespace orvane
