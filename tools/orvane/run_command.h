// `orvane run`: runs an install package (or a bare script) headless and prints a transcript.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `run` to the command line; when chosen it runs and leaves its exit status in `status`.
void addRunCommand(CLI::App& orvane, int& status);

} // namespace orvane
