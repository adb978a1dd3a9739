// Reads every embedded file of a package as the engine would (decoded, decompressed, checked
// against "size" and "sha256"), checks the script, and prints one line per file and a summary.
#include "verify_command.h"

#include "base64_decoder.h"
#include "package_document.h"
#include "package_file.h"
#include "script_check.h"
#include "script_error.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr int kExitProblems = 1;

// What one element of "binfiles" turned out to be.
struct ElementReport {
    std::string id = "-";
    std::string size = "-";
    std::string stored = "-";
    std::string problem; // empty when the file is intact
};

ElementReport verifyElement(const PackageDocument& package, std::size_t index) {
    const std::string element = "binfiles[" + std::to_string(index) + "]";
    ElementReport report;
    try {
        report.id = package.packageString(element + ".id");
        const PackedFile file = package.packedFile(element + ".bin");
        report.stored = std::to_string(decodedBase64Size(file.base64));
        const std::unique_ptr<ByteSource> source = openPackedFile(file);
        std::string piece(1 << 20, '\0');
        std::uint64_t size = 0;
        while (const std::size_t got = source->read(piece.data(), piece.size()))
            size += got;
        report.size = std::to_string(size);
    } catch (const ScriptError& e) {
        report.problem = e.what();
    }
    return report;
}

// The number of elements of "binfiles"; a package without it embeds nothing.
std::size_t elementCount(const PackageDocument& package) {
    if (!package.find("binfiles"))
        return 0;
    return package.packageArray("binfiles").size();
}

std::string scriptProblem(const PackageDocument& package, const std::string& packagePath) {
    try {
        return firstScriptProblem(packagePath, package.packageString("programfile"));
    } catch (const ScriptError& e) {
        return e.what();
    }
}

int verify(const std::string& packagePath) {
    LoadedJson loaded = loadPackageFile(packagePath);
    if (!loaded.document) {
        std::cerr << "orvane verify: " << packagePath << ": " << loaded.error << '\n';
        return kExitProblems;
    }
    const PackageDocument package(std::move(loaded.document));
    std::size_t problems = 0;
    const std::string script = scriptProblem(package, packagePath);
    std::cout << "script: " << (script.empty() ? "ok" : script) << '\n';
    problems += script.empty() ? 0 : 1;
    std::size_t count = 0;
    try {
        count = elementCount(package);
    } catch (const ScriptError& e) {
        std::cout << "binfiles: " << e.what() << '\n';
        ++problems;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const ElementReport report = verifyElement(package, k);
        std::cout << report.id << '\t' << report.size << '\t' << report.stored << '\t'
                  << (report.problem.empty() ? "ok" : report.problem) << '\n';
        problems += report.problem.empty() ? 0 : 1;
    }
    std::cout << packagePath << ": " << count << " file(s), "
              << (problems == 0 ? "all intact" : std::to_string(problems) + " problem(s)") << '\n';
    return problems == 0 ? 0 : kExitProblems;
}

} // namespace

void addVerifyCommand(CLI::App& orvane, int& status) {
    auto package = std::make_shared<std::string>();
    CLI::App* command = orvane.add_subcommand(
        "verify", "Check that a package's files arrive intact and its script passes the check");
    command->add_option("PACKAGE", *package, "The package to verify")->required();
    command->callback([package, &status] { status = verify(*package); });
}

} // namespace orvane
