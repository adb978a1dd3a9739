// The built-ins that write registry values and keep and save the uninstall list.
#pragma once

#include "builtin_args.h"
#include "builtin_services.h"

namespace orvane::uninstall_builtins {

Value writeRegistryString(BuiltinServices& services, const BuiltinArgs& args);
Value addToUninstallData(BuiltinServices& services, const BuiltinArgs& args);
Value saveUninstallData(BuiltinServices& services, const BuiltinArgs& args);

} // namespace orvane::uninstall_builtins
