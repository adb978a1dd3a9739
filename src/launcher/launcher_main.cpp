// The bundle launcher: checks the bundle it heads, extracts it once and runs the engine from there
// under the bundle's name, with every argument passed through. `--bundle-info` lists the contents.
#include "bundle_file.h"
#include "extraction.h"
#include "launcher_error.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane::bundle;

std::string ownPath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw launcherError("Kann die Installationsdatei nicht lesen", "/proc/self/exe",
                            error.message());
    return path.string();
}

void printInfo(const BundleFile& bundle) {
    const Index& index = bundle.index();
    std::uint64_t extracted = 0;
    for (const IndexEntry& entry : index.files)
        extracted += entry.size;
    std::cout << "engine: " << index.engine << " (version " << index.version << ")\n";
    for (const IndexEntry& entry : index.files) {
        if (entry.path == index.package)
            std::cout << "package: " << entry.path << " (" << entry.size << " bytes)\n";
    }
    std::cout << "payload: " << bundle.trailer().payloadSize << " bytes compressed, " << extracted
              << " bytes extracted\n";
    std::cout << "files:\n";
    for (const IndexEntry& entry : index.files)
        std::cout << "  " << entry.path << " (" << entry.size << " bytes)\n";
}

// Replaces this process with the extracted engine; returns only when that fails.
void runEngine(const std::string& folder, const Index& index, int argc, char** argv) {
    // Started as FOLDER/NAME, the engine finds FOLDER/NAME's package beside it.
    std::string engine = folder + "/" + index.engine;
    std::vector<char*> arguments{engine.data()};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    arguments.push_back(nullptr);
    ::execv(engine.c_str(), arguments.data());
    throw launcherError("Kann das Installationsprogramm nicht starten", engine,
                        std::strerror(errno));
}

} // namespace

int main(int argc, char** argv) {
    const std::string name =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "setup";
    try {
        const BundleFile bundle(ownPath());
        if (argc == 2 && std::string_view(argv[1]) == "--bundle-info") {
            printInfo(bundle);
            return 0;
        }
        runEngine(extractedFolder(bundle), bundle.index(), argc, argv);
    } catch (const std::exception& error) { // a LauncherError, or out of memory
        std::cerr << name << ": " << error.what() << "\n";
    }
    return 1;
}
