// The engine's entry: its options, then the start window, whose timer runs the install package
// named after us.
#include "engine_application.h"
#include "engine_automation.h"
#include "engine_options.h"
#include "qt_translations.h"
#include "start_form.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const orvane::EngineCommandLine command = orvane::readEngineCommandLine(argc, argv);
    if (command.exitStatus)
        return *command.exitStatus;
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
    // The package is named after the file we were started as: the name in argv[0]
    // when it is a path (a renamed copy or a link), else the file the kernel ran.
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (argc > 0 && std::string_view(argv[0]).find('/') != std::string_view::npos)
        self = std::filesystem::absolute(argv[0]).lexically_normal().string();
    orvane::TForm1 form(self, automation);
    form.show();
    return QApplication::exec();
}
