// The built-in writeRegistryString: string values in the registry store, with every key it
// creates recorded in the uninstall list.
#pragma once

#include <string_view>

namespace orvane {

class MessageDialog;
class RegistryStore;
class UninstallList;

// The uninstall-list section that receives created registry keys.
inline constexpr std::string_view kRegistrySection = "registry";

// writeRegistryString(s1, s2). `s1` is split at every "\" into parts p0 .. p(n-1): p0 chooses the
// root (HKEY_LOCAL_MACHINE only when it is exactly that name, HKEY_CURRENT_USER for anything else),
// p1 .. p(n-2) are the key names and p(n-1) names the value (empty: the key's default value).
// Missing keys are created one level at a time, each recorded as p0 + "\" + its path from the root
// (which itself starts with "\"), so the deepest new key ends up first in the section.
//
// Returns true when the value was written. Any store failure shows the "Unkritischer Fehler" box
// and returns false; keys created before it stay created and recorded, and the caller goes on.
bool writeRegistryString(RegistryStore& store, UninstallList& list, MessageDialog& dialog,
                         std::string_view s1, std::string_view s2);

} // namespace orvane
