// SHA-256 on OpenSSL's EVP interface.
#include "sha256.h"

#include <openssl/evp.h>

#include <new>

namespace orvane {

namespace {

void start(EVP_MD_CTX* context) {
    if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
}

} // namespace

Sha256::Sha256() : m_context(EVP_MD_CTX_new()) {
    if (m_context == nullptr)
        throw std::bad_alloc();
    start(m_context);
}

Sha256::~Sha256() {
    EVP_MD_CTX_free(m_context);
}

void Sha256::update(const char* data, std::size_t size) {
    if (size > 0)
        EVP_DigestUpdate(m_context, data, size);
}

std::string Sha256::finishHex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context, digest, &length);
    start(m_context);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int k = 0; k < length; ++k) {
        hex += kDigits[digest[k] >> 4];
        hex += kDigits[digest[k] & 15];
    }
    return hex;
}

std::string sha256Hex(std::string_view bytes) {
    Sha256 hash;
    hash.update(bytes);
    return hash.finishHex();
}

} // namespace orvane
