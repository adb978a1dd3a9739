// The one error type of the engine: an exception carrying the German message.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

namespace orvane {

// Raised by the scanner, the evaluator, the built-ins and the host services. A
// layer that catches one raises a new one with its own prefix in front.
class ScriptError : public std::runtime_error {
  public:
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

// Called first in a handler that would put its prefix in front of `caught`: running out of memory
// is no script error and passes every layer unchanged (a prefixed text would need memory too).
inline void passOutOfMemory(const std::exception& caught) {
    if (dynamic_cast<const std::bad_alloc*>(&caught) != nullptr)
        throw;
}

} // namespace orvane
