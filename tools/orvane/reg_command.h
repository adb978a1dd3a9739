// `orvane reg`: looking at and cleaning up the registry store by hand.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane {

class RegistryStore;

// `orvane reg query PATH | export HIVE | delete PATH` on the store of this user.
int runRegCommand(const std::vector<std::string>& args);

// The same on a given store, writing to the given streams: 0 done, 1 store error, 2 usage error.
int runRegCommand(const std::vector<std::string>& args, RegistryStore& store, std::ostream& out,
                  std::ostream& err);

} // namespace orvane
