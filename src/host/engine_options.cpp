// The engine's options, read with CLI11.
#include "engine_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

namespace orvane {

namespace {

constexpr int kExitUsage = 2;

void declareOptions(CLI::App& app, EngineOptions& options) {
    auto* answers = app.add_option("--answers", options.answersFile,
                                   "install without windows, answering every question from "
                                   "FILE (the scenario format of `orvane run`)")
                        ->type_name("FILE");
    auto* record =
        app.add_option("--record", options.recordFile,
                       "run with windows and write every answer given to FILE, for --answers")
            ->type_name("FILE")
            ->excludes(answers);
    app.add_flag("--progress", options.progress,
                 "with --answers: print the run's JSON-lines transcript on stdout")
        ->needs(answers);
    auto* uninstall = app.add_option("--uninstall", options.uninstallData,
                                     "remove the installation recorded in the uninstall data P "
                                     "(and P.manifest) instead of installing")
                          ->type_name("P")
                          ->excludes(answers)
                          ->excludes(record);
    app.add_flag("--yes", options.yes, "with --uninstall: do not ask first")->needs(uninstall);
}

} // namespace

EngineCommandLine readEngineCommandLine(int argc, const char* const* argv) {
    const std::string name =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "orvane-setup";
    CLI::App app("Runs the install package NAME.ovsp beside this program (NAME: the program's "
                 "own name).",
                 name);
    app.set_version_flag("--version", "Orvane-Installer " ORVANE_VERSION);
    EngineCommandLine result;
    declareOptions(app, result.options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        result.exitStatus = app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        result.exitStatus = app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << name << ": " << e.what() << "\n" << app.help();
        result.exitStatus = kExitUsage;
    }
    return result;
}

} // namespace orvane
