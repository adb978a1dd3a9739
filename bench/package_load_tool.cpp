// Loads an install package as the engine does and looks up "programfile"; prints the time taken.
#include "package_document.h"
#include "package_file.h"
#include "script_error.h"

#include <chrono>
#include <cstdio>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: package_load_tool PACKAGE\n");
        return 2;
    }
    struct stat info {};
    const double megabytes = ::stat(argv[1], &info) == 0 ? info.st_size / 1e6 : 0.0;
    const auto start = std::chrono::steady_clock::now();
    orvane::LoadedJson loaded = orvane::loadPackageFile(argv[1]);
    const orvane::PackageDocument package(std::move(loaded.document));
    std::size_t scriptBytes = 0;
    try {
        scriptBytes = package.packageString("programfile").size();
    } catch (const orvane::ScriptError& error) {
        std::fprintf(stderr, "%s\n%s\n", loaded.error.c_str(), error.what());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("loaded %.1f MB in %.3f s (%.0f MB/s); programfile has %zu bytes\n", megabytes,
                seconds, megabytes / seconds, scriptBytes);
    return 0;
}
