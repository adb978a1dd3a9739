// The engine's command line: what a run does besides running its package with windows.
#pragma once

#include <optional>
#include <string>

namespace orvane {

struct EngineOptions {
    std::string answersFile;   // --answers FILE: answer every wait from FILE, no windows shown
    std::string recordFile;    // --record FILE: write the user's answers to FILE
    bool progress = false;     // --progress: the JSON-lines transcript on stdout (with --answers)
    std::string uninstallData; // --uninstall P: remove the installation P records instead
    bool yes = false;          // --yes: with --uninstall, do not ask first
};

struct EngineCommandLine {
    EngineOptions options;
    // Set when the process ends without a run: 0 after --help or --version, 2 after a usage
    // error (the usage was written to stderr).
    std::optional<int> exitStatus;
};

EngineCommandLine readEngineCommandLine(int argc, const char* const* argv);

} // namespace orvane
