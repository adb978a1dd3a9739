// The built-in catalogue: the 12 predefined globals, the 65 built-ins and the extension
// built-ins after them, registered with the interpreter in catalogue order and dispatched by
// exact name.
#pragma once

#include "builtin_args.h"
#include "builtin_services.h"

#include <functional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

using BuiltinFunction = std::function<Value(BuiltinServices& services, const BuiltinArgs& args)>;

struct BuiltinParameter {
    const char* name;
    std::int32_t type;
};

struct BuiltinEntry {
    const char* name;
    std::int32_t returnType;
    std::vector<BuiltinParameter> parameters;
    BuiltinFunction function; // empty: not available in this version
};

struct GlobalConstant {
    const char* name;
    std::int32_t value;
};

// The predefined global int variables, in declaration order.
std::span<const GlobalConstant> builtinGlobals();

// The whole catalogue in declaration order.
const std::vector<BuiltinEntry>& builtinCatalogue();

// Registers the catalogue with an interpreter and performs calls that reach the host.
class BuiltinHost {
  public:
    explicit BuiltinHost(BuiltinServices services);

    // Makes `function` perform the built-in `name` (for built-ins whose services
    // live elsewhere, such as the windows). Unknown names are ignored.
    void provide(std::string_view name, BuiltinFunction function);
    // Makes the built-in `name` answer as one not available in this version (for hosts that
    // must not reach the machine, such as the fuzzing harness).
    void withdraw(std::string_view name) { m_functions.erase(name); }
    // Attaches both hooks of `interpreter` to this host.
    void attach(TCInterpreterEx& interpreter);

    void CInterpreterEx1Initialize(TCInterpreterEx& Sender);
    Value CInterpreterEx1ExecuteCustomFunction(TCInterpreterEx& Sender, const std::string& name,
                                               tVariable* localstack);

    BuiltinServices& services() { return m_services; }
    const BuiltinServices& services() const { return m_services; }

  private:
    BuiltinServices m_services;
    std::unordered_map<std::string_view, BuiltinFunction> m_functions;
};

} // namespace orvane
