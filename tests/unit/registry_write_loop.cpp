// Test helper: writes COUNT values into HKEY_CURRENT_USER\Software\WriteLoop of the store in
// $ORVANE_REGISTRY_DIR, named PREFIX + index with the index as data. Prints its process id, then
// each index on its own line once its write has been committed. Exits 1 on a failed write.
#include "registry_store.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: registry_write_loop COUNT PREFIX\n");
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    const std::string prefix = argv[2];
    orvane::RegistryStore store(orvane::registryFilesFromEnvironment());
    std::printf("%ld\n", static_cast<long>(::getpid()));
    std::fflush(stdout);
    for (long i = 0; i < count; ++i) {
        const std::string index = std::to_string(i);
        const auto status = store.writeString(orvane::Hive::CurrentUser, "\\Software\\WriteLoop",
                                              prefix + index, index);
        if (!status.ok) {
            std::fprintf(stderr, "%s\n", status.error.c_str());
            return 1;
        }
        // Unbuffered, so every printed index has reached the reader before the next write starts.
        const std::string line = index + '\n';
        if (::write(STDOUT_FILENO, line.data(), line.size()) < 0)
            return 1;
    }
    return 0;
}
