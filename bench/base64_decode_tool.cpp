// Decodes a Base64 file into a file through the engine's streaming decoder, chunk by chunk.
#include "base64_decoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// The read size: large enough that system calls cost nothing, small enough for the cache.
constexpr std::size_t kChunk = 1 << 20;

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

int fail(const char* what, const char* path) {
    std::fprintf(stderr, "base64_decode_tool: %s %s: %s\n", what, path, std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: base64_decode_tool IN OUT\n");
        return 2;
    }
    const int in = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return fail("cannot open", argv[1]);
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0)
        return fail("cannot create", argv[2]);
    std::vector<char> text(kChunk);
    std::vector<char> bytes(orvane::Base64Decoder::maxDecodedSize(kChunk) +
                            orvane::Base64Decoder::kMaxFinishBytes);
    orvane::Base64Decoder decoder;
    for (;;) {
        const ssize_t got = ::read(in, text.data(), text.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail("cannot read", argv[1]);
        if (got == 0)
            break;
        const std::size_t size =
            decoder.decode({text.data(), static_cast<std::size_t>(got)}, bytes.data());
        if (!writeAll(out, bytes.data(), size))
            return fail("cannot write", argv[2]);
    }
    const std::size_t tail = decoder.finish(bytes.data());
    if (!writeAll(out, bytes.data(), tail) || ::close(out) != 0)
        return fail("cannot write", argv[2]);
    ::close(in);
    return 0;
}
