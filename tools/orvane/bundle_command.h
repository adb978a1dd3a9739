// `orvane bundle`: one executable file holding the engine, its libraries and a package.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `bundle` to the command line; when chosen it runs and leaves its exit status in `status`.
void addBundleCommand(CLI::App& orvane, int& status);

} // namespace orvane
