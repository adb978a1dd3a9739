// Writing a bundle file.
#include "bundle_writer.h"

#include <zstd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>

namespace orvane {

namespace {

namespace fs = std::filesystem;

// Writes to the output file and hashes what it writes after the launcher.
class BundleOutput {
  public:
    explicit BundleOutput(const std::string& path) : m_path(path), m_out(path, std::ios::binary) {
        if (!m_out)
            fail();
    }

    void write(const char* data, std::size_t size, bool hashed = true) {
        if (!m_out.write(data, static_cast<std::streamsize>(size)))
            fail();
        if (hashed)
            m_hash.update(data, size);
        m_written += size;
    }

    std::uint64_t written() const { return m_written; }
    bundle::Digest digest() { return m_hash.finish(); }

    void close() {
        m_out.close();
        if (!m_out)
            fail();
    }

  private:
    [[noreturn]] void fail() const {
        throw std::runtime_error(m_path + ": " + std::strerror(errno));
    }

    std::string m_path;
    std::ofstream m_out;
    bundle::Sha256 m_hash;
    std::uint64_t m_written = 0;
};

// One zstd stream over all files, written to a BundleOutput as it fills.
class Compressor {
  public:
    Compressor(BundleOutput& out, int level)
        : m_out(out), m_context(ZSTD_createCCtx(), ZSTD_freeCCtx), m_buffer(ZSTD_CStreamOutSize()) {
        ZSTD_CCtx_setParameter(m_context.get(), ZSTD_c_compressionLevel, level);
        // Without threading in the library this fails and compression runs on one core.
        ZSTD_CCtx_setParameter(m_context.get(), ZSTD_c_nbWorkers,
                               static_cast<int>(std::thread::hardware_concurrency()));
    }

    void add(const char* data, std::size_t size) { run(data, size, ZSTD_e_continue); }
    void finish() { run(nullptr, 0, ZSTD_e_end); }

  private:
    void run(const char* data, std::size_t size, ZSTD_EndDirective mode) {
        ZSTD_inBuffer input{data, size, 0};
        for (bool done = false; !done;) {
            ZSTD_outBuffer output{m_buffer.data(), m_buffer.size(), 0};
            const std::size_t left = ZSTD_compressStream2(m_context.get(), &output, &input, mode);
            if (ZSTD_isError(left))
                throw std::runtime_error(std::string("zstd: ") + ZSTD_getErrorName(left));
            m_out.write(m_buffer.data(), output.pos);
            done = mode == ZSTD_e_end ? left == 0 : input.pos == input.size;
        }
    }

    BundleOutput& m_out;
    std::unique_ptr<ZSTD_CCtx, std::size_t (*)(ZSTD_CCtx*)> m_context;
    std::vector<char> m_buffer;
};

// Calls `use(data, size)` on each piece of the file at `path`, in order.
template <typename Use> void readInPieces(const std::string& path, Use use) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": " + std::strerror(errno));
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        use(buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw std::runtime_error(path + ": cannot read");
}

// Compresses one item; its size in the index is what was actually read.
bundle::IndexEntry addItem(const BundleItem& item, Compressor& compressor) {
    bundle::IndexEntry entry{item.path, 0, item.executable};
    const auto add = [&](const char* data, std::size_t size) {
        compressor.add(data, size);
        entry.size += size;
    };
    if (item.source.empty())
        add(item.text.data(), item.text.size());
    else
        readInPieces(item.source, add);
    return entry;
}

} // namespace

void writeBundle(const std::string& output, const std::string& launcher,
                 const std::vector<BundleItem>& items, bundle::Index index, int level) {
    const std::string temporary = output + ".part";
    try {
        BundleOutput out(temporary);
        readInPieces(launcher,
                     [&](const char* data, std::size_t size) { out.write(data, size, false); });
        bundle::Trailer trailer;
        trailer.payloadOffset = out.written();
        Compressor compressor(out, level);
        for (const BundleItem& item : items)
            index.files.push_back(addItem(item, compressor));
        compressor.finish();
        trailer.payloadSize = out.written() - trailer.payloadOffset;
        const std::string indexText = bundle::formatIndex(index);
        out.write(indexText.data(), indexText.size());
        trailer.indexSize = indexText.size();
        trailer.sha256 = out.digest();
        const std::string trailerBytes = bundle::encodeTrailer(trailer);
        out.write(trailerBytes.data(), trailerBytes.size(), false);
        out.close();
        fs::permissions(temporary, fs::perms(0755));
        fs::rename(temporary, output);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

} // namespace orvane
