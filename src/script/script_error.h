// The one error type of the engine: an exception carrying the German message.
#pragma once

#include <stdexcept>
#include <string>

namespace orvane {

// Raised by the scanner, the evaluator, the built-ins and the host services. A
// layer that catches one raises a new one with its own prefix in front.
class ScriptError : public std::runtime_error {
  public:
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace orvane
