// `orvane pack`: builds an install package from a script and the files it installs.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `pack` to the command line; when chosen it runs and leaves its exit status in `status`.
void addPackCommand(CLI::App& orvane, int& status);

} // namespace orvane
