// Base64 encoding for packages.
#include "base64_writer.h"

#include <string>

namespace orvane {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Line length of wrapped Base64 (the usual MIME width).
constexpr std::size_t kLineLength = 76;
// Encoded text is collected and written in blocks of about this size.
constexpr std::size_t kBlockSize = 1 << 16;

void encodeGroup(const unsigned char* in, char* out) {
    out[0] = kAlphabet[in[0] >> 2];
    out[1] = kAlphabet[((in[0] & 0x03) << 4) | (in[1] >> 4)];
    out[2] = kAlphabet[((in[1] & 0x0F) << 2) | (in[2] >> 6)];
    out[3] = kAlphabet[in[2] & 0x3F];
}

} // namespace

void Base64Writer::putQuad(const char quad[4]) {
    m_buffer.append(quad, 4);
    m_lineLength += 4;
    if (m_lineLength == kLineLength) {
        m_buffer += "\\n";
        m_lineLength = 0;
    }
    if (m_buffer.size() >= kBlockSize)
        flush();
}

void Base64Writer::flush() {
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

void Base64Writer::write(std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    while (m_pendingCount > 0 && m_pendingCount < 3 && left > 0) {
        m_pending[m_pendingCount++] = *in++;
        --left;
    }
    char quad[4];
    if (m_pendingCount == 3) {
        encodeGroup(m_pending, quad);
        putQuad(quad);
        m_pendingCount = 0;
    }
    while (left >= 3) {
        encodeGroup(in, quad);
        putQuad(quad);
        in += 3;
        left -= 3;
    }
    for (; left > 0; --left)
        m_pending[m_pendingCount++] = *in++;
}

void Base64Writer::finish() {
    if (m_pendingCount == 0) {
        flush();
        return;
    }
    const unsigned char second = m_pendingCount > 1 ? m_pending[1] : 0;
    const unsigned char last[3] = {m_pending[0], second, 0};
    char quad[4];
    encodeGroup(last, quad);
    if (m_pendingCount == 1)
        quad[2] = '=';
    quad[3] = '=';
    putQuad(quad);
    m_pendingCount = 0;
    flush();
}

} // namespace orvane
