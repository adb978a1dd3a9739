// The uninstall and repair verbs on the registry store and the desktop of this user.
#include "uninstall_command.h"

#include "install_record.h"
#include "linux_shell.h"
#include "package_file.h"
#include "package_lookup.h"
#include "path_safety.h"
#include "registry_store.h"
#include "repair.h"
#include "terminal_uninstall.h"

#include <iostream>

namespace orvane {

namespace {

constexpr int kExitUsage = 2;

constexpr const char* kUsage = "usage: orvane uninstall P [--dry-run] [--yes] [--json] [--verify]\n"
                               "       orvane repair P PACKAGE.ovsp\n"
                               "  P is the uninstall data the installer saved (its manifest is "
                               "P.manifest)\n";

int usage(const std::string& problem) {
    std::cerr << "orvane: " << problem << '\n' << kUsage;
    return kExitUsage;
}

} // namespace

int runUninstallCommand(const std::vector<std::string>& args) {
    UninstallOptions options;
    for (const std::string& arg : args) {
        if (arg == "--dry-run")
            options.dryRun = true;
        else if (arg == "--yes")
            options.yes = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--verify")
            options.verify = true;
        else if (arg.starts_with("--") || !options.uninstallData.empty())
            return usage("unexpected argument '" + arg + "'");
        else
            options.uninstallData = arg;
    }
    if (options.uninstallData.empty())
        return usage("the uninstall data P is missing");
    RegistryStore store(registryFilesFromEnvironment());
    LinuxShell shell;
    UninstallContext context{store, protectedFolders(shell)};
    return runTerminalUninstall(options, context, std::cin, std::cout, std::cerr);
}

int runRepairCommand(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usage("repair takes the uninstall data and the package");
    std::string error;
    auto record = loadInstallRecord(args[0], error);
    if (!record) {
        std::cerr << error << '\n';
        return 1;
    }
    LoadedJson loaded = loadPackageFile(args[1]);
    if (!loaded.document) {
        std::cerr << "Paket " << args[1] << " nicht lesbar: " << loaded.error << '\n';
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

} // namespace orvane
