// Choosing between the uninstall window and the headless uninstall.
#include "engine_uninstall.h"

#include "linux_shell.h"
#include "path_safety.h"
#include "registry_store.h"
#include "terminal_uninstall.h"
#include "uninstall_window.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <iostream>

namespace orvane {

namespace {

bool hasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

int runInWindow(int argc, char** argv, const std::string& uninstallData, bool yes,
                UninstallContext& context) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Deinstallation");
    std::string error;
    auto plan = planUninstall(uninstallData, context, error);
    if (!plan) {
        QMessageBox::critical(nullptr, "Deinstallation", QString::fromStdString(error));
        return 1;
    }
    UninstallWindow window(*plan, context, yes);
    window.exec();
    // Closed on the confirmation page: nothing was changed.
    return window.exitStatus() < 0 ? kUninstallCancelled : window.exitStatus();
}

} // namespace

int runEngineUninstall(int argc, char** argv, const std::string& uninstallData, bool yes) {
    RegistryStore store(registryFilesFromEnvironment());
    LinuxShell shell;
    UninstallContext context{store, protectedFolders(shell)};
    if (!hasDisplay()) {
        UninstallOptions options;
        options.uninstallData = uninstallData;
        options.yes = yes;
        return runTerminalUninstall(options, context, std::cin, std::cout, std::cerr);
    }
    return runInWindow(argc, argv, uninstallData, yes, context);
}

} // namespace orvane
