// `orvane check`: syntax check of a script file, with token and tree dumps.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `check` to the command line; when chosen it runs and leaves its exit status in `status`.
void addCheckCommand(CLI::App& orvane, int& status);

} // namespace orvane
