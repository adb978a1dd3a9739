// `orvane bundle`: finds the engine and the launcher, chooses the contents and writes the bundle.
#include "bundle_command.h"

#include "bundle_contents.h"
#include "bundle_writer.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace orvane {

namespace {

namespace fs = std::filesystem;

// zstd's strongest level short of its "ultra" levels, which need far more memory to unpack; a
// bundle is written once and unpacked on every user's machine.
constexpr int kDefaultLevel = 19;

struct BundleOptions {
    std::string output;
    std::string package;
    int level = kDefaultLevel;
};

// An installed `orvane` has the engine and the launcher beside it; in the build tree they are
// where the build put them.
std::string companionFile(const std::string& name, const std::string& builtAt) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const fs::path beside = self.parent_path() / name;
    return !error && fs::is_regular_file(beside) ? beside.string() : builtAt;
}

// PACKAGE without ".ovsp", plus "-setup".
std::string defaultOutput(const std::string& package) {
    fs::path path(package);
    if (path.extension() == ".ovsp")
        path.replace_extension();
    return path.string() + "-setup";
}

int writeBundleFile(const BundleOptions& options) {
    const std::string output =
        options.output.empty() ? defaultOutput(options.package) : options.output;
    const std::string name = fs::path(output).filename().string();
    if (!bundle::isSafeRelativePath(name))
        throw std::runtime_error(output + ": not a file name for a bundle");
    if (!fs::is_regular_file(options.package))
        throw std::runtime_error(options.package + ": no such package file");
    const std::string engine = companionFile("orvane-setup", ORVANE_ENGINE_FILE);
    const auto items = bundleItems(engine, name, options.package);
    if (items[0].path == items[1].path) // NAME.ovsp would be the engine and its package at once
        throw std::runtime_error(output + ": a bundle's name must not end in .ovsp");
    bundle::Index index{ORVANE_VERSION, items[0].path, items[1].path, {}};
    writeBundle(output, companionFile("orvane-launcher", ORVANE_LAUNCHER_FILE), items, index,
                options.level);
    std::cout << output << "\n";
    return 0;
}

} // namespace

void addBundleCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<BundleOptions>();
    CLI::App* command = orvane.add_subcommand(
        "bundle", "Build one executable file holding the engine, its libraries and a package");
    command->add_option("-o", options->output,
                        "The bundle to write (default: the package's name without .ovsp, plus "
                        "-setup)");
    command->add_option("--level", options->level, "The zstd compression level")
        ->check(CLI::Range(1, 19));
    command->add_option("PACKAGE", options->package, "The install package")->required();
    command->callback([options, &status] {
        try {
            status = writeBundleFile(*options);
        } catch (const std::exception& error) {
            std::cerr << "orvane bundle: " << error.what() << "\n";
            status = 1;
        }
    });
}

} // namespace orvane
