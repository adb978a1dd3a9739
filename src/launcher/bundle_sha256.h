// SHA-256 over data given piece by piece.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include <openssl/sha.h>

namespace orvane::bundle {

using Digest = std::array<unsigned char, 32>;

// Uses libcrypto's SHA256_* functions: the launcher links them from libcrypto.a, where they take
// only the hash code and the processor check (no providers), and they use the SHA extensions.
class Sha256 {
  public:
    Sha256();
    void update(const void* data, std::size_t size);
    Digest finish();

  private:
    SHA256_CTX m_context;
};

// 64 lower-case hex digits.
std::string toHex(const Digest& digest);

} // namespace orvane::bundle
