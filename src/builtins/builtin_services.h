// What the built-ins reach outside the interpreter: dialogs, the package, text fields.
#pragma once

#include "message_dialog.h"
#include "script_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Read access to the install package for the built-ins. Lookups raise ScriptError
// with the package's German messages.
class PackageAccess {
  public:
    virtual ~PackageAccess() = default;
    // The decoded bytes of the first element of "binfiles" whose "id" is exactly `id`;
    // nullopt when no element has it. A package without "binfiles" raises the lookup error.
    virtual std::optional<std::string> findEmbeddedFile(std::string_view /*id*/) const {
        throw ScriptError("Wert 'binfiles' nicht gefunden");
    }
    // Number of elements of the array at `path`.
    virtual std::int32_t arrayLength(std::string_view path) const = 0;
    // The value at `path` as text.
    virtual std::string text(std::string_view path) const = 0;
};

// Multi-line text fields of the script's windows, for `print`.
class TextFieldSink {
  public:
    virtual ~TextFieldSink() = default;
    // Appends `line` to the multi-line text field registered as `name`; raises
    // "Ungültige Typumwandlung" when that object is of another kind.
    virtual void appendLine(std::string_view name, std::string_view line) = 0;
};

// Told about every lasting change a built-in made, so a headless run can report it.
class InstallObserver {
  public:
    virtual ~InstallObserver() = default;
    virtual void registryWritten(std::string_view /*path*/, std::string_view /*value*/) {}
};

class RegistryStore;
class UninstallList;

struct BuiltinServices {
    MessageDialog& dialog;
    const PackageAccess* package = nullptr;
    TextFieldSink* textFields = nullptr;
    UninstallList* uninstall = nullptr;
    RegistryStore* registry = nullptr;
    InstallObserver* observer = nullptr;
};

} // namespace orvane
