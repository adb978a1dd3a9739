// `orvane reg`: looking at and cleaning up the registry store by hand.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace orvane {

class RegistryStore;

// Adds `reg` to the command line; when chosen it runs on this user's store and leaves its exit
// status in `status`.
void addRegCommand(CLI::App& orvane, int& status);

// The same on a given store, writing to the given streams: 0 done, 1 store error, 2 usage error.
int runRegCommand(const std::vector<std::string>& args, RegistryStore& store, std::ostream& out,
                  std::ostream& err);

} // namespace orvane
