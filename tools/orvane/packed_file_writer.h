// Writing one embedded file of a package: its size and SHA-256, and its bytes in Base64, compressed
// with zstd when that pays.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

struct ZSTD_CCtx_s;

namespace orvane {

struct CompressionSettings {
    bool compress = true;
    int level = 19;
};

// A file is stored compressed only when that saves at least this share of it (in percent).
inline constexpr std::uint64_t kMinimumSavingPercent = 5;

class PackedFileWriter {
  public:
    // `scratchFolder` holds the compressed copy of a file while its element is written.
    PackedFileWriter(CompressionSettings settings, std::string scratchFolder);
    ~PackedFileWriter();
    PackedFileWriter(const PackedFileWriter&) = delete;
    PackedFileWriter& operator=(const PackedFileWriter&) = delete;

    // Writes {"id": ID, "size": N, "sha256": HEX[, "compression": "zstd"], "bin": BASE64} for the
    // file at `path`, reading it twice (once to hash and compress it, once to encode what is
    // stored) and never holding it whole. False with `error` set when it cannot be read.
    bool write(std::ostream& out, const std::string& id, const std::string& path,
               std::string& error);

  private:
    struct Scan;
    bool scan(int input, int scratch, Scan& result, std::string& error);
    bool compressPiece(const char* data, std::size_t size, bool last, int scratch, Scan& result,
                       std::string& error);

    CompressionSettings m_settings;
    std::string m_scratchFolder;
    ZSTD_CCtx_s* m_context = nullptr;
    std::unique_ptr<char[]> m_input;
    std::unique_ptr<char[]> m_output;
};

} // namespace orvane
