// `orvane verify`: checks that a package arrived intact and its script passes `orvane check`.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `verify` to the command line; when chosen it runs and leaves its exit status in `status`.
void addVerifyCommand(CLI::App& orvane, int& status);

} // namespace orvane
