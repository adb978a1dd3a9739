// Registry and uninstall-list built-ins on the engine's store and list.
#include "uninstall_builtins.h"

#include "registry_builtins.h"
#include "script_error.h"
#include "uninstall_list.h"

namespace orvane::uninstall_builtins {

namespace {

UninstallList& uninstallListOf(BuiltinServices& services) {
    if (services.uninstall == nullptr)
        throw ScriptError("Die Deinstallationsliste existiert noch nicht");
    return *services.uninstall;
}

} // namespace

Value writeRegistryString(BuiltinServices& services, const BuiltinArgs& args) {
    const std::string s1 = args.text("s1");
    const std::string s2 = args.text("s2");
    if (services.registry == nullptr)
        throw ScriptError("Die Registry ist nicht verfügbar");
    const bool written = orvane::writeRegistryString(*services.registry, uninstallListOf(services),
                                                     services.dialog, s1, s2);
    if (written && services.observer != nullptr)
        services.observer->registryWritten(s1, s2);
    return Value{};
}

Value addToUninstallData(BuiltinServices& services, const BuiltinArgs& args) {
    orvane::addToUninstallData(uninstallListOf(services), args.text("s1"), args.text("s2"));
    return Value{};
}

Value saveUninstallData(BuiltinServices& services, const BuiltinArgs& args) {
    orvane::saveUninstallData(uninstallListOf(services), args.text("s1"));
    return Value{};
}

} // namespace orvane::uninstall_builtins
