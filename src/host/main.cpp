// The engine's entry: its options, then the start window, whose timer runs the install package
// named after us.
#include "engine_application.h"
#include "engine_automation.h"
#include "engine_options.h"
#include "engine_uninstall.h"
#include "package_location.h"
#include "qt_translations.h"
#include "start_form.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    const orvane::EngineCommandLine command = orvane::readEngineCommandLine(argc, argv);
    if (command.exitStatus)
        return *command.exitStatus;
    // --uninstall P removes an installation instead of running the package.
    if (!command.options.uninstallData.empty())
        return orvane::runEngineUninstall(argc, argv, command.options.uninstallData,
                                          command.options.yes);
    const std::string program =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "orvane-setup";
    orvane::EngineAutomation automation(command.options, program);
    if (std::string error; !automation.load(error)) {
        std::cerr << program << ": " << error << '\n';
        return 2;
    }
    const auto application =
        orvane::makeEngineApplication(!command.options.answersFile.empty(), program);
    QApplication::setApplicationName("Installer");
    // The run ends when main returns, not when the script closes its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    // Standard buttons ("Ja"/"Nein") in the desktop's language.
    const orvane::QtTranslations qtTranslations;
    // The package is named after the file we were started as, a link's own name included.
    const char* searchPath = std::getenv("PATH");
    orvane::TForm1 form(orvane::startedExecutablePath(argc > 0 ? argv[0] : "",
                                                      searchPath ? searchPath : "",
                                                      "/proc/self/exe"),
                        automation);
    form.show();
    return QApplication::exec();
}
