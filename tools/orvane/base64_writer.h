// Streaming Base64 encoding into a JSON string, wrapped into 76-character lines.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace orvane {

// Encodes bytes given chunk by chunk; after every 76 characters it writes the JSON
// escape "\n", so the text stays readable and decodes to the same bytes.
class Base64Writer {
  public:
    explicit Base64Writer(std::ostream& out) : m_out(out) {}

    void write(std::string_view bytes);
    // Encodes the last one or two bytes with "=" fill.
    void finish();

  private:
    void putQuad(const char quad[4]);
    void flush();

    std::ostream& m_out;
    std::string m_buffer; // encoded text not yet written
    unsigned char m_pending[3] = {};
    std::size_t m_pendingCount = 0;
    std::size_t m_lineLength = 0;
};

} // namespace orvane
