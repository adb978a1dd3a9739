// SHA-256 through libcrypto's low-level interface.
// The low-level calls are deprecated in favour of EVP, whose provider machinery would make the
// statically linked launcher several times larger for the same hash.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "bundle_sha256.h"

namespace orvane::bundle {

Sha256::Sha256() {
    SHA256_Init(&m_context);
}

void Sha256::update(const void* data, std::size_t size) {
    SHA256_Update(&m_context, data, size);
}

Digest Sha256::finish() {
    Digest digest{};
    SHA256_Final(digest.data(), &m_context);
    return digest;
}

std::string toHex(const Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

} // namespace orvane::bundle
