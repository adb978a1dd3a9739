// The uninstall and repair commands on the registry store and the desktop of this user.
#include "uninstall_command.h"

#include "install_record.h"
#include "linux_shell.h"
#include "package_file.h"
#include "package_lookup.h"
#include "path_safety.h"
#include "registry_store.h"
#include "repair.h"
#include "terminal_uninstall.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr const char* kDataHelp =
    "The uninstall data the installer saved (its manifest is beside it as P.manifest)";

int uninstall(const UninstallOptions& options) {
    RegistryStore store(registryFilesFromEnvironment());
    LinuxShell shell;
    UninstallContext context{store, protectedFolders(shell)};
    return runTerminalUninstall(options, context, std::cin, std::cout, std::cerr);
}

int repair(const std::string& uninstallData, const std::string& packagePath) {
    std::string error;
    auto record = loadInstallRecord(uninstallData, error);
    if (!record) {
        std::cerr << error << '\n';
        return 1;
    }
    LoadedJson loaded = loadPackageFile(packagePath);
    if (!loaded.document) {
        std::cerr << "Paket " << packagePath << " nicht lesbar: " << loaded.error << '\n';
        return 1;
    }
    const PackageDocument document(std::move(loaded.document));
    const PackageLookup package(document);
    LinuxShell shell;
    std::string report;
    const int status = repairInstallation(*record, package, protectedFolders(shell), report);
    std::cout << report;
    return status;
}

} // namespace

void addUninstallCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<UninstallOptions>();
    CLI::App* command = orvane.add_subcommand(
        "uninstall", "Remove what an installation made, keeping what was changed since");
    command->add_option("P", options->uninstallData, kDataHelp)->required();
    command->add_flag("--dry-run", options->dryRun, "Print the plan and change nothing");
    command->add_flag("--yes", options->yes, "Do not ask before uninstalling");
    command->add_flag("--json", options->json, "Print one JSON object instead of text");
    command->add_flag("--verify", options->verify,
                      "List the files missing or changed since installation (exit 1 if any)");
    command->callback([options, &status] { status = uninstall(*options); });
}

void addRepairCommand(CLI::App& orvane, int& status) {
    auto paths = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* command = orvane.add_subcommand(
        "repair", "Write missing or changed files of an installation again from its package");
    command->add_option("P", paths->first, kDataHelp)->required();
    command->add_option("PACKAGE", paths->second, "The install package (.ovsp)")->required();
    command->callback([paths, &status] { status = repair(paths->first, paths->second); });
}

} // namespace orvane
